// Recordings kept as sound files: every take saved as a numbered 16-bit mono
// WAV file in one directory, so that it can be trained from later
// (velmo-toplu egit --havuz) or drawn (ciz).
//
// Names are "NNNN-ETİKET.wav", or "NNNN.wav" without a label. The number is one
// more than the highest number any "NNNN….wav" name of the directory carries
// (a velmo-dinle "0007.wav" counts too), so the numbering goes on after the
// files already there. A name is only ever created new, never written over:
// the sound is written in full under a fresh temporary name
// (".velmo-kayit-" and six characters, made by mkstemp, so no planted link
// or pipe is followed) and then takes its number only if no file holds that
// name at that moment (a second program saving meanwhile moves it on to the
// next number): the name appears with the whole take in it (rename with
// RENAME_NOREPLACE, or a hard link), so a numbered name never stands empty,
// not even for a moment, whenever the program is killed. Ctrl-C in the
// middle removes the temporary file (ortak/yarim.h); one left by a killed
// program (also an earlier version's ".NNNN.wav.yaziliyor") is removed by
// the next KayitDiziniHazirla once it is a minute old.
#ifndef KAYIT_DOSYASI_H
#define KAYIT_DOSYASI_H

#include <cstdint>
#include <string>
#include <vector>

// Makes `dizin` (with its parents) when missing, removes the temporary files
// of killed saves and checks that files can be created in it and that a
// number is left for the next take (numbers stop at 999999999). 0, or 1
// after one Turkish line saying why not.
int KayitDiziniHazirla(const std::string& dizin);

// The highest number of the directory's numbered WAV names; 0 when none.
long EnBuyukKayitNumarasi(const std::string& dizin);

// Saves `n` samples at `oo` Hz in `dizin` as the next numbered file, labelled
// `etiket` (UTF-8; blanks, path separators and control characters become
// "_"; empty: no label). *ad (may be null) gets the path. 0 on success; 1
// after one Turkish line, leaving no file behind.
int KayitDosyasiYaz(const std::string& dizin, const std::string& etiket, const int16_t* x, size_t n, int oo,
                    std::string* ad);

// The takes kept in `dizin` with the label `etiket`: the ordinary files named
// as KayitDosyasiYaz names them ("NNNN-ETİKET.wav"), by number; none when the
// directory cannot be read.
std::vector<std::string> EtiketinKayitlari(const std::string& dizin, const std::string& etiket);

#endif
