#include "ekran.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "kodlama.h"
#include "konsol.h"

namespace fs = std::filesystem;

std::vector<std::string> DizinDosyalari(const char* dizin) {
    std::vector<std::string> adlar;
    std::error_code hata;
    fs::directory_iterator it(dizin, hata), son;
    for (; !hata && it != son; it.increment(hata)) {
        std::error_code h2;
        if (it->is_regular_file(h2)) adlar.push_back(it->path().filename().string());
    }
    std::sort(adlar.begin(), adlar.end());
    return adlar;
}

bool UcbirimMetni(const std::string& yazilan, std::string& utf8) {
    if (UcbirimdenCevir(yazilan, utf8)) return true;
    Yaz("Yazilan metin okunamadi (gecersiz karakter).\n");
    return false;
}

std::string Doldurulmus(const std::string& metin, int genislik) {
    int harf = 0;
    for (unsigned char c : metin)
        if ((c & 0xC0) != 0x80) harf++;
    std::string s = metin;
    if (harf < genislik) s.append(static_cast<size_t>(genislik - harf), ' ');
    return s;
}

std::string SozGoster(const char* soz, int genislik) {
    return Doldurulmus(Cp1254ten(std::string(soz, strnlen(soz, 20))), genislik);
}
