// Calibrations learnt at training, and the confidence and ranking built on
// them.
#include "kalibrasyon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ayar_tablosu.h"
#include "guven.h"
#include "sentetik.h"
#include "sinir.h"
#include "tanima.h"
#include "vq1.h"
#include "vq3.h"

namespace {

AYAR_DEGERLERI Kesitli() {
    AYAR_DEGERLERI a = VarsayilanAyarlar();
    a.kdbaslik.tur = 3;
    a.kdbaslik.p = TurunLpcDerecesi(3);
    return a;
}

// A take of a synthetic word of pitch f0 (its own noise seed).
COZUMLEME Alim(double f0, unsigned tohum, const KURALDOSYABASLIK& b) {
    const std::vector<int16_t> x = SentetikSozcuk(0.4, 0.5, 2.0, f0, tohum, b.oo);
    const UC_NOKTALAR u = KonusmaBul(x.data(), static_cast<int>(x.size()), b);
    return *LpcCozumle(x.data(), static_cast<int>(x.size()), u.bas, u.uzunluk, b);
}

MATRIS Havuz(const std::vector<COZUMLEME>& alimlar, const AYAR_DEGERLERI& a) {
    std::vector<float> k1, k2;
    int r1 = 0, r2 = 0;
    for (const COZUMLEME& oz : alimlar) {
        const int s = KesitSiniri(oz.r);
        AgirlikliYoneyler(oz.Ci, a.kdbaslik.n, 0, s, k1);
        AgirlikliYoneyler(oz.Ci, a.kdbaslik.n, s, oz.r, k2);
        r1 += s;
        r2 += oz.r - s;
    }
    EGITICI e(a);
    return e.KesitliEgit(k1, r1, k2, r2, a.kdbaslik, nullptr);
}

}  // namespace

// Held out, a genuine take scores worse than the training takes do; the
// learnt scale then puts another take of the word above the refusal point
// and another word below it. One take has only its own distortion.
TEST(KalibrasyonTest, HeldOutScaleSeparatesTheWordFromAnother) {
    const AYAR_DEGERLERI a = Kesitli();
    const KURALDOSYABASLIK& b = a.kdbaslik;
    std::vector<COZUMLEME> alimlar;
    for (unsigned t = 1; t <= 4; t++) alimlar.push_back(Alim(140 + 4.0 * t, t, b));
    const MATRIS km = Havuz(alimlar, a);
    ASSERT_FALSE(km.Bos());
    std::vector<const COZUMLEME*> p;
    for (const COZUMLEME& c : alimlar) p.push_back(&c);
    const KALIBRASYON kal = HavuzKalibrasyonu(p, a, km);
    EXPECT_EQ(kal.ayri, 4);
    EXPECT_GT(kal.olcek, kal.oz);
    EXPECT_GT(kal.oz, 0);

    const double ayni = Guven(Puanla(Alim(150, 9, b), b, km), 3, kal);
    const double baska = Guven(Puanla(Alim(260, 9, b), b, km), 3, kal);
    EXPECT_FALSE(GuvenleReddedilir(ayni, HASSASIYET_VARSAYILAN)) << ayni;
    EXPECT_TRUE(GuvenleReddedilir(baska, HASSASIYET_VARSAYILAN)) << baska;

    const KALIBRASYON tek = HavuzKalibrasyonu({p[0]}, a, km);
    EXPECT_EQ(tek.ayri, 0);
    EXPECT_FLOAT_EQ(tek.olcek, TekAlimOlcegi(tek.oz));
}

// Takes one after another: a new codebook estimates, each refinement adds
// the take's held-out score to the mean; scores that are no distortion
// leave no calibration.
TEST(KalibrasyonTest, SequentialTakesAverageTheirHeldOutScores) {
    const KALIBRASYON ilk = SiraliKalibrasyon({}, true, 0, 2.0f);
    EXPECT_EQ(ilk.ayri, 0);
    EXPECT_FLOAT_EQ(ilk.olcek, TEK_ALIM_CARPANI * 2.0f);
    EXPECT_FLOAT_EQ(SiraliKalibrasyon({}, true, 0, 100.0f).olcek, TEK_ALIM_SINIRI);  // capped
    const KALIBRASYON iki = SiraliKalibrasyon(ilk, false, 9.0f, 3.0f);
    EXPECT_EQ(iki.ayri, 1);
    EXPECT_FLOAT_EQ(iki.olcek, 9.0f);
    const KALIBRASYON uc = SiraliKalibrasyon(iki, false, 5.0f, 3.0f);
    EXPECT_EQ(uc.ayri, 2);
    EXPECT_FLOAT_EQ(uc.olcek, 7.0f);
    EXPECT_FALSE(SiraliKalibrasyon(uc, false, 5.0f, INFINITY).Var());
    EXPECT_FALSE(SiraliKalibrasyon({}, true, 0, -1.0f).Var());
}

// Confidence falls as the score grows, is one half at the refusal point,
// and sensitivity 1 refuses nothing, 0 everything short of a perfect fit.
// Kinds rank on the common scale; one kind by its distortion alone.
TEST(GuvenTest, ConfidenceRefusalAndRankingAcrossKinds) {
    const KALIBRASYON kal{10.0f, 7.0f, 5};
    EXPECT_DOUBLE_EQ(Guven(static_cast<float>(10.0 * GUVEN_ORTASI), 3, kal), 0.5);
    EXPECT_GT(Guven(5, 3, kal), Guven(15, 3, kal));
    EXPECT_EQ(Guven(INFINITY, 3, kal), 0);
    EXPECT_EQ(Guven(NAN, 1, {}), 0);
    EXPECT_DOUBLE_EQ(Guven(TurDogalUzakligi(1), 1, {}), Guven(10.0f, 3, kal));
    EXPECT_FALSE(GuvenleReddedilir(0, 1));
    EXPECT_TRUE(GuvenleReddedilir(0.999, 0));

    TANIMA_SONUCU bir{}, uc{};
    bir.tur = 1;
    uc.tur = 3;
    bir.puan = TurOlcegi(1) * 1.1f;
    uc.puan = TurOlcegi(3) * 1.2f;
    EXPECT_TRUE(DahaIyi(bir, uc));
    EXPECT_FALSE(DahaIyi(uc, bir));
    TANIMA_SONUCU uc2 = uc;
    uc2.puan = uc.puan * 0.99f;
    uc2.kal = kal;  // a calibration does not change the ranking within a kind
    EXPECT_TRUE(DahaIyi(uc2, uc));
}
