// The recognition scan: one utterance (150 frames of 15 components, about
// 1.5 s of speech) scored against 10, 100 and 1000 codebook files of 10 x 15,
// each file read, validated and scored as the recognition screen does.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "bellek.h"
#include "dosya.h"
#include "konsol.h"
#include "sifirlama.h"
#include "tanima.h"
#include "velmo.h"

namespace fs = std::filesystem;

namespace {

std::string cikti;

fs::path Dizin(int dosyalar) {
    char sablon[] = "/tmp/velmo-bench-XXXXXX";
    fs::path d = mkdtemp(sablon);
    std::mt19937 g(7);
    std::normal_distribution<float> dag(0.0f, 1.0f);
    Sifirla(0);
    for (int k = 0; k < dosyalar; k++) {
        Sifirla(4);
        ayr.km = Calloc2B<float>(10, 15, 4);
        ayr.kms = 10, ayr.kmn = 15;
        for (int i = 0; i < 10; i++)
            for (int j = 0; j < 15; j++) ayr.km[i][j] = dag(g);
        std::snprintf(ayr.kdbaslik.soz, sizeof ayr.kdbaslik.soz, "soz%d", k);
        std::snprintf(ayr.kdad, sizeof ayr.kdad, "%s/k%04d.vlm", d.c_str(), k);
        KuralDosyaKaydet();
    }
    Sifirla(0);
    ayr.r = 150;
    ayr.Ci = Calloc2B<float>(151, 16, 4);
    ayr.DelCi = Calloc2B<float>(151, 16, 4);
    for (int i = 0; i < 150; i++)
        for (int j = 0; j < 15; j++) ayr.Ci[i][j] = dag(g);
    return d;
}

void BM_Tarama(benchmark::State& st) {
    KonsolTestKur("", &cikti);
    const fs::path d = Dizin(static_cast<int>(st.range(0)));
    TANIMA_SONUCU enIyi;
    for (auto _ : st) {
        cikti.clear();
        KuralDosyalariniTara(d.c_str(), ayr.kdbaslik, &enIyi, nullptr);
        benchmark::DoNotOptimize(enIyi.puan);
    }
    fs::remove_all(d);
    Sifirla(0);
    KonsolTestBitir();
}
BENCHMARK(BM_Tarama)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
