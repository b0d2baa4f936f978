// Recording as the screens do it, for a person at the microphone: "Konuşun
// (N s)…" once the device listens (on a terminal followed by the seconds left,
// updated in place; on a pipe or file nothing is redrawn), then "Kayıt bitti."
// with the peak level in dBFS and a warning when the take is too weak.
// With a directory for the takes (velmo --kayitlar), every take is also saved
// there as a numbered WAV file, and the line after says under which name; a
// take that cannot be saved says so in one line and is used all the same.
#ifndef KONUSMA_H
#define KONUSMA_H

#include <string>

// Kaydet() with those lines around it; Kaydet's result. `etiket` (UTF-8)
// labels the kept file: the word being trained, or empty.
int EkrandaKaydet(const std::string& etiket = "");

// The directory every take is kept in ("": none), an absolute path, or a path
// that stays right when the program changes its working directory.
void KayitlarDiziniKur(const std::string& dizin);
const std::string& KayitlarDizini();

#endif
