#include "kaydedici.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

bool KAYDEDICI::Hazirla(const std::string& dizin, std::string* hata) {
    dizin_ = dizin;
    std::error_code h;
    fs::create_directory(dizin, h);
    if (h || !fs::is_directory(dizin, h)) {
        *hata = dizin + ": kayıt dizini yapılamadı ya da dizin değil.";
        return false;
    }
    sonraki_ = 1;
    for (fs::directory_iterator i(dizin, h), son; !h && i != son; i.increment(h)) {
        const std::string ad = i->path().filename().string();
        // NNNN.wav: four or more digits.
        if (ad.size() < 8 || ad.compare(ad.size() - 4, 4, ".wav") != 0) continue;
        const std::string sayi = ad.substr(0, ad.size() - 4);
        if (sayi.find_first_not_of("0123456789") != std::string::npos || sayi.size() > 9) continue;
        sonraki_ = std::max(sonraki_, std::stoi(sayi) + 1);
    }
    if (h) {
        *hata = dizin + ": kayıt dizini okunamıyor.";
        return false;
    }
    return true;
}

bool KAYDEDICI::Yaz(const int16_t* x, size_t n, int oo, std::string* ad, std::string* hata) {
    char no[32];
    std::string hedef;
    for (;; sonraki_++) {
        std::snprintf(no, sizeof no, "%04d.wav", sonraki_);
        hedef = dizin_ + "/" + no;
        struct stat st;
        if (lstat(hedef.c_str(), &st) != 0) break;
    }
    const std::string gecici = hedef + ".yaziliyor";
    SF_INFO bilgi{};
    bilgi.samplerate = oo;
    bilgi.channels = 1;
    bilgi.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(gecici.c_str(), SFM_WRITE, &bilgi);
    if (f == nullptr) {
        *hata = gecici + ": yazılamıyor (" + sf_strerror(nullptr) + ").";
        return false;
    }
    const sf_count_t yazilan = sf_write_short(f, x, static_cast<sf_count_t>(n));
    const int kapat = sf_close(f);
    if (yazilan != static_cast<sf_count_t>(n) || kapat != 0) {
        std::remove(gecici.c_str());
        *hata = gecici + ": yazılamadı (disk dolu olabilir).";
        return false;
    }
    if (std::rename(gecici.c_str(), hedef.c_str()) != 0) {
        *hata = hedef + ": yazılamadı (" + std::strerror(errno) + ").";
        std::remove(gecici.c_str());
        return false;
    }
    sonraki_++;
    *ad = hedef;
    return true;
}
