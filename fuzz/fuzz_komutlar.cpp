// velmo-dinle's command file reader against arbitrary file bytes: every
// input is either refused with one reason naming the file and a line, or
// read into commands that the runner can hand to /bin/sh as they are (a word
// and a command, neither empty, neither holding a NUL, CR or LF byte, each
// word once, valid UTF-8, in line order). The file is read from disk as
// velmo-dinle reads it, and must give what the same text gives in memory.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "cikti.h"
#include "komutlar.h"

namespace {

void Denetle(bool tamam, const std::vector<KOMUT>& komutlar, const std::string& hata, const std::string& ad) {
    if (!tamam) {
        if (!komutlar.empty() || hata.rfind(ad + ":", 0) != 0) std::abort();
        return;
    }
    std::set<std::string> sozler;
    int satir = 0;
    for (const KOMUT& k : komutlar) {
        for (const std::string* m : {&k.soz, &k.komut})
            if (m->empty() || m->find_first_of(std::string("\r\n\0", 3)) != std::string::npos || Utf8Onar(*m) != *m)
                std::abort();
        if (!sozler.insert(k.soz).second || k.satir <= satir) std::abort();
        satir = k.satir;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* veri, size_t boy) {
    static std::string yol;
    if (yol.empty()) {
        const char* dizin = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        yol = std::string(dizin) + "/fuzz_komutlar_" + std::to_string(getpid()) + ".txt";
        static std::string silinecek = yol;
        std::atexit([] { unlink(silinecek.c_str()); });
    }
    const std::string metin(reinterpret_cast<const char*>(veri), boy);
    std::vector<KOMUT> bellekte, dosyada;
    std::string h1, h2;
    const bool t1 = KomutMetniCoz(metin, "k", bellekte, &h1);
    Denetle(t1, bellekte, h1, "k");

    std::FILE* f = std::fopen(yol.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(veri, 1, boy, f);
    std::fclose(f);
    const bool t2 = KomutlariOku(yol, dosyada, &h2);
    Denetle(t2, dosyada, h2, yol);
    // The file holds what the text holds (the limit on its size aside).
    if (boy <= KOMUT_DOSYASI_EN_COK && (t1 != t2 || (t1 && bellekte.size() != dosyada.size()))) std::abort();
    return 0;
}
