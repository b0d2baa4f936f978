// The two word-training menus: a new word (its file must not exist yet) and
// an existing word (its file is loaded first). Same screen, same commands;
// they differ in the file-name command, the reset before training and the
// label of "egit". The existing-word menu can also train the word afresh from
// all its kept takes at once ("havuz").
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>
#include <string>
#include <vector>

#include "bellek.h"
#include "dosya.h"
#include "ekran.h"
#include "kodlama.h"
#include "konsol.h"
#include "konusma.h"
#include "menu.h"
#include "sifirlama.h"
#include "asamalar.h"
#include "kayit.h"
#include "kayit_dosyasi.h"

namespace {

// Column just after label `dizgi` drawn at `x`, in the language shown.
int Ardi(int x, const char* dizgi) { return x + MetinGenisligi(Ceviri(dizgi)); }

void Ciz(bool yeni) {
    gotoxy(10, 2);
    Yaz(yeni ? "YENI SOZCUK EGITME MENUSU" : "ESKI SOZCUK EGITME MENUSU");
    Secenek(10, 4, 0, "konus");
    gotoxy(Ardi(10, "konus"), 4);
    Yaz("(%-2ds)", ayr.kdbaslik.ksu);
    Secenek(25, 4, 0, "dinle");
    Secenek(40, 4, 0, yeni ? "egit" : "egit  ");
    Secenek(40, 5, 4, "egitmeden");
    if (!yeni) Secenek(55, 5, 0, "havuz (tum kayitlar)");
    Secenek(55, 4, 2, "koru");
    gotoxy(Ardi(55, "koru"), 4);
    Yaz(ayr.kdbayrak == 1 ? "(*)" : "   ");
    Secenek(10, 6, 0, "Sozcuk.......................:");
    gotoxy(41, 6);
    Yaz("%s", SozGoster(ayr.kdbaslik.soz, 20).c_str());
    Secenek(10, 7, 6, "Dosya Adi....................:");
    gotoxy(41, 7);
    Yaz("%s", Doldurulmus(Gorunur(ayr.kdad), 40).c_str());
    Secenek(10, 8, 0, "Yol..........................:");
    gotoxy(41, 8);
    Yaz("%s", Doldurulmus(Gorunur(ayr.yol), 40).c_str());
    Secenek(10, 9, 6, "Dosya Bul");
    Secenek(10, 10, 0, "GeriKur");
    Secenek(10, 11, 4, "Kapat");
}

// Reads the answer to a prompt as UTF-8; false at end of input or on bytes
// that are not text (then with a message).
bool Sor(const char* istem, std::string& cevap) {
    Yaz("%s", Ceviri(istem));
    std::string satir;
    if (!SatirOku(satir)) return false;
    return UcbirimMetni(satir, cevap);
}

void Konus() {
    Sifirla(1);
    // A kept take is labelled with the word it is for.
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    if (EkrandaKaydet(Cp1254ten(std::string(b.soz, strnlen(b.soz, sizeof b.soz)))) != 0) return;
    UcNoktalar();
}

// With no recording there is nothing to analyse: the person is told to
// speak first rather than how few vectors nothing gave.
bool KayitVar() {
    if (ayr.kyt != nullptr) return true;
    Yaz("Önce konuşun (k).\n");
    return false;
}

// After the trainer's reason, what the person can change: a training fails
// when the take has too few frames for the codewords (or they crowd into too
// few of them). A codebook of other sizes than the settings is its own case.
void EgitimOnerisi() {
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    if (ayr.kdbayrak != 0 && !ayr.km.Bos() && (ayr.km.Satir() != b.s || ayr.km.Sutun() != b.n)) return;
    Yaz("Yapılacak: sözcüğü daha uzun söyleyip yeniden konuşun (k) ya da Ayarlar'da Kural Yöneyleri Sayısı'nı "
        "(%d) ya da En Az Bölge Sayısı'nı (%d) azaltın.\n",
        b.s, ayr.eabs);
}

// Training and scoring stop at the first stage that fails: the later ones
// would only have nothing to work on.
void Egit(bool yeni) {
    if (!yeni) Sifirla(5);
    else Sifirla(ayr.kdbayrak == 0 ? 4 : 5);
    if (!KayitVar()) return;
    if (LPC() != 0) return;
    // A word with a saved codebook is trained further from it, not afresh.
    if (ayr.kdbayrak != 0 && !ayr.km.Bos()) Yaz("Kayıtlı kural kitabı geliştiriliyor.\n");
    if (VQ_Egit() != 0) {
        EgitimOnerisi();
        return;
    }
    const float uzaklik = OlasilikBul();
    insline();  // the score line stays above the next one
    Yaz("%d kural yöneyi %d çerçeveden eğitildi; uzaklik:%f\n", ayr.kdbaslik.s, ayr.oz.r,
        static_cast<double>(uzaklik));
}

void Egitmeden() {
    Sifirla(5);
    if (ayr.km.Bos()) {
        Yaz("Bellekte kural kitabı yok; önce eğitin ya da bir kural dosyası yükleyin.\n");
        return;
    }
    if (!KayitVar()) return;
    if (LPC() != 0) return;
    OlasilikBul();
    insline();
}

// Before a codebook replaces the file of another word, the user is asked;
// only "E" goes on (end of input is "H"). True when the save may go on.
bool BaskaSozunUzerineYazilsinMi() {
    struct stat st;
    if (stat(ayr.kdad, &st) != 0 || !S_ISREG(st.st_mode)) return true;  // the writer decides
    std::string soz;
    const std::string bizim(ayr.kdbaslik.soz, strnlen(ayr.kdbaslik.soz, SOZ_BOYU));
    const bool okundu = KuralDosyasiSozu(ayr.kdad, soz);
    if (okundu && soz == bizim) return true;
    if (okundu)
        Yaz("%s dosyasında \"%s\" sözcüğü var; üzerine yazılsın mı? (E/H) ", Gorunur(ayr.kdad).c_str(),
            SozGoster(soz.c_str(), 0).c_str());
    else
        Yaz("%s bir kural dosyası değil; üzerine yazılsın mı? (E/H) ", Gorunur(ayr.kdad).c_str());
    std::string cevap;
    bool evet = false;
    if (SatirOku(cevap)) {
        const size_t i = cevap.find_first_not_of(" \t");
        evet = i != std::string::npos && (cevap[i] == 'E' || cevap[i] == 'e');
    }
    if (!evet) Yaz("%s korundu; kural kitabı yazılmadı.\n", Gorunur(ayr.kdad).c_str());
    return evet;
}

// "koru": the report, then the codebook. A file named in the new-word menu
// is created, never replaced (not even by one that appeared since its name
// was accepted), until this codebook has been saved to it once.
void Koru(bool yeni) {
    // With nothing to save the writer says so; no report is written then.
    if (ayr.km.Bos() || ayr.kdad[0] == '\0') {
        KuralDosyaKaydet();
        return;
    }
    const bool uzerine = !(yeni && ayr.kdbayrak == 0);
    if (uzerine && !BaskaSozunUzerineYazilsinMi()) return;
    if (KuralDosyasiVeRaporKaydet(uzerine) == 0)
        Yaz("Kaydedildi: %s (raporu yanında: %s.txt)\n", Gorunur(ayr.kdad).c_str(),
            Gorunur(std::filesystem::path(ayr.kdad).filename().string()).c_str());
}

// The directories the word's kept takes are looked for in: the one every
// take is kept in (velmo --kayitlar), then the codebook file's own.
std::vector<std::string> AlimDizinleri() {
    std::vector<std::string> dizinler;
    if (!KayitlarDizini().empty()) dizinler.push_back(KayitlarDizini());
    if (ayr.kdad[0] != '\0') {
        const std::string yan = std::filesystem::path(ayr.kdad).parent_path().string();
        std::error_code h;
        if (dizinler.empty() || !std::filesystem::equivalent(dizinler[0], yan, h))
            dizinler.push_back(yan.empty() ? "." : yan);
    }
    return dizinler;
}

// "havuz": one new codebook from every kept take of the word at once, in
// place of the one in memory ("koru" saves it). The takes are found by the
// word's name, as they were kept: "NNNN-SÖZCÜK.wav".
void Havuz() {
    const std::string soz = Cp1254ten(std::string(ayr.kdbaslik.soz, strnlen(ayr.kdbaslik.soz, SOZ_BOYU)));
    if (soz.empty()) {
        Yaz("Kayıtlar sözcüğün adıyla bulunur: önce kural dosyasını yükleyin (a) ya da sözcüğü yazın (s).\n");
        return;
    }
    const std::vector<std::string> dizinler = AlimDizinleri();
    std::vector<std::string> alimlar;
    std::string yerler;
    for (const std::string& d : dizinler) {
        for (std::string& a : EtiketinKayitlari(d, soz)) alimlar.push_back(std::move(a));
        yerler += (yerler.empty() ? "" : ", ") + Gorunur(d);
    }
    if (alimlar.empty()) {
        Yaz("\"%s\" için saklanmış kayıt yok (NNNN-%s.wav, %s); kayıtları \"velmo --kayitlar DİZİN\" saklar.\n",
            Gorunur(soz).c_str(), Gorunur(soz).c_str(), yerler.empty() ? Ceviri("kayıt dizini verilmedi") : yerler.c_str());
        return;
    }
    HAVUZ_OZETI o;
    if (VQ_HavuzEgit(alimlar, &o) != 0) {
        if (o.alim > 0)
            Yaz("Yapılacak: daha çok kayıt saklayın ya da Ayarlar'da Kural Yöneyleri Sayısı'nı (%d) azaltın.\n",
                ayr.kdbaslik.s);
        return;
    }
    insline();  // the score line stays above the next one
    Yaz("%d kural yöneyi %d kayıttan, %d çerçeveden eğitildi; uzaklik:%f\n", ayr.kdbaslik.s, o.alim, o.cerceve,
        static_cast<double>(o.puan));
}

void SozcukAl() {
    std::string soz, cp;
    if (!Sor("Sozcuk<", soz)) return;
    if (!Utf8den1254(soz, cp)) {
        Yaz("Sözcükte Türkçe kod sayfasında olmayan bir harf var; sözcük değişmedi.\n");
        return;
    }
    for (unsigned char c : cp) {
        if (c < 0x20 || c == 0x7F) {
            Yaz("Sözcükte denetim karakteri olamaz; sözcük değişmedi.\n");
            return;
        }
    }
    if (cp.size() > SOZ_BOYU - 1 || cp.find('\0') != std::string::npos) {
        Yaz("Sözcük en çok %d harf olabilir; sözcük değişmedi.\n", SOZ_BOYU - 1);
        return;
    }
    std::memcpy(ayr.kdbaslik.soz, cp.c_str(), cp.size() + 1);
}

// yol + "/" + ad when it fits the path buffer.
bool TamYol(const std::string& ad, std::string& tamyol) {
    tamyol = std::string(ayr.yol) + "/" + ad;
    if (ad.size() > 255 || tamyol.size() > KDAD_BOYU - 1) {
        Yaz("Dosya adı çok uzun; en çok %d harflik bir yol olabilir.\n", KDAD_BOYU - 1);
        return false;
    }
    return true;
}

void YeniDosyaAdi() {
    std::string ad, tamyol;
    if (!Sor("Dosya Adi<", ad)) return;
    if (ad.empty() || ad[0] == ' ') {
        std::strcpy(ayr.kdad, nul);
        return;
    }
    if (!TamYol(ad, tamyol)) return;
    // An existing file is never overwritten from this menu: its name is
    // refused. Existence is asked of the directory, never by opening the
    // file (a pipe would block, an unreadable file would seem absent), and
    // any kind of entry counts, a dangling link included.
    struct stat st;
    if (lstat(tamyol.c_str(), &st) == 0 || errno != ENOENT) {
        std::strcpy(ayr.kdad, nul);
        return;
    }
    std::strcpy(ayr.kdad, tamyol.c_str());
    ayr.kdbayrak = 0;
}

void EskiDosyaAdi() {
    std::string ad, tamyol;
    if (!Sor("Dosya Adi<", ad)) return;
    if (ad.empty() || ad[0] == ' ') return;
    if (!TamYol(ad, tamyol)) return;
    KURALDOSYABASLIK baslik;
    MATRIS km;
    KALIBRASYON kal;
    switch (KuralDosyasiOku(tamyol.c_str(), &baslik, &km, &kal)) {
        case KDOKU_ACILAMIYOR: {
            // Named, so that a training that follows is not taken for the
            // file's: the word and the file name are cleared below.
            const int neden = errno;
            if (neden == ENOENT) Yaz("%s yok; kural dosyası yüklenmedi.\n", Gorunur(tamyol).c_str());
            else
                Yaz("%s açılamıyor: %s; kural dosyası yüklenmedi.\n", Gorunur(tamyol).c_str(),
                    SistemNedeni(neden).c_str());
            char yol[YOL_BOYU];
            std::memcpy(yol, ayr.yol, sizeof yol);
            Sifirla(3);
            std::memcpy(ayr.yol, yol, sizeof yol);
            return;
        }
        case KDOKU_TAMAM: break;
        default: return;  // the reader named the fault; nothing changes
    }
    ayr.kdbaslik = baslik;
    KuralKitabiKur(std::move(km));
    ayr.kal = kal;
    std::strcpy(ayr.kdad, tamyol.c_str());
    ayr.kdbayrak = 1;
    clrscr();
    AyarlarEkranaGetir();
    clrscr();
}

void YolAl() {
    std::string yol;
    if (!Sor("Dosya Yolu<", yol)) return;
    if (yol.empty() || yol[0] == ' ') return;
    if (yol.size() > YOL_BOYU - 1) {
        Yaz("Dosya yolu en çok %d harf olabilir.\n", YOL_BOYU - 1);
        return;
    }
    if (chdir(yol.c_str()) != 0) return;
    Sifirla(3);
    // A relative path is kept as the directory it names now, so names built
    // on it later still reach it.
    char tam[YOL_BOYU];
    if (getcwd(tam, sizeof tam) != nullptr) std::strcpy(ayr.yol, tam);
    else std::strcpy(ayr.yol, yol.c_str());
}

void SozcukMenu(bool yeni) {
    Temizle();
    for (;;) {
        Ciz(yeni);
        KomSat(1, 15);
        const int c = KomutHarfi(KarakterOku());
        KomSat(1, 15);
        switch (c) {
            case KONSOL_SON:
            case 't': return;
            case 'k': Konus(); break;
            case 'd': Seslendir(ayr.kdbaslik, ayr.bsl, ayr.uzn); break;
            case 'e': Egit(yeni); break;
            case 'm': Egitmeden(); break;
            case 'h':
                if (!yeni) Havuz();
                break;
            case 'r': Koru(yeni); break;
            case 's': SozcukAl(); break;
            case 'a': yeni ? YeniDosyaAdi() : EskiDosyaAdi(); break;
            case 'y': YolAl(); break;
            case 'b': DosyaBul(); break;
            case 'g': Sifirla(3); break;
            default: break;
        }
    }
}

}  // namespace

void YeniSozcukMenu() { SozcukMenu(true); }
void EskiSozcukMenu() { SozcukMenu(false); }
