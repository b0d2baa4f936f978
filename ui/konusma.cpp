#include "konusma.h"

#include "duzey.h"
#include "kayit.h"
#include "konsol.h"
#include "velmo.h"

namespace {

// Takes the watcher off whichever way the recording ends.
struct IzleyiciKoru {
    ~IzleyiciKoru() { KayitIzleyiciKur(nullptr); }
};

}  // namespace

int EkrandaKaydet() {
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
    return 0;
}
