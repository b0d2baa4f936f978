// Endpoint detection and frame analysis on any audio with any settings.
// Input: 12 little-endian ints (ks, oc, oo, kpensu, yee, aee, bsge, pensu,
// admsu, m, n, p), then the samples. Checks that the segment lies inside the
// recording; the sanitizers catch every read outside an array.
// One input does a bounded amount of work: at most 2000 samples, and an
// analysis bound far below the program's, so an analysis that would cost
// more is refused the way the program refuses one past its own bound. Every
// setting is still drawn from the whole int range and every branch is met,
// at some hundreds of inputs a second instead of one or two.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "lpc.h"
#include "mesaj_kaydi.h"
#include "sinir.h"
#include "velmo.h"

namespace {

// The analysis of samples bas .. bas + uzunluk - 1 of x: when it is made,
// it holds r >= 0 frames and its cepstrum.
void Cozumle(const std::vector<short>& x, int bas, int uzunluk, const KURALDOSYABASLIK& b) {
    std::optional<COZUMLEME> c = LpcCozumle(x.data(), static_cast<int>(x.size()), bas, uzunluk, b);
    if (c && (c->r < 0 || c->Ci.Bos() || c->Ci.Satir() <= c->r)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* veri, size_t boy) {
    static std::string cikti;
    static bool ilk = true;
    if (ilk) {
        MesajKaydiKur(&cikti);
        cozumleme_is_siniri = 200000;
        ilk = false;
    }
    constexpr size_t AYAR = 12 * sizeof(int);
    if (boy < AYAR) return 0;
    int a[12];
    std::memcpy(a, veri, AYAR);
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    b.ks = a[0], b.oc = a[1], b.oo = a[2], b.kpensu = a[3], b.yee = a[4], b.aee = a[5];
    b.bsge = a[6], b.pensu = a[7], b.admsu = a[8], b.m = a[9], b.n = a[10], b.p = a[11];

    const size_t ornek = std::min<size_t>(boy - AYAR, 4000) / 2;
    std::vector<short> x(ornek);
    if (ornek > 0) std::memcpy(x.data(), veri + AYAR, ornek * 2);
    const int boyut = static_cast<int>(ornek);

    cikti.clear();
    const UC_NOKTALAR u = KonusmaBul(x.data(), boyut, b);
    if (u.bulundu && (u.bas < 0 || u.uzunluk < 0 || u.bas + u.uzunluk > boyut)) std::abort();
    if (u.olculdu && (!u.orke || !u.sfrgecis || u.boyut != boyut)) std::abort();
    if (u.bulundu) Cozumle(x, u.bas, u.uzunluk, b);
    // The analysis also runs on the whole recording, as if it were speech.
    Cozumle(x, 0, boyut, b);
    return 0;
}
