// Scores that compare across words and kinds, a confidence, and refusal.
//   Comparable score: the mean distortion divided by the kind's scale
//     (TurOlcegi), so that codebooks of kinds 1, 2 and 3 in one directory
//     rank together; within one kind it ranks exactly as the distortion.
//     The scales were chosen on real speech for the best ranking of a
//     directory mixing kinds 1 and 3. A live stream cuts an utterance at
//     its own ends, not at each kind's end points, which raises kind 1's
//     distances: the stream has its own scale for kinds 1 and 2.
//     (Dividing by each word's own calibration ranks worse: kind 3
//     98.4 % -> 97.1 %, kind 1 94.0 % -> 79.9 %.)
//   Calibrated score c: the distortion divided by what a genuine take of
//     this word scores: its KALIBRASYON, or without one (kinds 1 and 2, and
//     kind-3 files made before calibrations were kept) the kind's typical
//     genuine distortion in a live stream (TurDogalUzakligi: 95 % of
//     genuine takes score below 1.7 times it).
//   Confidence g = 1 / (1 + (c / GUVEN_ORTASI)^GUVEN_EGIMI), in (0, 1]:
//     1 for a perfect fit, 1/2 at c = GUVEN_ORTASI (the default refusal
//     point), falling steeply beyond. It is a monotone reading of c, not a
//     probability.
//   Refusal with sensitivity h (0..1): the best word is refused when
//     g < 1 - h; h = 1 never refuses, h = 0 refuses everything.
#ifndef GUVEN_H
#define GUVEN_H

#include "velmo.h"

inline constexpr double GUVEN_ORTASI = 1.7;
inline constexpr double GUVEN_EGIMI = 6.0;
inline constexpr double HASSASIYET_VARSAYILAN = 0.5;

// The kinds' scales for ranking recordings (kind 1 0.10, kind 2 0.085,
// kind 3 21) and, with `akis`, utterances cut from a stream (kind 1 0.14,
// kind 2 0.12, kind 3 21).
float TurOlcegi(int tur, bool akis = false);
// The genuine distortion of a codebook without a calibration (kind 1 0.18,
// kind 2 0.15, kind 3 22.5), at the default settings.
float TurDogalUzakligi(int tur);
// The genuine score c is measured against: the calibration's when it has
// one, else the kind's scale.
float DogalUzaklik(int tur, const KALIBRASYON& kal);
// Confidence of the distortion `puan` against a codebook of kind `tur`
// with calibration `kal`; 0 for a score that is no number or infinite.
double Guven(float puan, int tur, const KALIBRASYON& kal);
// Does the sensitivity `hassasiyet` refuse a word of confidence `guven`?
bool GuvenleReddedilir(double guven, double hassasiyet);

#endif
