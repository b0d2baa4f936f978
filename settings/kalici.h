// Kept settings: the file $XDG_CONFIG_HOME/velmo/ayarlar (without
// XDG_CONFIG_HOME, ~/.config/velmo/ayarlar), read at start by velmo,
// velmo-toplu, velmo-dinle and the library's training, and written by the
// settings menu. One setting per line, "name = value", with the names of
// velmo-toplu's options ("ksu = 2", "tur = 3"); blank lines and lines
// starting with '#' are skipped. A value is taken as the settings menu takes
// it: the whole text a number in the setting's range, keeping the rules
// between settings. A line that is not is named in one message and the rest
// is still read. No file: nothing changes, so every program starts from
// today's defaults exactly.
#ifndef KALICI_H
#define KALICI_H

#include <set>
#include <string>

#include "velmo.h"

// The file's path; "" when neither XDG_CONFIG_HOME nor HOME is set.
std::string KaliciAyarDosyasi();

// Applies the kept settings to `a`. The names of the settings taken go to
// *alinan (if given). Returns the messages, one line per line refused
// ("DOSYA:SATIR: ..."), "" when there are none or there is no file.
std::string KaliciAyarlariUygula(AYAR_DEGERLERI& a, std::set<std::string>* alinan = nullptr);

// Writes every setting of `a` to the file (its directory made if missing),
// atomically. Returns "" or why it could not.
std::string KaliciAyarlariYaz(const AYAR_DEGERLERI& a);

#endif
