// LPC feature extraction.
// LpcCozumle cuts a speech segment into overlapping frames and, per frame,
// pre-emphasises (Onvurgula), windows (Pencerele) and correlates
// (Baglilastir) it, then runs DUrbin, LPC_Cepstrum and LPC_Delta_Cepstrum.
// It returns one row per frame in the matrices Ri, Ai, RFi, Ci, DelCi of a
// COZUMLEME with r frames counted, or nothing after one line through the
// message layer. The dumps "Ci.txt" and "DelCi.txt" are the caller's
// (MatrisDokumu). All arithmetic is float, every sum taken in index order.
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
//   delta          d_i(t) = c_i(t) - c_i(t-1), i = 1..n; the first frame's
//                  row stays 0
#ifndef LPC_H
#define LPC_H

#include <cstdint>
#include <optional>
#include <vector>

#include "matris.h"
#include "velmo.h"

// The features of one utterance: rows 0..r-1 hold frames (one spare row of
// zeros after them). Columns: Ai and RFi p + 1, Ri n + 2, Ci and DelCi n + 1
// (the last one 0).
struct COZUMLEME {
    MATRIS Ri, Ai, RFi, Ci, DelCi;
    int r = 0;
};

// Largest frames x frame length x lags one analysis may cost (a few seconds
// at worst); an analysis that would cost more is refused with a message (the
// frame step is then absurdly short for the window). Programs with a tighter
// time limit may lower it.
extern int64_t cozumleme_is_siniri;

// The analysis of the `uzunluk` samples from `bas` of the recording x of
// `toplam` samples, with the settings of `b`; frames that reach past the end
// of the recording read zeros there. Nothing (after one line) when a setting
// is out of range, the work limit is passed or memory runs out.
std::optional<COZUMLEME> LpcCozumle(const short* x, int toplam, int bas, int uzunluk, const KURALDOSYABASLIK& b);
// Whether LpcCozumle takes `uzunluk` samples with the settings of `b` (their
// ranges, the work limit); false after the line LpcCozumle would say.
bool CozumlemeAlinir(int uzunluk, const KURALDOSYABASLIK& b);

void Onvurgula(const float* kon, float* onv, int penu);
// The Hamming window of `penu` samples (penu >= 2); one sample: { 0 }.
std::vector<float> HammingPenceresi(int penu);
void Pencerele(const float* onv, const float* pencere, float* hamm, int penu);
// R[0..m] of the windowed frame (normalised by R[0]; a silent frame gives 0s).
void Baglilastir(const float* hamm, int penu, int m, float* R);
// A[0..p] and RF[1..p] from R[0..p].
void DUrbin(const float* R, int p, float* A, float* RF);
// c[0..n-1] = c_1..c_n from A[0..p], then c[n] = 0.
void LPC_Cepstrum(const float* A, int n, int p, float* c);
// d[0..n-1] = c[i] - onceki[i].
void LPC_Delta_Cepstrum(const float* c, const float* onceki, int n, float* d);

// Writes rows 0..satir-1, columns 0..sutun-1 of m as "i:j   value" lines (a
// matrix too small for them writes an empty file).
void MatrisDokumu(const char* dosyaadi, const MATRIS& m, int satir, int sutun);

#endif
