#include "konsol.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "kodlama.h"
#include "menu.h"

namespace {

class Konsol : public ::testing::Test {
protected:
    std::string cikti;
    void Kur(const std::string& girdi) {
        cikti.clear();
        KonsolTestKur(girdi, &cikti);
    }
    void SetUp() override { Kur(""); }
    void TearDown() override { KonsolTestBitir(); }
};

}  // namespace

TEST_F(Konsol, ScreenOperationsWriteTheirSequences) {
    gotoxy(41, 7);
    EXPECT_EQ(cikti, "\x1b[7;41H");
    Kur("");
    clreol();
    insline();
    setcursortype(0);
    setcursortype(1);
    EXPECT_EQ(cikti, "\x1b[K\x1b[L\x1b[?25l\x1b[?25h");
    Kur("");
    textcolor(14);
    textcolor(15);
    textcolor(0);
    textcolor(4);
    textbackground(0);
    textbackground(1);
    EXPECT_EQ(cikti, "\x1b[93m\x1b[97m\x1b[30m\x1b[31m\x1b[40m\x1b[44m");
    Kur("");
    clrscr();
    EXPECT_EQ(cikti, "\x1b[2J\x1b[H");
    Kur("");
    gotoxy(0, 99);  // clipped to the 80x50 screen
    gotoxy(81, 51);
    gotoxy(200, 3);
    gotoxy(80, 50);
    EXPECT_EQ(cikti, "\x1b[50;1H\x1b[50;80H\x1b[3;80H\x1b[50;80H");
}

TEST_F(Konsol, PrimitivesOfTheScreens) {
    Temizle();
    EXPECT_NE(cikti.find("\x1b[8;50;80t"), std::string::npos);
    EXPECT_EQ(cikti.substr(cikti.size() - 24), "\x1b[1;25HVELMO(c) - TARVEN");
    Kur("");
    Secenek(10, 8, 4, "Kapat");
    EXPECT_EQ(cikti, "\x1b[8;10H\x1b[KKapat\x1b[93m\x1b[8;14Ht\r\n\x1b[97m\x1b[8;41H");
    Kur("");
    Secenek(10, 5, -1, "Ayar");
    EXPECT_EQ(cikti, "\x1b[5;10H\x1b[KAyar\x1b[97m\x1b[5;41H");
    Kur("");
    KomSat(1, 15);
    EXPECT_EQ(cikti, "\x1b[15;1H\x1b[L>\x1b[15;2H\x1b[?25h");
}

TEST_F(Konsol, MessagesShowTurkishLettersAsUtf8) {
    Yaz("Örke değerleri için bellek ayrılamıyor.\n");
    EXPECT_EQ(cikti, "Örke değerleri için bellek ayrılamıyor.\n");
    Kur("");
    Yaz("%s", "a\xff" "b");  // bytes that are not UTF-8 never reach the terminal broken
    EXPECT_EQ(cikti, "a?b");
}

// A terminal whose charset is Latin-5 (ISO-8859-9): messages reach it in its
// own bytes through iconv, typed bytes come back as text, and what it cannot
// show becomes '?'. The locale is made for the test (localedef into a
// directory named by LOCPATH) when the system does not have it.
TEST_F(Konsol, ATerminalOfAnotherCharsetGetsItsOwnBytes) {
    const char* ad = "tr_TR.ISO-8859-9";
    const char* eskiLcAll = std::getenv("LC_ALL");
    const std::string eski = eskiLcAll ? eskiLcAll : "";
    const std::string dizin = "/tmp/velmo-yerel-" + std::to_string(getpid());
    struct Temizlik {
        std::string dizin;
        ~Temizlik() {
            unsetenv("LOCPATH");
            std::error_code h;
            std::filesystem::remove_all(dizin, h);
        }
    } temizlik{dizin};
    if (std::setlocale(LC_CTYPE, ad) == nullptr) {
        std::filesystem::create_directories(dizin);
        const std::string komut =
            "localedef -c -i tr_TR -f ISO-8859-9 '" + dizin + "/" + ad + "' >/dev/null 2>&1";
        (void)std::system(komut.c_str());
        setenv("LOCPATH", dizin.c_str(), 1);
    }
    if (std::setlocale(LC_CTYPE, ad) == nullptr)
        GTEST_SKIP() << ad << " cannot be made here (needs the locales package's tr_TR source and localedef)";
    std::setlocale(LC_CTYPE, "C");
    setenv("LC_ALL", ad, 1);
    KodlamaBaslat();
    Yaz("Sözcük ışığı ĞÜŞİÖÇ 日€\n");
    std::string yazilan;
    const bool cevrildi = UcbirimdenCevir("g\xf6z \xfe\xfd\xdd", yazilan);
    if (eskiLcAll) setenv("LC_ALL", eski.c_str(), 1);
    else unsetenv("LC_ALL");
    KodlamaBaslat();
    EXPECT_EQ(cikti, "S\xf6zc\xfck \xfd\xfe\xfd\xf0\xfd \xd0\xdc\xde\xdd\xd6\xc7 ??\n");
    EXPECT_TRUE(cevrildi);
    EXPECT_EQ(yazilan, "göz şıİ");
    // Back on UTF-8.
    Kur("");
    Yaz("ş");
    EXPECT_EQ(cikti, "ş");
}

TEST(Kodlama, Windows1254RoundTrip) {
    std::string b;
    ASSERT_TRUE(Utf8den1254("göz ışık ĞÜŞİÖÇ", b));
    EXPECT_EQ(b, "g\xf6z \xfd\xfe\xfdk \xd0\xdc\xde\xdd\xd6\xc7");
    EXPECT_EQ(Cp1254ten(b), "göz ışık ĞÜŞİÖÇ");
    EXPECT_FALSE(Utf8den1254("日本", b));       // outside the code page
    EXPECT_FALSE(Utf8den1254("a\xc3", b));      // cut UTF-8
    EXPECT_EQ(Cp1254("Başlangıç"), "Ba\xfelang\xfd\xe7");
}

TEST_F(Konsol, LineInputAsAScript) {
    Kur("yes\n  \n 42x\nabc\n");
    EXPECT_EQ(KarakterOku(), 'y');
    GirdiAt();  // only the rest of this line goes
    std::string s;
    EXPECT_TRUE(SatirOku(s));  // a blank line is a line, kept whole
    EXPECT_EQ(s, "  ");
    EXPECT_EQ(KarakterOku(), ' ');
    GirdiAt();
    EXPECT_TRUE(SatirOku(s));
    EXPECT_EQ(s, "abc");
    GirdiAt();  // at a line's start: nothing goes
    EXPECT_EQ(KarakterOku(), KONSOL_SON);
    EXPECT_TRUE(GirdiBitti());
    EXPECT_EQ(KarakterOku(), KONSOL_SON);  // sticky
    EXPECT_FALSE(SatirOku(s));
}

TEST_F(Konsol, DiscardAtLineStartKeepsTheNextLine) {
    Kur("a\nb\n");
    GirdiAt();
    EXPECT_EQ(KarakterOku(), 'a');
    EXPECT_EQ(KarakterOku(), '\n');
    GirdiAt();
    EXPECT_EQ(KarakterOku(), 'b');
}

TEST_F(Konsol, LinesAndKeys) {
    std::string uzun(10000, 'x');
    Kur("evet dedi\n" + uzun + "\nk\nson");
    std::string s;
    EXPECT_TRUE(SatirOku(s));
    EXPECT_EQ(s, "evet dedi");
    EXPECT_TRUE(SatirOku(s));
    EXPECT_EQ(s.size(), static_cast<size_t>(SATIR_SINIRI));  // the rest consumed, not kept
    EXPECT_EQ(getche(), 'k');
    EXPECT_EQ(cikti, "k");
    GirdiAt();
    EXPECT_TRUE(SatirOku(s));  // a last line without its newline
    EXPECT_EQ(s, "son");
    EXPECT_FALSE(SatirOku(s));
    EXPECT_EQ(getch(), KONSOL_SON);
}

// On a terminal, a row that messages move to (after a newline, or the Enter
// of a typed line) is cleared before its text: nothing older shows beyond a
// shorter line or through its tabs. Text drawn at a place, or going on along
// its row, clears nothing; plain text has nothing to clear.
TEST_F(Konsol, MessageRowsAreClearedBeforeTheirText) {
    const struct {
        const char* girdi;
        std::function<void()> once;
        bool duz;
        bool silinir;
    } durumlar[] = {
        {"", [] { Yaz("Taranan dizin: /tmp\n"); }, false, true},
        {"", [] { Yaz("a\n\n"); }, false, true},
        {"evet\n", [] { std::string s; SatirOku(s); }, false, true},
        {"", [] { Yaz("Konusun (3 s)"); }, false, false},
        {"", [] { Yaz("a\n"); gotoxy(41, 7); }, false, false},
        {"", [] { Yaz("a\n"); clrscr(); }, false, false},
        {"", [] { Yaz("Taranan dizin: /tmp\n"); }, true, false},
    };
    for (const auto& d : durumlar) {
        cikti.clear();
        KonsolTestKur(d.girdi, &cikti, d.duz);
        d.once();
        const size_t once = cikti.size();
        Yaz("dur\t\tuzaklik:0.4\n");
        EXPECT_EQ(cikti.compare(once, 3, "\x1b[K") == 0, d.silinir) << d.girdi << cikti;
        EXPECT_EQ(cikti.find("\x1b[K", once + 1), std::string::npos) << "the row once: " << cikti;
    }
    // An empty message row is cleared too.
    Kur("");
    Yaz("a\n\nb");
    EXPECT_EQ(cikti, "a\n\x1b[K\n\x1b[Kb");
}
