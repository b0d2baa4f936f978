/* A C program on libvelmo, as a user's program would use it.
 *   ornek egit VLM SOZ OO TUR KAYIT.raw...   train a word from raw takes
 *   ornek tani DIZIN OO KAYIT.raw...         one line per take: name, word, score, file, kind
 *   ornek esli DIZIN OO KAYIT.raw            four threads, a handle each, recognise at once: same answers
 *   ornek sinir DIZIN                        wrong calls give 1 and a message, never a crash
 * Raw takes: 16-bit signed little-endian mono samples. */
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <velmo/tanici.h>

static int16_t* oku(const char* ad, size_t* sayi) {
    FILE* f = fopen(ad, "rb");
    if (f == NULL) return NULL;
    fseek(f, 0, SEEK_END);
    long boy = ftell(f);
    fseek(f, 0, SEEK_SET);
    int16_t* x = malloc(boy > 1 ? (size_t)boy : 2);
    *sayi = fread(x, sizeof(int16_t), (size_t)boy / 2, f);
    fclose(f);
    return x;
}

static int egit(int argc, char** argv) {
    if (argc < 7) return 2;
    size_t n = (size_t)(argc - 6);
    const int16_t** kayitlar = calloc(n, sizeof *kayitlar);
    size_t* sayilar = calloc(n, sizeof *sayilar);
    for (size_t i = 0; i < n; i++) {
        kayitlar[i] = oku(argv[6 + i], &sayilar[i]);
        if (kayitlar[i] == NULL) return fprintf(stderr, "%s okunamadi\n", argv[6 + i]), 1;
    }
    char hata[512];
    int r = velmo_egit(argv[2], argv[3], kayitlar, sayilar, n, atoi(argv[4]), atoi(argv[5]), hata, sizeof hata);
    if (hata[0] != '\0') fprintf(stderr, "%s\n", hata);
    for (size_t i = 0; i < n; i++) free((void*)kayitlar[i]);
    free(kayitlar);
    free(sayilar);
    return r;
}

static int tani(int argc, char** argv) {
    if (argc < 5) return 2;
    char hata[512];
    velmo_tanici* t = velmo_tanici_ac(argv[2], hata, sizeof hata);
    if (t == NULL) return fprintf(stderr, "%s\n", hata), 1;
    int sonuc = 0;
    for (int i = 4; i < argc; i++) {
        size_t n = 0;
        int16_t* x = oku(argv[i], &n);
        velmo_sonuc s;
        int r = velmo_tani(t, x, n, atoi(argv[3]), &s);
        if (r == 0) printf("%s\t%s\t%f\t%s\t%d\n", argv[i], s.soz, (double)s.puan, s.dosya, s.tur);
        else printf("%s\t\t\t\t\t%s\n", argv[i], velmo_hata(t)), sonuc = 1;
        free(x);
    }
    velmo_tanici_kapat(t);
    return sonuc;
}

struct is {
    const char* dizin;
    const int16_t* x;
    size_t n;
    int oo;
    velmo_sonuc ilk;
    int farkli;
};

static void* calis(void* v) {
    struct is* w = v;
    velmo_tanici* t = velmo_tanici_ac(w->dizin, NULL, 0);
    if (t == NULL) return w->farkli++, NULL;
    for (int k = 0; k < 8; k++) {
        velmo_sonuc s;
        if (velmo_tani(t, w->x, w->n, w->oo, &s) != 0 || strcmp(s.soz, w->ilk.soz) != 0 ||
            s.puan != w->ilk.puan || strcmp(s.dosya, w->ilk.dosya) != 0)
            w->farkli++;
    }
    velmo_tanici_kapat(t);
    return NULL;
}

static int esli(int argc, char** argv) {
    if (argc != 5) return 2;
    char hata[512];
    velmo_tanici* t = velmo_tanici_ac(argv[2], hata, sizeof hata);
    if (t == NULL) return fprintf(stderr, "%s\n", hata), 1;
    size_t n = 0;
    int16_t* x = oku(argv[4], &n);
    struct is w[4];
    velmo_sonuc ilk;
    if (velmo_tani(t, x, n, atoi(argv[3]), &ilk) != 0) return fprintf(stderr, "%s\n", velmo_hata(t)), 1;
    velmo_tanici_kapat(t);
    pthread_t p[4];
    for (int i = 0; i < 4; i++) {
        w[i] = (struct is){argv[2], x, n, atoi(argv[3]), ilk, 0};
        pthread_create(&p[i], NULL, calis, &w[i]);
    }
    int farkli = 0;
    for (int i = 0; i < 4; i++) pthread_join(p[i], NULL), farkli += w[i].farkli;
    free(x);
    if (farkli != 0) return fprintf(stderr, "%d farkli yanit\n", farkli), 1;
    printf("esli: %s\n", ilk.soz);
    return 0;
}

#define BEKLE(kosul, metin) \
    do { if (!(kosul)) { fprintf(stderr, "HATA: %s\n", metin); return 1; } } while (0)

static int sinir(int argc, char** argv) {
    if (argc != 3) return 2;
    char hata[512] = "x";
    BEKLE(velmo_tanici_ac("/yok/boyle/bir/dizin", hata, sizeof hata) == NULL && hata[0] != '\0', "olmayan dizin");
    BEKLE(velmo_tanici_ac(NULL, hata, sizeof hata) == NULL, "bos dizin adi");
    char kucuk[6];
    BEKLE(velmo_tanici_ac("/yok", kucuk, sizeof kucuk) == NULL && strlen(kucuk) < sizeof kucuk, "kucuk hata yeri");
    velmo_tanici* t = velmo_tanici_ac(argv[2], NULL, 0);
    BEKLE(t != NULL, "dizin acilamadi");
    int16_t sessiz[24000] = {0};
    velmo_sonuc s;
    s.puan = -1;
    BEKLE(velmo_tani(t, sessiz, 24000, 12000, &s) == 1 && s.soz[0] == '\0' && s.puan == 1000.0f, "sessizlik tanindi");
    BEKLE(velmo_hata(t)[0] != '\0', "sessizlikte ileti yok");
    BEKLE(velmo_tani(t, sessiz, 24000, 50, &s) == 1 && strstr(velmo_hata(t), "50 Hz") != NULL, "gecersiz oran");
    BEKLE(velmo_tani(t, NULL, 10, 12000, &s) == 1, "bos tampon");
    BEKLE(velmo_tani(t, sessiz, 0, 12000, &s) == 1, "sifir ornek");
    BEKLE(velmo_tani(t, sessiz, 24000, 12000, NULL) == 1, "sonuc yeri yok");
    BEKLE(velmo_tani(NULL, sessiz, 24000, 12000, &s) == 1, "bos tutamac");
    BEKLE(velmo_hata(NULL)[0] == '\0', "bos tutamacin iletisi");
    velmo_tanici_kapat(t);
    velmo_tanici_kapat(NULL);
    const int16_t* kayitlar[1] = {sessiz};
    size_t sayilar[1] = {24000};
    BEKLE(velmo_egit("s.vlm", "sessiz", kayitlar, sayilar, 1, 12000, 1, hata, sizeof hata) == 1 &&
              strstr(hata, "yazılmadı") != NULL, "sessizlikten egitildi");
    BEKLE(velmo_egit("s.vlm", "bu söz on dokuz bayttan uzun", kayitlar, sayilar, 1, 12000, 1, hata, sizeof hata) == 1,
          "uzun soz");
    BEKLE(velmo_egit("s.vlm", "x", kayitlar, sayilar, 0, 12000, 1, hata, sizeof hata) == 1, "kayitsiz egitim");
    BEKLE(velmo_egit(NULL, "x", kayitlar, sayilar, 1, 12000, 1, hata, sizeof hata) == 1, "adsiz dosya");
    BEKLE(strcmp(velmo_surum(), "") != 0, "surum");
    printf("sinir: tamam\n");
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    if (strcmp(argv[1], "egit") == 0) return egit(argc, argv);
    if (strcmp(argv[1], "tani") == 0) return tani(argc, argv);
    if (strcmp(argv[1], "esli") == 0) return esli(argc, argv);
    if (strcmp(argv[1], "sinir") == 0) return sinir(argc, argv);
    return 2;
}
