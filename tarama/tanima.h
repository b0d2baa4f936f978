// The recognition scan: the utterance in ayr (features of the last analysis)
// scored against every codebook file of a directory, as the recognition
// screen, velmo-toplu and the benchmarks use it.
// Files are taken in name order, "*.vlm" matched without regard to case; a
// file that cannot be opened is skipped silently, an invalid one, or one made
// for longer vectors than the utterance has, after one line naming it. Each
// scored file leaves its word and "uzaklik:..." on the console. The best is
// the first file with the smallest score strictly below 1000.
#ifndef TANIMA_H
#define TANIMA_H

#include <string>
#include <vector>

#include "velmo.h"

struct TANIMA_SONUCU {
    std::string dosya;  // file name, no directory
    char soz[SOZ_BOYU + 1];  // the word (Windows-1254), NUL-terminated
    float puan;         // mean distortion
};

// `nAnaliz` is the vector size the utterance was analysed with. Fills `enIyi`
// (puan 1000, empty word and file when nothing wins) and, if given, `hepsi`
// with every scored file in order. Leaves in ayr the header and codebook of
// the last file read, as the screen does.
void KuralDosyalariniTara(const char* dizin, int nAnaliz, TANIMA_SONUCU* enIyi,
                          std::vector<TANIMA_SONUCU>* hepsi);

// Does the name end in ".vlm", in any case?
bool VlmDosyasi(const std::string& ad);

// Names of the ordinary files of `dizin`, sorted by name (none when it cannot
// be read).
std::vector<std::string> DizinDosyalari(const char* dizin);

// The word of a scored entry as UTF-8.
std::string SonucSozu(const TANIMA_SONUCU& t);

#endif
