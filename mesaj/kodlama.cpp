#include "kodlama.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>

size_t Utf8Boy(const std::string& s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t uz;
    unsigned alt = 0x80;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) uz = 2;
    else if (c >= 0xE0 && c <= 0xEF) uz = 3, alt = (c == 0xE0) ? 0xA0 : 0x80;
    else if (c >= 0xF0 && c <= 0xF4) uz = 4, alt = (c == 0xF0) ? 0x90 : 0x80;
    else return 0;
    if (i + uz > s.size()) return 0;
    unsigned ust = 0xBF;
    if (c == 0xED) ust = 0x9F;
    if (c == 0xF4) ust = 0x8F;
    const unsigned c1 = static_cast<unsigned char>(s[i + 1]);
    if (c1 < alt || c1 > ust) return 0;
    for (size_t k = 2; k < uz; k++)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    return uz;
}

namespace {

std::string ucbirimKodu = "UTF-8";

bool Utf8mi(const std::string& ad) {
    return ad == "UTF-8" || ad == "utf-8" || ad == "UTF8" || ad == "utf8";
}

// One iconv descriptor per direction and thread, opened on first use and kept.
struct Donusturucu {
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
    std::string kaynak, hedef;
    ~Donusturucu() {
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
    bool Ac(const std::string& k, const std::string& h) {
        if (cd != reinterpret_cast<iconv_t>(-1) && k == kaynak && h == hedef) return true;
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
        kaynak = k;
        hedef = h;
        cd = iconv_open(h.c_str(), k.c_str());
        return cd != reinterpret_cast<iconv_t>(-1);
    }
    // Converts `girdi`; with `yedek` set, an unconvertible byte becomes it,
    // otherwise the conversion fails.
    bool Cevir(const std::string& girdi, std::string& cikti, char yedek) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        cikti.clear();
        char* ip = const_cast<char*>(girdi.data());
        size_t ik = girdi.size();
        char tampon[1024];
        while (ik > 0) {
            char* op = tampon;
            size_t ok = sizeof tampon;
            size_t r = iconv(cd, &ip, &ik, &op, &ok);
            cikti.append(tampon, static_cast<size_t>(op - tampon));
            if (r != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            if (yedek == '\0') return false;
            // EILSEQ or EINVAL: skip one input byte (or one whole UTF-8
            // character that the target cannot hold) and mark it.
            size_t atla = 1;
            unsigned char c = static_cast<unsigned char>(*ip);
            if (kaynak == "UTF-8" && c >= 0xC2 && c <= 0xF4) {
                size_t uz = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
                size_t i = 1;
                while (i < uz && i < ik && (static_cast<unsigned char>(ip[i]) & 0xC0) == 0x80) i++;
                atla = i;
            }
            ip += atla;
            ik -= atla;
            cikti.push_back(yedek);
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        char* op = tampon;
        size_t ok = sizeof tampon;
        iconv(cd, nullptr, nullptr, &op, &ok);
        cikti.append(tampon, static_cast<size_t>(op - tampon));
        return true;
    }
};

// Per thread: an iconv descriptor keeps conversion state and may not be
// used by two threads at once.
thread_local Donusturucu utf8den1254, cp1254ten, ucbirime, ucbirimden;

// Well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool Utf8Gecerli(const std::string& s) {
    for (size_t i = 0, uz; i < s.size(); i += uz)
        if ((uz = Utf8Boy(s, i)) == 0) return false;
    return true;
}

}  // namespace

void KodlamaBaslat() {
    std::setlocale(LC_CTYPE, "");
    MesajDiliniKur();
    const char* kod = nl_langinfo(CODESET);
    // Under the C/POSIX locale the charset reads as ASCII: write UTF-8 then.
    if (kod == nullptr || *kod == '\0' || std::strcmp(kod, "ANSI_X3.4-1968") == 0 ||
        std::strcmp(kod, "ASCII") == 0)
        ucbirimKodu = "UTF-8";
    else
        ucbirimKodu = kod;
}

bool Utf8den1254(const std::string& utf8, std::string& cikti) {
    if (!utf8den1254.Ac("UTF-8", "WINDOWS-1254")) return false;
    return utf8den1254.Cevir(utf8, cikti, '\0');
}

std::string Cp1254(const std::string& utf8) {
    std::string c;
    if (!utf8den1254.Ac("UTF-8", "WINDOWS-1254")) return utf8;
    utf8den1254.Cevir(utf8, c, '?');
    return c;
}

std::string Cp1254ten(const std::string& metin) {
    std::string c;
    if (!cp1254ten.Ac("WINDOWS-1254", "UTF-8")) return metin;
    cp1254ten.Cevir(metin, c, '?');
    return c;
}

std::string UcbirimeCevir(const std::string& utf8) {
    std::string c;
    if (Utf8mi(ucbirimKodu)) {
        // Identity, but invalid bytes (a path of another charset) still
        // must not reach the terminal as broken sequences.
        if (Utf8Gecerli(utf8)) return utf8;
        if (!ucbirime.Ac("UTF-8", "UTF-8")) return utf8;
        ucbirime.Cevir(utf8, c, '?');
        return c;
    }
    if (!ucbirime.Ac("UTF-8", ucbirimKodu)) return utf8;
    ucbirime.Cevir(utf8, c, '?');
    return c;
}

bool UcbirimdenCevir(const std::string& metin, std::string& utf8) {
    if (Utf8mi(ucbirimKodu)) {
        utf8 = metin;
        return Utf8Gecerli(metin);
    }
    if (!ucbirimden.Ac(ucbirimKodu, "UTF-8")) return false;
    return ucbirimden.Cevir(metin, utf8, '\0');
}

std::string Gorunur(const std::string& utf8) {
    static const char onalti[] = "0123456789ABCDEF";
    std::string o;
    o.reserve(utf8.size());
    auto kacir = [&](unsigned char c) {
        o += "\\x";
        o += onalti[c >> 4];
        o += onalti[c & 15];
    };
    for (size_t i = 0; i < utf8.size(); i++) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) {
            kacir(c);
        } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            kacir(c);
            kacir(static_cast<unsigned char>(utf8[++i]));
        } else {
            o += static_cast<char>(c);
        }
    }
    return o;
}

std::string SistemNedeni(int hata) {
    const std::string metin = std::strerror(hata);
    std::string utf8;
    if (UcbirimdenCevir(metin, utf8)) return utf8;
    return metin;
}
