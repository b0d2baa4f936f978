// Recognising one utterance (150 frames of 15 cepstra, about 1.5 s of
// speech) against 10 kind-3 codebooks of 10 x 15: the recognition screen's
// scan (each file read, validated and scored) and the scoring of codebooks
// kept in memory (velmo-toplu degerlendir). Both stay well under 1 ms.
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
#include "tarama.h"
#include "velmo.h"

namespace fs = std::filesystem;

namespace {

std::string cikti;

fs::path Dizin() {
    char sablon[] = "/tmp/velmo-bench-XXXXXX";
    fs::path d = mkdtemp(sablon);
    std::mt19937 g(7);
    std::normal_distribution<float> dag(0.0f, 1.0f);
    Sifirla(0);
    for (int k = 0; k < 10; k++) {
        Sifirla(4);
        ayr.kdbaslik.tur = 3;
        ayr.km = Calloc2B<float>(10, 15, 4);
        ayr.kms = 10, ayr.kmn = 15;
        for (int i = 0; i < 10; i++)
            for (int j = 0; j < 15; j++) ayr.km[i][j] = 4.0f * dag(g);
        std::snprintf(ayr.kdbaslik.soz, sizeof ayr.kdbaslik.soz, "soz%d", k);
        std::snprintf(ayr.kdad, sizeof ayr.kdad, "%s/k%02d.vlm", d.c_str(), k);
        KuralDosyaKaydet();
    }
    Sifirla(0);
    ayr.kdbaslik.tur = 3;
    ayr.r = 150;
    ayr.Ci = Calloc2B<float>(151, 16, 4);
    ayr.DelCi = Calloc2B<float>(151, 16, 4);
    for (int i = 0; i < 150; i++)
        for (int j = 0; j < 15; j++) ayr.Ci[i][j] = 0.5f * dag(g);
    return d;
}

void BM_KesitliTarama(benchmark::State& st) {
    KonsolTestKur("", &cikti);
    const fs::path d = Dizin();
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
BENCHMARK(BM_KesitliTarama)->Unit(benchmark::kMicrosecond);

void BM_KesitliPuanlama(benchmark::State& st) {
    KonsolTestKur("", &cikti);
    const fs::path d = Dizin();
    std::vector<KURALKITABI> kitaplar;
    std::string m;
    KuralKitaplariOku(d.string(), ayr.kdbaslik, kitaplar, &m);
    if (kitaplar.size() != 10) st.SkipWithError("codebooks not read");
    for (auto _ : st) {
        cikti.clear();
        std::vector<TANIMA_SONUCU> p = KuralKitaplariPuanla(kitaplar);
        benchmark::DoNotOptimize(p.data());
    }
    KuralKitaplariBirak(kitaplar);
    fs::remove_all(d);
    Sifirla(0);
    KonsolTestBitir();
}
BENCHMARK(BM_KesitliPuanlama)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
