#include "tanir.h"

#include <sys/stat.h>

#include <filesystem>
#include <limits>
#include <optional>
#include <utility>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "guven.h"
#include "kodlama.h"
#include "lpc.h"
#include "matris.h"
#include "mesaj.h"
#include "tanima.h"
#include "uyum.h"
#include "velmo.h"

namespace {

// The settings of the stream's recording and analysis that an option can
// give; the others (channels, bits, codebook size) are the stream's own.
constexpr AYARNO AKIS_AYARLARI[] = {AYAR_OO,    AYAR_KSU,   AYAR_KPENSU, AYAR_YEE, AYAR_AEE, AYAR_BSGE,
                                    AYAR_TUR,   AYAR_PENSU, AYAR_ADMSU,  AYAR_M,   AYAR_N,   AYAR_P};

}  // namespace

std::string AkisAyariSorunu(const KURALDOSYABASLIK& b) {
    for (AYARNO no : AKIS_AYARLARI) {
        const AYARTANIMI& a = Ayar(no);
        const int deger = b.*a.baslikAlani;
        if (!Aralikta(a, deger))
            return Bicimle(Ceviri("%s (%s) %s olmalı (şimdi %d)"), Ceviri(a.adi), a.ad, AralikMetni(a).c_str(), deger);
    }
    if (b.p > b.m)
        return Bicimle(Ceviri("%s (p=%d) %s'ni (m=%d) aşamaz"), Ceviri(Ayar(AYAR_P).adi), b.p, Ceviri(Ayar(AYAR_M).adi),
                       b.m);
    // A window longer than the recording length measures nothing; the
    // stream counts windows in int.
    if (b.kpensu > b.ksu * 1000)
        return Bicimle(Ceviri("%s (kpensu) kayıt süresinden (%d s) uzun olamaz (şimdi %d ms)"),
                       Ceviri(Ayar(AYAR_KPENSU).adi), b.ksu, b.kpensu);
    return std::string();
}

bool IlkKitapAyari(const std::string& dizin, KURALDOSYABASLIK* baslik) {
    for (const std::string& ad : DizinDosyalari(dizin.c_str())) {
        if (!VlmDosyasi(ad)) continue;
        const std::string yol = dizin + "/" + ad;
        MATRIS km;
        int sonuc = KDOKU_GECERSIZ;
        Yakala([&] { sonuc = KuralDosyasiOku(yol.c_str(), baslik, &km); });
        if (sonuc == KDOKU_TAMAM && AkisAyariSorunu(*baslik).empty()) return true;
    }
    return false;
}

void KitapAyariniAl(const KURALDOSYABASLIK& kitap, const std::set<std::string>& verilen, KURALDOSYABASLIK& ayar) {
    for (AYARNO no : AKIS_AYARLARI) {
        const AYARTANIMI& a = Ayar(no);
        if (verilen.count(a.ad) == 0) ayar.*a.baslikAlani = kitap.*a.baslikAlani;
    }
}

KURALDOSYABASLIK KitapAnalizi(const KURALDOSYABASLIK& kitap, const KURALDOSYABASLIK& akis,
                              const std::set<std::string>& verilen) {
    KURALDOSYABASLIK a = akis;
    KitapAyariniAl(kitap, verilen, a);
    // The samples are the stream's whatever the codebook says.
    a.oo = akis.oo;
    a.ks = 1;
    a.oc = 16;
    // The stream finds the ends itself, so the kind's own end-point rule
    // never applies: each codebook is scored as its kind scores.
    a.tur = kitap.tur;
    return a;
}

KITAP_KUMESI::KITAP_KUMESI(std::string dizin, const KURALDOSYABASLIK& akis, std::set<std::string> verilen)
    : akis_(akis),
      verilen_(std::move(verilen)),
      dizin_(std::move(dizin), [this](const std::string& yol, const KURALKITABI& k) { return Uygun(yol, k); }) {}

bool KITAP_KUMESI::Uygun(const std::string& yol, const KURALKITABI& k) const {
    if (!CozumlemeyeUygun(yol.c_str(), k.baslik, KitapAnalizi(k.baslik, akis_, verilen_))) return false;
    // A codebook whose own settings are out of range cannot have been made
    // by a stage, nor lend the stream its settings.
    const std::string sorun = AkisAyariSorunu(k.baslik);
    if (sorun.empty()) return true;
    Yaz("%s: %s; atlandı.\n", Gorunur(yol).c_str(), sorun.c_str());
    return false;
}

int KITAP_KUMESI::Tazele(std::string* mesaj) {
    const int sonuc = dizin_.Tazele();
    if (sonuc < 0) *mesaj += UcbirimeCevir(Bicimle(Ceviri("%s: dizin okunamıyor.\n"), Gorunur(dizin_.Dizin()).c_str()));
    if (sonuc != 1) return sonuc;
    *mesaj += UcbirimeCevir(dizin_.Mesajlar());
    analizler_.clear();
    grup_.clear();
    uyeler_.clear();
    for (const KURALKITABI& k : dizin_.Kitaplar()) {
        size_t g = 0;
        while (g < analizler_.size() && !CozumlemeFarki(k.baslik, analizler_[g]).empty()) g++;
        if (g == analizler_.size()) {
            analizler_.push_back(KitapAnalizi(k.baslik, akis_, verilen_));
            uyeler_.emplace_back();
        }
        uyeler_[g].push_back(grup_.size());
        grup_.push_back(g);
    }
    return 1;
}

void KITAP_KUMESI::Puanla(const int16_t* x, size_t n, std::vector<TANIMA_SONUCU>& puanlar) const {
    if (n == 0 || n > static_cast<size_t>(std::numeric_limits<int>::max()) / sizeof(int16_t)) return;
    // The utterance is all speech: every group analyses the whole of it.
    const int boyut = static_cast<int>(n);
    for (size_t g = 0; g < analizler_.size(); g++) {
        const std::optional<COZUMLEME> oz = LpcCozumle(x, boyut, 0, boyut, analizler_[g]);
        if (!oz) continue;
        SOYLEYIS soyleyis(x, boyut, analizler_[g]);
        soyleyis.CozumlemeKoy(*oz);
        KuralKitaplariPuanla(dizin_.Kitaplar(), uyeler_[g], puanlar, soyleyis);
    }
}

DINLE_SONUCU KITAP_KUMESI::Tani(const int16_t* x, size_t n, const RED_KURALLARI& kurallar, std::string* mesaj,
                                std::vector<TANIMA_SONUCU>* hepsi) const {
    DINLE_SONUCU s;
    s.ikinci = std::numeric_limits<float>::infinity();
    // An entry never wins unless its group's analysis scores it.
    std::vector<TANIMA_SONUCU> puanlar;
    puanlar.reserve(dizin_.Kitaplar().size());
    for (const KURALKITABI& k : dizin_.Kitaplar()) puanlar.push_back(KitapSonucu(k, PUAN_YOK));
    *mesaj += Yakala([&] { Puanla(x, n, puanlar); });
    if (hepsi != nullptr) *hepsi = puanlar;

    const int k = EnYakinKitap(puanlar, true);
    if (k < 0) return s;
    const TANIMA_SONUCU& en = puanlar[static_cast<size_t>(k)];
    s.kazananVar = true;
    s.soz = SonucSozu(en);
    s.dosya = en.dosya;
    s.puan = en.puan;
    s.ikinci = BaskaSozunEnIyisi(puanlar, k);
    s.guven = SonucGuveni(en);
    if (kurallar.esik > 0 && static_cast<double>(s.puan) > kurallar.esik) s.reddedildi = true;
    if (OranlaReddedilir(s.puan, s.ikinci, kurallar.red)) s.reddedildi = true;
    if (kurallar.hassasiyet >= 0 && (!kurallar.yalnizKalibrasyonlu || en.kal.Var()) &&
        GuvenleReddedilir(s.guven, kurallar.hassasiyet))
        s.reddedildi = true;
    return s;
}
