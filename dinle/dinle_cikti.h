// What velmo-dinle shows: the result line of an utterance (tab-separated or
// one JSON object), and the one-line level meter drawn on a terminal's
// standard error.
#ifndef DINLE_CIKTI_H
#define DINLE_CIKTI_H

#include <cstdint>
#include <string>

#include "bolut.h"
#include "tanir.h"

// "START<TAB>END<TAB>WORD<TAB>SCORE<TAB>FILE\n": seconds from the start of
// the input with three decimals, the word in UTF-8 ("" when rejected or
// when nothing won), the score as "%f", the codebook file ("" when nothing
// won); control characters of the word and the file name shown as "\xNN"
// (Gorunur), so that neither can break the line or reach the terminal.
std::string SonucSatiri(const SOZCE& s, int oo, const DINLE_SONUCU& t);
// One JSON object and a newline: baslangic, bitis, soz, puan (null when
// nothing won), dosya, reddedildi, guven (the winner's confidence, 0..1;
// null when nothing won), kesildi.
std::string SonucJson(const SOZCE& s, int oo, const DINLE_SONUCU& t);

// The meter: a bar of `genislik` cells for the level of `orke` (mean
// absolute amplitude) on a dBFS scale from -60 to 0, the level, and the
// state word ("dinliyor", "konuşma", "tanınıyor"). No line ending.
std::string OlcerMetni(int orke, const char* durum, int genislik);

#endif
