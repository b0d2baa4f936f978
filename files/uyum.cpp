#include "uyum.h"

#include <string>

namespace {

// Do codebooks of these two kinds take their vectors from the same
// analysis? Kinds 1 and 2 do (cepstrum and delta cepstrum of one set of
// frames); kind 3 finds its end points with thresholds of its own, so it
// shares its analysis only with kind 3; a kind this program does not know
// shares it with nothing.
bool AyniCozumleme(int tur1, int tur2) {
    const bool bilinen1 = tur1 == 1 || tur1 == 2, bilinen2 = tur2 == 1 || tur2 == 2;
    return (bilinen1 && bilinen2) || (tur1 == 3 && tur2 == 3);
}

struct AYAR {
    const char* ad;
    int KURALDOSYABASLIK::*alan;
};

// In header order, so the first difference named is the first stored.
const AYAR ayarlar[] = {
    {"Kanal Sayısı", &KURALDOSYABASLIK::ks},
    {"Örnekleme Oranı", &KURALDOSYABASLIK::oo},
    {"Örnek Çözünürlüğü", &KURALDOSYABASLIK::oc},
    {"Örke/Sıfır Geçiş Kısa Pencere Süresi", &KURALDOSYABASLIK::kpensu},
    {"LPC Pencere Süresi", &KURALDOSYABASLIK::pensu},
    {"Adım Süresi", &KURALDOSYABASLIK::admsu},
    {"Özbağlılaşım Derecesi", &KURALDOSYABASLIK::m},
    {"LPC/DLPC Yöney Boyutu", &KURALDOSYABASLIK::n},
    {"LPC Süzgeç Derecesi", &KURALDOSYABASLIK::p},
};

std::string Fark(const char* ad, int dosyada, int cozumlemede) {
    return std::string(ad) + " dosyada " + std::to_string(dosyada) + ", çözümlemede " + std::to_string(cozumlemede);
}

}  // namespace

std::string CozumlemeFarki(const KURALDOSYABASLIK& kitap, const KURALDOSYABASLIK& analiz) {
    if (!AyniCozumleme(kitap.tur, analiz.tur)) return Fark("Tür", kitap.tur, analiz.tur);
    for (const AYAR& a : ayarlar)
        if (kitap.*a.alan != analiz.*a.alan) return Fark(a.ad, kitap.*a.alan, analiz.*a.alan);
    return std::string();
}
