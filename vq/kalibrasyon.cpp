#include "kalibrasyon.h"

#include <algorithm>
#include <cmath>

#include "vq1.h"
#include "vq3.h"

namespace {

// The two sections' weighted vectors of the takes other than `disari`.
struct KESITLER {
    std::vector<float> k1, k2;
    int r1 = 0, r2 = 0;
};

KESITLER Kesitler(const std::vector<const COZUMLEME*>& alimlar, int n, size_t disari) {
    KESITLER k;
    for (size_t i = 0; i < alimlar.size(); i++) {
        if (i == disari) continue;
        const COZUMLEME& oz = *alimlar[i];
        const int sinir = KesitSiniri(oz.r);
        AgirlikliYoneyler(oz.Ci, n, 0, sinir, k.k1);
        AgirlikliYoneyler(oz.Ci, n, sinir, oz.r, k.k2);
        k.r1 += sinir;
        k.r2 += oz.r - sinir;
    }
    return k;
}

}  // namespace

float TekAlimOlcegi(float oz) { return std::min(TEK_ALIM_CARPANI * oz, TEK_ALIM_SINIRI); }

KALIBRASYON HavuzKalibrasyonu(const std::vector<const COZUMLEME*>& alimlar, const AYAR_DEGERLERI& ayar,
                              const MATRIS& km) {
    const KURALDOSYABASLIK& b = ayar.kdbaslik;
    std::vector<const COZUMLEME*> dolu;
    for (const COZUMLEME* a : alimlar)
        if (a != nullptr && a->r > 1) dolu.push_back(a);
    KALIBRASYON kal;
    double oz = 0;
    int ozSayi = 0;
    for (const COZUMLEME* a : dolu) {
        const float p = Puanla(*a, b, km);
        if (std::isfinite(p)) {
            oz += p;
            ozSayi++;
        }
    }
    if (ozSayi == 0) return kal;
    kal.oz = static_cast<float>(oz / ozSayi);
    double ayri = 0;
    int ayriSayi = 0;
    if (dolu.size() > 1) {
        for (size_t i = 0; i < dolu.size(); i++) {
            const KESITLER k = Kesitler(dolu, b.n, i);
            EGITICI egitici(ayar);
            const MATRIS kk = egitici.KesitliEgit(k.k1, k.r1, k.k2, k.r2, b, nullptr);
            if (kk.Bos()) continue;
            const float p = Puanla(*dolu[i], b, kk);
            if (!std::isfinite(p)) continue;
            ayri += p;
            ayriSayi++;
        }
    }
    if (ayriSayi > 0) {
        kal.olcek = static_cast<float>(ayri / ayriSayi);
        kal.ayri = ayriSayi;
    } else {
        kal.olcek = TekAlimOlcegi(kal.oz);
    }
    if (!(kal.olcek > 0) || !std::isfinite(kal.olcek)) kal = KALIBRASYON{};
    return kal;
}

MATRIS SiraliAlimEgit(const EGITIM_AYARLARI& ayar, const COZUMLEME& oz, const KURALDOSYABASLIK& b,
                      const MATRIS* baslangic, KALIBRASYON& kal) {
    // The take against the codebook it refines is a held-out score.
    const float ayri = baslangic == nullptr ? 0.0f : Puanla(oz, b, *baslangic);
    EGITICI egitici(ayar);
    MATRIS yeni = egitici.Egit(oz, b, baslangic);
    if (yeni.Bos()) return yeni;
    kal = SiraliKalibrasyon(kal, baslangic == nullptr, ayri, Puanla(oz, b, yeni));
    return yeni;
}

KALIBRASYON SiraliKalibrasyon(const KALIBRASYON& onceki, bool yeni, float ayriPuan, float oz) {
    KALIBRASYON kal;
    if (!std::isfinite(oz) || oz < 0) return kal;
    kal.oz = oz;
    if (!yeni && std::isfinite(ayriPuan) && ayriPuan > 0) {
        const int n = onceki.Var() ? onceki.ayri : 0;
        kal.olcek = static_cast<float>((static_cast<double>(onceki.olcek) * n + ayriPuan) / (n + 1));
        kal.ayri = n + 1;
    } else {
        kal.olcek = TekAlimOlcegi(oz);
    }
    if (!(kal.olcek > 0) || !std::isfinite(kal.olcek)) return KALIBRASYON{};
    return kal;
}
