// Kind-3 codebooks: two time sections, liftered cepstrum.
// An utterance of r frames is split into section 1, frames 0 .. r/2 - 1, and
// section 2, frames r/2 .. r-1. The codebook (s rows, s even) holds s/2
// codewords per section, section 1 first. Every vector is the LPC cepstrum
// c_1..c_n (the analysis' Ci) weighted by the sine lifter
//   w_i = 1 + (L/2) sin(pi i / L),  L = KESIT_LIFTER,  i = 1..n,
// so plain squared distances between stored (weighted) codewords and weighted
// frames are the liftered distance. Each section is trained like a kind-1
// codebook (random selection or reset pre-iterations, then LBG) on its own
// vectors; an utterance scores the sum of its two sections' mean distortions.
// Training is EGITICI::KesitliEgit (vq1.h).
#ifndef VQ3_H
#define VQ3_H

#include <vector>

#include "lpc.h"
#include "matris.h"
#include "velmo.h"

enum { KESIT_LIFTER = 22 };

// w[0..n-1] = w_1..w_n of the sine lifter of length L (L >= 1).
void SinusLifter(float* w, int n, int L);

// First frame of section 2 in an utterance of r frames.
inline int KesitSiniri(int r) { return r / 2; }

// Appends the weighted vectors of frames bas..son-1 of the cepstrum Ci (n
// floats each) to `hedef`, row after row.
void AgirlikliYoneyler(const MATRIS& Ci, int n, int bas, int son, std::vector<float>& hedef);

// Mean distortion of section 1 plus that of section 2 of the analysis `oz`
// against the kind-3 codebook km of header b; +infinity when a section has
// no frame or the codebook is unusable.
float KesitliOlasilik(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km);

// Nearest codeword of frame k in its section's half of the codebook, its
// squared weighted distance in *uzaklik; -1 and +infinity without inputs.
int KesitliSiniflandir(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km, int k, float* uzaklik);

#endif
