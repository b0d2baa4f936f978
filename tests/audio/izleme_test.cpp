// The level of a recording, the recording as 16-bit mono, and the watcher
// that follows a recording's seconds.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "duzey.h"
#include "kancalar.h"
#include "kayit.h"
#include "mesaj_kaydi.h"
#include "sahte_aygit.h"
#include "ses_ortak.h"
#include "velmo.h"

namespace {

std::string Bayt(std::initializer_list<int> b) {
    std::string s;
    for (int x : b) s.push_back(static_cast<char>(x));
    return s;
}

double Tepe(const std::string& s, int oc) { return TepeDbfs(s.data(), static_cast<long>(s.size()), oc); }

KURALDOSYABASLIK Bicim(int ks, int oc) {
    KURALDOSYABASLIK b{};
    b.ks = ks;
    b.oc = oc;
    b.oo = 12000;
    return b;
}

}  // namespace

TEST(TepeDuzeyi, FullScaleOfEachSampleFormatIsZeroDbfs) {
    EXPECT_DOUBLE_EQ(Tepe(Bayt({0x00, 0x80}), 16), 0.0);               // -32768
    EXPECT_NEAR(Tepe(Bayt({0xFF, 0x7F}), 16), -0.000265, 1e-6);        // +32767
    EXPECT_DOUBLE_EQ(Tepe(Bayt({0x00}), 8), 0.0);                      // unsigned: 0 is -128
    EXPECT_DOUBLE_EQ(Tepe(Bayt({0x00, 0x00, 0x80}), 24), 0.0);
    EXPECT_DOUBLE_EQ(Tepe(Bayt({0x00, 0x00, 0x00, 0x80}), 32), 0.0);
}

TEST(TepeDuzeyi, TheLargestMagnitudeOfEitherSignCounts) {
    // 16-bit: 100, -3277, 50 -> 3277 / 32768 is -20 dBFS.
    EXPECT_NEAR(Tepe(Bayt({100, 0, 0x33, 0xF3, 50, 0}), 16), -20.0, 0.01);
    // 8-bit centred on 128: 128 is silence, 118 and 141 are 10 and 13 below/above.
    EXPECT_NEAR(Tepe(Bayt({128, 118, 141}), 8), 20.0 * std::log10(13.0 / 128.0), 1e-12);
    // 24-bit negative: 0xFFFF00 is -256.
    EXPECT_NEAR(Tepe(Bayt({0x00, 0xFF, 0xFF}), 24), 20.0 * std::log10(256.0 / 8388608.0), 1e-12);
    // A trailing half sample is not read.
    EXPECT_NEAR(Tepe(Bayt({10, 0, 0xFF}), 16), 20.0 * std::log10(10.0 / 32768.0), 1e-12);
}

TEST(TepeDuzeyi, SilenceNothingAndUnknownFormatsAreMinusInfinity) {
    for (double d : {Tepe(Bayt({0, 0, 0, 0}), 16), Tepe(Bayt({128, 128}), 8), Tepe("", 16), Tepe(Bayt({1}), 16),
                     Tepe(Bayt({5, 5}), 12), TepeDbfs(nullptr, 8, 16)}) {
        EXPECT_TRUE(std::isinf(d) && d < 0) << d;
    }
}

TEST(Duzey, EveryRecordingFormatBecomes16BitMono) {
    // 16-bit mono: the bytes as they are, negative values included.
    const std::vector<int16_t> mono = {0, 1, -1, 32767, -32768};
    auto x = OnAltiBitTekKanal(reinterpret_cast<const char*>(mono.data()), 10, Bicim(1, 16));
    EXPECT_EQ(x, mono);
    // Stereo: the mean of the two channels.
    const std::vector<int16_t> stereo = {100, 300, -32768, -32768, 32767, -32767, -3, 0};
    x = OnAltiBitTekKanal(reinterpret_cast<const char*>(stereo.data()), 16, Bicim(2, 16));
    EXPECT_EQ(x, (std::vector<int16_t>{200, -32768, 0, -1}));
    // 8-bit unsigned around 128, widened; 24 and 32 bits, their top 16 bits.
    const unsigned char u8[] = {128, 255, 0, 129};
    x = OnAltiBitTekKanal(reinterpret_cast<const char*>(u8), 4, Bicim(1, 8));
    EXPECT_EQ(x, (std::vector<int16_t>{0, 127 * 256, -32768, 256}));
    const unsigned char s24[] = {0xFF, 0x34, 0x12, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF};
    x = OnAltiBitTekKanal(reinterpret_cast<const char*>(s24), 9, Bicim(1, 24));
    EXPECT_EQ(x, (std::vector<int16_t>{0x1234, -32768, -1}));
    const unsigned char s32[] = {0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0x80};
    x = OnAltiBitTekKanal(reinterpret_cast<const char*>(s32), 8, Bicim(1, 32));
    EXPECT_EQ(x, (std::vector<int16_t>{0x1234, -32768}));
    // Bytes that are no whole number of frames, widths the device layer
    // does not make, and no take at all give nothing.
    EXPECT_TRUE(OnAltiBitTekKanal(reinterpret_cast<const char*>(stereo.data()), 6, Bicim(2, 16)).empty());
    EXPECT_TRUE(OnAltiBitTekKanal(reinterpret_cast<const char*>(stereo.data()), 6, Bicim(1, 12)).empty());
    EXPECT_TRUE(OnAltiBitTekKanal(reinterpret_cast<const char*>(stereo.data()), 16, Bicim(0, 16)).empty());
    EXPECT_TRUE(OnAltiBitTekKanal(nullptr, 16, Bicim(1, 16)).empty());
    // As many channels as the settings allow, and no more.
    const std::vector<int16_t> sekiz = {8, 8, 8, 8, 8, 8, 8, -9, 0, 0, 0, 0, 0, 0, 0, -9};
    x = OnAltiBitTekKanal(reinterpret_cast<const char*>(sekiz.data()), 32, Bicim(8, 16));
    EXPECT_EQ(x, (std::vector<int16_t>{5, -1}));
    EXPECT_TRUE(OnAltiBitTekKanal(reinterpret_cast<const char*>(sekiz.data()), 18, Bicim(9, 16)).empty());
}

TEST(KayitIzleyici, HearsTheSecondsLeftThenTheEndBeforeAnyMessage) {
    std::string cikti;
    MesajKaydiKur(&cikti);
    sd.Sifirla();
    SahteAygitKur();
    std::vector<int> duyulan;
    std::vector<std::string> ozaman;  // what had been printed at each call
    KayitIzleyiciKur([&](int kalan) {
        duyulan.push_back(kalan);
        ozaman.push_back(cikti);
    });
    // A device that never finishes: the watcher hears 3, 2, 1 at the whole
    // seconds and -1 when the limit gives up, before the message says so.
    sahte.tepkisiz = true;
    ses_bekleme_siniri_ms = 2500;
    EXPECT_EQ(Kaydet(), 1);
    // (3, 2, 1, -1 on time; a busy machine may wake late and skip a second.)
    ASSERT_GE(duyulan.size(), 3u);
    EXPECT_EQ(duyulan.front(), 3);
    EXPECT_EQ(duyulan.back(), -1);
    for (size_t i = 1; i < duyulan.size(); i++) EXPECT_LT(duyulan[i], duyulan[i - 1]);
    EXPECT_EQ(ozaman.back().find("yanıt vermiyor"), std::string::npos);
    EXPECT_NE(cikti.find("yanıt vermiyor"), std::string::npos);

    // A device that finishes at once: the full length, then the end.
    duyulan.clear();
    SahteAygitKur();
    EXPECT_EQ(Kaydet(), 0);
    EXPECT_EQ(duyulan, (std::vector<int>{3, -1}));
    // A device that cannot open: the recording never started, nothing heard.
    duyulan.clear();
    sd.Birak();
    sahte.hataAdimi = SAHTE_AC;
    EXPECT_EQ(Kaydet(), 1);
    EXPECT_TRUE(duyulan.empty());

    KayitIzleyiciKur(nullptr);
    ses_bekleme_siniri_ms = 0;
    SesAygitiKur(nullptr);
    sd.Sifirla();
    MesajKaydiBitir();
}
