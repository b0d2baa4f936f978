// Kind-3 codebooks: lifter, sections, training and scoring.
#include "vq3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "vq1.h"
#include "vq_ortak.h"

namespace {

using Vq3Test = VqTemel;

// Frames around two points that differ per section: section 1 near +a,
// section 2 near -a (a little spread so LBG has work), r frames of n.
Satirlar IkiBolum(int r, int n, float a) {
    Satirlar d;
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
    for (auto [r, sinir] : {std::pair{10, 5}, {7, 3}, {1, 0}, {0, 0}}) EXPECT_EQ(KesitSiniri(r), sinir) << r;
}

// The score is the mean distortion of section 1 against the first s/2
// codewords plus that of section 2 against the rest, on weighted vectors.
TEST_F(Vq3Test, ScoreIsTheSumOfTheSectionsMeans) {
    const int n = 3;
    // 5 frames: section 1 = frames 0, 1; section 2 = frames 2, 3, 4.
    const COZUMLEME oz = Cozumleme({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}, {2, 0, 0}}, n);
    float w[3];
    SinusLifter(w, n, KESIT_LIFTER);
    // Codewords: section 1 = {0}, {w1,0,0}; section 2 = {0}, {2w1,0,0}.
    const MATRIS km = Kitap({{0, 0, 0}, {w[0], 0, 0}, {0, 0, 0}, {2 * w[0], 0, 0}}, n);
    const KURALDOSYABASLIK b = Baslik(3, 4, n);
    const float d1 = (0.0f + w[1] * w[1]) / 2.0f;
    const float d2 = (w[2] * w[2] + (w[0] * w[0] + w[1] * w[1] + w[2] * w[2]) + 0.0f) / 3.0f;
    EXPECT_FLOAT_EQ(KesitliOlasilik(oz, b, km), d1 + d2);
    EXPECT_FLOAT_EQ(Puanla(oz, b, km), d1 + d2);
    // Frame-by-frame quantisation agrees with the sections.
    float u = 0;
    EXPECT_EQ(VQ_Siniflandir(oz, b, km, 0, &u), 1);
    EXPECT_FLOAT_EQ(u, 0.0f);
    EXPECT_EQ(VQ_Siniflandir(oz, b, km, 4, &u), 3);
    EXPECT_FLOAT_EQ(u, 0.0f);
    EXPECT_EQ(VQ_Siniflandir(oz, b, km, 2, &u), 2);

    // One frame leaves section 1 empty: nothing to score, so it never wins.
    EXPECT_TRUE(std::isinf(KesitliOlasilik(Cozumleme({{1, 0, 0}}, n), b, km)));
    // A codebook of another shape than the header is never read.
    EXPECT_TRUE(std::isinf(KesitliOlasilik(oz, Baslik(3, 6, n), km)));
    EXPECT_EQ(VQ_Siniflandir(oz, Baslik(3, 6, n), km, 0, &u), -1);
}

// Scoring weights the frames as it reads them: the score equals, bit for
// bit, each section's frames weighted and quantised one by one, in either
// lane layout, whatever the sizes.
TEST_F(Vq3Test, ScoreEqualsTheFramesQuantisedOneByOne) {
    for (bool avx2 : SeritYollari())
        for (int n : {12, 3, 17})
            for (int r : {9, 45, 150})
                for (int s : {2, 10, 64, 70}) {
                    vq_avx2 = avx2;
                    const COZUMLEME oz = Cozumleme(IkiBolum(r, n, 0.5f), n);
                    // Codewords: weighted frames pulled towards one another.
                    std::vector<float> v;
                    AgirlikliYoneyler(oz.Ci, n, 0, r, v);
                    Satirlar kod;
                    for (int i = 0; i < s; i++) {
                        const size_t k = static_cast<size_t>((i * 7) % r) * static_cast<size_t>(n);
                        kod.emplace_back(v.begin() + static_cast<long>(k), v.begin() + static_cast<long>(k) + n);
                        for (float& e : kod.back()) e *= 0.9f + 0.01f * static_cast<float>(i % 5);
                    }
                    const KURALDOSYABASLIK b = Baslik(3, s, n);
                    const MATRIS km = Kitap(kod, n);
                    float t[2] = {0.0f, 0.0f};
                    for (int k = 0; k < r; k++) {
                        float u = 0.0f;
                        KesitliSiniflandir(oz, b, km, k, &u);
                        t[k >= KesitSiniri(r)] += u;
                    }
                    const int sinir = KesitSiniri(r);
                    const float beklenen = t[0] / static_cast<float>(sinir) + t[1] / static_cast<float>(r - sinir);
                    const float puan = KesitliOlasilik(oz, b, km);
                    EXPECT_EQ(std::memcmp(&puan, &beklenen, 4), 0) << avx2 << " " << n << " " << r << " " << s;
                }
}

TEST_F(Vq3Test, EachSectionLearnsOnlyFromItsOwnFrames) {
    const int n = 4;
    const Satirlar d = IkiBolum(41, n, 3.0f);  // 20 + 21 frames
    const COZUMLEME oz = Cozumleme(d, n);
    const KURALDOSYABASLIK b = Baslik(3, 6, n);
    const MATRIS km = EGITICI(Ayarlar()).Egit(oz, b, nullptr);
    ASSERT_EQ(km.Satir(), 6) << cikti;
    float w[4];
    SinusLifter(w, n, KESIT_LIFTER);
    for (int i = 0; i < 6; i++)
        for (int j = 0; j < n; j++) EXPECT_NEAR(km[i][j], (i < 3 ? 3.0f : -3.0f) * w[j], 0.2f * w[j]) << i;
    // The same frames in the other order fit far worse.
    const float kendisi = Puanla(oz, b, km);
    EXPECT_GT(Puanla(Cozumleme(Satirlar(d.rbegin(), d.rend()), n), b, km), 100 * kendisi);

    // Refining repairs a section from its own frames: a useless last
    // codeword takes a weighted frame of section 2; the rest is kept.
    MATRIS bozuk;
    ASSERT_TRUE(bozuk.Kopyala(km));
    for (int j = 0; j < n; j++) bozuk[5][j] = 1000.0f;
    EGITIM_AYARLARI a = Ayarlar();
    a.yinl = 0;
    const MATRIS onarilan = EGITICI(a).Egit(oz, b, &bozuk);
    ASSERT_EQ(onarilan.Satir(), 6) << cikti;
    for (int i = 0; i < 5; i++) EXPECT_EQ(Degeri(onarilan)[size_t(i)], Degeri(km)[size_t(i)]) << i;
    for (int j = 0; j < n; j++) EXPECT_NEAR(onarilan[5][j], -3.0f * w[j], 0.2f * w[j]);
}

TEST_F(Vq3Test, SizesTheSectionsCannotTrainAreRefused) {
    const int n = 4;
    const struct {
        int s, r;  // r -1: no analysis
        bool egitilir;
    } durumlar[] = {
        {5, 40, false},  // odd
        {0, 40, false},
        {8, 9, false},   // section 1 has 4 frames, and 4 codewords need 5
        {8, -1, false},
        {8, 10, true},   // both sections hold 5: enough
    };
    for (const auto& d : durumlar) {
        cikti.clear();
        const COZUMLEME oz = d.r < 0 ? COZUMLEME() : Cozumleme(IkiBolum(d.r, n, 1.0f), n);
        const MATRIS km = EGITICI(Ayarlar()).Egit(oz, Baslik(3, d.s, n), nullptr);
        EXPECT_EQ(km.Bos(), !d.egitilir) << d.s << " " << d.r << cikti;
        if (!d.egitilir) {
            EXPECT_EQ(std::count(cikti.begin(), cikti.end(), '\n'), 1) << cikti;
        }
    }
    EXPECT_TRUE(std::isinf(Puanla(COZUMLEME(), Baslik(3, 8, n), Kitap(IkiBolum(8, n, 1.0f), n))));
}

// Pooled training sees the sections of every take: a take whose halves
// differ leaves codewords from both in each section.
TEST_F(Vq3Test, PooledSectionsTrainFromTheGivenVectors) {
    std::vector<float> k1, k2;
    for (int i = 0; i < 12; i++) {
        const float a = (i % 2 == 0) ? 5.0f : -5.0f;
        k1.insert(k1.end(), {a + 0.01f * i, a});
        k2.insert(k2.end(), {10.0f + 0.01f * i, 10.0f});
    }
    EGITICI e(Ayarlar());
    const MATRIS km = e.KesitliEgit(k1, 12, k2, 12, Baslik(3, 4, 2), nullptr);
    ASSERT_EQ(km.Satir(), 4) << cikti;
    EXPECT_FLOAT_EQ(std::min(km[0][1], km[1][1]), -5.0f);
    EXPECT_FLOAT_EQ(std::max(km[0][1], km[1][1]), 5.0f);
    EXPECT_FLOAT_EQ(km[2][1], 10.0f);
    EXPECT_FLOAT_EQ(km[3][1], 10.0f);
    // A section with fewer values than its rows ask for is refused.
    k1.resize(k1.size() - 1);
    EXPECT_TRUE(e.KesitliEgit(k1, 12, k2, 12, Baslik(3, 4, 2), nullptr).Bos());
}
