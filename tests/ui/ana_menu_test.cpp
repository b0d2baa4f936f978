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

TEST(AnaMenu, OnlyLowerCaseLettersCountAndTheRestOfTheLineIsDropped) {
    // "Y", a digit, a bare Enter and "tx" after "qt": only the first letter
    // of each line is a command; "t" at the start of a line ends the menu.
    std::string c = Calistir("Y\n7\n\nqt\ntx\nt\n");
    EXPECT_EQ(Say(c, "ANA MENU"), 5u);
}

TEST(AnaMenu, EndOfInputEndsTheMenu) {
    EXPECT_EQ(Say(Calistir(""), "ANA MENU"), 1u);
    EXPECT_EQ(Say(Calistir("Y"), "ANA MENU"), 2u);
}

TEST(AnaMenu, EachPassClearsAndDrawsTheItems) {
    std::string c = Calistir("t\n");
    for (const char* e : {"\x1b[2J", "\x1b[2;10HANA MENU", "\x1b[4;10H\x1b[KYeni Sozcuk Egit", "\x1b[5;10H\x1b[KEski Sozcuk Egit",
                          "\x1b[6;10H\x1b[KKonus Tanisin", "\x1b[7;10H\x1b[KAyarlar", "\x1b[8;14Ht", "\x1b[15;1H\x1b[L>"})
        EXPECT_NE(c.find(e), std::string::npos) << e;
    EXPECT_EQ(Say(c, "\x1b[15;1H\x1b[L>"), 2u);  // the command line is opened twice per command
}
