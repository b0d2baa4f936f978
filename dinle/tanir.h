// Recognition of one utterance of the stream against codebooks read once.
// The settings come from the codebooks: the listening settings take every
// field the command line did not give from the first valid codebook of the
// directory (in name order); the shared scan then keeps the codebooks made
// with that analysis and names the others. Each utterance is handed to the
// analysis as the speech segment of a recording and scored by the scan; the
// winner is the scan's: the first entry with the smallest score below 1000.
#ifndef TANIR_H
#define TANIR_H

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "tarama.h"

// The settings of the first valid codebook of `dizin` into *baslik; false
// when there is none.
bool IlkKitapAyari(const std::string& dizin, KURALDOSYABASLIK* baslik);

// Copies into `ayar` the settings fields of `kitap` that the stream and its
// analysis use (rate, recording length, endpoint window and thresholds,
// frame length and step, orders, vector size), except those named in
// `verilen` (option names such as "oo", "yee").
void KitapAyariniAl(const KURALDOSYABASLIK& kitap, const std::set<std::string>& verilen, KURALDOSYABASLIK& ayar);

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

// Analyses the n samples with the settings `analiz` and scores them against
// `kitaplar`. `esik` > 0: rejected when the best score is above it. `red` >
// 0: rejected unless best < red x (best score of another word). Stage
// messages are appended to *mesaj. The record is left as it was found,
// without a recording or analysis.
DINLE_SONUCU SozceTani(const int16_t* x, size_t n, const std::vector<KURALKITABI>& kitaplar,
                       const KURALDOSYABASLIK& analiz, double esik, double red, std::string* mesaj);

#endif
