// Velmo's settings as values. KURALDOSYABASLIK is the 88-byte codebook header
// at the front of every .vlm file: it holds the recording, endpoint, analysis
// and codebook settings. EGITIM_AYARLARI are the training settings, and
// AYAR_DEGERLERI all settings together, as the settings table describes them
// (settings/ayar_tablosu.h). Stages take these as arguments.
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

// What a genuine take of the word scores against its codebook, learnt when
// the codebook is trained; it makes scores of different words comparable
// for refusing words nobody taught. Kept with kind-3 codebooks only (a
// 16-byte trailer after the codewords); other kinds use a fixed scale.
struct KALIBRASYON {
    float olcek = 0;   // expected mean distortion of a genuine take; 0: not known
    float oz = 0;      // mean distortion of the training takes themselves
    int32_t ayri = 0;  // held-out takes behind olcek; 0: estimated from oz
    bool Var() const { return olcek > 0; }
};

// Buffer sizes of the texts the record and the screens keep.
enum {
    YOL_BOYU = 260,    // directory, NUL included
    KDAD_BOYU = 518,   // directory + "/" + file name, NUL included
    SOZ_BOYU = 20,     // word, NUL included
};

// The settings of a training run.
struct EGITIM_AYARLARI {
    int thm;     // seed of the random initial codebook
    float uae;   // LBG stopping threshold
    int eabs;    // least labels of the most populated region
    int onyinl;  // largest number of reset pre-iterations
    int yinl;    // largest number of LBG iterations
};

// Every setting a user sees: the training settings and the header.
struct AYAR_DEGERLERI : EGITIM_AYARLARI {
    KURALDOSYABASLIK kdbaslik;
};

#endif
