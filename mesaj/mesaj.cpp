#include "mesaj.h"

#include <cstdio>

#include "kodlama.h"
#include "tam_yaz.h"

namespace {

class HATA_ALICISI : public MESAJ_ALICISI {
public:
    void Al(const std::string& utf8) override {
        const std::string s = UcbirimeCevir(utf8);
        TamYaz(2, s.data(), s.size());
    }
};

class KAYIT_ALICISI : public MESAJ_ALICISI {
public:
    std::string* kayit = nullptr;
    bool ucbirime = false;  // record in the terminal's charset
    void Al(const std::string& utf8) override {
        if (kayit != nullptr) kayit->append(ucbirime ? UcbirimeCevir(utf8) : utf8);
    }
};

HATA_ALICISI hataAlicisi;
// Each thread has its own sink, so threads that catch their messages (the
// library's handles) never see each other's.
thread_local MESAJ_ALICISI* etkin = &hataAlicisi;

}  // namespace

MESAJ_ALICISI* MesajAlicisiKur(MESAJ_ALICISI* alici) {
    MESAJ_ALICISI* eski = etkin;
    etkin = alici != nullptr ? alici : &hataAlicisi;
    return eski;
}

std::string BicimleV(const char* bicim, va_list a) {
    char kucuk[512];
    va_list b;
    va_copy(b, a);
    const int n = std::vsnprintf(kucuk, sizeof kucuk, bicim, a);
    std::string metin;
    if (n >= 0 && static_cast<size_t>(n) < sizeof kucuk) {
        metin.assign(kucuk, static_cast<size_t>(n));
    } else if (n >= 0) {
        metin.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(&metin[0], metin.size(), bicim, b);
        metin.resize(static_cast<size_t>(n));
    }
    va_end(b);
    return metin;
}

std::string Bicimle(const char* bicim, ...) {
    va_list a;
    va_start(a, bicim);
    std::string o = BicimleV(bicim, a);
    va_end(a);
    return o;
}

void Yaz(const char* bicim, ...) {
    va_list a;
    va_start(a, bicim);
    const std::string metin = BicimleV(Ceviri(bicim), a);
    va_end(a);
    etkin->Al(metin);
}

void Ilet(const std::string& utf8) {
    if (!utf8.empty()) etkin->Al(utf8);
}

std::string Yakala(const std::function<void()>& is, bool ucbirime) {
    std::string yakalanan;
    KAYIT_ALICISI alici;
    alici.kayit = &yakalanan;
    alici.ucbirime = ucbirime;
    MESAJ_ALICISI* const eski = MesajAlicisiKur(&alici);
    struct GeriKoy {
        MESAJ_ALICISI* eski;
        ~GeriKoy() { MesajAlicisiKur(eski); }
    } geriKoy{eski};
    is();
    return yakalanan;
}
