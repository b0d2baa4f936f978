// Velmo: speaker-dependent isolated-word recogniser for the terminal.
#include "velmo.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "aygit.h"
#include "ayar_tablosu.h"
#include "kalici.h"
#include "kayit_dosyasi.h"
#include "sifirlama.h"
#include "kodlama.h"
#include "konsol.h"
#include "konusma.h"
#include "menu.h"
#include "mesaj.h"

#ifndef VELMO_SURUM
#define VELMO_SURUM "1.0"
#endif

namespace {

const char* const YARDIM =
    "Kullanım: velmo [--kayitlar DİZİN] [--aygit AD]\n"
    "          velmo --aygitler | --help | --version\n"
    "\n"
    "Konuşmacıya bağımlı yalıtık sözcük tanıyıcı. Argümansız başlatıldığında\n"
    "uçbirimde Türkçe menüleri açar: kendi sözcüklerinizi mikrofondan eğitir,\n"
    "her biri için bir kural dosyası (SÖZCÜK.vlm) ve yanına bir metin raporu\n"
    "(SÖZCÜK.vlm.txt) yazar, söylediğiniz sözcüğü o dosyalarla tanır.\n"
    "\n"
    "Ana menü (harf ve Enter): y yeni sözcük eğit, e eski sözcük eğit,\n"
    "k konuş tanısın, a ayarlar, t kapat.\n"
    "\n"
    "Standart girdi uçbirim değilse her satırı bir komut olan bir betik\n"
    "olarak okunur; girdi bitince program 0 ile çıkar. Standart çıktı uçbirim\n"
    "değilse ekranlar denetim dizisi içermeyen düz metin satırları olarak\n"
    "yazılır.\n"
    "\n"
    "  --kayitlar DİZİN  her kaydı (eğitimde ve tanımada) bu dizine numaralı\n"
    "                    bir WAV dosyası olarak da yazar (0001-SÖZCÜK.wav,\n"
    "                    0002.wav, ...; 16 bit tek kanal, kaydın örnekleme\n"
    "                    oranında); numaralar dizindeki dosyalardan sonra\n"
    "                    sürer, hiçbir dosyanın üzerine yazılmaz; dizin yoksa\n"
    "                    yapılır; \"velmo-toplu egit --havuz\" onlardan eğitir\n"
    "  --aygit AD        kayıtların giriş aygıtı: --aygitler listesindeki numara\n"
    "                    ya da adın bir parçası (öntanımlı: sistemin öntanımlı\n"
    "                    girişi); seslendirme hep öntanımlı çıkıştan\n"
    "  --aygitler        giriş aygıtlarını listeler\n"
    "  -h, --help        bu yardım\n"
    "  --version         sürüm\n"
    "\n"
    "Çıkış durumu: 0 başarı, 1 ses sistemi başlatılamadı ya da giriş aygıtı yok,\n"
    "2 kullanım hatası (bilinmeyen aygıt da) ya da yazılamayan kayıt dizini.\n";

const char* const KULLANIM =
    "Kullanım: velmo [--kayitlar DİZİN] [--aygit AD]\n"
    "          velmo --aygitler | --help | --version\n";

void MetinYaz(FILE* f, const std::string& utf8) {
    const std::string s = UcbirimeCevir(utf8);
    std::fwrite(s.data(), 1, s.size(), f);
}

int KullanimHatasi(const std::string& neden) {
    MetinYaz(stderr, "velmo: " + neden + "\n");
    MetinYaz(stderr, Ceviri(KULLANIM));
    return 2;
}

// "--ad DEĞER" or "--ad=DEĞER" at argv[*i]: true when it is the option
// `ad`, with its value ("" when none follows) and *i on its last word.
bool SecenekDegeri(int argc, char** argv, int* i, const std::string& ad, std::string* deger) {
    const std::string a = argv[*i];
    if (a == ad) {
        *deger = *i + 1 < argc ? argv[++*i] : "";
        return true;
    }
    if (a.rfind(ad + "=", 0) != 0) return false;
    *deger = a.substr(ad.size() + 1);
    return true;
}

// The command line is handled before the terminal is touched; -1 when the
// program is to start its screens.
int Argumanlar(int argc, char** argv) {
    if (argc < 2) return -1;
    KodlamaBaslat();
    const std::string a = argv[1];
    if (argc == 2 && (a == "--help" || a == "-h")) {
        MetinYaz(stdout, Ceviri(YARDIM));
        return 0;
    }
    if (argc == 2 && a == "--version") {
        std::printf("velmo %s\n", VELMO_SURUM);
        return 0;
    }
    if (argc == 2 && a == "--aygitler") return GirisAygitlariniListele();
    // --kayitlar and --aygit, each at most once, in either order.
    std::string dizin, aygit;
    bool dizinVar = false, aygitVar = false;
    for (int i = 1; i < argc; i++) {
        std::string deger;
        bool* var = nullptr;
        if (SecenekDegeri(argc, argv, &i, "--kayitlar", &deger)) var = &dizinVar;
        else if (SecenekDegeri(argc, argv, &i, "--aygit", &deger)) var = &aygitVar;
        if (var == nullptr || *var)
            return KullanimHatasi(argc == 2 ? Bicimle(Ceviri("bilinmeyen argüman '%s'"), a.c_str())
                                            : Ceviri("fazla argüman"));
        *var = true;
        (var == &dizinVar ? dizin : aygit) = deger;
    }
    if (dizinVar && dizin.empty()) return KullanimHatasi(Ceviri("--kayitlar bir dizin ister"));
    if (aygitVar && aygit.empty()) return KullanimHatasi(Ceviri("--aygit bir aygıt adı ister"));
    // The device first: a name that is wrong leaves no directory made.
    if (aygitVar) {
        if (SesBaslat() != 0) {
            MetinYaz(stderr, std::string("velmo: ") + Ceviri("Ses sistemi başlatılamadı.\n"));
            return 1;
        }
        const int no = GirisAygitiBul(aygit);
        if (no < 0) {
            MetinYaz(stderr, "velmo: " + Bicimle(Ceviri("\"%s\" diye bir giriş aygıtı yok (bkz. %s --aygitler).\n"),
                                                 Gorunur(aygit).c_str(), "velmo"));
            return 2;
        }
        GirisAygitiSec(no);
    }
    if (!dizinVar) return -1;
    // Absolute, so that the screens' path command does not move it. A
    // directory that cannot be written is refused before the screens start
    // rather than at the first take.
    std::error_code h;
    const std::string mutlak = std::filesystem::absolute(dizin, h).lexically_normal().string();
    if (h) {
        Yaz("Kayıt dizini %s tam yola çevrilemiyor: %s.\n", Gorunur(dizin).c_str(), SistemNedeni(h.value()).c_str());
        return 2;
    }
    if (KayitDiziniHazirla(mutlak) != 0) return 2;
    KayitlarDiziniKur(mutlak);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int sonuc = Argumanlar(argc, argv);
    if (sonuc >= 0) return sonuc;
    // The kept settings over the defaults; lines that cannot be taken are
    // said before the screens start.
    KodlamaBaslat();
    Sifirla(0);
    const std::string kalici = KaliciAyarlariUygula(ayr);
    if (!kalici.empty()) std::fputs(UcbirimeCevir(kalici).c_str(), stderr);
    KonsolBaslat();
    KonsolDuzMetin(isatty(1) == 0);
    SesBaslat();
    AnaMenu();
    return 0;
}
