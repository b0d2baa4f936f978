// The recognition scan: one utterance (150 frames of 15 components, about
// 1.5 s of speech) scored against 10, 100 and 1000 codebook files of 10 x 15,
// each file read, validated and scored as the recognition screen does.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "lpc.h"
#include "matris.h"
#include "mesaj_kaydi.h"
#include "tanima.h"
#include "velmo.h"

namespace fs = std::filesystem;

namespace {

std::string cikti;

// The directory of `dosyalar` codebook files and the utterance's analysis.
fs::path Dizin(int dosyalar, COZUMLEME& oz) {
    char sablon[] = "/tmp/velmo-bench-XXXXXX";
    fs::path d = mkdtemp(sablon);
    std::mt19937 g(7);
    std::normal_distribution<float> dag(0.0f, 1.0f);
    for (int k = 0; k < dosyalar; k++) {
        KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
        MATRIS km;
        km.Kur(b.s, b.n);
        for (int i = 0; i < b.s; i++)
            for (int j = 0; j < b.n; j++) km[i][j] = dag(g);
        std::snprintf(b.soz, sizeof b.soz, "soz%d", k);
        char ad[32];
        std::snprintf(ad, sizeof ad, "/k%04d.vlm", k);
        KuralDosyasiYaz(d.string() + ad, b, km);
    }
    oz.r = 150;
    oz.Ci.Kur(151, 16);
    oz.DelCi.Kur(151, 16);
    for (int i = 0; i < 150; i++)
        for (int j = 0; j < 15; j++) oz.Ci[i][j] = dag(g);
    return d;
}

void BM_Tarama(benchmark::State& st) {
    MesajKaydiKur(&cikti);
    COZUMLEME oz;
    const fs::path d = Dizin(static_cast<int>(st.range(0)), oz);
    SOYLEYIS soyleyis(nullptr, 0, VarsayilanAyarlar().kdbaslik);
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
BENCHMARK(BM_Tarama)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
