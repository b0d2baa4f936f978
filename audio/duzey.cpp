#include "duzey.h"

#include <cmath>
#include <cstdint>
#include <limits>

double TepeDbfs(const char* tampon, long bayt, int oc) {
    const double eksiSonsuz = -std::numeric_limits<double>::infinity();
    if (tampon == nullptr || bayt <= 0 || (oc != 8 && oc != 16 && oc != 24 && oc != 32)) return eksiSonsuz;
    const long genislik = oc / 8;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(tampon);
    int64_t tepe = 0;
    for (long i = 0; i + genislik <= bayt; i += genislik) {
        int64_t x;
        if (oc == 8) {
            x = static_cast<int64_t>(p[i]) - 128;
        } else {
            uint32_t u = 0;
            for (long k = 0; k < genislik; k++) u |= static_cast<uint32_t>(p[i + k]) << (8 * k);
            u <<= 32 - oc;  // sign bit to the top, then back down with the sign
            x = static_cast<int64_t>(static_cast<int32_t>(u)) >> (32 - oc);
        }
        if (x < 0) x = -x;
        if (x > tepe) tepe = x;
    }
    if (tepe == 0) return eksiSonsuz;
    const double tamOlcek = std::ldexp(1.0, oc - 1);
    return 20.0 * std::log10(static_cast<double>(tepe) / tamOlcek);
}
