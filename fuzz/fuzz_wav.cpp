// velmo-toplu's sound-file reader against arbitrary file bytes: every input
// is either refused with a message or becomes a recording of exactly rate x
// seconds samples. Input: four bytes choosing the rate, the length and the
// sound options, then the file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "konsol.h"
#include "wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* veri, size_t boy) {
    static std::string cikti;
    static std::string yol;
    if (yol.empty()) {
        KonsolTestKur("", &cikti);
        const char* dizin = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        yol = std::string(dizin) + "/fuzz_wav_" + std::to_string(getpid()) + ".ses";
        static std::string silinecek = yol;
        std::atexit([] { unlink(silinecek.c_str()); });
    }
    if (boy < 4) return 0;
    static const int oranlar[] = {8000, 11025, 12000, 16000, 22050, 44100, 1000};
    const int oo = oranlar[veri[0] % 7];
    const int saniye = 1 + (veri[1] & 1);
    SESAYARI ayar;
    ayar.tepeVar = (veri[1] & 2) != 0;
    ayar.gurultuVar = (veri[1] & 4) != 0;
    ayar.dolgu = ((veri[1] >> 3) & 7) * 0.25;  // up to beyond the recording
    ayar.tepe = -static_cast<double>(veri[2] % 61);
    ayar.gurultu = -30.0 - veri[3] % 70;

    std::FILE* f = std::fopen(yol.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(veri + 4, 1, boy - 4, f);
    std::fclose(f);
    std::vector<short> ornekler;
    if (SesDosyasiOku(yol, oo, saniye, ayar, ornekler) == 0) {
        if (ornekler.size() != static_cast<size_t>(oo) * static_cast<size_t>(saniye)) std::abort();
    } else if (!ornekler.empty()) {
        std::abort();
    }
    cikti.clear();
    return 0;
}
