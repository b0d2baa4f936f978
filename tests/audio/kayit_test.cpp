#include "kayit.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <thread>
#include <vector>

#include "bellek.h"
#include "kancalar.h"
#include "mesaj_kaydi.h"
#include "sahte_aygit.h"
#include "ses_ortak.h"
#include "velmo.h"

using Adimlar = std::vector<std::string>;

TEST(Olay, AutoResetUnsignalledAtStart) {
    OLAY* o = OlayOlustur();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(OlayBekle(o, 0), 1);
    OlayIsaretle(o);
    OlayIsaretle(o);  // signals do not add up
    EXPECT_EQ(OlayBekle(o, 0), 0);
    EXPECT_EQ(OlayBekle(o, 10), 1);
    std::thread t([o] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        OlayIsaretle(o);
    });
    EXPECT_EQ(OlayBekle(o, -1), 0);  // woken from another thread, no limit
    t.join();
    OlayKapat(o);
    OlayKapat(nullptr);
}

class Ses : public ::testing::Test {
protected:
    void SetUp() override {
        sd.Sifirla();
        SahteAygitKur();
        for (int i = 0; i < 80000; i++) sahte.girdi.push_back(static_cast<char>(i * 7 + i / 256));
        MesajKaydiKur(&cikti);
    }
    void TearDown() override {
        MesajKaydiBitir();
        sd.Birak();
        SesAygitiKur(nullptr);
        bellek_hata_sirasi = 0;
        ses_bekleme_siniri_ms = 0;
        EXPECT_EQ(sahte.acik, 0);
        EXPECT_EQ(sahte.hazir, 0);
        EXPECT_EQ(Event1, nullptr);
        EXPECT_EQ(Event2, nullptr);
    }
    std::string cikti;
};

TEST_F(Ses, FormatRecord) {
    SESBICIMI f;
    BicimDoldur(sd.b, &f);
    EXPECT_EQ(f.wFormatTag, 1);
    EXPECT_EQ(f.nChannels, 1);
    EXPECT_EQ(f.nSamplesPerSec, 12000u);
    EXPECT_EQ(f.wBitsPerSample, 16);
    EXPECT_EQ(f.nBlockAlign, 2);
    EXPECT_EQ(f.nAvgBytesPerSec, 24000u);
    EXPECT_EQ(f.cbSize, 0);
    sd.b.oc = 12;  // bytes per sample by integer division
    BicimDoldur(sd.b, &f);
    EXPECT_EQ(f.wBitsPerSample, 12);
    EXPECT_EQ(f.nBlockAlign, 1);
    EXPECT_EQ(f.nAvgBytesPerSec, 12000u);
}

TEST_F(Ses, RecordingFillsBufferFromDevice) {
    ASSERT_EQ(Kaydet(), 0);
    EXPECT_EQ(cikti, "");  // no prompt, no message
    ASSERT_NE(sd.kyt, nullptr);
    EXPECT_EQ(sd.kytu, 72000);
    EXPECT_EQ(std::string(sd.kyt, 72000), sahte.girdi.substr(0, 72000));
    EXPECT_EQ(sahte.adimlar, (Adimlar{"ac", "hazirla", "ekle", "baslat", "durdur", "coz", "kapat"}));
    EXPECT_EQ(sahte.bicim.nAvgBytesPerSec, 24000u);

    // The settings are read at each call.
    sd.Birak();
    sd.b.ksu = 2;
    ASSERT_EQ(Kaydet(), 0);
    EXPECT_EQ(sd.kytu, 48000);

    // A shorter input leaves the rest of the buffer as zero-filled silence.
    sd.Birak();
    sd.b.ksu = 1;
    sd.b.oc = 12;
    sahte.girdi = "abc";
    ASSERT_EQ(Kaydet(), 0);
    EXPECT_EQ(sahte.bicim.nBlockAlign, 1);
    EXPECT_EQ(sd.kytu, 12000);
    EXPECT_EQ(std::string(sd.kyt, 3), "abc");
    EXPECT_EQ(std::string(sd.kyt + 3, 11997), std::string(11997, '\0'));
}

struct Hata {
    int adim;    // SAHTE_* step that fails
    int bellek;  // or the n-th allocation that fails
    const char* mesaj;
    Adimlar adimlar;
};

TEST_F(Ses, RecordingFailuresCleanUpInReverse) {
    const Hata hatalar[] = {
        {SAHTE_AC, 0, "Ses kayıt aygıtı açılamıyor.\n", {"ac"}},
        {0, 1, "Ses kaydı için bellek ayrılamıyor.\n", {"ac", "kapat"}},
        {SAHTE_HAZIRLA, 0, "Ses kaydı için kayıt alanı hazırlanamıyor.\n", {"ac", "hazirla", "kapat"}},
        {0, 2, "Ses kaydı için bekleme olayı oluşturulamıyor.\n", {"ac", "hazirla", "coz", "kapat"}},
        {SAHTE_EKLE, 0, "Ses kayıt aygıtına yeni kayıt alanı eklenemiyor.\n",
         {"ac", "hazirla", "ekle", "coz", "kapat"}},
        {SAHTE_BASLAT, 0, "Ses kayıt aygıtı başlatılamıyor.\n",
         {"ac", "hazirla", "ekle", "baslat", "durdur", "coz", "kapat"}},
    };
    for (const Hata& h : hatalar) {
        SCOPED_TRACE(h.mesaj);
        SahteAygitKur();
        sahte.hataAdimi = h.adim;
        bellek_hata_sirasi = h.bellek;
        cikti.clear();
        EXPECT_EQ(Kaydet(), 1);
        EXPECT_EQ(cikti, h.mesaj);
        EXPECT_EQ(sahte.adimlar, h.adimlar);
        EXPECT_EQ(sd.kyt, nullptr);
        EXPECT_EQ(sd.kytu, 0);
        EXPECT_EQ(sahte.acik, 0);
        EXPECT_EQ(sahte.hazir, 0);
        bellek_hata_sirasi = 0;
    }
}

TEST_F(Ses, PlaybackPlaysTheBytesInPlace) {
    ASSERT_EQ(Kaydet(), 0);
    sahte.adimlar.clear();
    sd.b.oo = 8000;  // a changed rate plays the same bytes at the new rate
    ASSERT_EQ(Seslendir(sd.b, sd.kyt + 1000, 5000), 0);
    EXPECT_EQ(cikti, "");
    EXPECT_EQ(sahte.calinan, std::string(sd.kyt + 1000, 5000));
    EXPECT_EQ(sahte.bicim.nSamplesPerSec, 8000u);
    EXPECT_EQ(sahte.adimlar, (Adimlar{"ac", "hazirla", "ekle", "durdur", "coz", "kapat"}));
}

TEST_F(Ses, PlaybackFailuresCleanUpInReverse) {
    char veri[100] = {1, 2, 3};
    const Hata hatalar[] = {
        {SAHTE_AC, 0, "Seslendirme aygıtı açılamıyor.\n", {"ac"}},
        {SAHTE_HAZIRLA, 0, "Seslendirme için ses alanı hazırlanamıyor.\n", {"ac", "hazirla", "kapat"}},
        {0, 1, "Seslendirme için bekleme olayı oluşturulamıyor.\n", {"ac", "hazirla", "coz", "kapat"}},
        {SAHTE_EKLE, 0, "Seslendirme aygıtına veri gönderilemiyor.\n", {"ac", "hazirla", "ekle", "coz", "kapat"}},
    };
    for (const Hata& h : hatalar) {
        SCOPED_TRACE(h.mesaj);
        SahteAygitKur();
        sahte.hataAdimi = h.adim;
        bellek_hata_sirasi = h.bellek;
        cikti.clear();
        EXPECT_EQ(Seslendir(sd.b, veri, sizeof veri), 1);
        EXPECT_EQ(cikti, h.mesaj);
        EXPECT_EQ(sahte.adimlar, h.adimlar);
        EXPECT_EQ(sahte.calinan, "");
        EXPECT_EQ(sahte.acik, 0);
        EXPECT_EQ(sahte.hazir, 0);
        bellek_hata_sirasi = 0;
    }
}

// The silent device still sends opening and closing notices from its
// thread: only the done notice may end the wait, so both calls time out.
TEST_F(Ses, SilentDeviceIsGivenUp) {
    sahte.tepkisiz = true;
    ses_bekleme_siniri_ms = 300;
    const auto bas = std::chrono::steady_clock::now();
    EXPECT_EQ(Kaydet(), 1);
    EXPECT_GE(std::chrono::steady_clock::now() - bas, std::chrono::milliseconds(300));
    EXPECT_EQ(cikti, "Ses kayıt aygıtı yanıt vermiyor; kayıt yarıda kaldı.\n");
    EXPECT_EQ(sahte.adimlar, (Adimlar{"ac", "hazirla", "ekle", "baslat", "durdur", "coz", "kapat"}));
    EXPECT_EQ(sd.kyt, nullptr);

    char veri[64] = {};
    cikti.clear();
    sahte.adimlar.clear();
    EXPECT_EQ(Seslendir(sd.b, veri, sizeof veri), 1);
    EXPECT_EQ(cikti, "Seslendirme aygıtı yanıt vermiyor; seslendirme yarıda kaldı.\n");
    EXPECT_EQ(sahte.adimlar, (Adimlar{"ac", "hazirla", "ekle", "durdur", "coz", "kapat"}));
    EXPECT_EQ(sahte.calinan, "");
}

TEST_F(Ses, SettingsOutsideWorkingRangeRefusedBeforeOpening) {
    struct Ayar {
        int ks, oo, oc, ksu;
        const char* mesaj;
    };
    const Ayar ayarlar[] = {
        {1, 12000, 16, 0, "Kayıt süresi 1 ile 60 saniye arasında olmalı (şimdi 0).\n"},
        {1, 12000, 16, -3, "Kayıt süresi 1 ile 60 saniye arasında olmalı (şimdi -3).\n"},
        {1, 12000, 16, 61, "Kayıt süresi 1 ile 60 saniye arasında olmalı (şimdi 61).\n"},
        {1, 999, 16, 3, "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı (şimdi 999).\n"},
        {1, 192001, 16, 3, "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı (şimdi 192001).\n"},
        {1, INT_MIN, 16, 3, "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı (şimdi -2147483648).\n"},
        {0, 12000, 16, 3, "Kanal sayısı 1 ile 8 arasında olmalı (şimdi 0).\n"},
        {65537, 12000, 16, 3, "Kanal sayısı 1 ile 8 arasında olmalı (şimdi 65537).\n"},  // cut to 1
        {1, 12000, 7, 3, "Örnek çözünürlüğü 8 ile 32 bit arasında olmalı (şimdi 7).\n"},
        {1, 12000, 65552, 3, "Örnek çözünürlüğü 8 ile 32 bit arasında olmalı (şimdi 65552).\n"},  // cut to 16
    };
    char veri[8] = {};
    for (const Ayar& a : ayarlar) {
        SCOPED_TRACE(a.mesaj);
        KURALDOSYABASLIK& b = sd.b;
        b.ks = a.ks;
        b.oo = a.oo;
        b.oc = a.oc;
        b.ksu = a.ksu;
        cikti.clear();
        EXPECT_EQ(Kaydet(), 1);
        EXPECT_EQ(cikti, a.mesaj);
        EXPECT_EQ(sd.kyt, nullptr);
        cikti.clear();
        const bool suredenBagimsiz = a.ksu >= 1 && a.ksu <= 60;
        EXPECT_EQ(Seslendir(sd.b, veri, sizeof veri), suredenBagimsiz ? 1 : 0);
        if (suredenBagimsiz) {
            EXPECT_EQ(cikti, a.mesaj);
        }
        EXPECT_EQ(sahte.acik, 0);
    }
    // Only playback with a duration out of range reached the device.
    EXPECT_EQ(sahte.adimlar.size(), 3u * 6u);
    sd.Sifirla();
    sd.b.ksu = 60;  // the edges are inside
    sd.b.oo = 1000;
    EXPECT_EQ(Kaydet(), 0);
    EXPECT_EQ(sd.kytu, 120000);
}

TEST_F(Ses, NothingToPlayIsRefused) {
    char veri[4] = {};
    EXPECT_EQ(Seslendir(sd.b, nullptr, 0), 1);
    EXPECT_EQ(Seslendir(sd.b, nullptr, 100), 1);
    EXPECT_EQ(Seslendir(sd.b, veri, 0), 1);
    EXPECT_EQ(Seslendir(sd.b, veri, -4), 1);
    std::string beklenen;
    for (int i = 0; i < 4; i++) beklenen += "Seslendirilecek ses yok.\n";
    EXPECT_EQ(cikti, beklenen);
    EXPECT_TRUE(sahte.adimlar.empty());
}
