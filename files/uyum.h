// Whether a codebook was made from features of the same analysis as an
// utterance. A codebook's distances only mean something against vectors cut,
// windowed and computed the way its own were: same sampling rate, endpoint
// window, frame length and step, orders and vector size, and a kind whose
// features come from that analysis (kinds 1 and 2 are the cepstrum and delta
// cepstrum of the same frames, so they share it). This is the one place that
// decides it; a new kind with its own analysis adds its rule here.
#ifndef UYUM_H
#define UYUM_H

#include <string>

#include "velmo.h"

// "" when a codebook with header `kitap` may be scored against an utterance
// analysed with the settings `analiz`; otherwise the first setting that
// differs, named with both values (UTF-8), e.g.
// "Örnekleme Oranı dosyada 8000, çözümlemede 12000".
std::string CozumlemeFarki(const KURALDOSYABASLIK& kitap, const KURALDOSYABASLIK& analiz);

#endif
