// Kind-3 codebooks: two time sections, liftered cepstrum.
// An utterance of r frames is split into section 1, frames 0 .. r/2 - 1, and
// section 2, frames r/2 .. r-1. The codebook (s rows, s even) holds s/2
// codewords per section, section 1 first. Every vector is the LPC cepstrum
// c_1..c_n (ayr.Ci) weighted by the sine lifter
//   w_i = 1 + (L/2) sin(pi i / L),  L = KESIT_LIFTER,  i = 1..n,
// so plain squared distances between stored (weighted) codewords and weighted
// frames are the liftered distance. Each section is trained like a kind-1
// codebook (random selection or reset pre-iterations, then LBG) on its own
// vectors; an utterance scores the sum of its two sections' mean distortions.
// Results: 0 success, 1 failure after a Turkish message.
#ifndef VQ3_H
#define VQ3_H

#include <vector>

enum { KESIT_LIFTER = 22 };

// w[0..n-1] = w_1..w_n of the sine lifter of length L (L >= 1).
void SinusLifter(float* w, int n, int L);

// First frame of section 2 in an utterance of r frames.
inline int KesitSiniri(int r) { return r / 2; }

// Appends the weighted vectors of frames bas..son-1 of ayr.Ci (n floats each,
// n = ayr.kdbaslik.n) to `hedef`, row after row.
void AgirlikliYoneyler(int bas, int son, std::vector<float>& hedef);

// Trains ayr.km from the weighted vectors of the two sections (r1 and r2 rows
// of n floats): a new codebook while ayr.kdbayrak is 0, else each section of
// the codebook in memory refined from its codewords.
int KesitliEgit(const std::vector<float>& kesit1, int r1, const std::vector<float>& kesit2, int r2);

// VQ_Egit for kind 3: the sections of the utterance in ayr.Ci / ayr.r.
int KesitliVQ_Egit();

// Mean distortion of section 1 plus that of section 2 for the utterance in
// ayr against ayr.km; +infinity when a section has no frame or there is no
// usable codebook.
float KesitliOlasilik();

// Nearest codeword of frame k in its section's half of the codebook, its
// squared weighted distance in *uzaklik; -1 and +infinity without inputs.
int KesitliSiniflandir(int k, float* uzaklik);

#endif
