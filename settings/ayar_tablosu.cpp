#include "ayar_tablosu.h"

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

std::string AralikMetni(const AYARTANIMI& t) {
    const bool alt = std::isfinite(t.enAz), ust = std::isfinite(t.enCok);
    std::string m;
    if (alt && ust) m = Sayi(t.enAz) + "–" + Sayi(t.enCok);
    else if (alt) m = "en az " + Sayi(t.enAz);
    else if (ust) m = "en çok " + Sayi(t.enCok);
    else return m;
    if (*t.birim != '\0') m += std::string(" ") + t.birim;
    return m;
}

std::string AyarIliskisi(const AYARTANIMI& t, double deger, const AYAR_DEGERLERI& a) {
    const AYARTANIMI &yuksek = AYAR_TABLOSU[AYAR_YEE], &alcak = AYAR_TABLOSU[AYAR_AEE];
    if (t.no == AYAR_YEE && deger < AyarDegeri(alcak, a))
        return std::string(t.adi) + ", " + alcak.adi + "'nden (" + Sayi(AyarDegeri(alcak, a)) + ") küçük olamaz";
    if (t.no == AYAR_AEE && deger > AyarDegeri(yuksek, a))
        return std::string(t.adi) + ", " + yuksek.adi + "'nden (" + Sayi(AyarDegeri(yuksek, a)) + ") büyük olamaz";
    // The recursion of order p reads the correlation lags 1..p.
    const AYARTANIMI &derece = AYAR_TABLOSU[AYAR_P], &baglilasim = AYAR_TABLOSU[AYAR_M];
    if (t.no == AYAR_P && deger > AyarDegeri(baglilasim, a))
        return std::string(t.adi) + ", " + baglilasim.adi + "'nden (" + Sayi(AyarDegeri(baglilasim, a)) +
               ") büyük olamaz";
    if (t.no == AYAR_M && deger < AyarDegeri(derece, a))
        return std::string(t.adi) + ", " + derece.adi + "'nden (" + Sayi(AyarDegeri(derece, a)) + ") küçük olamaz";
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
    Yaz("%s %s ile %s%s arasında olmalı (şimdi %d).\n", ne, Sayi(t.enAz).c_str(), Sayi(t.enCok).c_str(), birim,
        deger);
    return 1;
}

int OrneklemeOraniDenetle(int oo) { return AralikDenetle(AYAR_OO, oo, "Örnekleme oranı", " Hz"); }
