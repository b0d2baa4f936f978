// Kind-3 codebooks: lifter, sections, training and scoring.
#include "kancalar.h"
#include "vq3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "bellek.h"
#include "mesaj_kaydi.h"
#include "sifirlama.h"
#include "velmo.h"
#include "vq1.h"

namespace {

class Vq3Test : public ::testing::Test {
protected:
    std::string cikti;
    void SetUp() override {
        MesajKaydiKur(&cikti);
        Sifirla(0);
        ayr.kdbaslik.tur = 3;
    }
    void TearDown() override {
        bellek_hata_sirasi = 0;
        Sifirla(0);
        MesajKaydiBitir();
    }
    // r frames of n raw cepstra (one spare column, as the analysis makes them).
    void Ozellikler(const std::vector<std::vector<float>>& d, int n) {
        Free2B(ayr.Ci);
        ayr.Ci = Calloc2B<float>(static_cast<int>(d.size()) + 1, n + 1, 4);
        for (size_t i = 0; i < d.size(); i++)
            for (int j = 0; j < n; j++) ayr.Ci[i][j] = d[i][static_cast<size_t>(j)];
        ayr.r = static_cast<int>(d.size());
        ayr.kdbaslik.n = n;
    }
    void KodKitabi(const std::vector<std::vector<float>>& d, int n) {
        Free2B(ayr.km);
        ayr.km = Calloc2B<float>(static_cast<int>(d.size()), n, 4);
        for (size_t i = 0; i < d.size(); i++)
            for (int j = 0; j < n; j++) ayr.km[i][j] = d[i][static_cast<size_t>(j)];
        ayr.kms = ayr.kdbaslik.s = static_cast<int>(d.size());
        ayr.kmn = n;
    }
};

// Frames around two points that differ per section: section 1 near +a,
// section 2 near -a (a little spread so LBG has work), r frames of n.
std::vector<std::vector<float>> IkiBolum(int r, int n, float a) {
    std::vector<std::vector<float>> d;
    uint32_t x = 11;
    for (int k = 0; k < r; k++) {
        std::vector<float> v(static_cast<size_t>(n));
        for (int j = 0; j < n; j++) {
            x = x * 1664525u + 1013904223u;
            const float oynama = static_cast<float>(x >> 8) / 16777216.0f - 0.5f;
            v[static_cast<size_t>(j)] = (k < r / 2 ? a : -a) + 0.1f * oynama + 0.01f * static_cast<float>(k % 3);
        }
        d.push_back(v);
    }
    return d;
}

}  // namespace

TEST(SinusLifterTest, WeightsRiseToTheMiddleAndAreSymmetric) {
    std::vector<float> w(22);
    SinusLifter(w.data(), 22, 22);
    EXPECT_FLOAT_EQ(w[0], static_cast<float>(1.0 + 11.0 * std::sin(3.14159265358979323846 / 22)));
    EXPECT_FLOAT_EQ(w[10], 12.0f);  // i = L/2: the largest weight, 1 + L/2
    EXPECT_NEAR(w[21], 1.0f, 1e-5f);  // i = L: sin(pi) = 0
    for (int i = 1; i < 11; i++) EXPECT_FLOAT_EQ(w[static_cast<size_t>(i - 1)], w[static_cast<size_t>(21 - i)]) << i;
    for (int i = 1; i < 11; i++) EXPECT_GT(w[static_cast<size_t>(i)], w[static_cast<size_t>(i - 1)]);
}

TEST(KesitSiniriTest, OddCountsGiveTheExtraFrameToTheSecondSection) {
    EXPECT_EQ(KesitSiniri(10), 5);
    EXPECT_EQ(KesitSiniri(7), 3);
    EXPECT_EQ(KesitSiniri(1), 0);
    EXPECT_EQ(KesitSiniri(0), 0);
}

// The score is the mean distortion of section 1 against the first s/2
// codewords plus that of section 2 against the rest, on weighted vectors.
TEST_F(Vq3Test, ScoreIsTheSumOfTheSectionsMeans) {
    const int n = 3;
    // 5 frames: section 1 = frames 0, 1; section 2 = frames 2, 3, 4.
    Ozellikler({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}, {2, 0, 0}}, n);
    float w[3];
    SinusLifter(w, n, KESIT_LIFTER);
    // Codewords: section 1 = {0}, {w1,0,0}; section 2 = {0}, {2w1,0,0}.
    KodKitabi({{0, 0, 0}, {w[0], 0, 0}, {0, 0, 0}, {2 * w[0], 0, 0}}, n);
    const float d1 = (0.0f + w[1] * w[1]) / 2.0f;
    const float d2 = (w[2] * w[2] + (w[0] * w[0] + w[1] * w[1] + w[2] * w[2]) + 0.0f) / 3.0f;
    EXPECT_FLOAT_EQ(KesitliOlasilik(), d1 + d2);
    EXPECT_FLOAT_EQ(OlasilikBul(), d1 + d2);
    // Frame-by-frame quantisation agrees with the sections.
    float u = 0;
    EXPECT_EQ(VQ_Siniflandir(0, &u), 1);
    EXPECT_FLOAT_EQ(u, 0.0f);
    EXPECT_EQ(VQ_Siniflandir(4, &u), 3);
    EXPECT_FLOAT_EQ(u, 0.0f);
    EXPECT_EQ(VQ_Siniflandir(2, &u), 2);

    // One frame leaves section 1 empty: nothing to score, so it never wins.
    Ozellikler({{1, 0, 0}}, n);
    EXPECT_TRUE(std::isinf(KesitliOlasilik()));
    // A codebook of another shape than the header is never read.
    Ozellikler({{1, 0, 0}, {0, 1, 0}}, n);
    ayr.kdbaslik.s = 6;
    EXPECT_TRUE(std::isinf(KesitliOlasilik()));
    EXPECT_EQ(VQ_Siniflandir(0, &u), -1);
}

TEST_F(Vq3Test, EachSectionLearnsOnlyFromItsOwnFrames) {
    const int n = 4;
    Ozellikler(IkiBolum(41, n, 3.0f), n);  // 20 + 21 frames
    ayr.kdbaslik.s = 6;
    ASSERT_EQ(VQ_Egit(), 0) << cikti;
    ASSERT_NE(ayr.km, nullptr);
    EXPECT_EQ(ayr.kms, 6);
    float w[4];
    SinusLifter(w, n, KESIT_LIFTER);
    for (int i = 0; i < 6; i++)
        for (int j = 0; j < n; j++) EXPECT_NEAR(ayr.km[i][j], (i < 3 ? 3.0f : -3.0f) * w[j], 0.2f * w[j]) << i;
    const float kendisi = OlasilikBul();
    // The same frames in the other order fit far worse.
    auto d = IkiBolum(41, n, 3.0f);
    std::vector<std::vector<float>> ters(d.rbegin(), d.rend());
    Ozellikler(ters, n);
    EXPECT_GT(OlasilikBul(), 100 * kendisi);
    EXPECT_NE(cikti.find(">1. kesit: rasgele secimler yapildi"), std::string::npos);
    EXPECT_NE(cikti.find(">2. kesit: rasgele secimler yapildi"), std::string::npos);

    // Refining a loaded codebook (flag 1) repairs each section from its own
    // codewords and keeps the shape and the storage.
    Ozellikler(d, n);
    ayr.kdbayrak = 1;
    float** once = ayr.km;
    cikti.clear();
    ASSERT_EQ(VQ_Egit(), 0) << cikti;
    EXPECT_EQ(ayr.km, once);
    for (int i = 0; i < 6; i++) EXPECT_NEAR(ayr.km[i][0], (i < 3 ? 3.0f : -3.0f) * w[0], 0.2f * w[0]);
    EXPECT_NE(cikti.find(">2. kesit: kural kitabi sifirlandi"), std::string::npos);
}

TEST_F(Vq3Test, SizesTheSectionsCannotTrainAreRefusedAndTheCodebookKept) {
    const int n = 4;
    KodKitabi({{1, 1, 1, 1}, {2, 2, 2, 2}}, n);
    float** once = ayr.km;
    // Odd s, and s below 2.
    Ozellikler(IkiBolum(40, n, 1.0f), n);
    for (int s : {5, 0}) {
        ayr.kdbaslik.s = s;
        cikti.clear();
        EXPECT_EQ(VQ_Egit(), 1);
        EXPECT_NE(cikti.find("yöney sayısı çift ve en az 2"), std::string::npos) << cikti;
    }
    // 9 frames: section 1 has 4, and 4 codewords need 5.
    ayr.kdbaslik.s = 8;
    Ozellikler(IkiBolum(9, n, 1.0f), n);
    cikti.clear();
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_EQ(cikti,
              "Eğitim için yeterli LPC yöneyi yok: 1. kesitin 4 kural yöneyi için en az 5 yöney gerekir, 4 var.\n");
    // 10 frames: both sections hold 5; enough.
    Ozellikler(IkiBolum(10, n, 1.0f), n);
    EXPECT_EQ(VQ_Egit(), 0) << cikti;
    EXPECT_NE(ayr.km, once);
    // No analysis at all.
    Free2B(ayr.Ci);
    ayr.Ci = nullptr;
    ayr.r = 0;
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_TRUE(std::isinf(OlasilikBul()));
}

// Pooled training sees the sections of every take: a take whose halves
// differ leaves codewords from both in each section.
TEST_F(Vq3Test, PooledSectionsTrainFromTheGivenVectors) {
    const int n = 2;
    ayr.kdbaslik.n = n;
    ayr.kdbaslik.s = 4;
    std::vector<float> k1, k2;
    for (int i = 0; i < 12; i++) {
        const float a = (i % 2 == 0) ? 5.0f : -5.0f;
        k1.insert(k1.end(), {a + 0.01f * i, a});
        k2.insert(k2.end(), {10.0f + 0.01f * i, 10.0f});
    }
    ASSERT_EQ(KesitliEgit(k1, 12, k2, 12), 0) << cikti;
    const float a0 = ayr.km[0][1], a1 = ayr.km[1][1];
    EXPECT_FLOAT_EQ(std::min(a0, a1), -5.0f);
    EXPECT_FLOAT_EQ(std::max(a0, a1), 5.0f);
    EXPECT_FLOAT_EQ(ayr.km[2][1], 10.0f);
    EXPECT_FLOAT_EQ(ayr.km[3][1], 10.0f);
    // Fewer vectors than the rows promise are refused.
    EXPECT_EQ(KesitliEgit(k1, 13, k2, 12), 1);
}
