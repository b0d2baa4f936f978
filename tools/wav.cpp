#include "wav.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cfloat>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "cikti.h"
#include "kodlama.h"
#include "oran.h"

namespace {

struct SfKapat {
    void operator()(SNDFILE* f) const { sf_close(f); }
};

// Reproducible white noise in [-1, 1), seeded from the sound itself: the
// same file always gives the same recording, and two files never share
// their noise (identical noise would make identical feature vectors).
struct Gurultu {
    uint32_t x;
    explicit Gurultu(const std::vector<float>& ses) : x(2166136261u) {
        for (float v : ses) {
            uint32_t b;
            std::memcpy(&b, &v, sizeof b);
            x = (x ^ b) * 16777619u;
        }
    }
    float Sonraki() {
        x = x * 1664525u + 1013904223u;
        return static_cast<float>(x >> 8) / 8388608.0f - 1.0f;
    }
};

}  // namespace

void OrnekleriNicemle(const float* v, size_t n, short* y) {
    typedef float F4 __attribute__((vector_size(16)));
    typedef int I4 __attribute__((vector_size(16)));
    const F4 alt = {-32768.0f, -32768.0f, -32768.0f, -32768.0f}, ust = {32767.0f, 32767.0f, 32767.0f, 32767.0f};
    const F4 yuvarla = {12582912.0f, 12582912.0f, 12582912.0f, 12582912.0f};
    const I4 isaretsiz = {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF};
    const I4 enBuyuk = {0x7F7FFFFF, 0x7F7FFFFF, 0x7F7FFFFF, 0x7F7FFFFF};  // FLT_MAX's bits
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        F4 x;
        std::memcpy(&x, v + i, sizeof x);
        F4 o = x * 32768.0f;
        o = o < alt ? alt : o;  // a lane not a number stays so, and becomes 0 below
        o = o > ust ? ust : o;
        const F4 r = (o + yuvarla) - yuvarla;
        // Finite: the magnitude's bits at most FLT_MAX's (a NaN's are above).
        const I4 sonlu = (reinterpret_cast<I4>(x) & isaretsiz) <= enBuyuk;
        const I4 t = sonlu & __builtin_convertvector(sonlu != 0 ? r : F4{}, I4);
        for (int k = 0; k < 4; k++) y[i + static_cast<size_t>(k)] = static_cast<short>(t[k]);
    }
    for (; i < n; i++) y[i] = OrnekNicemle(v[i]);
}

namespace {

using SES_DOSYASI = std::unique_ptr<SNDFILE, SfKapat>;

// Opens a regular sound file; null after a message naming it as `a`.
SES_DOSYASI DosyaAc(const std::string& ad, const char* a, SF_INFO& bilgi) {
    struct stat st;
    if (stat(ad.c_str(), &st) != 0) {
        if (errno == ENOENT) Hata("%s: dosya yok.\n", a);
        else Hata("%s: okunamıyor (%s).\n", a, SistemNedeni(errno).c_str());
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        Hata("%s: sıradan bir dosya değil.\n", a);
        return nullptr;
    }
    SES_DOSYASI f(sf_open(ad.c_str(), SFM_READ, &bilgi));
    if (f) return f;
    // The library's own texts are English and, past its public codes,
    // internal; say what it means for the user instead.
    switch (sf_error(nullptr)) {
        case SF_ERR_UNRECOGNISED_FORMAT: Hata("%s: tanınan bir ses dosyası biçimi değil.\n", a); break;
        case SF_ERR_SYSTEM: Hata("%s: okunamıyor.\n", a); break;
        case SF_ERR_MALFORMED_FILE: Hata("%s: ses dosyası bozuk.\n", a); break;
        case SF_ERR_UNSUPPORTED_ENCODING: Hata("%s: ses kodlaması desteklenmiyor.\n", a); break;
        default: Hata("%s: ses dosyasının örnekleme oranı ya da biçim bilgisi kullanılamaz.\n", a); break;
    }
    return nullptr;
}

// The file has sound the converter can bring to `oo`.
bool BicimUygun(const SF_INFO& bilgi, int oo, const char* a) {
    if (bilgi.channels < 1 || bilgi.samplerate < 1) {
        Hata("%s: kanal sayısı ya da örnekleme oranı geçersiz.\n", a);
        return false;
    }
    if (bilgi.frames <= 0) {
        Hata("%s: ses verisi yok.\n", a);
        return false;
    }
    const double oran = static_cast<double>(oo) / bilgi.samplerate;
    // The converter is asked for at most 256 times more or fewer samples.
    if (bilgi.samplerate != oo && !(oran >= 1.0 / 256 && oran <= 256)) {
        Hata("%s: %d Hz'den %d Hz'e dönüştürülemez.\n", a, bilgi.samplerate, oo);
        return false;
    }
    return true;
}

// Appends n frames of k interleaved channels mixed to one channel (a
// channel's value that is not finite counts as 0 in the mix).
void TekKanalaKat(const float* parca, sf_count_t n, int k, std::vector<float>& tek) {
    for (sf_count_t i = 0; i < n; i++) {
        if (k == 1) {
            tek.push_back(parca[static_cast<size_t>(i)]);
            continue;
        }
        float t = 0.0f;
        for (int c = 0; c < k; c++) {
            const float v = parca[static_cast<size_t>(i) * static_cast<size_t>(k) + static_cast<size_t>(c)];
            t += std::isfinite(v) ? v : 0.0f;
        }
        tek.push_back(t / static_cast<float>(k));
    }
}

// Reads up to `okunacak` frames mixed to one channel. Returns the frames read.
int64_t TekKanalOku(SNDFILE* f, int k, int64_t okunacak, std::vector<float>& tek) {
    tek.reserve(static_cast<size_t>(std::max<int64_t>(okunacak, 0)));
    std::vector<float> parca(static_cast<size_t>(4096) * static_cast<size_t>(k));
    int64_t okunan = 0;
    while (okunan < okunacak) {
        const sf_count_t istek = static_cast<sf_count_t>(std::min<int64_t>(4096, okunacak - okunan));
        const sf_count_t n = sf_readf_float(f, parca.data(), istek);
        if (n <= 0) break;
        TekKanalaKat(parca.data(), n, k, tek);
        okunan += n;
    }
    return okunan;
}

// The frames of the file a recording of `gerek` samples at `oo` Hz reads:
// only what can reach it, plus a margin for the resampler's filter.
int64_t OkunacakKare(const SF_INFO& bilgi, int oo, int64_t gerek) {
    const double oran = static_cast<double>(oo) / bilgi.samplerate;
    return std::min<int64_t>(bilgi.frames, static_cast<int64_t>(std::ceil(static_cast<double>(gerek) / oran)) + 256);
}

void EksikBildir(const char* a, const SF_INFO& bilgi, int64_t okunan) {
    Hata("%s: uyarı: dosya eksik; başlığı %lld örnek diyor, %lld örnek okunabildi.\n", a,
         static_cast<long long>(bilgi.frames), static_cast<long long>(okunan));
}

// Brings the loudest finite sample to `db` dBFS.
void TepeyeGetir(std::vector<float>& ses, double db) {
    float tepe = 0.0f;
    for (float v : ses)
        if (std::isfinite(v)) tepe = std::max(tepe, std::fabs(v));
    if (tepe > 0.0f) {
        const float kazanc = static_cast<float>(std::pow(10.0, db / 20.0) / tepe);
        for (float& v : ses) v *= kazanc;
    }
}

// The recording of `adet` samples: `bas` samples of padding, the sound,
// zero to the end, the noise over all of it.
void KayitYap(const std::vector<float>& ses, int64_t adet, int64_t bas, const SESAYARI& ayar,
              std::vector<short>& ornekler) {
    std::vector<float> kayit(static_cast<size_t>(adet), 0.0f);
    std::copy(ses.begin(), ses.end(), kayit.begin() + bas);
    if (ayar.gurultuVar) {
        const float g = static_cast<float>(std::pow(10.0, ayar.gurultu / 20.0));
        Gurultu u(ses);
        for (float& v : kayit) v += g * u.Sonraki();
    }
    ornekler.resize(kayit.size());
    OrnekleriNicemle(kayit.data(), kayit.size(), ornekler.data());
}

}  // namespace

int SesDosyasiOku(const std::string& ad, int oo, int saniye, const SESAYARI& ayar,
                  std::vector<short>& ornekler) {
    ornekler.clear();
    // `a` is the name as messages show it, control characters escaped.
    const std::string gosterim = Gorunur(ad);
    const char* a = gosterim.c_str();
    SF_INFO bilgi{};
    const SES_DOSYASI f = DosyaAc(ad, a, bilgi);
    if (!f || !BicimUygun(bilgi, oo, a)) return 1;

    // The recording: the padding, then the sound, zero to the end.
    const int64_t adet = static_cast<int64_t>(oo) * saniye;
    const int64_t bas = std::min<int64_t>(adet, std::llround(ayar.dolgu * oo));
    const int64_t gerek = adet - bas;  // samples of the sound that fit

    // Only what can reach the recording is read (plus a margin for the
    // resampler's filter).
    const int64_t okunacak = OkunacakKare(bilgi, oo, gerek);
    std::vector<float> tek;
    const int64_t okunan = TekKanalOku(f.get(), bilgi.channels, okunacak, tek);
    if (tek.empty()) {
        Hata("%s: ses verisi okunamadı.\n", a);
        return 1;
    }
    if (okunan < okunacak) EksikBildir(a, bilgi, okunan);

    std::vector<float> ses;
    if (bilgi.samplerate == oo) {
        ses.swap(tek);
    } else {
        std::string neden;
        if (!OranDonustur(tek, bilgi.samplerate, oo, ses, &neden)) {
            // The converter's own text means nothing to the user.
            Hata("%s: %d Hz'den %d Hz'e dönüştürülemedi.\n", a, bilgi.samplerate, oo);
            return 1;
        }
    }
    if (static_cast<int64_t>(ses.size()) > gerek) ses.resize(static_cast<size_t>(gerek));
    if (ayar.tepeVar) TepeyeGetir(ses, ayar.tepe);
    KayitYap(ses, adet, bas, ayar, ornekler);
    return 0;
}

bool BosSesDosyasi(const std::string& ad) {
    struct stat st;
    if (stat(ad.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (st.st_size == 0) return true;
    SF_INFO bilgi{};
    const SES_DOSYASI f(sf_open(ad.c_str(), SFM_READ, &bilgi));
    return f && bilgi.frames == 0;
}

// ---------------------------------------------------------------- the stream

struct SES_AKISI::IC {
    std::string gosterim;      // the name as messages show it
    SF_INFO bilgi{};
    SES_DOSYASI f;
    int oo = 0;
    int64_t okunacak = 0;      // frames of the file that reach the recording
    int64_t okunan = 0;        // frames read
    int64_t boy = 0;           // samples of the recording given
    int64_t verilen = 0;       // samples given so far
    bool donustur = false;     // the file's rate is not oo
    bool dosyaBitti = false;   // nothing more comes from the file
    bool bozuk = false;
    ORAN_AKISI oran;
    std::vector<float> parca, tek, ses;
    std::vector<int16_t> hazir;  // samples made and not yet given
    size_t hazirBas = 0;

    // Reads, mixes and converts the next block of the file into `hazir`.
    void Doldur();
};

void SES_AKISI::IC::Doldur() {
    const char* a = gosterim.c_str();
    const int k = bilgi.channels;
    // Blocks of at most 4096 frames (as SesDosyasiOku reads) and 64 Ki
    // values: the memory stays small whatever the channels.
    const int64_t blok = std::max<int64_t>(1, std::min<int64_t>(4096, 65536 / k));
    tek.clear();
    ses.clear();
    sf_count_t n = 0;
    if (okunan < okunacak) {
        parca.resize(static_cast<size_t>(blok) * static_cast<size_t>(k));
        n = sf_readf_float(f.get(), parca.data(), static_cast<sf_count_t>(std::min(blok, okunacak - okunan)));
        if (n < 0) n = 0;
        TekKanalaKat(parca.data(), n, k, tek);
        okunan += n;
    }
    const bool son = n == 0 || okunan >= okunacak;
    std::string neden;
    bool tamam = true;
    if (!donustur) {
        ses.swap(tek);
    } else {
        tamam = oran.Besle(tek.data(), tek.size(), ses, &neden) && (!son || oran.Bitir(ses, &neden));
    }
    if (!tamam) {
        Hata("%s: %d Hz'den %d Hz'e dönüştürülemedi.\n", a, bilgi.samplerate, oo);
        bozuk = true;
        dosyaBitti = true;
        return;
    }
    if (son) {
        dosyaBitti = true;
        if (okunan < okunacak && okunan > 0) EksikBildir(a, bilgi, okunan);
        f.reset();
    }
    hazir.erase(hazir.begin(), hazir.begin() + static_cast<long>(hazirBas));
    hazirBas = 0;
    hazir.resize(hazir.size() + ses.size());
    OrnekleriNicemle(ses.data(), ses.size(), hazir.data() + (hazir.size() - ses.size()));
}

SES_AKISI::SES_AKISI() : ic_(std::make_unique<IC>()) {}
SES_AKISI::~SES_AKISI() = default;

bool SES_AKISI::Ac(const std::string& ad) {
    ic_ = std::make_unique<IC>();
    ic_->gosterim = Gorunur(ad);
    ic_->f = DosyaAc(ad, ic_->gosterim.c_str(), ic_->bilgi);
    return static_cast<bool>(ic_->f);
}

int64_t SES_AKISI::Kareler() const { return ic_->bilgi.frames; }
int SES_AKISI::Oran() const { return ic_->bilgi.samplerate; }
bool SES_AKISI::Bozuldu() const { return ic_->bozuk; }

bool SES_AKISI::Baslat(int oo, int saniye, int64_t boy) {
    IC& c = *ic_;
    const char* a = c.gosterim.c_str();
    if (!c.f || !BicimUygun(c.bilgi, oo, a)) return false;
    const int64_t adet = static_cast<int64_t>(oo) * saniye;
    c.oo = oo;
    c.boy = std::max<int64_t>(0, std::min(boy, adet));
    c.okunacak = OkunacakKare(c.bilgi, oo, adet);
    c.donustur = c.bilgi.samplerate != oo;
    std::string neden;
    if (c.donustur && !c.oran.Kur(c.bilgi.samplerate, oo, &neden)) {
        Hata("%s: %d Hz'den %d Hz'e dönüştürülemedi.\n", a, c.bilgi.samplerate, oo);
        return false;
    }
    c.Doldur();
    if (c.okunan == 0) {
        Hata("%s: ses verisi okunamadı.\n", a);
        return false;
    }
    return !c.bozuk;
}

size_t SES_AKISI::Oku(int16_t* x, size_t n) {
    IC& c = *ic_;
    size_t k = 0;
    while (k < n && c.verilen < c.boy && !c.bozuk) {
        const size_t istek = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(n - k), c.boy - c.verilen));
        if (c.hazirBas < c.hazir.size()) {
            const size_t m = std::min(istek, c.hazir.size() - c.hazirBas);
            std::copy_n(c.hazir.begin() + static_cast<long>(c.hazirBas), m, x + k);
            c.hazirBas += m;
            k += m;
            c.verilen += static_cast<int64_t>(m);
        } else if (!c.dosyaBitti) {
            c.Doldur();
        } else {
            // The recording goes on in silence after the sound, as SesDosyasiOku's.
            std::fill_n(x + k, istek, int16_t{0});
            k += istek;
            c.verilen += static_cast<int64_t>(istek);
        }
    }
    return k;
}
