// Endpoint detection and frame analysis on any audio with any settings.
// Input: 12 little-endian ints (ks, oc, oo, kpensu, yee, aee, bsge, pensu,
// admsu, m, n, p), then the samples. Checks that the segment lies inside the
// sound buffer; the sanitizers catch every read outside an array.
// One input does a bounded amount of work: at most 2000 samples, and an
// analysis bound far below the program's, so an analysis that would cost
// more is refused the way the program refuses one past its own bound. Every
// setting is still drawn from the whole int range and every branch is met,
// at some hundreds of inputs a second instead of one or two.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mesaj_kaydi.h"
#include "lpc.h"
#include "sifirlama.h"
#include "sinir.h"
#include "velmo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* veri, size_t boy) {
    static std::string cikti;
    static bool ilk = true;
    if (ilk) {
        MesajKaydiKur(&cikti);
        Sifirla(0);
        cozumleme_is_siniri = 200000;
        ilk = false;
    }
    constexpr size_t AYAR = 12 * sizeof(int);
    if (boy < AYAR) return 0;
    int a[12];
    std::memcpy(a, veri, AYAR);
    Sifirla(2);
    KURALDOSYABASLIK& b = ayr.kdbaslik;
    b.ks = a[0], b.oc = a[1], b.oo = a[2], b.kpensu = a[3], b.yee = a[4], b.aee = a[5];
    b.bsge = a[6], b.pensu = a[7], b.admsu = a[8], b.m = a[9], b.n = a[10], b.p = a[11];

    size_t bayt = std::min<size_t>(boy - AYAR, 4000);
    Sifirla(1);
    ayr.kyt = static_cast<char*>(std::malloc(bayt ? bayt : 1));
    std::memcpy(ayr.kyt, veri + AYAR, bayt);
    ayr.kytu = static_cast<int>(bayt);

    cikti.clear();
    const int sonuc = UcNoktalarBul(false);
    if (sonuc == 0) {
        if (ayr.bsl < ayr.kyt || ayr.uzn < 0 || ayr.bsl + ayr.uzn > ayr.kyt + ayr.kytu) std::abort();
    } else if (ayr.bsl != nullptr || ayr.uzn != 0) {
        std::abort();
    }
    // The analysis also runs on the whole recording, as if it were speech.
    for (int tur = 0; tur < 2; tur++) {
        if (tur == 1) {
            ayr.bsl = ayr.kyt;
            ayr.uzn = ayr.kytu;
        }
        Sifirla(5);
        if (LPC_Cozumle(false) == 0 && (ayr.r < 0 || ayr.Ci == nullptr)) std::abort();
    }
    Sifirla(5);
    Sifirla(1);
    return 0;
}
