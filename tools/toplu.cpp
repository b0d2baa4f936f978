#include "toplu.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "bellek.h"
#include "cikti.h"
#include "dosya.h"
#include "kodlama.h"
#include "konsol.h"
#include "lpc.h"
#include "sifirlama.h"
#include "sinir.h"
#include "vq1.h"
#include "vq3.h"

namespace {

// End points with or without their dump.
int UcNoktalarCalistir(const std::string& dokum) {
    if (dokum.empty()) return UcNoktalarBul(false);
    int sonuc = 1;
    auto is = [](void* v) { *static_cast<int*>(v) = UcNoktalar(); };
    if (!DizindeCalistir(dokum, is, &sonuc)) return UcNoktalarBul(false);
    return sonuc;
}

int LPCCalistir(const std::string& dokum) {
    if (dokum.empty()) return LPC_Cozumle(false);
    int sonuc = 1;
    auto is = [](void* v) { *static_cast<int*>(v) = LPC(); };
    if (!DizindeCalistir(dokum, is, &sonuc)) return LPC_Cozumle(false);
    return sonuc;
}

// A copy of the codebook in memory, to put back when a take fails.
float** KodKitabiKopyala() {
    const int s = ayr.kdbaslik.s, n = ayr.kdbaslik.n;
    if (ayr.km == nullptr) return nullptr;
    float** k = Calloc2B<float>(s, n, 4);
    if (k != nullptr) std::memcpy(k[0], ayr.km[0], static_cast<size_t>(s) * static_cast<size_t>(n) * sizeof(float));
    return k;
}

struct Kopya2B {
    float** m = nullptr;
    ~Kopya2B() { Free2B(m); }
    float** Birak() {
        float** k = m;
        m = nullptr;
        return k;
    }
};

// One take as the new-word menu runs it: "konus" (the file for the
// microphone), then "egit" and the save that sets the codebook flag.
bool SiraliAlim(const std::vector<short>& ses, const EGITIMAYARI& e, bool& egitildi) {
    bool basarili = false;
    Kopya2B yedek;
    std::string m = Yakala([&] {
        if (SesTamponuKur(ses, ayr.kdbaslik.ksu) != 0) return;
        UcNoktalarCalistir(e.dokum);
        Sifirla(ayr.kdbayrak == 0 ? 4 : 5);
        if (ayr.kdbayrak != 0) yedek.m = KodKitabiKopyala();
        if (LPCCalistir(e.dokum) != 0) return;
        if (VQ_Egit() != 0) return;
        OlasilikBul();
        basarili = true;
    });
    KonsolHamYaz(m);
    if (basarili) {
        // What "koru" leaves behind: the codebook belongs to the file now.
        ayr.kdbayrak = 1;
        egitildi = true;
    } else if (egitildi && yedek.m != nullptr) {
        // The codebook of the earlier takes stays as it was.
        Free2B(ayr.km);
        ayr.km = yedek.Birak();
    }
    return basarili;
}

bool DosyaVar(const std::string& ad) {
    struct stat st;
    return lstat(ad.c_str(), &st) == 0;
}

// What training can be asked for at all: a name that fits the record, a
// file that may be written, a dump directory that exists.
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

// How the takes went.
struct EGITIMSAYIMI {
    int egitilen = 0, basarisiz = 0;
    bool egitildi = false;  // the record holds a trained codebook
};

// Names the take on standard output and reads it as a recording.
bool AlimOku(const std::string& g, const EGITIMAYARI& e, std::vector<short>& ses) {
    Cikti("== %s ==\n", g.c_str());
    return SesDosyasiOku(g, ayr.kdbaslik.oo, ayr.kdbaslik.ksu, e.ses, ses) == 0;
}

// Takes one after another, as the menus train them.
void SiraliEgit(const std::vector<std::string>& girdiler, const EGITIMAYARI& e, EGITIMSAYIMI& sy) {
    for (const std::string& g : girdiler) {
        std::vector<short> ses;
        if (!AlimOku(g, e, ses)) {
            sy.basarisiz++;
        } else if (SiraliAlim(ses, e, sy.egitildi)) {
            sy.egitilen++;
        } else {
            Hata("%s: eğitim başarısız; bu kayıt atlandı.\n", g.c_str());
            sy.basarisiz++;
        }
    }
}

// The vectors of every take, gathered for one new codebook. Kind 3 pools
// each section of every take on its own.
struct HAVUZ {
    bool kesitli = false;
    std::vector<float> ci, delci;
    int r = 0;
    std::vector<float> kesit1, kesit2;
    int r1 = 0, r2 = 0;
};

// Analyses one take and adds its vectors to the pool.
bool HavuzaEkle(const std::vector<short>& ses, const EGITIMAYARI& e, HAVUZ& h) {
    const int n = ayr.kdbaslik.n;
    bool tamam = false;
    KonsolHamYaz(Yakala([&] {
        if (SesTamponuKur(ses, ayr.kdbaslik.ksu) != 0) return;
        if (UcNoktalarCalistir(e.dokum) != 0) return;
        Sifirla(5);
        if (LPCCalistir(e.dokum) != 0 || ayr.r < 1) return;
        if (ayr.r > std::numeric_limits<int>::max() - 1 - h.r) return;
        if (h.kesitli) {
            const int sinir = KesitSiniri(ayr.r);
            AgirlikliYoneyler(0, sinir, h.kesit1);
            AgirlikliYoneyler(sinir, ayr.r, h.kesit2);
            h.r1 += sinir;
            h.r2 += ayr.r - sinir;
        }
        for (int i = 0; !h.kesitli && i < ayr.r; i++) {
            h.ci.insert(h.ci.end(), ayr.Ci[i], ayr.Ci[i] + n + 1);
            h.delci.insert(h.delci.end(), ayr.DelCi[i], ayr.DelCi[i] + n + 1);
        }
        h.r += ayr.r;
        Yaz("LPC/DLPC yöneyi: %d\n", ayr.r);
        tamam = true;
    }));
    return tamam;
}

// One new codebook of kind 3 from the pooled sections.
bool KesitliHavuzuEgit(const HAVUZ& h, int egitilen) {
    Cikti("== havuz: %d kayıt, %d + %d yöney ==\n", egitilen, h.r1, h.r2);
    Free2B(ayr.km);
    ayr.km = nullptr;
    ayr.kms = ayr.kmn = 0;
    ayr.kdbayrak = 0;
    bool egitildi = false;
    KonsolHamYaz(Yakala([&] {
        if (KesitliEgit(h.kesit1, h.r1, h.kesit2, h.r2) != 0) return;
        OlasilikBul();  // the last take against the pooled codebook
        egitildi = true;
    }));
    return egitildi;
}

// One new codebook from the pooled vectors, trained as one long take.
bool HavuzuEgit(const HAVUZ& h, int egitilen) {
    const int n = ayr.kdbaslik.n;
    Cikti("== havuz: %d kayıt, %d yöney ==\n", egitilen, h.r);
    Sifirla(1);
    Sifirla(4);
    ayr.kdbayrak = 0;
    bool egitildi = false;
    KonsolHamYaz(Yakala([&] {
        ayr.Ci = Calloc2B<float>(h.r + 1, n + 1, 4);
        ayr.DelCi = Calloc2B<float>(h.r + 1, n + 1, 4);
        if (ayr.Ci == nullptr || ayr.DelCi == nullptr) {
            Yaz("LPC dizileri için bellek ayrılamıyor\n");
            return;
        }
        std::memcpy(ayr.Ci[0], h.ci.data(), h.ci.size() * sizeof(float));
        std::memcpy(ayr.DelCi[0], h.delci.data(), h.delci.size() * sizeof(float));
        ayr.r = h.r;
        if (VQ_Egit() != 0) return;
        OlasilikBul();
        egitildi = true;
    }));
    return egitildi;
}

// Every take's vectors into one pool, then one new codebook from them.
void HavuzluEgit(const std::vector<std::string>& girdiler, const EGITIMAYARI& e, EGITIMSAYIMI& sy) {
    HAVUZ h;
    h.kesitli = ayr.kdbaslik.tur == 3;
    for (const std::string& g : girdiler) {
        std::vector<short> ses;
        if (!AlimOku(g, e, ses)) {
            sy.basarisiz++;
        } else if (HavuzaEkle(ses, e, h)) {
            sy.egitilen++;
        } else {
            Hata("%s: çözümlenecek konuşma yok; bu kayıt atlandı.\n", g.c_str());
            sy.basarisiz++;
        }
    }
    if (h.r == 0) return;
    sy.egitildi = h.kesitli ? KesitliHavuzuEgit(h, sy.egitilen) : HavuzuEgit(h, sy.egitilen);
    if (!sy.egitildi) Hata("Havuzdaki yöneylerle eğitim başarısız.\n");
}

// Saves the trained codebook and its report under e.cikti and releases it.
int EgitilmisiKaydet(const EGITIMAYARI& e, const EGITIMSAYIMI& sy) {
    std::memset(ayr.kdad, 0, sizeof ayr.kdad);
    std::memcpy(ayr.kdad, e.cikti.data(), e.cikti.size());
    // Without --uzerine the name is taken only if it is still free when the
    // file is complete: of two runs on one name, one fails and says so.
    int kayit = 1;
    HataHam(Yakala([&] { kayit = KuralDosyasiVeRaporKaydet(e.uzerine); }));
    Sifirla(4);
    Sifirla(1);
    if (kayit != 0) return 1;
    static const char* const turler[] = {"LPC", "DeltaLPC", "kesitli LPC"};
    const int tur = ayr.kdbaslik.tur;
    Cikti("%s yazıldı (tür %d, %s): %d kayıt eğitildi, %d kayıt başarısız.\n", e.cikti.c_str(), tur,
        tur >= 1 && tur <= 3 ? turler[tur - 1] : "?", sy.egitilen, sy.basarisiz);
    return sy.basarisiz == 0 ? 0 : 1;
}

}  // namespace

bool DizindeCalistir(const std::string& dizin, void (*is)(void*), void* veri) {
    const int geri = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (geri < 0) return false;
    if (chdir(dizin.c_str()) != 0) {
        close(geri);
        return false;
    }
    is(veri);
    const int r = fchdir(geri);
    close(geri);
    return r == 0;
}

int TopluEgit(const std::vector<std::string>& girdiler, const EGITIMAYARI& e) {
    if (!EgitimIstegiGecerli(e)) return 1;
    ayr.kdbayrak = 0;
    EGITIMSAYIMI sy;
    if (e.havuz) HavuzluEgit(girdiler, e, sy);
    else SiraliEgit(girdiler, e, sy);
    if (!sy.egitildi) {
        Hata("Hiçbir kayıtla eğitilemedi; %s yazılmadı.\n", e.cikti.c_str());
        Sifirla(4);
        Sifirla(1);
        return 1;
    }
    return EgitilmisiKaydet(e, sy);
}

std::string PuanSatirlariniAt(const std::string& metin) {
    std::string o;
    size_t i = 0;
    while (i < metin.size()) {
        size_t j = metin.find('\n', i);
        j = (j == std::string::npos) ? metin.size() : j + 1;
        const std::string satir = metin.substr(i, j - i);
        if (satir.find("\t\tuzaklik:") == std::string::npos) o += satir;
        i = j;
    }
    return o;
}

TANIMA TekTani(const std::string& girdi, const std::vector<KURALKITABI>* kitaplar, const std::string& dizin,
               const KURALDOSYABASLIK& komut, const SESAYARI& ses, const std::string& dokum, double red,
               std::string* mesaj) {
    TANIMA t;
    ayr.kdbaslik = komut;
    std::vector<short> ornekler;
    if (SesDosyasiOku(girdi, komut.oo, TANIMA_SURESI, ses, ornekler) != 0) return t;
    t.okundu = true;
    // The screen: release the recording, record 2 s, end points, release the
    // analysis, analyse once with the settings in force, scan.
    *mesaj += PuanSatirlariniAt(Yakala([&] {
        if (SesTamponuKur(ornekler, TANIMA_SURESI) != 0) return;
        UcNoktalarCalistir(dokum);
        Sifirla(5);
        if (LPCCalistir(dokum) != 0) return;
        if (kitaplar != nullptr) {
            t.puanlar = KuralKitaplariPuanla(*kitaplar);
        } else {
            TANIMA_SONUCU enIyi;
            KuralDosyalariniTara(dizin.c_str(), ayr.kdbaslik, &enIyi, &t.puanlar);
            // What the scan leaves in memory belongs to no file of ours.
            Sifirla(4);
            ayr.kdbayrak = 0;
            ayr.kdad[0] = '\0';
        }
    }));
    ayr.kdbaslik = komut;
    t.kazanan = EnYakinKitap(t.puanlar);
    if (t.kazanan < 0) return t;
    const TANIMA_SONUCU& en = t.puanlar[static_cast<size_t>(t.kazanan)];
    t.enyakin = en.puan;
    if (red > 0) t.reddedildi = OranlaReddedilir(t.enyakin, BaskaSozunEnIyisi(t.puanlar, t.kazanan), red);
    return t;
}
