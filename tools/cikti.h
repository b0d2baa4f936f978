// Output of velmo-toplu. Results go to standard output through the console
// layer (Cikti); diagnostics go to standard error (Hata), in the terminal's
// charset; a stage's messages are caught with the message layer's Yakala, or
// reach standard error through HataAlicisi.
// Also the JSON helpers of the tools' machine-readable output (nlohmann-json).
#ifndef CIKTI_H
#define CIKTI_H

#include <nlohmann/json.hpp>
#include <string>

#include "mesaj.h"  // Yakala

// One formatted result (UTF-8 format, through Ceviri) on standard output, in
// the terminal's charset.
void Cikti(const char* bicim, ...) __attribute__((format(printf, 1, 2)));

// One formatted message (UTF-8 format, through Ceviri) on standard error.
void Hata(const char* bicim, ...) __attribute__((format(printf, 1, 2)));
// Bytes already in the terminal's charset, on standard error.
void HataHam(const std::string& metin);


// The text with every byte that is not part of valid UTF-8 replaced by U+FFFD.
std::string Utf8Onar(const std::string& metin);
// Number of characters of a UTF-8 text (for aligning columns).
size_t Utf8Genislik(const std::string& metin);

// The message sink of the tools: stages' messages on standard error, after
// what standard output holds so far.
MESAJ_ALICISI* HataAlicisi();

// The last part of a path: what follows its last '/'.
std::string TabanAd(const std::string& yol);

// The stage messages `m` (terminal charset) with every line beginning with
// the input's name; a newline at the end.
std::string SatirOnekli(const std::string& girdi, const std::string& m);

// The text without terminal control sequences (CSI).
std::string DenetimsizMetin(const std::string& metin);

// The tools' JSON documents keep their keys in the order they were put in.
using JSON = nlohmann::ordered_json;

// The shortest text that reads back as the same float; "null" for infinity
// and NaN.
std::string JsonSayi(float deger);
// A float as a JSON value written with that same shortest text: an integer
// when the text is one (negative zero stays a negative float, -0.0), null
// for infinity and NaN.
JSON JsonSayisi(float deger);
// The JSON value on one line and a newline; bytes that are not UTF-8 in its
// strings become U+FFFD.
std::string JsonMetni(const JSON& belge);

#endif
