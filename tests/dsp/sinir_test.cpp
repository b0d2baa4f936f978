#include "sinir.h"

#include <algorithm>

#include "dsp_ortak.h"
#include "kodlama.h"

namespace {

const char* KONUSMA_YOK = "Konuşma yok yada yüksek enerji eşiği olması gerekenden yüksek.\n";
// The start of the line of a take that never reached the high threshold.
const char* ESIGE_ULASMADI = "Ses eşiğe ulaşmadı: kaydın en yüksek örkesi ";

class SinirTest : public DspTest {
protected:
    void Ayarla(int oo, int yee, int aee, int bsge) {
        b.oo = oo;
        b.kpensu = 1;
        b.yee = yee;
        b.aee = aee;
        b.bsge = bsge;
    }
};

// 4000 Hz, 1 ms window (4 samples): sixteen samples, a quiet lead-in then a burst.
TEST_F(SinirTest, QuietLeadInThenBurstBothStartThresholds) {
    const std::vector<short> x = {0, 3, -2, 4, -3, 2, 0, 90, -120, 150, -110, 80, -60, 10, 0, 0};
    std::vector<int> e(16), z(16);
    SinirOlcumleri(x.data(), 16, 4, e.data(), z.data());
    EXPECT_EQ(e, (std::vector<int>{0, 0, 2, 3, 2, 2, 23, 53, 90, 117, 115, 100, 65, 37, 0, 0}));
    EXPECT_EQ(z, (std::vector<int>{0, 0, 6, 8, 6, 4, 4, 4, 6, 8, 8, 8, 6, 4, 0, 0}));

    Ayarla(4000, 100, 50, 6);
    Kayit(x);
    EXPECT_EQ(Bul(), 0);
    EXPECT_EQ(Bas(), 8);
    EXPECT_EQ(Uzn(), 10);
    auto s = Satirlar("sinir.txt");
    ASSERT_EQ(s.size(), 18u);
    EXPECT_EQ(s[0], Cp1254("Başlangıç:8  Bitiş:12"));
    EXPECT_EQ(s[1], Cp1254("Sıra\tEnerji\tSıfır Geçişi"));
    EXPECT_EQ(s[10], "8\t-120\t90\t6");
    EXPECT_EQ(s[17], "15\t0\t0\t0");

    b.bsge = 4;  // the start moves back over 7 ... 2
    EXPECT_EQ(Bul(), 0);
    EXPECT_EQ(Bas(), 2);
    EXPECT_EQ(Uzn(), 22);
    EXPECT_EQ(cikti, "");
}

// A position whose energy equals the low threshold is still speech, at the
// start and at the end: energies 23 53 90 117 115 100 65 37 around the peak.
TEST_F(SinirTest, EnergyEqualToTheLowThresholdWidensBothEnds) {
    const std::vector<short> x = {0, 3, -2, 4, -3, 2, 0, 90, -120, 150, -110, 80, -60, 10, 0, 0};
    Kayit(x);
    // The start walks over 53 to 7; the start zero-crossing walk (no run at
    // threshold 100) then sets it one past, 8. The end stops at 12 (65).
    Ayarla(4000, 100, 53, 100);
    EXPECT_EQ(Bul(), 0);
    EXPECT_EQ(Bas(), 8);
    EXPECT_EQ(Bas() + Uzn() / 2 - 1, 12);
    // The end walks over 65 to 12; the start stops before 53 (at 8, then 9).
    Ayarla(4000, 100, 65, 100);
    EXPECT_EQ(Bul(), 0);
    EXPECT_EQ(Bas(), 9);
    EXPECT_EQ(Bas() + Uzn() / 2 - 1, 12);
    EXPECT_EQ(cikti, "");
}

// The sliding sums equal the definition for even, odd, tiny, power-of-two
// and whole-length windows; the odd window's last pair past the end counts
// nothing. A full-scale recording keeps its mean even when a window's sum
// passes 2^31.
TEST(SinirOlcum, RunningSumsEqualDefinition) {
    unsigned d = 7;
    std::vector<short> x(301);
    for (auto& v : x) v = static_cast<short>(static_cast<int>(TestRastgele(d) % 65536) - 32768);
    for (int i = 100; i < 130; i++) x[i] = static_cast<short>(i % 3);
    const int boyut = 301;
    for (int kpenu : {1, 2, 3, 8, 120, 121, 128, 300, 301, 302}) {
        std::vector<int> e(boyut, -1), z(boyut, -1), e2(boyut, 0), z2(boyut, 0);
        SinirOlcumleri(x.data(), boyut, kpenu, e.data(), z.data());
        const int h = kpenu / 2;
        for (int j = h; j < boyut - h; j++) {
            for (int i = j - h; i < j - h + kpenu; i++) {
                e2[j] += std::abs(x[i]);
                if (i + 1 < boyut) z2[j] += ((x[i] < 0) != (x[i + 1] < 0)) ? 2 : 0;
            }
            e2[j] /= kpenu;
        }
        EXPECT_EQ(e, e2) << kpenu;
        EXPECT_EQ(z, z2) << kpenu;
    }
    for (int kpenu : {65536, 70001}) {
        const std::vector<short> tam(static_cast<size_t>(kpenu) + 20, -32768);
        std::vector<int> e(tam.size()), z(tam.size(), -1);
        SinirOlcumleri(tam.data(), static_cast<int>(tam.size()), kpenu, e.data(), z.data());
        const int h = kpenu / 2;
        for (int j = h; j < static_cast<int>(tam.size()) - h; j++) ASSERT_EQ(e[j], 32768) << kpenu << " " << j;
        EXPECT_EQ(std::count(z.begin(), z.end(), 0), static_cast<long>(z.size())) << kpenu;
    }
}

TEST_F(SinirTest, NoSpeechAndRefusals) {
    std::vector<short> x(36000);
    unsigned d = 3;
    for (auto& v : x) v = static_cast<short>(static_cast<int>(TestRastgele(d) % 201) - 100);
    Kayit(x);
    EXPECT_EQ(Bul(), 1);
    EXPECT_EQ(cikti.rfind(ESIGE_ULASMADI, 0), 0u) << cikti;  // noise of 100 never reaches 375
    EXPECT_EQ(std::count(cikti.begin(), cikti.end(), '\n'), 1);
    EXPECT_FALSE(u.bulundu);
    auto s = Satirlar("sinir.txt");
    ASSERT_EQ(s.size(), 36002u);
    EXPECT_EQ(s[0], Cp1254("Başlangıç:0  Bitiş:0"));
    EXPECT_EQ(s[2 + 59].substr(s[2 + 59].size() - 4), "\t0\t0");     // first 60 not measured
    EXPECT_NE(s[2 + 60].substr(s[2 + 60].size() - 4), "\t0\t0");
    EXPECT_EQ(s[2 + 35940].substr(s[2 + 35940].size() - 4), "\t0\t0");  // nor the last 60

    // Refusals: no dump, the earlier one untouched, one line, empty segment.
    const int durumlar[][3] = {{2, 16, 10}, {1, 8, 10}, {1, 16, 0}, {1, 16, -3}};
    for (const auto& [ks, oc, kpensu] : durumlar) {
        b.ks = ks;
        b.oc = oc;
        b.kpensu = kpensu;
        cikti.clear();
        EXPECT_EQ(Bul(), 1);
        EXPECT_FALSE(u.olculdu);
        EXPECT_EQ(Satirlar("sinir.txt").size(), 36002u);
        EXPECT_EQ(cikti, ks == 2 || oc == 8 ? "Tek kanal ve 16 bit dışındakiler desteklenmiyor.\n"
                                            : "Kısa pencere süresi en az bir örnek tutmalı (şimdi " +
                                                  std::to_string(kpensu) + " ms).\n");
    }
    // The rate is refused with the same line as recording and analysis give.
    b = VarsayilanAyarlar().kdbaslik;
    b.oo = 192001;
    cikti.clear();
    EXPECT_EQ(Bul(), 1);
    EXPECT_EQ(cikti, "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı (şimdi 192001).\n");
    b = VarsayilanAyarlar().kdbaslik;
    bellek_hata_sirasi = 1;
    cikti.clear();
    EXPECT_EQ(Bul(), 1);
    bellek_hata_sirasi = 2;
    EXPECT_EQ(Bul(), 1);
    EXPECT_EQ(cikti, "Örke değerleri için bellek ayrılamıyor.\nSıfır geçiş değerleri için bellek ayrılamıyor.\n");
    // Kind 3's filtered copy of the recording is the third allocation.
    b.tur = 3;
    bellek_hata_sirasi = 3;
    cikti.clear();
    EXPECT_EQ(Bul(), 1);
    EXPECT_FALSE(u.olculdu);
    EXPECT_EQ(std::count(cikti.begin(), cikti.end(), '\n'), 1);
    Kayit({});
    EXPECT_EQ(Bul(), 1);
    EXPECT_EQ(Uzn(), 0);
}

// A one-sample window makes orke = |x|. One loud position with quiet
// neighbours gives length 0; a low threshold above the high one crosses the
// ends, which is no speech; a start moved past the last sample reads nothing.
TEST_F(SinirTest, SegmentEdges) {
    std::vector<short> y(30, 1);
    y[13] = 100;
    Kayit(y);
    Ayarla(1000, 100, 50, 100);
    EXPECT_EQ(Bul(), 0);
    EXPECT_EQ(Bas(), 14);
    EXPECT_EQ(Uzn(), 0);
    b.bsge = 0;  // the start run reaches position 0: still speech
    EXPECT_EQ(Bul(), 0);
    EXPECT_EQ(Bas(), 0);
    EXPECT_EQ(Uzn(), 28);

    Ayarla(1000, 100, 500, 100);  // start 13 -> 15, end 13 -> 12
    EXPECT_EQ(Bul(), 1);
    EXPECT_EQ(Satirlar("sinir.txt")[0], Cp1254("Başlangıç:0  Bitiş:0"));
    Kayit({0, 0, 0, 0, 5});
    b.yee = 5;
    EXPECT_EQ(Bul(), 1);  // reached, but the ends pass each other: the general line
    EXPECT_EQ(cikti, std::string(KONUSMA_YOK) + KONUSMA_YOK);
    EXPECT_FALSE(u.bulundu);
}

}  // namespace

// KonusmaKesin may say "speech" only where the full search finds it and says
// nothing; on a clear word with the default thresholds it does say it.
TEST_F(SinirTest, EnergyShortcutNeverDisagreesWithTheSearch) {
    unsigned tohum = 11;
    struct AYAR {
        int kpensu, yee, aee, tur;
    };
    const AYAR ayarlar[] = {{20, 100, 50, 1}, {1, 100, 50, 2}, {20, 100, 300, 1}, {20, 0, 0, 1},
                            {5, 3000, 3000, 1}, {20, 100, 50, 3}, {300, 100, 50, 1}};
    int kesin = 0;
    for (int durum = 0; durum < 40; durum++) {
        const int boyut = 1 + static_cast<int>(TestRastgele(tohum) % 6000);
        const int duzey = 1 << (TestRastgele(tohum) % 15);
        std::vector<short> x(static_cast<size_t>(boyut));
        const int bas = static_cast<int>(TestRastgele(tohum) % static_cast<unsigned>(boyut));
        for (int i = 0; i < boyut; i++) {
            const int genlik = i >= bas && i < bas + boyut / 4 ? duzey : duzey / 64 + 1;
            x[static_cast<size_t>(i)] =
                static_cast<short>(static_cast<int>(TestRastgele(tohum) % (2u * genlik + 1)) - genlik);
        }
        for (const AYAR& a : ayarlar) {
            Ayarla(8000, a.yee, a.aee, 10);
            b.kpensu = a.kpensu;
            b.tur = a.tur;
            if (!KonusmaKesin(x.data(), boyut, b)) continue;
            kesin++;
            cikti.clear();
            const UC_NOKTALAR u = KonusmaBul(x.data(), boyut, b);
            KonusmaYokBildir(u);
            EXPECT_TRUE(u.bulundu && cikti.empty()) << durum << " " << a.kpensu << " " << a.yee << " " << a.aee;
        }
    }
    EXPECT_GT(kesin, 40);
    b = VarsayilanAyarlar().kdbaslik;
    const std::vector<short> sessiz(24000, 3);
    EXPECT_FALSE(KonusmaKesin(sessiz.data(), 24000, b));
    std::vector<short> sozcuk(24000, 0);
    for (size_t i = 8000; i < 14000; i++) sozcuk[i] = static_cast<short>(i % 40 < 20 ? 4000 : -4000);
    EXPECT_TRUE(KonusmaKesin(sozcuk.data(), 24000, b));
}
