// The settings table, the read-only settings screen, the file browser and the
// settings menu.
#include <fnmatch.h>

#include <cstring>
#include <string>

#include "ekran.h"
#include "kodlama.h"
#include "konsol.h"
#include "menu.h"
#include "sifirlama.h"
#include "velmo.h"

namespace {

enum AlanTuru { BASLIK, TAMSAYI, GERCEL, BICIM, TUR };

struct AYARSATIRI {
    int satir;
    const char* etiket;
    AlanTuru tur;
    void* alan;
    int z;              // letter of the settings menu; -1: not editable
    const char* istem;  // prompt of the settings menu
};

KURALDOSYABASLIK& b = ayr.kdbaslik;

// The settings menu's letter of the kind row.
constexpr char TUR_HARFI = 'v';

// Reads a kind; only the kinds the program makes are taken.
void TurOku() {
    Yaz("Tur (1 LPC, 2 DeltaLPC, 3 Kesitli LPC)<");
    int tur = 0;
    if (!TamsayiOku(&tur)) return;
    if (tur < 1 || tur > 3) {
        Yaz("Tur 1, 2 ya da 3 olmali; degismedi.\n");
        return;
    }
    b.tur = tur;
}

const AYARSATIRI satirlar[] = {
    {4, "Dosya Ozellikleri", BASLIK, nullptr, -1, nullptr},
    {5, " Bicim.......................:", BICIM, b.bicim, -1, nullptr},
    {6, " Tur.........................:", TUR, &b.tur, -1, nullptr},
    {8, "Ses Kayit Ozellikleri", BASLIK, nullptr, -1, nullptr},
    {9, " Kanal Sayisi................:", TAMSAYI, &b.ks, -1, nullptr},
    {10, " Ornekleme Orani (Hz)........:", TAMSAYI, &b.oo, 1, "Ornekleme Orani<"},
    {11, " Ornek Cozunurlugu...........:", TAMSAYI, &b.oc, -1, nullptr},
    {12, " Kayit Suresi (s)............:", TAMSAYI, &b.ksu, 1, "Kayit Suresi<"},
    {14, "Orke ve SifirGecis Ozellikleri", BASLIK, nullptr, -1, nullptr},
    {15, " Kisa Pencere Suresi (ms)....:", TAMSAYI, &b.kpensu, 2, "(Orke/SifirGecis) Kisa Pencere Suresi<"},
    {16, " Yuksek Orke Esigi...........:", TAMSAYI, &b.yee, 1, "Yuksek Orke Esigi<"},
    {17, " Alcak Orke Esigi............:", TAMSAYI, &b.aee, 1, "Alcak Orke Esigi<"},
    {18, " Baslangic SifirGecis Esigi..:", TAMSAYI, &b.bsge, 1, "Baslangic Sifir Gecis Esigi<"},
    {20, "LPC ve DeltaLPC Ozellikleri", BASLIK, nullptr, -1, nullptr},
    {21, " Kisa Pencere Suresi (ms)....:", TAMSAYI, &b.pensu, 3, "(LPC/DeltaLPC) Kisa Pencere Suresi<"},
    {22, " Adim Suresi (ms)............:", TAMSAYI, &b.admsu, 2, "Adim Suresi<"},
    {23, " OzBaglilasim Derecesi.......:", TAMSAYI, &b.m, 2, "OzBaglilasim Derecesi<"},
    {24, " LPCSuzgec Derecesi..........:", TAMSAYI, &b.p, 2, "LPCSuzgec Derecesi<"},
    {25, " LPC/DeltaLPC Yoney Boyutu...:", TAMSAYI, &b.n, 3, "LPC/DeltaLPC Yoney Boyutu<"},
    {26, " Kural Yoneyleri Sayisi......:", TAMSAYI, &b.s, 5, "Kural Yoneyleri Sayisi<"},
    {28, "Egitme Ozellikleri", BASLIK, nullptr, -1, nullptr},
    {29, " Rasgelelik Tohumu...........:", TAMSAYI, &ayr.thm, 1, "Rasgelelik Tohumu<"},
    {30, " Uzaklik Siniri..............:", GERCEL, &ayr.uae, 1, "Uzaklik Siniri<"},
    {31, " En Az Bolge Sayisi..........:", TAMSAYI, &ayr.eabs, 1, "En Az Bolge Sayisi<"},
    {32, " OnYineleme Sayisi...........:", TAMSAYI, &ayr.onyinl, 2, "OnYineleme Sayisi<"},
    {33, " Yineleme Sayisi.............:", TAMSAYI, &ayr.yinl, 7, "Yineleme Sayisi<"},
};

// Draws the table; with `harfler` the editable settings show their letter.
void AyarTablosu(bool harfler) {
    for (const AYARSATIRI& s : satirlar) {
        Secenek(10, s.satir, harfler ? s.z : -1, s.etiket);
        switch (s.tur) {
            case BASLIK: break;
            case TAMSAYI: Yaz("%d", *static_cast<int*>(s.alan)); break;
            case GERCEL: Yaz("%f", static_cast<double>(*static_cast<float*>(s.alan))); break;
            case BICIM: Yaz("%.4s dosyasi", static_cast<char*>(s.alan)); break;
            case TUR:
                if (b.tur == 1) Yaz("LPC kural kitabi");
                else if (b.tur == 2) Yaz("DeltaLPC kural kitabi");
                else if (b.tur == 3) Yaz("Kesitli LPC kural kitabi");
                // "Tur" has no free letter to highlight: its letter follows the value.
                if (harfler) {
                    Yaz(" (");
                    textcolor(14);
                    Yaz("%c", TUR_HARFI);
                    textcolor(15);
                    Yaz(")");
                }
                break;
        }
    }
}

}  // namespace

void AyarlarEkranaGetir() {
    GirdiAt();
    setcursortype(0);
    gotoxy(10, 2);
    Yaz("AYARLAR MENUSU %s", Gorunur(ayr.kdad).c_str());
    AyarTablosu(false);
    gotoxy(40, 45);
    textcolor(14);
    Yaz("Devam Etmek Icin Bir Tusa Basin...");
    textcolor(15);
    getch();
    GirdiAt();
    setcursortype(1);
}

void DosyaBul() {
    Yaz("Bicim * ? <");
    std::string bicim;
    if (!SatirOku(bicim)) return;
    if (bicim.size() > 255) {
        Yaz("Bicim en cok 255 harf olabilir.\n");
        return;
    }
    std::string utf8;
    if (!UcbirimMetni(bicim, utf8)) return;
    // An empty pattern, or one that begins with a blank, lists every file.
    const bool hepsi = utf8.empty() || utf8[0] == ' ' || utf8 == "*.*";
    Yaz(" [%s] Dosya Dizelgesi\n", Gorunur(utf8).c_str());
    int sayac = 0;
    for (const std::string& ad : DizinDosyalari(ayr.yol)) {
        if (!hepsi && fnmatch(utf8.c_str(), ad.c_str(), FNM_PERIOD) != 0) continue;
        if (hepsi && ad[0] == '.') continue;
        sayac++;
        insline();
        Yaz(" %s\n ", Gorunur(ad).c_str());
        if (sayac == 30) {
            if (getch() == KONSOL_SON) return;
            gotoxy(2, 16);
            sayac = 0;
        }
    }
    clreol();
}

void AyarlarMenu() {
    Temizle();
    for (;;) {
        gotoxy(10, 2);
        Yaz("AYARLAR MENUSU");
        AyarTablosu(true);
        Secenek(10, 34, 0, "GeriKur");
        Secenek(10, 35, 4, "Kapat");
        KomSat(1, 40);
        const int c = KomutHarfi(KarakterOku());
        KomSat(1, 40);
        if (c == KONSOL_SON || c == 't') return;
        if (c == 'g') {
            Sifirla(2);
            continue;
        }
        if (c == TUR_HARFI) {
            TurOku();
            continue;
        }
        for (const AYARSATIRI& s : satirlar) {
            if (s.z < 0 || s.etiket[s.z] == '\0' || (s.etiket[s.z] | 0x20) != c) continue;
            Yaz("%s", s.istem);
            if (s.tur == GERCEL) GercelOku(static_cast<float*>(s.alan));
            else TamsayiOku(static_cast<int*>(s.alan));
            break;
        }
    }
}
