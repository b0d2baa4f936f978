// Command-line values of velmo-toplu: strict number reading (the whole
// text must be the number), the settings options named after their fields,
// and the sound options. Every settings option writes its field of ayr.
#ifndef SECENEK_H
#define SECENEK_H

#include <string>

#include "wav.h"

// The whole text is a decimal integer that fits an int ("+" allowed).
bool TamsayiCoz(const std::string& metin, int& deger);
// The whole text is a finite decimal number.
bool GercelCoz(const std::string& metin, double& deger);
bool FloatCoz(const std::string& metin, float& deger);

// A settings option: "--oo" and the others, without the dashes.
bool AyarSecenegiMi(const std::string& ad);
// Sets the setting `ad` from `deger`. False (with *hata set) when the value
// is not a number of the field's kind.
bool AyarSecenegiUygula(const std::string& ad, const std::string& deger, std::string* hata);
// The settings options' help lines, with the current values of ayr.
std::string AyarYardimi();

// The sound options --dolgu, --tepe, --gurultu.
bool SesSecenegiMi(const std::string& ad);
bool SesSecenegiUygula(const std::string& ad, const std::string& deger, SESAYARI& ayar, std::string* hata);
std::string SesYardimi();

// Checks the settings that make the recording itself (rate, duration).
bool KayitAyarlariGecerli(int saniye, std::string* hata);

#endif
