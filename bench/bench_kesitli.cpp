// Recognising one utterance against 10, 100 and 1000 codebooks of 10 x 15
// at the default settings of their kind: the scoring of codebooks kept in
// memory (velmo-toplu tani and degerlendir, velmo-dinle, libvelmo), and for
// kind 3 the recognition screen's scan, which also reads and validates every
// file (the difference is the reading). The utterance is a synthetic word
// of 0.45 s (about the median of the spoken digits of the shared
// recordings, counter r its frames) or of 1.5 s; its analysis is made before
// the timing. The codebooks are trained from sixteen other synthetic words,
// taken in turn.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "lpc.h"
#include "matris.h"
#include "mesaj_kaydi.h"
#include "sentetik.h"
#include "sinir.h"
#include "tanima.h"
#include "tarama.h"
#include "velmo.h"
#include "vq1.h"

namespace fs = std::filesystem;

namespace {

std::string cikti;

AYAR_DEGERLERI Ayarlar(int tur) {
    AYAR_DEGERLERI a = VarsayilanAyarlar();
    TurSec(a, tur);
    return a;
}

// A word of `sure` seconds with 0.4 s of faint noise before and after it.
std::vector<short> Sozcuk(double sure, double f0, unsigned tohum) {
    const std::vector<int16_t> x = SentetikSozcuk(0.4, sure, sure + 0.8, f0, tohum, 12000);
    return std::vector<short>(x.begin(), x.end());
}

// Sixteen codebooks of the kind trained from words of other pitches, made
// once per kind.
const std::vector<KURALKITABI>& Egitilmis(int tur) {
    static std::map<int, std::vector<KURALKITABI>> hazir;
    std::vector<KURALKITABI>& k = hazir[tur];
    if (!k.empty()) return k;
    const AYAR_DEGERLERI a = Ayarlar(tur);
    for (int i = 0; i < 16; i++) {
        const std::vector<short> x = Sozcuk(0.5 + 0.05 * i, 90.0 + 13.0 * i, 100u + static_cast<unsigned>(i));
        const int boyut = static_cast<int>(x.size());
        const UC_NOKTALAR u = KonusmaBul(x.data(), boyut, a.kdbaslik);
        std::optional<COZUMLEME> oz;
        if (u.bulundu) oz = LpcCozumle(x.data(), boyut, u.bas, u.uzunluk, a.kdbaslik);
        KURALKITABI kitap;
        if (oz) kitap.km = EGITICI(a).Egit(*oz, a.kdbaslik, nullptr);
        if (kitap.km.Bos()) return k;  // the benchmark skips on an empty set
        kitap.baslik = a.kdbaslik;
        std::snprintf(kitap.baslik.soz, sizeof kitap.baslik.soz, "soz%d", i);
        k.push_back(std::move(kitap));
    }
    return k;
}

// `adet` codebooks, the trained ones in turn, each with its own copy.
std::vector<KURALKITABI> Kitaplar(int tur, int adet) {
    const std::vector<KURALKITABI>& e = Egitilmis(tur);
    std::vector<KURALKITABI> k(static_cast<size_t>(adet));
    for (int i = 0; i < adet && !e.empty(); i++) {
        const KURALKITABI& kaynak = e[static_cast<size_t>(i) % e.size()];
        char ad[32];
        std::snprintf(ad, sizeof ad, "k%04d.vlm", i);
        k[static_cast<size_t>(i)].ad = ad;
        k[static_cast<size_t>(i)].baslik = kaynak.baslik;
        k[static_cast<size_t>(i)].km.Kopyala(kaynak.km);
    }
    return k;
}

// Arguments: kind, codebooks, the word's length in ms.
void BM_Puanlama(benchmark::State& st) {
    MesajKaydiKur(&cikti);
    const int tur = static_cast<int>(st.range(0));
    const std::vector<KURALKITABI> kitaplar = Kitaplar(tur, static_cast<int>(st.range(1)));
    const std::vector<short> x = Sozcuk(static_cast<double>(st.range(2)) / 1000.0, 150.0, 7u);
    SOYLEYIS soyleyis(x.data(), static_cast<int>(x.size()), Ayarlar(tur).kdbaslik);
    const int r = soyleyis.Cozumleme(kitaplar.front().baslik).r;
    for (auto _ : st) {
        cikti.clear();
        std::vector<TANIMA_SONUCU> p = KuralKitaplariPuanla(kitaplar, soyleyis);
        benchmark::DoNotOptimize(p.data());
        if (EnYakinKitap(p) < 0) st.SkipWithError("no codebook won");
    }
    st.counters["r"] = r;
    MesajKaydiBitir();
}
BENCHMARK(BM_Puanlama)
    ->ArgNames({"tur", "kitap", "ms"})
    ->ArgsProduct({{1, 3}, {10, 100, 1000}, {450, 1500}})
    ->Unit(benchmark::kMicrosecond);

// Arguments: codebook files, the word's length in ms.
void BM_KesitliTarama(benchmark::State& st) {
    MesajKaydiKur(&cikti);
    char sablon[] = "/tmp/velmo-bench-XXXXXX";
    const fs::path d = mkdtemp(sablon);
    for (const KURALKITABI& k : Kitaplar(3, static_cast<int>(st.range(0))))
        KuralDosyasiYaz((d / k.ad).string(), k.baslik, k.km);
    const std::vector<short> x = Sozcuk(static_cast<double>(st.range(1)) / 1000.0, 150.0, 7u);
    SOYLEYIS soyleyis(x.data(), static_cast<int>(x.size()), Ayarlar(3).kdbaslik);
    soyleyis.Cozumleme(soyleyis.Analiz());
    TANIMA_SONUCU enIyi;
    for (auto _ : st) {
        cikti.clear();
        KuralDosyalariniTara(d.c_str(), soyleyis, &enIyi, nullptr);
        benchmark::DoNotOptimize(enIyi.puan);
        if (enIyi.dosya.empty()) st.SkipWithError("no codebook won");
    }
    fs::remove_all(d);
    MesajKaydiBitir();
}
BENCHMARK(BM_KesitliTarama)
    ->ArgNames({"kitap", "ms"})
    ->ArgsProduct({{10, 100, 1000}, {450}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
