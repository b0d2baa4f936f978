// libvelmo on threads: the same recognition work (64 recordings of 2 s
// against 10 codebooks) done by one thread, and shared by two or four
// threads with a handle each, in wall time. Two threads' time over one
// thread's is what running separate handles at once gains (0.5 at best on
// two free cores; 1.0 would mean they run one after another).
// BM_Oran: one call of one handle, CPU time, for the same speech given at
// the codebooks' 12 kHz and at other rates (converted inside the call).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <velmo/tanici.h>


#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "sentetik.h"

namespace {

const int OO = 12000;
const int KAYIT = 64;  // recordings recognised per iteration, by all threads together

// A take at OO Hz: 0.4 s of faint noise, `sure` seconds of a word, faint
// noise to `toplam` seconds.
std::vector<int16_t> Alim(double sure, double f0, unsigned tohum, double toplam = 2.0) {
    return SentetikSozcuk(0.4, sure, toplam, f0, tohum, OO);
}

double Sure(int k) { return 0.4 + 0.05 * (k % 4); }
double Perde(int k) { return 130.0 + 25.0 * k; }

// Ten words trained into a temporary directory, once for the program.
class KITAPLAR {
public:
    KITAPLAR() {
        char sablon[] = "/tmp/velmo_bench_kitaplik_XXXXXX";
        if (mkdtemp(sablon) == nullptr) return;
        dizin_ = sablon;
        for (int k = 0; k < 10; k++) {
            const std::vector<int16_t> a1 = Alim(Sure(k), Perde(k), 1), a2 = Alim(Sure(k) * 1.1, Perde(k) * 0.97, 2);
            const int16_t* alimlar[] = {a1.data(), a2.data()};
            const size_t sayilar[] = {a1.size(), a2.size()};
            const std::string soz = "soz" + std::to_string(k);
            const std::string yol = dizin_ + "/" + soz + ".vlm";
            if (velmo_egit(yol.c_str(), soz.c_str(), alimlar, sayilar, 2, OO, 1, hata_, sizeof hata_) != 0) return;
        }
        tamam_ = true;
    }
    ~KITAPLAR() {
        if (!dizin_.empty()) std::filesystem::remove_all(dizin_);
    }
    bool Tamam() const { return tamam_; }
    const char* Hata() const { return hata_; }
    const std::string& Dizin() const { return dizin_; }

private:
    std::string dizin_;
    bool tamam_ = false;
    char hata_[512] = "";
};

void BM_Esli(benchmark::State& st) {
    static const KITAPLAR kitaplar;
    if (!kitaplar.Tamam()) {
        st.SkipWithError(kitaplar.Hata());
        return;
    }
    std::vector<std::vector<int16_t>> kayitlar;
    for (int k = 0; k < 4; k++) kayitlar.push_back(Alim(Sure(k) * 1.05, Perde(k) * 1.02, 10 + k));
    const int iplik = static_cast<int>(st.range(0));
    std::vector<velmo_tanici*> tanicilar;
    for (int i = 0; i < iplik; i++) tanicilar.push_back(velmo_tanici_ac(kitaplar.Dizin().c_str(), nullptr, 0));
    std::vector<int> taninmayan(static_cast<size_t>(iplik), 0);
    // Thread i recognises recordings i, i + iplik, ... of the iteration.
    const auto calis = [&](int i) {
        for (int k = i; k < KAYIT; k += iplik) {
            velmo_sonuc s;
            const size_t no = static_cast<size_t>(k) % kayitlar.size();
            if (velmo_tani(tanicilar[static_cast<size_t>(i)], kayitlar[no].data(), kayitlar[no].size(), OO, &s) != 0)
                taninmayan[static_cast<size_t>(i)]++;
        }
    };
    for (auto _ : st) {
        if (std::count(tanicilar.begin(), tanicilar.end(), nullptr) > 0) {
            st.SkipWithError("kural dosyalari okunamadi");
            break;
        }
        std::vector<std::thread> iplikler;
        for (int i = 0; i < iplik; i++) iplikler.emplace_back(calis, i);
        for (std::thread& t : iplikler) t.join();
    }
    for (velmo_tanici* t : tanicilar) velmo_tanici_kapat(t);
    if (std::count(taninmayan.begin(), taninmayan.end(), 0) != iplik) st.SkipWithError("taninmayan kayit");
    st.counters["kayit_hizi"] =
        benchmark::Counter(static_cast<double>(KAYIT), benchmark::Counter::kIsIterationInvariantRate);
}
void BM_Oran(benchmark::State& st) {
    static const KITAPLAR kitaplar;
    if (!kitaplar.Tamam()) {
        st.SkipWithError(kitaplar.Hata());
        return;
    }
    const int oo = static_cast<int>(st.range(0));
    const std::vector<int16_t> kayit = SentetikSozcuk(0.4, Sure(2) * 1.05, 2.0, Perde(2) * 1.02, 12, oo);
    velmo_tanici* t = velmo_tanici_ac(kitaplar.Dizin().c_str(), nullptr, 0);
    if (t == nullptr) {
        st.SkipWithError("kural dosyalari okunamadi");
        return;
    }
    for (auto _ : st) {
        velmo_sonuc s;
        if (velmo_tani(t, kayit.data(), kayit.size(), oo, &s) != 0) {
            st.SkipWithError(velmo_hata(t));
            break;
        }
        benchmark::DoNotOptimize(s.puan);
    }
    velmo_tanici_kapat(t);
}
BENCHMARK(BM_Oran)->ArgName("oo")->Arg(12000)->Arg(8000)->Arg(16000)->Arg(44100)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_Esli)->ArgName("iplik")->Arg(1)->Arg(2)->Arg(4)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
