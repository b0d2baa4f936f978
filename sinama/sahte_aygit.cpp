#include "sahte_aygit.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

SAHTE_AYGIT sahte;

namespace {

struct SAHTE_AKIS {
    int yon = SES_GIRIS;
    SES_BILDIRIM bildirim = nullptr;
    SESBASLIGI* baslik = nullptr;
    std::thread is;
    std::atomic<bool> dur{false};
};

SAHTE_AKIS tek;  // one device at a time, as the program uses it

int Adim(const char* ad, int adim) {
    sahte.adimlar.push_back(ad);
    return sahte.hataAdimi == adim ? 1 : 0;
}

void Calis(SAHTE_AKIS* a) {
    a->bildirim(a, SES_ACILDI);
    a->bildirim(a, SES_KAPANDI);
    if (sahte.gecikmeMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(sahte.gecikmeMs));
    if (a->dur || sahte.tepkisiz) return;
    SESBASLIGI* b = a->baslik;
    if (a->yon == SES_GIRIS) {
        const size_t n = std::min<size_t>(sahte.girdi.size(), b->dwBufferLength);
        std::memcpy(b->lpData, sahte.girdi.data(), n);
    } else {
        sahte.calinan.assign(b->lpData, b->dwBufferLength);
    }
    b->dwBytesRecorded = b->dwBufferLength;
    a->bildirim(a, SES_BITTI);
}

void Bitir(SAHTE_AKIS* a) {
    a->dur = true;
    if (a->is.joinable()) a->is.join();
}

int Ac(void** aygit, int yon, const SESBICIMI* bicim, SES_BILDIRIM bildirim) {
    sahte.bicim = *bicim;
    if (Adim("ac", SAHTE_AC)) return 1;
    tek.yon = yon;
    tek.bildirim = bildirim;
    tek.baslik = nullptr;
    tek.dur = false;
    sahte.acik++;
    *aygit = &tek;
    bildirim(&tek, SES_ACILDI);
    return 0;
}

int Hazirla(void*, SESBASLIGI* b) {
    if (Adim("hazirla", SAHTE_HAZIRLA)) return 1;
    b->dwFlags |= SES_HAZIR;
    sahte.hazir++;
    return 0;
}

int Ekle(void* aygit, SESBASLIGI* b) {
    if (Adim("ekle", SAHTE_EKLE)) return 1;
    SAHTE_AKIS* a = static_cast<SAHTE_AKIS*>(aygit);
    a->baslik = b;
    if (a->yon == SES_CIKIS) a->is = std::thread(Calis, a);
    return 0;
}

int Baslat(void* aygit) {
    if (Adim("baslat", SAHTE_BASLAT)) return 1;
    SAHTE_AKIS* a = static_cast<SAHTE_AKIS*>(aygit);
    if (a->baslik != nullptr && !a->is.joinable()) a->is = std::thread(Calis, a);
    return 0;
}

int Durdur(void* aygit) {
    sahte.adimlar.push_back("durdur");
    Bitir(static_cast<SAHTE_AKIS*>(aygit));
    return 0;
}

int Coz(void*, SESBASLIGI* b) {
    sahte.adimlar.push_back("coz");
    b->dwFlags &= ~static_cast<uint32_t>(SES_HAZIR);
    sahte.hazir--;
    return 0;
}

int Kapat(void* aygit) {
    sahte.adimlar.push_back("kapat");
    SAHTE_AKIS* a = static_cast<SAHTE_AKIS*>(aygit);
    Bitir(a);
    a->bildirim(a, SES_KAPANDI);
    sahte.acik--;
    return 0;
}

const SES_AYGITI sahteAygit = {Ac, Hazirla, Ekle, Baslat, Durdur, Coz, Kapat};

}  // namespace

void SahteAygitKur() {
    sahte = SAHTE_AYGIT{};
    SesAygitiKur(&sahteAygit);
}
