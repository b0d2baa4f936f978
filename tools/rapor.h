// velmo-toplu rapor: a codebook file for people and programs. The file is
// read with the program's own reader and every check it makes; its header,
// settings and codewords come out as the text report beside it (converted
// from Windows-1254 for the terminal) or as one JSON document.
#ifndef RAPOR_H
#define RAPOR_H

#include <string>

#include "cikti.h"
#include "matris.h"
#include "velmo.h"

// The codebook `km` (b.s rows of b.n floats) with its header as JSON: the
// file name, format tag, kind (number and name), word (UTF-8), command
// number, every header setting under its option name, for kind 3 its two
// sections and cepstrum weighting, and the codewords row by row, each float
// in the shortest text that reads back as the same float.
JSON KuralKitabiJson(const std::string& dosya, const KURALDOSYABASLIK& b, const MATRIS& km,
                     const KALIBRASYON& kal = {});

// Reads and checks the codebook file `ad` and writes it on standard output:
// the text report, or with `json` the JSON document. 0; 1 after a message
// naming the file on standard error when it cannot be read or is not a
// valid codebook file (nothing is written on standard output then).
int KuralDosyasiRaporla(const std::string& ad, bool json);

#endif
