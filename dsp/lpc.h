// LPC feature extraction.
// LPC cuts the speech segment ayr.bsl / ayr.uzn into overlapping frames and,
// per frame, pre-emphasises (Onvurgula), windows (Pencerele) and correlates
// (Baglilastir) it, then runs DUrbin, LPC_Cepstrum and LPC_Delta_Cepstrum.
// Results: one row per frame in ayr.Ri, Ai, RFi, Ci, DelCi (allocated here,
// released by the caller through Sifirla), ayr.r rows counted, and the dumps
// "Ci.txt" and "DelCi.txt". 0 success, 1 failure after one printed line.
// All arithmetic is float, every sum taken in index order.
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
