#include "olay.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>

#include "bellek.h"

struct OLAY {
    std::mutex kilit;
    std::condition_variable kosul;
    bool isaretli = false;
};

OLAY* OlayOlustur() {
    void* yer = Ayir(1, sizeof(OLAY));
    if (yer == nullptr) return nullptr;
    return new (yer) OLAY;
}

void OlayIsaretle(OLAY* olay) {
    {
        std::lock_guard<std::mutex> k(olay->kilit);
        olay->isaretli = true;
    }
    olay->kosul.notify_one();
}

int OlayBekle(OLAY* olay, long long sinir_ms) {
    std::unique_lock<std::mutex> k(olay->kilit);
    auto isaretli = [olay] { return olay->isaretli; };
    if (sinir_ms < 0) {
        olay->kosul.wait(k, isaretli);
    } else if (!olay->kosul.wait_until(k, std::chrono::steady_clock::now() + std::chrono::milliseconds(sinir_ms),
                                       isaretli)) {
        return 1;
    }
    olay->isaretli = false;  // auto-reset: one signal, one waiter
    return 0;
}

void OlayKapat(OLAY* olay) {
    if (olay == nullptr) return;
    olay->~OLAY();
    std::free(olay);
}
