// Recognising one utterance (150 frames of 15 cepstra, about 1.5 s of
// speech) against 10 kind-3 codebooks of 10 x 15: the recognition screen's
// scan (each file read, validated and scored) and the scoring of codebooks
// kept in memory (velmo-toplu degerlendir). Both stay well under 1 ms.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "lpc.h"
#include "matris.h"
#include "mesaj_kaydi.h"
#include "tanima.h"
#include "tarama.h"
#include "velmo.h"

namespace fs = std::filesystem;

namespace {

std::string cikti;

KURALDOSYABASLIK Analiz() {
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    b.tur = 3;
    return b;
}

// The directory of codebook files and the utterance's analysis.
fs::path Dizin(COZUMLEME& oz) {
    char sablon[] = "/tmp/velmo-bench-XXXXXX";
    fs::path d = mkdtemp(sablon);
    std::mt19937 g(7);
    std::normal_distribution<float> dag(0.0f, 1.0f);
    for (int k = 0; k < 10; k++) {
        KURALDOSYABASLIK b = Analiz();
        MATRIS km;
        km.Kur(b.s, b.n);
        for (int i = 0; i < b.s; i++)
            for (int j = 0; j < b.n; j++) km[i][j] = 4.0f * dag(g);
        std::snprintf(b.soz, sizeof b.soz, "soz%d", k);
        char ad[32];
        std::snprintf(ad, sizeof ad, "/k%02d.vlm", k);
        KuralDosyasiYaz(d.string() + ad, b, km);
    }
    oz.r = 150;
    oz.Ci.Kur(151, 16);
    oz.DelCi.Kur(151, 16);
    for (int i = 0; i < 150; i++)
        for (int j = 0; j < 15; j++) oz.Ci[i][j] = 0.5f * dag(g);
    return d;
}

void BM_KesitliTarama(benchmark::State& st) {
    MesajKaydiKur(&cikti);
    COZUMLEME oz;
    const fs::path d = Dizin(oz);
    SOYLEYIS soyleyis(nullptr, 0, Analiz());
    soyleyis.CozumlemeKoy(oz);
    TANIMA_SONUCU enIyi;
    for (auto _ : st) {
        cikti.clear();
        KuralDosyalariniTara(d.c_str(), soyleyis, &enIyi, nullptr);
        benchmark::DoNotOptimize(enIyi.puan);
    }
    if (enIyi.dosya.empty()) st.SkipWithError("no codebook scored");
    fs::remove_all(d);
    MesajKaydiBitir();
}
BENCHMARK(BM_KesitliTarama)->Unit(benchmark::kMicrosecond);

void BM_KesitliPuanlama(benchmark::State& st) {
    MesajKaydiKur(&cikti);
    COZUMLEME oz;
    const fs::path d = Dizin(oz);
    SOYLEYIS soyleyis(nullptr, 0, Analiz());
    soyleyis.CozumlemeKoy(oz);
    std::vector<KURALKITABI> kitaplar;
    std::string m;
    KuralKitaplariOku(d.string(), Analiz(), kitaplar, &m);
    if (kitaplar.size() != 10) st.SkipWithError("codebooks not read");
    for (auto _ : st) {
        cikti.clear();
        std::vector<TANIMA_SONUCU> p = KuralKitaplariPuanla(kitaplar, soyleyis);
        benchmark::DoNotOptimize(p.data());
    }
    fs::remove_all(d);
    MesajKaydiBitir();
}
BENCHMARK(BM_KesitliPuanlama)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
