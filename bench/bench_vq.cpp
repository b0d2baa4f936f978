// Training a codebook from one utterance's feature vectors (new and existing)
// and scoring an utterance against a codebook, at the default sizes.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "lpc.h"
#include "matris.h"
#include "mesaj_kaydi.h"
#include "velmo.h"
#include "vq1.h"

namespace {

std::string cikti;

const AYAR_DEGERLERI ayar = VarsayilanAyarlar();
const KURALDOSYABASLIK& baslik = ayar.kdbaslik;

// r feature rows (r + 1 rows of n + 1 floats, as the analysis makes them),
// spread like cepstra of several sounds.
COZUMLEME Ozellikler(int r, int n) {
    COZUMLEME c;
    c.Ci.Kur(r + 1, n + 1);
    c.DelCi.Kur(r + 1, n + 1);
    c.r = r;
    uint32_t x = 12345;
    for (int i = 0; i < r; i++)
        for (int j = 0; j < n; j++) {
            x = x * 1664525u + 1013904223u;
            const float merkez = static_cast<float>((i / 30) % 7) * 0.3f - 1.0f;
            c.Ci[i][j] = merkez + (static_cast<float>(x >> 8) / 16777216.0f - 0.5f) * 0.4f / static_cast<float>(j + 1);
        }
    return c;
}

void BM_YeniKuralKitabi(benchmark::State& st) {
    MesajKaydiKur(&cikti);
    const COZUMLEME oz = Ozellikler(300, baslik.n);
    EGITICI e(ayar);
    for (auto _ : st) {
        cikti.clear();
        const MATRIS km = e.Egit(oz, baslik, nullptr);
        if (km.Bos()) st.SkipWithError("training failed");
    }
    st.counters["is"] = static_cast<double>(e.Is());
    MesajKaydiBitir();
}

void BM_VarOlanKuralKitabi(benchmark::State& st) {
    MesajKaydiKur(&cikti);
    COZUMLEME oz = Ozellikler(300, baslik.n);
    EGITICI e(ayar);
    const MATRIS egitilmis = e.Egit(oz, baslik, nullptr);
    // A second utterance: the same sounds, shifted a little.
    for (int i = 0; i < oz.r; i++)
        for (int j = 0; j < baslik.n; j++) oz.Ci[i][j] += 0.01f * static_cast<float>((i + j) % 5);
    for (auto _ : st) {
        cikti.clear();
        const MATRIS km = e.Egit(oz, baslik, &egitilmis);
        if (km.Bos()) st.SkipWithError("training failed");
    }
    st.counters["is"] = static_cast<double>(e.Is());
    MesajKaydiBitir();
}

void BM_Puanlama(benchmark::State& st) {
    MesajKaydiKur(&cikti);
    const MATRIS km = EGITICI(ayar).Egit(Ozellikler(300, baslik.n), baslik, nullptr);
    const COZUMLEME oz = Ozellikler(200, baslik.n);
    if (km.Bos()) st.SkipWithError("training failed");
    for (auto _ : st) benchmark::DoNotOptimize(Puanla(oz, baslik, km));
    MesajKaydiBitir();
}

// Reading one default 10 x 15 codebook file, as the recognition screen does
// for every file of the directory.
void BM_DosyaOku(benchmark::State& st) {
    MesajKaydiKur(&cikti);
    MATRIS km;
    km.Kur(baslik.s, baslik.n);
    const std::string ad = "/tmp/bench_vq_" + std::to_string(::getpid()) + ".vlm";
    if (KuralDosyasiYaz(ad, baslik, km) != 0) st.SkipWithError("cannot write the file");
    KURALDOSYABASLIK b;
    for (auto _ : st) {
        MATRIS k;
        if (KuralDosyasiOku(ad.c_str(), &b, &k) != KDOKU_TAMAM) st.SkipWithError("cannot read the file");
    }
    std::remove(ad.c_str());
    MesajKaydiBitir();
}

}  // namespace

BENCHMARK(BM_YeniKuralKitabi)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VarOlanKuralKitabi)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Puanlama)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DosyaOku)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
