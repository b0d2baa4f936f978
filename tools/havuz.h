// One new codebook from several takes of a word at once ("pooled"), as
// velmo-toplu egit --havuz and the existing-word menu train it. Kinds 1 and
// 2 pool the frames of every take and train them as one long take; kind 3
// pools each time section of every take on its own and learns the codebook's
// calibration by holding each take out in turn (HavuzKalibrasyonu,
// kalibrasyon.h). Also the
// two steps every take goes through first: its end points and its analysis.
// The stages' messages go through the message layer (Yaz); the callers
// decide where they appear.
#ifndef HAVUZ_H
#define HAVUZ_H

#include <optional>
#include <string>
#include <vector>

#include "lpc.h"
#include "matris.h"
#include "sinir.h"
#include "velmo.h"

// The two steps the screens take on a recording x of the settings b, with
// the dumps written into the directory `dokum` ("" for none). The end
// points: the search, its table "sinir.txt", then the line that says no
// speech was found.
UC_NOKTALAR UcNoktalariBul(const std::vector<short>& x, const KURALDOSYABASLIK& b, const std::string& dokum);
// The analysis of the speech u found in x (of no samples when it found
// none) and its "Ci.txt" and "DelCi.txt"; nothing after a message.
std::optional<COZUMLEME> KonusmayiCozumle(const std::vector<short>& x, const UC_NOKTALAR& u,
                                          const KURALDOSYABASLIK& b, const std::string& dokum);

// The score line a training screen shows under a trained codebook
// ("uzaklik:"): the mean distortion of oz under km, which is returned.
float PuanSatiri(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km);

// The vectors of the takes gathered so far.
struct HAVUZ {
    bool kesitli = false;          // kind 3: the sections pooled apart
    std::vector<float> ci, delci;  // rows of n + 1, as the analysis holds them
    int r = 0;                     // frames of every take
    std::vector<float> kesit1, kesit2;
    int r1 = 0, r2 = 0;
    int alimSayisi = 0;              // takes in the pool
    std::vector<COZUMLEME> alimlar;  // kind 3: every take's analysis, for the score and the calibration
    // Kind 3 scores the last take that joined; true when the score line is to
    // score no take instead (velmo-toplu: the last take read had no speech).
    bool sonAlimYok = false;
};

// Finds the speech of the recording x, analyses it with the settings b
// (dumps into `dokum`, "" for none) and adds its vectors to h, saying how
// many ("LPC/DLPC yöneyi: N"). False when it held none to add.
bool HavuzaEkle(const std::vector<short>& x, const KURALDOSYABASLIK& b, const std::string& dokum, HAVUZ& h);

// One new codebook trained from the pool with `ayar`, and its score line
// ("uzaklik:"): for kind 3 the last take's score, otherwise that of all the
// pooled frames; the score goes to *puan too. Empty after a message when it
// cannot be trained.
MATRIS HavuzuEgit(const HAVUZ& h, const AYAR_DEGERLERI& ayar, float* puan = nullptr);

// Kind 3: what a genuine take scores against km, the codebook trained from
// the pool (HavuzKalibrasyonu, which trains once more for each take); none
// for the other kinds.
KALIBRASYON HavuzunKalibrasyonu(const HAVUZ& h, const AYAR_DEGERLERI& ayar, const MATRIS& km);

#endif
