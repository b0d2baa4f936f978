// What a genuine take of a word scores against its codebook (KALIBRASYON,
// velmo.h), learnt when the codebook is trained.
//   Several takes pooled: each take i is scored against a codebook trained
//     the same way on the other takes (held out); olcek is the mean of those
//     scores, oz the mean score of the takes against the codebook itself.
//   One take: olcek = TEK_ALIM_CARPANI x oz, at most TEK_ALIM_SINIRI. A
//     codebook fits its one take far better than the word's other takes;
//     the factor is the median ratio measured on real speech (kind 3,
//     default settings), but it varies from 1.6 to 7.4 between words, so
//     the estimate is capped at what other takes typically score against a
//     one-take kind-3 codebook (far above kinds 1 and 2's distances, so it
//     never binds them). Measured in streams: with the cap 85 % of taught
//     words right and 9 % of untaught accepted, without it 93 % and 57 %.
//   Takes one after another (a codebook refined by a new take): the new
//     take scored against the codebook before it is a held-out score, and
//     olcek becomes the mean of such scores.
#ifndef KALIBRASYON_H
#define KALIBRASYON_H

#include <vector>

#include "lpc.h"
#include "matris.h"
#include "velmo.h"

inline constexpr float TEK_ALIM_CARPANI = 3.5f;
inline constexpr float TEK_ALIM_SINIRI = 26.0f;

// The estimate from a take's own distance `oz` alone.
float TekAlimOlcegi(float oz);

// The calibration of the kind-3 codebook `km` pooled from the analyses
// `alimlar` (one per take) with the settings `ayar`. Takes with no frames
// are left out; a held-out codebook that cannot be trained is left out too.
KALIBRASYON HavuzKalibrasyonu(const std::vector<const COZUMLEME*>& alimlar, const AYAR_DEGERLERI& ayar,
                              const MATRIS& km);

// After one take trained into a codebook: `onceki` the calibration of the
// codebook it refined (none for a new one), `ayriPuan` the take's score
// against that codebook before the training (ignored for a new one), `oz`
// its score against the trained codebook.
KALIBRASYON SiraliKalibrasyon(const KALIBRASYON& onceki, bool yeni, float ayriPuan, float oz);

// One take trained as the word screens train it: a new codebook from `oz`
// when `baslangic` is null, else *baslangic refined, with the settings
// `ayar`. On success `kal` becomes the new codebook's calibration
// (SiraliKalibrasyon); on failure (an empty codebook, after a message) it
// stays.
MATRIS SiraliAlimEgit(const EGITIM_AYARLARI& ayar, const COZUMLEME& oz, const KURALDOSYABASLIK& b,
                      const MATRIS* baslangic, KALIBRASYON& kal);

#endif
