// The listening loop's core, the same for a device and a file: samples go
// into the utterance finder and into a short history of the stream, from
// which each utterance that ends is cut out for recognition and, when takes
// are being collected, cut again with `pay` seconds of the stream before and
// after it once that much has arrived.
#ifndef DINLEYICI_H
#define DINLEYICI_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "bolut.h"

struct SES_PARCASI {
    SOZCE s;                     // the utterance
    int64_t bas = 0;             // stream position of ornek[0]
    std::vector<int16_t> ornek;  // its samples (with the margin for a take)
};

class DINLEYICI {
public:
    DINLEYICI(const BOLUTAYARI& a, double pay, bool kaydet);

    // Feeds samples. Utterances that ended go to `sozceler`; takes whose
    // margin after has arrived go to `kayitlar`.
    void Besle(const int16_t* x, size_t n, std::vector<SES_PARCASI>& sozceler, std::vector<SES_PARCASI>& kayitlar);
    // End of the stream: the last utterance and every pending take.
    void Bitir(std::vector<SES_PARCASI>& sozceler, std::vector<SES_PARCASI>& kayitlar);
    // n samples lost by the device: they read as zeros in takes.
    void Bosluk(size_t n);

    const BOLUTLEYICI& Bolut() const { return bolut_; }

private:
    void Kes(int64_t bas, int64_t bit, SES_PARCASI& p) const;
    void Dagit(std::vector<SOZCE>& biten, std::vector<SES_PARCASI>& sozceler);
    void Hazirlar(bool hepsi, std::vector<SES_PARCASI>& kayitlar);
    void Kirp();

    BOLUTLEYICI bolut_;
    int64_t pay_;
    bool kaydet_;
    int64_t tut_;                   // samples of history always kept
    std::vector<int16_t> tampon_;   // the stream from position tamponBas_
    int64_t tamponBas_ = 0;
    std::deque<SOZCE> bekleyen_;    // takes waiting for their margin after
    std::vector<SOZCE> biten_;
};

#endif
