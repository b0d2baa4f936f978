// The recognition scan: directory listing, reading and validating the
// codebook files, scoring them against the current analysis.
#include "tarama.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "bellek.h"
#include "dosya.h"
#include "kodlama.h"
#include "konsol.h"
#include "vq1.h"

std::vector<std::string> DizinDosyalari(const char* dizin) {
    std::vector<std::string> adlar;
    std::error_code hata;
    std::filesystem::directory_iterator it(dizin, hata), son;
    for (; !hata && it != son; it.increment(hata)) {
        std::error_code h2;
        if (it->is_regular_file(h2)) adlar.push_back(it->path().filename().string());
    }
    std::sort(adlar.begin(), adlar.end());
    return adlar;
}

bool VlmDosyasi(const std::string& ad) {
    return ad.size() > 4 && strcasecmp(ad.c_str() + ad.size() - 4, ".vlm") == 0;
}

void KuralDosyalariniTara(const char* dizin, int nAnaliz, TANIMA_SONUCU* enIyi,
                          std::vector<TANIMA_SONUCU>* hepsi) {
    enIyi->dosya.clear();
    enIyi->soz[0] = '\0';
    enIyi->puan = 1000.0f;
    const std::string onek = std::string(dizin) + "/";
    for (const std::string& ad : DizinDosyalari(dizin)) {
        if (!VlmDosyasi(ad)) continue;
        const std::string yol = onek + ad;
        KURALDOSYABASLIK baslik;
        float** km = nullptr;
        const int sonuc = KuralDosyasiOku(yol.c_str(), &baslik, &km);
        if (sonuc == KDOKU_ACILAMIYOR) continue;
        if (sonuc == KDOKU_BELLEK) break;
        if (sonuc != KDOKU_TAMAM) {
            insline();
            continue;
        }
        if (baslik.n > nAnaliz) {
            Yaz("%s: yöney boyutu %d, konuşma %d boyutla çözümlendi; atlandı.\n", yol.c_str(), baslik.n, nAnaliz);
            insline();
            Free2B(km);
            continue;
        }
        ayr.kdbaslik = baslik;
        try {
            Free2B(ayr.km);
        } catch (...) {
            Yaz("Kural kitabı silinemiyor 'KonusTanisin()'\n");
        }
        ayr.km = km;
        ayr.kms = baslik.s;
        ayr.kmn = baslik.n;
        std::snprintf(ayr.kdad, sizeof ayr.kdad, "%s*.vlm", onek.c_str());
        ayr.kdbayrak = 1;
        TANIMA_SONUCU t;
        t.dosya = ad;
        std::memcpy(t.soz, baslik.soz, SOZ_BOYU);
        t.soz[SOZ_BOYU] = '\0';
        Yaz("%s\t\t", SonucSozu(t).c_str());
        t.puan = OlasilikBul();
        if (t.puan < enIyi->puan) *enIyi = t;
        if (hepsi != nullptr) hepsi->push_back(t);
    }
}

bool KuralKitaplariOku(const std::string& dizin, int nAnaliz, std::vector<KURALKITABI>& kitaplar,
                       std::string* mesaj) {
    KuralKitaplariBirak(kitaplar);
    struct stat st;
    if (stat(dizin.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *mesaj += UcbirimeCevir(dizin + ": dizin okunamıyor.\n");
        return false;
    }
    const std::string onek = dizin + "/";
    for (const std::string& ad : DizinDosyalari(dizin.c_str())) {
        if (!VlmDosyasi(ad)) continue;
        const std::string yol = onek + ad;
        KURALKITABI k;
        k.ad = ad;
        int sonuc = KDOKU_TAMAM;
        *mesaj += Yakala([&] {
            sonuc = KuralDosyasiOku(yol.c_str(), &k.baslik, &k.km);
            if (sonuc == KDOKU_TAMAM && k.baslik.n > nAnaliz) {
                Yaz("%s: yöney boyutu %d, konuşma %d boyutla çözümlendi; atlandı.\n", yol.c_str(), k.baslik.n,
                    nAnaliz);
                Free2B(k.km);
                k.km = nullptr;
                sonuc = KDOKU_GECERSIZ;
            }
        });
        if (sonuc == KDOKU_BELLEK) break;
        if (sonuc == KDOKU_TAMAM) kitaplar.push_back(k);
    }
    return true;
}

void KuralKitaplariBirak(std::vector<KURALKITABI>& kitaplar) {
    for (KURALKITABI& k : kitaplar) {
        Free2B(k.km);
        k.km = nullptr;
    }
    kitaplar.clear();
}

std::vector<TANIMA_SONUCU> KuralKitaplariPuanla(const std::vector<KURALKITABI>& kitaplar) {
    std::vector<TANIMA_SONUCU> puanlar;
    puanlar.reserve(kitaplar.size());
    float** const km = ayr.km;
    const int kms = ayr.kms, kmn = ayr.kmn;
    for (const KURALKITABI& k : kitaplar) {
        ayr.kdbaslik = k.baslik;
        ayr.km = k.km;
        ayr.kms = k.baslik.s;
        ayr.kmn = k.baslik.n;
        TANIMA_SONUCU t;
        t.dosya = k.ad;
        std::memcpy(t.soz, k.baslik.soz, SOZ_BOYU);
        t.soz[SOZ_BOYU] = '\0';
        Yakala([&] { t.puan = OlasilikBul(); });
        puanlar.push_back(t);
    }
    ayr.km = km;
    ayr.kms = kms;
    ayr.kmn = kmn;
    return puanlar;
}

int EnYakinKitap(const std::vector<TANIMA_SONUCU>& puanlar) {
    float enyakin = 1000.0f;
    int kazanan = -1;
    for (size_t i = 0; i < puanlar.size(); i++) {
        if (puanlar[i].puan < enyakin) {
            enyakin = puanlar[i].puan;
            kazanan = static_cast<int>(i);
        }
    }
    return kazanan;
}

std::string SonucSozu(const TANIMA_SONUCU& t) { return Cp1254ten(std::string(t.soz, strnlen(t.soz, SOZ_BOYU))); }
