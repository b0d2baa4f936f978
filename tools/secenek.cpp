#include "secenek.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "velmo.h"

namespace {

struct AYARSECENEGI {
    const char* ad;
    int* alan;          // int settings
    const char* etiket; // what it is, as the settings screen names it
};

const AYARSECENEGI kAyarlar[] = {
    {"oo", &ayr.kdbaslik.oo, "Örnekleme Oranı (Hz)"},
    {"ksu", &ayr.kdbaslik.ksu, "Kayıt Süresi (s), eğitimde ve çizimde"},
    {"kpensu", &ayr.kdbaslik.kpensu, "Kısa Pencere Süresi (ms), uç noktalar için"},
    {"yee", &ayr.kdbaslik.yee, "Yüksek Örke Eşiği"},
    {"aee", &ayr.kdbaslik.aee, "Alçak Örke Eşiği"},
    {"bsge", &ayr.kdbaslik.bsge, "Başlangıç Sıfır Geçiş Eşiği"},
    {"pensu", &ayr.kdbaslik.pensu, "Pencere Süresi (ms), LPC çerçeveleri"},
    {"admsu", &ayr.kdbaslik.admsu, "Adım Süresi (ms)"},
    {"m", &ayr.kdbaslik.m, "Öz Bağlılaşım Derecesi"},
    {"n", &ayr.kdbaslik.n, "LPC/DeltaLPC Yöney Boyutu"},
    {"p", &ayr.kdbaslik.p, "LPC Süzgeç Derecesi"},
    {"s", &ayr.kdbaslik.s, "Kural Yöneyleri Sayısı"},
    {"thm", &ayr.thm, "Rasgelelik Tohumu"},
    {"eabs", &ayr.eabs, "En Az Bölge Sayısı"},
    {"onyinl", &ayr.onyinl, "Ön Yineleme Sayısı"},
    {"yinl", &ayr.yinl, "Yineleme Sayısı"},
    {"tur", &ayr.kdbaslik.tur, "Kural kitabı türü: 1 LPC, 2 DeltaLPC, 3 kesitli LPC (gürültülü odada daha doğru)"},
};

const AYARSECENEGI* AyarBul(const std::string& ad) {
    for (const AYARSECENEGI& a : kAyarlar)
        if (ad == a.ad) return &a;
    return nullptr;
}

const char* Bas(const std::string& m) { return (!m.empty() && m[0] == '+') ? m.c_str() + 1 : m.c_str(); }

}  // namespace

bool TamsayiCoz(const std::string& metin, int& deger) {
    const char* b = Bas(metin);
    const char* s = metin.c_str() + metin.size();
    if (b == s || (b != metin.c_str() && *b == '-')) return false;
    int d = 0;
    auto r = std::from_chars(b, s, d);
    if (r.ec != std::errc() || r.ptr != s) return false;
    deger = d;
    return true;
}

bool GercelCoz(const std::string& metin, double& deger) {
    const char* b = Bas(metin);
    const char* s = metin.c_str() + metin.size();
    if (b == s || (b != metin.c_str() && *b == '-')) return false;
    double d = 0;
    auto r = std::from_chars(b, s, d, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != s || !std::isfinite(d)) return false;
    deger = d;
    return true;
}

bool FloatCoz(const std::string& metin, float& deger) {
    const char* b = Bas(metin);
    const char* s = metin.c_str() + metin.size();
    if (b == s || (b != metin.c_str() && *b == '-')) return false;
    float d = 0;
    auto r = std::from_chars(b, s, d, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != s || !std::isfinite(d)) return false;
    deger = d;
    return true;
}

bool AyarSecenegiMi(const std::string& ad) { return ad == "uae" || AyarBul(ad) != nullptr; }

bool AyarSecenegiUygula(const std::string& ad, const std::string& deger, std::string* hata) {
    if (ad == "uae") {
        if (!FloatCoz(deger, ayr.uae)) {
            *hata = "--uae için sayı bekleniyor: '" + deger + "'";
            return false;
        }
        return true;
    }
    const AYARSECENEGI* a = AyarBul(ad);
    if (a == nullptr) {
        *hata = "bilinmeyen ayar --" + ad;
        return false;
    }
    if (!TamsayiCoz(deger, *a->alan)) {
        *hata = "--" + ad + " için tamsayı bekleniyor: '" + deger + "'";
        return false;
    }
    return true;
}

std::string AyarYardimi() {
    std::string o = "Ayarlar (ayar menüsünün alanları; varsayılanlar sıfırlamanınkiler):\n";
    char satir[160];
    for (const AYARSECENEGI& a : kAyarlar) {
        std::snprintf(satir, sizeof satir, "  --%-8s SAYI  %s (%d)\n", a.ad, a.etiket, *a.alan);
        o += satir;
    }
    std::snprintf(satir, sizeof satir, "  --%-8s SAYI  %s (%f)\n", "uae", "Uzaklık Alt Eşiği",
                  static_cast<double>(ayr.uae));
    o += satir;
    return o;
}

bool SesSecenegiMi(const std::string& ad) { return ad == "dolgu" || ad == "tepe" || ad == "gurultu"; }

bool SesSecenegiUygula(const std::string& ad, const std::string& deger, SESAYARI& ayar, std::string* hata) {
    double d = 0;
    if (!GercelCoz(deger, d)) {
        *hata = "--" + ad + " için sayı bekleniyor: '" + deger + "'";
        return false;
    }
    if (ad == "dolgu") {
        if (d < 0 || d > 60) {
            *hata = "--dolgu 0 ile 60 saniye arasında olmalı";
            return false;
        }
        ayar.dolgu = d;
    } else if (ad == "tepe") {
        if (d < -120 || d > 0) {
            *hata = "--tepe -120 ile 0 dB arasında olmalı";
            return false;
        }
        ayar.tepeVar = true;
        ayar.tepe = d;
    } else {
        if (d < -120 || d > 0) {
            *hata = "--gurultu -120 ile 0 dB arasında olmalı";
            return false;
        }
        ayar.gurultuVar = true;
        ayar.gurultu = d;
    }
    return true;
}

std::string SesYardimi() {
    return "Ses dosyası seçenekleri:\n"
           "  --dolgu SANİYE   sesin önüne ve arkasına sessizlik ekler (sıkı kesilmiş kayıtlar için)\n"
           "  --tepe DB        sesin tepesini bu düzeye getirir (dBFS, örneğin -6)\n"
           "  --gurultu DB     bütün kayda bu tepe düzeyinde beyaz gürültü ekler (dBFS, örneğin -54)\n";
}

bool KayitAyarlariGecerli(int saniye, std::string* hata) {
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    if (b.oo < 1000 || b.oo > 192000) {
        *hata = "--oo 1000 ile 192000 Hz arasında olmalı (şimdi " + std::to_string(b.oo) + ")";
        return false;
    }
    if (saniye < 1 || saniye > 60) {
        *hata = "--ksu 1 ile 60 saniye arasında olmalı (şimdi " + std::to_string(saniye) + ")";
        return false;
    }
    return true;
}
