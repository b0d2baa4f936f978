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
            return std::string(a.adi) + " (" + a.ad + ") " + AralikMetni(a) + " olmalı (şimdi " +
                   std::to_string(deger) + ")";
    }
    if (b.p > b.m)
        return std::string(Ayar(AYAR_P).adi) + " (p=" + std::to_string(b.p) + ") " + Ayar(AYAR_M).adi + "'ni (m=" +
               std::to_string(b.m) + ") aşamaz";
    // A window longer than the recording length measures nothing; the
    // stream counts windows in int.
    if (b.kpensu > b.ksu * 1000)
        return std::string(Ayar(AYAR_KPENSU).adi) + " (kpensu) kayıt süresinden (" + std::to_string(b.ksu) +
               " s) uzun olamaz (şimdi " + std::to_string(b.kpensu) + " ms)";
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

std::string DizinIzi(const std::string& dizin) {
    std::string iz;
    std::error_code h;
    for (std::filesystem::directory_iterator i(dizin, h), son; !h && i != son; i.increment(h)) {
        const std::string ad = i->path().filename().string();
        if (!VlmDosyasi(ad)) continue;
        struct stat st;
        if (stat(i->path().c_str(), &st) != 0) continue;
        // A file replaced by another of the same size and modification time
        // (cp -p, touch -r) is another inode, or the same one changed.
        iz += ad + '\0' + std::to_string(st.st_size) + ':' + std::to_string(st.st_mtim.tv_sec) + '.' +
              std::to_string(st.st_mtim.tv_nsec) + ':' + std::to_string(st.st_dev) + ':' +
              std::to_string(st.st_ino) + ':' + std::to_string(st.st_ctim.tv_sec) + '.' +
              std::to_string(st.st_ctim.tv_nsec) + '\0';
    }
    if (h) iz = "?";
    return iz;
}

KITAP_KUMESI::KITAP_KUMESI(std::string dizin, const KURALDOSYABASLIK& akis, std::set<std::string> verilen)
    : dizin_(std::move(dizin)), akis_(akis), verilen_(std::move(verilen)) {}

void KITAP_KUMESI::GruplariBosalt() {
    analizler_.clear();
    grup_.clear();
    uyeler_.clear();
}

int KITAP_KUMESI::Tazele(std::string* mesaj) {
    // The fingerprint before the reading: a change during it is seen next time.
    const std::string iz = DizinIzi(dizin_);
    if (okundu_ && iz == iz_) return 0;
    std::vector<KURALKITABI> yeni;
    const bool tamam = KuralKitaplariOku(
        dizin_, [&](const KURALDOSYABASLIK& b) { return KitapAnalizi(b, akis_, verilen_); }, yeni, mesaj);
    if (!tamam) return -1;
    // A codebook whose own settings are out of range cannot have been made
    // by a stage, nor lend the stream its settings.
    for (auto k = yeni.begin(); k != yeni.end();) {
        const std::string sorun = AkisAyariSorunu(k->baslik);
        if (sorun.empty()) {
            ++k;
            continue;
        }
        *mesaj += UcbirimeCevir(Gorunur(dizin_ + "/" + k->ad) + ": " + sorun + "; atlandı.\n");
        k = yeni.erase(k);
    }
    GruplariBosalt();
    kitaplar_ = std::move(yeni);
    iz_ = iz;
    okundu_ = true;
    bool tur3 = false, tur12 = false;
    for (const KURALKITABI& k : kitaplar_) {
        size_t g = 0;
        while (g < analizler_.size() && !CozumlemeFarki(k.baslik, analizler_[g]).empty()) g++;
        if (g == analizler_.size()) {
            analizler_.push_back(KitapAnalizi(k.baslik, akis_, verilen_));
            uyeler_.emplace_back();
        }
        uyeler_[g].push_back(grup_.size());
        grup_.push_back(g);
        (k.baslik.tur == 3 ? tur3 : tur12) = true;
    }
    // Kind 3 weights its distances with a lifter and adds two sections, so
    // its scores run far above those of kinds 1 and 2: in one directory its
    // words would seldom win, which the user must hear about.
    if (tur3 && tur12)
        *mesaj += UcbirimeCevir(Gorunur(dizin_) +
                                ": uyarı: 3. tür kural dosyaları 1. ve 2. türlerle bir arada; 3. türün uzaklıkları "
                                "başka ölçekte olduğundan onun sözcükleri pek kazanamaz (bir dizinde tek tür "
                                "kullanın).\n");
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
        KuralKitaplariPuanla(kitaplar_, uyeler_[g], puanlar, soyleyis);
    }
}

DINLE_SONUCU KITAP_KUMESI::Tani(const int16_t* x, size_t n, const RED_KURALLARI& kurallar, std::string* mesaj,
                                std::vector<TANIMA_SONUCU>* hepsi) const {
    DINLE_SONUCU s;
    s.ikinci = std::numeric_limits<float>::infinity();
    // An entry never wins unless its group's analysis scores it.
    std::vector<TANIMA_SONUCU> puanlar;
    puanlar.reserve(kitaplar_.size());
    for (const KURALKITABI& k : kitaplar_) puanlar.push_back(KitapSonucu(k, PUAN_YOK));
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
