// The recognition scan: an utterance (SOYLEYIS) scored against every
// codebook file of a directory, as the recognition screen, velmo-toplu and
// the benchmarks use it.
// Files are taken in name order, "*.vlm" matched without regard to case; a
// file that cannot be opened is skipped silently, an invalid one, one whose
// codebook cannot be allocated, or one made with other analysis settings
// than the utterance (CozumlemeFarki), after one line naming it and the
// reason, and the scan goes on. The best is the first file with the
// smallest score strictly below PUAN_YOK; codebooks of different kinds are
// compared by their scores on the kinds' common scale (guven.h).
#ifndef TANIMA_H
#define TANIMA_H

#include <functional>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include "lpc.h"
#include "matris.h"
#include "velmo.h"

// The score of "no answer": a codebook wins only with a score strictly below
// it, and a scan that finds none reports it.
inline constexpr float PUAN_YOK = 1000.0f;

struct TANIMA_SONUCU {
    std::string dosya;  // file name, no directory
    char soz[SOZ_BOYU + 1];  // the word (Windows-1254), NUL-terminated
    float puan;         // mean distortion
    int tur = 0;        // kind of the codebook
    KALIBRASYON kal;    // its calibration (kind 3 files that keep one)
};

// Does entry `a` fit better than entry `b`? Of one kind, the smaller
// distortion; of two kinds, the smaller score on the common scale (of a
// stream's utterances with `akis`: TurOlcegi).
bool DahaIyi(const TANIMA_SONUCU& a, const TANIMA_SONUCU& b, bool akis = false);
// Confidence of an entry (guven.h).
double SonucGuveni(const TANIMA_SONUCU& t);

// An utterance as the scan scores it: a recording and the settings it is
// analysed with, and its analyses, one per group of kinds that share their
// end points (kinds 1 and 2 the header's thresholds, kind 3 its learnt
// ones) and, for kind 3, per LPC order, each made when a codebook first
// needs it. The samples stay the
// caller's and must outlive this.
class SOYLEYIS {
public:
    SOYLEYIS(const short* x, int boyut, const KURALDOSYABASLIK& analiz);
    // The analysis the caller already made with `analiz` (its own kind's end
    // points), so it is not made again; it stays the caller's and must
    // outlive this.
    void CozumlemeKoy(const COZUMLEME& c);
    // The analysis a codebook with header `kitap` is scored against: end
    // points with TurIcin(analiz, kitap), then the frames; an utterance in
    // which they find no speech gives an analysis of no frames (it scores
    // +infinity).
    const COZUMLEME& Cozumleme(const KURALDOSYABASLIK& kitap);
    const KURALDOSYABASLIK& Analiz() const { return analiz_; }
    // Is a codebook with header `kitap` scored against the analysis made with
    // the utterance's own settings (the one CozumlemeKoy takes)?
    bool KendiCozumlemesi(const KURALDOSYABASLIK& kitap) const;

private:
    using ANAHTAR = std::pair<int, int>;  // group of kinds, LPC order
    // The analysis settings for `kitap` and the key they are kept under.
    std::pair<KURALDOSYABASLIK, ANAHTAR> Anahtar(const KURALDOSYABASLIK& kitap) const;
    const short* x_;
    int boyut_;
    KURALDOSYABASLIK analiz_;
    std::map<ANAHTAR, const COZUMLEME*> odunc_;
    std::map<ANAHTAR, COZUMLEME> yapilan_;
};

// What a caller hears of a scan, each optional: a file about to be scored
// (its word and file known), the same file scored, and the end of each
// file's part of the messages (skipped or scored), for a screen to move on.
struct TARAMA_DINLEYICISI {
    std::function<void(const TANIMA_SONUCU&)> puanlaniyor;
    std::function<void(const TANIMA_SONUCU&)> puanlandi;
    std::function<void()> satirBitti;
};

// Fills `enIyi` (puan PUAN_YOK, empty word and file when nothing wins) and,
// if given, `hepsi` with every scored file in order. The scan itself says
// only why a file is skipped.
void KuralDosyalariniTara(const char* dizin, SOYLEYIS& soyleyis, TANIMA_SONUCU* enIyi,
                          std::vector<TANIMA_SONUCU>* hepsi, const TARAMA_DINLEYICISI& dinleyici = {});

// Mean distortion of the utterance under the codebook `km` of the header
// `baslik`, against the analysis the codebook's kind needs.
float TurunePuan(const KURALDOSYABASLIK& baslik, const MATRIS& km, SOYLEYIS& soyleyis);

// The analysis settings a codebook with header `kitap` asks for: those of
// the utterance, with the end points of its kind and, for kind 3, its LPC
// order.
KURALDOSYABASLIK TurIcin(const KURALDOSYABASLIK& analiz, const KURALDOSYABASLIK& kitap);

// True when a codebook of header `baslik` (read from `yol`) fits the
// analysis `analiz` made with its kind's end points; otherwise prints the
// one line that skips it.
bool CozumlemeyeUygun(const char* yol, const KURALDOSYABASLIK& baslik, const KURALDOSYABASLIK& analiz);

// Does the name end in ".vlm", in any case?
bool VlmDosyasi(const std::string& ad);

// Names of the ordinary files of `dizin`, sorted by name (none when it cannot
// be read).
std::vector<std::string> DizinDosyalari(const char* dizin);

// The word of a scored entry as UTF-8.
std::string SonucSozu(const TANIMA_SONUCU& t);

#endif
