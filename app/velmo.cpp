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
    "Kullanım: velmo [--kayitlar DİZİN] | --help | --version\n"
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
    "  -h, --help        bu yardım\n"
    "  --version         sürüm\n"
    "\n"
    "Çıkış durumu: 0 başarı, 2 kullanım hatası ya da yazılamayan kayıt dizini.\n";

const char* const KULLANIM = "Kullanım: velmo [--kayitlar DİZİN] | --help | --version\n";

void MetinYaz(FILE* f, const std::string& utf8) {
    const std::string s = UcbirimeCevir(utf8);
    std::fwrite(s.data(), 1, s.size(), f);
}

int KullanimHatasi(const std::string& neden) {
    MetinYaz(stderr, "velmo: " + neden + "\n");
    MetinYaz(stderr, Ceviri(KULLANIM));
    return 2;
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
    const std::string secenek = "--kayitlar";
    const bool ayri = a == secenek;  // "--kayitlar DİZİN" rather than "--kayitlar=DİZİN"
    if (!ayri && a.rfind(secenek + "=", 0) != 0)
        return KullanimHatasi(argc == 2 ? Bicimle(Ceviri("bilinmeyen argüman '%s'"), a.c_str())
                                        : Ceviri("fazla argüman"));
    if (argc > (ayri ? 3 : 2)) return KullanimHatasi(Ceviri("fazla argüman"));
    const std::string dizin = ayri ? (argc == 3 ? argv[2] : "") : a.substr(secenek.size() + 1);
    if (dizin.empty()) return KullanimHatasi(Ceviri("--kayitlar bir dizin ister"));
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
