#include "tanir.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <tuple>

#include "cikti.h"
#include "kodlama.h"
#include "lpc.h"
#include "sifirlama.h"
#include "tanima.h"
#include "velmo.h"

namespace {

// The header fields the analysis reads.
auto CozumlemeAnahtari(const KURALDOSYABASLIK& b) {
    return std::make_tuple(b.oo, b.ks, b.oc, b.pensu, b.admsu, b.m, b.n, b.p);
}

}  // namespace

bool DinleKitaplariOku(const std::string& dizin, int oo, std::vector<KURALKITABI>& kitaplar, std::string* mesaj) {
    if (!KuralKitaplariOku(dizin, 99, kitaplar, mesaj)) return false;
    std::vector<KURALKITABI> uygun;
    for (KURALKITABI& k : kitaplar) {
        if (k.baslik.oo == oo) {
            uygun.push_back(k);
            continue;
        }
        *mesaj += UcbirimeCevir(dizin + "/" + k.ad + ": " + std::to_string(k.baslik.oo) + " Hz için yapılmış, ses " +
                               std::to_string(oo) + " Hz; atlandı.\n");
        std::vector<KURALKITABI> tek{k};
        KuralKitaplariBirak(tek);
    }
    kitaplar.swap(uygun);
    return true;
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

DINLE_SONUCU SozceTani(const int16_t* x, size_t n, const std::vector<KURALKITABI>& kitaplar, double esik, double red,
                       std::string* mesaj) {
    DINLE_SONUCU s;
    std::vector<TANIMA_SONUCU> puanlar(kitaplar.size());
    std::vector<bool> yapildi(kitaplar.size(), false);
    const KURALDOSYABASLIK onceki = ayr.kdbaslik;
    const size_t bayt = n * sizeof(int16_t);
    for (size_t i = 0; i < kitaplar.size(); i++) {
        if (yapildi[i]) continue;
        // Every codebook analysed with the same settings as this one.
        std::vector<size_t> grup;
        std::vector<KURALKITABI> grupKitap;
        for (size_t j = i; j < kitaplar.size(); j++) {
            if (!yapildi[j] && CozumlemeAnahtari(kitaplar[j].baslik) == CozumlemeAnahtari(kitaplar[i].baslik)) {
                grup.push_back(j);
                grupKitap.push_back(kitaplar[j]);
                yapildi[j] = true;
            }
        }
        std::vector<TANIMA_SONUCU> gp;
        *mesaj += Yakala([&] {
            Sifirla(1);
            Sifirla(5);
            if (bayt == 0 || bayt > static_cast<size_t>(std::numeric_limits<int>::max())) return;
            char* tampon = static_cast<char*>(std::malloc(bayt));
            if (tampon == nullptr) return;
            std::memcpy(tampon, x, bayt);
            ayr.kyt = tampon;
            ayr.kytu = static_cast<int>(bayt);
            ayr.bsl = tampon;
            ayr.uzn = static_cast<int>(bayt);
            ayr.kdbaslik = kitaplar[i].baslik;
            if (LPC_Cozumle(false) != 0) return;
            gp = KuralKitaplariPuanla(grupKitap);
        });
        for (size_t k = 0; k < grup.size(); k++) {
            TANIMA_SONUCU& t = puanlar[grup[k]];
            if (k < gp.size()) {
                t = gp[k];
            } else {  // the analysis failed: this codebook cannot win
                t.dosya = kitaplar[grup[k]].ad;
                std::memcpy(t.soz, kitaplar[grup[k]].baslik.soz, SOZ_BOYU);
                t.soz[SOZ_BOYU] = '\0';
                t.puan = std::numeric_limits<float>::infinity();
            }
        }
    }
    Sifirla(1);
    Sifirla(5);
    ayr.kdbaslik = onceki;

    const int k = EnYakinKitap(puanlar);
    s.ikinci = std::numeric_limits<float>::infinity();
    if (k < 0) return s;
    const TANIMA_SONUCU& en = puanlar[static_cast<size_t>(k)];
    s.kazananVar = true;
    s.soz = Utf8Onar(SonucSozu(en));
    s.dosya = en.dosya;
    s.puan = en.puan;
    const std::string soz = SonucSozu(en);
    for (const TANIMA_SONUCU& p : puanlar)
        if (SonucSozu(p) != soz && p.puan < s.ikinci) s.ikinci = p.puan;
    if (esik > 0 && static_cast<double>(s.puan) > esik) s.reddedildi = true;
    if (red > 0 && std::isfinite(s.ikinci) && !(static_cast<double>(s.puan) < red * static_cast<double>(s.ikinci)))
        s.reddedildi = true;
    return s;
}
