// Vector quantisation of feature vectors.
// VQ_Egit trains the codebook ayr.km (s rows of n floats) from ayr.Ci (kind 1)
// or ayr.DelCi (kind 2; kind 3 is handed to vq3.h): a new codebook from a seeded random selection of
// rows, an existing one (ayr.kdbayrak 1) repaired by reset pre-iterations;
// both are then refined by LBG. VQ_Siniflandir quantises one frame with the
// codebook in memory; OlasilikBul gives the mean distortion of the utterance.
// Results: 0 success, 1 failure after a Turkish message.
// LBG stops early when a pass changes no label (the codebook can no longer
// change). A codeword that wins no vector in a pass is not left empty (or
// zero): it takes the first vector of the most populated region that differs
// from that region's centroid, as the reset pre-iterations refill one, and the
// refinement goes on; codebooks in which no region empties are unaffected. One training run (reset passes and LBG passes together) does at
// most vq_is_siniri distance terms; when that cuts it short a message
// names the setting that asked for more. A scoring that would cost more than
// that on its own is refused with a message and scores +infinity.
#ifndef VQ1_H
#define VQ1_H

#include <cstdint>

int VQ_Egit();

// Largest work of one training run (vectors x codewords x components summed
// over its passes) and of one scoring, about what the largest analysis costs
// (a few seconds).
// Programs with a tighter time limit may lower it.
extern int64_t vq_is_siniri;

// Fills rsd with s distinct rows from 1 to r-1, drawn with the portable
// generator seeded with ayr.thm. Does nothing when s < 1 or the rows cannot
// give s distinct values (VQ_Egit refuses such requests first).
void RasgeleSayilarUret(int* rsd, int s, int r);

int KuralKitabiniSifirla(float** gm, float*** km, int s, int n, int r);
int KuralKitabinaYerlestir(float** gm, float*** km, int* etiketler, int I, int enyuksekbolgedizini,
                           int n, int r);

// 1 when the vectors differ in one of their n components, 0 when all agree.
int EsitYoneyler(const float* yoney1, const float* yoney2, int n);

int LBG(float** km, float** gm, int s, int r, int n, int yinl);

// Nearest codebook vector of row I of gm (lowest index on ties) into
// *kazanangoze, and the difference vector into (*uzaklik)[0..n-1].
int KazananGoze(float** gm, float** km, float** uzaklik, int I, int s, int n, int* kazanangoze);

// Centroid of the rows labelled `etiket`; 1 (row left zero) when there is none.
// LBG calls it only for codewords that have rows.
int Ortala(float* yoneymerkezi, float** gm, int* etiketler, int r, int n, int etiket);

// Index of the codebook vector nearest to frame k, and the squared distance
// to it in *uzaklik. Without a codebook, features or working storage the
// distance is +infinity (a codebook that always loses) and the result -1.
int VQ_Siniflandir(int k, float* uzaklik);

// Mean of the frame distances of the ayr.r frames; +infinity with no frames
// or when r x s x n exceeds vq_is_siniri (after a message).
// Reports "uzaklik:%f" through the message layer (the screens insert
// their own line after it).
float OlasilikBul();

// Sum over rows bas..son-1 of gm of the squared distance to the nearest of
// the s codewords of km (n columns), as VQ_Siniflandir finds it, into
// *toplam (a float sum in row order). 1 without inputs or working storage.
int EnYakinUzakliklar(float** km, int s, int n, float** gm, int bas, int son, float* toplam);

// Largest value the training's random generator gives (the C standard's
// example generator, so RAND_MAX of that generator).
enum { URETEC_EN_BUYUK = 32767 };

// Largest codebook that the random selection can draw from any utterance:
// candidates g * r / URETEC_EN_BUYUK for g below URETEC_EN_BUYUK are at most
// that many distinct rows besides row 0.
enum { VQ_EN_COK_SECIM = URETEC_EN_BUYUK - 1 };

// What a training run asks of the record before it touches the codebook: a
// new codebook at most VQ_EN_COK_SECIM random choices (secim), a further
// training a codebook of s x n in memory. 0 to go on, 1 after a message.
int EgitimKitabiUygun(int secim, int s, int n);
// A new zeroed codebook of s x n in the record, replacing the one there.
// 0, or 1 after a message when there is no memory for it.
int YeniKuralKitabi(int s, int n);

#endif
