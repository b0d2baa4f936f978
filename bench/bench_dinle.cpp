// Listening: the work done when an utterance ends (analysis of 0.6 s of
// voiced sound and scoring against 10 and 100 codebooks of 10 x 15, the
// codebooks written to a directory and kept in memory as velmo-dinle keeps
// them), and the work of one
// block of 256 samples of the stream (measures, thresholds, history), given
// as a fraction of the block's own duration ("gercek_zaman").
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bellek.h"
#include "dosya.h"
#include "konsol.h"
#include "dinleyici.h"
#include "sifirlama.h"
#include "tanir.h"
#include "velmo.h"

namespace {

const int OO = 12000;

// Voiced sound: harmonics of 120 Hz under two formant-like peaks, some noise.
std::vector<int16_t> Sesli(double saniye, unsigned tohum) {
    std::mt19937 g(tohum);
    std::normal_distribution<double> u(0, 1);
    std::vector<int16_t> x(static_cast<size_t>(saniye * OO));
    for (size_t i = 0; i < x.size(); i++) {
        double v = 0;
        for (int h = 1; h * 120 < OO / 2; h++) {
            const double f = h * 120.0;
            const double g1 = 1.0 / (1.0 + std::pow((f - 700) / 150, 2)) + 0.5 / (1.0 + std::pow((f - 1800) / 200, 2));
            v += g1 * std::sin(2 * M_PI * f * static_cast<double>(i) / OO);
        }
        x[i] = static_cast<int16_t>(std::lround(4000 * v + 30 * u(g)));
    }
    return x;
}

void BM_SozSonu(benchmark::State& st) {
    Sifirla(0);
    const int adet = static_cast<int>(st.range(0));
    char sablon[] = "/tmp/velmo_bench_dinle_XXXXXX";
    if (mkdtemp(sablon) == nullptr) {
        st.SkipWithError("gecici dizin yok");
        return;
    }
    const std::string dizin = sablon;
    std::mt19937 g(7);
    std::normal_distribution<float> dag(0.0f, 0.5f);
    const KURALDOSYABASLIK ayar = ayr.kdbaslik;
    std::string mesaj0;
    for (int k = 0; k < adet; k++) {
        ayr.km = Calloc2B<float>(10, 15, 4);
        ayr.kms = 10;
        ayr.kmn = 15;
        for (int i = 0; i < 10; i++)
            for (int j = 0; j < 15; j++) ayr.km[i][j] = dag(g);
        ayr.kdbaslik = ayar;
        std::snprintf(ayr.kdbaslik.soz, sizeof ayr.kdbaslik.soz, "soz%d", k);
        std::snprintf(ayr.kdad, sizeof ayr.kdad, "%s/k%03d.vlm", sablon, k);
        mesaj0 += Yakala([] { KuralDosyaKaydet(); });
        Free2B(ayr.km);
        ayr.km = nullptr;
        ayr.kms = ayr.kmn = 0;
    }
    ayr.kdbaslik = ayar;
    KITAP_KUMESI kitaplar(dizin, ayar, {});
    std::string mesaj;
    if (kitaplar.Tazele(&mesaj) != 1 || kitaplar.Kitaplar().size() != static_cast<size_t>(adet))
        st.SkipWithError(("kural dosyalari okunamadi: " + mesaj0 + mesaj).c_str());
    const std::vector<int16_t> soz = Sesli(0.6, 3);
    for (auto _ : st) {
        mesaj.clear();
        DINLE_SONUCU t = kitaplar.Tani(soz.data(), soz.size(), 0, 0, &mesaj);
        benchmark::DoNotOptimize(t.puan);
    }
    std::filesystem::remove_all(dizin);
    Sifirla(0);
}
BENCHMARK(BM_SozSonu)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// A 10 s stream: background noise with a 0.5 s word every 2 s, fed block by
// block in a loop; the utterances are cut out but not recognised.
void BM_AkisBlogu(benchmark::State& st) {
    std::mt19937 g(5);
    std::normal_distribution<double> u(0, 1);
    std::vector<int16_t> akis(static_cast<size_t>(10 * OO));
    for (auto& v : akis) v = static_cast<int16_t>(std::lround(40 * u(g)));
    const std::vector<int16_t> soz = Sesli(0.5, 9);
    for (int s = 1; s < 10; s += 2)
        for (size_t i = 0; i < soz.size(); i++) akis[static_cast<size_t>(s * OO) + i] += soz[i];
    BOLUTAYARI a;
    DINLEYICI dn(a, 0.4, true);
    std::vector<SES_PARCASI> sozler, kayitlar;
    const size_t BLOK = 256;
    size_t i = 0;
    int64_t ornek = 0;
    for (auto _ : st) {
        dn.Besle(akis.data() + i, BLOK, sozler, kayitlar);
        sozler.clear();
        kayitlar.clear();
        i += BLOK;
        if (i + BLOK > akis.size()) i = 0;
        ornek += BLOK;
    }
    // Seconds of work per second of sound.
    st.counters["gercek_zaman"] =
        benchmark::Counter(static_cast<double>(ornek) / OO, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AkisBlogu)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
