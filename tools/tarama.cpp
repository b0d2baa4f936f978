#include "tarama.h"

#include <sys/stat.h>

#include <cstring>

#include "bellek.h"
#include "cikti.h"
#include "dosya.h"
#include "ekran.h"
#include "kodlama.h"
#include "konsol.h"
#include "vq1.h"

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
