// Helpers shared by the screens: typed text, the word. (Directory listings,
// DizinDosyalari, come from the recognition scan's tanima.h.)
#ifndef EKRAN_H
#define EKRAN_H

#include <string>
#include <vector>

#include "tanima.h"

// Typed text (terminal charset) to UTF-8; false, with a message, when the
// bytes are not text of the terminal.
bool UcbirimMetni(const std::string& yazilan, std::string& utf8);

// The word of a codebook header for the screen: Windows-1254 to UTF-8, at
// most 20 bytes, padded with blanks to `genislik` characters.
std::string SozGoster(const char* soz, int genislik);

// The characters of UTF-8 text, as the columns it takes.
int MetinGenisligi(const std::string& metin);

// `metin` padded with blanks to `genislik` characters (UTF-8 aware).
std::string Doldurulmus(const std::string& metin, int genislik);

#endif
