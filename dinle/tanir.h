// Recognition of one utterance of the stream against codebooks read once.
// The samples are handed to the analysis as the speech segment of a
// recording; they are analysed once per distinct set of analysis settings
// the codebooks were made with (rate, frame length and step, orders, vector
// size: each codebook's own header), and every codebook is scored with the
// scan against the analysis of its own settings. The winner is the scan's:
// the first entry with the smallest score below 1000.
#ifndef TANIR_H
#define TANIR_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tarama.h"

// Reads the codebooks of `dizin` for a stream of `oo` Hz. Files made for
// another rate are left out after one line each in *mesaj. False when the
// directory cannot be listed (the reason is in *mesaj).
bool DinleKitaplariOku(const std::string& dizin, int oo, std::vector<KURALKITABI>& kitaplar, std::string* mesaj);

// A fingerprint of the directory's listing of codebook files (names, sizes,
// modification times): changes when a codebook is added, removed or rewritten.
std::string DizinIzi(const std::string& dizin);

struct DINLE_SONUCU {
    bool kazananVar = false;  // some codebook scored below 1000
    std::string soz;          // the winner's word, UTF-8 ("" when none)
    std::string dosya;        // its file name
    float puan = 1000.0f;     // its score (1000 when none)
    float ikinci = 0.0f;      // best score of another word (infinity when none)
    bool reddedildi = false;  // withheld by --esik or --red
};

// `esik` > 0: rejected when the best score is above it. `red` > 0: rejected
// unless best < red x (best score of another word). Stage messages are
// appended to *mesaj.
DINLE_SONUCU SozceTani(const int16_t* x, size_t n, const std::vector<KURALKITABI>& kitaplar, double esik, double red,
                       std::string* mesaj);

#endif
