#include "toplu.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <utility>

#include "cikti.h"
#include "dosya.h"
#include "guven.h"
#include "kalibrasyon.h"
#include "kodlama.h"
#include "konsol.h"
#include "vq1.h"
#include "vq3.h"

namespace {

// The dump `ad` in the directory `dokum`.
std::string DokumYolu(const std::string& dokum, const char* ad) {
    return (std::filesystem::path(dokum) / ad).string();
}

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

// The score line the training screen shows under a trained codebook; the
// score is returned.
float PuanSatiri(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km) {
    const float p = Puanla(oz, b, km);
    Yaz("uzaklik:%f\n", static_cast<double>(p));
    return p;
}

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
        // The take against the codebook it is about to refine: a held-out score.
        const float ayri = km.Bos() ? 0.0f : Puanla(*oz, b, km);
        EGITICI egitici(e.ayar);
        yeni = egitici.Egit(*oz, b, km.Bos() ? nullptr : &km);
        if (!yeni.Bos()) yeniKal = SiraliKalibrasyon(kal, km.Bos(), ayri, PuanSatiri(*oz, b, yeni));
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
    for (const std::string& g : girdiler) {
        std::vector<short> x;
        if (!AlimOku(g, e, x)) {
            eg.basarisiz++;
        } else if (SiraliAlim(x, e, eg.km, eg.kal)) {
            eg.egitilen++;
        } else {
            Hata("%s: eğitim başarısız; bu kayıt atlandı.\n", g.c_str());
            eg.basarisiz++;
        }
    }
}

// The vectors of every take, gathered for one new codebook. Kind 3 pools
// each section of every take on its own, and scores the last take read
// against the pooled codebook.
struct HAVUZ {
    bool kesitli = false;
    std::vector<float> ci, delci;  // rows of n + 1, as the analysis holds them
    int r = 0;
    std::vector<float> kesit1, kesit2;
    int r1 = 0, r2 = 0;
    COZUMLEME son;  // the analysis of the last take read (none when it had none)
    std::vector<COZUMLEME> alimlar;  // kind 3: every take's analysis, for its calibration
    bool sonAlimda = false;          // the last take's analysis moved to alimlar.back()
    const COZUMLEME& Son() const { return sonAlimda ? alimlar.back() : son; }
};

// Adds the rows of one analysis to the pool.
void HavuzaKat(const COZUMLEME& oz, int n, HAVUZ& h) {
    if (h.kesitli) {
        const int sinir = KesitSiniri(oz.r);
        AgirlikliYoneyler(oz.Ci, n, 0, sinir, h.kesit1);
        AgirlikliYoneyler(oz.Ci, n, sinir, oz.r, h.kesit2);
        h.r1 += sinir;
        h.r2 += oz.r - sinir;
    } else {
        for (int i = 0; i < oz.r; i++) {
            h.ci.insert(h.ci.end(), oz.Ci[i], oz.Ci[i] + n + 1);
            h.delci.insert(h.delci.end(), oz.DelCi[i], oz.DelCi[i] + n + 1);
        }
    }
    h.r += oz.r;
}

// Analyses one take and adds its vectors to the pool.
bool HavuzaEkle(const std::vector<short>& x, const EGITIMAYARI& e, HAVUZ& h) {
    const KURALDOSYABASLIK& b = e.ayar.kdbaslik;
    h.son = COZUMLEME();
    h.sonAlimda = false;
    bool tamam = false;
    KonsolHamYaz(Yakala([&] {
        const UC_NOKTALAR u = UcNoktalariBul(x, b, e.dokum);
        if (!u.bulundu) return;
        std::optional<COZUMLEME> oz = KonusmayiCozumle(x, u, b, e.dokum);
        if (!oz) return;
        h.son = std::move(*oz);
        if (h.son.r < 1 || h.son.r > std::numeric_limits<int>::max() - 1 - h.r) return;
        HavuzaKat(h.son, b.n, h);
        Yaz("LPC/DLPC yöneyi: %d\n", h.son.r);
        if (h.kesitli) {
            h.alimlar.push_back(std::move(h.son));
            h.sonAlimda = true;
        }
        tamam = true;
    }));
    return tamam;
}

// One new codebook of kind 3 from the pooled sections, and its calibration
// (each take held out in turn).
MATRIS KesitliHavuzuEgit(const HAVUZ& h, const EGITIMAYARI& e, int egitilen, KALIBRASYON& kal) {
    const KURALDOSYABASLIK& b = e.ayar.kdbaslik;
    Cikti("== havuz: %d kayıt, %d + %d yöney ==\n", egitilen, h.r1, h.r2);
    MATRIS km;
    KonsolHamYaz(Yakala([&] {
        EGITICI egitici(e.ayar);
        km = egitici.KesitliEgit(h.kesit1, h.r1, h.kesit2, h.r2, b, nullptr);
        if (km.Bos()) return;
        PuanSatiri(h.Son(), b, km);
        std::vector<const COZUMLEME*> alimlar;
        for (const COZUMLEME& a : h.alimlar) alimlar.push_back(&a);
        kal = HavuzKalibrasyonu(alimlar, e.ayar, km);
    }));
    return km;
}

// The pooled rows as one analysis of h.r frames (with the spare row of zeros
// an analysis has); false after a message when memory runs out.
bool HavuzCozumlemesi(const HAVUZ& h, int n, COZUMLEME& oz) {
    if (!oz.Ci.Kur(h.r + 1, n + 1) || !oz.DelCi.Kur(h.r + 1, n + 1)) {
        Yaz("LPC dizileri için bellek ayrılamıyor\n");
        return false;
    }
    std::memcpy(oz.Ci.Veri(), h.ci.data(), h.ci.size() * sizeof(float));
    std::memcpy(oz.DelCi.Veri(), h.delci.data(), h.delci.size() * sizeof(float));
    oz.r = h.r;
    return true;
}

// One new codebook from the pooled vectors, trained as one long take.
MATRIS HavuzuEgit(const HAVUZ& h, const EGITIMAYARI& e, int egitilen) {
    const KURALDOSYABASLIK& b = e.ayar.kdbaslik;
    Cikti("== havuz: %d kayıt, %d yöney ==\n", egitilen, h.r);
    MATRIS km;
    KonsolHamYaz(Yakala([&] {
        COZUMLEME oz;
        if (!HavuzCozumlemesi(h, b.n, oz)) return;
        EGITICI egitici(e.ayar);
        km = egitici.Egit(oz, b, nullptr);
        if (!km.Bos()) PuanSatiri(oz, b, km);
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
        } else if (HavuzaEkle(x, e, h)) {
            eg.egitilen++;
        } else {
            Hata("%s: çözümlenecek konuşma yok; bu kayıt atlandı.\n", g.c_str());
            eg.basarisiz++;
        }
    }
    if (h.r == 0) return;
    eg.km = h.kesitli ? KesitliHavuzuEgit(h, e, eg.egitilen, eg.kal) : HavuzuEgit(h, e, eg.egitilen);
    if (eg.km.Bos()) Hata("Havuzdaki yöneylerle eğitim başarısız.\n");
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
          b.tur >= 1 && b.tur <= 3 ? turler[b.tur - 1] : "?", eg.egitilen, eg.basarisiz);
    return eg.basarisiz == 0 ? 0 : 1;
}

// The scores of the utterance x, analysed as `oz`, against the kept
// codebooks or the directory's files; the messages of the scan are
// appended to *mesaj.
std::vector<TANIMA_SONUCU> Puanlar(const std::vector<short>& x, const COZUMLEME& oz, const KURALDOSYABASLIK& komut,
                                   const std::vector<KURALKITABI>* kitaplar, const std::string& dizin,
                                   std::string* mesaj) {
    SOYLEYIS soyleyis(x.data(), static_cast<int>(x.size()), komut);
    soyleyis.CozumlemeKoy(oz);
    if (kitaplar != nullptr) return KuralKitaplariPuanla(*kitaplar, soyleyis);
    std::vector<TANIMA_SONUCU> puanlar;
    TANIMA_SONUCU enIyi;
    *mesaj += Yakala([&] { KuralDosyalariniTara(dizin.c_str(), soyleyis, &enIyi, &puanlar); });
    return puanlar;
}

}  // namespace

UC_NOKTALAR UcNoktalariBul(const std::vector<short>& x, const KURALDOSYABASLIK& b, const std::string& dokum) {
    UC_NOKTALAR u = KonusmaBul(x.data(), static_cast<int>(x.size()), b);
    if (!dokum.empty()) SinirDokumuYaz(DokumYolu(dokum, "sinir.txt").c_str(), x.data(), u);
    KonusmaYokBildir(u);
    return u;
}

std::optional<COZUMLEME> KonusmayiCozumle(const std::vector<short>& x, const UC_NOKTALAR& u,
                                          const KURALDOSYABASLIK& b, const std::string& dokum) {
    std::optional<COZUMLEME> oz =
        LpcCozumle(x.data(), static_cast<int>(x.size()), u.bas, u.bulundu ? u.uzunluk : 0, b);
    if (oz && !dokum.empty()) {
        MatrisDokumu(DokumYolu(dokum, "Ci.txt").c_str(), oz->Ci, oz->r, b.n);
        MatrisDokumu(DokumYolu(dokum, "DelCi.txt").c_str(), oz->DelCi, oz->r, b.n);
    }
    return oz;
}

int TopluEgit(const std::vector<std::string>& girdiler, const EGITIMAYARI& e) {
    if (!EgitimIstegiGecerli(e)) return 1;
    EGITIM eg;
    if (e.havuz) HavuzluEgit(girdiler, e, eg);
    else SiraliEgit(girdiler, e, eg);
    if (eg.km.Bos()) {
        Hata("Hiçbir kayıtla eğitilemedi; %s yazılmadı.\n", e.cikti.c_str());
        return 1;
    }
    return EgitilmisiKaydet(e, eg);
}

TANIMA TekTani(const std::string& girdi, const std::vector<KURALKITABI>* kitaplar, const std::string& dizin,
               const KURALDOSYABASLIK& komut, const SESAYARI& ses, const std::string& dokum, double red,
               double hassasiyet, std::string* mesaj) {
    TANIMA t;
    std::vector<short> x;
    if (SesDosyasiOku(girdi, komut.oo, TANIMA_SURESI, ses, x) != 0) return t;
    t.okundu = true;
    // The screen: record 2 s, end points, analyse once with the settings in
    // force, scan.
    std::optional<COZUMLEME> oz;
    *mesaj += Yakala([&] {
        const UC_NOKTALAR u = UcNoktalariBul(x, komut, dokum);
        oz = KonusmayiCozumle(x, u, komut, dokum);
    });
    if (!oz) return t;
    t.puanlar = Puanlar(x, *oz, komut, kitaplar, dizin, mesaj);
    t.kazanan = EnYakinKitap(t.puanlar);
    if (t.kazanan < 0) return t;
    const TANIMA_SONUCU& en = t.puanlar[static_cast<size_t>(t.kazanan)];
    t.enyakin = en.puan;
    t.guven = SonucGuveni(en);
    if (red > 0) t.reddedildi = OranlaReddedilir(t.enyakin, BaskaSozunEnIyisi(t.puanlar, t.kazanan), red);
    if (hassasiyet >= 0 && GuvenleReddedilir(t.guven, hassasiyet)) t.reddedildi = true;
    return t;
}
