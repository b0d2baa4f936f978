// Listening: the work done when an utterance ends (analysis of 0.6 s of
// voiced sound and scoring against 10 and 100 codebooks of 10 x 15, written
// to a directory and kept in memory as velmo-dinle keeps them), the work of
// one block of 256 samples of the stream (measures, thresholds, history) as
// a fraction of the block's own duration ("gercek_zaman"), and the delay in
// the stream from the end of a word to its hand-over ("gecikme_ms").
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "dinleyici.h"
#include "dosya.h"
#include "matris.h"
#include "mesaj.h"
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

// `adet` codebooks of 10 random codewords of 15 components with the
// settings `ayar`, written to the directory `dizin` as k000.vlm and on.
std::string KitaplarYaz(const std::string& dizin, int adet, const KURALDOSYABASLIK& ayar) {
    std::mt19937 g(7);
    std::normal_distribution<float> dag(0.0f, 0.5f);
    std::string mesaj;
    for (int k = 0; k < adet; k++) {
        MATRIS km;
        if (!km.Kur(10, 15)) return "kural kitabi icin bellek yok";
        for (int i = 0; i < 10; i++)
            for (int j = 0; j < 15; j++) km[i][j] = dag(g);
        KURALDOSYABASLIK b = ayar;
        std::snprintf(b.soz, sizeof b.soz, "soz%d", k);
        char yol[KDAD_BOYU];
        std::snprintf(yol, sizeof yol, "%s/k%03d.vlm", dizin.c_str(), k);
        mesaj += Yakala([&] { KuralDosyasiYaz(yol, b, km); });
    }
    return mesaj;
}

void BM_SozSonu(benchmark::State& st) {
    const int adet = static_cast<int>(st.range(0));
    char sablon[] = "/tmp/velmo_bench_dinle_XXXXXX";
    if (mkdtemp(sablon) == nullptr) {
        st.SkipWithError("gecici dizin yok");
        return;
    }
    const std::string dizin = sablon;
    const KURALDOSYABASLIK ayar = VarsayilanAyarlar().kdbaslik;
    const std::string mesaj0 = KitaplarYaz(dizin, adet, ayar);
    KITAP_KUMESI kitaplar(dizin, ayar, {});
    std::string mesaj;
    if (kitaplar.Tazele(&mesaj) != 1 || kitaplar.Kitaplar().size() != static_cast<size_t>(adet))
        st.SkipWithError(("kural dosyalari okunamadi: " + mesaj0 + mesaj).c_str());
    const std::vector<int16_t> soz = Sesli(0.6, 3);
    for (auto _ : st) {
        mesaj.clear();
        DINLE_SONUCU t = kitaplar.Tani(soz.data(), soz.size(), {}, &mesaj);
        benchmark::DoNotOptimize(t.puan);
    }
    std::filesystem::remove_all(dizin);
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

// Latency in the stream: a 20 s stream of background noise with a 0.5 s
// word (faded out over 50 ms) every 2 s, fed in blocks of 256 samples as
// velmo-dinle feeds a file; for each utterance handed over, the stream time
// from the word's true end to the end of the block that completed it
// ("gecikme_ms", mean; the silence that ends an utterance is most of it).
// Recognising it adds BM_SozSonu's time.
void BM_Gecikme(benchmark::State& st) {
    std::mt19937 g(11);
    std::normal_distribution<double> u(0, 1);
    std::vector<int16_t> akis(static_cast<size_t>(20 * OO));
    for (auto& v : akis) v = static_cast<int16_t>(std::lround(40 * u(g)));
    std::vector<int16_t> soz = Sesli(0.5, 9);
    const size_t sonme = static_cast<size_t>(0.05 * OO);
    for (size_t i = 0; i < sonme; i++)
        soz[soz.size() - sonme + i] = static_cast<int16_t>(soz[soz.size() - sonme + i] * (sonme - i) / sonme);
    std::vector<int64_t> sonlar;
    for (int s = 1; s < 20; s += 2) {
        for (size_t i = 0; i < soz.size(); i++) akis[static_cast<size_t>(s * OO) + i] += soz[i];
        sonlar.push_back(static_cast<int64_t>(s * OO) + static_cast<int64_t>(soz.size()));
    }
    double toplam = 0;
    int64_t adet = 0;
    for (auto _ : st) {
        DINLEYICI dn(BOLUTAYARI{}, 0.4, false);
        std::vector<SES_PARCASI> sozler, kayitlar;
        const size_t BLOK = 256;
        size_t k = 0;
        for (size_t i = 0; i < akis.size(); i += BLOK) {
            sozler.clear();
            dn.Besle(akis.data() + i, std::min(BLOK, akis.size() - i), sozler, kayitlar);
            for (size_t j = 0; j < sozler.size() && k < sonlar.size(); j++, k++) {
                toplam += static_cast<double>(dn.Bolut().Konum() - sonlar[k]) * 1000.0 / OO;
                adet++;
            }
        }
        if (k != sonlar.size()) st.SkipWithError("her soz bulunmadi");
    }
    st.counters["gecikme_ms"] = adet > 0 ? toplam / static_cast<double>(adet) : 0;
}
BENCHMARK(BM_Gecikme)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
