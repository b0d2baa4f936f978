// What the screens tell a person at the microphone: command letters in either
// case, when to speak and how loud it was, what a training result means, why a
// typed setting was refused, and what the recognition screen looked at.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "konsol.h"
#include "konusma.h"
#include "menu.h"
#include "sahte_aygit.h"
#include "sifirlama.h"
#include "velmo.h"

namespace fs = std::filesystem;

namespace {

class Mikrofon : public ::testing::Test {
protected:
    std::string cikti;
    fs::path dizin, eski;
    void SetUp() override {
        eski = fs::current_path();
        char sablon[] = "/tmp/velmo-mikrofon-XXXXXX";
        dizin = mkdtemp(sablon);
        fs::current_path(dizin);
        KonsolTestKur("", &cikti, true);
        Sifirla(0);
        std::strcpy(ayr.yol, dizin.c_str());
        SahteAygitKur();
    }
    void TearDown() override {
        KayitlarDiziniKur("");
        Sifirla(0);
        KonsolTestBitir();
        SesAygitiKur(nullptr);
        fs::current_path(eski);
        fs::remove_all(dizin);
    }
    // Runs a screen on `girdi`; its output as plain text lines.
    void Ekran(void (*ekran)(), const std::string& girdi) {
        cikti.clear();
        KonsolTestKur(girdi, &cikti, true);
        ekran();
    }
    bool Var(const std::string& parca) const { return cikti.find(parca) != std::string::npos; }
};

// 16-bit samples of the given value, `n` of them, for the device to hear.
std::string Ornekler(int deger, int n) {
    std::string s;
    for (int i = 0; i < n; i++) {
        const int x = i % 2 ? -deger : deger;
        s.push_back(static_cast<char>(x & 0xFF));
        s.push_back(static_cast<char>((x >> 8) & 0xFF));
    }
    return s;
}

// Three seconds at 12000 Hz: faint noise, and from 0.5 s to 1.5 s a loud
// vowel-like sound (two harmonics under a smooth swell) with the noise on it.
std::string Konusma() {
    std::string s;
    unsigned tohum = 12345;
    for (int i = 0; i < 36000; i++) {
        tohum = tohum * 1103515245u + 12345u;
        double x = static_cast<double>((tohum >> 16) % 201) - 100.0;
        if (i >= 6000 && i < 18000) {
            const double t = (i - 6000) / 12000.0;
            const double zarf = std::sin(M_PI * t);
            x += zarf * (9000.0 * std::sin(2 * M_PI * 220.0 * i / 12000.0) +
                         4000.0 * std::sin(2 * M_PI * 1100.0 * i / 12000.0 + t * 7.0));
        }
        const int v = static_cast<int>(std::lround(x));
        s.push_back(static_cast<char>(v & 0xFF));
        s.push_back(static_cast<char>((v >> 8) & 0xFF));
    }
    return s;
}

}  // namespace

TEST_F(Mikrofon, UpperCaseLettersActAsTheirLowerCaseCommands) {
    Ekran(AyarlarMenu, "K\n7\nU\n0.25\nG\nK\n4\nT\n");
    EXPECT_EQ(ayr.kdbaslik.ksu, 4);   // "G" put 7 back to 3 before "K" made it 4
    EXPECT_EQ(ayr.uae, 0.000001f);
    Ekran(YeniSozcukMenu, "S\nevet\nT\n");
    EXPECT_STREQ(ayr.kdbaslik.soz, "evet");
    // "T" leaves the recognition screen without recording.
    Ekran(KonusTanisin, "T");
    EXPECT_TRUE(sahte.adimlar.empty());
}

TEST_F(Mikrofon, RecordingSaysWhenToSpeakAndHowLoudItWas) {
    sahte.girdi = Ornekler(16384, 2000);  // half of full scale: -6.0 dBFS
    Ekran(YeniSozcukMenu, "k\nt\n");
    EXPECT_TRUE(Var("Konuşun (3 s)…\nKayıt bitti. Tepe düzeyi: -6.0 dBFS\n")) << cikti;
    EXPECT_FALSE(Var("zayıf"));
    EXPECT_FALSE(Var("kaldı"));  // a pipe gets no count that redraws itself
    EXPECT_FALSE(Var("\x1b"));
    // The recognition screen's own duration is the one announced.
    ayr.kdbaslik.ksu = 5;
    std::ofstream(dizin / "a.vlm") << "bozuk";  // something to scan for
    Ekran(KonusTanisin, "xt");
    EXPECT_TRUE(Var("Konuşun (2 s)…\nKayıt bitti. Tepe düzeyi: -6.0 dBFS\n")) << cikti;
}

TEST_F(Mikrofon, AWeakRecordingAsksToCheckTheMicrophone) {
    sahte.girdi = Ornekler(300, 2000);  // -40.8 dBFS
    Ekran(YeniSozcukMenu, "k\nt\n");
    EXPECT_TRUE(Var("Kayıt bitti. Tepe düzeyi: -40.8 dBFS\nSes çok zayıf: mikrofonu denetleyin.\n")) << cikti;
    // -39.7 dBFS: kind 1's fixed high threshold is out of reach, kind 3's
    // follows the level.
    sahte.girdi = Ornekler(340, 2000);
    Ekran(YeniSozcukMenu, "k\nt\n");
    EXPECT_TRUE(Var("Tepe düzeyi: -39.7 dBFS\nSes çok zayıf: Yüksek Örke Eşiği'ne (375) ulaşmıyor")) << cikti;
    ayr.kdbaslik.tur = 3;
    Ekran(YeniSozcukMenu, "k\nt\n");
    EXPECT_TRUE(Var("Tepe düzeyi: -39.7 dBFS\n"));
    EXPECT_FALSE(Var("zayıf"));
    ayr.kdbaslik.tur = 1;
    sahte.girdi.clear();  // nothing at all
    Ekran(YeniSozcukMenu, "k\nt\n");
    EXPECT_TRUE(Var("Tepe düzeyi: -inf dBFS\nSes çok zayıf"));
    // A recording that could not be made says nothing about its level.
    sahte.hataAdimi = SAHTE_AC;
    Ekran(YeniSozcukMenu, "k\nt\n");
    EXPECT_FALSE(Var("Konuşun"));
    EXPECT_FALSE(Var("Kayıt bitti"));
    EXPECT_TRUE(Var("Ses kayıt aygıtı açılamıyor."));
}

TEST_F(Mikrofon, OnATerminalTheSecondsLeftAreRedrawnInPlaceAndErased) {
    sahte.girdi = Ornekler(16384, 2000);
    cikti.clear();
    KonsolTestKur("k\nt\n", &cikti, false);
    YeniSozcukMenu();
    // Position saved behind the prompt, the count written there, and the
    // count erased before the line ends.
    EXPECT_TRUE(Var("Konuşun (3 s)…\x1b" "7\x1b" "8 3 s kaldı\x1b[K")) << cikti;
    EXPECT_TRUE(Var("\x1b" "8\x1b[K\n\x1b[KKayıt bitti."));
}

TEST_F(Mikrofon, TrainingSaysWhatItMadeAndThatAReTrainRefinesTheSavedCodebook) {
    // Nothing recorded yet: asked to speak first, nothing else runs.
    Ekran(YeniSozcukMenu, "e\nt\n");
    EXPECT_TRUE(Var("Önce konuşun (k).\n"));
    EXPECT_FALSE(Var("yöney"));
    EXPECT_FALSE(Var(">Egitme islemi basladi"));

    sahte.girdi = Konusma();
    Ekran(YeniSozcukMenu, "a\nbir.vlm\nk\ne\nr\nt\n");
    ASSERT_GT(ayr.oz.r, ayr.kdbaslik.s) << cikti;
    // The summary repeats the score just printed, with the frames and codewords.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(cikti, m, std::regex("uzaklik:([0-9.]+)\n10 kural yöneyi ([0-9]+) çerçeveden "
                                                       "eğitildi; uzaklik:([0-9.]+)\n")))
        << cikti;
    EXPECT_EQ(m[1], m[3]);
    EXPECT_EQ(std::stoi(m[2]), ayr.oz.r);
    EXPECT_FALSE(Var("geliştiriliyor"));  // a new codebook is not a refinement
    EXPECT_EQ(ayr.kdbayrak, 1);

    // Saved, then trained again from the same take: the saved codebook is
    // refined, and the line says so before the stage's own reset line.
    Ekran(YeniSozcukMenu, "e\nt\n");
    const size_t gelistir = cikti.find("Kayıtlı kural kitabı geliştiriliyor.\n");
    ASSERT_NE(gelistir, std::string::npos) << cikti;
    EXPECT_LT(gelistir, cikti.find(">Kural kitabi sifirlandi"));
    EXPECT_TRUE(Var(" çerçeveden eğitildi; uzaklik:"));

    // Scoring without training asks for a take too once it is gone.
    Sifirla(1);
    Ekran(YeniSozcukMenu, "m\nt\n");
    EXPECT_TRUE(Var("Önce konuşun (k).\n"));
    EXPECT_FALSE(Var("uzaklik"));
}

TEST_F(Mikrofon, AFailedTrainingNamesTheSettingToChange) {
    // A second of speech gives about a hundred frames: too few for 150 codewords.
    sahte.girdi = Konusma();
    ayr.kdbaslik.s = 150;
    Ekran(YeniSozcukMenu, "k\ne\nt\n");
    EXPECT_TRUE(ayr.km.Bos());
    EXPECT_TRUE(Var("(150)")) << cikti;
}

TEST_F(Mikrofon, RecognitionNamesItsDirectoryAndSaysWhenThereIsNothingToShow) {
    // No codebook in the directory: said at once, nothing recorded, no score.
    Ekran(KonusTanisin, "xt");
    EXPECT_TRUE(Var("Taranan dizin: " + dizin.string() + "\n")) << cikti;
    EXPECT_TRUE(Var("Bu dizinde kural dosyası (.vlm) yok.\n"));
    EXPECT_FALSE(Var("1000.000000"));
    EXPECT_FALSE(Var("Konuşun"));
    EXPECT_TRUE(sahte.adimlar.empty());

    sahte.girdi = Konusma();
    Ekran(YeniSozcukMenu, "s\nbir\na\nbir.vlm\nk\ne\nr\nt\n");
    ASSERT_TRUE(fs::exists(dizin / "bir.vlm")) << cikti;
    // A take with speech: the word of the file wins and is shown.
    Ekran(KonusTanisin, "xt");
    EXPECT_TRUE(Var("Taranan dizin: " + dizin.string() + "\n"));
    EXPECT_TRUE(Var("uzaklik:"));
    EXPECT_TRUE(Var("bir.vlm\n")) << cikti;
    EXPECT_FALSE(Var("konuşma bulunamadı"));
    // A take of silence: said, and no word, score or file shown.
    sahte.girdi.clear();
    Ekran(KonusTanisin, "xt");
    EXPECT_TRUE(Var("Kayıtta konuşma bulunamadı; sözcük gösterilmiyor.\n")) << cikti;
    EXPECT_FALSE(Var("uzaklik:"));
    EXPECT_FALSE(Var("1000.000000"));
    EXPECT_FALSE(Var("bir.vlm"));
}

namespace {

// The samples of a WAV file as 16-bit little-endian bytes, after checking
// that it is 16-bit mono at 12000 Hz; "" when it cannot be read.
std::string WavOrnekleri(const fs::path& yol) {
    SF_INFO bilgi{};
    SNDFILE* f = sf_open(yol.c_str(), SFM_READ, &bilgi);
    if (f == nullptr) return "";
    std::string s;
    if (bilgi.channels == 1 && bilgi.samplerate == 12000 && bilgi.format == (SF_FORMAT_WAV | SF_FORMAT_PCM_16)) {
        s.resize(static_cast<size_t>(bilgi.frames) * 2);
        if (sf_read_short(f, reinterpret_cast<short*>(s.data()), bilgi.frames) != bilgi.frames) s.clear();
    }
    sf_close(f);
    return s;
}

}  // namespace

TEST_F(Mikrofon, EveryTakeIsKeptAsANumberedWavFileWhenADirectoryIsSet) {
    sahte.girdi = Konusma();
    // No directory: nothing kept, nothing said.
    Ekran(YeniSozcukMenu, "k\nt\n");
    EXPECT_FALSE(Var("saklandı"));
    const fs::path kayitlar = dizin / "kayitlar";
    fs::create_directory(kayitlar);
    KayitlarDiziniKur(kayitlar.string());
    // A training take is labelled with the word (typed in UTF-8, kept in
    // Windows-1254, named in UTF-8 again); a recognition take is not.
    Ekran(YeniSozcukMenu, "s\nşeker\na\nseker.vlm\nk\ne\nr\nt\n");
    const fs::path egitim = kayitlar / "0001-şeker.wav";
    EXPECT_TRUE(Var("Kayıt saklandı: " + egitim.string() + "\n")) << cikti;
    EXPECT_LT(cikti.find("Kayıt bitti."), cikti.find("Kayıt saklandı"));
    EXPECT_EQ(WavOrnekleri(egitim), sahte.girdi);  // the whole three seconds
    ASSERT_TRUE(fs::exists(dizin / "seker.vlm")) << cikti;
    Ekran(KonusTanisin, "xt");
    EXPECT_TRUE(Var("seker.vlm\n")) << cikti;
    EXPECT_EQ(WavOrnekleri(kayitlar / "0002.wav"), sahte.girdi.substr(0, 2 * 24000));  // two seconds

    // A take that cannot be kept says so in one line and is used all the
    // same: the training after it still runs.
    fs::remove_all(kayitlar);
    Ekran(YeniSozcukMenu, "k\ne\nt\n");
    const size_t hata = cikti.find("Kayıt dosyaya yazılamadı: " + kayitlar.string() + "/0001");
    ASSERT_NE(hata, std::string::npos) << cikti;
    EXPECT_EQ(cikti.find("Kayıt dosyaya yazılamadı", hata + 1), std::string::npos);
    EXPECT_FALSE(Var("saklandı"));
    EXPECT_TRUE(Var(" çerçeveden eğitildi; uzaklik:")) << cikti;
}

// A typed value outside the range the stages accept, or no number at all, is
// refused with one line; the field keeps its value. Both ends are taken.
TEST_F(Mikrofon, TheSettingsMenuRefusesWhatTheStagesWouldRefuse) {
    const struct {
        const char* girdi;
        const char* satir;
        int* alan;
    } retler[] = {
        {"o\n500\n", "Örnekleme Oranı 1000–192000 Hz olmalı; değişmedi.\n", &ayr.kdbaslik.oo},
        {"o\n192001\n", "Örnekleme Oranı 1000–192000 Hz olmalı; değişmedi.\n", &ayr.kdbaslik.oo},
        {"k\n0\n", "Kayıt Süresi 1–60 s olmalı; değişmedi.\n", &ayr.kdbaslik.ksu},
        {"k\n99999999999\n", "Kayıt Süresi 1–60 s olmalı; değişmedi.\n", &ayr.kdbaslik.ksu},
        {"i\n0\n", "(Örke/Sıfır Geçiş) Kısa Pencere Süresi en az 1 ms olmalı; değişmedi.\n", &ayr.kdbaslik.kpensu},
        {"s\n101\n", "(LPC/DeltaLPC) Kısa Pencere Süresi 1–100 ms olmalı; değişmedi.\n", &ayr.kdbaslik.pensu},
        {"d\n-5\n", "Adım Süresi en az 1 ms olmalı; değişmedi.\n", &ayr.kdbaslik.admsu},
        {"b\n-1\n", "Başlangıç Sıfır Geçiş Eşiği en az 0 olmalı; değişmedi.\n", &ayr.kdbaslik.bsge},
        {"c\n100\n", "LPC/DeltaLPC Yöney Boyutu 1–99 olmalı; değişmedi.\n", &ayr.kdbaslik.n},
        {"p\n0\n", "LPC Süzgeç Derecesi 1–100 olmalı; değişmedi.\n", &ayr.kdbaslik.p},
        {"z\n101\n", "Özbağlılaşım Derecesi 1–100 olmalı; değişmedi.\n", &ayr.kdbaslik.m},
        {"l\n32767\n", "Kural Yöneyleri Sayısı 1–32766 olmalı; değişmedi.\n", &ayr.kdbaslik.s},
        {"e\n-1\n", "En Az Bölge Sayısı en az 0 olmalı; değişmedi.\n", &ayr.eabs},
        {"n\n0\n", "Ön Yineleme Sayısı en az 1 olmalı; değişmedi.\n", &ayr.onyinl},
        {"m\n-1\n", "Yineleme Sayısı en az 0 olmalı; değişmedi.\n", &ayr.yinl},
        {"k\nabc\n", "Kayıt Süresi bir sayı olmalı; değişmedi.\n", &ayr.kdbaslik.ksu},
        {"k\n2,5\n", "Kayıt Süresi bir tam sayı olmalı; değişmedi.\n", &ayr.kdbaslik.ksu},
        // Beyond what an int holds: the range it can.
        {"i\n3000000000\n", "(Örke/Sıfır Geçiş) Kısa Pencere Süresi 1–2147483647 ms olmalı; değişmedi.\n",
         &ayr.kdbaslik.kpensu},
        {"r\n-99999999999\n", "Rasgelelik Tohumu -2147483648–2147483647 olmalı; değişmedi.\n", &ayr.thm},
        {"r\n-\n", "Rasgelelik Tohumu bir sayı olmalı; değişmedi.\n", &ayr.thm},
        {"v\nx\n", "Tür bir sayı olmalı; değişmedi.\n", &ayr.kdbaslik.tur},
    };
    for (const auto& r : retler) {
        const int once = *r.alan;
        Ekran(AyarlarMenu, std::string(r.girdi) + "t\n");
        EXPECT_EQ(*r.alan, once) << r.girdi;
        EXPECT_TRUE(Var(r.satir)) << r.girdi << cikti;
        EXPECT_EQ(cikti.find("değişmedi"), cikti.rfind("değişmedi")) << "one line";
    }
    // The distortion threshold: negative and infinite values are refused.
    for (const char* kotu : {"-0.5", "1e99"}) {
        Ekran(AyarlarMenu, std::string("u\n") + kotu + "\nt\n");
        EXPECT_EQ(ayr.uae, 0.000001f) << kotu;
        EXPECT_TRUE(Var("Uzaklık Sınırı en az 0 olmalı; değişmedi.\n")) << kotu;
    }
    Ekran(AyarlarMenu, "u\nabc\nt\n");
    EXPECT_TRUE(Var("Uzaklık Sınırı bir sayı olmalı; değişmedi.\n"));
    // The ends themselves are taken, and nothing is said.
    Ekran(AyarlarMenu, "o\n1000\nk\n60\ns\n100\nc\n99\np\n1\nz\n1\nl\n32766\nn\n1\nm\n0\nu\n0\nt\n");
    EXPECT_FALSE(Var("olmalı"));
    EXPECT_EQ(ayr.kdbaslik.oo, 1000);
    EXPECT_EQ(ayr.kdbaslik.ksu, 60);
    EXPECT_EQ(ayr.kdbaslik.pensu, 100);
    EXPECT_EQ(ayr.kdbaslik.n, 99);
    EXPECT_EQ(ayr.kdbaslik.m, 1);
    EXPECT_EQ(ayr.kdbaslik.s, 32766);
    EXPECT_EQ(ayr.onyinl, 1);
    EXPECT_EQ(ayr.yinl, 0);
    EXPECT_EQ(ayr.uae, 0.0f);
    // End of input at a prompt: nothing said, the menu ends.
    Ekran(AyarlarMenu, "k\n");
    EXPECT_FALSE(Var("değişmedi"));
}

// The high energy threshold never below the low one, whichever is typed.
TEST_F(Mikrofon, TheHighEnergyThresholdStaysAboveTheLowOne) {
    Ekran(AyarlarMenu, "y\n199\na\n376\nt\n");
    EXPECT_EQ(ayr.kdbaslik.yee, 375);
    EXPECT_EQ(ayr.kdbaslik.aee, 200);
    EXPECT_TRUE(Var("Yüksek Örke Eşiği, Alçak Örke Eşiği'nden (200) küçük olamaz; değişmedi.\n")) << cikti;
    EXPECT_TRUE(Var("Alçak Örke Eşiği, Yüksek Örke Eşiği'nden (375) büyük olamaz; değişmedi.\n"));
    // Equal is fine; lowering both goes low one first.
    Ekran(AyarlarMenu, "y\n200\na\n50\ny\n60\nt\n");
    EXPECT_FALSE(Var("olamaz"));
    EXPECT_EQ(ayr.kdbaslik.yee, 60);
    EXPECT_EQ(ayr.kdbaslik.aee, 50);
}

// The unit beside every value that has one, on both settings screens, after
// the value at column 41; the rows and labels stay where they were.
TEST_F(Mikrofon, TheSettingsScreensShowTheUnits) {
    for (bool menu : {false, true}) {
        cikti.clear();
        KonsolTestKur(menu ? "t\n" : "x", &cikti, false);
        if (menu) AyarlarMenu();
        else AyarlarEkranaGetir();
        for (const char* deger : {"\x1b[10;41H12000 Hz", "\x1b[11;41H16 bit", "\x1b[12;41H3 s", "\x1b[15;41H10 ms",
                                  "\x1b[21;41H20 ms", "\x1b[22;41H10 ms", "\x1b[16;41H375\x1b", "\x1b[9;41H1\x1b",
                                  "\x1b[30;41H0.000001\x1b", "\x1b[26;41H10\x1b"})
            EXPECT_TRUE(Var(deger)) << menu << " " << deger;
    }
}
