// The recognition scan: directory listing, reading and validating the
// codebook files, scoring them against the current analysis.
#include "tarama.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <numeric>

#include "bellek.h"
#include "dosya.h"
#include "guven.h"
#include "kural_dizini.h"
#include "kodlama.h"
#include "mesaj.h"
#include "lpc.h"
#include "sinir.h"
#include "uyum.h"
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

namespace {

// The group of kinds that share one analysis: kinds 1 and 2 the fixed
// thresholds' end points, kind 3 its learnt ones.
int Grup(int tur) { return tur == 3 ? 1 : 0; }

}  // namespace

KURALDOSYABASLIK TurIcin(const KURALDOSYABASLIK& analiz, const KURALDOSYABASLIK& kitap) {
    KURALDOSYABASLIK a = analiz;
    if (kitap.tur >= 1 && kitap.tur <= 3) a.tur = kitap.tur;
    // Kind 3 has its own LPC order (TurunLpcDerecesi): its codebooks are
    // scored against frames of their own order.
    if (kitap.tur == 3) a.p = kitap.p;
    return a;
}

SOYLEYIS::SOYLEYIS(const short* x, int boyut, const KURALDOSYABASLIK& analiz)
    : x_(x), boyut_(boyut), analiz_(analiz) {}

void SOYLEYIS::CozumlemeKoy(const COZUMLEME& c) { odunc_[{Grup(analiz_.tur), analiz_.p}] = &c; }

std::pair<KURALDOSYABASLIK, SOYLEYIS::ANAHTAR> SOYLEYIS::Anahtar(const KURALDOSYABASLIK& kitap) const {
    // A kind outside 1..3 is analysed as the utterance's own.
    KURALDOSYABASLIK k = kitap;
    if (k.tur < 1 || k.tur > 3) k.tur = analiz_.tur;
    const KURALDOSYABASLIK a = TurIcin(analiz_, k);
    return {a, ANAHTAR{Grup(a.tur), a.p}};
}

bool SOYLEYIS::KendiCozumlemesi(const KURALDOSYABASLIK& kitap) const {
    return Anahtar(kitap).second == ANAHTAR{Grup(analiz_.tur), analiz_.p};
}

const COZUMLEME& SOYLEYIS::Cozumleme(const KURALDOSYABASLIK& kitap) {
    const auto [a, anahtar] = Anahtar(kitap);
    if (auto o = odunc_.find(anahtar); o != odunc_.end()) return *o->second;
    auto [c, yeni] = yapilan_.try_emplace(anahtar);
    if (yeni) {
        const UC_NOKTALAR u = KonusmaBul(x_, boyut_, a);
        KonusmaYokBildir(u);
        if (u.bulundu) {
            std::optional<COZUMLEME> z = LpcCozumle(x_, boyut_, u.bas, u.uzunluk, a);
            if (z) c->second = std::move(*z);
        }
    }
    return c->second;
}

float TurunePuan(const KURALDOSYABASLIK& baslik, const MATRIS& km, SOYLEYIS& soyleyis) {
    return Puanla(soyleyis.Cozumleme(baslik), baslik, km);
}

bool CozumlemeyeUygun(const char* yol, const KURALDOSYABASLIK& baslik, const KURALDOSYABASLIK& analiz) {
    const std::string fark = CozumlemeFarki(baslik, TurIcin(analiz, baslik));
    if (fark.empty()) return true;
    Yaz("%s: çözümleme ayarı farklı (%s); atlandı.\n", Gorunur(yol).c_str(), fark.c_str());
    return false;
}

void KuralDosyalariniTara(const char* dizin, SOYLEYIS& soyleyis, TANIMA_SONUCU* enIyi,
                          std::vector<TANIMA_SONUCU>* hepsi, const TARAMA_DINLEYICISI& dinleyici) {
    KURAL_DIZINI d = CozumlemeDizini(dizin, soyleyis.Analiz());
    d.Tazele();
    d.Tara(soyleyis, enIyi, hepsi, dinleyici);
}

bool KuralKitaplariOku(const std::string& dizin, const KURALDOSYABASLIK& analiz, std::vector<KURALKITABI>& kitaplar,
                       std::string* mesaj) {
    return KuralKitaplariOku(
        dizin, [&](const KURALDOSYABASLIK&) { return analiz; }, kitaplar, mesaj);
}

bool KuralKitaplariOku(const std::string& dizin,
                       const std::function<KURALDOSYABASLIK(const KURALDOSYABASLIK&)>& analiz,
                       std::vector<KURALKITABI>& kitaplar, std::string* mesaj) {
    kitaplar.clear();
    KURAL_DIZINI d(dizin, [&](const std::string& yol, const KURALKITABI& k) {
        return CozumlemeyeUygun(yol.c_str(), k.baslik, analiz(k.baslik));
    });
    if (d.Tazele() < 0) {
        *mesaj += UcbirimeCevir(Gorunur(dizin) + ": dizin okunamıyor.\n");
        return false;
    }
    *mesaj += UcbirimeCevir(d.Mesajlar());
    kitaplar = d.KitaplariBirak();
    return true;
}

TANIMA_SONUCU KitapSonucu(const KURALKITABI& k, float puan) {
    TANIMA_SONUCU t;
    t.dosya = k.ad;
    std::memcpy(t.soz, k.baslik.soz, SOZ_BOYU);
    t.soz[SOZ_BOYU] = '\0';
    t.puan = puan;
    t.tur = k.baslik.tur;
    t.kal = k.kal;
    return t;
}

bool DahaIyi(const TANIMA_SONUCU& a, const TANIMA_SONUCU& b, bool akis) {
    if (a.tur == b.tur) return a.puan < b.puan;
    return static_cast<double>(a.puan) / TurOlcegi(a.tur, akis) <
           static_cast<double>(b.puan) / TurOlcegi(b.tur, akis);
}

double SonucGuveni(const TANIMA_SONUCU& t) { return Guven(t.puan, t.tur, t.kal); }

void KuralKitaplariPuanla(const std::vector<KURALKITABI>& kitaplar, const std::vector<size_t>& secilen,
                          std::vector<TANIMA_SONUCU>& puanlar, SOYLEYIS& soyleyis) {
    for (size_t i : secilen) {
        const KURALKITABI& k = kitaplar[i];
        float puan = PUAN_YOK;
        Yakala([&] { puan = TurunePuan(k.baslik, k.km, soyleyis); });
        puanlar[i] = KitapSonucu(k, puan);
    }
}

std::vector<TANIMA_SONUCU> KuralKitaplariPuanla(const std::vector<KURALKITABI>& kitaplar, SOYLEYIS& soyleyis) {
    std::vector<TANIMA_SONUCU> puanlar(kitaplar.size());
    std::vector<size_t> hepsi(kitaplar.size());
    std::iota(hepsi.begin(), hepsi.end(), size_t{0});
    KuralKitaplariPuanla(kitaplar, hepsi, puanlar, soyleyis);
    return puanlar;
}

int EnYakinKitap(const std::vector<TANIMA_SONUCU>& puanlar, bool akis) {
    int kazanan = -1;
    for (size_t i = 0; i < puanlar.size(); i++) {
        if (!(puanlar[i].puan < PUAN_YOK)) continue;
        if (kazanan < 0 || DahaIyi(puanlar[i], puanlar[static_cast<size_t>(kazanan)], akis))
            kazanan = static_cast<int>(i);
    }
    return kazanan;
}

float BaskaSozunEnIyisi(const std::vector<TANIMA_SONUCU>& puanlar, int kazanan) {
    float ikinci = std::numeric_limits<float>::infinity();
    if (kazanan < 0 || static_cast<size_t>(kazanan) >= puanlar.size()) return ikinci;
    const std::string soz = SonucSozu(puanlar[static_cast<size_t>(kazanan)]);
    for (const TANIMA_SONUCU& p : puanlar)
        if (SonucSozu(p) != soz && p.puan < ikinci) ikinci = p.puan;
    return ikinci;
}

bool OranlaReddedilir(float puan, float ikinci, double red) {
    return red > 0 && std::isfinite(ikinci) && !(static_cast<double>(puan) < red * static_cast<double>(ikinci));
}

std::string SonucSozu(const TANIMA_SONUCU& t) { return Cp1254ten(std::string(t.soz, strnlen(t.soz, SOZ_BOYU))); }
