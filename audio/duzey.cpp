#include "duzey.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "ayar_tablosu.h"

double TepeDbfs(const char* tampon, long bayt, int oc) {
    const double eksiSonsuz = -std::numeric_limits<double>::infinity();
    if (tampon == nullptr || bayt <= 0 || (oc != 8 && oc != 16 && oc != 24 && oc != 32)) return eksiSonsuz;
    const long genislik = oc / 8;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(tampon);
    int64_t tepe = 0;
    for (long i = 0; i + genislik <= bayt; i += genislik) {
        int64_t x = PcmOrnek(p + i, static_cast<int>(genislik)) >> (32 - oc);
        if (x < 0) x = -x;
        if (x > tepe) tepe = x;
    }
    if (tepe == 0) return eksiSonsuz;
    const double tamOlcek = std::ldexp(1.0, oc - 1);
    return 20.0 * std::log10(static_cast<double>(tepe) / tamOlcek);
}

std::vector<int16_t> OnAltiBitTekKanal(const char* kyt, int kytu, const KURALDOSYABASLIK& b) {
    std::vector<int16_t> x;
    const int genislik = b.oc / 8;
    if (kyt == nullptr || kytu <= 0 || b.ks < 1 || b.ks > Ayar(AYAR_KS).enCok || b.oc % 8 != 0 || genislik < 1 ||
        genislik > 4)
        return x;
    const int blok = b.ks * genislik;
    if (kytu % blok != 0) return x;
    const auto* p = reinterpret_cast<const unsigned char*>(kyt);
    x.resize(static_cast<size_t>(kytu / blok));
    for (size_t i = 0; i < x.size(); i++) {
        int64_t toplam = 0;
        for (int k = 0; k < b.ks; k++, p += genislik) toplam += PcmOrnek(p, genislik) >> 16;
        x[i] = static_cast<int16_t>(toplam / b.ks);
    }
    return x;
}
