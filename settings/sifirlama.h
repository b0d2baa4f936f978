// Reset of the settings record and release of working storage.
// Sifirla(s): 0 full reset; 1 recording; 2 parameters and training settings;
// 3 word identity, file, directory and flag; 4 codebook and analysis
// matrices; 5 analysis matrices only. Other selectors do nothing. The first
// call, whatever its selector, captures the start-up directory.
#ifndef SIFIRLAMA_H
#define SIFIRLAMA_H

#include "velmo.h"

void Sifirla(int s);

// The start-up directory captured by the first Sifirla call ("" before it).
const char* BaslangicDizini();

// The one way a codebook enters the record: km (s rows of n columns, owned
// by the record from now on) replaces the one there, which is released.
void KuralKitabiKur(float** km, int s, int n);

// A file's header and codebook lent to the record for one score; the
// record's own settings and codebook are back when this goes out of scope
// (also when the scoring throws). The lent codebook stays the caller's.
class ODUNC_KURAL_KITABI {
public:
    ODUNC_KURAL_KITABI(const KURALDOSYABASLIK& baslik, float** km);
    ~ODUNC_KURAL_KITABI();
    ODUNC_KURAL_KITABI(const ODUNC_KURAL_KITABI&) = delete;
    ODUNC_KURAL_KITABI& operator=(const ODUNC_KURAL_KITABI&) = delete;

private:
    KURALDOSYABASLIK ayarlar_;
    float** km_;
    int kms_, kmn_;
};

#endif
