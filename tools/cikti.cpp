#include "cikti.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "kodlama.h"
#include "konsol.h"
#include "tam_yaz.h"

namespace {

void HataFd(const std::string& s) { TamYaz(2, s.data(), s.size()); }

}  // namespace

void Cikti(const char* bicim, ...) {
    va_list a;
    va_start(a, bicim);
    const std::string metin = BicimleV(Ceviri(bicim), a);
    va_end(a);
    KonsolHamYaz(UcbirimeCevir(metin));
}

MESAJ_ALICISI* HataAlicisi() {
    class HATA_ALICISI : public MESAJ_ALICISI {
    public:
        void Al(const std::string& utf8) override { HataHam(UcbirimeCevir(utf8)); }
    };
    static HATA_ALICISI alici;
    return &alici;
}

std::string TabanAd(const std::string& yol) {
    const size_t b = yol.find_last_of('/');
    return b == std::string::npos ? yol : yol.substr(b + 1);
}

void Hata(const char* bicim, ...) {
    va_list a;
    va_start(a, bicim);
    const std::string metin = BicimleV(Ceviri(bicim), a);
    va_end(a);
    HataHam(UcbirimeCevir(metin));
}

void HataHam(const std::string& metin) {
    if (metin.empty()) return;
    KonsolBosalt();  // what was printed before stays before
    HataFd(metin);
}

std::string SatirOnekli(const std::string& girdi, const std::string& m) {
    const std::string onek = UcbirimeCevir(girdi + ": ");
    std::string o;
    bool basta = true;
    for (char c : m) {
        if (basta && c != '\n') o += onek;
        basta = (c == '\n');
        o.push_back(c);
    }
    if (!o.empty() && o.back() != '\n') o.push_back('\n');
    return o;
}

std::string DenetimsizMetin(const std::string& metin) {
    std::string o;
    o.reserve(metin.size());
    for (size_t i = 0; i < metin.size(); i++) {
        if (metin[i] == '\x1b' && i + 1 < metin.size() && metin[i + 1] == '[') {
            // CSI: parameters and intermediates up to the final byte.
            size_t j = i + 2;
            while (j < metin.size() && !(metin[j] >= 0x40 && metin[j] <= 0x7E)) j++;
            i = j;
            continue;
        }
        o.push_back(metin[i]);
    }
    return o;
}

std::string Utf8Onar(const std::string& s) {
    std::string o;
    for (size_t i = 0; i < s.size();) {
        const size_t uz = Utf8Boy(s, i);
        if (uz == 0) {
            o += "\xEF\xBF\xBD";
            i++;
        } else {
            o.append(s, i, uz);
            i += uz;
        }
    }
    return o;
}

size_t Utf8Genislik(const std::string& s) {
    size_t n = 0;
    for (size_t i = 0; i < s.size();) {
        const size_t uz = Utf8Boy(s, i);
        i += uz == 0 ? 1 : uz;
        n++;
    }
    return n;
}

std::string JsonSayi(float deger) {
    if (!std::isfinite(deger)) return "null";
    char b[64];
    auto r = std::to_chars(b, b + sizeof b, deger);
    return std::string(b, r.ptr);
}

JSON JsonSayisi(float deger) {
    if (!std::isfinite(deger)) return nullptr;
    // "-0" has no integer that keeps its sign.
    if (deger == 0.0f && std::signbit(deger)) return -0.0;
    const std::string metin = JsonSayi(deger);
    if (metin.find_first_of(".eE") == std::string::npos) {
        int64_t tam = 0;
        const auto r = std::from_chars(metin.data(), metin.data() + metin.size(), tam);
        if (r.ec == std::errc() && r.ptr == metin.data() + metin.size()) return tam;
    }
    // The double nearest that text is written back as the same digits.
    return std::strtod(metin.c_str(), nullptr);
}

std::string JsonMetni(const JSON& belge) {
    return belge.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
