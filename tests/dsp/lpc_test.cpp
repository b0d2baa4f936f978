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
    // One-row buffers for calling the per-frame steps directly.
    std::vector<float> R, A, RF, C;
    void TekSatir(int p, int n) {
        b.p = b.m = p;
        b.n = n;
        R.assign(static_cast<size_t>(n + 2), 0.0f);
        A.assign(static_cast<size_t>(p + 1), 0.0f);
        RF.assign(static_cast<size_t>(p + 1), 0.0f);
        C.assign(static_cast<size_t>(n + 1), 0.0f);
    }
    // Voiced-like samples: two harmonics and noise; they become the segment.
    std::vector<short> Ses(int boyut, unsigned tohum) {
        std::vector<short> y(boyut);
        for (int i = 0; i < boyut; i++)
            y[i] = static_cast<short>(3000 * std::sin(i * 0.11 + tohum) + 1500 * std::sin(i * 0.37) +
                                      static_cast<int>(TestRastgele(tohum) % 401) - 200);
        Kayit(y);
        bas = 0;
        uzunluk = boyut;
        return y;
    }
    // The segment analysed, with the two dumps as the screens write them.
    int bas = 0, uzunluk = 0;
    COZUMLEME oz;
    int Lpc() {
        std::optional<COZUMLEME> c = LpcCozumle(x.data(), static_cast<int>(x.size()), bas, uzunluk, b);
        if (!c) return 1;
        oz = std::move(*c);
        MatrisDokumu("Ci.txt", oz.Ci, oz.r, b.n);
        MatrisDokumu("DelCi.txt", oz.DelCi, oz.r, b.n);
        return 0;
    }
    static std::vector<float> Satir(const MATRIS& a, int k, int sutun) { return {a[k], a[k] + sutun}; }
};

TEST_F(LpcTest, DurbinCepstrumOfAKnownFrameAndZeroError) {
    TekSatir(2, 3);
    R[0] = 1.0f, R[1] = 0.5f, R[2] = 0.1f;
    DUrbin(R.data(), b.p, A.data(), RF.data());
    LPC_Cepstrum(A.data(), b.n, b.p, C.data());
    EXPECT_EQ(A[0], 1.0f);
    EXPECT_FLOAT_EQ(A[1], 0.6f);
    EXPECT_FLOAT_EQ(A[2], -0.2f);
    EXPECT_EQ(RF[1], -0.5f);
    EXPECT_FLOAT_EQ(RF[2], 0.2f);
    EXPECT_FLOAT_EQ(C[0], 0.6f);
    EXPECT_FLOAT_EQ(C[1], -0.02f);
    EXPECT_FLOAT_EQ(C[2], -0.048f);
    EXPECT_EQ(C[3], 0.0f);
    EXPECT_EQ(cikti, "");

    // |k1| = 1: reported once; the higher orders are 0, not 0/0.
    TekSatir(3, 3);
    R[0] = 1.0f, R[1] = 1.0f, R[2] = 0.5f;
    DUrbin(R.data(), b.p, A.data(), RF.data());
    EXPECT_EQ(cikti, "Sıfıra bölme hatası (alfa=0) \n");
    EXPECT_EQ(A, (std::vector<float>{1, 1, 0, 0}));
    EXPECT_EQ(RF, (std::vector<float>{0, -1, 0, 0}));
}

// A frame predicted exactly from order 2 (a tone at a quarter of the rate:
// R = 1 0 -1 0 1): the error becomes 0 after k2 = 1 and the recursion ends
// there instead of dividing 0 by 0; the higher coefficients stay 0.
TEST_F(LpcTest, DurbinEndsWhereThePredictionErrorBecomesZero) {
    TekSatir(4, 4);
    R = {1, 0, -1, 0, 1};
    DUrbin(R.data(), b.p, A.data(), RF.data());
    EXPECT_EQ(RF, (std::vector<float>{0, 0, 1, 0, 0}));
    EXPECT_EQ(A, (std::vector<float>{1, 0, -1, 0, 0}));
    EXPECT_EQ(cikti, "");
}

TEST_F(LpcTest, PreEmphasisAndWindow) {
    std::vector<float> kon(241, 100.0f), onv(241), hamm(241);
    Onvurgula(kon.data(), onv.data(), 241);
    EXPECT_EQ(onv[0], 100.0f);
    EXPECT_EQ(onv[240], static_cast<float>(100.0 - 0.98 * 100.0));
    std::vector<float> bir(241, 1.0f);
    Pencerele(bir.data(), HammingPenceresi(241).data(), hamm.data(), 241);
    EXPECT_EQ(hamm[0], 0.08f);
    EXPECT_EQ(hamm[240], 0.08f);
    EXPECT_EQ(hamm[120], 1.0f);
    Pencerele(bir.data(), HammingPenceresi(5).data(), hamm.data(), 5);
    EXPECT_EQ(hamm[2], 1.0f);
    Pencerele(bir.data(), HammingPenceresi(1).data(), hamm.data(), 1);  // no window of one sample
    EXPECT_EQ(hamm[0], 0.0f);
}

// Rows and analysed frames: 6000 samples 50/49, 6001 50/50, below one step
// 0/0, exactly one step 1/0. Unanalysed rows stay 0; the dumps hold r x n lines.
TEST_F(LpcTest, FrameCountsAndDumps) {
    for (auto [boyut, r, analiz] : {std::array{6000, 50, 49}, {6001, 50, 50}, {119, 0, 0}, {120, 1, 0}}) {
        Ses(boyut, 1);
        ASSERT_EQ(Lpc(), 0);
        EXPECT_EQ(oz.r, r) << boyut;
        for (int k = 0; k < analiz; k++) ASSERT_EQ(oz.Ri[k][0], 1.0f);
        for (const MATRIS* a : {&oz.Ri, &oz.Ai, &oz.RFi, &oz.Ci, &oz.DelCi})
            for (int k = analiz; k <= r; k++) EXPECT_EQ(Satir(*a, k, 11), std::vector<float>(11, 0.0f));
        EXPECT_EQ(Satirlar("DelCi.txt").size(), static_cast<size_t>(r * 15));
    }
    Ses(360, 2);  // 3 rows, row 2 unanalysed
    ASSERT_EQ(Lpc(), 0);
    auto s = Satirlar("Ci.txt");
    ASSERT_EQ(s.size(), 45u);
    char beklenen[64];
    std::snprintf(beklenen, sizeof beklenen, "1:14   %f", oz.Ci[1][14]);
    EXPECT_EQ(s[29], beklenen);
    EXPECT_EQ(s[44], "2:14   0.000000");
    // Exactly printf's "%f": a tie at the 7th decimal, -0, huge, -inf, nan.
    const float v[6] = {0.0078125f, -0.0f, 3.4e38f, -1e-7f, -INFINITY, NAN};
    MATRIS satir;
    ASSERT_TRUE(satir.Kur(1, 6));
    std::copy(v, v + 6, satir[0]);
    MatrisDokumu("x.txt", satir, 1, 6);
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
        ASSERT_EQ(Lpc(), 0);
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
            for (int l = 0; l <= m; l++) ASSERT_EQ(oz.Ri[k][l], R[l]) << k << " " << l;
            for (int i = 1; i <= n; i++) ASSERT_EQ(oz.Ci[k][i - 1], c[i]) << k << " " << i;
            for (int i = 0; i < n; i++)
                ASSERT_EQ(oz.DelCi[k][i], k == 0 ? 0.0f : oz.Ci[k][i] - oz.Ci[k - 1][i]) << k;
        }
    }
}

// Every order and window length, the short ones and the lags that reach past
// the window included: each lag is the plain sum over j in order, bit for bit.
TEST_F(LpcTest, AutocorrelationOfEveryOrderAndWindowLength) {
    unsigned tohum = 9;
    for (int m : {0, 1, 7, 15, 16, 40}) {
        for (int penu : {1, 5, 15, 16, 17, 31, 240}) {
            TekSatir(1, 40);
            std::vector<float> hamm(static_cast<size_t>(penu));
            for (float& h : hamm) h = static_cast<float>(static_cast<int>(TestRastgele(tohum) % 20001) - 10000) / 7.0f;
            Baglilastir(hamm.data(), penu, m, R.data());
            float T[41] = {};
            for (int l = 0; l <= m; l++)
                for (int j = 0; j + l < penu; j++) T[l] += hamm[size_t(j)] * hamm[size_t(j + l)];
            for (int l = 0; l <= m; l++) ASSERT_EQ(R[size_t(l)], T[l] / T[0]) << "m " << m << " penu " << penu << " l " << l;
        }
    }
}

// Frames reaching past the sound buffer read zeros (the same samples followed
// by zeros give the same cepstra); a silent frame has all-zero coefficients.
TEST_F(LpcTest, PastBufferEndAndSilence) {
    auto y = Ses(1000, 6);
    bas = 700;  // frames 0 and 1 reach 60 samples past the end
    uzunluk = 300;
    ASSERT_EQ(Lpc(), 0);
    auto c1 = Satir(oz.Ci, 1, 16);
    y.resize(2000, 0);
    Kayit(y);
    ASSERT_EQ(Lpc(), 0);
    EXPECT_EQ(Satir(oz.Ci, 1, 16), c1);

    Kayit(std::vector<short>(600, 0));
    bas = 0;
    uzunluk = 600;
    ASSERT_EQ(Lpc(), 0);
    EXPECT_EQ(Satir(oz.Ai, 2, 11), (std::vector<float>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Satir(oz.Ci, 2, 16), std::vector<float>(16, 0.0f));
    EXPECT_EQ(cikti, "");
}

// Settings outside the working range and failing storage: one line and no
// analysis.
TEST_F(LpcTest, RefusalsAndAllocationFailures) {
    Ses(3000, 1);
    int KURALDOSYABASLIK::*alanlar[] = {&KURALDOSYABASLIK::ks,    &KURALDOSYABASLIK::oo,
                                        &KURALDOSYABASLIK::pensu, &KURALDOSYABASLIK::admsu,
                                        &KURALDOSYABASLIK::n,     &KURALDOSYABASLIK::p,
                                        &KURALDOSYABASLIK::m};
    const int kotu[][2] = {{2, 0}, {999, 192001}, {0, 101}, {0, -7}, {0, 100}, {0, 17}, {-1, 17}};
    for (int i = 0; i < 7; i++)
        for (int deger : kotu[i]) {
            b = VarsayilanAyarlar().kdbaslik;
            b.*alanlar[i] = deger;
            cikti.clear();
            EXPECT_EQ(Lpc(), 1) << i << " " << deger;
            EXPECT_TRUE(cikti.size() > 1 && cikti.find('\n') == cikti.size() - 1) << cikti;
            if (i == 1) {
                EXPECT_EQ(cikti, "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı (şimdi " +
                                     std::to_string(deger) + ").\n");
            }
        }
    // An LPC order above the correlation order would read lags never computed.
    b = VarsayilanAyarlar().kdbaslik;
    b.p = b.m + 1;
    cikti.clear();
    EXPECT_EQ(Lpc(), 1);
    EXPECT_EQ(cikti.find('\n'), cikti.size() - 1);
    b = VarsayilanAyarlar().kdbaslik;
    for (int sira = 1; sira <= 8; sira++) {  // 3 buffers, then 5 matrices
        cikti.clear();
        bellek_hata_sirasi = sira;
        EXPECT_EQ(Lpc(), 1) << sira;
        EXPECT_EQ(cikti, "LPC dizileri için bellek ayrılamıyor\n");
    }
    EXPECT_FALSE(std::filesystem::exists("Ci.txt"));

    // A long segment at the highest rate, shortest step, most lags: refused.
    Kayit(std::vector<short>(400000, 0));
    bas = 0;
    uzunluk = 400000;
    b.oo = 192000, b.pensu = 100, b.admsu = 1, b.n = 99, b.p = b.m = 100;
    cikti.clear();
    EXPECT_EQ(Lpc(), 1);
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
        MATRIS m;
        m.Kur(1000, 15);
        MatrisDokumu("Ci.txt", m, 1000, 15);
        _exit(0);
    }
    int durum = 0;
    ASSERT_EQ(waitpid(cocuk, &durum, 0), cocuk);
    EXPECT_TRUE(WIFSIGNALED(durum) && WTERMSIG(durum) == SIGINT) << durum;
    EXPECT_FALSE(std::filesystem::exists("Ci.txt"));
}
