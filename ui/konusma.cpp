#include "konusma.h"

#include "duzey.h"
#include "asamalar.h"
#include "kayit.h"
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
    if (tepe < ZAYIF_SES_DBFS) Yaz("Ses çok zayıf: mikrofonu denetleyin.\n");
    Sakla(etiket);
    return 0;
}
