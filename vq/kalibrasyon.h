// What a genuine take of a word scores against its codebook (KALIBRASYON,
// velmo.h), learnt when the codebook is trained.
//   Several takes pooled: each take i is scored against a codebook trained
//     the same way on the other takes (held out); olcek is the mean of those
//     scores, oz the mean score of the takes against the codebook itself.
//   One take: olcek = TEK_ALIM_CARPANI x oz. A codebook fits its one take
//     far better than the word's other takes; the factor is the median
//     ratio measured on real speech (kind 3, default settings).
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

#endif
