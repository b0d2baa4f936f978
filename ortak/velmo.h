// Velmo: the settings-and-state record shared by every part of the program.
// AYARLAR holds every setting and all working state; KURALDOSYABASLIK is the
// 88-byte codebook header that sits inside it and at the front of every .vlm
// file. There is exactly one instance, `ayr`.
#ifndef VELMO_H
#define VELMO_H

#include <cstddef>
#include <cstdint>

// Codebook header: stored byte for byte as the first 88 bytes of a .vlm file.
struct KURALDOSYABASLIK {
    char bicim[4];   // format tag "VLM" and NUL
    int tur;         // 1: LPC cepstrum codebook, 2: delta cepstrum codebook
    char soz[20];    // the word, Windows-1254 text, NUL-terminated
    int kmt;         // command number of the word
    int ks;          // channels
    int oo;          // sampling rate (Hz)
    int oc;          // bits per sample
    int ksu;         // recording length (s)
    int kpensu;      // endpoint short window (ms)
    int yee;         // high energy threshold
    int aee;         // low energy threshold
    int bsge;        // start zero-crossing threshold
    int pensu;       // LPC frame length (ms)
    int admsu;       // LPC frame step (ms)
    int m;           // autocorrelation order
    int n;           // feature-vector size
    int p;           // LPC order
    int s;           // codebook size
};

static_assert(sizeof(int) == 4, "int must be 32 bits");
static_assert(sizeof(float) == 4, "float must be 32 bits");
static_assert(sizeof(KURALDOSYABASLIK) == 88, "codebook header is 88 bytes");
static_assert(offsetof(KURALDOSYABASLIK, bicim) == 0, "layout");
static_assert(offsetof(KURALDOSYABASLIK, tur) == 4, "layout");
static_assert(offsetof(KURALDOSYABASLIK, soz) == 8, "layout");
static_assert(offsetof(KURALDOSYABASLIK, kmt) == 28, "layout");
static_assert(offsetof(KURALDOSYABASLIK, ks) == 32, "layout");
static_assert(offsetof(KURALDOSYABASLIK, oo) == 36, "layout");
static_assert(offsetof(KURALDOSYABASLIK, oc) == 40, "layout");
static_assert(offsetof(KURALDOSYABASLIK, ksu) == 44, "layout");
static_assert(offsetof(KURALDOSYABASLIK, kpensu) == 48, "layout");
static_assert(offsetof(KURALDOSYABASLIK, yee) == 52, "layout");
static_assert(offsetof(KURALDOSYABASLIK, aee) == 56, "layout");
static_assert(offsetof(KURALDOSYABASLIK, bsge) == 60, "layout");
static_assert(offsetof(KURALDOSYABASLIK, pensu) == 64, "layout");
static_assert(offsetof(KURALDOSYABASLIK, admsu) == 68, "layout");
static_assert(offsetof(KURALDOSYABASLIK, m) == 72, "layout");
static_assert(offsetof(KURALDOSYABASLIK, n) == 76, "layout");
static_assert(offsetof(KURALDOSYABASLIK, p) == 80, "layout");
static_assert(offsetof(KURALDOSYABASLIK, s) == 84, "layout");

// Buffer sizes of the texts the record and the screens keep.
enum {
    YOL_BOYU = 260,    // directory, NUL included
    KDAD_BOYU = 518,   // directory + "/" + file name, NUL included
    SOZ_BOYU = 20,     // word, NUL included
};

// All settings and working state of the program.
struct AYARLAR {
    int thm;                 // seed of the random initial codebook
    float uae;               // LBG stopping threshold
    int eabs;                // least labels of the most populated region
    int onyinl;              // largest number of reset pre-iterations
    int yinl;                // largest number of LBG iterations
    char kdad[KDAD_BOYU];    // path of the current codebook file, "" when none
    char yol[YOL_BOYU];      // working directory
    KURALDOSYABASLIK kdbaslik;
    int kdbayrak;            // 1 while km holds the codebook of the file kdad
    char* kyt;               // sound buffer (16-bit signed LE PCM), owned
    int kytu;                // its length in bytes
    char* bsl;               // first byte of the speech inside kyt
    int uzn;                 // length of the speech in bytes
    int r;                   // number of analysis frames
    float** km;              // codebook: s rows of n
    int kms, kmn;            // the rows and columns km was made with
    float** Ri;              // autocorrelation per frame
    float** Ai;              // LPC coefficients per frame
    float** RFi;             // reflection coefficients per frame
    float** Ci;              // LPC cepstrum per frame
    float** DelCi;           // delta cepstrum per frame
};

extern AYARLAR ayr;
extern const char* nul;  // the empty text: no codebook file chosen

#endif
