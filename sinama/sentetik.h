// A word-like sound for tests and benchmarks that need speech without a
// voice: after `bas` seconds of faint noise, `sure` seconds of a gliding
// two-tone vowel (f0 rising by 300 Hz and about 4.3 f0 falling by 900 Hz)
// under a sine swell of 9000, the whole `toplam` seconds under uniform
// noise of +-80 from the C standard's example generator seeded `tohum`.
// The same samples on every machine.
#ifndef SENTETIK_H
#define SENTETIK_H

#include <cmath>
#include <cstdint>
#include <vector>

inline std::vector<int16_t> SentetikSozcuk(double bas, double sure, double toplam, double f0, unsigned tohum,
                                           int oo) {
    std::vector<int16_t> x(static_cast<size_t>(toplam * oo));
    double faz1 = 0, faz2 = 0;
    for (size_t i = 0; i < x.size(); i++) {
        tohum = tohum * 1103515245u + 12345u;
        double v = static_cast<double>((tohum >> 8) % 161) - 80;
        const double t = (static_cast<double>(i) / oo - bas) / sure;
        if (t >= 0 && t < 1) {
            faz1 += 2 * M_PI * (f0 + 300 * t) / oo;
            faz2 += 2 * M_PI * (f0 * 4.3 - 900 * t) / oo;
            v += 9000 * std::sin(M_PI * t) * (std::sin(faz1) + 0.5 * std::sin(faz2));
        }
        x[i] = static_cast<int16_t>(std::lround(v));
    }
    return x;
}

#endif
