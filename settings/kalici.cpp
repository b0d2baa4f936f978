#include "kalici.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "ayar_tablosu.h"
#include "mesaj.h"

namespace fs = std::filesystem;

namespace {

std::string Kirp(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

// Why `metin` cannot be setting `t` of `a`, "" when it can (then taken).
std::string DegerAl(const AYARTANIMI& t, const std::string& metin, AYAR_DEGERLERI& a) {
    const bool tam = TamsayiYeri(t, a) != nullptr;
    double d = 0;
    switch (SayiCoz(metin, tam ? SAYI_TAMSAYI : SAYI_FLOAT, &d)) {
        case SAYI_DEGIL: return Bicimle(Ceviri("\"%s\" bir sayı değil"), metin.c_str());
        case SAYI_TAM_DEGIL: return Bicimle(Ceviri("\"%s\" bir tam sayı değil"), metin.c_str());
        case SAYI_TAMAM: break;
    }
    if (!Aralikta(t, d)) return Bicimle(Ceviri("%s %s olmalı"), Ceviri(t.adi), AralikMetni(t).c_str());
    const std::string iliski = AyarIliskisi(t, d, a);
    if (!iliski.empty()) return iliski;
    if (t.no == AYAR_TUR) TurSec(a, static_cast<int>(d));
    else AyarDegeriKoy(t, a, d);
    return "";
}

}  // namespace

std::string KaliciAyarDosyasi() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/velmo/ayarlar";
    const char* ev = std::getenv("HOME");
    if (ev != nullptr && ev[0] != '\0') return std::string(ev) + "/.config/velmo/ayarlar";
    return "";
}

std::string KaliciAyarlariUygula(AYAR_DEGERLERI& a, std::set<std::string>* alinan) {
    const std::string yol = KaliciAyarDosyasi();
    if (yol.empty()) return "";
    std::error_code h;
    if (!fs::exists(yol, h)) return "";
    if (!fs::is_regular_file(yol, h) || fs::file_size(yol, h) > 64 * 1024)
        return Bicimle(Ceviri("%s: sıradan bir dosya değil ya da çok büyük; ayarlar okunmadı.\n"), yol.c_str());
    std::ifstream f(yol);
    if (!f) return Bicimle(Ceviri("%s: okunamıyor; ayarlar okunmadı.\n"), yol.c_str());
    std::string mesaj, satir;
    // A kind read before the LPC order keeps the order the file gives.
    std::set<std::string> okunan;
    for (int no = 1; std::getline(f, satir); no++) {
        const std::string s = Kirp(satir);
        if (s.empty() || s[0] == '#') continue;
        const size_t esit = s.find('=');
        std::string neden;
        const AYARTANIMI* t = esit == std::string::npos ? nullptr : AyarBul(Kirp(s.substr(0, esit)));
        if (esit == std::string::npos) neden = Ceviri("\"ad = değer\" biçiminde değil");
        else if (t == nullptr) neden = Bicimle(Ceviri("bilinmeyen ayar \"%s\""), Kirp(s.substr(0, esit)).c_str());
        else neden = DegerAl(*t, Kirp(s.substr(esit + 1)), a);
        if (!neden.empty()) {
            mesaj += Bicimle(Ceviri("%s:%d: %s; satır atlandı.\n"), yol.c_str(), no, neden.c_str());
            continue;
        }
        okunan.insert(t->ad);
    }
    if (alinan != nullptr) alinan->insert(okunan.begin(), okunan.end());
    return mesaj;
}

std::string KaliciAyarlariYaz(const AYAR_DEGERLERI& a) {
    const std::string yol = KaliciAyarDosyasi();
    if (yol.empty()) return Ceviri("XDG_CONFIG_HOME ve HOME yok; ayarların yazılacağı yer bilinmiyor.");
    std::error_code h;
    fs::create_directories(fs::path(yol).parent_path(), h);
    if (h)
        return Bicimle(Ceviri("%s: dizin yapılamadı: %s"), fs::path(yol).parent_path().c_str(), h.message().c_str());
    std::ostringstream o;
    o << "# velmo ayarları (velmo-toplu'nun seçenek adlarıyla)\n";
    for (const AYARTANIMI* t = AyarlarBas(); t != AyarlarSon(); ++t) {
        char deger[64];
        if (t->gercelAlani == nullptr)
            std::snprintf(deger, sizeof deger, "%d", static_cast<int>(AyarDegeri(*t, a)));
        else
            std::snprintf(deger, sizeof deger, "%.9g", AyarDegeri(*t, a));
        o << t->ad << " = " << deger << "\n";
    }
    const std::string gecici = yol + ".yaziliyor." + std::to_string(getpid());
    {
        std::ofstream f(gecici, std::ios::trunc);
        f << o.str();
        f.flush();
        if (!f) {
            fs::remove(gecici, h);
            return Bicimle(Ceviri("%s: yazılamadı."), yol.c_str());
        }
    }
    if (std::rename(gecici.c_str(), yol.c_str()) != 0) {
        const std::string neden = std::strerror(errno);
        fs::remove(gecici, h);
        return Bicimle(Ceviri("%s: yazılamadı: %s"), yol.c_str(), neden.c_str());
    }
    return "";
}
