// Sampling-rate conversion of one channel of float samples with libsoxr at
// its high quality (a linear-phase band-limited filter: 20-bit precision,
// pass band to 91 % of the lower Nyquist frequency, no aliasing into it).
// The output holds round(n * cikis / giris) samples, aligned with the input
// (the filter's delay is taken out).
#ifndef ORAN_H
#define ORAN_H

#include <cstddef>
#include <string>
#include <vector>

struct soxr;

// Converts `giris` (at `girisOrani` Hz) to `cikisOrani` Hz into `cikis`:
// the output of libsoxr's one call (soxr_oneshot) at that quality, sample for
// sample, made over blocks (ORAN_AKISI). False with the converter's reason in
// *hata (rates must be positive).
bool OranDonustur(const std::vector<float>& giris, double girisOrani, double cikisOrani, std::vector<float>& cikis,
                  std::string* hata);

// OranDonustur over a stream: the input comes in blocks and the output goes
// out as it is made, in memory that does not grow with the length. All the
// blocks' output taken together is OranDonustur's output for all the input
// taken together, sample for sample: the same converter and quality, fed
// the same samples and ended the same way (flushed, then cut to
// round(n * cikis / giris) samples, as libsoxr 0.1.3's soxr_oneshot ends;
// tests/tools/girdi_test.cpp holds the two to the same bits).
class ORAN_AKISI {
public:
    ORAN_AKISI() = default;
    ~ORAN_AKISI();
    ORAN_AKISI(const ORAN_AKISI&) = delete;
    ORAN_AKISI& operator=(const ORAN_AKISI&) = delete;

    // Starts a conversion from `girisOrani` to `cikisOrani` Hz; false with the
    // reason in *hata, as OranDonustur.
    bool Kur(double girisOrani, double cikisOrani, std::string* hata);
    // Feeds n samples; the output they complete is appended to `cikis`.
    bool Besle(const float* x, size_t n, std::vector<float>& cikis, std::string* hata);
    // The end of the input: the rest of the output is appended to `cikis`.
    bool Bitir(std::vector<float>& cikis, std::string* hata);

private:
    bool Al(bool sonuna, std::string* hata);
    void Birak(size_t sinir, std::vector<float>& cikis);

    soxr* soxr_ = nullptr;
    double giris_ = 0, cikis_ = 0;
    size_t girdi_ = 0;             // samples fed
    size_t cikan_ = 0;             // output samples appended to `cikis`
    std::vector<float> bekleyen_;  // output made but not yet appended
    std::vector<float> tampon_;    // the converter's output buffer
};

#endif
