/* libvelmo: Velmo's speaker-dependent isolated-word recogniser as a C library.
 *
 * A program trains a user's words from recordings (velmo_egit, one .vlm
 * codebook file per word, with its text report beside it) and recognises a
 * recording against the codebooks of a directory (velmo_tanici_ac,
 * velmo_tani). The files are the same as those of the velmo, velmo-toplu and
 * velmo-dinle programs, so words trained there are recognised here and the
 * other way round.
 *
 * Samples are 16-bit signed mono at `oo` Hz. A recording at another rate than
 * a codebook was made for is converted to the codebook's rate first.
 * Texts (words, messages) are UTF-8; messages are in Turkish, or in English
 * when the environment asks for it as it does of the velmo programs
 * (LC_ALL, LC_MESSAGES, LANG, LANGUAGE; a locale that is not installed
 * needs LANGUAGE=en). The program's own locale is left as it is.
 *
 * Threads: each handle owns its codebooks and each call its own working
 * storage, so separate handles may be used from separate threads at the same
 * time, and velmo_egit may run on any thread while others train or
 * recognise (two trainings writing the same file leave one of them). One
 * handle must not be used by two threads at the same time (a call writes the
 * handle's message): a program that shares a handle guards it with a lock of
 * its own.
 * The library prints nothing: what went wrong is returned as text.
 */
#ifndef VELMO_TANICI_H
#define VELMO_TANICI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The codebooks of one directory, read by velmo_tanici_ac and kept up to
 * date with it. */
typedef struct velmo_tanici velmo_tanici;

/* A recognition's answer. */
typedef struct {
    char soz[64];      /* the word, UTF-8, NUL-terminated ("" when none) */
    float puan;        /* its mean distortion: smaller is closer (1000 when none) */
    char dosya[1024];  /* name of its codebook file inside the directory */
    int tur;           /* kind of that codebook (1, 2 or 3, as velmo_egit's `tur`) */
} velmo_sonuc;

/* Reads every "*.vlm" file of `dizin` (name matched in any case; files that
 * are not valid codebooks are skipped, and named by velmo_hata). Returns the
 * handle, or NULL with the reason in `hata` (up to hata_boyu bytes, always
 * NUL-terminated; `hata` may be NULL) when the directory cannot be read or
 * holds no valid codebook. Before every recognition the handle brings its
 * codebooks up to date: files added, changed or removed since are read or
 * forgotten (only those), so words trained meanwhile are recognised. */
velmo_tanici* velmo_tanici_ac(const char* dizin, char* hata, size_t hata_boyu);

/* Recognises one recording: the whole buffer of `sayi` samples at `oo` Hz
 * (1000 to 192000), in which the speech is found by its endpoints. Each
 * codebook is scored against the recording analysed with that codebook's own
 * settings; the first codebook (in name order) with the smallest score below
 * 1000 wins. Returns 0 and the winner in *sonuc; 1 when nothing was
 * recognised (no speech found, no codebook close enough) or on an error,
 * with *sonuc emptied and the reason in velmo_hata(t). */
int velmo_tani(velmo_tanici* t, const int16_t* ornekler, size_t sayi, int oo, velmo_sonuc* sonuc);

/* As velmo_tani, and also how sure it is: the winner's confidence in *guven
 * (may be NULL; 0 when nothing won), from 0 to 1: 1 a perfect fit, 0.5 the
 * point where velmo-dinle refuses by default. It comes from the winner's
 * distortion divided by what a genuine take of its word scores, which
 * kind-3 codebooks learn at training; other kinds use a fixed scale of
 * their kind, a rough guide. With `hassasiyet` from 0 to 1 (the
 * sensitivity; negative: no refusal) a winner whose confidence is below
 * 1 - hassasiyet is refused: returns 2 with the refused winner in *sonuc and
 * the reason in velmo_hata(t), so that a word nobody taught does not run a
 * command. Otherwise returns as velmo_tani. (Added in 1.1.) */
int velmo_tani_guven(velmo_tanici* t, const int16_t* ornekler, size_t sayi, int oo, double hassasiyet,
                     velmo_sonuc* sonuc, double* guven);

/* The last message of the handle: why velmo_tani gave 1, or the files
 * velmo_tanici_ac skipped; "" when there is none. Valid until the next call
 * with the handle. */
const char* velmo_hata(const velmo_tanici* t);

/* Trains the word `soz` (UTF-8, at most 19 bytes in the Turkish Windows code
 * page, no control characters) from `kayit_sayisi` recordings (kayitlar[i] holds sayilar[i] samples
 * at `oo` Hz, one utterance each, with some silence around it) and writes the
 * codebook of kind `tur` (1 LPC cepstrum, 2 delta cepstrum, 3 thresholds
 * learnt from the first 100 ms of each recording, liftered cepstrum, two
 * time sections) to `vlm_yolu`, replacing it, with its report `vlm_yolu`.txt. The recordings train one
 * after another as the word-training screens do, with the default settings.
 * Returns 0 when every recording trained and both files were written; 1
 * otherwise, with the reason in `hata` (the files are still written when at
 * least one recording trained). */
int velmo_egit(const char* vlm_yolu, const char* soz, const int16_t* const* kayitlar, const size_t* sayilar,
               size_t kayit_sayisi, int oo, int tur, char* hata, size_t hata_boyu);

/* Releases the handle and its codebooks; NULL is allowed and does nothing.
 * The handle is gone afterwards: using it in any later call, closing it a
 * second time included, reads or frees released memory (undefined
 * behaviour). A program that keeps the pointer sets it to NULL. */
void velmo_tanici_kapat(velmo_tanici* t);

/* The library's version, "MAJOR.MINOR". */
const char* velmo_surum(void);

#ifdef __cplusplus
}
#endif

#endif
