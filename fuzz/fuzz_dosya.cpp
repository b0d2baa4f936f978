// The codebook file reader against arbitrary file bytes: every input is
// either refused with a message or read into a codebook of exactly the
// header's size; then the loaded header is shown by the settings dump.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "bellek.h"
#include "dosya.h"
#include "mesaj_kaydi.h"
#include "sifirlama.h"
#include "velmo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* veri, size_t boy) {
    static std::string cikti;
    static std::string yol;
    if (yol.empty()) {
        MesajKaydiKur(&cikti);
        Sifirla(0);
        yol = "/tmp/fuzz_dosya_" + std::to_string(getpid()) + ".vlm";
    }
    std::FILE* f = std::fopen(yol.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(veri, 1, boy, f);
    std::fclose(f);

    KURALDOSYABASLIK b;
    float** km = nullptr;
    if (KuralDosyasiOku(yol.c_str(), &b, &km) == KDOKU_TAMAM) {
        // Touch the last element: the array must hold s x n floats.
        volatile float son = km[b.s - 1][b.n - 1];
        (void)son;
        Free2B(km);
    }
    if (KuralDosyaYukle(yol.c_str()) == 0) AyarlarEkranaBas();
    Sifirla(4);
    cikti.clear();
    return 0;
}
