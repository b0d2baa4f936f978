// Signal analysis speed: endpoint detection of a 3 s recording at 12000 Hz
// and the frame analysis of a 1.5 s segment, each with and without its
// dumps, and the whole analysis of one utterance as the menus run it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "konsol.h"
#include "lpc.h"
#include "sifirlama.h"
#include "sinir.h"
#include "velmo.h"

namespace {

std::string cikti;

// 3 s of quiet noise with a 1.5 s voiced stretch in the middle.
void Hazirla() {
    static bool hazir = false;
    if (!hazir) {
        char sablon[] = "/tmp/velmo_bench_dsp_XXXXXX";
        if (mkdtemp(sablon) != nullptr) std::filesystem::current_path(sablon);
        KonsolTestKur("", &cikti);
        Sifirla(0);
        hazir = true;
    }
    Sifirla(1);
    Sifirla(5);
    const int boyut = 36000;
    ayr.kyt = static_cast<char*>(std::malloc(boyut * 2));
    ayr.kytu = boyut * 2;
    unsigned d = 1;
    for (int i = 0; i < boyut; i++) {
        d = d * 1103515245u + 12345u;
        double v = static_cast<int>((d >> 8) % 201) - 100;
        if (i >= 9000 && i < 27000)
            v += 6000 * std::sin(i * 0.09) * std::sin((i - 9000) * 3.14159 / 18000) + 2500 * std::sin(i * 0.41);
        const short x = static_cast<short>(v);
        std::memcpy(ayr.kyt + 2 * i, &x, 2);
    }
    cikti.clear();
}

void Segment() {
    ayr.bsl = ayr.kyt + 2 * 9000;
    ayr.uzn = 2 * 18000;
}

void BM_UcNoktalar(benchmark::State& st) {
    Hazirla();
    const bool dokum = st.range(0) != 0;
    for (auto _ : st) benchmark::DoNotOptimize(UcNoktalarBul(dokum));
    st.counters["uzn"] = ayr.uzn;
}
BENCHMARK(BM_UcNoktalar)->ArgName("dokum")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LPC(benchmark::State& st) {
    Hazirla();
    Segment();
    const bool dokum = st.range(0) != 0;
    for (auto _ : st) {
        Sifirla(5);
        benchmark::DoNotOptimize(LPC_Cozumle(dokum));
    }
    st.counters["r"] = ayr.r;
}
BENCHMARK(BM_LPC)->ArgName("dokum")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One utterance as the menus analyse it: detection, then the analysis of the
// segment it found, all three dumps written.
void BM_SozcukCozumleme(benchmark::State& st) {
    Hazirla();
    for (auto _ : st) {
        Sifirla(5);
        UcNoktalar();
        benchmark::DoNotOptimize(LPC());
    }
    st.counters["r"] = ayr.r;
}
BENCHMARK(BM_SozcukCozumleme)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
