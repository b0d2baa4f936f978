// The whole program as a user drives it, from random bytes on standard input:
// the main menu and every screen under it (new and existing word, recognition,
// settings, file browser), with the in-memory sound device.
// Input: two little-endian bytes L, then L bytes that the device "hears"
// (then silence), then the keystrokes. The program must neither crash nor
// hang, whatever is typed.
// It runs in a directory of its own (in /dev/shm when there is one, so the
// saves' fsync costs nothing), emptied before every input, and goes back to
// the directory it was started in after each one, so that relative corpus
// paths keep working; crash files go to the start directory too. Typed text
// cannot leave it: '/' becomes '_' and a '.' after a '.' becomes '_', so a
// typed name is one name inside it, and chdir (the path command) only ever
// reaches that directory itself. The dump names are directories there, so no
// recording writes a dump table of up to hundreds of megabytes; a typed
// number keeps at most four digits (a recording is then at most 9999 Hz x 60
// s), and the analysis and quantisation work bounds are lowered, so that one
// input stays short whatever settings are typed. The unit tests cover the
// settings beyond four digits.
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "konsol.h"
#include "lpc.h"
#include "menu.h"
#include "sahte_aygit.h"
#include "sifirlama.h"
#include "velmo.h"
#include "vq1.h"

namespace fs = std::filesystem;

namespace {

const char* const DOKUMLER[] = {"sinir.txt", "Ci.txt", "DelCi.txt"};
char fuzzDizini[256];

// Empties the directory, then puts the dump names back as directories.
void Hazirla(const fs::path& dizin) {
    std::error_code h;
    for (const fs::directory_entry& e : fs::directory_iterator(dizin, h)) fs::remove_all(e.path(), h);
    for (const char* d : DOKUMLER) fs::create_directory(dizin / d, h);
}

void Sil() {
    std::error_code h;
    if (fuzzDizini[0] != '\0') fs::remove_all(fuzzDizini, h);
}

}  // namespace

// The program's chdir: only into the fuzzing directory (typed paths are refused
// as a directory that cannot be entered).
extern "C" int chdir(const char* yol) {
    if (fuzzDizini[0] != '\0' && std::strcmp(yol, fuzzDizini) == 0)
        return static_cast<int>(syscall(SYS_chdir, yol));
    errno = EACCES;
    return -1;
}

// libFuzzer writes a crash file while the input runs, in the fuzzing
// directory: the prefix of crash files is made absolute, in the start
// directory unless given.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<std::string> metinler;
    static std::vector<char*> yeni;
    const std::string bas = fs::current_path().string() + "/";
    const std::string onek = "-artifact_prefix=";
    bool verildi = false;
    for (int i = 0; i < *argc; i++) {
        std::string a = (*argv)[i];
        if (a.rfind(onek, 0) == 0) {
            verildi = true;
            if (a.size() > onek.size() && a[onek.size()] != '/') a.insert(onek.size(), bas);
        }
        metinler.push_back(a);
    }
    if (!verildi) metinler.push_back(onek + bas);
    for (std::string& m : metinler) yeni.push_back(m.data());
    yeni.push_back(nullptr);
    *argc = static_cast<int>(metinler.size());
    *argv = yeni.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* veri, size_t boy) {
    static std::string cikti;
    static fs::path dizin;
    static const int baslangic = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dizin.empty()) {
        char sablon[] = "/dev/shm/fuzz_konsol_XXXXXX";
        char yedek[] = "/tmp/fuzz_konsol_XXXXXX";
        char* ad = access("/dev/shm", W_OK) == 0 ? mkdtemp(sablon) : nullptr;
        if (ad == nullptr) ad = mkdtemp(yedek);
        if (ad == nullptr) std::abort();
        dizin = ad;
        std::strcpy(fuzzDizini, ad);
        std::atexit(Sil);
        // The start-up directory is captured by the first reset.
        if (chdir(dizin.c_str()) != 0) std::abort();
        KonsolTestKur("", &cikti);
        Sifirla(0);
        cozumleme_is_siniri = 2000000;
        vq_is_siniri = 2000000;
    }
    if (boy < 2) {
        if (fchdir(baslangic) != 0) std::abort();
        return 0;
    }
    size_t ses = static_cast<size_t>(veri[0]) | static_cast<size_t>(veri[1]) << 8;
    if (ses > boy - 2) ses = boy - 2;
    std::string girdi(reinterpret_cast<const char*>(veri) + 2 + ses, boy - 2 - ses);
    std::string yazilan;
    int rakamlar = 0;
    for (size_t i = 0; i < girdi.size(); i++) {
        char c = girdi[i];
        if (c == '/') c = '_';
        else if (c == '.' && i > 0 && girdi[i - 1] == '.') c = '_';
        rakamlar = (c >= '0' && c <= '9') ? rakamlar + 1 : 0;
        if (rakamlar <= 4) yazilan.push_back(c);
    }

    if (chdir(dizin.c_str()) != 0) std::abort();
    Hazirla(dizin);
    Sifirla(0);
    SahteAygitKur();
    sahte.gecikmeMs = 0;
    sahte.girdi.assign(reinterpret_cast<const char*>(veri) + 2, ses);
    cikti.clear();
    KonsolTestKur(yazilan, &cikti);
    AnaMenu();
    KonsolTestBitir();
    Sifirla(0);
    if (fchdir(baslangic) != 0) std::abort();
    return 0;
}
