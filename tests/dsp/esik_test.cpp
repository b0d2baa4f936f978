// Endpoint thresholds learnt from the lead-in (kind-3 codebooks).
#include <cmath>

#include "dsp_ortak.h"
#include "kodlama.h"
#include "sinir.h"

namespace {

class EsikTest : public DspTest {};

// 12 kHz: a 10 ms window is 120 samples, the lead-in 1200.
std::vector<short> Gurultulu(int boyut, int genlik, unsigned tohum) {
    std::vector<short> x(static_cast<size_t>(boyut));
    for (auto& v : x) v = static_cast<short>(static_cast<int>(TestRastgele(tohum) % (2 * genlik + 1)) - genlik);
    return x;
}

// A 200 Hz tone of amplitude `a` over [bas, son).
void Ton(std::vector<short>& x, int bas, int son, double a) {
    for (int i = bas; i < son; i++)
        x[static_cast<size_t>(i)] = static_cast<short>(a * std::sin(2 * 3.14159265358979 * 200 * i / 12000.0));
}

}  // namespace

TEST_F(EsikTest, KnownNoiseFloorGivesTheFormulaThresholds) {
    // yee 375, aee 200, bsge 10
    // Alternating +-60: every window has energy 60 and every pair crosses,
    // 2 x 120 = 240, with no spread.
    std::vector<short> x(3000);
    for (size_t i = 0; i < x.size(); i++) x[i] = (i % 2 == 0) ? 60 : -60;
    std::vector<int> e(3000), z(3000);
    SinirOlcumleri(x.data(), 3000, 120, e.data(), z.data());
    UCESIKLERI t = OndenEsikler(e.data(), z.data(), 3000, 120, 1200, b);
    EXPECT_TRUE(t.ogrenildi);
    EXPECT_EQ(t.bsge, 240);
    EXPECT_EQ(t.aee, 240);  // ceil(4 x 60)
    EXPECT_EQ(t.yee, 450);  // ceil(7.5 x 60) above the floor 375

    // A quiet floor keeps the header's floors for yee and bsge; aee follows
    // the noise down. Energies 10, 11 alternating; crossings 0 or 2 per
    // window: mean and spread from the definition.
    std::vector<int> e2(3000, 0), z2(3000, 0);
    double te = 0, tz = 0, kz = 0;
    int adet = 0;
    for (int j = 60; j <= 1200 - 120 + 60; j++, adet++) {
        e2[static_cast<size_t>(j)] = 10 + j % 2;
        z2[static_cast<size_t>(j)] = (j % 7 == 0) ? 2 : 0;
        te += e2[static_cast<size_t>(j)];
        tz += z2[static_cast<size_t>(j)];
    }
    const double mz = tz / adet;
    for (int j = 60; j <= 1140; j++) kz += (z2[static_cast<size_t>(j)] - mz) * (z2[static_cast<size_t>(j)] - mz);
    // Positions past the lead-in do not count.
    for (int j = 1141; j < 2940; j++) e2[static_cast<size_t>(j)] = 300, z2[static_cast<size_t>(j)] = 90;
    t = OndenEsikler(e2.data(), z2.data(), 3000, 120, 1200, b);
    EXPECT_TRUE(t.ogrenildi);
    EXPECT_EQ(t.bsge, 10);
    EXPECT_EQ(t.aee, static_cast<int>(std::ceil(4 * te / adet)));
    EXPECT_EQ(t.yee, 375);
    b.bsge = 0;
    EXPECT_EQ(OndenEsikler(e2.data(), z2.data(), 3000, 120, 1200, b).bsge,
              static_cast<int>(std::ceil(mz + 2 * std::sqrt(kz / adet))));

    // Digital silence: the low threshold stays at least 1.
    std::vector<int> sifir(3000, 0);
    EXPECT_EQ(OndenEsikler(sifir.data(), sifir.data(), 3000, 120, 1200, b).aee, 1);
}

TEST_F(EsikTest, LoudOrShortLeadInFallsBackToTheHeader) {
    std::vector<int> e(3000, 20), z(3000, 50);
    e[700] = 375;  // speech reaches yee inside the lead-in
    UCESIKLERI t = OndenEsikler(e.data(), z.data(), 3000, 120, 1200, b);
    EXPECT_FALSE(t.ogrenildi);
    EXPECT_EQ(t.yee, 375);
    EXPECT_EQ(t.aee, 200);
    EXPECT_EQ(t.bsge, 10);
    e[700] = 374;
    EXPECT_TRUE(OndenEsikler(e.data(), z.data(), 3000, 120, 1200, b).ogrenildi);
    // A lead-in shorter than one window, or a recording shorter than it.
    EXPECT_FALSE(OndenEsikler(e.data(), z.data(), 3000, 120, 100, b).ogrenildi);
    EXPECT_FALSE(OndenEsikler(e.data(), z.data(), 100, 120, 1200, b).ogrenildi);
    EXPECT_FALSE(OndenEsikler(nullptr, z.data(), 3000, 120, 1200, b).ogrenildi);
}

// In noise the fixed start threshold lets the start walk back to the head of
// the buffer; the learnt one stops it near the tone. Kinds 1 and 2 keep the
// fixed thresholds and the dump without the thresholds line.
TEST_F(EsikTest, LearntThresholdsFindTheStartInNoise) {
    std::vector<short> x = Gurultulu(36000, 60, 5);
    Ton(x, 12000, 18000, 6000);
    Kayit(x);
    b.tur = 1;
    ASSERT_EQ(Bul(), 0);
    EXPECT_EQ(Bas(), 60);  // the first measured position, half a window in
    std::vector<std::string> s = Satirlar("sinir.txt");
    EXPECT_EQ(s[1], Cp1254("Sıra\tEnerji\tSıfır Geçişi"));

    b.tur = 3;
    ASSERT_EQ(Bul(), 0);
    EXPECT_GT(Bas(), 12000 - 240);
    EXPECT_LT(Bas(), 12000 + 120);
    const int son = Bas() + Uzn() / 2 - 1;
    EXPECT_GT(son, 18000 - 120);
    EXPECT_LT(son, 18000 + 240);
    s = Satirlar("sinir.txt");
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[0].rfind(Cp1254("Başlangıç:") + std::to_string(Bas()) + " ", 0), 0u) << s[0];
    EXPECT_EQ(s[1].rfind(Cp1254("Eşikler (öndeki 100 ms'den öğrenildi): yüksek örke 375, alçak örke "), 0), 0u)
        << s[1];
    EXPECT_EQ(s[2], Cp1254("Sıra\tEnerji\tSıfır Geçişi"));

    // Speech from the first sample: the header's thresholds, and the dump says so.
    std::vector<short> y = Gurultulu(36000, 60, 9);
    Ton(y, 0, 6000, 6000);
    Kayit(y);
    ASSERT_EQ(Bul(), 0);
    EXPECT_LT(Bas(), 120);
    EXPECT_EQ(Satirlar("sinir.txt")[1],
              Cp1254("Eşikler (başlıktaki sabit değerler): yüksek örke 375, alçak örke 200, başlangıç sıfır geçiş 10"));
    EXPECT_EQ(cikti, "");
}
