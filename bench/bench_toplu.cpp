// velmo-toplu's evaluation loop: one 8000 Hz file read, resampled, turned
// into a 2-second recording, analysed and scored against ten kept codebooks,
// as "degerlendir" does for every file of a set.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "cikti.h"
#include "tarama.h"
#include "toplu.h"
#include "velmo.h"
#include "wav.h"

namespace {

namespace fs = std::filesystem;

// A plain 16-bit mono WAV file.
void WavYaz(const std::string& ad, int oran, const std::vector<short>& x) {
    std::ofstream f(ad, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    const uint32_t veri = static_cast<uint32_t>(x.size() * 2);
    f.write("RIFF", 4), u32(36 + veri), f.write("WAVEfmt ", 8), u32(16), u16(1), u16(1);
    u32(static_cast<uint32_t>(oran)), u32(static_cast<uint32_t>(oran * 2)), u16(2), u16(16);
    f.write("data", 4), u32(veri);
    f.write(reinterpret_cast<const char*>(x.data()), veri);
}

// A word-like sound of about half a second at `oran` Hz, trimmed tightly.
std::vector<short> Sozcuk(int oran, double f0, unsigned tohum) {
    std::vector<short> x(static_cast<size_t>(0.5 * oran));
    double f1 = 0, f2 = 0;
    for (size_t i = 0; i < x.size(); i++) {
        const double t = static_cast<double>(i) / x.size();
        f1 += 2 * M_PI * (f0 + 200 * t) / oran;
        f2 += 2 * M_PI * (f0 * 3.7 - 500 * t) / oran;
        tohum = tohum * 1103515245u + 12345u;
        const double g = ((tohum >> 8) & 0xffff) / 65536.0 - 0.5;
        x[i] = static_cast<short>(8000 * std::sin(M_PI * t) * (std::sin(f1) + 0.5 * std::sin(f2)) + 200 * g);
    }
    return x;
}

struct Hazirlik {
    fs::path dizin;
    std::vector<KURALKITABI> kitaplar;
    KURALDOSYABASLIK komut = VarsayilanAyarlar().kdbaslik;
    SESAYARI ses;
    Hazirlik() {
        char sablon[] = "/tmp/velmo_bench_toplu_XXXXXX";
        dizin = mkdtemp(sablon);
        ses.dolgu = 0.4;
        ses.tepeVar = true;
        ses.tepe = -6;
        ses.gurultuVar = true;
        ses.gurultu = -54;
        fs::create_directory(dizin / "k");
        for (int w = 0; w < 10; w++) {
            const std::string wav = (dizin / ("e" + std::to_string(w) + ".wav")).string();
            WavYaz(wav, 8000, Sozcuk(8000, 120 + 25 * w, static_cast<unsigned>(w + 1)));
            EGITIMAYARI e;
            std::snprintf(e.ayar.kdbaslik.soz, sizeof e.ayar.kdbaslik.soz, "%d", w);
            e.cikti = (dizin / "k" / (std::to_string(w) + ".vlm")).string();
            e.ses = ses;
            Yakala([&] { TopluEgit({wav}, e); });
        }
        std::string m;
        KuralKitaplariOku((dizin / "k").string(), komut, kitaplar, &m);
        WavYaz((dizin / "girdi.wav").string(), 8000, Sozcuk(8000, 170, 99));
    }
    ~Hazirlik() { fs::remove_all(dizin); }
};

void BM_DegerlendirBirDosya(benchmark::State& st) {
    // As velmo-toplu's main: the heap's freed top is kept between files.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    Hazirlik h;
    if (h.kitaplar.size() != 10) {
        st.SkipWithError("kural dosyalari egitilemedi");
        return;
    }
    const std::string girdi = (h.dizin / "girdi.wav").string();
    for (auto _ : st) {
        std::string m;
        TANIMA t = TekTani(girdi, nullptr, &h.kitaplar, h.komut, h.ses, "", 0, -1, &m);
        benchmark::DoNotOptimize(t.enyakin);
    }
}
BENCHMARK(BM_DegerlendirBirDosya)->Unit(benchmark::kMillisecond);

void BM_SesDosyasiOku8000den12000e(benchmark::State& st) {
    Hazirlik h;
    const std::string girdi = (h.dizin / "girdi.wav").string();
    std::vector<short> x;
    for (auto _ : st) {
        SesDosyasiOku(girdi, 12000, 2, h.ses, x);
        benchmark::DoNotOptimize(x.data());
    }
}
BENCHMARK(BM_SesDosyasiOku8000den12000e)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
