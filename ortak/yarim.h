// Files being written. A writer names its file here before the first byte
// (YarimBasla, or a YARIM_DOSYA for a scope, which can also remove the file
// when the scope ends without it being kept) and clears the name once the
// file is whole or gone. When the program is interrupted (Ctrl-C, SIGTERM,
// SIGHUP) the handler removes every file still named before the program
// ends, so a stage cut short leaves no half-written file behind: a dump is
// then missing, never torn; a codebook or report keeps its earlier file,
// since only its temporary file is named.
// The handler touches only fixed slots, each published by a lock-free atomic
// flag, and calls only unlink: it is async-signal-safe.
#ifndef YARIM_H
#define YARIM_H

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <string>
#include <utility>

enum { YARIM_YUVA_SAYISI = 16, YARIM_AD_BOYU = 1024 };

struct YARIM_YUVA {
    std::atomic<int> durum{0};  // 0 free, 1 being named, 2 named
    char ad[YARIM_AD_BOYU];
};
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the flags");

inline YARIM_YUVA yarimYuvalari[YARIM_YUVA_SAYISI];

// Names `yol` (a path as the writer opens it, relative to the current
// directory or absolute) as being written. The slot, or -1 when every slot
// is taken or the path is too long (the file is then not removed).
inline int YarimBasla(const char* yol) {
    if (yol == nullptr) return -1;
    const size_t n = std::strlen(yol);
    if (n >= YARIM_AD_BOYU) return -1;
    for (int i = 0; i < YARIM_YUVA_SAYISI; i++) {
        int bos = 0;
        if (!yarimYuvalari[i].durum.compare_exchange_strong(bos, 1)) continue;
        std::memcpy(yarimYuvalari[i].ad, yol, n + 1);
        yarimYuvalari[i].durum.store(2);
        return i;
    }
    return -1;
}

// The file of slot `yuva` is whole (or removed): it is no longer named.
inline void YarimBitti(int yuva) {
    if (yuva >= 0 && yuva < YARIM_YUVA_SAYISI) yarimYuvalari[yuva].durum.store(0);
}

// A file named for the life of a scope. With `sil`, the end of the scope
// also removes the file unless Tut() said it is whole: a temporary file that
// is gone on every path on which it did not take its final name.
class YARIM_DOSYA {
public:
    explicit YARIM_DOSYA(std::string ad, bool silinsin = false)
        : yol(std::move(ad)), yuva(YarimBasla(yol.c_str())), sil(silinsin) {}
    ~YARIM_DOSYA() {
        // Removed before the name is cleared: an interrupt in between only
        // removes it a second time.
        if (sil) unlink(yol.c_str());
        YarimBitti(yuva);
    }
    YARIM_DOSYA(const YARIM_DOSYA&) = delete;
    YARIM_DOSYA& operator=(const YARIM_DOSYA&) = delete;

    const std::string& Yol() const { return yol; }
    // The file is to stay as it is (whole, or no longer under this name):
    // from this moment neither an interrupt nor the end of the scope
    // removes it.
    void Tut() {
        YarimBitti(yuva);
        yuva = -1;
        sil = false;
    }

private:
    std::string yol;
    int yuva;
    bool sil;
};

// Removes every named file; for signal handlers.
inline void YarimDosyalariSil() {
    for (YARIM_YUVA& y : yarimYuvalari)
        if (y.durum.load() == 2) unlink(y.ad);
}

// The handler of a program with nothing else to restore: removes the named
// files and ends the program by the same signal.
inline void YarimKesinti(int sinyal) {
    YarimDosyalariSil();
    std::signal(sinyal, SIG_DFL);
    std::raise(sinyal);
}

// Installs `isleyici` (YarimKesinti, or a handler that calls it after
// restoring what else it must) for SIGINT, SIGTERM and SIGHUP.
inline void KesintiKur(void (*isleyici)(int) = YarimKesinti) {
    std::signal(SIGINT, isleyici);
    std::signal(SIGTERM, isleyici);
    std::signal(SIGHUP, isleyici);
}

#endif
