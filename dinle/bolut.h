// Finding utterances in an endless stream of 16-bit samples.
//
// The stream is cut into short windows of kpenu samples (the endpoint
// detector's window) and each gets the detector's two measures: energy, the
// mean absolute amplitude truncated to an integer, and zero crossings, twice
// the number of sign changes over the window's kpenu sample pairs (the pair
// across from the window before included; 0 counts as positive).
//
// Thresholds follow the background. Over the last 1.5 s of windows the
// quietest fifth is taken as background: with its mean energy E and its
// zero crossings' mean Z and standard deviation S,
//     high = max(yee, ceil(7.5 E)),  low = min(high, max(aee, ceil(4 E))),
//     zero-crossing = max(bsge, ceil(Z + 2 S))
// (the settings' values are the floors). Nothing starts before 100 ms of the
// stream have been measured.
//
// An utterance starts at the first window whose energy reaches the high
// threshold; its start is walked back as the endpoint detector does (over
// windows at or above the low threshold, then over windows at or above the
// zero-crossing threshold), never before the previous utterance's end nor
// more than 250 ms. Its thresholds stay fixed until it ends: after
// `sessizlikMs` of windows below the low threshold (the end is the last
// window at or above it), or when it reaches the recording length (then the
// rest of that sound is passed over until the next silence). An utterance
// whose loud part is shorter than `enKisaMs` is dropped, and so is one during
// which the background itself rose to its high threshold (a noise that
// stepped up, not a word).
#ifndef BOLUT_H
#define BOLUT_H

#include <cstddef>
#include <cstdint>
#include <vector>

struct BOLUTAYARI {
    int oo = 12000;            // sampling rate (Hz)
    int kpensu = 10;           // window (ms)
    int yee = 375, aee = 200, bsge = 10;  // threshold floors
    int ksu = 3;               // longest utterance (s)
    int sessizlikMs = 300;     // silence that ends an utterance
    int enKisaMs = 60;         // shortest loud part kept
    int geriMs = 250;          // longest walk back of a start
};

// One utterance: samples [bas, bit) of the stream, counted from its start
// (lost samples included).
struct SOZCE {
    int64_t bas = 0, bit = 0;
    int yee = 0, aee = 0, bsge = 0;  // thresholds it was found with
    bool kesildi = false;            // cut at the recording length or the stream's end
};

enum BOLUT_DURUMU { BD_DINLIYOR, BD_KONUSMA, BD_BEKLIYOR };

class BOLUTLEYICI {
public:
    explicit BOLUTLEYICI(const BOLUTAYARI& a);

    // Feeds samples; utterances that ended are appended to `biten`.
    void Besle(const int16_t* x, size_t n, std::vector<SOZCE>& biten);
    // End of the stream: an utterance still running ends at its last loud window.
    void Bitir(std::vector<SOZCE>& biten);
    // n samples were lost: an utterance running is dropped, time moves on.
    void Bosluk(size_t n);

    BOLUT_DURUMU Durum() const { return durum_; }
    int SonOrke() const { return sonOrke_; }
    int Yuksek() const { return yuksek_; }
    int Alcak() const { return alcak_; }
    int SifirGecis() const { return sgEsik_; }
    int Pencere() const { return kpenu_; }
    int64_t Konum() const { return konum_; }  // samples fed (and lost) so far

private:
    struct CERCEVE {
        int64_t bas;
        int e, z;
    };
    void Cerceve(std::vector<SOZCE>& biten);
    void ArkaPlan(double& e, double& z, double& sz);
    void EsikleriKur();
    void Baslat();
    void Sal(std::vector<SOZCE>& biten, int64_t bit, bool kesildi);
    const CERCEVE& Gecmis(int64_t i) const { return gecmis_[static_cast<size_t>(i % tarih_)]; }

    BOLUTAYARI a_;
    int kpenu_;
    int64_t tarih_;       // windows kept (1.5 s)
    int64_t girisSay_;    // windows before anything may start (100 ms)
    int64_t sessizSay_;   // windows of silence that end an utterance
    int64_t enKisaSay_, geriSay_;
    int64_t enUzun_;      // longest utterance in samples
    std::vector<CERCEVE> gecmis_;
    int64_t say_ = 0;     // windows measured
    std::vector<int16_t> parca_;
    int16_t onceki_ = 0;
    bool oncekiVar_ = false;
    int64_t konum_ = 0;
    BOLUT_DURUMU durum_ = BD_DINLIYOR;
    int yuksek_, alcak_, sgEsik_;
    int64_t basla_ = 0, yuksekIlk_ = 0, sonYuksek_ = 0, sessiz_ = 0;
    int64_t oncekiBitis_ = 0;
    int sonOrke_ = 0;
    std::vector<std::pair<int, int>> sirala_;
};

#endif
