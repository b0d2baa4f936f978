#include "konusma.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "duzey.h"
#include "asamalar.h"
#include "kayit.h"
#include "sinir.h"
#include "kayit_dosyasi.h"
#include "kodlama.h"
#include "konsol.h"

namespace {

std::string kayitlarDizini;

// Takes the watcher off whichever way the recording ends.
struct IzleyiciKoru {
    ~IzleyiciKoru() { KayitIzleyiciKur(nullptr); }
};

// Keeps the take as the next numbered file of the directory, if one is set.
void Sakla(const std::string& etiket) {
    if (kayitlarDizini.empty()) return;
    const std::vector<int16_t> x = OnAltiBitTekKanal(ayr.kyt, ayr.kytu, ayr.kdbaslik);
    std::string ad;
    if (KayitDosyasiYaz(kayitlarDizini, etiket, x.data(), x.size(), ayr.kdbaslik.oo, &ad) == 0)
        Yaz("Kayıt saklandı: %s\n", Gorunur(ad).c_str());
}

}  // namespace

void KayitlarDiziniKur(const std::string& dizin) { kayitlarDizini = dizin; }
const std::string& KayitlarDizini() { return kayitlarDizini; }

namespace {

// The loudest short-time energy of the recording in the record, as the
// endpoint search measures it (16-bit mono); -1 when it cannot be measured.
int EnYuksekOrke() {
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    const int64_t kpenu = static_cast<int64_t>(b.kpensu) * b.oo / 1000;
    const int boyut = ayr.kytu / 2;
    if (b.ks != 1 || b.oc != 16 || ayr.kyt == nullptr || kpenu < 1 || kpenu > boyut) return -1;
    std::vector<int> orke(static_cast<size_t>(boyut)), sfr(static_cast<size_t>(boyut));
    SinirOlcumleri(reinterpret_cast<const short*>(ayr.kyt), boyut, static_cast<int>(kpenu), orke.data(), sfr.data());
    return *std::max_element(orke.begin(), orke.end());
}

// Says when a take is too weak for its speech to be found: kinds 1 and 2
// when it stays under their fixed high threshold (or below -40 dBFS), kind 3,
// whose thresholds follow the level, only below -50 dBFS.
void ZayifSesUyar(double tepe) {
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    if (b.tur == 3) {
        if (tepe < ZAYIF_SES_DBFS_KESITLI) Yaz("Ses çok zayıf: mikrofonu denetleyin.\n");
        return;
    }
    if (tepe < ZAYIF_SES_DBFS) {
        Yaz("Ses çok zayıf: mikrofonu denetleyin.\n");
        return;
    }
    const int enYuksek = EnYuksekOrke();
    if (enYuksek >= 0 && enYuksek < b.yee)
        Yaz("Ses çok zayıf: Yüksek Örke Eşiği'ne (%d) ulaşmıyor; yakından konuşun, eşiği düşürün ya da "
            "kesitli türü (3) seçin.\n",
            b.yee);
}

}  // namespace

int EkrandaKaydet(const std::string& etiket) {
    const int ksu = ayr.kdbaslik.ksu;
    const bool yerinde = !KonsolDuzMetinMi();  // a terminal can redraw a line
    bool basladi = false;
    IzleyiciKoru koru;
    KayitIzleyiciKur([&](int kalan) {
        if (!basladi) {
            basladi = true;
            Yaz("Konuşun (%d s)…", ksu);
            if (yerinde) KonsolHamYaz("\x1b" "7");  // remember where the count goes
        }
        if (kalan >= 0) {
            if (yerinde) {
                KonsolHamYaz("\x1b" "8");
                Yaz(" %d s kaldı", kalan);
                clreol();
            }
        } else {
            if (yerinde) {
                KonsolHamYaz("\x1b" "8");
                clreol();
            }
            Yaz("\n");
        }
        KonsolBosalt();
    });
    const int sonuc = Kaydet();
    if (sonuc != 0 || !basladi) return sonuc;
    const double tepe = TepeDbfs(ayr.kyt, ayr.kytu, ayr.kdbaslik.oc);
    Yaz("Kayıt bitti. Tepe düzeyi: %.1f dBFS\n", tepe);
    ZayifSesUyar(tepe);
    Sakla(etiket);
    return 0;
}
