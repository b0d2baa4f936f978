#include "vq1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "bellek.h"
#include "kancalar.h"
#include "mesaj_kaydi.h"
#include "sifirlama.h"
#include "velmo.h"

namespace {

using Satirlar = std::vector<std::vector<float>>;

// rows x n values into a Calloc2B array with `ek` spare rows and columns
// (1 for a feature matrix as the analysis makes it, 0 for a codebook).
float** Matris(const Satirlar& d, int n, int ek) {
    float** m = Calloc2B<float>(static_cast<int>(d.size()) + ek, n + ek, 4);
    for (size_t i = 0; i < d.size(); i++) std::copy(d[i].begin(), d[i].end(), m[i]);
    return m;
}

Satirlar Degeri(float** km, int s, int n) {
    Satirlar d;
    for (int i = 0; i < s; i++) d.emplace_back(km[i], km[i] + n);
    return d;
}

Satirlar Yayilmis(int r, int n) {
    Satirlar d(static_cast<size_t>(r), std::vector<float>(static_cast<size_t>(n)));
    uint32_t x = 7;
    for (auto& v : d)
        for (auto& e : v) e = static_cast<float>((x = x * 1664525u + 1013904223u) >> 8) / 16777216.0f;
    return d;
}

class VqTest : public ::testing::Test {
protected:
    std::string cikti;
    void SetUp() override {
        MesajKaydiKur(&cikti);
        Sifirla(0);
    }
    void TearDown() override {
        bellek_hata_sirasi = 0;
        Sifirla(0);
        MesajKaydiBitir();
    }
    void Ozellikler(const Satirlar& d, int n) {
        Free2B(ayr.Ci);
        ayr.Ci = Matris(d, n, 1);
        ayr.r = static_cast<int>(d.size());
        ayr.kdbaslik.n = n;
    }
};

}  // namespace

TEST_F(VqTest, KindCheckLeavesTheCodebookAlone) {
    Ozellikler(Yayilmis(30, 15), 15);
    ayr.km = Matris(Satirlar(10, std::vector<float>(15, 2.5f)), 15, 0);
    ayr.kms = 10, ayr.kmn = 15;
    float** once = ayr.km;
    for (int tur : {0, 4}) {
        ayr.kdbaslik.tur = tur;
        EXPECT_EQ(VQ_Egit(), 1);
        EXPECT_EQ(ayr.km, once);
        EXPECT_EQ(Degeri(ayr.km, 10, 15), Satirlar(10, std::vector<float>(15, 2.5f)));
    }
    EXPECT_EQ(cikti,
              "Bu algoritma yalnızca LPC ve DLPC yöneyleri içindir.\n"
              "Bu algoritma yalnızca LPC ve DLPC yöneyleri içindir.\n");
}

TEST_F(VqTest, SelectionIsTheStandardGeneratorNeverRowZeroNorRowR) {
    int rsd[10];
    ayr.thm = 1;  // with r = 32767 a draw g names row g
    RasgeleSayilarUret(rsd, 4, 32767);
    EXPECT_EQ(std::vector<int>(rsd, rsd + 4), (std::vector<int>{16838, 5758, 10113, 17515}));
    RasgeleSayilarUret(rsd, 1, 100000);  // g * r / 32767, truncated, exactly
    EXPECT_EQ(rsd[0], static_cast<int>(16838LL * 100000 / 32767));

    ayr.thm = 1234;  // 10 of 11 rows: exactly rows 1..10
    RasgeleSayilarUret(rsd, 10, 11);
    std::sort(rsd, rsd + 10);
    EXPECT_EQ(std::vector<int>(rsd, rsd + 10), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    // A seed whose first draw is 32767 (row r) takes its second draw.
    auto sonraki = [](uint32_t& d) { return static_cast<int>(((d = d * 1103515245u + 12345u) >> 16) & 32767); };
    uint32_t tohum = 0, d = 0;
    while (d = tohum, sonraki(d) != 32767) tohum++;
    const int ikinci = sonraki(d);
    ayr.thm = static_cast<int>(tohum);
    RasgeleSayilarUret(rsd, 1, 32767);
    EXPECT_EQ(rsd[0], ikinci);
}

TEST_F(VqTest, TooFewVectorsAndAbsurdSizesAreRefusedBeforeAnythingIsMade) {
    Ozellikler(Yayilmis(10, 15), 15);  // 10 codewords need 11 rows
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_NE(cikti.find("en az 11 yöney gerekir, 10 var"), std::string::npos) << cikti;
    for (auto [s, n] : {std::pair{0, 15}, {5, 0}, {5, 100}}) {
        ayr.kdbaslik.s = s;
        ayr.kdbaslik.n = n;
        EXPECT_EQ(VQ_Egit(), 1);
    }
    EXPECT_EQ(cikti.find("basladi"), std::string::npos);
    EXPECT_EQ(ayr.km, nullptr);
}

TEST_F(VqTest, NewCodebookStartsFromTheSelectedRows) {
    const Satirlar v = Yayilmis(40, 15);
    Ozellikler(v, 15);
    ayr.yinl = 0;
    ASSERT_EQ(VQ_Egit(), 0);
    EXPECT_EQ(cikti, "\n>Egitme islemi basladi\n\n>Rasgele secimler yapildi\n\n>Egitme islemi tamamlandi\n");
    int rsd[10];
    RasgeleSayilarUret(rsd, 10, 40);
    for (int i = 0; i < 10; i++) EXPECT_EQ(Degeri(ayr.km, 10, 15)[size_t(i)], v[size_t(rsd[i])]);
}

TEST_F(VqTest, ResetRefillsOneEmptyCodewordPerCycleFromTheBiggestRegion) {
    // Every codeword labelled in cycle 0: unchanged, silent.
    Ozellikler({{0}, {0}, {0}, {0}, {0}, {10}, {10}, {10}, {10}, {10}}, 1);
    float** km = Matris({{0}, {10}}, 1, 0);
    EXPECT_EQ(KuralKitabiniSifirla(ayr.Ci, &km, 2, 1, 10), 0);
    EXPECT_EQ(Degeri(km, 2, 1), (Satirlar{{0}, {10}}));
    Free2B(km);
    EXPECT_EQ(cikti, "");

    // All six rows go to codeword 0; row 0 equals it, row 2 (7) is the first
    // differing member. Settled in the second cycle: one cycle is too few.
    Ozellikler({{5}, {5}, {7}, {8}, {9}, {5}}, 1);
    ayr.eabs = 3;
    for (int onyinl : {1, 2}) {
        cikti.clear();
        ayr.onyinl = onyinl;
        km = Matris({{5}, {100}}, 1, 0);
        EXPECT_EQ(KuralKitabiniSifirla(ayr.Ci, &km, 2, 1, 6), onyinl == 1 ? 1 : 0);
        EXPECT_EQ(Degeri(km, 2, 1), (Satirlar{{5}, {7}}));
        Free2B(km);
    }
    EXPECT_EQ(cikti, "");
}

TEST_F(VqTest, ResetFailuresPrintTheirNumbers) {
    Ozellikler({{5}, {5}, {7}, {8}, {9}, {5}, {1}}, 1);
    ayr.kdbaslik.s = 2;
    ayr.km = Matris({{5}, {100}}, 1, 0);
    ayr.kms = 2, ayr.kmn = 1;
    ayr.kdbayrak = 1;
    ayr.onyinl = 0;
    EXPECT_EQ(VQ_Egit(), 1);
    ayr.onyinl = 50;
    ayr.eabs = 8;
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_EQ(cikti,
              "\n>Egitme islemi basladi\n"
              "Sıfırlama işlemi 0 sayida çevrim sonrasında başarısız.\n"
              "\tÇevrim:0\tbirinci yöney:0\tetiket sayısı:0\n"
              "Kural kitabi sıfırlanamıyor.\n"
              "\n>Egitme islemi basladi\n"
              "Sıfırlama sırasında kural yöneylerinden hiçbiri 8 sayıda etiket toplayamadı.\n"
              "\tÇevrim:0\tbirinci yöney:0\tetiket sayısı:7\n"
              "Kural kitabi sıfırlanamıyor.\n");
}

TEST_F(VqTest, LbgCentroidsStoppingRuleAndTwinCodewords) {
    Ozellikler({{0}, {1}, {10}, {11}}, 1);
    float** km = Matris({{0}, {10}}, 1, 0);
    EXPECT_EQ(LBG(km, ayr.Ci, 2, 4, 1, 0), 0);
    EXPECT_EQ(Degeri(km, 2, 1), (Satirlar{{0}, {10}}));
    EXPECT_EQ(LBG(km, ayr.Ci, 2, 4, 1, 100), 0);
    EXPECT_EQ(Degeri(km, 2, 1), (Satirlar{{0.5f}, {10.5f}}));
    Free2B(km);
    EXPECT_EQ(cikti, "");

    // Twins: the higher one wins no vector in the first pass. Its region is
    // empty, so it takes the first vector of the biggest region (0, lowest
    // index on ties) that differs from that region's new centroid: {0}.
    km = Matris({{0}, {0}, {10}}, 1, 0);
    EXPECT_EQ(LBG(km, ayr.Ci, 3, 4, 1, 100), 0);
    EXPECT_EQ(Degeri(km, 3, 1), (Satirlar{{1}, {0}, {10.5f}}));
    Free2B(km);
    EXPECT_EQ(cikti, "");

    // A first distortion above 1000 stops before any update.
    Ozellikler({{100}, {200}}, 1);
    km = Matris({{0}, {1}}, 1, 0);
    EXPECT_EQ(LBG(km, ayr.Ci, 2, 2, 1, 100), 0);
    EXPECT_EQ(Degeri(km, 2, 1), (Satirlar{{0}, {1}}));
    Free2B(km);
}

// A codeword can lose every vector after the first centroid update: here
// codeword 0 of an existing codebook, which the reset keeps (every codeword
// labelled), empties in the second pass. Training still succeeds with all
// three codewords in use.
TEST_F(VqTest, CodewordEmptiedByAnUpdateIsRefilledAndTrainingSucceeds) {
    Ozellikler({{6, 6}, {4, 6}, {2, 4}, {6, 0}, {6, 1}}, 2);
    ayr.kdbaslik.s = 3;
    ayr.km = Matris({{6, 6}, {4, 6}, {2, 4}}, 2, 0);
    ayr.kms = 3, ayr.kmn = 2;
    ayr.kdbayrak = 1;
    ayr.eabs = 1;
    ASSERT_EQ(VQ_Egit(), 0) << cikti;
    EXPECT_EQ(cikti, "\n>Egitme islemi basladi\n\n>Kural kitabi sifirlandi\n\n>Egitme islemi tamamlandi\n");
    EXPECT_EQ(Degeri(ayr.km, 3, 2), (Satirlar{{6, 6}, {3, 5}, {6, 0.5f}}));

    // Vectors with fewer distinct values than codewords: nothing can refill
    // the empty codeword, which keeps its value; LBG still ends.
    Ozellikler({{1}, {1}, {1}, {5}, {5}}, 1);
    float** km = Matris({{1}, {1}, {5}}, 1, 0);
    EXPECT_EQ(LBG(km, ayr.Ci, 3, 5, 1, 100), 0);
    EXPECT_EQ(Degeri(km, 3, 1), (Satirlar{{1}, {1}, {5}}));
    Free2B(km);

    // Two empty codewords take two different donors, biggest region first.
    Ozellikler({{0}, {1}, {2}, {3}, {10}, {11}}, 1);
    km = Matris({{0}, {0}, {0}, {10}}, 1, 0);
    EXPECT_EQ(LBG(km, ayr.Ci, 4, 6, 1, 1), 0);
    EXPECT_EQ(Degeri(km, 4, 1), (Satirlar{{1.5f}, {0}, {1}, {10.5f}}));
    Free2B(km);
    EXPECT_EQ(cikti.find("Ortala"), std::string::npos) << cikti;
}

TEST_F(VqTest, ClassificationTiesAndMeanDistortion) {
    Ozellikler({{1, 0, 0}, {1, 1, 1}}, 3);
    ayr.DelCi = Matris({{4, 0, 0}}, 3, 1);
    ayr.km = Matris({{0, 0, 0}, {2, 0, 0}}, 3, 0);
    ayr.kms = 2, ayr.kmn = 3;
    ayr.kdbaslik.s = 2;
    float d = -1;
    EXPECT_EQ(VQ_Siniflandir(0, &d), 0);  // equally near both: the lower index
    EXPECT_EQ(d, 1.0f);
    ayr.kdbaslik.tur = 2;
    EXPECT_EQ(VQ_Siniflandir(0, &d), 1);
    EXPECT_EQ(d, 4.0f);
    ayr.kdbaslik.tur = 1;
    EXPECT_EQ(OlasilikBul(), 2.0f);  // distances 1 and 3
    ayr.r = 0;
    EXPECT_TRUE(std::isinf(OlasilikBul()));
    EXPECT_EQ(cikti, "uzaklik:2.000000\nuzaklik:inf\n");

    // No storage for the scores: a distance that loses.
    cikti.clear();
    bellek_hata_sirasi = 1;
    EXPECT_EQ(VQ_Siniflandir(0, &d), -1);
    EXPECT_TRUE(std::isinf(d));
    EXPECT_EQ(cikti, " Ara işlem için bellek ayrilamadi 'VQ_Siniflandir'");

    float a[3] = {1, 2, 3}, b[3] = {1, 2, 4};
    EXPECT_EQ(EsitYoneyler(a, b, 3), 1);
    EXPECT_EQ(EsitYoneyler(a, b, 2), 0);
    EXPECT_EQ(EsitYoneyler(a, b, 0), 0);
}

TEST_F(VqTest, EveryAllocationFailureIsReportedWithoutLeaks) {
    const Satirlar v = Yayilmis(40, 15);
    for (int kayit : {0, 1}) {
        for (int sira = 1; sira <= 8; sira++) {
            Sifirla(4);
            Ozellikler(v, 15);
            ayr.kdbayrak = kayit;
            ayr.eabs = 1;
            if (kayit) ayr.km = Matris(Satirlar(v.begin() + 1, v.begin() + 11), 15, 0), ayr.kms = 10, ayr.kmn = 15;
            cikti.clear();
            bellek_hata_sirasi = sira;
            const int sonuc = VQ_Egit();
            const bool kaldi = bellek_hata_sirasi != 0;  // fewer allocations than `sira`
            bellek_hata_sirasi = 0;
            if (kaldi) continue;
            EXPECT_EQ(sonuc, 1);
            EXPECT_NE(cikti.find("bellek ayr"), std::string::npos) << cikti;
        }
    }
}

// The utterance's score equals, bit for bit, the mean of the frames'
// distances taken one by one, whatever the codebook's size.
TEST_F(VqTest, MeanDistortionIsTheMeanOfTheFrameDistances) {
    for (int n : {15, 3})
        for (int r : {40, 43})
            for (int s : {1, 3, 4, 7, 10, 16, 17, 33}) {
                const Satirlar d = Yayilmis(r, n);
                Ozellikler(d, n);
                Sifirla(4);
                ayr.kdbaslik.s = s;
                ayr.km = Matris(Satirlar(d.end() - s, d.end()), n, 0);
                ayr.kms = s, ayr.kmn = n;
                float toplam = 0.0f;
                for (int k = 0; k < r; k++) {
                    float u = 0.0f;
                    VQ_Siniflandir(k, &u);
                    toplam += u;
                }
                const float beklenen = toplam / static_cast<float>(r);
                const float puan = OlasilikBul();
                EXPECT_EQ(std::memcmp(&puan, &beklenen, 4), 0) << n << " " << r << " " << s;
            }
}

TEST_F(VqTest, LbgStopsWhenNoLabelChangesWhateverTheThreshold) {
    // A threshold that never stops it and the largest iteration count: the
    // second pass gives the first pass's labels, and that ends it at once.
    Ozellikler({{0}, {1}, {10}, {11}}, 1);
    ayr.uae = -1.0f;
    vq_is_siniri = 1000;  // 125 passes: far fewer than asked, far more than needed
    float** km = Matris({{0}, {10}}, 1, 0);
    EXPECT_EQ(LBG(km, ayr.Ci, 2, 4, 1, INT32_MAX), 0);
    EXPECT_EQ(Degeri(km, 2, 1), (Satirlar{{0.5f}, {10.5f}}));
    EXPECT_EQ(cikti, "");  // not cut short by the work bound
    Free2B(km);
    vq_is_siniri = 4000000000LL;
}

TEST_F(VqTest, LbgContinuesOnAnEqualDistortionWhenTheThresholdIsZero) {
    // First distortion (100^2 + 9 x 0) / 10 = 1000 exactly, equal to the
    // starting value: with threshold 0 that is no stop, so the codeword
    // moves to the mean 10; a threshold above 0 stops before any update.
    Satirlar v(10, {0.0f});
    v[0][0] = 100.0f;
    Ozellikler(v, 1);
    for (float uae : {0.0f, 0.5f}) {
        ayr.uae = uae;
        float** km = Matris({{0}}, 1, 0);
        EXPECT_EQ(LBG(km, ayr.Ci, 1, 10, 1, 100), 0);
        EXPECT_EQ(km[0][0], uae == 0.0f ? 10.0f : 0.0f) << uae;
        Free2B(km);
    }
}

TEST_F(VqTest, OneTrainingRunHasBoundedWorkAndSaysWhichSettingAskedForMore) {
    // LBG: one pass of 4 x 2 x 1 terms is allowed, the second is not. The
    // codebook of the finished pass is kept and the run is not a failure.
    Ozellikler({{0}, {1}, {10}, {11}}, 1);
    vq_is_siniri = 8;
    float** km = Matris({{0}, {1}}, 1, 0);
    EXPECT_EQ(LBG(km, ayr.Ci, 2, 4, 1, 100), 0);
    EXPECT_EQ(Degeri(km, 2, 1), (Satirlar{{0}, {22.0f / 3.0f}}));
    EXPECT_EQ(cikti, "Eğitim iş sınırına ulaştı: LBG 1 çevrimde durdu ('Yineleme Sayisi' 100, 'Uzaklik Siniri' 1e-06).\n");
    Free2B(km);

    // A reset that can never settle (every row equals the one codeword that
    // gathers them) with a huge pre-iteration count ends at the bound.
    cikti.clear();
    Ozellikler(Satirlar(20, {3.0f}), 1);
    ayr.kdbaslik.s = 2;
    ayr.km = Matris({{3}, {50}}, 1, 0);
    ayr.kms = 2, ayr.kmn = 1;
    ayr.kdbayrak = 1;
    ayr.eabs = 1;
    ayr.onyinl = 1000000;
    vq_is_siniri = 20 * 2 * 1 * 1000;
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_NE(cikti.find("Eğitim iş sınırına ulaştı: sıfırlama 1000 çevrimde bitmedi ('OnYineleme Sayisi' 1000000).\n"),
              std::string::npos)
        << cikti;
    vq_is_siniri = 4000000000LL;
}

TEST_F(VqTest, RetrainingRefusesACodebookOfAnotherShapeAndHugeSizesDoNotOverflow) {
    Ozellikler(Yayilmis(40, 15), 15);
    ayr.kdbayrak = 1;
    ayr.km = Matris(Satirlar(5, std::vector<float>(15, 1.0f)), 15, 0);
    ayr.kms = 5, ayr.kmn = 15;
    float** once = ayr.km;
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_EQ(cikti, "Bellekteki kural kitabı 5x15, ayarlar 10x15 istiyor; yeniden eğitilemez.\n");
    EXPECT_EQ(ayr.km, once);

    // The largest "Kural Yoneyleri Sayisi": s + 1 vectors are counted wide.
    cikti.clear();
    ayr.kdbayrak = 0;
    ayr.kdbaslik.s = INT32_MAX;
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_EQ(cikti, "Eğitim için yeterli LPC/DLPC yöneyi yok: 2147483647 kural yöneyi için en az 2147483648 yöney "
                     "gerekir, 40 var.\n");
}

TEST_F(VqTest, AScoringPastTheWorkBoundIsRefusedAndLoses) {
    Ozellikler({{1, 0, 0}, {1, 1, 1}}, 3);
    ayr.km = Matris({{0, 0, 0}, {2, 0, 0}}, 3, 0);
    ayr.kms = 2, ayr.kmn = 3;
    ayr.kdbaslik.s = 2;
    vq_is_siniri = 2 * 2 * 3;  // exactly this scoring: allowed
    EXPECT_EQ(OlasilikBul(), 2.0f);
    vq_is_siniri = 2 * 2 * 3 - 1;
    EXPECT_TRUE(std::isinf(OlasilikBul()));
    vq_is_siniri = 4000000000LL;
    EXPECT_EQ(cikti,
              "uzaklik:2.000000\n"
              "Puanlama iş sınırını aşıyor (2 yöney, 2 kural yöneyi, 3 boyut); puanlanmadı.\nuzaklik:inf\n");
}
