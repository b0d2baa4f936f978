// Reset of the settings record and release of working storage.
// Sifirla(s): 0 full reset; 1 recording; 2 parameters and training settings;
// 3 word identity, file, directory and flag; 4 codebook and analysis
// matrices; 5 analysis matrices only. Other selectors do nothing. The first
// call, whatever its selector, captures the start-up directory.
#ifndef SIFIRLAMA_H
#define SIFIRLAMA_H

#include "durum.h"

void Sifirla(int s);

// The start-up directory captured by the first Sifirla call ("" before it).
const char* BaslangicDizini();

// The one way a codebook enters the record: km replaces the one there.
void KuralKitabiKur(MATRIS km);

#endif
