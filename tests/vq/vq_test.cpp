#include "vq1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bellek.h"
#include "konsol.h"
#include "sifirlama.h"
#include "velmo.h"

namespace {

using Satirlar = std::vector<std::vector<float>>;

// A feature matrix as the analysis makes it: rows + 1 rows of n + 1 floats.
float** OzellikMatrisi(const Satirlar& satirlar, int n) {
    float** m = Calloc2B<float>(static_cast<int>(satirlar.size()) + 1, n + 1, 4);
    for (size_t i = 0; i < satirlar.size(); i++)
        for (int j = 0; j < n; j++) m[i][j] = satirlar[i][static_cast<size_t>(j)];
    return m;
}

float** Kitap(const Satirlar& satirlar, int n) {
    float** m = Calloc2B<float>(static_cast<int>(satirlar.size()), n, 4);
    for (size_t i = 0; i < satirlar.size(); i++)
        for (int j = 0; j < n; j++) m[i][j] = satirlar[i][static_cast<size_t>(j)];
    return m;
}

Satirlar KitapDegeri(float** km, int s, int n) {
    Satirlar d(static_cast<size_t>(s));
    for (int i = 0; i < s; i++) d[static_cast<size_t>(i)].assign(km[i], km[i] + n);
    return d;
}

class VqTest : public ::testing::Test {
protected:
    std::string cikti;
    void SetUp() override {
        KonsolTestKur("", &cikti);
        Sifirla(0);
    }
    void TearDown() override {
        bellek_hata_sirasi = 0;
        Sifirla(0);
        KonsolTestBitir();
    }
    // Feature vectors of kind 1 (and the same in DelCi) for training.
    void Ozellikler(const Satirlar& satirlar, int n) {
        ayr.Ci = OzellikMatrisi(satirlar, n);
        ayr.r = static_cast<int>(satirlar.size());
        ayr.kdbaslik.n = n;
    }
    // Deterministic, well spread 15-component vectors.
    static Satirlar Yayilmis(int r, int n) {
        Satirlar d(static_cast<size_t>(r), std::vector<float>(static_cast<size_t>(n)));
        uint32_t x = 7;
        for (auto& v : d)
            for (auto& e : v) {
                x = x * 1664525u + 1013904223u;
                e = static_cast<float>(x >> 8) / 16777216.0f - 0.5f;
            }
        return d;
    }
};

// The C standard's example generator: value of the draw after `durum`.
int Sonraki(uint32_t& durum) {
    durum = durum * 1103515245u + 12345u;
    return static_cast<int>((durum / 65536u) % 32768u);
}

}  // namespace

TEST_F(VqTest, KindOtherThanCepstraIsRefusedAndCodebookUntouched) {
    Ozellikler(Yayilmis(30, 15), 15);
    ayr.km = Kitap(Satirlar(10, std::vector<float>(15, 2.5f)), 15);
    float** once = ayr.km;
    for (int tur : {0, 3}) {
        cikti.clear();
        ayr.kdbaslik.tur = tur;
        EXPECT_EQ(VQ_Egit(), 1);
        EXPECT_EQ(cikti, "Bu algoritma yalnızca LPC ve DLPC yöneyleri içindir.\n");
        EXPECT_EQ(ayr.km, once);
        EXPECT_EQ(KitapDegeri(ayr.km, 10, 15), Satirlar(10, std::vector<float>(15, 2.5f)));
    }
}

TEST_F(VqTest, GeneratorIsTheStandardExampleAndSkipsRowZeroAndRowR) {
    int rsd[10];
    // With r = 32767 a draw g names row g: the classic sequence of seed 1.
    ayr.thm = 1;
    RasgeleSayilarUret(rsd, 4, 32767);
    EXPECT_EQ(std::vector<int>(rsd, rsd + 4), (std::vector<int>{16838, 5758, 10113, 17515}));
    // Above 32767 rows the row is g * r / 32767, truncated, computed exactly.
    RasgeleSayilarUret(rsd, 2, 100000);
    EXPECT_EQ(rsd[0], static_cast<int>(16838LL * 100000 / 32767));
    EXPECT_EQ(rsd[1], static_cast<int>(5758LL * 100000 / 32767));

    // The same seed gives the same selection; row 0 is never chosen, so
    // 10 rows out of 11 are exactly rows 1..10.
    ayr.thm = 1234;
    int ikinci[10];
    RasgeleSayilarUret(rsd, 10, 11);
    RasgeleSayilarUret(ikinci, 10, 11);
    EXPECT_TRUE(std::equal(rsd, rsd + 10, ikinci));
    std::vector<int> sirali(rsd, rsd + 10);
    std::sort(sirali.begin(), sirali.end());
    EXPECT_EQ(sirali, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    // A seed whose first draw is 32767 (row r) draws again.
    int tohum = 0;
    for (uint32_t d = 0;; tohum++) {
        d = static_cast<uint32_t>(tohum);
        if (Sonraki(d) == 32767) break;
    }
    uint32_t d = static_cast<uint32_t>(tohum);
    Sonraki(d);
    const int ikinciCekis = Sonraki(d);
    ayr.thm = tohum;
    RasgeleSayilarUret(rsd, 1, 32767);
    EXPECT_EQ(rsd[0], ikinciCekis);
}

TEST_F(VqTest, TooFewVectorsOrAbsurdSizesAreRefusedBeforeAnythingIsMade) {
    Ozellikler(Yayilmis(10, 15), 15);
    ayr.kdbaslik.s = 10;  // needs 11 rows
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_NE(cikti.find("en az 11 yöney gerekir, 10 var"), std::string::npos) << cikti;
    EXPECT_EQ(cikti.find("basladi"), std::string::npos);
    EXPECT_EQ(ayr.km, nullptr);
    for (auto [s, n] : {std::pair{0, 15}, {-3, 15}, {5, 0}, {5, 100}}) {
        cikti.clear();
        ayr.kdbaslik.s = s;
        ayr.kdbaslik.n = n;
        EXPECT_EQ(VQ_Egit(), 1);
        EXPECT_NE(cikti.find("geçersiz"), std::string::npos) << cikti;
        EXPECT_EQ(ayr.km, nullptr);
    }
    // No feature matrix at all, and an existing-codebook training without a codebook.
    ayr.kdbaslik.s = 2;
    ayr.kdbaslik.n = 15;
    ayr.kdbaslik.tur = 2;
    EXPECT_EQ(VQ_Egit(), 1);
    ayr.kdbaslik.tur = 1;
    ayr.kdbayrak = 1;
    cikti.clear();
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_EQ(cikti, "Yeniden eğitilecek kural kitabı bellekte yok.\n");
}

TEST_F(VqTest, NewCodebookStartsFromTheSelectedRowsAndIsReproducible) {
    const Satirlar v = Yayilmis(40, 15);
    Ozellikler(v, 15);
    ayr.yinl = 0;
    ASSERT_EQ(VQ_Egit(), 0);
    EXPECT_EQ(cikti, "\n>Egitme islemi basladi\n\n>Rasgele secimler yapildi\n\n>Egitme islemi tamamlandi\n");
    int rsd[10];
    RasgeleSayilarUret(rsd, 10, 40);
    for (int i = 0; i < 10; i++) EXPECT_EQ(KitapDegeri(ayr.km, 10, 15)[static_cast<size_t>(i)], v[static_cast<size_t>(rsd[i])]);

    ayr.yinl = 100;
    ASSERT_EQ(VQ_Egit(), 0);
    const Satirlar ilk = KitapDegeri(ayr.km, 10, 15);
    ASSERT_EQ(VQ_Egit(), 0);
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(std::memcmp(ilk[static_cast<size_t>(i)].data(), ayr.km[i], 15 * sizeof(float)), 0);
}

TEST_F(VqTest, ResetKeepsALabelledCodebookAndRefillsEmptyVectorsOnePerCycle) {
    // Every vector attracts labels in cycle 0: nothing changes, nothing printed.
    Ozellikler({{0}, {0}, {0}, {0}, {0}, {10}, {10}, {10}, {10}, {10}}, 1);
    float** km = Kitap({{0}, {10}}, 1);
    EXPECT_EQ(KuralKitabiniSifirla(ayr.Ci, &km, 2, 1, 10), 0);
    EXPECT_EQ(KitapDegeri(km, 2, 1), (Satirlar{{0}, {10}}));
    EXPECT_EQ(cikti, "");
    Free2B(km);
    Sifirla(5);

    // Region 0 holds all six vectors; row 0 equals its codeword, so row 2 (7)
    // is the first differing member and refills the empty codeword 1.
    Ozellikler({{5}, {5}, {7}, {8}, {9}, {5}}, 1);
    ayr.eabs = 3;
    for (int onyinl : {1, 2}) {
        cikti.clear();
        ayr.onyinl = onyinl;
        km = Kitap({{5}, {100}}, 1);
        const int sonuc = KuralKitabiniSifirla(ayr.Ci, &km, 2, 1, 6);
        EXPECT_EQ(KitapDegeri(km, 2, 1), (Satirlar{{5}, {7}}));
        if (onyinl == 1) {
            // The only permitted cycle still refilled a codeword.
            EXPECT_EQ(sonuc, 1);
            EXPECT_EQ(cikti,
                      "Sıfırlama işlemi 1 sayida çevrim sonrasında başarısız.\n"
                      "\tÇevrim:1\tbirinci yöney:0\tetiket sayısı:6\n");
        } else {
            EXPECT_EQ(sonuc, 0);
            EXPECT_EQ(cikti, "");
        }
        Free2B(km);
    }

    // A region whose members all equal its codeword cannot donate.
    Sifirla(5);
    Ozellikler({{5}, {5}, {5}, {5}, {5}}, 1);
    ayr.onyinl = 3;
    km = Kitap({{5}, {100}}, 1);
    EXPECT_EQ(KuralKitabiniSifirla(ayr.Ci, &km, 2, 1, 5), 1);
    EXPECT_EQ(KitapDegeri(km, 2, 1), (Satirlar{{5}, {100}}));
    Free2B(km);
}

TEST_F(VqTest, ResetFailuresReportTheirNumbers) {
    Ozellikler({{5}, {5}, {7}, {8}, {9}, {5}, {1}}, 1);
    ayr.kdbaslik.n = 1;
    ayr.kdbaslik.s = 2;
    ayr.km = Kitap({{5}, {100}}, 1);
    ayr.kdbayrak = 1;
    ayr.onyinl = 0;
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_EQ(cikti,
              "\n>Egitme islemi basladi\n"
              "Sıfırlama işlemi 0 sayida çevrim sonrasında başarısız.\n"
              "\tÇevrim:0\tbirinci yöney:0\tetiket sayısı:0\n"
              "Kural kitabi sıfırlanamıyor.\n");

    cikti.clear();
    ayr.onyinl = 50;
    ayr.eabs = 8;
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_EQ(cikti,
              "\n>Egitme islemi basladi\n"
              "Sıfırlama sırasında kural yöneylerinden hiçbiri 8 sayıda etiket toplayamadı.\n"
              "\tÇevrim:0\tbirinci yöney:0\tetiket sayısı:7\n"
              "Kural kitabi sıfırlanamıyor.\n");
}

TEST_F(VqTest, LbgMovesToCentroidsAndStopsByTheRules) {
    Ozellikler({{0}, {1}, {10}, {11}}, 1);
    float** km = Kitap({{0}, {10}}, 1);
    EXPECT_EQ(LBG(km, ayr.Ci, 2, 4, 1, 0), 0);  // no iteration at all
    EXPECT_EQ(KitapDegeri(km, 2, 1), (Satirlar{{0}, {10}}));
    EXPECT_EQ(LBG(km, ayr.Ci, 2, 4, 1, 100), 0);
    EXPECT_EQ(KitapDegeri(km, 2, 1), (Satirlar{{0.5f}, {10.5f}}));
    // A threshold of 0 runs to the limit on equal distortions and ends the same.
    ayr.uae = 0.0f;
    EXPECT_EQ(LBG(km, ayr.Ci, 2, 4, 1, 100), 0);
    EXPECT_EQ(KitapDegeri(km, 2, 1), (Satirlar{{0.5f}, {10.5f}}));
    Free2B(km);
    EXPECT_EQ(cikti, "");

    // A first distortion above 1000 stops before any update.
    Sifirla(5);
    ayr.uae = 0.000001f;
    Ozellikler({{100}, {200}}, 1);
    km = Kitap({{0}, {1}}, 1);
    EXPECT_EQ(LBG(km, ayr.Ci, 2, 2, 1, 100), 0);
    EXPECT_EQ(KitapDegeri(km, 2, 1), (Satirlar{{0}, {1}}));
    Free2B(km);
}

TEST_F(VqTest, TwinCodewordsFailTheFirstCentroidStepHalfUpdated) {
    Ozellikler({{0}, {1}, {10}, {11}}, 1);
    float** km = Kitap({{0}, {0}, {10}}, 1);
    EXPECT_EQ(LBG(km, ayr.Ci, 3, 4, 1, 100), 1);
    EXPECT_EQ(cikti,
              "Paylaştırma sonucu 1. kural yöneyi hiçbir giriş tarafından seçilmedi 'Ortala()'.\n"
              "İşlev çağrısı başarısız LBG()--> Ortala()\tsayac:0\tetiket:1 \n");
    // Lower rows updated, the empty row zero, higher rows as they were.
    EXPECT_EQ(KitapDegeri(km, 3, 1), (Satirlar{{0.5f}, {0}, {10}}));
    Free2B(km);

    // Through training: equal rows drawn as the initial codebook.
    Sifirla(5);
    cikti.clear();
    Ozellikler({{3}, {3}, {3}, {3}}, 1);
    ayr.kdbaslik.s = 2;
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_NE(cikti.find("Paylaştırma sonucu 1. kural yöneyi"), std::string::npos);
    EXPECT_NE(cikti.find("İşlev çağrısı başarısız LBG()--> Ortala()\tsayac:0\tetiket:1 \n"
                         "Başarısız işlev çağrısı VQ_Egit()-->LBG().\n"),
              std::string::npos)
        << cikti;
}

TEST_F(VqTest, TiesGoToTheLowerIndexAndDistancesAreSquaredSums) {
    Ozellikler({{1, 0}, {1, 1}}, 2);
    ayr.DelCi = OzellikMatrisi({{4, 0}, {0, 0}}, 2);
    float** km = Kitap({{0, 0}, {2, 0}}, 2);
    float fark[2];
    float* f = fark;
    int w = -1;
    ASSERT_EQ(KazananGoze(ayr.Ci, km, &f, 0, 2, 2, &w), 0);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(fark[0], 1.0f);
    EXPECT_EQ(fark[1], 0.0f);

    ayr.km = km;
    ayr.kdbaslik.s = 2;
    float d = -1;
    EXPECT_EQ(VQ_Siniflandir(0, &d), 0);
    EXPECT_EQ(d, 1.0f);
    EXPECT_EQ(VQ_Siniflandir(1, &d), 0);
    EXPECT_EQ(d, 2.0f);  // summed over components, not divided by n
    ayr.kdbaslik.tur = 2;  // delta cepstrum rows
    EXPECT_EQ(VQ_Siniflandir(0, &d), 1);
    EXPECT_EQ(d, 4.0f);

    EXPECT_EQ(EsitYoneyler(km[0], km[1], 0), 0);
    float a[3] = {1, 2, 3}, b[3] = {1, 2, 4};
    EXPECT_EQ(EsitYoneyler(a, b, 3), 1);
    EXPECT_EQ(EsitYoneyler(a, b, 2), 0);
}

TEST_F(VqTest, MeanDistortionAndUtteranceWithoutFrames) {
    Ozellikler({{1, 0, 0}, {1, 1, 1}}, 3);
    ayr.km = Kitap({{0, 0, 0}}, 3);
    ayr.kdbaslik.s = 1;
    EXPECT_EQ(OlasilikBul(), 2.0f);
    EXPECT_EQ(cikti, "uzaklik:2.000000\n\x1b[L");

    cikti.clear();
    ayr.r = 0;
    EXPECT_TRUE(std::isinf(OlasilikBul()));
    EXPECT_EQ(cikti, "uzaklik:inf\n\x1b[L");

    // No working storage for the scores: the codebook loses.
    ayr.r = 2;
    cikti.clear();
    float d = 0;
    bellek_hata_sirasi = 1;
    EXPECT_EQ(VQ_Siniflandir(0, &d), -1);
    EXPECT_TRUE(std::isinf(d));
    EXPECT_EQ(cikti, " Ara işlem için bellek ayrilamadi 'VQ_Siniflandir'");
    // No codebook in memory at all (a failed training): the same.
    Sifirla(4);
    ayr.Ci = OzellikMatrisi({{1, 0, 0}, {1, 1, 1}}, 3);
    EXPECT_TRUE(std::isinf(OlasilikBul()));
}

TEST_F(VqTest, EveryAllocationFailureIsReportedWithoutLeaks) {
    const Satirlar v = Yayilmis(40, 15);
    for (int kayit : {0, 1}) {
        for (int sira = 1; sira <= 8; sira++) {
            Sifirla(4);
            Ozellikler(v, 15);
            ayr.kdbayrak = kayit;
            ayr.eabs = 1;
            if (kayit) ayr.km = Kitap(Satirlar(v.begin() + 1, v.begin() + 11), 15);
            cikti.clear();
            bellek_hata_sirasi = sira;
            const int sonuc = VQ_Egit();
            const bool yapildi = bellek_hata_sirasi == 0;
            bellek_hata_sirasi = 0;
            if (!yapildi) continue;  // fewer allocations than `sira`
            EXPECT_EQ(sonuc, 1) << kayit << " " << sira;
            EXPECT_NE(cikti.find("bellek ayr"), std::string::npos) << cikti;
        }
    }
}
