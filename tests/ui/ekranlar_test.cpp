// Screen logic that the terminal journeys do not reach.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "bellek.h"
#include "dosya.h"
#include "kancalar.h"
#include "konsol.h"
#include "menu.h"
#include "sahte_aygit.h"
#include "asamalar.h"
#include "sifirlama.h"
#include "tanima.h"
#include "uyum.h"
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
    // The header is the record's, with s, n and the word.
    void KuralDosyasi(const std::string& ad, const char* soz, int s, int n, float deger) {
        KURALDOSYABASLIK b = ayr.kdbaslik;
        b.s = s;
        b.n = n;
        std::memset(b.soz, 0, sizeof b.soz);
        std::strcpy(b.soz, soz);
        MATRIS km;
        ASSERT_TRUE(km.Kur(s, n));
        std::fill(km.Veri(), km.Veri() + km.Oge(), deger);
        ASSERT_EQ(KuralDosyasiYaz((dizin / ad).string(), b, km), 0);
    }
    // An utterance of r frames whose features are all zero, analysed with n.
    COZUMLEME oz;
    void Konusma(int r, int n) {
        oz = COZUMLEME();
        if (r > 0) {
            ASSERT_TRUE(oz.Ci.Kur(r + 1, n + 1));
            ASSERT_TRUE(oz.DelCi.Kur(r + 1, n + 1));
        }
        oz.r = r;
    }
    // The scan of that utterance, analysed with `analiz`.
    void Tara(const KURALDOSYABASLIK& analiz, TANIMA_SONUCU* enIyi, std::vector<TANIMA_SONUCU>* hepsi,
              const std::function<void()>& satirBitti = nullptr) {
        SOYLEYIS soyleyis(nullptr, 0, analiz);
        soyleyis.CozumlemeKoy(oz);
        TARAMA_DINLEYICISI d = PuanSatirlari();
        d.satirBitti = satirBitti;
        KuralDosyalariniTara(dizin.c_str(), soyleyis, enIyi, hepsi, d);
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

// A value is one typed line, taken only when the whole of it is a number:
// blanks (and a script's CR) around it, a sign and a decimal comma are
// fine; anything else is refused in one line and changes nothing.
TEST_F(Ekran, SettingsMenuTakesAValueOnlyWhenTheWholeLineIsANumber) {
    std::strcpy(ayr.kdbaslik.soz, "evet");
    Girdi("u\n0,001\nk\n 5 \nd\n+7\r\nt\n");
    AyarlarMenu();
    EXPECT_EQ(ayr.uae, 0.001f);
    EXPECT_EQ(ayr.kdbaslik.ksu, 5);
    EXPECT_EQ(ayr.kdbaslik.admsu, 7);
    EXPECT_NE(cikti.find("\x1b[30;41H0.001000"), std::string::npos);
    EXPECT_NE(cikti.find("\x1b[40;1H\x1b[L>"), std::string::npos);
    const char* kotuler[] = {"o\n8000x\n", "o\n400abc\n", "k\n2.5\n", "k\n2,5\n", "d\n  7 8\n",
                             "d\n\n",      "u\n1.000,5\n", "u\n0,5x\n", "r\n0x10\n"};
    for (const char* kotu : kotuler) {
        Girdi(std::string(kotu) + "t\n");
        AyarlarMenu();
        EXPECT_EQ(Say(cikti, "değişmedi"), 1u) << kotu;
    }
    EXPECT_EQ(ayr.kdbaslik.oo, 12000);
    EXPECT_EQ(ayr.kdbaslik.ksu, 5);
    EXPECT_EQ(ayr.kdbaslik.admsu, 7);
    EXPECT_EQ(ayr.uae, 0.001f);
    EXPECT_EQ(ayr.thm, 1234);

    Girdi("g\nt\n");
    AyarlarMenu();
    EXPECT_EQ(ayr.uae, 0.000001f);
    EXPECT_EQ(ayr.kdbaslik.ksu, 3);
    EXPECT_EQ(ayr.kdbaslik.admsu, 10);
    EXPECT_STREQ(ayr.kdbaslik.soz, "evet");
    Girdi("n\n");  // end of input at a prompt ends the menu
    AyarlarMenu();
}

TEST_F(Ekran, EverySettingHasItsOwnLetter) {
    // A value in range for each, none of them the default.
    struct {
        char harf;
        int* alan;
        int deger;
    } ayarlar[] = {
        {'o', &ayr.kdbaslik.oo, 8000},   {'k', &ayr.kdbaslik.ksu, 5},     {'i', &ayr.kdbaslik.kpensu, 12},
        {'y', &ayr.kdbaslik.yee, 500},   {'a', &ayr.kdbaslik.aee, 100},   {'b', &ayr.kdbaslik.bsge, 7},
        {'s', &ayr.kdbaslik.pensu, 25},  {'d', &ayr.kdbaslik.admsu, 8},   {'z', &ayr.kdbaslik.m, 12},
        {'p', &ayr.kdbaslik.p, 9},       {'c', &ayr.kdbaslik.n, 13},      {'l', &ayr.kdbaslik.s, 16},
        {'r', &ayr.thm, 4321},           {'e', &ayr.eabs, 3},             {'n', &ayr.onyinl, 40},
        {'m', &ayr.yinl, 90},
    };
    std::string girdi;
    for (const auto& a : ayarlar) girdi += std::string(1, a.harf) + "\n" + std::to_string(a.deger) + "\n";
    Girdi(girdi + "u\n0.25\nt\n");
    AyarlarMenu();
    for (const auto& a : ayarlar) EXPECT_EQ(*a.alan, a.deger) << a.harf;
    EXPECT_EQ(ayr.uae, 0.25f);
    // Row 26 shows its letter "l" highlighted inside "Kural".
    EXPECT_NE(cikti.find("\x1b[26;10H\x1b[K Kural Yoneyleri Sayisi......:\x1b[93m\x1b[26;15Hl"), std::string::npos);
}

// The kind row has no letter inside its label: "(v)" follows the value, in
// the menu only; 1, 2 and 3 are taken, anything else is refused.
TEST_F(Ekran, KindRowTakesOneTwoOrThreeThroughV) {
    Girdi("v\n3\nt\n");
    AyarlarMenu();
    EXPECT_EQ(ayr.kdbaslik.tur, 3);
    EXPECT_NE(cikti.find("\x1b[6;41HKesitli LPC kural kitabi (\x1b[93mv\x1b[97m)"), std::string::npos) << cikti;
    for (const char* kotu : {"0", "4", "-1", "x"}) {
        Girdi(std::string("v\n") + kotu + "\nt\n");
        AyarlarMenu();
        EXPECT_EQ(ayr.kdbaslik.tur, 3) << kotu;
    }
    EXPECT_NE(cikti.find("Tür bir sayı olmalı; değişmedi."), std::string::npos);  // "x" is no number: said so
    Girdi("v\n4\nt\n");
    AyarlarMenu();
    EXPECT_NE(cikti.find("Tur 1, 2 ya da 3 olmali; degismedi."), std::string::npos);
    Girdi("v\n2\nv\n1\nt\n");
    AyarlarMenu();
    EXPECT_EQ(ayr.kdbaslik.tur, 1);
    EXPECT_NE(cikti.find("DeltaLPC kural kitabi (\x1b[93mv"), std::string::npos);
    // The settings menu's GeriKur keeps the kind; the read-only screen shows no letter.
    ayr.kdbaslik.tur = 3;
    Girdi("g\nt\n");
    AyarlarMenu();
    EXPECT_EQ(ayr.kdbaslik.tur, 3);
    Girdi("x");
    AyarlarEkranaGetir();
    EXPECT_NE(cikti.find("Kesitli LPC kural kitabi"), std::string::npos);
    EXPECT_EQ(cikti.find("(\x1b[93mv"), std::string::npos);
}

TEST_F(Ekran, ScanTakesFilesInNameOrderFirstOnTiesAndNothingFromAThousand) {
    KuralDosyasi("b.vlm", "bir", 1, 10, 3.0f);
    KuralDosyasi("a.VLM", "iki", 1, 10, 3.0f);    // same score, listed first
    KuralDosyasi("c.vlm", "bin", 1, 10, 10.0f);   // exactly 1000: never shown
    KuralDosyasi("d.vlm", "uzun", 1, 12, 0.0f);   // other vectors than the utterance's
    KuralDosyasi("e.vlm.txt", "yok", 1, 10, 0.0f);
    std::ofstream(dizin / "f.vlm") << "bozuk";
    Konusma(4, 10);
    KURALDOSYABASLIK analiz = ayr.kdbaslik;
    analiz.n = 10;
    TANIMA_SONUCU enIyi;
    std::vector<TANIMA_SONUCU> hepsi;
    int satir = 0;
    Tara(analiz, &enIyi, &hepsi, [&] { satir++; });
    ASSERT_EQ(hepsi.size(), 3u);
    EXPECT_EQ(satir, 5);  // three scored, the long one and the broken one
    // The scan itself moves nothing; it only clears the rows it writes.
    EXPECT_EQ(std::regex_replace(cikti, std::regex("\x1b\\[K"), "").find("\x1b["), std::string::npos);
    EXPECT_EQ(hepsi[0].dosya, "a.VLM");
    EXPECT_EQ(hepsi[1].dosya, "b.vlm");
    EXPECT_EQ(hepsi[2].puan, 1000.0f);
    EXPECT_EQ(enIyi.dosya, "a.VLM");
    EXPECT_STREQ(enIyi.soz, "iki");
    EXPECT_EQ(enIyi.puan, 90.0f);
    EXPECT_NE(cikti.find("d.vlm: çözümleme ayarı farklı (LPC/DeltaLPC Yöney Boyutu dosyada 12, çözümlemede 10)"),
              std::string::npos);
    EXPECT_NE(cikti.find("f.vlm"), std::string::npos);

    // Only the 1000 file: nothing wins. No frames: +infinity, nothing wins.
    fs::remove(dizin / "a.VLM");
    fs::remove(dizin / "b.vlm");
    Tara(analiz, &enIyi, nullptr);
    EXPECT_EQ(enIyi.puan, 1000.0f);
    EXPECT_EQ(enIyi.dosya, "");
    Konusma(0, 10);
    KuralDosyasi("a.vlm", "iki", 1, 10, 0.0f);
    Tara(analiz, &enIyi, &hepsi);
    EXPECT_TRUE(std::isinf(hepsi.back().puan));
    EXPECT_EQ(enIyi.dosya, "");
}

TEST_F(Ekran, ScanSkipsCodebooksOfAnotherAnalysisNamingTheFirstDifference) {
    const KURALDOSYABASLIK analiz = ayr.kdbaslik;
    struct {
        const char* ad;
        int KURALDOSYABASLIK::*alan;
        int deger;
        const char* fark;
    } durumlar[] = {
        {"oo.vlm", &KURALDOSYABASLIK::oo, 8000, "Örnekleme Oranı dosyada 8000, çözümlemede 12000"},
        {"kpensu.vlm", &KURALDOSYABASLIK::kpensu, 20, "(Örke/Sıfır Geçiş) Kısa Pencere Süresi dosyada 20, çözümlemede 10"},
        {"pensu.vlm", &KURALDOSYABASLIK::pensu, 30, "(LPC/DeltaLPC) Kısa Pencere Süresi dosyada 30"},
        {"admsu.vlm", &KURALDOSYABASLIK::admsu, 5, "Adım Süresi dosyada 5"},
        {"m.vlm", &KURALDOSYABASLIK::m, 12, "Özbağlılaşım Derecesi dosyada 12"},
        {"n.vlm", &KURALDOSYABASLIK::n, 16, "Yöney Boyutu dosyada 16"},
        {"p.vlm", &KURALDOSYABASLIK::p, 8, "Süzgeç Derecesi dosyada 8"},
    };
    for (const auto& d : durumlar) {
        ayr.kdbaslik = analiz;
        ayr.kdbaslik.*d.alan = d.deger;
        KuralDosyasi(d.ad, "yanlis", 2, ayr.kdbaslik.n, 0.0f);
    }
    // Two differences: the first in the header's order is named.
    ayr.kdbaslik = analiz;
    ayr.kdbaslik.admsu = 7;
    ayr.kdbaslik.p = 3;
    KuralDosyasi("ikisi.vlm", "yanlis", 2, 15, 0.0f);
    // Thresholds, duration, word and kind 2 belong to no analysis difference.
    ayr.kdbaslik = analiz;
    ayr.kdbaslik.yee = 1;
    ayr.kdbaslik.aee = 2;
    ayr.kdbaslik.bsge = 3;
    ayr.kdbaslik.ksu = 9;
    ayr.kdbaslik.tur = 2;
    KuralDosyasi("uygun.vlm", "uygun", 2, 15, 1.0f);
    ayr.kdbaslik = analiz;
    Konusma(4, 15);
    TANIMA_SONUCU enIyi;
    std::vector<TANIMA_SONUCU> hepsi;
    Tara(analiz, &enIyi, &hepsi);
    ASSERT_EQ(hepsi.size(), 1u);
    EXPECT_EQ(enIyi.dosya, "uygun.vlm");
    for (const auto& d : durumlar) {
        const size_t satir = cikti.find("/" + std::string(d.ad) + ": çözümleme ayarı farklı (");
        ASSERT_NE(satir, std::string::npos) << d.ad;
        EXPECT_NE(cikti.substr(satir, cikti.find('\n', satir) - satir).find(d.fark), std::string::npos) << d.ad;
    }
    EXPECT_NE(cikti.find("ikisi.vlm: çözümleme ayarı farklı (Adım Süresi dosyada 7"), std::string::npos);
    EXPECT_EQ(cikti.find("uygun.vlm: "), std::string::npos);

    // A kind no analysis of this program makes is never scored.
    KURALDOSYABASLIK b = analiz;
    b.tur = 7;
    EXPECT_EQ(CozumlemeFarki(b, analiz), "Tür dosyada 7, çözümlemede 1");
    b.tur = 2;
    EXPECT_EQ(CozumlemeFarki(b, analiz), "");
    // Kind 3 finds its end points its own way: it fits only a kind-3 analysis.
    b.tur = 3;
    EXPECT_EQ(CozumlemeFarki(b, analiz), "Tür dosyada 3, çözümlemede 1");
    EXPECT_EQ(CozumlemeFarki(analiz, b), "Tür dosyada 1, çözümlemede 3");
    KURALDOSYABASLIK a3 = analiz;
    a3.tur = 3;
    EXPECT_EQ(CozumlemeFarki(b, a3), "");
}

TEST_F(Ekran, RecognitionRecordsTwoSecondsAndRestoresTheDuration) {
    SahteAygitKur();
    ayr.kdbaslik.ksu = 5;
    std::ofstream(dizin / "a.vlm") << "bozuk";  // something to scan for
    Girdi("x\nt");
    KonusTanisin();
    EXPECT_EQ(sahte.bicim.nSamplesPerSec, 12000u);
    EXPECT_EQ(ayr.kytu, 48000);
    EXPECT_EQ(ayr.kdbaslik.ksu, 5);
    // A silent take: the score row is cleared, no score shown.
    EXPECT_NE(cikti.find("\x1b[7;41H\x1b[K\x1b[8;41H"), std::string::npos);
    EXPECT_EQ(ayr.kdbayrak, 0);
    EXPECT_STREQ(ayr.kdad, "");
}

TEST_F(Ekran, TrainingWithoutRecordingStopsAtTheFirstFailure) {
    Girdi("e\nm\nr\nt\n");
    YeniSozcukMenu();
    EXPECT_NE(cikti.find("Önce konuşun (k)."), std::string::npos);  // nothing recorded
    EXPECT_EQ(cikti.find(">Egitme islemi basladi"), std::string::npos);
    EXPECT_EQ(cikti.find("uzaklik"), std::string::npos);
    EXPECT_FALSE(fs::exists(".txt"));
    EXPECT_TRUE(ayr.km.Bos());
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

TEST_F(Ekran, ScanSkipsHugeOrUnallocatableCodebooksAndGoesOn) {
    KuralDosyasi("b.vlm", "bir", 1, 10, 3.0f);
    KuralDosyasi("c.vlm", "iki", 1, 10, 2.0f);
    // A sparse file claiming five million codewords, as long as it says.
    {
        std::ifstream g(dizin / "b.vlm", std::ios::binary);
        std::string baslik(88, '\0');
        g.read(&baslik[0], 88);
        const int32_t s = 5000000;
        std::memcpy(&baslik[84], &s, 4);
        std::ofstream(dizin / "a.vlm", std::ios::binary) << baslik;
        fs::resize_file(dizin / "a.vlm", 88 + 4ull * 10 * s);
    }
    Konusma(4, 10);
    KURALDOSYABASLIK analiz = ayr.kdbaslik;
    analiz.n = 10;
    TANIMA_SONUCU enIyi;
    std::vector<TANIMA_SONUCU> hepsi;
    Tara(analiz, &enIyi, &hepsi);
    ASSERT_EQ(hepsi.size(), 2u);
    EXPECT_EQ(enIyi.dosya, "c.vlm");
    EXPECT_EQ(Say(cikti, "a.vlm"), 1u);

    // The codebook of the first file cannot be allocated: skipped, not the end.
    fs::remove(dizin / "a.vlm");
    cikti.clear();
    hepsi.clear();
    bellek_hata_sirasi = 1;
    Tara(analiz, &enIyi, &hepsi);
    bellek_hata_sirasi = 0;
    ASSERT_EQ(hepsi.size(), 1u);
    EXPECT_EQ(hepsi[0].dosya, "c.vlm");
    EXPECT_EQ(Say(cikti, "b.vlm"), 1u);
}

TEST_F(Ekran, NewWordRefusesEveryExistingNameWithoutOpeningIt) {
    ASSERT_EQ(mkfifo("boru.vlm", 0600), 0);  // opening it to read would block
    ASSERT_EQ(symlink("yok", "bag.vlm"), 0);  // points nowhere, yet exists
    fs::create_directory("alt.vlm");
    std::ofstream("kapali.vlm") << "x";
    fs::permissions("kapali.vlm", fs::perms::none);
    alarm(10);
    for (const char* ad : {"boru.vlm", "bag.vlm", "alt.vlm", "kapali.vlm"}) {
        std::strcpy(ayr.kdad, "onceki");
        Girdi(std::string("a\n") + ad + "\nt\n");
        YeniSozcukMenu();
        EXPECT_STREQ(ayr.kdad, "") << ad;
    }
    Girdi("a\nyeni.vlm\nt\n");
    YeniSozcukMenu();
    alarm(0);
    EXPECT_EQ(ayr.kdad, (dizin / "yeni.vlm").string());
}

namespace {

// A codebook of word `soz` in memory, to be saved as `ad` of the directory.
void Bellekte(const fs::path& dizin, const char* ad, const char* soz) {
    Sifirla(4);
    ayr.kdbaslik.s = 2;
    ayr.kdbaslik.n = 3;
    ayr.km.Kur(2, 3);
    ayr.km[1][2] = 5.0f;
    std::memset(ayr.kdbaslik.soz, 0, sizeof ayr.kdbaslik.soz);
    std::strcpy(ayr.kdbaslik.soz, soz);
    std::snprintf(ayr.kdad, sizeof ayr.kdad, "%s/%s", dizin.c_str(), ad);
}

std::string Icerik(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

}  // namespace

TEST_F(Ekran, NewWordNeverReplacesAFileThatAppearedAfterItsNameWasAccepted) {
    Girdi("a\nyeni.vlm\nt\n");
    YeniSozcukMenu();
    ASSERT_EQ(ayr.kdad, (dizin / "yeni.vlm").string());
    std::ofstream("yeni.vlm") << "baskasinin";
    const std::string kdad = ayr.kdad;
    Bellekte(dizin, "yeni.vlm", "evet");
    ayr.kdbayrak = 0;
    Girdi("r\nt\n");
    YeniSozcukMenu();
    EXPECT_EQ(Icerik("yeni.vlm"), "baskasinin");
    EXPECT_FALSE(fs::exists("yeni.vlm.txt"));
    EXPECT_NE(cikti.find("yeni.vlm zaten var; üzerine yazılmadı."), std::string::npos);
    EXPECT_EQ(ayr.kdbayrak, 0);

    // Once saved there, later saves of the same menu replace it.
    fs::remove("yeni.vlm");
    Girdi("r\nr\nt\n");
    YeniSozcukMenu();
    EXPECT_EQ(fs::file_size("yeni.vlm"), 88u + 24u);
    EXPECT_EQ(ayr.kdbayrak, 1);
    EXPECT_EQ(cikti.find("zaten var"), std::string::npos);
}

TEST_F(Ekran, SavingOverTheFileOfAnotherWordAsksFirst) {
    Bellekte(dizin, "evet.vlm", "evet");
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    const std::string evet = Icerik("evet.vlm");
    // The menu entered again with the name still chosen: a new word trained.
    Bellekte(dizin, "evet.vlm", "hay\xfdr");
    ayr.kdbayrak = 1;
    for (const char* cevap : {"H\n", "\n", "hayir\n", ""}) {  // "" : end of input
        Girdi(std::string("r\n") + cevap + "t\n");
        if (*cevap == '\0') Girdi("r\n");
        YeniSozcukMenu();
        EXPECT_NE(cikti.find("dosyasında \"evet\" sözcüğü var; üzerine yazılsın mı? (E/H)"), std::string::npos);
        EXPECT_NE(cikti.find("evet.vlm korundu"), std::string::npos);
        EXPECT_EQ(Icerik("evet.vlm"), evet) << cevap;
    }
    Girdi("r\nE\nt\n");
    EskiSozcukMenu();
    KURALDOSYABASLIK b;
    MATRIS km;
    ASSERT_EQ(KuralDosyasiOku("evet.vlm", &b, &km), KDOKU_TAMAM);
    EXPECT_STREQ(b.soz, "hay\xfdr");
    EXPECT_TRUE(fs::exists("evet.vlm.txt"));

    // The same word: saved without a question.
    ayr.km[0][0] = 1.0f;
    Girdi("r\nt\n");
    YeniSozcukMenu();
    EXPECT_EQ(cikti.find("(E/H)"), std::string::npos);
    EXPECT_NE(Icerik("evet.vlm"), evet);
}

TEST_F(Ekran, TrainingAfterASaveContinuesFromTheCodebook) {
    // In the new-word menu, "egit" starts afresh until the codebook has
    // been saved; after that it trains on from the saved one.
    Bellekte(dizin, "yeni.vlm", "yeni");
    ayr.kdbayrak = 1;
    Girdi("e\nt\n");
    YeniSozcukMenu();
    EXPECT_FALSE(ayr.km.Bos());
    ayr.kdbayrak = 0;
    Girdi("e\nt\n");
    YeniSozcukMenu();
    EXPECT_TRUE(ayr.km.Bos());
}

TEST_F(Ekran, ControlCharactersOfWordsAndNamesAreShownEscaped) {
    // A word that would set the terminal's title, in a file whose name
    // would clear the screen.
    const char* soz = "a\x1b]0;x\x07";
    KuralDosyasi("b\x1b[2J.vlm", soz, 1, 10, 3.0f);
    Konusma(4, 10);
    KURALDOSYABASLIK analiz = ayr.kdbaslik;
    analiz.n = 10;
    TANIMA_SONUCU enIyi;
    Tara(analiz, &enIyi, nullptr);
    EXPECT_NE(cikti.find("a\\x1B]0;x\\x07\t\t"), std::string::npos);
    EXPECT_EQ(cikti.find("\x1b]"), std::string::npos);

    Girdi(std::string("a\nb\x1b[2J.vlm\n\nt\n"));
    EskiSozcukMenu();
    EXPECT_STREQ(ayr.kdbaslik.soz, soz);
    EXPECT_NE(cikti.find("a\\x1B]0;x\\x07"), std::string::npos);
    EXPECT_NE(cikti.find("b\\x1B[2J.vlm"), std::string::npos);
    EXPECT_EQ(cikti.find("\x1b]"), std::string::npos);
    EXPECT_EQ(cikti.find("b\x1b[2J.vlm"), std::string::npos);

    // A typed word with a control character is refused.
    Girdi("s\nev\x1b" "et\ns\nev\tet\nt\n");
    YeniSozcukMenu();
    EXPECT_STREQ(ayr.kdbaslik.soz, soz);
    EXPECT_EQ(Say(cikti, "denetim karakteri"), 2u);
}
