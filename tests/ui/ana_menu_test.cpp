#include <gtest/gtest.h>

#include "konsol.h"
#include "menu.h"

namespace {

size_t Say(const std::string& s, const std::string& parca) {
    size_t n = 0;
    for (size_t i = s.find(parca); i != std::string::npos; i = s.find(parca, i + 1)) n++;
    return n;
}

std::string Calistir(const std::string& girdi) {
    std::string cikti;
    KonsolTestKur(girdi, &cikti);
    AnaMenu();
    KonsolTestBitir();
    return cikti;
}

}  // namespace

TEST(AnaMenu, FirstCharacterOfALineIsTheCommandInEitherCase) {
    // A digit, a bare Enter and "qt": only the first character of each line
    // counts, and none of them is a command; "tx" ends the menu.
    std::string c = Calistir("7\n\nqt\ntx\nt\n");
    EXPECT_EQ(Say(c, "ANA MENU"), 4u);
    // Upper-case letters are the commands the menu highlights: "Y" opens the
    // new-word menu, whose "T" leaves it, and "T" closes the program.
    c = Calistir("Y\nT\nT\nt\n");
    EXPECT_EQ(Say(c, "YENI SOZCUK EGITME MENUSU"), 1u);
    EXPECT_EQ(Say(c, "ANA MENU"), 2u);
    c = Calistir("A\nT\nE\nT\nT\n");
    EXPECT_EQ(Say(c, "AYARLAR MENUSU"), 1u);
    EXPECT_EQ(Say(c, "ESKI SOZCUK EGITME MENUSU"), 1u);
    EXPECT_EQ(Say(c, "ANA MENU"), 3u);
}

TEST(AnaMenu, EndOfInputEndsTheMenu) {
    EXPECT_EQ(Say(Calistir(""), "ANA MENU"), 1u);
    EXPECT_EQ(Say(Calistir("q"), "ANA MENU"), 2u);
}

TEST(AnaMenu, EachPassClearsAndDrawsTheItems) {
    std::string c = Calistir("t\n");
    for (const char* e : {"\x1b[2J", "\x1b[2;10HANA MENU", "\x1b[4;10H\x1b[KYeni Sozcuk Egit", "\x1b[5;10H\x1b[KEski Sozcuk Egit",
                          "\x1b[6;10H\x1b[KKonus Tanisin", "\x1b[7;10H\x1b[KAyarlar", "\x1b[8;14Ht", "\x1b[15;1H\x1b[L>"})
        EXPECT_NE(c.find(e), std::string::npos) << e;
    EXPECT_EQ(Say(c, "\x1b[15;1H\x1b[L>"), 2u);  // the command line is opened twice per command
}
