// The table of every setting a user sees or changes: where it lives in the
// record, its range, its default, its unit, and each way the program spells
// it (the settings screen and menu in plain ASCII, the report and the
// settings dump in UTF-8 turned Windows-1254, velmo-toplu's option and help
// line, the name messages use). The screens, the report, velmo-toplu, the
// reset and the stages' range checks all read it, so a setting's range or
// default is written down once.
//
// Ranges are inclusive; an infinite end is no end. A stage may add rules
// that tie two settings together (p and m at most n + 1, a window of at
// least two samples); those stay with the stage that needs them.
#ifndef AYAR_TABLOSU_H
#define AYAR_TABLOSU_H

#include <limits>
#include <string>
#include <string_view>

#include "velmo.h"

// The settings, in the order of the settings screen.
enum AYARNO {
    AYAR_TUR, AYAR_KS, AYAR_OO, AYAR_OC, AYAR_KSU,
    AYAR_KPENSU, AYAR_YEE, AYAR_AEE, AYAR_BSGE,
    AYAR_PENSU, AYAR_ADMSU, AYAR_M, AYAR_P, AYAR_N, AYAR_S,
    AYAR_THM, AYAR_UAE, AYAR_EABS, AYAR_ONYINL, AYAR_YINL,
    AYAR_SAYISI
};

// The groups, as the settings screen and the report title them.
enum AYARGRUBU { GRUP_DOSYA, GRUP_SES, GRUP_ORKE, GRUP_LPC, GRUP_EGITME };

struct AYARTANIMI {
    AYARNO no;
    const char* ad;      // field name; velmo-toplu's option is "--" + ad
    AYARGRUBU grup;
    // Where it is stored: a header field, an int or a float of the record.
    int KURALDOSYABASLIK::*baslikAlani;
    int AYAR_DEGERLERI::*tamsayiAlani;
    float AYAR_DEGERLERI::*gercelAlani;
    double enAz, enCok;  // accepted values
    double varsayilan;   // what a reset gives
    const char* birim;   // "Hz", "s", "ms" or "" (none)
    // The settings screen and menu: row, 30-character label, command letter
    // (0: none), the label's character that shows it (-1: none) and prompt.
    int satir;
    const char* etiket;
    char harf;
    int harfYeri;
    const char* istem;
    const char* adi;     // in messages, UTF-8: "Örnekleme Oranı"
    // The report and settings dump: "label=value unit"; the label is padded
    // as the report aligns it; nullptr: not written this way.
    const char* raporEtiketi;
    const char* raporBirimi;
    // velmo-toplu: place among its options (0: no option) and help text.
    int secenekSirasi;
    const char* yardim;
};

// The end of a range that has none.
inline constexpr double SINIRSIZ = std::numeric_limits<double>::infinity();

// Ranges: what the stages accept. The recording takes 1 to 8 channels of 8
// to 32 bits at 1000 to 192000 Hz for 1 to 60 s. A window or step of 1 ms
// is at least one sample at every accepted rate; the LPC window is at most
// 100 ms, the vector at most 99 coefficients, so p and m at most 100 (and at
// most n + 1, which the analysis checks); p is at least 1 and at most m, so
// m is at least 1 too. A codebook holds at most 32766
// codewords. Energies and zero-crossing counts are never negative, so a
// threshold below 0 acts as 0; the same holds for the least region size,
// the iteration count and the distortion threshold. The reset runs at least
// once or the training fails.
inline constexpr AYARTANIMI AYAR_TABLOSU[AYAR_SAYISI] = {
    {AYAR_TUR, "tur", GRUP_DOSYA, &KURALDOSYABASLIK::tur, nullptr, nullptr, 1, 3, 1, "",
     6, " Tur.........................:", 'v', -1, "Tur (1 LPC, 2 DeltaLPC, 3 Kesitli LPC)<", "Tür",
     nullptr, nullptr, 17, "Kural kitabı türü: 1 LPC, 2 DeltaLPC, 3 kesitli LPC (gürültülü odada daha doğru)"},
    {AYAR_KS, "ks", GRUP_SES, &KURALDOSYABASLIK::ks, nullptr, nullptr, 1, 8, 1, "",
     9, " Kanal Sayisi................:", 0, -1, nullptr, "Kanal Sayısı",
     "               Kanal Sayısı", "", 0, nullptr},
    {AYAR_OO, "oo", GRUP_SES, &KURALDOSYABASLIK::oo, nullptr, nullptr, 1000, 192000, 12000, "Hz",
     10, " Ornekleme Orani (Hz)........:", 'o', 1, "Ornekleme Orani<", "Örnekleme Oranı",
     "            Örnekleme Oranı", "", 1, "Örnekleme Oranı (Hz)"},
    {AYAR_OC, "oc", GRUP_SES, &KURALDOSYABASLIK::oc, nullptr, nullptr, 8, 32, 16, "bit",
     11, " Ornek Cozunurlugu...........:", 0, -1, nullptr, "Örnek Çözünürlüğü",
     "          Örnek Çözünürlüğü", "", 0, nullptr},
    {AYAR_KSU, "ksu", GRUP_SES, &KURALDOSYABASLIK::ksu, nullptr, nullptr, 1, 60, 3, "s",
     12, " Kayit Suresi (s)............:", 'k', 1, "Kayit Suresi<", "Kayıt Süresi",
     "               Kayıt Süresi", " saniye", 2, "Kayıt Süresi (s), eğitimde ve çizimde"},
    {AYAR_KPENSU, "kpensu", GRUP_ORKE, &KURALDOSYABASLIK::kpensu, nullptr, nullptr, 1, SINIRSIZ, 10, "ms",
     15, " Kisa Pencere Suresi (ms)....:", 'i', 2, "(Orke/SifirGecis) Kisa Pencere Suresi<",
     "(Örke/Sıfır Geçiş) Kısa Pencere Süresi", "        Kısa Pencere Süresi", " milisaniye", 3,
     "Kısa Pencere Süresi (ms), uç noktalar için"},
    {AYAR_YEE, "yee", GRUP_ORKE, &KURALDOSYABASLIK::yee, nullptr, nullptr, 0, SINIRSIZ, 375, "",
     16, " Yuksek Orke Esigi...........:", 'y', 1, "Yuksek Orke Esigi<", "Yüksek Örke Eşiği",
     "          Yüksek Örke Eşiği", "", 4, "Yüksek Örke Eşiği"},
    {AYAR_AEE, "aee", GRUP_ORKE, &KURALDOSYABASLIK::aee, nullptr, nullptr, 0, SINIRSIZ, 200, "",
     17, " Alcak Orke Esigi............:", 'a', 1, "Alcak Orke Esigi<", "Alçak Örke Eşiği",
     "           Alçak Örke Eşiği", "", 5, "Alçak Örke Eşiği"},
    {AYAR_BSGE, "bsge", GRUP_ORKE, &KURALDOSYABASLIK::bsge, nullptr, nullptr, 0, SINIRSIZ, 10, "",
     18, " Baslangic SifirGecis Esigi..:", 'b', 1, "Baslangic Sifir Gecis Esigi<", "Başlangıç Sıfır Geçiş Eşiği",
     "Başlangıç Sıfır-Geçiş Eşiği", "", 6, "Başlangıç Sıfır Geçiş Eşiği"},
    {AYAR_PENSU, "pensu", GRUP_LPC, &KURALDOSYABASLIK::pensu, nullptr, nullptr, 1, 100, 20, "ms",
     21, " Kisa Pencere Suresi (ms)....:", 's', 3, "(LPC/DeltaLPC) Kisa Pencere Suresi<",
     "(LPC/DeltaLPC) Kısa Pencere Süresi", "             Pencere Süresi", " milisaniye", 7,
     "Pencere Süresi (ms), LPC çerçeveleri"},
    {AYAR_ADMSU, "admsu", GRUP_LPC, &KURALDOSYABASLIK::admsu, nullptr, nullptr, 1, SINIRSIZ, 10, "ms",
     22, " Adim Suresi (ms)............:", 'd', 2, "Adim Suresi<", "Adım Süresi",
     "                Adım Süresi", " milisaniye", 8, "Adım Süresi (ms)"},
    {AYAR_M, "m", GRUP_LPC, &KURALDOSYABASLIK::m, nullptr, nullptr, 1, 100, 15, "",
     23, " OzBaglilasim Derecesi.......:", 'z', 2, "OzBaglilasim Derecesi<", "Özbağlılaşım Derecesi",
     "      Özbağlılaşım Derecesi", "", 9, "Öz Bağlılaşım Derecesi"},
    {AYAR_P, "p", GRUP_LPC, &KURALDOSYABASLIK::p, nullptr, nullptr, 1, 100, 10, "",
     24, " LPCSuzgec Derecesi..........:", 'p', 2, "LPCSuzgec Derecesi<", "LPC Süzgeç Derecesi",
     "        LPC Süzgeç Derecesi", "", 11, "LPC Süzgeç Derecesi"},
    {AYAR_N, "n", GRUP_LPC, &KURALDOSYABASLIK::n, nullptr, nullptr, 1, 99, 15, "",
     25, " LPC/DeltaLPC Yoney Boyutu...:", 'c', 3, "LPC/DeltaLPC Yoney Boyutu<", "LPC/DeltaLPC Yöney Boyutu",
     "      LPC/DLPC Yöney Boyutu", "", 10, "LPC/DeltaLPC Yöney Boyutu"},
    {AYAR_S, "s", GRUP_LPC, &KURALDOSYABASLIK::s, nullptr, nullptr, 1, 32766, 10, "",
     26, " Kural Yoneyleri Sayisi......:", 'l', 5, "Kural Yoneyleri Sayisi<", "Kural Yöneyleri Sayısı",
     "  Kural Yöneylerinin Sayısı", "", 12, "Kural Yöneyleri Sayısı"},
    {AYAR_THM, "thm", GRUP_EGITME, nullptr, &AYAR_DEGERLERI::thm, nullptr, -SINIRSIZ, SINIRSIZ, 1234, "",
     29, " Rasgelelik Tohumu...........:", 'r', 1, "Rasgelelik Tohumu<", "Rasgelelik Tohumu",
     "Rasgelelik Tohumu", "", 13, "Rasgelelik Tohumu"},
    {AYAR_UAE, "uae", GRUP_EGITME, nullptr, nullptr, &AYAR_DEGERLERI::uae, 0, SINIRSIZ,
     static_cast<double>(0.000001f), "",
     30, " Uzaklik Siniri..............:", 'u', 1, "Uzaklik Siniri<", "Uzaklık Sınırı",
     "Uzaklık Alt Eşiği", "", 18, "Uzaklık Alt Eşiği"},
    {AYAR_EABS, "eabs", GRUP_EGITME, nullptr, &AYAR_DEGERLERI::eabs, nullptr, 0, SINIRSIZ, 5, "",
     31, " En Az Bolge Sayisi..........:", 'e', 1, "En Az Bolge Sayisi<", "En Az Bölge Sayısı",
     "En Az Bölge Sayısı", "", 14, "En Az Bölge Sayısı"},
    {AYAR_ONYINL, "onyinl", GRUP_EGITME, nullptr, &AYAR_DEGERLERI::onyinl, nullptr, 1, SINIRSIZ, 50, "",
     32, " OnYineleme Sayisi...........:", 'n', 2, "OnYineleme Sayisi<", "Ön Yineleme Sayısı",
     "Ön Yineleme Sayısı", "", 15, "Ön Yineleme Sayısı"},
    {AYAR_YINL, "yinl", GRUP_EGITME, nullptr, &AYAR_DEGERLERI::yinl, nullptr, 0, SINIRSIZ, 100, "",
     33, " Yineleme Sayisi.............:", 'm', 7, "Yineleme Sayisi<", "Yineleme Sayısı",
     "Yineleme sayısı", "", 16, "Yineleme Sayısı"},
};

// All settings, in screen order; Ayar(no) is the one numbered `no`.
constexpr const AYARTANIMI* AyarlarBas() { return AYAR_TABLOSU; }
constexpr const AYARTANIMI* AyarlarSon() { return AYAR_TABLOSU + AYAR_SAYISI; }
constexpr const AYARTANIMI& Ayar(AYARNO no) { return AYAR_TABLOSU[no]; }

constexpr bool AyarSirasiDogru() {
    for (int i = 0; i < AYAR_SAYISI; i++)
        if (AYAR_TABLOSU[i].no != i) return false;
    return true;
}
static_assert(AyarSirasiDogru(), "every setting sits at its own number");

// The largest feature vector and codebook: array bounds in the stages.
constexpr int AYAR_EN_COK_N = static_cast<int>(Ayar(AYAR_N).enCok);
constexpr int AYAR_EN_COK_S = static_cast<int>(Ayar(AYAR_S).enCok);
// The setting named `ad` (its field name), nullptr when none.
const AYARTANIMI* AyarBul(const std::string& ad);

// Where the setting lives in `a`: its int (nullptr for the float one) or its
// float (nullptr for the int ones).
int* TamsayiYeri(const AYARTANIMI& t, AYAR_DEGERLERI& a);
float* GercelYeri(const AYARTANIMI& t, AYAR_DEGERLERI& a);
double AyarDegeri(const AYARTANIMI& t, const AYAR_DEGERLERI& a);
// Writes `deger` (which the caller has checked) to the setting in `a`.
void AyarDegeriKoy(const AYARTANIMI& t, AYAR_DEGERLERI& a, double deger);

bool Aralikta(const AYARTANIMI& t, double deger);
// The accepted values in words: "1000–192000 Hz", "en az 1 ms",
// "en çok 100"; "" when every value is accepted.
std::string AralikMetni(const AYARTANIMI& t);

// The same, for the values the setting's field can hold: an int setting's
// open end is the int's own limit ("1–2147483647 ms"); a float setting's
// stays open.
std::string AlanAraligiMetni(const AYARTANIMI& t);

// A number as a person types it, read whole: blanks around it, a sign, and
// in a fraction a decimal point or a decimal comma ("0,001", "2,5") and an
// exponent ("1e-6"). Any other character before, inside or after it
// ("8000x", "7 8", "") makes it no number; a fraction where a whole number
// is wanted ("2.5") is told apart.
enum SAYITURU { SAYI_TAMSAYI, SAYI_FLOAT, SAYI_DOUBLE };
enum SAYIOKUNUSU { SAYI_TAMAM, SAYI_DEGIL, SAYI_TAM_DEGIL };
// On SAYI_TAMAM, *deger is the number as `tur` holds it (a float is read
// as a float, never rounded twice); one beyond the type's range is
// ±infinity, a fraction too close to zero for it is 0. "nan" is no number.
SAYIOKUNUSU SayiCoz(std::string_view metin, SAYITURU tur, double* deger);

// The rules a new value `deger` of `t` must keep with the other settings of
// `a`: "" when it keeps them, else what it breaks, in words. The high energy
// threshold may not fall below the low one, the LPC order may not exceed
// the autocorrelation order.
std::string AyarIliskisi(const AYARTANIMI& t, double deger, const AYAR_DEGERLERI& a);
// The rule every complete set of settings must keep, whichever was given
// last: "" when the LPC order of `a` is at most its autocorrelation order.
std::string AyarlarTutarsizligi(const AYAR_DEGERLERI& a);

// Gives every setting of `a` but the kind its default (the kind: `turDahil`).
void Varsayilanlar(AYAR_DEGERLERI& a, bool turDahil);
// The header's identity as a reset leaves it: format tag "VLM", the default
// kind, no word, command 0.
void KimlikVarsayilan(KURALDOSYABASLIK& b);
// Every setting at its default, with that identity: the settings a program
// starts from.
AYAR_DEGERLERI VarsayilanAyarlar();
// The LPC order a kind starts with: 12 for kind 3 (its sections and lifter
// gain from the finer envelope), the table's default for the others.
int TurunLpcDerecesi(int tur);
// Picks the kind `tur`; an LPC order still at the old kind's own becomes the
// new kind's (an order the user chose stays, as do orders the new one would
// break: above the autocorrelation order or the vector size + 1).
void TurSec(AYAR_DEGERLERI& a, int tur);

// A stage's range check of one setting: 0 when `deger` is in the table's
// range, else 1 after one message "NE A ile B[ BIRIM] arasında olmalı
// (şimdi DEGER)." (`ne` as the sentence names it, `birim` "" or " bit").
int AralikDenetle(AYARNO no, int deger, const char* ne, const char* birim);
// The check every stage that uses the sampling rate makes.
int OrneklemeOraniDenetle(int oo);

#endif
