#include "sinir.h"

#include <cmath>

#include "dsp_ortak.h"
#include "kodlama.h"

namespace {

const std::vector<short> ORNEK16 = {0, 3, -2, 4, -3, 2, 0, 90, -120, 150, -110, 80, -60, 10, 0, 0};

class SinirTest : public DspTest {
protected:
    // The 16-sample worked example: 4000 Hz, 1 ms window (4 samples).
    void OrnekAyarla(int bsge) {
        ayr.kdbaslik.oo = 4000;
        ayr.kdbaslik.kpensu = 1;
        ayr.kdbaslik.yee = 100;
        ayr.kdbaslik.aee = 50;
        ayr.kdbaslik.bsge = bsge;
        Kayit(ORNEK16);
    }
    int Bas() const { return static_cast<int>((ayr.bsl - ayr.kyt) / 2); }
};

// The measures straight from their definition, for comparison.
void Dogrudan(const std::vector<short>& x, int kpenu, std::vector<int>& e, std::vector<int>& z) {
    const int boyut = static_cast<int>(x.size()), h = kpenu / 2;
    e.assign(x.size(), 0);
    z.assign(x.size(), 0);
    auto sgn = [&](int i) { return x[static_cast<size_t>(i)] >= 0 ? 1 : -1; };
    for (int j = h; j < boyut - h; j++) {
        int top = 0, gec = 0;
        for (int i = 0; i < kpenu; i++) {
            top += std::abs(x[static_cast<size_t>(j - h + i)]);
            if (j - h + i + 1 < boyut) gec += std::abs(sgn(j - h + i + 1) - sgn(j - h + i));
        }
        e[static_cast<size_t>(j)] = top / kpenu;
        z[static_cast<size_t>(j)] = gec;
    }
}

TEST_F(SinirTest, WorkedExampleMeasuresAndSegment) {
    OrnekAyarla(6);
    std::vector<int> e(16), z(16);
    SinirOlcumleri(ORNEK16.data(), 16, 4, e.data(), z.data());
    EXPECT_EQ(e, (std::vector<int>{0, 0, 2, 3, 2, 2, 23, 53, 90, 117, 115, 100, 65, 37, 0, 0}));
    EXPECT_EQ(z, (std::vector<int>{0, 0, 6, 8, 6, 4, 4, 4, 6, 8, 8, 8, 6, 4, 0, 0}));

    EXPECT_EQ(UcNoktalar(), 0);
    EXPECT_EQ(Bas(), 8);
    EXPECT_EQ(ayr.uzn, 10);
    EXPECT_EQ(cikti, "");
    auto s = Satirlar("sinir.txt");
    ASSERT_EQ(s.size(), 18u);
    EXPECT_EQ(s[0], Cp1254("Başlangıç:8  Bitiş:12"));
    EXPECT_EQ(s[1], Cp1254("Sıra\tEnerji\tSıfır Geçişi"));
    EXPECT_EQ(s[2], "0\t0\t0\t0");
    EXPECT_EQ(s[10], "8\t-120\t90\t6");
    EXPECT_EQ(s[17], "15\t0\t0\t0");

    // A lower zero-crossing threshold moves the start back over 7 ... 2.
    OrnekAyarla(4);
    EXPECT_EQ(UcNoktalar(), 0);
    EXPECT_EQ(Bas(), 2);
    EXPECT_EQ(ayr.uzn, 22);
    EXPECT_EQ(Satirlar("sinir.txt")[0], Cp1254("Başlangıç:2  Bitiş:12"));
}

// The sliding sums equal the definition for even, odd, tiny and whole-length
// windows; the odd window's last pair past the end counts nothing.
TEST(SinirOlcum, RunningSumsEqualDefinition) {
    unsigned d = 7;
    std::vector<short> x(301);
    for (auto& v : x) v = static_cast<short>(static_cast<int>(TestRastgele(d) % 65536) - 32768);
    for (int i = 100; i < 130; i++) x[static_cast<size_t>(i)] = static_cast<short>(i % 3);  // runs of zeros
    for (int kpenu : {1, 2, 3, 4, 7, 120, 121, 299, 300, 301, 302, 1000}) {
        std::vector<int> e(x.size(), -1), z(x.size(), -1), e2, z2;
        SinirOlcumleri(x.data(), static_cast<int>(x.size()), kpenu, e.data(), z.data());
        Dogrudan(x, kpenu, e2, z2);
        EXPECT_EQ(e, e2) << "kpenu " << kpenu;
        EXPECT_EQ(z, z2) << "kpenu " << kpenu;
    }
    // Alternating signs give 2 x kpenu; non-negative samples (zeros too) give 0.
    std::vector<short> alt(50), poz(50);
    for (int i = 0; i < 50; i++) {
        alt[static_cast<size_t>(i)] = static_cast<short>(i % 2 ? -5 : 5);
        poz[static_cast<size_t>(i)] = static_cast<short>(i % 2 ? 0 : 5);
    }
    std::vector<int> e(50), z(50);
    SinirOlcumleri(alt.data(), 50, 10, e.data(), z.data());
    EXPECT_EQ(z[20], 20);
    SinirOlcumleri(poz.data(), 50, 10, e.data(), z.data());
    EXPECT_EQ(z[20], 0);
}

TEST_F(SinirTest, NoSpeechWritesZeroHeaderAndEmptySegment) {
    std::vector<short> x(36000);
    unsigned d = 3;
    for (auto& v : x) v = static_cast<short>(static_cast<int>(TestRastgele(d) % 201) - 100);
    Kayit(x);
    EXPECT_EQ(UcNoktalar(), 1);
    EXPECT_EQ(cikti, "Konuşma yok yada yüksek enerji eşiği olması gerekenden yüksek.\n");
    EXPECT_EQ(ayr.bsl, nullptr);
    EXPECT_EQ(ayr.uzn, 0);
    auto s = Satirlar("sinir.txt");
    ASSERT_EQ(s.size(), 36002u);
    EXPECT_EQ(s[0], Cp1254("Başlangıç:0  Bitiş:0"));
    // Positions 0..59 and the last 60 are never measured.
    auto sonIki = [](const std::string& satir) { return satir.substr(satir.find('\t', satir.find('\t') + 1)); };
    for (int i : {0, 59, 35940, 35999}) EXPECT_EQ(sonIki(s[static_cast<size_t>(i + 2)]), "\t0\t0") << i;
    EXPECT_NE(sonIki(s[60 + 2]), "\t0\t0");
    EXPECT_EQ(s[35941].rfind("35939\t", 0), 0u);
}

TEST_F(SinirTest, RefusalsLeaveEarlierDumpUntouched) {
    OrnekAyarla(6);
    ASSERT_EQ(UcNoktalar(), 0);
    const std::string once = Icerik("sinir.txt");
    struct Durum {
        int ks, oc, oo, kpensu;
        const char* mesaj;
    } durumlar[] = {
        {2, 16, 4000, 1, "Tek kanal ve 16 bit dışındakiler desteklenmiyor.\n"},
        {1, 8, 4000, 1, "Tek kanal ve 16 bit dışındakiler desteklenmiyor.\n"},
        {1, 16, 0, 1, "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı.\n"},
        {1, 16, 1000, 0, "Kısa pencere süresi en az bir örnek tutmalı (şimdi 0 ms).\n"},
        {1, 16, 4000, -5, "Kısa pencere süresi en az bir örnek tutmalı (şimdi -5 ms).\n"},
    };
    for (const auto& d : durumlar) {
        ayr.kdbaslik.ks = d.ks;
        ayr.kdbaslik.oc = d.oc;
        ayr.kdbaslik.oo = d.oo;
        ayr.kdbaslik.kpensu = d.kpensu;
        ayr.bsl = ayr.kyt;
        ayr.uzn = 4;
        cikti.clear();
        EXPECT_EQ(UcNoktalar(), 1);
        EXPECT_EQ(cikti, d.mesaj);
        EXPECT_EQ(ayr.bsl, nullptr);
        EXPECT_EQ(ayr.uzn, 0);
        EXPECT_EQ(Icerik("sinir.txt"), once);
    }
}

TEST_F(SinirTest, AllocationFailuresAndEmptyRecording) {
    OrnekAyarla(6);
    bellek_hata_sirasi = 1;
    EXPECT_EQ(UcNoktalar(), 1);
    EXPECT_EQ(cikti, "Örke değerleri için bellek ayrılamıyor.\n");
    cikti.clear();
    bellek_hata_sirasi = 2;
    EXPECT_EQ(UcNoktalar(), 1);
    EXPECT_EQ(cikti, "Sıfır geçiş değerleri için bellek ayrılamıyor.\n");
    EXPECT_FALSE(std::filesystem::exists("sinir.txt"));

    Kayit({});
    EXPECT_EQ(UcNoktalar(), 1);
    EXPECT_EQ(ayr.bsl, nullptr);
    EXPECT_EQ(ayr.uzn, 0);
    EXPECT_EQ(Satirlar("sinir.txt").size(), 2u);
    Sifirla(1);  // no buffer at all
    EXPECT_EQ(UcNoktalar(), 1);
}

// Shapes of the segment: two bursts make one; a start run reaching 0 is
// speech; one loud position with quiet neighbours gives length 0.
TEST_F(SinirTest, SegmentShapes) {
    ayr.kdbaslik.oo = 4000;
    ayr.kdbaslik.kpensu = 1;
    ayr.kdbaslik.yee = 100;
    ayr.kdbaslik.aee = 50;
    ayr.kdbaslik.bsge = 100;  // never reached: the start moves one later
    std::vector<short> x(40, 0);
    for (int i = 5; i < 9; i++) x[static_cast<size_t>(i)] = 400;
    for (int i = 25; i < 29; i++) x[static_cast<size_t>(i)] = 400;
    Kayit(x);
    ASSERT_EQ(UcNoktalar(), 0);
    // orke is at least 100 at 4 ... 10 and 24 ... 30 and 0 elsewhere.
    EXPECT_EQ(Bas(), 5);
    EXPECT_EQ(ayr.uzn, (30 - 5 + 1) * 2);

    ayr.kdbaslik.bsge = 0;  // every position passes: the start run reaches 0
    ASSERT_EQ(UcNoktalar(), 0);
    EXPECT_EQ(Bas(), 0);
    EXPECT_EQ(Satirlar("sinir.txt")[0], Cp1254("Başlangıç:0  Bitiş:30"));

    // One loud position (a one-sample window measures |x| itself).
    ayr.kdbaslik.oo = 1000;
    std::vector<short> y(30, 1);
    y[13] = 100;
    Kayit(y);
    ayr.kdbaslik.bsge = 100;
    ASSERT_EQ(UcNoktalar(), 0);
    EXPECT_EQ(Bas(), 14);
    EXPECT_EQ(ayr.uzn, 0);
}

// A low threshold above the high one can cross the ends: no speech, not a
// segment of negative length.
TEST_F(SinirTest, LowThresholdAboveHighGivesNoSpeech) {
    ayr.kdbaslik.oo = 1000;  // one-sample window: orke is |x|
    ayr.kdbaslik.kpensu = 1;
    ayr.kdbaslik.yee = 100;
    ayr.kdbaslik.aee = 500;
    ayr.kdbaslik.bsge = 100;
    std::vector<short> y(30, 1);
    y[13] = 100;  // start 13 -> 15, end 13 -> 12
    Kayit(y);
    EXPECT_EQ(UcNoktalar(), 1);
    EXPECT_EQ(cikti, "Konuşma yok yada yüksek enerji eşiği olması gerekenden yüksek.\n");
    EXPECT_EQ(ayr.bsl, nullptr);
    EXPECT_EQ(ayr.uzn, 0);
    EXPECT_EQ(Satirlar("sinir.txt")[0], Cp1254("Başlangıç:0  Bitiş:0"));

    // The loud position is the last one: the start moves to one past the
    // end without the zero-crossing step reading outside its table.
    ayr.kdbaslik.yee = 5;
    Kayit({0, 0, 0, 0, 5});
    cikti.clear();
    EXPECT_EQ(UcNoktalar(), 1);
    EXPECT_EQ(cikti, "Konuşma yok yada yüksek enerji eşiği olması gerekenden yüksek.\n");
}

}  // namespace
