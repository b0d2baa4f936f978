// The recognition screen.
#include "tanima.h"

#include <strings.h>

#include <cstring>

#include "bellek.h"
#include "dosya.h"
#include "ekran.h"
#include "kayit.h"
#include "konsol.h"
#include "lpc.h"
#include "menu.h"
#include "sifirlama.h"
#include "sinir.h"
#include "vq1.h"

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
        Yaz("%s\t\t", SozGoster(t.soz, 0).c_str());
        t.puan = OlasilikBul();
        if (t.puan < enIyi->puan) *enIyi = t;
        if (hepsi != nullptr) hepsi->push_back(t);
    }
}

void KonusTanisin() {
    Temizle();
    for (;;) {
        gotoxy(10, 2);
        Yaz("KONUS TANISIN");
        Secenek(45, 4, -1, "herhangi bir tusa bas ve konus");
        gotoxy(10, 6);
        Yaz("Sozcuk.......................:");
        gotoxy(10, 7);
        Yaz("1/Olasilik...................:");
        gotoxy(10, 8);
        Yaz("Dosya Adi....................:");
        Secenek(10, 11, 4, "Kapat");
        KomSat(1, 15);
        KomSat(1, 15);
        GirdiAt();
        const int c = getche();
        KomSat(1, 15);
        if (c == 't' || c == KONSOL_SON) {
            // Leaving: the codebook in memory belongs to no file any more, and
            // the search pattern is no file name to save under.
            ayr.kdbayrak = 0;
            std::strcpy(ayr.kdad, nul);
            return;
        }
        TANIMA_SONUCU enIyi;
        enIyi.puan = 1000.0f;
        enIyi.soz[0] = '\0';
        Sifirla(1);
        const int ksu = ayr.kdbaslik.ksu;
        ayr.kdbaslik.ksu = 2;
        const int kayit = Kaydet();
        ayr.kdbaslik.ksu = ksu;
        if (kayit == 0) {
            UcNoktalar();
            Sifirla(5);
            const int nAnaliz = ayr.kdbaslik.n;
            if (LPC() == 0) KuralDosyalariniTara(ayr.yol, nAnaliz, &enIyi, nullptr);
        }
        gotoxy(41, 6);
        clreol();
        textcolor(14);
        Yaz("%s", SozGoster(enIyi.soz, 0).c_str());
        textcolor(15);
        gotoxy(41, 7);
        clreol();
        Yaz("%f", static_cast<double>(enIyi.puan));
        gotoxy(41, 8);
        clreol();
        Yaz("%s", enIyi.dosya.c_str());
    }
}
