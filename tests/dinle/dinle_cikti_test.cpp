// Result lines, JSON objects, the meter text and the numbered takes.
#include "dinle_cikti.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>

#include "dinleyici.h"
#include "kayit_dosyasi.h"

namespace {

DINLE_SONUCU Sonuc(bool red) {
    DINLE_SONUCU t;
    t.kazananVar = true;
    t.soz = "hayır";
    t.dosya = "hayir.vlm";
    t.puan = 0.1f;
    t.reddedildi = red;
    return t;
}

}  // namespace

TEST(DinleCikti, TextLineAndJsonOfAcceptedRejectedAndUnscored) {
    SOZCE s;
    s.bas = 6000;   // 0.5 s at 12 kHz
    s.bit = 18006;  // 1.5005 s
    EXPECT_EQ(SonucSatiri(s, 12000, Sonuc(false)), "0.500\t1.500\thayır\t0.100000\thayir.vlm\n");
    EXPECT_EQ(SonucSatiri(s, 12000, Sonuc(true)), "0.500\t1.500\t\t0.100000\thayir.vlm\n");
    EXPECT_EQ(SonucSatiri(s, 12000, DINLE_SONUCU()), "0.500\t1.500\t\t1000.000000\t\n");

    const std::string j = SonucJson(s, 12000, Sonuc(false));
    ASSERT_EQ(j.back(), '\n');
    EXPECT_EQ(j.find('\n'), j.size() - 1);
    auto o = nlohmann::json::parse(j);
    EXPECT_EQ(o["baslangic"], 0.5);
    EXPECT_EQ(o["bitis"], 1.501);
    EXPECT_EQ(o["soz"], "hayır");
    EXPECT_EQ(o["dosya"], "hayir.vlm");
    EXPECT_EQ(o["reddedildi"], false);
    EXPECT_EQ(j.find("\"puan\":0.1,"), j.find("\"puan\""));  // the float's own digits
    o = nlohmann::json::parse(SonucJson(s, 12000, Sonuc(true)));
    EXPECT_EQ(o["soz"], "");
    EXPECT_EQ(o["reddedildi"], true);
    DINLE_SONUCU sonsuz;
    sonsuz.puan = std::numeric_limits<float>::infinity();
    o = nlohmann::json::parse(SonucJson(s, 12000, sonsuz));
    EXPECT_TRUE(o["puan"].is_null());
    EXPECT_EQ(o["soz"], "");
    // A word with a broken byte still gives valid JSON.
    DINLE_SONUCU bozuk = Sonuc(false);
    bozuk.soz = "a\xff";
    EXPECT_NO_THROW(nlohmann::json::parse(SonucJson(s, 12000, bozuk)));
}

TEST(DinleCikti, ControlCharactersOfTheWordAndTheFileAreShownEscaped) {
    DINLE_SONUCU t = Sonuc(false);
    t.soz = "a\x1b[2J\tb";
    t.dosya = "\a.vlm";
    EXPECT_EQ(SonucSatiri(SOZCE(), 12000, t), "0.000\t0.000\ta\\x1B[2J\\x09b\t0.100000\t\\x07.vlm\n");
}

TEST(DinleCikti, MeterFillsWithTheLevel) {
    const std::string sessiz = OlcerMetni(0, "dinliyor", 10);
    EXPECT_EQ(sessiz.substr(0, 12), "[          ]");
    EXPECT_NE(sessiz.find("dinliyor"), std::string::npos);
    const std::string tam = OlcerMetni(32767, "konuşma", 10);
    EXPECT_EQ(tam.substr(0, 12), "[##########]");
    EXPECT_NE(tam.find("0 dB"), std::string::npos);
    EXPECT_EQ(OlcerMetni(33, "x", 10).substr(0, 12), "[          ]");  // -60 dB
    EXPECT_EQ(OlcerMetni(1036, "x", 10).substr(0, 12), "[#####     ]");  // -30 dB
}

TEST(Kaydedici, NumbersGoOnAfterWhatIsThereAndTakesCarryTheirMargins) {
    char s[] = "/tmp/velmo_kayit_XXXXXX";
    const std::string kok = mkdtemp(s);
    const std::string d = kok + "/al";
    std::string ad;
    ASSERT_EQ(KayitDiziniHazirla(d), 0);  // made when missing
    EXPECT_EQ(EnBuyukKayitNumarasi(d), 0);
    std::ofstream(d + "/0007.wav") << "x";
    std::ofstream(d + "/notlar.wav") << "x";
    ASSERT_EQ(KayitDiziniHazirla(d), 0);
    EXPECT_EQ(EnBuyukKayitNumarasi(d), 7);

    // A stream of silence and one loud burst, fed in small blocks: the take
    // holds the utterance with 0.4 s before and after.
    BOLUTAYARI a;
    DINLEYICI dn(a, 0.4, true);
    std::vector<int16_t> x(12000 * 3, 0);
    for (int i = 12000; i < 12000 + 4800; i++) x[static_cast<size_t>(i)] = static_cast<int16_t>(i % 20 < 10 ? 5000 : -5000);
    std::vector<SES_PARCASI> sozler, kayitlar;
    for (size_t i = 0; i < x.size(); i += 100) dn.Besle(x.data() + i, 100, sozler, kayitlar);
    dn.Bitir(sozler, kayitlar);
    ASSERT_EQ(sozler.size(), 1u);
    ASSERT_EQ(kayitlar.size(), 1u);
    EXPECT_EQ(sozler[0].ornek.size(), static_cast<size_t>(sozler[0].s.bit - sozler[0].s.bas));
    EXPECT_EQ(kayitlar[0].bas, sozler[0].s.bas - 4800);
    EXPECT_EQ(kayitlar[0].ornek.size(), sozler[0].ornek.size() + 9600);
    EXPECT_EQ(kayitlar[0].ornek[4800], sozler[0].ornek[0]);

    ASSERT_EQ(KayitDosyasiYaz(d, "", kayitlar[0].ornek.data(), kayitlar[0].ornek.size(), 12000, &ad), 0);
    EXPECT_EQ(ad, d + "/0008.wav");
    SF_INFO bilgi{};
    SNDFILE* f = sf_open(ad.c_str(), SFM_READ, &bilgi);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(bilgi.samplerate, 12000);
    EXPECT_EQ(bilgi.channels, 1);
    EXPECT_EQ(bilgi.frames, static_cast<sf_count_t>(kayitlar[0].ornek.size()));
    std::vector<short> geri(kayitlar[0].ornek.size());
    sf_read_short(f, geri.data(), static_cast<sf_count_t>(geri.size()));
    sf_close(f);
    EXPECT_TRUE(std::equal(geri.begin(), geri.end(), kayitlar[0].ornek.begin()));
    ASSERT_EQ(KayitDosyasiYaz(d, "", x.data(), 10, 12000, &ad), 0);
    EXPECT_EQ(ad, d + "/0009.wav");
    std::system(("rm -rf '" + kok + "'").c_str());
}
