#include "havuz.h"

#include <cstring>
#include <filesystem>
#include <limits>
#include <utility>

#include "dosya.h"
#include "kalibrasyon.h"
#include "mesaj.h"
#include "vq1.h"
#include "vq3.h"

namespace {

// The dump `ad` in the directory `dokum`.
std::string DokumYolu(const std::string& dokum, const char* ad) {
    return (std::filesystem::path(dokum) / ad).string();
}

// Adds the rows of one analysis to the pool.
void HavuzaKat(const COZUMLEME& oz, int n, HAVUZ& h) {
    if (h.kesitli) {
        const int sinir = KesitSiniri(oz.r);
        AgirlikliYoneyler(oz.Ci, n, 0, sinir, h.kesit1);
        AgirlikliYoneyler(oz.Ci, n, sinir, oz.r, h.kesit2);
        h.r1 += sinir;
        h.r2 += oz.r - sinir;
    } else {
        for (int i = 0; i < oz.r; i++) {
            h.ci.insert(h.ci.end(), oz.Ci[i], oz.Ci[i] + n + 1);
            h.delci.insert(h.delci.end(), oz.DelCi[i], oz.DelCi[i] + n + 1);
        }
    }
    h.r += oz.r;
}

// The pooled rows as one analysis of h.r frames (with the spare row of zeros
// an analysis has); false after a message when memory runs out.
bool HavuzCozumlemesi(const HAVUZ& h, int n, COZUMLEME& oz) {
    if (!oz.Ci.Kur(h.r + 1, n + 1) || !oz.DelCi.Kur(h.r + 1, n + 1)) {
        Yaz("LPC dizileri için bellek ayrılamıyor\n");
        return false;
    }
    std::memcpy(oz.Ci.Veri(), h.ci.data(), h.ci.size() * sizeof(float));
    std::memcpy(oz.DelCi.Veri(), h.delci.data(), h.delci.size() * sizeof(float));
    oz.r = h.r;
    return true;
}

}  // namespace

float PuanSatiri(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km) {
    const float p = Puanla(oz, b, km);
    Yaz("uzaklik:%f\n", static_cast<double>(p));
    return p;
}

UC_NOKTALAR UcNoktalariBul(const std::vector<short>& x, const KURALDOSYABASLIK& b, const std::string& dokum) {
    UC_NOKTALAR u = KonusmaBul(x.data(), static_cast<int>(x.size()), b);
    if (!dokum.empty()) SinirDokumuYaz(DokumYolu(dokum, "sinir.txt").c_str(), x.data(), u);
    KonusmaYokBildir(u);
    return u;
}

std::optional<COZUMLEME> KonusmayiCozumle(const std::vector<short>& x, const UC_NOKTALAR& u,
                                          const KURALDOSYABASLIK& b, const std::string& dokum) {
    std::optional<COZUMLEME> oz =
        LpcCozumle(x.data(), static_cast<int>(x.size()), u.bas, u.bulundu ? u.uzunluk : 0, b);
    if (oz && !dokum.empty()) {
        MatrisDokumu(DokumYolu(dokum, "Ci.txt").c_str(), oz->Ci, oz->r, b.n);
        MatrisDokumu(DokumYolu(dokum, "DelCi.txt").c_str(), oz->DelCi, oz->r, b.n);
    }
    return oz;
}

bool HavuzaEkle(const std::vector<short>& x, const KURALDOSYABASLIK& b, const std::string& dokum, HAVUZ& h) {
    const UC_NOKTALAR u = UcNoktalariBul(x, b, dokum);
    if (!u.bulundu) return false;
    std::optional<COZUMLEME> oz = KonusmayiCozumle(x, u, b, dokum);
    if (!oz) return false;
    if (oz->r < 1 || oz->r > std::numeric_limits<int>::max() - 1 - h.r) return false;
    HavuzaKat(*oz, b.n, h);
    Yaz("LPC/DLPC yöneyi: %d\n", oz->r);
    if (h.kesitli) h.alimlar.push_back(std::move(*oz));
    h.alimSayisi++;
    h.sonAlimYok = false;
    return true;
}

MATRIS HavuzuEgit(const HAVUZ& h, const AYAR_DEGERLERI& ayar, float* puan) {
    const KURALDOSYABASLIK& b = ayar.kdbaslik;
    EGITICI egitici(ayar);
    MATRIS km;
    float p = 0;
    if (h.kesitli) {
        km = egitici.KesitliEgit(h.kesit1, h.r1, h.kesit2, h.r2, b, nullptr);
        if (km.Bos()) return km;
        const COZUMLEME yok;
        p = PuanSatiri(h.sonAlimYok || h.alimlar.empty() ? yok : h.alimlar.back(), b, km);
    } else {
        COZUMLEME oz;
        if (!HavuzCozumlemesi(h, b.n, oz)) return km;
        km = egitici.Egit(oz, b, nullptr);
        if (km.Bos()) return km;
        p = PuanSatiri(oz, b, km);
    }
    if (puan != nullptr) *puan = p;
    return km;
}

KALIBRASYON HavuzunKalibrasyonu(const HAVUZ& h, const AYAR_DEGERLERI& ayar, const MATRIS& km) {
    if (!h.kesitli) return {};
    std::vector<const COZUMLEME*> alimlar;
    for (const COZUMLEME& a : h.alimlar) alimlar.push_back(&a);
    return HavuzKalibrasyonu(alimlar, ayar, km);
}
