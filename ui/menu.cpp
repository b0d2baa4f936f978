#include "menu.h"

#include <cctype>
#include <chrono>
#include <cstring>
#include <thread>

#include "konsol.h"

void Temizle() {
    textmode(64);
    textcolor(15);
    textbackground(0);
    clrscr();
    gotoxy(25, 1);
    Yaz("VELMO(c) - TARVEN");
}

bool Secenek(int x, int y, int z, const char* dizgi) {
    // A translated label keeps the command letter: it is highlighted where
    // the label first shows it, in either case ("[Y] Train a new word").
    const char* metin = Ceviri(dizgi);
    const bool harfIstendi = z >= 0 && static_cast<size_t>(z) < std::strlen(dizgi);
    if (metin != dizgi && harfIstendi) {
        const unsigned char c = static_cast<unsigned char>(dizgi[z]);
        const char* harf = std::strchr(metin, std::tolower(c));
        const char* buyuk = std::strchr(metin, std::toupper(c));
        if (harf == nullptr || (buyuk != nullptr && buyuk < harf)) harf = buyuk;
        z = harf != nullptr ? static_cast<int>(harf - metin) : -1;
    }
    gotoxy(x, y);
    clreol();
    Yaz("%s", metin);
    if (z >= 0 && static_cast<size_t>(z) < std::strlen(metin)) {
        textcolor(14);
        gotoxy(x + z, y);
        Yaz("%c\r\n", metin[z]);
    }
    textcolor(15);
    gotoxy(41, y);
    return !harfIstendi || z >= 0;
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

namespace {

// The screens are drawn for 80 columns by 50 rows: on a smaller terminal the
// rows beyond its last fall on one another. Said on the first main menu, in
// a free row every terminal shows, after a moment for a terminal that grows
// when asked to.
void BoyutUyarisi() {
    int sutun = 0, satir = 0;
    if (!UcbirimBoyutu(&sutun, &satir) || (sutun >= 80 && satir >= 50)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!UcbirimBoyutu(&sutun, &satir) || (sutun >= 80 && satir >= 50)) return;
    gotoxy(10, 10);
    textcolor(14);
    Yaz("Ekranlar 80x50 ister; bu uçbirim %dx%d. Pencereyi büyütün.", sutun, satir);
    textcolor(15);
}

}  // namespace

void AnaMenu() {
    bool ilk = true;
    for (;;) {
        Temizle();
        gotoxy(10, 2);
        Yaz("ANA MENU");
        Secenek(10, 4, 0, "Yeni Sozcuk Egit");
        Secenek(10, 5, 0, "Eski Sozcuk Egit");
        Secenek(10, 6, 0, "Konus Tanisin");
        Secenek(10, 7, 0, "Ayarlar");
        Secenek(10, 8, 4, "Kapat");
        if (ilk) BoyutUyarisi();
        ilk = false;
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
