#include "toplu.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "cikti.h"
#include "dosya.h"
#include "guven.h"
#include "havuz.h"
#include "kalibrasyon.h"
#include "kodlama.h"
#include "konsol.h"
#include "vq1.h"

namespace {

bool DosyaVar(const std::string& ad) {
    struct stat st;
    return lstat(ad.c_str(), &st) == 0;
}

// What training can be asked for at all: a name that fits the screens' path
// buffer, a file that may be written, a dump directory that exists.
bool EgitimIstegiGecerli(const EGITIMAYARI& e) {
    if (e.cikti.empty() || e.cikti.size() >= KDAD_BOYU) {
        Hata("Kural dosyası adı boş ya da çok uzun (en çok %d bayt).\n", KDAD_BOYU - 1);
        return false;
    }
    if (!e.uzerine && DosyaVar(e.cikti)) {
        Hata("%s zaten var; üzerine yazmak için --uzerine verin.\n", e.cikti.c_str());
        return false;
    }
    if (!e.dokum.empty()) {
        struct stat st;
        if (stat(e.dokum.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
            Hata("%s: döküm dizini yok.\n", e.dokum.c_str());
            return false;
        }
    }
    return true;
}

// How the takes went, and the codebook they made (empty until one trained).
struct EGITIM {
    int egitilen = 0, basarisiz = 0;
    MATRIS km;
    KALIBRASYON kal;
};

// One take as the new-word menu runs it: "konus" (the file for the
// microphone), then "egit": a new codebook for the first take that trains,
// the codebook of the earlier takes refined for the others. A take that
// fails leaves `km` and its calibration `kal` as they were.
bool SiraliAlim(const std::vector<short>& x, const EGITIMAYARI& e, MATRIS& km, KALIBRASYON& kal) {
    const KURALDOSYABASLIK& b = e.ayar.kdbaslik;
    MATRIS yeni;
    KALIBRASYON yeniKal;
    KonsolHamYaz(Yakala([&] {
        const UC_NOKTALAR u = UcNoktalariBul(x, b, e.dokum);
        const std::optional<COZUMLEME> oz = KonusmayiCozumle(x, u, b, e.dokum);
        if (!oz) return;
        yeniKal = kal;
        yeni = SiraliAlimEgit(e.ayar, *oz, b, km.Bos() ? nullptr : &km, yeniKal);
        if (!yeni.Bos()) PuanSatiri(*oz, b, yeni);
    }));
    if (yeni.Bos()) return false;
    km = std::move(yeni);
    kal = yeniKal;
    return true;
}

// Names the take on standard output and reads it as a recording.
bool AlimOku(const std::string& g, const EGITIMAYARI& e, std::vector<short>& x) {
    Cikti("== %s ==\n", g.c_str());
    return SesDosyasiOku(g, e.ayar.kdbaslik.oo, e.ayar.kdbaslik.ksu, e.ses, x) == 0;
}

// Takes one after another, as the menus train them.
void SiraliEgit(const std::vector<std::string>& girdiler, const EGITIMAYARI& e, EGITIM& eg) {
    int egitilemeyen = 0;
    for (const std::string& g : girdiler) {
        std::vector<short> x;
        if (!AlimOku(g, e, x)) {
            eg.basarisiz++;
        } else if (SiraliAlim(x, e, eg.km, eg.kal)) {
            eg.egitilen++;
        } else {
            Hata("%s: eğitim başarısız; bu kayıt atlandı.\n", g.c_str());
            eg.basarisiz++;
            egitilemeyen++;
        }
    }
    // A take trains when it has enough frames for the codewords: what can be
    // changed, once.
    if (egitilemeyen > 0)
        Hata("Eğitilemeyen kayıtlar için: sözcüğü daha uzun söyleyen kayıtlar verin ya da daha az kural yöneyi "
             "(--s, şimdi %d) ya da daha küçük --eabs (şimdi %d) deneyin.\n",
             e.ayar.kdbaslik.s, e.ayar.eabs);
}

// The takes' vectors pooled (havuz.h), each take's messages as it is read.
bool AlimiHavuzaEkle(const std::vector<short>& x, const EGITIMAYARI& e, HAVUZ& h) {
    bool tamam = false;
    KonsolHamYaz(Yakala([&] { tamam = HavuzaEkle(x, e.ayar.kdbaslik, e.dokum, h); }));
    // Kind 3's score line is the last take's: none when that had no speech.
    if (!tamam) h.sonAlimYok = true;
    return tamam;
}

// One new codebook from the pool and, for kind 3, its calibration.
MATRIS HavuzdanEgit(const HAVUZ& h, const EGITIMAYARI& e, KALIBRASYON& kal) {
    if (h.kesitli) Cikti("== havuz: %d kayıt, %d + %d yöney ==\n", h.alimSayisi, h.r1, h.r2);
    else Cikti("== havuz: %d kayıt, %d yöney ==\n", h.alimSayisi, h.r);
    MATRIS km;
    KonsolHamYaz(Yakala([&] {
        km = HavuzuEgit(h, e.ayar);
        if (!km.Bos()) kal = HavuzunKalibrasyonu(h, e.ayar, km);
    }));
    return km;
}

// Every take's vectors into one pool, then one new codebook from them.
void HavuzluEgit(const std::vector<std::string>& girdiler, const EGITIMAYARI& e, EGITIM& eg) {
    HAVUZ h;
    h.kesitli = e.ayar.kdbaslik.tur == 3;
    for (const std::string& g : girdiler) {
        std::vector<short> x;
        if (!AlimOku(g, e, x)) {
            eg.basarisiz++;
        } else if (AlimiHavuzaEkle(x, e, h)) {
            eg.egitilen++;
        } else {
            Hata("%s: çözümlenecek konuşma yok; bu kayıt atlandı.\n", g.c_str());
            eg.basarisiz++;
        }
    }
    if (h.r == 0) return;
    eg.km = HavuzdanEgit(h, e, eg.kal);
    if (eg.km.Bos())
        Hata("Havuzdaki yöneylerle eğitim başarısız; daha çok kayıt verin ya da daha az kural yöneyi (--s, şimdi "
             "%d) isteyin.\n",
             e.ayar.kdbaslik.s);
}

// Saves the trained codebook and its report under e.cikti.
int EgitilmisiKaydet(const EGITIMAYARI& e, const EGITIM& eg) {
    const KURALDOSYABASLIK& b = e.ayar.kdbaslik;
    // Without --uzerine the name is taken only if it is still free when the
    // file is complete: of two runs on one name, one fails and says so.
    int kayit = 1;
    HataHam(Yakala([&] { kayit = KuralDosyasiVeRaporYaz(e.cikti, b, eg.km, e.uzerine, eg.kal); }));
    if (kayit != 0) return 1;
    static const char* const turler[] = {"LPC", "DeltaLPC", "kesitli LPC"};
    Cikti("%s yazıldı (tür %d, %s): %d kayıt eğitildi, %d kayıt başarısız.\n", e.cikti.c_str(), b.tur,
          b.tur >= 1 && b.tur <= 3 ? Ceviri(turler[b.tur - 1]) : "?", eg.egitilen, eg.basarisiz);
    return eg.basarisiz == 0 ? 0 : 1;
}

}  // namespace

int TopluEgit(const std::vector<std::string>& tumu, const EGITIMAYARI& e) {
    if (!EgitimIstegiGecerli(e)) return 1;
    // A take with no sound (left empty by a killed save) is no failure of
    // training: it is named, skipped, and the others train.
    std::vector<std::string> girdiler;
    for (const std::string& g : tumu) {
        if (BosSesDosyasi(g)) Hata("%s: boş kayıt (içinde ses yok); atlandı.\n", Gorunur(g).c_str());
        else girdiler.push_back(g);
    }
    EGITIM eg;
    if (e.havuz) HavuzluEgit(girdiler, e, eg);
    else SiraliEgit(girdiler, e, eg);
    if (eg.km.Bos()) {
        Hata("Hiçbir kayıtla eğitilemedi; %s yazılmadı.\n", e.cikti.c_str());
        return 1;
    }
    return EgitilmisiKaydet(e, eg);
}

TANIMA TekTani(const std::string& girdi, const KURAL_DIZINI* dizin, const std::vector<KURALKITABI>* kitaplar,
               const KURALDOSYABASLIK& komut, const SESAYARI& ses, const std::string& dokum, double red,
               double hassasiyet, std::string* mesaj) {
    TANIMA t;
    std::vector<short> x;
    if (SesDosyasiOku(girdi, komut.oo, TANIMA_SURESI, ses, x) != 0) return t;
    t.okundu = true;
    const std::vector<KURALKITABI>& hepsi = dizin != nullptr ? dizin->Kitaplar() : *kitaplar;
    SOYLEYIS soyleyis(x.data(), static_cast<int>(x.size()), komut);
    const bool kendisi = !dokum.empty() || std::any_of(hepsi.begin(), hepsi.end(), [&](const KURALKITABI& k) {
                             return soyleyis.KendiCozumlemesi(k.baslik);
                         });
    // The screen: record 2 s, end points, analyse once with the settings in
    // force, scan. An analysis no codebook is scored against is not made: its
    // end points and settings are only asked for what the screen would say
    // of them, which is nothing when the energy alone shows speech and the
    // whole recording could be analysed.
    std::optional<COZUMLEME> oz;
    const int n = static_cast<int>(x.size());
    if (!kendisi) {
        bool sessiz = false;
        const std::string m = Yakala([&] { sessiz = KonusmaKesin(x.data(), n, komut) && CozumlemeAlinir(n, komut); });
        if (sessiz && m.empty()) oz.emplace();
    }
    if (!oz)
        *mesaj += Yakala([&] {
            const UC_NOKTALAR u = UcNoktalariBul(x, komut, dokum);
            if (kendisi) oz = KonusmayiCozumle(x, u, komut, dokum);
            else if (CozumlemeAlinir(u.bulundu ? u.uzunluk : 0, komut)) oz.emplace();
        });
    if (!oz) return t;
    if (kendisi) soyleyis.CozumlemeKoy(*oz);
    if (dizin != nullptr) {
        TANIMA_SONUCU enIyi;
        *mesaj += Yakala([&] { dizin->Tara(soyleyis, &enIyi, &t.puanlar); });
    } else {
        t.puanlar = KuralKitaplariPuanla(*kitaplar, soyleyis);
    }
    t.kazanan = EnYakinKitap(t.puanlar);
    if (t.kazanan < 0) return t;
    const TANIMA_SONUCU& en = t.puanlar[static_cast<size_t>(t.kazanan)];
    t.enyakin = en.puan;
    t.guven = SonucGuveni(en);
    if (red > 0) t.reddedildi = OranlaReddedilir(t.enyakin, BaskaSozunEnIyisi(t.puanlar, t.kazanan), red);
    if (hassasiyet >= 0 && GuvenleReddedilir(t.guven, hassasiyet)) t.reddedildi = true;
    return t;
}
