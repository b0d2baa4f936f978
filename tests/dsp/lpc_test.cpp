#include "lpc.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>

#include "dsp_ortak.h"
#include "konsol.h"

namespace {

class LpcTest : public DspTest {
protected:
    // One-row matrices for calling the per-frame steps directly.
    void TekSatir(int p, int n) {
        ayr.kdbaslik.p = ayr.kdbaslik.m = p;
        ayr.kdbaslik.n = n;
        ayr.Ri = Calloc2B<float>(1, n + 2, 4);
        ayr.Ai = Calloc2B<float>(1, p + 1, 4);
        ayr.RFi = Calloc2B<float>(1, p + 1, 4);
        ayr.Ci = Calloc2B<float>(1, n + 1, 4);
    }
    // Voiced-like samples: two harmonics and noise; they become the segment.
    std::vector<short> Ses(int boyut, unsigned tohum) {
        std::vector<short> x(boyut);
        for (int i = 0; i < boyut; i++)
            x[i] = static_cast<short>(3000 * std::sin(i * 0.11 + tohum) + 1500 * std::sin(i * 0.37) +
                                      static_cast<int>(TestRastgele(tohum) % 401) - 200);
        Sifirla(5);
        Kayit(x);
        ayr.bsl = ayr.kyt;
        ayr.uzn = ayr.kytu;
        return x;
    }
    static std::vector<float> Satir(float** a, int k, int sutun) { return {a[k], a[k] + sutun}; }
};

TEST_F(LpcTest, DurbinCepstrumOfAKnownFrameAndZeroError) {
    TekSatir(2, 3);
    ayr.Ri[0][0] = 1.0f, ayr.Ri[0][1] = 0.5f, ayr.Ri[0][2] = 0.1f;
    DUrbin(0);
    LPC_Cepstrum(0);
    EXPECT_EQ(ayr.Ai[0][0], 1.0f);
    EXPECT_FLOAT_EQ(ayr.Ai[0][1], 0.6f);
    EXPECT_FLOAT_EQ(ayr.Ai[0][2], -0.2f);
    EXPECT_EQ(ayr.RFi[0][1], -0.5f);
    EXPECT_FLOAT_EQ(ayr.RFi[0][2], 0.2f);
    EXPECT_FLOAT_EQ(ayr.Ci[0][0], 0.6f);
    EXPECT_FLOAT_EQ(ayr.Ci[0][1], -0.02f);
    EXPECT_FLOAT_EQ(ayr.Ci[0][2], -0.048f);
    EXPECT_EQ(ayr.Ci[0][3], 0.0f);
    EXPECT_EQ(cikti, "");

    // |k1| = 1: reported once; the higher orders are 0, not 0/0.
    Sifirla(5);
    TekSatir(3, 3);
    ayr.Ri[0][0] = 1.0f, ayr.Ri[0][1] = 1.0f, ayr.Ri[0][2] = 0.5f;
    DUrbin(0);
    EXPECT_EQ(cikti, "Sıfıra bölme hatası (alfa=0) \n");
    EXPECT_EQ(Satir(ayr.Ai, 0, 4), (std::vector<float>{1, 1, 0, 0}));
    EXPECT_EQ(Satir(ayr.RFi, 0, 4), (std::vector<float>{0, -1, 0, 0}));
}

// A frame predicted exactly from order 2 (a tone at a quarter of the rate:
// R = 1 0 -1 0 1): the error becomes 0 after k2 = 1 and the recursion ends
// there instead of dividing 0 by 0; the higher coefficients stay 0.
TEST_F(LpcTest, DurbinEndsWhereThePredictionErrorBecomesZero) {
    TekSatir(4, 4);
    const float R[5] = {1, 0, -1, 0, 1};
    std::copy(R, R + 5, ayr.Ri[0]);
    DUrbin(0);
    EXPECT_EQ(Satir(ayr.RFi, 0, 5), (std::vector<float>{0, 0, 1, 0, 0}));
    EXPECT_EQ(Satir(ayr.Ai, 0, 5), (std::vector<float>{1, 0, -1, 0, 0}));
    EXPECT_EQ(cikti, "");
}

TEST_F(LpcTest, PreEmphasisAndWindow) {
    std::vector<float> kon(241, 100.0f), onv(241), hamm(241);
    Onvurgula(kon.data(), onv.data(), 241);
    EXPECT_EQ(onv[0], 100.0f);
    EXPECT_EQ(onv[240], static_cast<float>(100.0 - 0.98 * 100.0));
    std::vector<float> bir(241, 1.0f);
    Pencerele(bir.data(), hamm.data(), 241);
    EXPECT_EQ(hamm[0], 0.08f);
    EXPECT_EQ(hamm[240], 0.08f);
    EXPECT_EQ(hamm[120], 1.0f);
    Pencerele(bir.data(), hamm.data(), 5);  // another length, another window
    EXPECT_EQ(hamm[2], 1.0f);
}

// Rows and analysed frames: 6000 samples 50/49, 6001 50/50, below one step
// 0/0, exactly one step 1/0. Unanalysed rows stay 0; the dumps hold r x n lines.
TEST_F(LpcTest, FrameCountsAndDumps) {
    for (auto [boyut, r, analiz] : {std::array{6000, 50, 49}, {6001, 50, 50}, {119, 0, 0}, {120, 1, 0}}) {
        Ses(boyut, 1);
        ASSERT_EQ(LPC(), 0);
        EXPECT_EQ(ayr.r, r) << boyut;
        for (int k = 0; k < analiz; k++) ASSERT_EQ(ayr.Ri[k][0], 1.0f);
        for (float** a : {ayr.Ri, ayr.Ai, ayr.RFi, ayr.Ci, ayr.DelCi})
            for (int k = analiz; k <= r; k++) EXPECT_EQ(Satir(a, k, 11), std::vector<float>(11, 0.0f));
        EXPECT_EQ(Satirlar("DelCi.txt").size(), static_cast<size_t>(r * 15));
    }
    Ses(360, 2);  // 3 rows, row 2 unanalysed
    ASSERT_EQ(LPC(), 0);
    auto s = Satirlar("Ci.txt");
    ASSERT_EQ(s.size(), 45u);
    char beklenen[64];
    std::snprintf(beklenen, sizeof beklenen, "1:14   %f", ayr.Ci[1][14]);
    EXPECT_EQ(s[29], beklenen);
    EXPECT_EQ(s[44], "2:14   0.000000");
    // Exactly printf's "%f": a tie at the 7th decimal, -0, huge, -inf, nan.
    const float v[6] = {0.0078125f, -0.0f, 3.4e38f, -1e-7f, -INFINITY, NAN};
    float* satir[1] = {const_cast<float*>(v)};
    debug2d_file("x.txt", 1, 6, satir);
    s = Satirlar("x.txt");
    for (int j = 0; j < 6; j++) {
        std::snprintf(beklenen, sizeof beklenen, "0:%d   %f", j, v[j]);
        EXPECT_EQ(s.at(j), beklenen);
    }
    EXPECT_EQ(cikti, "");
}

// The same arithmetic written plainly (one lag after the other, the window
// per frame): the autocorrelation and the cepstra agree bit for bit, and
// every frame's delta is the difference from the frame before, frame 0 of
// every analysis included (it is 0: the store is emptied per analysis).
TEST_F(LpcTest, MatchesPlainComputationAndDelta) {
    for (unsigned tohum : {5u, 6u}) {
        auto x = Ses(3000, tohum);
        ASSERT_EQ(LPC(), 0);
        const int penu = 240, m = 15, p = 10, n = 15;
        for (int k = 0; (k + 1) * 120 < 3000; k++) {
            float onv[240], hamm[240], R[16], a[11] = {1}, yeni[11], c[16] = {}, al[11];
            onv[0] = x[k * 120];
            for (int j = 1; j < penu; j++) onv[j] = x[k * 120 + j] - 0.98 * x[k * 120 + j - 1];
            for (int j = 0; j < penu; j++) hamm[j] = 0.54 - 0.46 * cos(2 * 3.141592653589793 * j / (penu - 1));
            for (int j = 0; j < penu; j++) hamm[j] = onv[j] * hamm[j];
            for (int l = 0; l <= m; l++) {
                R[l] = 0;
                for (int j = 0; j < penu - l; j++) R[l] += hamm[j] * hamm[j + l];
            }
            const float r0 = R[0];
            for (int l = 0; l <= m; l++) R[l] = R[l] / r0;
            a[1] = -R[1] / R[0];
            float E = (1 - a[1] * a[1]) * R[0];
            for (int i = 2; i <= p; i++) {
                float s = 0;
                for (int j = 0; j < i; j++) s += a[j] * R[i - j];
                a[i] = -s / E;
                E = (1 - a[i] * a[i]) * E;
                for (int l = 1; l < i; l++) yeni[l] = a[i] * a[i - l] + a[l];
                for (int l = 1; l < i; l++) a[l] = yeni[l];
            }
            for (int l = 1; l <= p; l++) al[l] = -a[l];
            c[1] = al[1];
            for (int i = 2; i <= n; i++) {
                c[i] = i <= p ? al[i] : 0;
                for (int j = std::max(1, i - p); j < i; j++) c[i] += ((float)j / (float)i * c[j]) * al[i - j];
            }
            for (int l = 0; l <= m; l++) ASSERT_EQ(ayr.Ri[k][l], R[l]) << k << " " << l;
            for (int i = 1; i <= n; i++) ASSERT_EQ(ayr.Ci[k][i - 1], c[i]) << k << " " << i;
            for (int i = 0; i < n; i++)
                ASSERT_EQ(ayr.DelCi[k][i], k == 0 ? 0.0f : ayr.Ci[k][i] - ayr.Ci[k - 1][i]) << k;
        }
    }
}

// Every order and window length, the short ones and the lags that reach past
// the window included: each lag is the plain sum over j in order, bit for bit.
TEST_F(LpcTest, AutocorrelationOfEveryOrderAndWindowLength) {
    unsigned tohum = 9;
    for (int m : {0, 1, 7, 15, 16, 40}) {
        for (int penu : {1, 5, 15, 16, 17, 31, 240}) {
            Sifirla(5);
            TekSatir(1, 40);
            ayr.kdbaslik.m = m;
            std::vector<float> hamm(static_cast<size_t>(penu));
            for (float& h : hamm) h = static_cast<float>(static_cast<int>(TestRastgele(tohum) % 20001) - 10000) / 7.0f;
            Baglilastir(hamm.data(), penu, 0);
            float R[41] = {};
            for (int l = 0; l <= m; l++)
                for (int j = 0; j + l < penu; j++) R[l] += hamm[size_t(j)] * hamm[size_t(j + l)];
            for (int l = 0; l <= m; l++) ASSERT_EQ(ayr.Ri[0][l], R[l] / R[0]) << "m " << m << " penu " << penu << " l " << l;
        }
    }
}

// Frames reaching past the sound buffer read zeros (the same samples followed
// by zeros give the same cepstra); a silent frame has all-zero coefficients.
TEST_F(LpcTest, PastBufferEndAndSilence) {
    auto x = Ses(1000, 6);
    ayr.bsl = ayr.kyt + 2 * 700;  // frames 0 and 1 reach 60 samples past the end
    ayr.uzn = 2 * 300;
    ASSERT_EQ(LPC(), 0);
    auto c1 = Satir(ayr.Ci, 1, 16);
    Sifirla(5);
    x.resize(2000, 0);
    Kayit(x);
    ayr.bsl = ayr.kyt + 2 * 700;
    ayr.uzn = 2 * 300;
    ASSERT_EQ(LPC(), 0);
    EXPECT_EQ(Satir(ayr.Ci, 1, 16), c1);

    Sifirla(5);
    Kayit(std::vector<short>(600, 0));
    ayr.bsl = ayr.kyt;
    ayr.uzn = ayr.kytu;
    ASSERT_EQ(LPC(), 0);
    EXPECT_EQ(Satir(ayr.Ai, 2, 11), (std::vector<float>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Satir(ayr.Ci, 2, 16), std::vector<float>(16, 0.0f));
    EXPECT_EQ(cikti, "");
}

// Settings outside the working range and failing storage: one line, result
// 1, nothing held, the frame count and the dumps untouched.
TEST_F(LpcTest, RefusalsAndAllocationFailures) {
    Ses(3000, 1);
    int KURALDOSYABASLIK::*alanlar[] = {&KURALDOSYABASLIK::ks,    &KURALDOSYABASLIK::oo,
                                        &KURALDOSYABASLIK::pensu, &KURALDOSYABASLIK::admsu,
                                        &KURALDOSYABASLIK::n,     &KURALDOSYABASLIK::p,
                                        &KURALDOSYABASLIK::m};
    const int kotu[][2] = {{2, 0}, {999, 192001}, {0, 101}, {0, -7}, {0, 100}, {0, 17}, {-1, 17}};
    for (int i = 0; i < 7; i++)
        for (int deger : kotu[i]) {
            Sifirla(2);
            ayr.kdbaslik.*alanlar[i] = deger;
            ayr.r = 7;
            cikti.clear();
            EXPECT_EQ(LPC(), 1) << i << " " << deger;
            EXPECT_TRUE(cikti.size() > 1 && cikti.find('\n') == cikti.size() - 1) << cikti;
            EXPECT_EQ(ayr.r, 7);
            EXPECT_EQ(ayr.Ci, nullptr);
            if (i == 1) {
                EXPECT_EQ(cikti, "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı (şimdi " +
                                     std::to_string(deger) + ").\n");
            }
        }
    Sifirla(2);
    for (int sira = 1; sira <= 13; sira++) {  // 3 buffers, then 5 x (block, row table)
        cikti.clear();
        bellek_hata_sirasi = sira;
        EXPECT_EQ(LPC(), 1) << sira;
        EXPECT_EQ(cikti, "LPC dizileri için bellek ayrılamıyor\n");
        for (float** a : {ayr.Ri, ayr.Ai, ayr.RFi, ayr.Ci, ayr.DelCi}) EXPECT_EQ(a, nullptr) << sira;
    }
    EXPECT_EQ(ayr.r, 7);
    EXPECT_FALSE(std::filesystem::exists("Ci.txt"));

    // A long segment at the highest rate, shortest step, most lags: refused.
    Kayit(std::vector<short>(400000, 0));
    ayr.bsl = ayr.kyt;
    ayr.uzn = ayr.kytu;
    KURALDOSYABASLIK& b = ayr.kdbaslik;
    b.oo = 192000, b.pensu = 100, b.admsu = 1, b.n = 99, b.p = b.m = 100;
    cikti.clear();
    EXPECT_EQ(LPC(), 1);
    EXPECT_EQ(cikti, "Adım süresi pencere süresine göre çok kısa: çözümleme bitmez (adım 1 ms, pencere 100 ms).\n");
}

}  // namespace

// Ctrl-C while a dump is written, under velmo's own handlers: the child's
// write passes its file-size limit, whose signal presses Ctrl-C right there.
// The dump is removed, not left torn.
TEST_F(LpcTest, AnInterruptedDumpIsRemovedNotLeftTorn) {
    const pid_t cocuk = fork();
    ASSERT_GE(cocuk, 0);
    if (cocuk == 0) {
        KonsolBaslat();
        std::signal(SIGXFSZ, [](int) { std::raise(SIGINT); });
        const rlimit kucuk{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &kucuk);
        float** m = Calloc2B<float>(1000, 15, 4);
        debug2d_file("Ci.txt", 1000, 15, m);
        _exit(0);
    }
    int durum = 0;
    ASSERT_EQ(waitpid(cocuk, &durum, 0), cocuk);
    EXPECT_TRUE(WIFSIGNALED(durum) && WTERMSIG(durum) == SIGINT) << durum;
    EXPECT_FALSE(std::filesystem::exists("Ci.txt"));
}
