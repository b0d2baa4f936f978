// The recognition scan: directory listing, reading and validating the
// codebook files, scoring them against the current analysis.
#include "tarama.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <numeric>

#include "bellek.h"
#include "dosya.h"
#include "kodlama.h"
#include "mesaj.h"
#include "sifirlama.h"
#include "lpc.h"
#include "sinir.h"
#include "uyum.h"
#include "vq1.h"

std::vector<std::string> DizinDosyalari(const char* dizin) {
    std::vector<std::string> adlar;
    std::error_code hata;
    std::filesystem::directory_iterator it(dizin, hata), son;
    for (; !hata && it != son; it.increment(hata)) {
        std::error_code h2;
        if (it->is_regular_file(h2)) adlar.push_back(it->path().filename().string());
    }
    std::sort(adlar.begin(), adlar.end());
    return adlar;
}

bool VlmDosyasi(const std::string& ad) {
    return ad.size() > 4 && strcasecmp(ad.c_str() + ad.size() - 4, ".vlm") == 0;
}

float KuralKitabiPuani(const KURALDOSYABASLIK& baslik, float** km) {
    ODUNC_KURAL_KITABI odunc(baslik, km);
    return OlasilikBul();
}

namespace {

// The group of kinds that share one analysis: kinds 1 and 2 the fixed
// thresholds' end points, kind 3 its learnt ones.
int CozumlemeGrubu(int tur) { return tur == 2 ? 1 : tur; }

// The analysis settings a codebook of kind `tur` asks for: those of the
// utterance, with the end points of that kind.
KURALDOSYABASLIK TurIcin(const KURALDOSYABASLIK& analiz, int tur) {
    KURALDOSYABASLIK a = analiz;
    if (tur >= 1 && tur <= 3) a.tur = tur;
    return a;
}

// The feature state of one analysis of the utterance.
struct OZNITELIK {
    float** Ri = nullptr;
    float** Ai = nullptr;
    float** RFi = nullptr;
    float** Ci = nullptr;
    float** DelCi = nullptr;
    int r = 0;
    char* bsl = nullptr;
    int uzn = 0;
};

// Exchanges the record's analysis with `o`.
void Degistir(OZNITELIK& o) {
    std::swap(o.Ri, ayr.Ri);
    std::swap(o.Ai, ayr.Ai);
    std::swap(o.RFi, ayr.RFi);
    std::swap(o.Ci, ayr.Ci);
    std::swap(o.DelCi, ayr.DelCi);
    std::swap(o.r, ayr.r);
    std::swap(o.bsl, ayr.bsl);
    std::swap(o.uzn, ayr.uzn);
}

}  // namespace

// The utterance analysed again for the other group of kinds, made when the
// first codebook of that group comes and released with the scan.
struct EK_COZUMLEME {
    bool yapildi = false;
    OZNITELIK o;
    EK_COZUMLEME() = default;
    EK_COZUMLEME(const EK_COZUMLEME&) = delete;
    EK_COZUMLEME& operator=(const EK_COZUMLEME&) = delete;
    ~EK_COZUMLEME() {
        for (float** m : {o.Ri, o.Ai, o.RFi, o.Ci, o.DelCi}) Free2B(m);
    }
};

namespace {

// The second analysis in the record for one scope: the first one is back
// on every way out of it (also when the scoring throws).
class EK_ODUNC {
public:
    explicit EK_ODUNC(EK_COZUMLEME& ek) : ek_(ek) { Degistir(ek_.o); }
    ~EK_ODUNC() { Degistir(ek_.o); }
    EK_ODUNC(const EK_ODUNC&) = delete;
    EK_ODUNC& operator=(const EK_ODUNC&) = delete;

private:
    EK_COZUMLEME& ek_;
};

// The recording in ayr analysed with the settings `a` (end points and
// frames, no dumps) into ek; the record's own analysis stays as it was.
void EkCozumle(const KURALDOSYABASLIK& a, EK_COZUMLEME& ek) {
    ek.yapildi = true;
    const KURALDOSYABASLIK ayarlar = ayr.kdbaslik;
    OZNITELIK ana;
    Degistir(ana);  // the record now holds no analysis
    ayr.kdbaslik = a;
    if (UcNoktalarBul(false) == 0) LPC_Cozumle(false);
    ayr.kdbaslik = ayarlar;
    Degistir(ek.o);   // the new analysis into ek
    Degistir(ana);    // the first one back
}

}  // namespace

float TurunePuan(const KURALDOSYABASLIK& baslik, float** km, const KURALDOSYABASLIK& analiz, EK_COZUMLEME& ek) {
    if (CozumlemeGrubu(baslik.tur) == CozumlemeGrubu(analiz.tur)) return KuralKitabiPuani(baslik, km);
    if (!ek.yapildi) EkCozumle(TurIcin(analiz, baslik.tur), ek);
    EK_ODUNC odunc(ek);
    return KuralKitabiPuani(baslik, km);
}

bool CozumlemeyeUygun(const char* yol, const KURALDOSYABASLIK& baslik, const KURALDOSYABASLIK& analiz) {
    const std::string fark = CozumlemeFarki(baslik, TurIcin(analiz, baslik.tur));
    if (fark.empty()) return true;
    Yaz("%s: çözümleme ayarı farklı (%s); atlandı.\n", yol, fark.c_str());
    return false;
}

void KuralDosyalariniTara(const char* dizin, const KURALDOSYABASLIK& analiz, TANIMA_SONUCU* enIyi,
                          std::vector<TANIMA_SONUCU>* hepsi, const std::function<void()>& satirBitti) {
    enIyi->dosya.clear();
    enIyi->soz[0] = '\0';
    enIyi->puan = PUAN_YOK;
    const std::string onek = std::string(dizin) + "/";
    EK_COZUMLEME ek;
    for (const std::string& ad : DizinDosyalari(dizin)) {
        if (!VlmDosyasi(ad)) continue;
        const std::string yol = onek + ad;
        KURALDOSYABASLIK baslik;
        float** km = nullptr;
        const int sonuc = KuralDosyasiOku(yol.c_str(), &baslik, &km);
        if (sonuc == KDOKU_ACILAMIYOR) continue;
        if (sonuc != KDOKU_TAMAM) {
            if (satirBitti) satirBitti();
            continue;
        }
        // The codebook is the file's only while it is scored.
        std::unique_ptr<float*, void (*)(float**)> kitap(km, [](float** k) { Free2B(k); });
        if (!CozumlemeyeUygun(yol.c_str(), baslik, analiz)) {
            if (satirBitti) satirBitti();
            continue;
        }
        TANIMA_SONUCU t;
        t.dosya = ad;
        std::memcpy(t.soz, baslik.soz, SOZ_BOYU);
        t.soz[SOZ_BOYU] = '\0';
        Yaz("%s		", Gorunur(SonucSozu(t)).c_str());
        t.puan = TurunePuan(baslik, km, analiz, ek);
        if (satirBitti) satirBitti();
        if (t.puan < enIyi->puan) *enIyi = t;
        if (hepsi != nullptr) hepsi->push_back(t);
    }
}

bool KuralKitaplariOku(const std::string& dizin, const KURALDOSYABASLIK& analiz, std::vector<KURALKITABI>& kitaplar,
                       std::string* mesaj) {
    return KuralKitaplariOku(
        dizin, [&](const KURALDOSYABASLIK&) { return analiz; }, kitaplar, mesaj);
}

bool KuralKitaplariOku(const std::string& dizin,
                       const std::function<KURALDOSYABASLIK(const KURALDOSYABASLIK&)>& analiz,
                       std::vector<KURALKITABI>& kitaplar, std::string* mesaj) {
    KuralKitaplariBirak(kitaplar);
    struct stat st;
    if (stat(dizin.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *mesaj += UcbirimeCevir(dizin + ": dizin okunamıyor.\n");
        return false;
    }
    const std::string onek = dizin + "/";
    for (const std::string& ad : DizinDosyalari(dizin.c_str())) {
        if (!VlmDosyasi(ad)) continue;
        const std::string yol = onek + ad;
        KURALKITABI k;
        k.ad = ad;
        int sonuc = KDOKU_TAMAM;
        *mesaj += Yakala([&] {
            sonuc = KuralDosyasiOku(yol.c_str(), &k.baslik, &k.km);
            if (sonuc == KDOKU_TAMAM && !CozumlemeyeUygun(yol.c_str(), k.baslik, analiz(k.baslik))) {
                Free2B(k.km);
                k.km = nullptr;
                sonuc = KDOKU_GECERSIZ;
            }
        });
        if (sonuc == KDOKU_TAMAM) kitaplar.push_back(k);
    }
    return true;
}

void KuralKitaplariBirak(std::vector<KURALKITABI>& kitaplar) {
    for (KURALKITABI& k : kitaplar) {
        Free2B(k.km);
        k.km = nullptr;
    }
    kitaplar.clear();
}

TANIMA_SONUCU KitapSonucu(const KURALKITABI& k, float puan) {
    TANIMA_SONUCU t;
    t.dosya = k.ad;
    std::memcpy(t.soz, k.baslik.soz, SOZ_BOYU);
    t.soz[SOZ_BOYU] = '\0';
    t.puan = puan;
    return t;
}

void KuralKitaplariPuanla(const std::vector<KURALKITABI>& kitaplar, const std::vector<size_t>& secilen,
                          std::vector<TANIMA_SONUCU>& puanlar) {
    const KURALDOSYABASLIK analiz = ayr.kdbaslik;
    EK_COZUMLEME ek;
    for (size_t i : secilen) {
        const KURALKITABI& k = kitaplar[i];
        float puan = PUAN_YOK;
        Yakala([&] { puan = TurunePuan(k.baslik, k.km, analiz, ek); });
        puanlar[i] = KitapSonucu(k, puan);
    }
}

std::vector<TANIMA_SONUCU> KuralKitaplariPuanla(const std::vector<KURALKITABI>& kitaplar) {
    std::vector<TANIMA_SONUCU> puanlar(kitaplar.size());
    std::vector<size_t> hepsi(kitaplar.size());
    std::iota(hepsi.begin(), hepsi.end(), size_t{0});
    KuralKitaplariPuanla(kitaplar, hepsi, puanlar);
    return puanlar;
}

int EnYakinKitap(const std::vector<TANIMA_SONUCU>& puanlar) {
    float enyakin = PUAN_YOK;
    int kazanan = -1;
    for (size_t i = 0; i < puanlar.size(); i++) {
        if (puanlar[i].puan < enyakin) {
            enyakin = puanlar[i].puan;
            kazanan = static_cast<int>(i);
        }
    }
    return kazanan;
}

float BaskaSozunEnIyisi(const std::vector<TANIMA_SONUCU>& puanlar, int kazanan) {
    float ikinci = std::numeric_limits<float>::infinity();
    if (kazanan < 0 || static_cast<size_t>(kazanan) >= puanlar.size()) return ikinci;
    const std::string soz = SonucSozu(puanlar[static_cast<size_t>(kazanan)]);
    for (const TANIMA_SONUCU& p : puanlar)
        if (SonucSozu(p) != soz && p.puan < ikinci) ikinci = p.puan;
    return ikinci;
}

bool OranlaReddedilir(float puan, float ikinci, double red) {
    return red > 0 && std::isfinite(ikinci) && !(static_cast<double>(puan) < red * static_cast<double>(ikinci));
}

std::string SonucSozu(const TANIMA_SONUCU& t) { return Cp1254ten(std::string(t.soz, strnlen(t.soz, SOZ_BOYU))); }
