// Screen logic that the terminal journeys do not reach.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "bellek.h"
#include "dosya.h"
#include "konsol.h"
#include "menu.h"
#include "sahte_aygit.h"
#include "sifirlama.h"
#include "tanima.h"
#include "velmo.h"

namespace fs = std::filesystem;

namespace {

class Ekran : public ::testing::Test {
protected:
    std::string cikti;
    fs::path dizin, eski;
    void SetUp() override {
        eski = fs::current_path();
        char sablon[] = "/tmp/velmo-ekran-XXXXXX";
        dizin = mkdtemp(sablon);
        fs::current_path(dizin);
        KonsolTestKur("", &cikti);
        Sifirla(0);
        std::strcpy(ayr.yol, dizin.c_str());
    }
    void TearDown() override {
        Sifirla(0);
        KonsolTestBitir();
        SesAygitiKur(nullptr);
        fs::current_path(eski);
        fs::remove_all(dizin);
    }
    void Girdi(const std::string& g) {
        cikti.clear();
        KonsolTestKur(g, &cikti);
    }
    // A codebook file of s vectors of n components, all `deger`.
    void KuralDosyasi(const std::string& ad, const char* soz, int s, int n, float deger) {
        Sifirla(4);
        ayr.kdbaslik.s = s;
        ayr.kdbaslik.n = n;
        std::memset(ayr.kdbaslik.soz, 0, sizeof ayr.kdbaslik.soz);
        std::strcpy(ayr.kdbaslik.soz, soz);
        ayr.km = Calloc2B<float>(s, n, 4);
        ayr.kms = s, ayr.kmn = n;
        for (int i = 0; i < s; i++)
            for (int j = 0; j < n; j++) ayr.km[i][j] = deger;
        std::snprintf(ayr.kdad, sizeof ayr.kdad, "%s/%s", dizin.c_str(), ad.c_str());
        ASSERT_EQ(KuralDosyaKaydet(), 0);
        Sifirla(4);
    }
    // An utterance of r frames whose features are all zero, analysed with n.
    void Konusma(int r, int n) {
        Sifirla(5);
        ayr.Ci = Calloc2B<float>(r + 1, n + 1, 4);
        ayr.DelCi = Calloc2B<float>(r + 1, n + 1, 4);
        ayr.r = r;
    }
};

size_t Say(const std::string& s, const std::string& parca) {
    size_t n = 0;
    for (size_t i = s.find(parca); i != std::string::npos; i = s.find(parca, i + 1)) n++;
    return n;
}

}  // namespace

TEST_F(Ekran, BrowserWaitsForAKeyAfterEveryThirtyNames) {
    for (int i = 0; i < 31; i++) std::ofstream(dizin / ("d" + std::to_string(100 + i) + ".vlm"));
    std::ofstream(dizin / "diger.txt");
    fs::create_directory(dizin / "alt.vlm");  // directories are not listed
    Girdi("*.vlm\nKX");
    DosyaBul();
    EXPECT_NE(cikti.find(" [*.vlm] Dosya Dizelgesi\n"), std::string::npos);
    EXPECT_EQ(Say(cikti, " d1"), 31u);
    EXPECT_EQ(cikti.find("diger.txt"), std::string::npos);
    EXPECT_EQ(cikti.find("alt.vlm"), std::string::npos);
    // The 31st name comes after the key, at row 16; the key was taken.
    const size_t otuz = cikti.find(" d129.vlm"), son = cikti.find(" d130.vlm");
    ASSERT_LT(otuz, son);
    EXPECT_NE(cikti.substr(otuz, son - otuz).find("\x1b[16;2H"), std::string::npos);
    EXPECT_EQ(KarakterOku(), 'X');

    // Exactly thirty names: a key is still awaited after the thirtieth.
    fs::remove(dizin / "d130.vlm");
    Girdi("\nKX");  // an empty pattern lists every file
    DosyaBul();
    EXPECT_NE(cikti.find(" [] Dosya Dizelgesi\n"), std::string::npos);
    EXPECT_EQ(Say(cikti, " d1"), 30u);
    EXPECT_NE(cikti.find("diger.txt"), std::string::npos);
    EXPECT_EQ(KarakterOku(), 'X');
    Girdi("zzz*\n");  // no match: only the heading
    DosyaBul();
    EXPECT_EQ(Say(cikti, "\x1b[L"), 0u);
}

TEST_F(Ekran, SettingsMenuReadsValuesAsFormattedInput) {
    std::strcpy(ayr.kdbaslik.soz, "evet");
    Girdi("u\n0.5\nk\n5x\no\nabc\nd\n\n\n  7 8\nK\nf\nt\n");
    AyarlarMenu();
    EXPECT_EQ(ayr.uae, 0.5f);
    EXPECT_EQ(ayr.kdbaslik.ksu, 5);
    EXPECT_EQ(ayr.kdbaslik.oo, 12000);
    EXPECT_EQ(ayr.kdbaslik.admsu, 7);  // blank lines skipped, the rest dropped
    EXPECT_NE(cikti.find("\x1b[30;41H0.500000"), std::string::npos);
    EXPECT_NE(cikti.find("\x1b[40;1H\x1b[L>"), std::string::npos);

    Girdi("g\nt\n");
    AyarlarMenu();
    EXPECT_EQ(ayr.uae, 0.000001f);
    EXPECT_EQ(ayr.kdbaslik.ksu, 3);
    EXPECT_EQ(ayr.kdbaslik.admsu, 10);
    EXPECT_STREQ(ayr.kdbaslik.soz, "evet");
    Girdi("n\n");  // end of input at a prompt ends the menu
    AyarlarMenu();
}

TEST_F(Ekran, ScanTakesFilesInNameOrderFirstOnTiesAndNothingFromAThousand) {
    KuralDosyasi("b.vlm", "bir", 1, 10, 3.0f);
    KuralDosyasi("a.VLM", "iki", 1, 10, 3.0f);    // same score, listed first
    KuralDosyasi("c.vlm", "bin", 1, 10, 10.0f);   // exactly 1000: never shown
    KuralDosyasi("d.vlm", "uzun", 1, 12, 0.0f);   // longer vectors than the utterance
    KuralDosyasi("e.vlm.txt", "yok", 1, 10, 0.0f);
    std::ofstream(dizin / "f.vlm") << "bozuk";
    Konusma(4, 10);
    TANIMA_SONUCU enIyi;
    std::vector<TANIMA_SONUCU> hepsi;
    KuralDosyalariniTara(dizin.c_str(), 10, &enIyi, &hepsi);
    ASSERT_EQ(hepsi.size(), 3u);
    EXPECT_EQ(hepsi[0].dosya, "a.VLM");
    EXPECT_EQ(hepsi[1].dosya, "b.vlm");
    EXPECT_EQ(hepsi[2].puan, 1000.0f);
    EXPECT_EQ(enIyi.dosya, "a.VLM");
    EXPECT_STREQ(enIyi.soz, "iki");
    EXPECT_EQ(enIyi.puan, 90.0f);
    EXPECT_NE(cikti.find("d.vlm"), std::string::npos);  // named when skipped
    EXPECT_NE(cikti.find("f.vlm"), std::string::npos);
    EXPECT_STREQ(ayr.kdbaslik.soz, "bin");  // the last file read stays in force
    EXPECT_EQ(ayr.kdbayrak, 1);

    // Only the 1000 file: nothing wins. No frames: +infinity, nothing wins.
    fs::remove(dizin / "a.VLM");
    fs::remove(dizin / "b.vlm");
    KuralDosyalariniTara(dizin.c_str(), 10, &enIyi, nullptr);
    EXPECT_EQ(enIyi.puan, 1000.0f);
    EXPECT_EQ(enIyi.dosya, "");
    Konusma(0, 10);
    KuralDosyasi("a.vlm", "iki", 1, 10, 0.0f);
    KuralDosyalariniTara(dizin.c_str(), 10, &enIyi, &hepsi);
    EXPECT_TRUE(std::isinf(hepsi.back().puan));
    EXPECT_EQ(enIyi.dosya, "");
}

TEST_F(Ekran, RecognitionRecordsTwoSecondsAndRestoresTheDuration) {
    SahteAygitKur();
    ayr.kdbaslik.ksu = 5;
    Girdi("x\nt");
    KonusTanisin();
    EXPECT_EQ(sahte.bicim.nSamplesPerSec, 12000u);
    EXPECT_EQ(ayr.kytu, 48000);
    EXPECT_EQ(ayr.kdbaslik.ksu, 5);
    EXPECT_NE(cikti.find("\x1b[7;41H\x1b[K1000.000000"), std::string::npos);
    EXPECT_EQ(ayr.kdbayrak, 0);
    EXPECT_STREQ(ayr.kdad, "");
}

TEST_F(Ekran, TrainingWithoutRecordingStopsAtTheFirstFailure) {
    Girdi("e\nm\nr\nt\n");
    YeniSozcukMenu();
    EXPECT_NE(cikti.find("yöney"), std::string::npos);        // too few vectors
    EXPECT_EQ(cikti.find(">Egitme islemi basladi"), std::string::npos);
    EXPECT_EQ(cikti.find("uzaklik"), std::string::npos);
    EXPECT_FALSE(fs::exists(".txt"));
    EXPECT_EQ(ayr.km, nullptr);
}

TEST_F(Ekran, TypedNamesThatDoNotFitAreRefused) {
    const std::string uzun(300, 'a');
    Girdi("s\nçok uzun bir sözcük yazdım\ns\n日本\ns\nğüşiöç\na\n" + uzun + "\ny\n" + uzun + "\nt\n");
    YeniSozcukMenu();
    EXPECT_STREQ(ayr.kdbaslik.soz, "\xf0\xfc\xfei\xf6\xe7");  // Windows-1254 bytes
    EXPECT_STREQ(ayr.kdad, "");
    EXPECT_STREQ(ayr.yol, dizin.c_str());
    EXPECT_EQ(Say(cikti, "Sözcük"), 2u);
}
