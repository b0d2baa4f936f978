#include "vq1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "vq_ortak.h"

namespace {

Satirlar Yayilmis(int r, int n) {
    Satirlar d(static_cast<size_t>(r), std::vector<float>(static_cast<size_t>(n)));
    uint32_t x = 7;
    for (auto& v : d)
        for (auto& e : v) e = static_cast<float>((x = x * 1664525u + 1013904223u) >> 8) / 16777216.0f;
    return d;
}

size_t SatirSayisi(const std::string& s) { return static_cast<size_t>(std::count(s.begin(), s.end(), '\n')); }

using VqTest = VqTemel;

}  // namespace

TEST_F(VqTest, SelectionIsTheStandardGeneratorNeverRowZeroNorRowR) {
    int rsd[10];
    EGITIM_AYARLARI a = Ayarlar();
    a.thm = 1;  // with r = 32767 a draw g names row g
    EGITICI e(a);
    e.RasgeleSayilarUret(rsd, 4, 32767);
    EXPECT_EQ(std::vector<int>(rsd, rsd + 4), (std::vector<int>{16838, 5758, 10113, 17515}));
    e.RasgeleSayilarUret(rsd, 1, 100000);  // g * r / 32767, truncated, exactly
    EXPECT_EQ(rsd[0], static_cast<int>(16838LL * 100000 / 32767));

    a.thm = 1234;  // 10 of 11 rows: exactly rows 1..10
    EGITICI(a).RasgeleSayilarUret(rsd, 10, 11);
    std::sort(rsd, rsd + 10);
    EXPECT_EQ(std::vector<int>(rsd, rsd + 10), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    // A seed whose first draw is 32767 (row r) takes its second draw.
    auto sonraki = [](uint32_t& d) { return static_cast<int>(((d = d * 1103515245u + 12345u) >> 16) & 32767); };
    uint32_t tohum = 0, d = 0;
    while (d = tohum, sonraki(d) != 32767) tohum++;
    const int ikinci = sonraki(d);
    a.thm = static_cast<int>(tohum);
    EGITICI(a).RasgeleSayilarUret(rsd, 1, 32767);
    EXPECT_EQ(rsd[0], ikinci);
}

// Every refusal comes before the training starts, in one line; where it
// names sizes they are counted wide enough not to overflow.
TEST_F(VqTest, TrainingRefusesWhatItCannotUseBeforeStarting) {
    const struct {
        int tur, s, n;
        int r;               // frames of the analysis; -1: no analysis
        int baslangic = 0;   // rows of a 15-column codebook to refine; 0: new
        const char* sayi = "";
    } durumlar[] = {
        {0, 10, 15, 30},
        {4, 10, 15, 30},
        {1, 10, 15, 10},  // 10 codewords need 11 rows
        {2, 10, 15, -1},
        {1, 0, 15, 40},
        {1, 5, 0, 40},
        {1, 5, 100, 40},
        {1, 10, 15, 40, 5, "5x15"},
        {1, INT32_MAX, 15, 40, 0, "2147483648"},
        {1, VQ_EN_COK_SECIM + 1, 1, 40000, 0, "32767"},
    };
    for (const auto& d : durumlar) {
        cikti.clear();
        const COZUMLEME oz = d.r < 0 ? COZUMLEME() : Cozumleme(Yayilmis(d.r, 15), 15);
        const MATRIS bas = d.baslangic ? Kitap(Yayilmis(d.baslangic, 15), 15) : MATRIS();
        const MATRIS km = EGITICI(Ayarlar()).Egit(oz, Baslik(d.tur, d.s, d.n), d.baslangic ? &bas : nullptr);
        EXPECT_TRUE(km.Bos()) << d.tur << " " << d.s << " " << d.n;
        EXPECT_EQ(SatirSayisi(cikti), 1u) << cikti;
        EXPECT_EQ(cikti.find("basladi"), std::string::npos) << cikti;
        EXPECT_NE(cikti.find(d.sayi), std::string::npos) << cikti;
    }
}

TEST_F(VqTest, NewCodebookStartsFromTheSelectedRows) {
    const Satirlar v = Yayilmis(40, 15);
    EGITIM_AYARLARI a = Ayarlar();
    a.yinl = 0;
    EGITICI e(a);
    const MATRIS km = e.Egit(Cozumleme(v, 15), Baslik(1, 10, 15), nullptr);
    ASSERT_EQ(km.Satir(), 10);
    ASSERT_EQ(km.Sutun(), 15);
    int rsd[10];
    e.RasgeleSayilarUret(rsd, 10, 40);
    for (int i = 0; i < 10; i++) EXPECT_EQ(Degeri(km)[size_t(i)], v[size_t(rsd[i])]);
}

TEST_F(VqTest, ResetRefillsOneEmptyCodewordPerCycleFromTheBiggestRegion) {
    // Every codeword labelled in cycle 0: unchanged.
    COZUMLEME oz = Cozumleme({{0}, {0}, {0}, {0}, {0}, {10}, {10}, {10}, {10}, {10}}, 1);
    MATRIS km = Kitap({{0}, {10}}, 1);
    EXPECT_EQ(EGITICI(Ayarlar()).KuralKitabiniSifirla(oz.Ci.Satirlar(), km.Satirlar(), 2, 1, 10), 0);
    EXPECT_EQ(Degeri(km), (Satirlar{{0}, {10}}));

    // All six rows go to codeword 0; row 0 equals it, row 2 (7) is the first
    // differing member. Settled in the second cycle: one cycle is too few.
    oz = Cozumleme({{5}, {5}, {7}, {8}, {9}, {5}}, 1);
    EGITIM_AYARLARI a = Ayarlar();
    a.eabs = 3;
    for (int onyinl : {1, 2}) {
        a.onyinl = onyinl;
        km = Kitap({{5}, {100}}, 1);
        EXPECT_EQ(EGITICI(a).KuralKitabiniSifirla(oz.Ci.Satirlar(), km.Satirlar(), 2, 1, 6), onyinl == 1 ? 1 : 0);
        EXPECT_EQ(Degeri(km), (Satirlar{{5}, {7}}));
    }
}

// A failed reset fails the training and says at which cycle it stood and
// how many labels its biggest region had; a run stays within its work limit.
TEST_F(VqTest, ResetFailuresSayWhereTheyStopped) {
    const Satirlar yedi = {{5}, {5}, {7}, {8}, {9}, {5}, {1}};
    const struct {
        Satirlar gm, km;
        int onyinl, eabs;
        int64_t sinir;
        const char* satir;
    } durumlar[] = {
        {yedi, {{5}, {100}}, 0, 5, vq_is_siniri, "\tÇevrim:0\tbirinci yöney:0\tetiket sayısı:0\n"},
        {yedi, {{5}, {100}}, 50, 8, vq_is_siniri, "\tÇevrim:0\tbirinci yöney:0\tetiket sayısı:7\n"},
        // Every row equals the one codeword that gathers them: it never
        // settles, and a huge pre-iteration count ends at the work limit.
        {Satirlar(20, {3.0f}), {{3}, {50}}, 1000000, 1, 20 * 2 * 1 * 1000,
         "sıfırlama 1000 çevrimde bitmedi ('OnYineleme Sayisi' 1000000)"},
    };
    for (const auto& d : durumlar) {
        cikti.clear();
        EGITIM_AYARLARI a = Ayarlar();
        a.onyinl = d.onyinl;
        a.eabs = d.eabs;
        EGITICI e(a, d.sinir);
        const MATRIS bas = Kitap(d.km, 1);
        EXPECT_TRUE(e.Egit(Cozumleme(d.gm, 1), Baslik(1, 2, 1), &bas).Bos());
        EXPECT_NE(cikti.find(d.satir), std::string::npos) << cikti;
        EXPECT_LE(e.Is(), d.sinir);
    }
}

// LBG moves every codeword to its region's centroid until the labels stop
// changing, the distortion stops falling by the threshold, the passes run
// out or the work limit is reached. A codeword left without vectors takes
// the first vector of the biggest region (lowest index on ties) that
// differs from that region's new centroid.
TEST_F(VqTest, LbgRefinesToCentroidsUntilItStops) {
    const Satirlar dort = {{0}, {1}, {10}, {11}};
    const struct {
        Satirlar gm, km;
        int yinl;
        Satirlar beklenen;
        float uae = 0.000001f;
        int64_t sinir = 4000000000LL;
        const char* mesaj = "";
    } durumlar[] = {
        {dort, {{0}, {10}}, 0, {{0}, {10}}},
        {dort, {{0}, {10}}, 100, {{0.5f}, {10.5f}}},
        // Twins: the higher one wins no vector in the first pass.
        {dort, {{0}, {0}, {10}}, 100, {{1}, {0}, {10.5f}}},
        // A first distortion above 1000 stops before any update.
        {{{100}, {200}}, {{0}, {1}}, 100, {{0}, {1}}},
        // Fewer distinct values than codewords: nothing can refill the
        // empty codeword, which keeps its value.
        {{{1}, {1}, {1}, {5}, {5}}, {{1}, {1}, {5}}, 100, {{1}, {1}, {5}}},
        // Two empty codewords take two different donors, biggest region first.
        {{{0}, {1}, {2}, {3}, {10}, {11}}, {{0}, {0}, {0}, {10}}, 1, {{1.5f}, {0}, {1}, {10.5f}}},
        // A threshold that never stops it and the largest pass count: the
        // second pass repeats the first one's labels, which ends it long
        // before the 125 passes the work limit allows.
        {dort, {{0}, {10}}, INT32_MAX, {{0.5f}, {10.5f}}, -1.0f, 1000},
        // First distortion (100^2 + 9 x 0) / 10 = 1000, equal to the start:
        // with threshold 0 no stop, so the codeword moves to the mean 10.
        {{{100}, {0}, {0}, {0}, {0}, {0}, {0}, {0}, {0}, {0}}, {{0}}, 100, {{10}}, 0.0f},
        {{{100}, {0}, {0}, {0}, {0}, {0}, {0}, {0}, {0}, {0}}, {{0}}, 100, {{0}}, 0.5f},
        // One pass of 4 x 2 x 1 terms is allowed, the second is not: the
        // finished pass is kept, the settings that asked for more named.
        {dort, {{0}, {1}}, 100, {{0}, {22.0f / 3.0f}}, 0.000001f, 8,
         "LBG 1 çevrimde durdu ('Yineleme Sayisi' 100, 'Uzaklik Siniri' 1e-06)"},
    };
    int no = 0;
    for (const auto& d : durumlar) {
        cikti.clear();
        EGITIM_AYARLARI a = Ayarlar();
        a.uae = d.uae;
        EGITICI e(a, d.sinir);
        const COZUMLEME oz = Cozumleme(d.gm, 1);
        MATRIS km = Kitap(d.km, 1);
        const int s = km.Satir(), r = oz.r;
        EXPECT_EQ(e.LBG(km.Satirlar(), oz.Ci.Satirlar(), s, r, 1, d.yinl), 0) << no;
        EXPECT_EQ(Degeri(km), d.beklenen) << no;
        EXPECT_EQ(SatirSayisi(cikti), *d.mesaj ? 1u : 0u) << no << cikti;
        EXPECT_NE(cikti.find(d.mesaj), std::string::npos) << no << cikti;
        EXPECT_LE(e.Is(), d.sinir) << no;
        no++;
    }
}

// A codeword can lose every vector after the first centroid update: here
// codeword 0 of an existing codebook, which the reset keeps (every codeword
// labelled), empties in the second pass. Training still succeeds with all
// three codewords in use.
TEST_F(VqTest, CodewordEmptiedByAnUpdateIsRefilledAndTrainingSucceeds) {
    EGITIM_AYARLARI a = Ayarlar();
    a.eabs = 1;
    const MATRIS bas = Kitap({{6, 6}, {4, 6}, {2, 4}}, 2);
    const MATRIS km = EGITICI(a).Egit(Cozumleme({{6, 6}, {4, 6}, {2, 4}, {6, 0}, {6, 1}}, 2), Baslik(1, 3, 2), &bas);
    EXPECT_EQ(Degeri(km), (Satirlar{{6, 6}, {3, 5}, {6, 0.5f}})) << cikti;
}

TEST_F(VqTest, ClassificationTiesAndMeanDistortion) {
    COZUMLEME oz = Cozumleme({{1, 0, 0}, {1, 1, 1}}, 3, {{4, 0, 0}, {0, 0, 0}});
    const MATRIS km = Kitap({{0, 0, 0}, {2, 0, 0}}, 3);
    const KURALDOSYABASLIK b = Baslik(1, 2, 3);
    float d = -1;
    EXPECT_EQ(VQ_Siniflandir(oz, b, km, 0, &d), 0);  // equally near both: the lower index
    EXPECT_EQ(d, 1.0f);
    EXPECT_EQ(VQ_Siniflandir(oz, Baslik(2, 2, 3), km, 0, &d), 1);  // kind 2: the delta cepstra
    EXPECT_EQ(d, 4.0f);
    // A codebook of another shape than its header says always loses.
    EXPECT_EQ(VQ_Siniflandir(oz, Baslik(1, 3, 3), km, 0, &d), -1);
    EXPECT_TRUE(std::isinf(d));
    EXPECT_EQ(Puanla(oz, b, km), 2.0f);  // distances 1 and 3
    EXPECT_EQ(cikti, "");
    oz.r = 0;
    EXPECT_TRUE(std::isinf(Puanla(oz, b, km)));

    // No storage for the scores: a distance that loses.
    bellek_hata_sirasi = 1;
    EXPECT_EQ(VQ_Siniflandir(oz, b, km, 0, &d), -1);
    EXPECT_TRUE(std::isinf(d));
    EXPECT_NE(cikti, "");

    float x[3] = {1, 2, 3}, y[3] = {1, 2, 4};
    EXPECT_EQ(EsitYoneyler(x, y, 3), 1);
    EXPECT_EQ(EsitYoneyler(x, y, 2), 0);
    EXPECT_EQ(EsitYoneyler(x, y, 0), 0);
}

TEST_F(VqTest, EveryAllocationFailureIsReportedWithoutLeaks) {
    const Satirlar v = Yayilmis(40, 15);
    const COZUMLEME oz = Cozumleme(v, 15);
    const MATRIS bas = Kitap(Satirlar(v.begin() + 1, v.begin() + 11), 15);
    EGITIM_AYARLARI a = Ayarlar();
    a.eabs = 1;
    for (const MATRIS* baslangic : {static_cast<const MATRIS*>(nullptr), &bas}) {
        int denenen = 0;
        for (int sira = 1; sira <= 8; sira++) {
            cikti.clear();
            bellek_hata_sirasi = sira;
            const MATRIS km = EGITICI(a).Egit(oz, Baslik(1, 10, 15), baslangic);
            const bool kaldi = bellek_hata_sirasi != 0;  // fewer allocations than `sira`
            bellek_hata_sirasi = 0;
            if (kaldi) continue;
            denenen++;
            EXPECT_TRUE(km.Bos()) << sira;
            EXPECT_NE(cikti.find("bellek ayr"), std::string::npos) << cikti;
        }
        EXPECT_GT(denenen, 2);
    }
}

// The utterance's score equals, bit for bit, the mean of the frames'
// distances taken one by one, whatever the codebook's size, the number of
// frames or components, in either lane layout.
TEST_F(VqTest, MeanDistortionIsTheMeanOfTheFrameDistances) {
    for (bool avx2 : SeritYollari())
        for (int n : {15, 3, 9, 17})
            for (int r : {40, 43, 37})
                for (int s : {1, 3, 4, 7, 10, 16, 17, 33}) {
                    vq_avx2 = avx2;
                    const Satirlar d = Yayilmis(r, n);
                    const COZUMLEME oz = Cozumleme(d, n);
                    const KURALDOSYABASLIK b = Baslik(1, s, n);
                    const MATRIS km = Kitap(Satirlar(d.end() - s, d.end()), n);
                    float toplam = 0.0f;
                    for (int k = 0; k < r; k++) {
                        float u = 0.0f;
                        VQ_Siniflandir(oz, b, km, k, &u);
                        toplam += u;
                    }
                    const float beklenen = toplam / static_cast<float>(r);
                    const float puan = Puanla(oz, b, km);
                    EXPECT_EQ(std::memcmp(&puan, &beklenen, 4), 0) << avx2 << " " << n << " " << r << " " << s;
                }
}

TEST_F(VqTest, AScoringPastTheWorkBoundIsRefusedAndLoses) {
    const COZUMLEME oz = Cozumleme({{1, 0, 0}, {1, 1, 1}}, 3);
    const MATRIS km = Kitap({{0, 0, 0}, {2, 0, 0}}, 3);
    vq_is_siniri = 2 * 2 * 3;  // exactly this scoring: allowed
    EXPECT_EQ(Puanla(oz, Baslik(1, 2, 3), km), 2.0f);
    EXPECT_EQ(cikti, "");
    vq_is_siniri = 2 * 2 * 3 - 1;
    EXPECT_TRUE(std::isinf(Puanla(oz, Baslik(1, 2, 3), km)));
    EXPECT_EQ(SatirSayisi(cikti), 1u);
}
