// The codebook files of a directory read once and kept, for scoring many
// utterances without reading the files again. The listing, the skipping and
// the scoring follow the one-pass scan (KuralDosyalariniTara, tanima.h):
// ordinary files whose name ends in ".vlm" in any case, in name order; a file
// that cannot be opened is skipped silently, an invalid one, one made with
// other analysis settings than the utterances or one whose codebook cannot
// be allocated after one line. Scoring is TurunePuan.
#ifndef TARAMA_H
#define TARAMA_H

#include <functional>
#include <string>
#include <vector>

#include "tanima.h"
#include "velmo.h"

struct KURALKITABI {
    std::string ad;           // bare file name
    KURALDOSYABASLIK baslik;
    MATRIS km;
    KALIBRASYON kal;
};

// Reads the listing of `dizin` into `kitaplar` (emptied first). Messages
// of skipped files are appended to *mesaj. False when the directory cannot
// be listed.
bool KuralKitaplariOku(const std::string& dizin, const KURALDOSYABASLIK& analiz, std::vector<KURALKITABI>& kitaplar,
                       std::string* mesaj);
// The same, each codebook checked against the analysis `analiz` gives for
// its own header (for utterances analysed once per group of codebooks).
bool KuralKitaplariOku(const std::string& dizin,
                       const std::function<KURALDOSYABASLIK(const KURALDOSYABASLIK&)>& analiz,
                       std::vector<KURALKITABI>& kitaplar, std::string* mesaj);

// The entry of codebook `k` with the score `puan`: its file name, its word
// (NUL-terminated) and the score.
TANIMA_SONUCU KitapSonucu(const KURALKITABI& k, float puan);

// Scores of the utterance against every codebook, in listing order, as the
// screen's scan gives them (TurunePuan). The messages of the scoring are
// dropped.
std::vector<TANIMA_SONUCU> KuralKitaplariPuanla(const std::vector<KURALKITABI>& kitaplar, SOYLEYIS& soyleyis);
// The same for the codebooks at the indices `secilen` only (in that order):
// puanlar[i] becomes KitapSonucu of codebook i
// and its score; the other entries are left alone. `puanlar` has an entry
// for every codebook.
void KuralKitaplariPuanla(const std::vector<KURALKITABI>& kitaplar, const std::vector<size_t>& secilen,
                          std::vector<TANIMA_SONUCU>& puanlar, SOYLEYIS& soyleyis);

// Index of the winning entry: the first that fits best (DahaIyi) of those
// scoring strictly below PUAN_YOK; -1 when none.
int EnYakinKitap(const std::vector<TANIMA_SONUCU>& puanlar, bool akis = false);

// The smallest score among the entries whose word (as SonucSozu gives it)
// differs from that of entry `kazanan`; infinity when there is none.
float BaskaSozunEnIyisi(const std::vector<TANIMA_SONUCU>& puanlar, int kazanan);

// The ratio rule: with `red` > 0 the winner's score `puan` is withheld
// unless it is below red x `ikinci` (the best score of another word);
// never when no other word scored (`ikinci` not finite).
bool OranlaReddedilir(float puan, float ikinci, double red);

#endif
