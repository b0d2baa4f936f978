// The recognition scan: the utterance in ayr (features of the last analysis)
// scored against every codebook file of a directory, as the recognition
// screen, velmo-toplu and the benchmarks use it.
// Files are taken in name order, "*.vlm" matched without regard to case; a
// file that cannot be opened is skipped silently, an invalid one, one whose
// codebook cannot be allocated, or one made with other analysis settings
// than the utterance (CozumlemeFarki), after one line naming it and the
// reason, and the scan goes on. Each scored file reports its word and
// "uzaklik:..." as messages. The best is the first file with the smallest
// score strictly below PUAN_YOK. The scan leaves the record's settings, codebook,
// file name and flag as they were before it.
#ifndef TANIMA_H
#define TANIMA_H

#include <functional>
#include <string>
#include <vector>

#include "velmo.h"

// The score of "no answer": a codebook wins only with a score strictly below
// it, and a scan that finds none reports it.
inline constexpr float PUAN_YOK = 1000.0f;

struct TANIMA_SONUCU {
    std::string dosya;  // file name, no directory
    char soz[SOZ_BOYU + 1];  // the word (Windows-1254), NUL-terminated
    float puan;         // mean distortion
};

// `analiz` holds the settings the utterance was analysed with. Fills `enIyi`
// (puan PUAN_YOK, empty word and file when nothing wins) and, if given, `hepsi`
// with every scored file in order. `satirBitti`, if given, is called after
// each file's line (skipped or scored), for a screen to move on.
void KuralDosyalariniTara(const char* dizin, const KURALDOSYABASLIK& analiz, TANIMA_SONUCU* enIyi,
                          std::vector<TANIMA_SONUCU>* hepsi,
                          const std::function<void()>& satirBitti = nullptr);

// Mean distortion of the utterance in ayr under the codebook `km` of the
// header `baslik` (OlasilikBul with them in the record); the record's header
// and codebook are put back afterwards.
float KuralKitabiPuani(const KURALDOSYABASLIK& baslik, float** km);

// The utterance analysed a second time, for the kinds whose end points
// differ from those of the first analysis (kind 3 against kinds 1 and 2).
struct EK_COZUMLEME;

// KuralKitabiPuani against the analysis the codebook's kind needs: the
// record's own (made with `analiz`) when the kinds share their end points,
// else the second analysis in `ek`, made from the recording in ayr.kyt on
// first use with `analiz` and the codebook's kind. The record is left as it was.
float TurunePuan(const KURALDOSYABASLIK& baslik, float** km, const KURALDOSYABASLIK& analiz, EK_COZUMLEME& ek);

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
