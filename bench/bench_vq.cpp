// Training a codebook from one utterance's feature vectors (new and existing)
// and scoring an utterance against a codebook, at the default sizes.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "bellek.h"
#include "dosya.h"
#include "konsol.h"
#include "sifirlama.h"
#include "velmo.h"
#include "vq1.h"

namespace {

std::string cikti;

// r feature rows (r + 1 rows of n + 1 floats, as the analysis makes them),
// spread like cepstra of several sounds.
float** Ozellikler(int r, int n) {
    float** m = Calloc2B<float>(r + 1, n + 1, 4);
    uint32_t x = 12345;
    for (int i = 0; i < r; i++)
        for (int j = 0; j < n; j++) {
            x = x * 1664525u + 1013904223u;
            const float merkez = static_cast<float>((i / 30) % 7) * 0.3f - 1.0f;
            m[i][j] = merkez + (static_cast<float>(x >> 8) / 16777216.0f - 0.5f) * 0.4f / static_cast<float>(j + 1);
        }
    return m;
}

void Hazirla(int r) {
    KonsolTestKur("", &cikti);
    Sifirla(0);
    ayr.Ci = Ozellikler(r, ayr.kdbaslik.n);
    ayr.r = r;
}

void BM_YeniKuralKitabi(benchmark::State& st) {
    Hazirla(300);
    for (auto _ : st) {
        st.PauseTiming();
        Free2B(ayr.km);
        ayr.km = nullptr;
        ayr.kdbayrak = 0;
        cikti.clear();
        st.ResumeTiming();
        if (VQ_Egit() != 0) st.SkipWithError("training failed");
    }
    Sifirla(0);
    KonsolTestBitir();
}

void BM_VarOlanKuralKitabi(benchmark::State& st) {
    Hazirla(300);
    VQ_Egit();
    float** egitilmis = Calloc2B<float>(ayr.kdbaslik.s, ayr.kdbaslik.n, 4);
    for (int i = 0; i < ayr.kdbaslik.s; i++)
        for (int j = 0; j < ayr.kdbaslik.n; j++) egitilmis[i][j] = ayr.km[i][j];
    // A second utterance: the same sounds, shifted a little.
    for (int i = 0; i < ayr.r; i++)
        for (int j = 0; j < ayr.kdbaslik.n; j++) ayr.Ci[i][j] += 0.01f * static_cast<float>((i + j) % 5);
    ayr.kdbayrak = 1;
    for (auto _ : st) {
        st.PauseTiming();
        for (int i = 0; i < ayr.kdbaslik.s; i++)
            for (int j = 0; j < ayr.kdbaslik.n; j++) ayr.km[i][j] = egitilmis[i][j];
        cikti.clear();
        st.ResumeTiming();
        if (VQ_Egit() != 0) st.SkipWithError("training failed");
    }
    Free2B(egitilmis);
    Sifirla(0);
    KonsolTestBitir();
}

void BM_Puanlama(benchmark::State& st) {
    Hazirla(300);
    VQ_Egit();
    Free2B(ayr.Ci);
    ayr.Ci = Ozellikler(200, ayr.kdbaslik.n);
    ayr.r = 200;
    for (auto _ : st) {
        cikti.clear();
        benchmark::DoNotOptimize(OlasilikBul());
    }
    Sifirla(0);
    KonsolTestBitir();
}

// Reading one default 10 x 15 codebook file, as the recognition screen does
// for every file of the directory.
void BM_DosyaOku(benchmark::State& st) {
    KonsolTestKur("", &cikti);
    Sifirla(0);
    ayr.km = Calloc2B<float>(10, 15, 4);
    ayr.kms = 10, ayr.kmn = 15;
    const std::string ad = "/tmp/bench_vq_" + std::to_string(::getpid()) + ".vlm";
    std::snprintf(ayr.kdad, sizeof ayr.kdad, "%s", ad.c_str());
    if (KuralDosyaKaydet() != 0) st.SkipWithError("cannot write the file");
    KURALDOSYABASLIK b;
    for (auto _ : st) {
        float** km = nullptr;
        if (KuralDosyasiOku(ad.c_str(), &b, &km) != KDOKU_TAMAM) st.SkipWithError("cannot read the file");
        Free2B(km);
    }
    std::remove(ad.c_str());
    Sifirla(0);
    KonsolTestBitir();
}

}  // namespace

BENCHMARK(BM_YeniKuralKitabi)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VarOlanKuralKitabi)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Puanlama)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DosyaOku)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
