#include "sifirlama.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "mesaj.h"
#include "velmo.h"
#include "ayar_tablosu.h"
#include "bellek.h"

AYARLAR ayr;
const char* nul = "";

namespace {

char tampon[YOL_BOYU];
int bayrak = 0;

void KimlikBaslangic() {
    const char kdbicim[4] = {'V', 'L', 'M', '\0'};
    std::memcpy(ayr.kdbaslik.bicim, kdbicim, 4);
    ayr.kdbaslik.tur = static_cast<int>(Ayar(AYAR_TUR).varsayilan);
    std::memset(ayr.kdbaslik.soz, 0, sizeof ayr.kdbaslik.soz);
    ayr.kdbaslik.kmt = 0;
}

void KimlikKalan() {
    std::strcpy(ayr.kdad, nul);
    std::memcpy(ayr.yol, tampon, sizeof ayr.yol);
    ayr.kdbayrak = 0;
}

void Kayit() {
    try {
        std::free(ayr.kyt);
    } catch (...) {
        Yaz("bellek bosaltilamadi");
    }
    ayr.kyt = nullptr;
    ayr.kytu = 0;
    ayr.bsl = nullptr;
    ayr.uzn = 0;
    ayr.r = 0;
}

// Releases the matrices from `ilk` on, each field set to null once released.
void Matrisler(bool kodKitabiDahil) {
    try {
        if (kodKitabiDahil) {
            Free2B(ayr.km);
            ayr.km = nullptr;
            ayr.kms = ayr.kmn = 0;
        }
        float*** alanlar[] = {&ayr.Ri, &ayr.Ai, &ayr.RFi, &ayr.Ci, &ayr.DelCi};
        for (float*** a : alanlar) {
            Free2B(*a);
            *a = nullptr;
        }
    } catch (...) {
        Yaz("bellek bosaltilamadi");
    }
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

void KuralKitabiKur(float** km, int s, int n) {
    if (ayr.km != km) Free2B(ayr.km);
    ayr.km = km;
    ayr.kms = s;
    ayr.kmn = n;
}

ODUNC_KURAL_KITABI::ODUNC_KURAL_KITABI(const KURALDOSYABASLIK& baslik, float** km)
    : ayarlar_(ayr.kdbaslik), km_(ayr.km), kms_(ayr.kms), kmn_(ayr.kmn) {
    ayr.kdbaslik = baslik;
    ayr.km = km;
    ayr.kms = baslik.s;
    ayr.kmn = baslik.n;
}

ODUNC_KURAL_KITABI::~ODUNC_KURAL_KITABI() {
    ayr.kdbaslik = ayarlar_;
    ayr.km = km_;
    ayr.kms = kms_;
    ayr.kmn = kmn_;
}
