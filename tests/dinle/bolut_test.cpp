// Finding utterances in synthetic streams: voiced bursts (a 200 Hz tone with
// a slow envelope), white noise of a known level, silence.
#include "bolut.h"

#include <gtest/gtest.h>

#include "ayar_tablosu.h"
#include "sinir.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

const int OO = 12000;

struct AKIS {
    std::vector<int16_t> x;
    std::mt19937 r{7};
    double gurultu = 30;  // noise amplitude (peak)

    int64_t Konum() const { return static_cast<int64_t>(x.size()); }
    void Ekle(double saniye, double genlik, double hz, bool yumusak = true) {
        const int n = static_cast<int>(std::lround(saniye * OO));
        std::uniform_real_distribution<double> u(-1, 1);
        for (int i = 0; i < n; i++) {
            // A raised-cosine envelope over 20 ms at both ends, like a word.
            const double kenar = yumusak ? std::min({1.0, i / (0.02 * OO), (n - i) / (0.02 * OO)}) : 1.0;
            double v = genlik * kenar * std::sin(2 * M_PI * hz * i / OO) + gurultu * u(r);
            x.push_back(static_cast<int16_t>(std::lround(std::max(-32768.0, std::min(32767.0, v)))));
        }
    }
    // Returns [start, end) of the burst in samples.
    std::pair<int64_t, int64_t> Soz(double saniye, double genlik = 6000) {
        const int64_t b = Konum();
        Ekle(saniye, genlik, 200);
        return {b, Konum()};
    }
    void Sessiz(double saniye) { Ekle(saniye, 0, 0); }
};

std::vector<SOZCE> Bul(const std::vector<int16_t>& x, BOLUTAYARI a = BOLUTAYARI(), size_t blok = 256) {
    BOLUTLEYICI b(a);
    std::vector<SOZCE> s;
    for (size_t i = 0; i < x.size(); i += blok) b.Besle(x.data() + i, std::min(blok, x.size() - i), s);
    b.Bitir(s);
    return s;
}

// Within 30 ms (the walk back and the envelope's quiet edges).
void Yakin(const SOZCE& s, std::pair<int64_t, int64_t> b) {
    EXPECT_NEAR(static_cast<double>(s.bas), static_cast<double>(b.first), 0.03 * OO);
    EXPECT_NEAR(static_cast<double>(s.bit), static_cast<double>(b.second), 0.03 * OO);
}

}  // namespace

TEST(Bolut, EveryWordOnceInOrderWhateverTheBlockSize) {
    AKIS a;
    a.Sessiz(0.7);
    auto w1 = a.Soz(0.4);
    a.Sessiz(0.6);
    auto w2 = a.Soz(0.7, 3000);
    a.Sessiz(0.35);  // just above the 300 ms that end an utterance
    auto w3 = a.Soz(0.3);
    a.Sessiz(0.8);
    for (size_t blok : {1u, 100u, 256u, 4096u}) {
        const auto s = Bul(a.x, BOLUTAYARI(), blok);
        ASSERT_EQ(s.size(), 3u) << blok;
        Yakin(s[0], w1);
        Yakin(s[1], w2);
        Yakin(s[2], w3);
        for (const SOZCE& z : s) EXPECT_FALSE(z.kesildi);
    }
}

TEST(Bolut, AShortGapJoinsTwoWordsAndALongerSilenceSetting) {
    AKIS a;
    a.Sessiz(0.5);
    auto w1 = a.Soz(0.3);
    a.Sessiz(0.15);
    auto w2 = a.Soz(0.3);
    a.Sessiz(0.6);
    auto s = Bul(a.x);
    ASSERT_EQ(s.size(), 1u);
    Yakin(s[0], {w1.first, w2.second});
    // With 100 ms of silence ending an utterance they are two.
    BOLUTAYARI k;
    k.sessizlikMs = 100;
    s = Bul(a.x, k);
    ASSERT_EQ(s.size(), 2u);
    Yakin(s[0], w1);
    Yakin(s[1], w2);
}

TEST(Bolut, BurstsShorterThanTheMinimumAreIgnored) {
    AKIS a;
    a.Sessiz(0.5);
    a.Ekle(0.03, 12000, 900);  // a click: 30 ms, loud
    a.Sessiz(0.6);
    auto w = a.Soz(0.3);
    a.Sessiz(0.5);
    auto s = Bul(a.x);
    ASSERT_EQ(s.size(), 1u);
    Yakin(s[0], w);
    BOLUTAYARI k;
    k.enKisaMs = 20;
    EXPECT_EQ(Bul(a.x, k).size(), 2u);
}

TEST(Bolut, AStreamStartingInsideAWordKeepsTheWordsAfterIt) {
    AKIS a;
    a.Soz(0.25);  // the tail of a word already under way
    a.Sessiz(0.6);
    auto w1 = a.Soz(0.4);
    a.Sessiz(0.6);
    auto w2 = a.Soz(0.4);
    a.Sessiz(0.5);
    auto s = Bul(a.x);
    ASSERT_GE(s.size(), 2u);
    ASSERT_LE(s.size(), 3u);
    Yakin(s[s.size() - 2], w1);
    Yakin(s[s.size() - 1], w2);
}

TEST(Bolut, AWordLongerThanTheRecordingIsCutOnceAndItsRestPassedOver) {
    AKIS a;
    a.Sessiz(0.5);
    auto uzun = a.Soz(1.6);
    a.Sessiz(0.6);
    auto w = a.Soz(0.4);
    a.Sessiz(0.5);
    BOLUTAYARI k;
    k.ksu = 1;
    auto s = Bul(a.x, k);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_TRUE(s[0].kesildi);
    EXPECT_NEAR(static_cast<double>(s[0].bas), static_cast<double>(uzun.first), 0.03 * OO);
    EXPECT_LE(s[0].bit - s[0].bas, OO);
    EXPECT_GE(s[0].bit - s[0].bas, OO - 240);
    Yakin(s[1], w);
}

TEST(Bolut, SilenceAndSteadyNoiseGiveNothing) {
    AKIS a;
    a.Sessiz(5);
    EXPECT_TRUE(Bul(a.x).empty());
    AKIS g;
    g.gurultu = 3000;  // loud noise, far above the fixed thresholds
    g.Sessiz(5);
    EXPECT_TRUE(Bul(g.x).empty());
    AKIS z;
    z.gurultu = 0;  // digital silence
    z.Sessiz(2);
    EXPECT_TRUE(Bul(z.x).empty());
    // Digital silence but for the least bit: every sample -1 or +1.
    std::mt19937 r(3);
    std::vector<int16_t> lsb(5 * OO);
    for (int16_t& v : lsb) v = static_cast<int16_t>(r() % 2 ? 1 : -1);
    EXPECT_TRUE(Bul(lsb).empty());
}

TEST(Bolut, WordsAreFoundAtAnyLevel) {
    // Peaks from -3 to -45 dBFS, the noise 48 dB below the peak.
    for (double dbfs : {-3.0, -20.0, -35.0, -45.0}) {
        const double tepe = 32768 * std::pow(10.0, dbfs / 20);
        AKIS a;
        a.gurultu = tepe * std::pow(10.0, -48.0 / 20);
        a.Sessiz(0.6);
        auto w1 = a.Soz(0.4, tepe);
        a.Sessiz(0.7);
        auto w2 = a.Soz(0.3, tepe / 2);
        a.Sessiz(0.6);
        const auto s = Bul(a.x);
        ASSERT_EQ(s.size(), 2u) << dbfs;
        Yakin(s[0], w1);
        Yakin(s[1], w2);
    }
}

TEST(Bolut, EndsAgreeWithTheEndpointDetectorOfAKindThreeRecording) {
    // A breath before the word: loud enough to start an utterance, but below
    // the high threshold the word's loudest window gives, and apart from it.
    AKIS a;
    a.Sessiz(0.5);
    a.Ekle(0.1, 300, 200);
    a.Sessiz(0.08);
    auto w = a.Soz(0.4);
    a.Sessiz(0.6);
    const auto s = Bul(a.x);
    ASSERT_EQ(s.size(), 1u);
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    b.tur = 3;
    std::vector<short> kayit(a.x.begin(), a.x.end());
    const UC_NOKTALAR u = KonusmaBul(kayit.data(), static_cast<int>(kayit.size()), b);
    ASSERT_TRUE(u.bulundu);
    EXPECT_NEAR(static_cast<double>(s[0].bas), u.bas, 120);
    EXPECT_NEAR(static_cast<double>(s[0].bit), u.bas + u.uzunluk, 120);
    Yakin(s[0], w);
}

TEST(Bolut, NoiseSteppingUpHalfWayIsFollowed) {
    AKIS a;
    a.Sessiz(1);
    auto w1 = a.Soz(0.4);
    a.Sessiz(1);
    a.gurultu = 2500;  // the room gets loud
    a.Sessiz(3);
    auto w2 = a.Soz(0.4, 20000);
    a.Sessiz(1);
    auto w3 = a.Soz(0.4, 20000);
    a.Sessiz(1);
    auto s = Bul(a.x);
    ASSERT_EQ(s.size(), 3u);
    Yakin(s[0], w1);
    Yakin(s[1], w2);
    Yakin(s[2], w3);
    // The thresholds rose with the background.
    EXPECT_GT(s[1].yee, 4 * s[0].yee);
}

TEST(Bolut, TheStartWalksBackOverQuietSpeechButNotTooFar) {
    // A fricative-like lead (noise-like, many zero crossings, below the high
    // threshold) before a voiced burst: the start moves back over it, at
    // most 250 ms and never before the end of the utterance before.
    AKIS a;
    a.Sessiz(1);
    const int64_t s0 = a.Konum();
    a.Ekle(0.5, 150, 2900, false);  // mean level about 95: below the high threshold
    auto w = a.Soz(0.4);
    a.Sessiz(0.6);
    auto s = Bul(a.x);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_LT(s[0].bas, w.first - OO / 10);
    EXPECT_GE(s[0].bas, w.first - OO / 4);
    EXPECT_GT(s[0].bas, s0);
    EXPECT_NEAR(static_cast<double>(s[0].bit), static_cast<double>(w.second), 0.03 * OO);
}

TEST(Bolut, LostSamplesDropTheUtteranceUnderWayAndMoveTime) {
    AKIS a;
    a.Sessiz(0.5);
    a.Soz(0.2);
    BOLUTLEYICI b{BOLUTAYARI()};
    std::vector<SOZCE> s;
    b.Besle(a.x.data(), a.x.size(), s);
    EXPECT_EQ(b.Durum(), BD_KONUSMA);
    b.Bosluk(1000);
    EXPECT_EQ(b.Durum(), BD_DINLIYOR);
    EXPECT_EQ(b.Konum(), static_cast<int64_t>(a.x.size()) + 1000);
    AKIS c;
    c.Sessiz(0.5);
    auto w = c.Soz(0.3);
    c.Sessiz(0.5);
    b.Besle(c.x.data(), c.x.size(), s);
    b.Bitir(s);
    ASSERT_EQ(s.size(), 1u);
    const int64_t kay = static_cast<int64_t>(a.x.size()) + 1000;
    Yakin(s[0], {w.first + kay, w.second + kay});
}

TEST(Bolut, AStreamEndingInsideAWordGivesItCut) {
    AKIS a;
    a.Sessiz(0.5);
    auto w = a.Soz(0.3);
    auto s = Bul(a.x);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_TRUE(s[0].kesildi);
    Yakin(s[0], w);
}
