#include "menu.h"

#include <cstring>

#include "konsol.h"

void Temizle() {
    textmode(64);
    textcolor(15);
    textbackground(0);
    clrscr();
    gotoxy(25, 1);
    Yaz("VELMO(c) - TARVEN");
}

void Secenek(int x, int y, int z, const char* dizgi) {
    gotoxy(x, y);
    clreol();
    Yaz("%s", dizgi);
    if (z >= 0 && static_cast<size_t>(z) < std::strlen(dizgi)) {
        textcolor(14);
        gotoxy(x + z, y);
        Yaz("%c\r\n", dizgi[z]);
    }
    textcolor(15);
    gotoxy(41, y);
}

void KomSat(int x, int y) {
    gotoxy(x, y);
    insline();
    Yaz(">");
    gotoxy(x + 1, y);
    GirdiAt();
    setcursortype(1);
}

int KomutHarfi(int c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

void AnaMenu() {
    for (;;) {
        Temizle();
        gotoxy(10, 2);
        Yaz("ANA MENU");
        Secenek(10, 4, 0, "Yeni Sozcuk Egit");
        Secenek(10, 5, 0, "Eski Sozcuk Egit");
        Secenek(10, 6, 0, "Konus Tanisin");
        Secenek(10, 7, 0, "Ayarlar");
        Secenek(10, 8, 4, "Kapat");
        KomSat(1, 15);
        const int c = KomutHarfi(KarakterOku());
        KomSat(1, 15);
        if (c == KONSOL_SON) return;
        switch (c) {
            case 'y': YeniSozcukMenu(); break;
            case 'e': EskiSozcukMenu(); break;
            case 'k': KonusTanisin(); break;
            case 'a': AyarlarMenu(); break;
            case 't': return;
            default: break;
        }
    }
}
