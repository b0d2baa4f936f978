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

// Known floors: noise of energy 60 with no spread (every window the same)
// under a burst of energy 3000; digital silence under a burst of 1600.
TEST_F(EsikTest, KnownNoiseFloorAndPeakGiveTheFormulaThresholds) {
    std::vector<short> x(3000);
    for (size_t i = 0; i < x.size(); i++) x[i] = (i % 2 == 0) ? 60 : -60;
    for (size_t i = 1500; i < 2100; i++) x[i] = (i % 2 == 0) ? 3000 : -3000;
    std::vector<int> e(3000), z(3000);
    SinirOlcumleri(x.data(), 3000, 120, e.data(), z.data());
    UCESIKLERI t = OndenEsikler(e.data(), z.data(), 3000, 120, 1200, b);
    EXPECT_TRUE(t.ogrenildi);
    EXPECT_EQ(t.yee, 450);   // 7.5 x 60 above 3000 / 16
    EXPECT_EQ(t.aee, 61);    // no spread: just above the floor
    EXPECT_EQ(t.bsge, 240);  // every pair crosses: 2 x 120

    std::vector<int> sessiz(3000, 0), sifir(3000, 0);
    for (int j = 1500; j < 2000; j++) sessiz[j] = 1600;
    t = OndenEsikler(sessiz.data(), sifir.data(), 3000, 120, 1200, b);
    EXPECT_TRUE(t.ogrenildi);
    EXPECT_EQ(t.yee, 100);
    EXPECT_EQ(t.aee, 1);
    EXPECT_EQ(t.bsge, 10);  // the header's floor
}

// Speech from the first sample: the quiet stretch after it is the floor.
// A recording shorter than one stretch has only its loudest window.
TEST_F(EsikTest, SpeechAtTheStartAndShortRecordings) {
    std::vector<int> e(3000, 20), z(3000, 50);
    for (int j = 0; j < 1300; j++) e[j] = 2000;
    UCESIKLERI t = OndenEsikler(e.data(), z.data(), 3000, 120, 1200, b);
    EXPECT_TRUE(t.ogrenildi);
    EXPECT_EQ(t.yee, 150);
    EXPECT_EQ(t.aee, 21);
    t = OndenEsikler(e.data(), z.data(), 1000, 120, 1200, b);
    EXPECT_FALSE(t.ogrenildi);
    EXPECT_EQ(t.yee, 125);
    EXPECT_EQ(t.aee, 63);
    EXPECT_EQ(t.bsge, 10);
    EXPECT_FALSE(OndenEsikler(nullptr, z.data(), 3000, 120, 1200, b).ogrenildi);
}

// In noise the fixed start threshold lets the start walk back to the head of
// the buffer; the learnt one stops it near the tone. Kinds 1 and 2 keep the
// fixed thresholds and the dump without the thresholds line.
TEST_F(EsikTest, LearntThresholdsFindTheStartInNoise) {
    std::vector<short> y = Gurultulu(36000, 60, 5);
    Ton(y, 12000, 18000, 6000);
    Kayit(y);
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
    EXPECT_EQ(s[1].rfind(Cp1254("Eşikler (100 ms'lik sessizlikten öğrenildi): yüksek örke "), 0), 0u) << s[1];
    EXPECT_EQ(s[2], Cp1254("Sıra\tEnerji\tSıfır Geçişi"));
    EXPECT_EQ(cikti, "");
}

// Kind 3 finds the same speech whatever the level: the same tone in the same
// noise, 40 dB apart, gives the same ends within a window; kind 1's fixed
// thresholds miss the quiet one.
TEST_F(EsikTest, KindThreeFindsTheSameSpeechAtAnyLevel) {
    int uclar[2][2] = {};
    for (int i = 0; i < 2; i++) {
        const double kazanc = i == 0 ? 1.0 : 0.01;
        std::vector<short> y = Gurultulu(36000, 60, 7);
        Ton(y, 12000, 18000, 6000);
        for (short& v : y) v = static_cast<short>(std::lround(v * kazanc));
        Kayit(y);
        b.tur = 3;
        ASSERT_EQ(Bul(), 0) << kazanc;
        uclar[i][0] = Bas();
        uclar[i][1] = Bas() + Uzn() / 2 - 1;
        if (i == 1) {
            b.tur = 1;
            EXPECT_EQ(Bul(), 1);
        }
    }
    EXPECT_LE(std::abs(uclar[0][0] - uclar[1][0]), 120);
    EXPECT_LE(std::abs(uclar[0][1] - uclar[1][1]), 120);
}

// Kind 3 measures through a high-pass filter. A DC offset of either sign
// changes nothing at all, measures and ends alike; mains hum (50 or 60 Hz,
// with its 2nd and 3rd harmonics), alone or over an offset, leaves the ends
// within a window. Measured as they are, these would lift the floor above
// the tone.
TEST_F(EsikTest, OffsetAndHumLeaveTheSpeechWhereItIs) {
    b.tur = 3;
    std::vector<short> temiz = Gurultulu(36000, 60, 11);
    Ton(temiz, 12000, 18000, 6000);
    Kayit(temiz);
    ASSERT_EQ(Bul(), 0);
    const int bas = Bas(), son = Bas() + Uzn() / 2 - 1;
    const std::vector<int> orke(u.orke.get(), u.orke.get() + u.boyut);
    const struct {
        int dc;
        double hz, genlik;
    } durumlar[] = {{8000, 0, 0}, {-8000, 0, 0}, {0, 50, 1500}, {0, 60, 1500}, {-3000, 50, 1500}};
    for (const auto& d : durumlar) {
        std::vector<short> y = temiz;
        for (size_t i = 0; i < y.size(); i++) {
            double v = y[i] + d.dc;
            for (int k = 1; k <= 3; k++)
                v += d.genlik / (1 << (2 * k - 2)) * std::sin(2 * 3.14159265358979 * k * d.hz * i / 12000.0 + k);
            y[i] = static_cast<short>(std::lround(v));
        }
        Kayit(y);
        ASSERT_EQ(Bul(), 0) << d.dc << " " << d.hz;
        if (d.genlik == 0) {
            EXPECT_EQ(Bas(), bas);
            EXPECT_EQ(Bas() + Uzn() / 2 - 1, son);
            EXPECT_EQ(std::vector<int>(u.orke.get(), u.orke.get() + u.boyut), orke);
        } else {
            EXPECT_LE(std::abs(Bas() - bas), 120) << d.hz;
            EXPECT_LE(std::abs(Bas() + Uzn() / 2 - 1 - son), 120) << d.hz;
        }
    }
}
