#include "tanir.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

#include "bellek.h"
#include "dosya.h"
#include "mesaj.h"
#include "lpc.h"
#include "sifirlama.h"
#include "tanima.h"
#include "velmo.h"

bool IlkKitapAyari(const std::string& dizin, KURALDOSYABASLIK* baslik) {
    for (const std::string& ad : DizinDosyalari(dizin.c_str())) {
        if (!VlmDosyasi(ad)) continue;
        const std::string yol = dizin + "/" + ad;
        float** km = nullptr;
        int sonuc = KDOKU_GECERSIZ;
        Yakala([&] { sonuc = KuralDosyasiOku(yol.c_str(), baslik, &km); });
        Free2B(km);
        if (sonuc == KDOKU_TAMAM) return true;
    }
    return false;
}

void KitapAyariniAl(const KURALDOSYABASLIK& kitap, const std::set<std::string>& verilen, KURALDOSYABASLIK& ayar) {
    auto al = [&](const char* ad, int KURALDOSYABASLIK::*alan) {
        if (verilen.count(ad) == 0) ayar.*alan = kitap.*alan;
    };
    al("oo", &KURALDOSYABASLIK::oo);
    al("ksu", &KURALDOSYABASLIK::ksu);
    al("kpensu", &KURALDOSYABASLIK::kpensu);
    al("yee", &KURALDOSYABASLIK::yee);
    al("aee", &KURALDOSYABASLIK::aee);
    al("bsge", &KURALDOSYABASLIK::bsge);
    al("pensu", &KURALDOSYABASLIK::pensu);
    al("admsu", &KURALDOSYABASLIK::admsu);
    al("m", &KURALDOSYABASLIK::m);
    al("n", &KURALDOSYABASLIK::n);
    al("p", &KURALDOSYABASLIK::p);
    ayar.ks = kitap.ks;
    ayar.oc = kitap.oc;
}

std::string DizinIzi(const std::string& dizin) {
    std::string iz;
    std::error_code h;
    for (std::filesystem::directory_iterator i(dizin, h), son; !h && i != son; i.increment(h)) {
        const std::string ad = i->path().filename().string();
        if (!VlmDosyasi(ad)) continue;
        struct stat st;
        if (stat(i->path().c_str(), &st) != 0) continue;
        iz += ad + '\0' + std::to_string(st.st_size) + ':' + std::to_string(st.st_mtim.tv_sec) + '.' +
              std::to_string(st.st_mtim.tv_nsec) + '\0';
    }
    if (h) iz = "?";
    return iz;
}

DINLE_SONUCU SozceTani(const int16_t* x, size_t n, const std::vector<KURALKITABI>& kitaplar,
                       const KURALDOSYABASLIK& analiz, double esik, double red, std::string* mesaj) {
    DINLE_SONUCU s;
    s.ikinci = std::numeric_limits<float>::infinity();
    const KURALDOSYABASLIK onceki = ayr.kdbaslik;
    const size_t bayt = n * sizeof(int16_t);
    std::vector<TANIMA_SONUCU> puanlar;
    *mesaj += Yakala([&] {
        Sifirla(1);
        Sifirla(5);
        if (bayt == 0 || bayt > static_cast<size_t>(std::numeric_limits<int>::max())) return;
        // The utterance as a recording that is all speech.
        char* tampon = static_cast<char*>(std::malloc(bayt));
        if (tampon == nullptr) {
            Yaz("Ses kaydı için bellek ayrılamıyor.\n");
            return;
        }
        std::memcpy(tampon, x, bayt);
        ayr.kyt = tampon;
        ayr.kytu = static_cast<int>(bayt);
        ayr.bsl = tampon;
        ayr.uzn = static_cast<int>(bayt);
        ayr.kdbaslik = analiz;
        if (LPC_Cozumle(false) != 0) return;
        puanlar = KuralKitaplariPuanla(kitaplar);
    });
    Sifirla(1);
    Sifirla(5);
    ayr.kdbaslik = onceki;

    const int k = EnYakinKitap(puanlar);
    if (k < 0) return s;
    const TANIMA_SONUCU& en = puanlar[static_cast<size_t>(k)];
    s.kazananVar = true;
    s.soz = SonucSozu(en);
    s.dosya = en.dosya;
    s.puan = en.puan;
    for (const TANIMA_SONUCU& p : puanlar)
        if (SonucSozu(p) != s.soz && p.puan < s.ikinci) s.ikinci = p.puan;
    if (esik > 0 && static_cast<double>(s.puan) > esik) s.reddedildi = true;
    if (red > 0 && std::isfinite(s.ikinci) && !(static_cast<double>(s.puan) < red * static_cast<double>(s.ikinci)))
        s.reddedildi = true;
    return s;
}
