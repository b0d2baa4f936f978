// Recordings kept as sound files: every take saved as a numbered 16-bit mono
// WAV file in one directory, so that it can be trained from later
// (velmo-toplu egit --havuz) or drawn (ciz).
//
// Names are "NNNN-ETİKET.wav", or "NNNN.wav" without a label. The number is one
// more than the highest number any "NNNN….wav" name of the directory carries
// (a velmo-dinle "0007.wav" counts too), so the numbering goes on after the
// files already there. A name is only ever created new, never written over:
// the name is taken with O_EXCL (a second program saving at the same moment
// takes the next number) and the sound is written under a temporary name that
// replaces the taken, still empty file only once complete. Ctrl-C in the
// middle removes both (ortak/yarim.h); at the very moment of the
// replacement it may leave the taken name empty, never remove a whole take.
#ifndef KAYIT_DOSYASI_H
#define KAYIT_DOSYASI_H

#include <cstdint>
#include <string>

// Makes `dizin` (with its parents) when missing and checks that files can be
// created in it. 0, or 1 after one Turkish line saying why not.
int KayitDiziniHazirla(const std::string& dizin);

// The highest number of the directory's numbered WAV names; 0 when none.
long EnBuyukKayitNumarasi(const std::string& dizin);

// Saves `n` samples at `oo` Hz in `dizin` as the next numbered file, labelled
// `etiket` (UTF-8; blanks, path separators and control characters become
// "_"; empty: no label). *ad (may be null) gets the path. 0 on success; 1
// after one Turkish line, leaving no file behind.
int KayitDosyasiYaz(const std::string& dizin, const std::string& etiket, const int16_t* x, size_t n, int oo,
                    std::string* ad);

#endif
