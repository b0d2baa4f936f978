#include "lpc.h"

#include <cmath>
#include <cstdio>

#include "dsp_ortak.h"

namespace {

class LpcTest : public DspTest {
protected:
    // One-row matrices for calling the per-frame steps directly.
    void Satirlar1(int p, int n) {
        ayr.kdbaslik.p = p;
        ayr.kdbaslik.n = n;
        ayr.kdbaslik.m = p;
        ayr.Ri = Calloc2B<float>(1, n + 2, 4);
        ayr.Ai = Calloc2B<float>(1, p + 1, 4);
        ayr.RFi = Calloc2B<float>(1, p + 1, 4);
        ayr.Ci = Calloc2B<float>(1, n + 1, 4);
        ayr.DelCi = Calloc2B<float>(1, n + 1, 4);
    }
    // A voiced-like segment: two harmonics and noise, `boyut` samples.
    static std::vector<short> Ses(int boyut, unsigned tohum) {
        std::vector<short> x(static_cast<size_t>(boyut));
        unsigned d = tohum;
        for (int i = 0; i < boyut; i++)
            x[static_cast<size_t>(i)] = static_cast<short>(
                3000 * std::sin(i * 0.11 + tohum) + 1500 * std::sin(i * 0.37) +
                static_cast<int>(TestRastgele(d) % 401) - 200);
        return x;
    }
    // The whole recording is the segment.
    void Segment(const std::vector<short>& x) {
        Kayit(x);
        ayr.bsl = ayr.kyt;
        ayr.uzn = ayr.kytu;
    }
    static bool SatirSifir(float** a, int satir, int sutun) {
        for (int j = 0; j < sutun; j++)
            if (a[satir][j] != 0.0f) return false;
        return true;
    }
    std::vector<float> CiSatiri(int k) const {
        return std::vector<float>(ayr.Ci[k], ayr.Ci[k] + ayr.kdbaslik.n + 1);
    }
};

TEST_F(LpcTest, DurbinAndCepstrumWorkedExample) {
    Satirlar1(2, 3);
    ayr.Ri[0][0] = 1.0f;
    ayr.Ri[0][1] = 0.5f;
    ayr.Ri[0][2] = 0.1f;
    DUrbin(0);
    EXPECT_EQ(ayr.Ai[0][0], 1.0f);
    EXPECT_FLOAT_EQ(ayr.Ai[0][1], 0.6f);
    EXPECT_FLOAT_EQ(ayr.Ai[0][2], -0.2f);
    EXPECT_EQ(ayr.RFi[0][0], 0.0f);
    EXPECT_EQ(ayr.RFi[0][1], -0.5f);
    EXPECT_FLOAT_EQ(ayr.RFi[0][2], 0.2f);
    LPC_Cepstrum(0);
    EXPECT_FLOAT_EQ(ayr.Ci[0][0], 0.6f);
    EXPECT_FLOAT_EQ(ayr.Ci[0][1], -0.02f);
    EXPECT_FLOAT_EQ(ayr.Ci[0][2], -0.048f);
    EXPECT_EQ(ayr.Ci[0][3], 0.0f);
    EXPECT_EQ(cikti, "");
}

// p = 1: the loop over higher orders does not run; with n > p the cepstrum
// continues with the recursion alone: c_i = a^i / i.
TEST_F(LpcTest, OrderOneAndCepstrumPastP) {
    Satirlar1(1, 4);
    ayr.Ri[0][0] = 2.0f;
    ayr.Ri[0][1] = 1.0f;
    DUrbin(0);
    EXPECT_EQ(ayr.Ai[0][1], 0.5f);
    LPC_Cepstrum(0);
    EXPECT_EQ(ayr.Ci[0][0], 0.5f);
    EXPECT_FLOAT_EQ(ayr.Ci[0][1], 0.125f);
    EXPECT_FLOAT_EQ(ayr.Ci[0][2], 0.125f / 3);
    EXPECT_FLOAT_EQ(ayr.Ci[0][3], 0.0625f / 4);
    EXPECT_EQ(ayr.Ci[0][4], 0.0f);
}

// alfa = 0 is reported once and the higher orders are 0 instead of the
// results of a division by zero.
TEST_F(LpcTest, ZeroPredictionErrorGivesZerosNotNaN) {
    Satirlar1(3, 4);
    ayr.Ri[0][0] = 1.0f;
    ayr.Ri[0][1] = 1.0f;
    ayr.Ri[0][2] = 0.5f;
    DUrbin(0);
    EXPECT_EQ(cikti, "Sıfıra bölme hatası (alfa=0) \n");
    EXPECT_EQ(std::vector<float>(ayr.Ai[0], ayr.Ai[0] + 4), (std::vector<float>{1, 1, 0, 0}));
    EXPECT_EQ(std::vector<float>(ayr.RFi[0], ayr.RFi[0] + 4), (std::vector<float>{0, -1, 0, 0}));
    LPC_Cepstrum(0);
    for (int j = 0; j <= 4; j++) EXPECT_TRUE(std::isfinite(ayr.Ci[0][j]));
}

TEST_F(LpcTest, FrameStepsPreEmphasisWindow) {
    std::vector<float> kon(241, 100.0f), onv(241), hamm(241);
    Onvurgula(kon.data(), onv.data(), 241);
    EXPECT_EQ(onv[0], 100.0f);
    EXPECT_EQ(onv[1], static_cast<float>(100.0 - 0.98 * 100.0));
    EXPECT_FLOAT_EQ(onv[240], 2.0f);
    std::vector<float> bir(241, 1.0f);
    Pencerele(bir.data(), hamm.data(), 241);
    EXPECT_EQ(hamm[0], 0.08f);
    EXPECT_EQ(hamm[240], 0.08f);
    EXPECT_EQ(hamm[120], 1.0f);
    EXPECT_EQ(hamm[10], hamm[230]);
    // A second length is not served from the first one's window.
    Pencerele(bir.data(), hamm.data(), 5);
    EXPECT_EQ(hamm[2], 1.0f);
    EXPECT_EQ(hamm[4], 0.08f);
}

// The frame count: 6000 samples give 50 rows with 49 analysed, 6001 all 50;
// fewer than a step none, exactly one step one all-zero row.
TEST_F(LpcTest, FrameCounts) {
    struct Durum {
        int boyut, r, analiz;
    } durumlar[] = {{6000, 50, 49}, {6001, 50, 50}, {119, 0, 0}, {120, 1, 0}, {0, 0, 0}};
    for (const auto& d : durumlar) {
        Sifirla(5);
        Segment(Ses(d.boyut, 1));
        ayr.r = -1;
        ASSERT_EQ(LPC(), 0) << d.boyut;
        EXPECT_EQ(ayr.r, d.r) << d.boyut;
        for (int k = 0; k < d.analiz; k++) ASSERT_EQ(ayr.Ri[k][0], 1.0f) << d.boyut << " " << k;
        for (float** a : {ayr.Ri, ayr.Ai, ayr.RFi, ayr.Ci, ayr.DelCi})
            for (int k = d.analiz; k <= d.r; k++) EXPECT_TRUE(SatirSifir(a, k, 10)) << d.boyut << " " << k;
        for (int k = 0; k < d.analiz; k++) {
            EXPECT_EQ(ayr.Ci[k][15], 0.0f);
            EXPECT_EQ(ayr.DelCi[k][15], 0.0f);
            EXPECT_EQ(ayr.RFi[k][0], 0.0f);
        }
        EXPECT_EQ(Satirlar("Ci.txt").size(), static_cast<size_t>(d.r * 15)) << d.boyut;
        EXPECT_EQ(Satirlar("DelCi.txt").size(), static_cast<size_t>(d.r * 15)) << d.boyut;
    }
    EXPECT_EQ(cikti, "");
}

// The dump lines: "i:j   %f", r x n of them.
TEST_F(LpcTest, DumpLines) {
    Segment(Ses(360, 2));  // three rows; 360 is a multiple of the step, so row 2 stays 0
    ASSERT_EQ(LPC(), 0);
    ASSERT_EQ(ayr.r, 3);
    auto s = Satirlar("Ci.txt");
    ASSERT_EQ(s.size(), 45u);
    char beklenen[64];
    std::snprintf(beklenen, sizeof beklenen, "0:0   %f", ayr.Ci[0][0]);
    EXPECT_EQ(s[0], beklenen);
    std::snprintf(beklenen, sizeof beklenen, "1:14   %f", ayr.Ci[1][14]);
    EXPECT_EQ(s[29], beklenen);
    EXPECT_EQ(s[44], "2:14   0.000000");

    // Exactly "%f" for awkward values: ties, negative zero, huge, tiny,
    // infinite and not a number.
    constexpr int ADET = 9;
    float** a = Calloc2B<float>(1, ADET, 4);
    const float degerler[ADET] = {0.0078125f, -0.0f,     3.4e38f,   -1e-7f, 123456.789f,
                                  -0.5f,      -INFINITY, -NAN, 2.5e-6f};
    for (int j = 0; j < ADET; j++) a[0][j] = degerler[j];
    debug2d_file("x.txt", 1, ADET, a);
    auto x = Satirlar("x.txt");
    ASSERT_EQ(x.size(), static_cast<size_t>(ADET));
    for (int j = 0; j < ADET; j++) {
        std::snprintf(beklenen, sizeof beklenen, "0:%d   %f", j, degerler[j]);
        EXPECT_EQ(x[static_cast<size_t>(j)], beklenen);
    }
    Free2B(a);
}

// The same arithmetic written plainly, one lag after the other and the
// window from scratch per frame: the cepstra must agree bit for bit.
TEST_F(LpcTest, MatchesPlainComputation) {
    auto x = Ses(3000, 5);
    Segment(x);
    ASSERT_EQ(LPC(), 0);
    const int penu = 240, admu = 120, m = 15, p = 10, n = 15;
    for (int k = 0; (k + 1) * admu < 3000; k++) {
        float kon[240], onv[240], hamm[240], R[16], a[11] = {}, yeni[11], c[16] = {};
        for (int j = 0; j < penu; j++) kon[j] = x[static_cast<size_t>(k * admu + j)];
        onv[0] = kon[0];
        for (int j = 1; j < penu; j++) onv[j] = kon[j] - 0.98 * kon[j - 1];
        for (int j = 0; j < penu; j++) hamm[j] = 0.54 - 0.46 * cos(2 * 3.141592653589793 * j / (penu - 1));
        for (int j = 0; j < penu; j++) hamm[j] = onv[j] * hamm[j];
        for (int l = 0; l <= m; l++) {
            R[l] = 0;
            for (int j = 0; j < penu - l; j++) R[l] += hamm[j] * hamm[j + l];
        }
        const float r0 = R[0];
        for (int l = 0; l <= m; l++) R[l] = R[l] / r0;
        a[0] = 1;
        a[1] = -R[1] / R[0];
        float E = (1 - a[1] * a[1]) * R[0];
        for (int i = 2; i <= p; i++) {
            float s = 0;
            for (int j = 0; j < i; j++) s += a[j] * R[i - j];
            const float ki = -s / E;
            E = (1 - ki * ki) * E;
            a[i] = ki;
            for (int l = 1; l < i; l++) yeni[l] = ki * a[i - l] + a[l];
            for (int l = 1; l < i; l++) a[l] = yeni[l];
        }
        float al[11];
        for (int l = 1; l <= p; l++) al[l] = -a[l];
        c[1] = al[1];
        for (int i = 2; i <= n; i++) {
            c[i] = i <= p ? al[i] : 0;
            for (int j = 1; j < i; j++)
                if (i - j <= p) c[i] += ((float)j / (float)i * c[j]) * al[i - j];
        }
        for (int i = 1; i <= n; i++) ASSERT_EQ(ayr.Ci[k][i - 1], c[i]) << k << " " << i;
        for (int l = 0; l <= m; l++) ASSERT_EQ(ayr.Ri[k][l], R[l]) << k << " " << l;
    }
}

// Every analysis starts with an empty delta store: row 0 is zero and row k
// is the difference of consecutive cepstra, whatever ran before.
TEST_F(LpcTest, DeltaStoreEmptiedPerAnalysis) {
    for (unsigned tohum : {3u, 4u}) {
        Sifirla(5);
        Segment(Ses(1500, tohum));
        ASSERT_EQ(LPC(), 0);
        EXPECT_TRUE(SatirSifir(ayr.DelCi, 0, 16));
        for (int k = 1; k + 1 < ayr.r; k++)
            for (int i = 0; i < 15; i++) ASSERT_EQ(ayr.DelCi[k][i], ayr.Ci[k][i] - ayr.Ci[k - 1][i]);
    }
    // Called directly, a non-zero grkur empties the store the same way.
    LPC_Delta_Cepstrum(3, 1);
    LPC_Delta_Cepstrum(4, 0);
    EXPECT_EQ(ayr.DelCi[4][0], ayr.Ci[4][0] - ayr.Ci[3][0]);
}

// Frames reaching past the sound buffer read zeros: the same samples in a
// buffer followed by zeros give the same results. A silent frame gives
// all-zero coefficients without a message.
TEST_F(LpcTest, PastBufferEndReadsZerosAndSilenceIsZero) {
    auto x = Ses(1000, 6);
    Segment(x);
    ayr.bsl = ayr.kyt + 2 * 700;  // 300 samples: frames 0 and 1 reach 60 past the end
    ayr.uzn = 2 * 300;
    ASSERT_EQ(LPC(), 0);
    ASSERT_EQ(ayr.r, 2);
    auto c0 = CiSatiri(0), c1 = CiSatiri(1);
    Sifirla(5);
    x.resize(2000, 0);
    Segment(x);
    ayr.bsl = ayr.kyt + 2 * 700;
    ayr.uzn = 2 * 300;
    ASSERT_EQ(LPC(), 0);
    EXPECT_EQ(CiSatiri(0), c0);
    EXPECT_EQ(CiSatiri(1), c1);

    Sifirla(5);
    Segment(std::vector<short>(600, 0));
    ASSERT_EQ(LPC(), 0);
    ASSERT_EQ(ayr.r, 5);
    for (int k = 0; k < 4; k++) {
        EXPECT_EQ(ayr.Ai[k][0], 1.0f);
        EXPECT_TRUE(SatirSifir(ayr.Ri, k, 17));
        EXPECT_TRUE(SatirSifir(ayr.Ci, k, 16));
        for (int j = 1; j <= 10; j++) EXPECT_EQ(ayr.Ai[k][j], 0.0f);
    }
    EXPECT_EQ(Satirlar("Ci.txt")[0], "0:0   0.000000");
    EXPECT_EQ(cikti, "");
}

TEST_F(LpcTest, SettingsOutsideRangeRefused) {
    struct Durum {
        const char* ad;
        int* alan;
        int deger;
        const char* mesaj;
    } durumlar[] = {
        {"ks", &ayr.kdbaslik.ks, 2, "Tek kanal ve 16 bit dışındakiler desteklenmiyor.\n"},
        {"oo", &ayr.kdbaslik.oo, 999, "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı.\n"},
        {"oo", &ayr.kdbaslik.oo, 2000000000, "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı.\n"},
        {"pensu", &ayr.kdbaslik.pensu, 0, "Pencere süresi en az iki örnek tutmalı ve 100 ms'yi aşmamalı (şimdi 0 ms).\n"},
        {"pensu", &ayr.kdbaslik.pensu, 101,
         "Pencere süresi en az iki örnek tutmalı ve 100 ms'yi aşmamalı (şimdi 101 ms).\n"},
        {"admsu", &ayr.kdbaslik.admsu, 0, "Adım süresi en az bir örnek tutmalı (şimdi 0 ms).\n"},
        {"admsu", &ayr.kdbaslik.admsu, -7, "Adım süresi en az bir örnek tutmalı (şimdi -7 ms).\n"},
        {"n", &ayr.kdbaslik.n, 0, "LPC/DeltaLPC yöney boyutu 1 ile 99 arasında olmalı (şimdi 0).\n"},
        {"n", &ayr.kdbaslik.n, 100, "LPC/DeltaLPC yöney boyutu 1 ile 99 arasında olmalı (şimdi 100).\n"},
        {"p", &ayr.kdbaslik.p, 0, "LPC süzgeç derecesi 1 ile yöney boyutu + 1 arasında olmalı (şimdi 0).\n"},
        {"p", &ayr.kdbaslik.p, 17, "LPC süzgeç derecesi 1 ile yöney boyutu + 1 arasında olmalı (şimdi 17).\n"},
        {"m", &ayr.kdbaslik.m, -1, "Öz bağlılaşım derecesi 0 ile yöney boyutu + 1 arasında olmalı (şimdi -1).\n"},
        {"m", &ayr.kdbaslik.m, 17, "Öz bağlılaşım derecesi 0 ile yöney boyutu + 1 arasında olmalı (şimdi 17).\n"},
    };
    Segment(Ses(3000, 1));
    for (const auto& d : durumlar) {
        Sifirla(2);
        *d.alan = d.deger;
        ayr.r = 7;
        cikti.clear();
        EXPECT_EQ(LPC(), 1) << d.ad << " " << d.deger;
        EXPECT_EQ(cikti, d.mesaj);
        EXPECT_EQ(ayr.r, 7);
        EXPECT_EQ(ayr.Ci, nullptr);
        EXPECT_FALSE(std::filesystem::exists("Ci.txt"));
    }
    // The edges of the range are accepted: p = m = n + 1 and a 2-sample window.
    Sifirla(2);
    ayr.kdbaslik.n = 2;
    ayr.kdbaslik.p = 3;
    ayr.kdbaslik.m = 3;
    ASSERT_EQ(LPC(), 0);
    Sifirla(5);
    ayr.kdbaslik.oo = 2000;
    ayr.kdbaslik.pensu = 1;
    ayr.kdbaslik.admsu = 1;
    EXPECT_EQ(LPC(), 0);
    EXPECT_EQ(ayr.r, 1500);

    // The longest window at the highest rate with the shortest step and the
    // most lags over a long segment would run for minutes: refused.
    Sifirla(5);
    Segment(std::vector<short>(400000, 0));
    ayr.kdbaslik.oo = 192000;
    ayr.kdbaslik.pensu = 100;
    ayr.kdbaslik.admsu = 1;
    ayr.kdbaslik.n = 99;
    ayr.kdbaslik.p = 100;
    ayr.kdbaslik.m = 100;
    cikti.clear();
    EXPECT_EQ(LPC(), 1);
    EXPECT_EQ(cikti, "Adım süresi pencere süresine göre çok kısa: çözümleme bitmez (adım 1 ms, pencere 100 ms).\n");
    EXPECT_EQ(ayr.Ci, nullptr);
}

// Failing storage at any point: the message, nothing held, no reference to
// released storage, the frame count unchanged, no dump.
TEST_F(LpcTest, AllocationFailureReleasesEverything) {
    Segment(Ses(3000, 1));
    for (int sira = 1; sira <= 13; sira++) {
        ayr.r = 7;
        cikti.clear();
        bellek_hata_sirasi = sira;
        EXPECT_EQ(LPC(), 1) << sira;
        bellek_hata_sirasi = 0;
        EXPECT_EQ(cikti, "LPC dizileri için bellek ayrılamıyor\n") << sira;
        EXPECT_EQ(ayr.r, 7);
        for (float** a : {ayr.Ri, ayr.Ai, ayr.RFi, ayr.Ci, ayr.DelCi}) EXPECT_EQ(a, nullptr) << sira;
    }
    EXPECT_FALSE(std::filesystem::exists("Ci.txt"));
    bellek_hata_sirasi = 14;  // 3 buffers + 5 x 2 matrix allocations: all succeed
    EXPECT_EQ(LPC(), 0);
    bellek_hata_sirasi = 0;
}

}  // namespace
