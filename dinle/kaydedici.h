// Takes collected while listening: each utterance written as a numbered
// 16-bit mono WAV file ("0001.wav", "0002.wav", ...) in one directory, the
// numbering going on after the highest number already there, so nothing is
// ever overwritten. A file is written under a temporary name and renamed
// when complete.
#ifndef KAYDEDICI_H
#define KAYDEDICI_H

#include <cstddef>
#include <cstdint>
#include <string>

class KAYDEDICI {
public:
    // Makes the directory if it does not exist and finds the next number.
    bool Hazirla(const std::string& dizin, std::string* hata);
    // Writes one take at `oo` Hz; *ad gets the path written.
    bool Yaz(const int16_t* x, size_t n, int oo, std::string* ad, std::string* hata);
    int Sonraki() const { return sonraki_; }

private:
    std::string dizin_;
    int sonraki_ = 1;
};

#endif
