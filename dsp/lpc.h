// LPC feature extraction.
// LPC cuts the speech segment ayr.bsl / ayr.uzn into overlapping frames and,
// per frame, pre-emphasises (Onvurgula), windows (Pencerele) and correlates
// (Baglilastir) it, then runs DUrbin, LPC_Cepstrum and LPC_Delta_Cepstrum.
// Results: one row per frame in ayr.Ri, Ai, RFi, Ci, DelCi (allocated here,
// released by the caller through Sifirla), ayr.r rows counted, and the dumps
// "Ci.txt" and "DelCi.txt". 0 success, 1 failure after one printed line.
// All arithmetic is float, every sum taken in index order.
//
// Per frame of N = penu samples x[j], with m, p, n from the codebook header:
//   pre-emphasis   y[0] = x[0],  y[j] = x[j] - 0.98 x[j-1]
//   Hamming        w[j] = 0.54 - 0.46 cos(2 pi j / (N-1)),  h[j] = y[j] w[j]
//   correlation    R[l] = sum_j h[j] h[j+l] / sum_j h[j]^2,   l = 0..m
//                  (a silent frame, R[0] = 0, keeps a row of zeros)
//   Durbin         a[0] = 1, E0 = R[0];  for i = 1..p:
//                    k_i = -(sum_{j<i} a[j] R[i-j]) / E_{i-1},  RF[i] = k_i
//                    a[l] += k_i a[i-l] (l < i),  a[i] = k_i,  E_i = (1 - k_i^2) E_{i-1}
//                  the predictor is A[l] = -a[l], so x[t] ~ sum_l A[l] x[t-l]
//                  (A[0] = 1); orders after an E of 0 stay 0
//   cepstrum       c1 = A1,  c_i = A_i + sum_{j=max(1,i-p)}^{i-1} (j/i) c_j A_{i-j},
//                  i = 1..n, with A_i = 0 for i > p; row of Ci: c_1..c_n, then 0
//   delta          d_i(t) = c_i(t) - c_i(t-1); the first frame after a reset
//                  (grkur != 0) only stores its cepstrum
#ifndef LPC_H
#define LPC_H

#include <cstdint>

int LPC();

// Largest frames x frame length x lags one analysis may cost (a few seconds
// at worst); an analysis that would cost more is refused with a message (the
// frame step is then absurdly short for the window). Programs with a tighter
// time limit may lower it.
extern int64_t cozumleme_is_siniri;

// Same as LPC; with dokum false the two dumps are not written.
int LPC_Cozumle(bool dokum);

void Onvurgula(float* kon, float* onv, int penu);
void Pencerele(float* onv, float* hamm, int penu);
void Baglilastir(float* hamm, int penu, int k);
// Writes rows 0..row-1, columns 0..colum-1 as "i:j   value" lines.
void debug2d_file(const char* filename, int row, int colum, float** data);

// Per-frame steps on row k of the matrices in ayr. The delta cepstrum keeps
// the cepstrum of the frame before; a non-zero grkur empties that store.
void DUrbin(int k);
void LPC_Cepstrum(int k);
void LPC_Delta_Cepstrum(int k, int grkur);

#endif
