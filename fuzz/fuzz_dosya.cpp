// The codebook file reader against arbitrary file bytes: every input is
// either refused with a message or read into a codebook of exactly the
// header's size; then the header read is shown as the settings dump shows
// it, and the word is read as the save's overwrite question reads it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dosya.h"
#include "matris.h"
#include "mesaj_kaydi.h"
#include "velmo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* veri, size_t boy) {
    static std::string cikti;
    static std::string yol;
    if (yol.empty()) {
        MesajKaydiKur(&cikti);
        yol = "/tmp/fuzz_dosya_" + std::to_string(getpid()) + ".vlm";
    }
    std::FILE* f = std::fopen(yol.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(veri, 1, boy, f);
    std::fclose(f);

    KURALDOSYABASLIK b;
    MATRIS km;
    if (KuralDosyasiOku(yol.c_str(), &b, &km) == KDOKU_TAMAM) {
        if (km.Satir() != b.s || km.Sutun() != b.n) std::abort();
        // Touch the last element: the block must hold s x n floats.
        volatile float son = km[b.s - 1][b.n - 1];
        (void)son;
        BaslikSatirlari(b, true);
    }
    std::string soz;
    KuralDosyasiSozu(yol.c_str(), soz);
    cikti.clear();
    return 0;
}
