// The read-only settings screen and the settings menu, both drawn from the
// settings table (ayar_tablosu.h), and the file browser.
#include <fnmatch.h>

#include <cmath>
#include <cstring>
#include <string>

#include "ayar_tablosu.h"
#include "ekran.h"
#include "kalici.h"
#include "kodlama.h"
#include "konsol.h"
#include "menu.h"
#include "sifirlama.h"
#include "velmo.h"

namespace {

KURALDOSYABASLIK& b = ayr.kdbaslik;

// The rows of the settings screen that are no setting: the group titles and
// the format tag.
struct BASLIKSATIRI {
    int satir;
    const char* metin;
};
const BASLIKSATIRI basliklar[] = {
    {4, "Dosya Ozellikleri"},
    {8, "Ses Kayit Ozellikleri"},
    {14, "Orke ve SifirGecis Ozellikleri"},
    {20, "LPC ve DeltaLPC Ozellikleri"},
    {28, "Egitme Ozellikleri"},
};
constexpr int BICIM_SATIRI = 5;
constexpr int ILK_SATIR = 4, SON_SATIR = 33;

// A setting's name in messages, in the language of the messages.
const char* Adi(const AYARTANIMI& t) { return Ceviri(t.adi); }

// Reads the line typed for `t`, taken only when the whole of it is a
// number of the setting's kind (SayiCoz): blanks around it and a decimal
// comma are fine, "8000x" or "2.5" for a whole number are refused in one
// line. At end of input nothing is said: the menu ends at its next command.
bool DegerOku(const AYARTANIMI& t, double* deger) {
    std::string satir;
    if (!SatirOku(satir)) return false;
    const SAYITURU tur = TamsayiYeri(t, ayr) != nullptr ? SAYI_TAMSAYI : SAYI_FLOAT;
    // A line longer than is kept was not read whole.
    const SAYIOKUNUSU o = satir.size() < SATIR_SINIRI ? SayiCoz(satir, tur, deger) : SAYI_DEGIL;
    if (o == SAYI_TAM_DEGIL) Yaz("%s bir tam sayı olmalı; değişmedi.\n", Adi(t));
    else if (o == SAYI_DEGIL) Yaz("%s bir sayı olmalı; değişmedi.\n", Adi(t));
    return o == SAYI_TAMAM;
}

// Reads a value for `t` after its prompt and takes it only when it is a
// number in the setting's range that keeps the rules between settings.
void AyarOku(const AYARTANIMI& t) {
    Yaz("%s", Ceviri(t.istem));
    double deger = 0;
    if (!DegerOku(t, &deger)) return;
    if (!Aralikta(t, deger)) {
        // A number too large for the setting to hold gets the range it can.
        const std::string aralik = std::isinf(deger) ? AlanAraligiMetni(t) : AralikMetni(t);
        Yaz("%s %s olmalı; değişmedi.\n", Adi(t), aralik.c_str());
        return;
    }
    const std::string kural = AyarIliskisi(t, deger, ayr);
    if (!kural.empty()) {
        Yaz("%s; değişmedi.\n", kural.c_str());
        return;
    }
    AyarDegeriKoy(t, ayr, deger);
}

// Reads a kind; only the kinds the program makes are taken.
void TurOku(const AYARTANIMI& t) {
    Yaz("%s", Ceviri(t.istem));
    double tur = 0;
    if (!DegerOku(t, &tur)) return;
    if (!Aralikta(t, tur)) {
        Yaz("Tur 1, 2 ya da 3 olmali; degismedi.\n");
        return;
    }
    TurSec(ayr, static_cast<int>(tur));
}

const AYARTANIMI* SatirdakiAyar(int satir) {
    for (const AYARTANIMI* t = AyarlarBas(); t != AyarlarSon(); ++t)
        if (t->satir == satir) return t;
    return nullptr;
}

// A setting's letter after its value, for a label that does not show it.
void HarfEki(char harf) {
    Yaz(" (");
    textcolor(14);
    Yaz("%c", harf);
    textcolor(15);
    Yaz(")");
}

void TurDegeri(bool harfler, char harf) {
    if (b.tur == 1) Yaz("LPC kural kitabi");
    else if (b.tur == 2) Yaz("DeltaLPC kural kitabi");
    else if (b.tur == 3) Yaz("Kesitli LPC kural kitabi");
    // "Tur" has no free letter to highlight: its letter follows the value.
    if (harfler) HarfEki(harf);
}

// Draws the table; with `harfler` the editable settings show their letter.
void AyarTablosu(bool harfler) {
    for (int satir = ILK_SATIR; satir <= SON_SATIR; satir++) {
        for (const BASLIKSATIRI& s : basliklar)
            if (s.satir == satir) Secenek(10, satir, -1, s.metin);
        if (satir == BICIM_SATIRI) {
            Secenek(10, satir, -1, " Bicim.......................:");
            Yaz("%.4s dosyasi", b.bicim);
        }
        const AYARTANIMI* t = SatirdakiAyar(satir);
        if (t == nullptr) continue;
        // A translated label may lack the letter: it follows the value then.
        const bool harfGorunur = Secenek(10, satir, harfler ? t->harfYeri : -1, t->etiket);
        if (t->no == AYAR_TUR) TurDegeri(harfler, t->harf);
        else if (const int* i = TamsayiYeri(*t, ayr)) Yaz("%d", *i);
        else Yaz("%f", static_cast<double>(*GercelYeri(*t, ayr)));
        if (*t->birim != '\0') Yaz(" %s", t->birim);
        if (!harfGorunur) HarfEki(t->harf);
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
        Secenek(10, 36, 0, "Hatirla (ayarlar her baslangicta okunur)");
        KomSat(1, 40);
        const int c = KomutHarfi(KarakterOku());
        KomSat(1, 40);
        if (c == KONSOL_SON || c == 't') return;
        if (c == 'g') {
            Sifirla(2);
            continue;
        }
        if (c == 'h') {
            // The settings as they are now, read again at every start.
            const std::string hata = KaliciAyarlariYaz(ayr);
            KomSat(1, 41);
            if (hata.empty()) Yaz("Ayarlar %s dosyasina yazildi.", Gorunur(KaliciAyarDosyasi()).c_str());
            else Yaz("%s", hata.c_str());
            continue;
        }
        for (const AYARTANIMI* t = AyarlarBas(); t != AyarlarSon(); ++t) {
            if (t->harf == 0 || t->harf != c) continue;
            if (t->no == AYAR_TUR) {
                TurOku(*t);
                break;
            }
            AyarOku(*t);
            break;
        }
    }
}
