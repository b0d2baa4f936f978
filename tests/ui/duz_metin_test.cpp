// Screens written as plain text for an output that is not a terminal.
#include "duz_metin.h"

#include <gtest/gtest.h>

#include "konsol.h"
#include "menu.h"

TEST(DuzMetin, LinesFollowRowsAndOverwritesStayInTheirCell) {
    DuzMetin d;
    d.Git(10, 4);
    d.Yaz("Yeni Sozcuk Egit");
    d.Git(10, 4);  // the hot letter drawn again in its colour
    d.Yaz("Y\r\n");
    d.Git(10, 6);
    d.Yaz("Sozcuk....:");
    d.Git(14, 6);  // back into the text: the cell is overwritten
    d.Yaz("X");
    d.Git(22, 6);  // a value beside its label is an item of its own
    d.Yaz("göz");
    d.Git(23, 6);  // overwriting the two-byte letter and the one after it
    d.Yaz("ü!");
    d.Git(1, 7);
    EXPECT_EQ(d.Al(), "Yeni Sozcuk Egit\nSozcXk....:\ngü!\n");
    EXPECT_EQ(d.Al(), "");  // handed over once
}

TEST(DuzMetin, ClearingEndsLinesAndSeparatesScreens) {
    DuzMetin d;
    d.EkranTemizle();  // nothing shown yet: no blank line
    d.Yaz("   bir  \n\n\t\n");
    d.Yaz("iki uzun satir");
    d.Git(4, 4);  // still row 4 (three newlines): clears from column 4 on
    d.SatirSil();
    d.EkranTemizle();
    d.Yaz("uc");
    d.SatirBitir();
    d.SatirBitir();
    EXPECT_EQ(d.Al(), "bir\n" "iki\n" "\n" "uc\n");
}

TEST(DuzMetin, ClearToEndOfLineKeepsWhatIsBeforeTheCursor) {
    DuzMetin d;
    d.Git(1, 3);
    d.Yaz("eski deger");
    d.Git(6, 3);
    d.SatirSil();
    d.Yaz("yeni");
    d.SatirBitir();
    EXPECT_EQ(d.Al(), "eski yeni\n");
}

// The main menu through the console layer: no escape byte, every label on
// its own line, the prompt ended before input is read.
TEST(DuzMetin, MainMenuAsTextOnAPipe) {
    std::string cikti;
    KonsolTestKur("t\n", &cikti, true);
    AnaMenu();
    KonsolBosalt();
    KonsolTestBitir();
    EXPECT_EQ(cikti.find('\x1b'), std::string::npos);
    EXPECT_EQ(cikti,
              "VELMO(c) - TARVEN\nANA MENU\nYeni Sozcuk Egit\nEski Sozcuk Egit\n"
              "Konus Tanisin\nAyarlar\nKapat\n>\n>\n");
}
