/* libvelmo from a C program: teach words from recordings, then recognise.
 *
 *   ornek egit SÖZCÜK.vlm SÖZCÜK KAYIT.raw...   trains the word from its takes
 *   ornek tani DİZİN KAYIT.raw...              recognises each take against the
 *                                              codebooks (*.vlm) of DİZİN
 *
 * A take is raw 16-bit signed little-endian mono sound at 12000 Hz with the
 * word in it and a little silence around it, for example
 *   arecord -f S16_LE -r 12000 -c 1 -t raw -d 3 evet1.raw
 * Codebooks made by velmo, velmo-toplu or velmo-dinle are read as well.
 *
 * Build, after `cmake --install` (velmo.pc carries the library's path):
 *   cc ornek.c $(pkg-config --cflags --libs velmo) -o ornek
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <velmo/tanici.h>

enum { ORAN = 12000 };

/* The samples of a raw file; NULL when it cannot be read. */
static int16_t* oku(const char* ad, size_t* sayi) {
    FILE* f = fopen(ad, "rb");
    if (f == NULL) return NULL;
    int16_t* x = NULL;
    size_t n = 0, yer = 0;
    for (;;) {
        if (n == yer) {
            yer = yer ? 2 * yer : 65536;
            int16_t* y = realloc(x, yer * sizeof *x);
            if (y == NULL) break;
            x = y;
        }
        size_t okunan = fread(x + n, sizeof *x, yer - n, f);
        n += okunan;
        if (okunan == 0) break;
    }
    fclose(f);
    *sayi = n;
    return x;
}

static int egit(int n, char** adlar, const char* vlm, const char* soz) {
    const int16_t** kayitlar = calloc((size_t)n, sizeof *kayitlar);
    size_t* sayilar = calloc((size_t)n, sizeof *sayilar);
    int sonuc = 1;
    for (int i = 0; i < n; i++) {
        kayitlar[i] = oku(adlar[i], &sayilar[i]);
        if (kayitlar[i] == NULL) {
            fprintf(stderr, "%s okunamadı\n", adlar[i]);
            goto bitir;
        }
    }
    char hata[512];
    /* Kind 3: thresholds learnt from each take's own silence and level. */
    sonuc = velmo_egit(vlm, soz, kayitlar, sayilar, (size_t)n, ORAN, 3, hata, sizeof hata);
    if (hata[0] != '\0') fprintf(stderr, "%s\n", hata);
    if (sonuc == 0) printf("%s yazıldı\n", vlm);
bitir:
    for (int i = 0; i < n; i++) free((void*)kayitlar[i]);
    free(kayitlar);
    free(sayilar);
    return sonuc;
}

static int tani(const char* dizin, int n, char** adlar) {
    char hata[512];
    velmo_tanici* t = velmo_tanici_ac(dizin, hata, sizeof hata);
    if (t == NULL) {
        fprintf(stderr, "%s\n", hata);
        return 1;
    }
    int sonuc = 0;
    for (int i = 0; i < n; i++) {
        size_t sayi = 0;
        int16_t* x = oku(adlar[i], &sayi);
        velmo_sonuc s;
        double guven = 0;
        /* 0.5: a word nobody taught is refused (2) rather than answered. */
        int r = x != NULL ? velmo_tani_guven(t, x, sayi, ORAN, 0.5, &s, &guven) : 1;
        if (r == 0)
            printf("%s\t%s\t%f\t%.2f\t%s\n", adlar[i], s.soz, (double)s.puan, guven, s.dosya);
        else
            printf("%s\t\t\t\t\t%s\n", adlar[i], x != NULL ? velmo_hata(t) : "okunamadı"), sonuc = 1;
        free(x);
    }
    velmo_tanici_kapat(t);
    return sonuc;
}

int main(int argc, char** argv) {
    if (argc >= 5 && strcmp(argv[1], "egit") == 0) return egit(argc - 4, argv + 4, argv[2], argv[3]);
    if (argc >= 4 && strcmp(argv[1], "tani") == 0) return tani(argv[2], argc - 3, argv + 3);
    fprintf(stderr,
            "Kullanım: %s egit SÖZCÜK.vlm SÖZCÜK KAYIT.raw...\n"
            "          %s tani DİZİN KAYIT.raw...\n",
            argv[0], argv[0]);
    return 2;
}
