#include "sifirlama.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "ayar_tablosu.h"
#include "bellek.h"

AYARLAR ayr;
const char* nul = "";

namespace {

char tampon[YOL_BOYU];
int bayrak = 0;

void KimlikBaslangic() { KimlikVarsayilan(ayr.kdbaslik); }

void KimlikKalan() {
    std::strcpy(ayr.kdad, nul);
    std::memcpy(ayr.yol, tampon, sizeof ayr.yol);
    ayr.kdbayrak = 0;
}

void Kayit() {
    std::free(ayr.kyt);
    ayr.kyt = nullptr;
    ayr.kytu = 0;
    ayr.bsl = nullptr;
    ayr.uzn = 0;
    ayr.oz.r = 0;
}

// Releases the analysis matrices and, with kodKitabiDahil, the codebook.
void Matrisler(bool kodKitabiDahil) {
    if (kodKitabiDahil) {
        ayr.km.Birak();
        ayr.kal = KALIBRASYON{};
    }
    for (MATRIS* a : {&ayr.oz.Ri, &ayr.oz.Ai, &ayr.oz.RFi, &ayr.oz.Ci, &ayr.oz.DelCi}) a->Birak();
}

}  // namespace

const char* BaslangicDizini() { return tampon; }

void Sifirla(int s) {
    if (bayrak == 0) {
        if (getcwd(tampon, sizeof tampon) == nullptr) tampon[0] = '\0';
        bayrak = 1;
    }
    switch (s) {
        case 0:
            KimlikBaslangic();
            Varsayilanlar(ayr, false);
            KimlikKalan();
            Kayit();
            Matrisler(true);
            break;
        case 1:
            Kayit();
            break;
        case 2:
            Varsayilanlar(ayr, false);
            break;
        case 3:
            KimlikBaslangic();
            KimlikKalan();
            break;
        case 4:
            Matrisler(true);
            break;
        case 5:
            Matrisler(false);
            break;
        default:
            break;
    }
}

void KuralKitabiKur(MATRIS km) { ayr.km = std::move(km); }
