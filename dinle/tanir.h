// Recognition of one utterance of the stream against the codebooks of a
// directory, read once and again when the directory changes.
// The stream's settings (rate, recording length, endpoint window and
// thresholds) are the command line's, the rest the first valid codebook's
// (in name order). Every codebook is scored with its own analysis: the
// stream's rate, the settings named on the command line, and otherwise its
// own kind, frames, orders and vector size. Codebooks are grouped by the
// analysis they accept (CozumlemeFarki); an utterance is handed to the
// analysis once per group, as the speech segment of a recording (the stream
// has already found its ends), and each codebook is scored against its
// group's features. The winner is the first entry in name order that fits
// best (DahaIyi: kinds compared on their common scale) below PUAN_YOK.
#ifndef TANIR_H
#define TANIR_H

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "kural_dizini.h"
#include "tarama.h"

// Why the settings `b` cannot run a stream: the first of the settings the
// stream and its analysis use (those KitapAyariniAl copies) outside its
// range in the settings table, an LPC order above the autocorrelation order,
// or an endpoint window longer than the recording length; "" when none.
std::string AkisAyariSorunu(const KURALDOSYABASLIK& b);

// The settings of the first valid codebook of `dizin` whose settings can run
// a stream (AkisAyariSorunu) into *baslik; false when there is none.
bool IlkKitapAyari(const std::string& dizin, KURALDOSYABASLIK* baslik);

// Copies into `ayar` the settings fields of `kitap` that the stream and its
// analysis use (rate, recording length, endpoint window and thresholds,
// kind, frame length and step, orders, vector size), except those named in
// `verilen` (option names such as "oo", "yee", "tur").
void KitapAyariniAl(const KURALDOSYABASLIK& kitap, const std::set<std::string>& verilen, KURALDOSYABASLIK& ayar);

// The settings an utterance of the stream `akis` is analysed with for a
// codebook of header `kitap`: the stream's rate, 16-bit mono samples, the
// fields named in `verilen` as the stream has them, every other analysis
// field the codebook's own.
KURALDOSYABASLIK KitapAnalizi(const KURALDOSYABASLIK& kitap, const KURALDOSYABASLIK& akis,
                              const std::set<std::string>& verilen);

struct DINLE_SONUCU {
    bool kazananVar = false;  // some codebook scored below PUAN_YOK
    std::string soz;          // the winner's word, UTF-8 ("" when none)
    std::string dosya;        // its file name
    float puan = PUAN_YOK;    // its score (PUAN_YOK when none)
    float ikinci = 0.0f;      // best score of another word (infinity when none)
    double guven = 0;         // the winner's confidence (guven.h); 0 when none
    bool reddedildi = false;  // withheld by --esik, --red or --hassasiyet
};

// The rules that withhold a winner; each off at 0 (hassasiyet: negative).
struct RED_KURALLARI {
    double esik = 0;         // refused when the best score is above it
    double red = 0;          // refused unless best < red x (best score of another word)
    double hassasiyet = -1;  // refused when its confidence is below 1 - hassasiyet
    // Refuse by confidence only a winner with a calibration: without one
    // (kinds 1 and 2, older kind-3 files) the confidence is a kind's rough
    // scale, which would refuse many genuine one-take words.
    bool yalnizKalibrasyonlu = false;
};

// The codebooks of one directory for one stream, with the analysis each
// group of them needs.
class KITAP_KUMESI {
public:
    KITAP_KUMESI(std::string dizin, const KURALDOSYABASLIK& akis, std::set<std::string> verilen);

    KITAP_KUMESI(const KITAP_KUMESI&) = delete;
    KITAP_KUMESI& operator=(const KITAP_KUMESI&) = delete;

    // Brings the codebooks up to date with the directory (KURAL_DIZINI: the
    // first call reads every file, later ones only those added or changed).
    // A codebook the stream cannot use (another rate, a setting given on the
    // command line that it does not have, or settings AkisAyariSorunu
    // refuses) is skipped after one line naming it; when anything changed,
    // the lines of every skipped file are appended to *mesaj. 1 changed, 0
    // unchanged, -1 the directory cannot be read (the codebooks read before
    // are kept).
    int Tazele(std::string* mesaj);

    const std::vector<KURALKITABI>& Kitaplar() const { return dizin_.Kitaplar(); }
    // The distinct analyses; codebook i is scored against Analizler()[Grup(i)].
    const std::vector<KURALDOSYABASLIK>& Analizler() const { return analizler_; }
    size_t Grup(size_t i) const { return grup_[i]; }

    // Analyses the n samples once per group and scores every codebook; the
    // winner is withheld by the rules `kurallar`. Stage messages are
    // appended to *mesaj; with `hepsi`, every codebook's score in listing
    // order (PUAN_YOK where its group's analysis failed).
    DINLE_SONUCU Tani(const int16_t* x, size_t n, const RED_KURALLARI& kurallar, std::string* mesaj,
                      std::vector<TANIMA_SONUCU>* hepsi = nullptr) const;

private:
    bool Uygun(const std::string& yol, const KURALKITABI& k) const;
    // The scores of the codebooks of every group whose analysis of the n
    // samples succeeds go into `puanlar`; the others are left.
    void Puanla(const int16_t* x, size_t n, std::vector<TANIMA_SONUCU>& puanlar) const;
    KURALDOSYABASLIK akis_;
    std::set<std::string> verilen_;
    KURAL_DIZINI dizin_;
    std::vector<KURALDOSYABASLIK> analizler_;
    std::vector<size_t> grup_;                 // the group of each codebook
    std::vector<std::vector<size_t>> uyeler_;  // the codebooks of each group, in listing order
};

#endif
