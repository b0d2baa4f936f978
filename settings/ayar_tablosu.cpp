#include "ayar_tablosu.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "mesaj.h"

namespace {

std::string Sayi(double d) {
    char b[64];
    std::snprintf(b, sizeof b, "%.10g", d);
    return b;
}

}  // namespace

const AYARTANIMI* AyarBul(const std::string& ad) {
    for (const AYARTANIMI& t : AYAR_TABLOSU)
        if (ad == t.ad) return &t;
    return nullptr;
}

int* TamsayiYeri(const AYARTANIMI& t, AYAR_DEGERLERI& a) {
    if (t.baslikAlani != nullptr) return &(a.kdbaslik.*t.baslikAlani);
    if (t.tamsayiAlani != nullptr) return &(a.*t.tamsayiAlani);
    return nullptr;
}

float* GercelYeri(const AYARTANIMI& t, AYAR_DEGERLERI& a) {
    return t.gercelAlani != nullptr ? &(a.*t.gercelAlani) : nullptr;
}

double AyarDegeri(const AYARTANIMI& t, const AYAR_DEGERLERI& a) {
    AYAR_DEGERLERI& d = const_cast<AYAR_DEGERLERI&>(a);
    if (const int* i = TamsayiYeri(t, d)) return *i;
    return static_cast<double>(*GercelYeri(t, d));
}

void AyarDegeriKoy(const AYARTANIMI& t, AYAR_DEGERLERI& a, double deger) {
    if (int* i = TamsayiYeri(t, a)) *i = static_cast<int>(deger);
    else *GercelYeri(t, a) = static_cast<float>(deger);
}

bool Aralikta(const AYARTANIMI& t, double deger) {
    return std::isfinite(deger) && deger >= t.enAz && deger <= t.enCok;
}

namespace {

std::string AralikMetni(double enAz, double enCok, const char* birim) {
    const bool alt = std::isfinite(enAz), ust = std::isfinite(enCok);
    std::string m;
    if (alt && ust) m = Sayi(enAz) + "–" + Sayi(enCok);
    else if (alt) m = Ceviri("en az ") + Sayi(enAz);
    else if (ust) m = Ceviri("en çok ") + Sayi(enCok);
    else return m;
    if (*birim != '\0') m += std::string(" ") + birim;
    return m;
}

bool Bosluk(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// A number too large or too small for its type: ±infinity, or a signed 0
// when its exponent is negative or it starts "0." (without an exponent).
double Tasan(const std::string& s) {
    const bool eksi = s[0] == '-';
    const size_t us = s.find_first_of("eE");
    const size_t bas = eksi ? 1 : 0;
    const bool kucuk = us != std::string::npos ? us + 1 < s.size() && s[us + 1] == '-'
                                               : s[bas] == '.' || (s[bas] == '0' && s.find('.') != std::string::npos);
    const double d = kucuk ? 0.0 : std::numeric_limits<double>::infinity();
    return eksi ? -d : d;
}

}  // namespace

std::string AralikMetni(const AYARTANIMI& t) { return AralikMetni(t.enAz, t.enCok, t.birim); }

std::string AlanAraligiMetni(const AYARTANIMI& t) {
    if (t.gercelAlani != nullptr) return AralikMetni(t);
    return AralikMetni(std::max(t.enAz, static_cast<double>(INT_MIN)), std::min(t.enCok, static_cast<double>(INT_MAX)),
                       t.birim);
}

SAYIOKUNUSU SayiCoz(std::string_view metin, SAYITURU tur, double* deger) {
    while (!metin.empty() && Bosluk(metin.front())) metin.remove_prefix(1);
    while (!metin.empty() && Bosluk(metin.back())) metin.remove_suffix(1);
    // from_chars takes a '-' but no '+'.
    if (!metin.empty() && metin.front() == '+') {
        metin.remove_prefix(1);
        if (!metin.empty() && metin.front() == '-') return SAYI_DEGIL;
    }
    if (metin.empty()) return SAYI_DEGIL;
    std::string s(metin);
    // The decimal comma, when it is the only separator.
    const size_t virgul = s.find(',');
    if (virgul != std::string::npos && s.find(',', virgul + 1) == std::string::npos &&
        s.find('.') == std::string::npos)
        s[virgul] = '.';
    const char* b = s.data();
    const char* son = b + s.size();
    if (tur == SAYI_TAMSAYI) {
        int i = 0;
        const auto r = std::from_chars(b, son, i);
        if (r.ptr == son && r.ec == std::errc()) *deger = i;
        else if (r.ptr == son && r.ec == std::errc::result_out_of_range) *deger = Tasan(s);
        else {
            double d = 0;
            return SayiCoz(metin, SAYI_DOUBLE, &d) == SAYI_TAMAM ? SAYI_TAM_DEGIL : SAYI_DEGIL;
        }
        return SAYI_TAMAM;
    }
    double d = 0;
    std::from_chars_result r;
    if (tur == SAYI_FLOAT) {
        float f = 0;
        r = std::from_chars(b, son, f, std::chars_format::general);
        d = static_cast<double>(f);
    } else {
        r = std::from_chars(b, son, d, std::chars_format::general);
    }
    if (r.ptr != son || (r.ec != std::errc() && r.ec != std::errc::result_out_of_range)) return SAYI_DEGIL;
    if (r.ec == std::errc::result_out_of_range) {
        // Beyond a float may be within a double: the float it rounds to is
        // then infinity or a zero.
        if (tur == SAYI_FLOAT) {
            SayiCoz(metin, SAYI_DOUBLE, &d);
            d = std::fabs(d) > FLT_MAX ? std::copysign(std::numeric_limits<double>::infinity(), d)
                                       : static_cast<double>(static_cast<float>(d));
        } else {
            d = Tasan(s);
        }
    }
    if (std::isnan(d)) return SAYI_DEGIL;
    *deger = d;
    return SAYI_TAMAM;
}

namespace {

// "t cannot be below/above oteki (its value)", in the language of the messages.
std::string Iliski(const AYARTANIMI& t, const AYARTANIMI& oteki, const AYAR_DEGERLERI& a, bool kucuk) {
    return Bicimle(kucuk ? Ceviri("%s, %s'nden (%s) küçük olamaz") : Ceviri("%s, %s'nden (%s) büyük olamaz"),
                   Ceviri(t.adi), Ceviri(oteki.adi), Sayi(AyarDegeri(oteki, a)).c_str());
}

}  // namespace

std::string AyarIliskisi(const AYARTANIMI& t, double deger, const AYAR_DEGERLERI& a) {
    const AYARTANIMI &yuksek = AYAR_TABLOSU[AYAR_YEE], &alcak = AYAR_TABLOSU[AYAR_AEE];
    if (t.no == AYAR_YEE && deger < AyarDegeri(alcak, a)) return Iliski(t, alcak, a, true);
    if (t.no == AYAR_AEE && deger > AyarDegeri(yuksek, a)) return Iliski(t, yuksek, a, false);
    // The recursion of order p reads the correlation lags 1..p.
    const AYARTANIMI &derece = AYAR_TABLOSU[AYAR_P], &baglilasim = AYAR_TABLOSU[AYAR_M];
    if (t.no == AYAR_P && deger > AyarDegeri(baglilasim, a)) return Iliski(t, baglilasim, a, false);
    if (t.no == AYAR_M && deger < AyarDegeri(derece, a)) return Iliski(t, derece, a, true);
    return std::string();
}

std::string AyarlarTutarsizligi(const AYAR_DEGERLERI& a) {
    const AYARTANIMI& t = AYAR_TABLOSU[AYAR_P];
    return AyarIliskisi(t, AyarDegeri(t, a), a);
}

void Varsayilanlar(AYAR_DEGERLERI& a, bool turDahil) {
    for (const AYARTANIMI& t : AYAR_TABLOSU)
        if (t.no != AYAR_TUR || turDahil) AyarDegeriKoy(t, a, t.varsayilan);
}

void KimlikVarsayilan(KURALDOSYABASLIK& b) {
    const char kdbicim[4] = {'V', 'L', 'M', '\0'};
    std::memcpy(b.bicim, kdbicim, 4);
    b.tur = static_cast<int>(Ayar(AYAR_TUR).varsayilan);
    std::memset(b.soz, 0, sizeof b.soz);
    b.kmt = 0;
}

AYAR_DEGERLERI VarsayilanAyarlar() {
    AYAR_DEGERLERI a{};
    KimlikVarsayilan(a.kdbaslik);
    Varsayilanlar(a, false);
    return a;
}

int TurunLpcDerecesi(int tur) { return tur == 3 ? 12 : static_cast<int>(Ayar(AYAR_P).varsayilan); }

void TurSec(AYAR_DEGERLERI& a, int tur) {
    KURALDOSYABASLIK& b = a.kdbaslik;
    const int yeni = TurunLpcDerecesi(tur);
    if (b.p == TurunLpcDerecesi(b.tur) && yeni <= b.m && yeni <= b.n + 1) b.p = yeni;
    b.tur = tur;
}

int AralikDenetle(AYARNO no, int deger, const char* ne, const char* birim) {
    const AYARTANIMI& t = AYAR_TABLOSU[no];
    if (Aralikta(t, deger)) return 0;
    // The stages name the setting and its unit in Turkish; both are
    // catalogue texts too.
    Yaz("%s %s ile %s%s arasında olmalı (şimdi %d).\n", Ceviri(ne), Sayi(t.enAz).c_str(), Sayi(t.enCok).c_str(),
        Ceviri(birim), deger);
    return 1;
}

int OrneklemeOraniDenetle(int oo) { return AralikDenetle(AYAR_OO, oo, "Örnekleme oranı", " Hz"); }
