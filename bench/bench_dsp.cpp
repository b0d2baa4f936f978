// Signal analysis speed: endpoint detection of a 3 s recording at 12000 Hz
// (kinds 1 and 3) and the frame analysis of a 1.5 s segment, each with and without its
// dumps, and the whole analysis of one utterance as the menus run it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <filesystem>
#include <string>
#include <vector>

#include "konsol.h"
#include "lpc.h"
#include "ayar_tablosu.h"
#include "sinir.h"
#include "velmo.h"

namespace {

std::string cikti;

// 3 s of quiet noise with a 1.5 s voiced stretch in the middle.
struct ORNEK {
    std::vector<short> x;
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    ORNEK() {
        static bool hazir = false;
        if (!hazir) {
            char sablon[] = "/tmp/velmo_bench_dsp_XXXXXX";
            if (mkdtemp(sablon) != nullptr) std::filesystem::current_path(sablon);
            KonsolTestKur("", &cikti);
            hazir = true;
        }
        const int boyut = 36000;
        x.resize(boyut);
        unsigned d = 1;
        for (int i = 0; i < boyut; i++) {
            d = d * 1103515245u + 12345u;
            double v = static_cast<int>((d >> 8) % 201) - 100;
            if (i >= 9000 && i < 27000)
                v += 6000 * std::sin(i * 0.09) * std::sin((i - 9000) * 3.14159 / 18000) + 2500 * std::sin(i * 0.41);
            x[static_cast<size_t>(i)] = static_cast<short>(v);
        }
        cikti.clear();
    }
    int Boyut() const { return static_cast<int>(x.size()); }
};

// The endpoint search, with its table when `dokum`.
UC_NOKTALAR UcNoktalar(const ORNEK& o, bool dokum) {
    UC_NOKTALAR u = KonusmaBul(o.x.data(), o.Boyut(), o.b);
    if (dokum) SinirDokumuYaz("sinir.txt", o.x.data(), u);
    return u;
}

// The analysis of samples bas .. bas + uzunluk - 1, with its two dumps when `dokum`.
int Cozumle(const ORNEK& o, int bas, int uzunluk, bool dokum) {
    std::optional<COZUMLEME> c = LpcCozumle(o.x.data(), o.Boyut(), bas, uzunluk, o.b);
    if (!c) return -1;
    if (dokum) {
        MatrisDokumu("Ci.txt", c->Ci, c->r, o.b.n);
        MatrisDokumu("DelCi.txt", c->DelCi, c->r, o.b.n);
    }
    return c->r;
}

// Arguments: with the table or not, the kind (kind 3 measures through its
// high-pass filter and learns its thresholds).
void BM_UcNoktalar(benchmark::State& st) {
    ORNEK o;
    const bool dokum = st.range(0) != 0;
    o.b.tur = static_cast<int>(st.range(1));
    int uzunluk = 0;
    for (auto _ : st) {
        const UC_NOKTALAR u = UcNoktalar(o, dokum);
        uzunluk = u.uzunluk;
        benchmark::DoNotOptimize(uzunluk);
    }
    st.counters["uzn"] = 2 * uzunluk;
}
BENCHMARK(BM_UcNoktalar)
    ->ArgNames({"dokum", "tur"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 3})
    ->Unit(benchmark::kMicrosecond);

void BM_LPC(benchmark::State& st) {
    const ORNEK o;
    const bool dokum = st.range(0) != 0;
    int r = 0;
    for (auto _ : st) benchmark::DoNotOptimize(r = Cozumle(o, 9000, 18000, dokum));
    st.counters["r"] = r;
}
BENCHMARK(BM_LPC)->ArgName("dokum")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One utterance as the menus analyse it: detection, then the analysis of the
// segment it found, all three dumps written.
void BM_SozcukCozumleme(benchmark::State& st) {
    const ORNEK o;
    int r = 0;
    for (auto _ : st) {
        const UC_NOKTALAR u = UcNoktalar(o, true);
        benchmark::DoNotOptimize(r = Cozumle(o, u.bas, u.uzunluk, true));
    }
    st.counters["r"] = r;
}
BENCHMARK(BM_SozcukCozumleme)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
