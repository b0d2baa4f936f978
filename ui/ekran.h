// Helpers shared by the screens: directory listings, typed text, the word.
#ifndef EKRAN_H
#define EKRAN_H

#include <string>
#include <vector>

// Names of the ordinary files of `dizin`, sorted by name ("" when it cannot
// be read).
std::vector<std::string> DizinDosyalari(const char* dizin);

// Typed text (terminal charset) to UTF-8; false, with a message, when the
// bytes are not text of the terminal.
bool UcbirimMetni(const std::string& yazilan, std::string& utf8);

// The word of a codebook header for the screen: Windows-1254 to UTF-8, at
// most 20 bytes, padded with blanks to `genislik` characters.
std::string SozGoster(const char* soz, int genislik);

// `metin` padded with blanks to `genislik` characters (UTF-8 aware).
std::string Doldurulmus(const std::string& metin, int genislik);

#endif
