#include "ekran.h"

#include <cstring>

#include "kodlama.h"
#include "konsol.h"

bool UcbirimMetni(const std::string& yazilan, std::string& utf8) {
    if (UcbirimdenCevir(yazilan, utf8)) return true;
    Yaz("Yazilan metin okunamadi (gecersiz karakter).\n");
    return false;
}

int MetinGenisligi(const std::string& metin) {
    int harf = 0;
    for (unsigned char c : metin)
        if ((c & 0xC0) != 0x80) harf++;
    return harf;
}

std::string Doldurulmus(const std::string& metin, int genislik) {
    const int harf = MetinGenisligi(metin);
    std::string s = metin;
    if (harf < genislik) s.append(static_cast<size_t>(genislik - harf), ' ');
    return s;
}

std::string SozGoster(const char* soz, int genislik) {
    return Doldurulmus(Gorunur(Cp1254ten(std::string(soz, strnlen(soz, 20)))), genislik);
}
