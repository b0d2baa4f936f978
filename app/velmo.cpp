// Velmo: speaker-dependent isolated-word recogniser for the terminal.
#include "velmo.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "aygit.h"
#include "sifirlama.h"
#include "kodlama.h"
#include "konsol.h"
#include "menu.h"

#ifndef VELMO_SURUM
#define VELMO_SURUM "1.0"
#endif

namespace {

const char* const YARDIM =
    "Kullanım: velmo [--help | --version]\n"
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
    "  -h, --help   bu yardım\n"
    "  --version    sürüm\n"
    "\n"
    "Çıkış durumu: 0 başarı, 2 kullanım hatası.\n";

void MetinYaz(FILE* f, const std::string& utf8) {
    const std::string s = UcbirimeCevir(utf8);
    std::fwrite(s.data(), 1, s.size(), f);
}

// The command line is handled before the terminal is touched; -1 when the
// program is to start its screens.
int Argumanlar(int argc, char** argv) {
    if (argc < 2) return -1;
    KodlamaBaslat();
    const std::string a = argv[1];
    if (argc == 2 && (a == "--help" || a == "-h")) {
        MetinYaz(stdout, YARDIM);
        return 0;
    }
    if (argc == 2 && a == "--version") {
        std::printf("velmo %s\n", VELMO_SURUM);
        return 0;
    }
    if (argc == 2) MetinYaz(stderr, "velmo: bilinmeyen argüman '" + a + "'\n");
    else MetinYaz(stderr, "velmo: fazla argüman\n");
    MetinYaz(stderr, "Kullanım: velmo [--help | --version]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int sonuc = Argumanlar(argc, argv);
    if (sonuc >= 0) return sonuc;
    KonsolBaslat();
    KonsolDuzMetin(isatty(1) == 0);
    Sifirla(0);
    SesBaslat();
    AnaMenu();
    return 0;
}
