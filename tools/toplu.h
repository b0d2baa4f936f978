// The work of velmo-toplu: training a word from sound files as the word
// training menus would, recognising files as the recognition screen does,
// and measuring accuracy over a labelled set. Each step calls the program's
// own stages on values (KonusmaBul, LpcCozumle, EGITICI, Puanla, the scan,
// the codebook writers); a sound file stands in for the microphone's
// recording.
#ifndef TOPLU_H
#define TOPLU_H

#include <optional>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "havuz.h"
#include "kural_dizini.h"
#include "lpc.h"
#include "sinir.h"
#include "tarama.h"
#include "velmo.h"
#include "wav.h"

// The recognition screen records this long, whatever the settings say.
enum { TANIMA_SURESI = 2 };

struct EGITIMAYARI {
    AYAR_DEGERLERI ayar = VarsayilanAyarlar();  // the word in ayar.kdbaslik.soz
    std::string cikti;     // codebook file to write
    bool havuz = false;    // one new codebook from the vectors of all takes
    bool uzerine = false;  // an existing file may be replaced
    std::string dokum;     // directory for the stages' dumps; "" for none
    SESAYARI ses;
};

// Trains the word of e.ayar from the takes `girdiler` and writes the
// codebook file and its report. Stage messages go to standard output,
// failures of files to standard error. A take with no sound (BosSesDosyasi)
// is named in one line and skipped. 0 when every other take trained and the
// file was written; 1 otherwise (the file is still written when at least
// one take trained).
int TopluEgit(const std::vector<std::string>& girdiler, const EGITIMAYARI& e);

struct TANIMA {
    bool okundu = false;                 // the file could be read
    std::vector<TANIMA_SONUCU> puanlar;  // every scored codebook, in order
    int kazanan = -1;                    // index of the best, -1 none
    float enyakin = PUAN_YOK;            // its score (PUAN_YOK when none)
    bool reddedildi = false;             // the rejection rule withheld it
    double guven = 0;                    // confidence of the best (guven.h)
};

// Recognises one file as one cycle of the recognition screen, with the
// settings `komut`: a 2-second recording, end points, analysis, then the
// scan. The codebooks are `dizin`'s, scanned as the screen scans them (its
// lines of skipped files said again for each file), or without it
// `kitaplar`, read once. The analysis with `komut` itself is made only when
// a codebook is scored against it or `dokum` asks for its dumps; its end
// points are always found (their lines are the screen's). Stage messages
// are appended to *mesaj. With `red` above 0 the answer is withheld unless
// the best score is below red times the best score of another word; with
// `hassasiyet` of 0..1 (negative: off) also when the confidence refuses it
// (GuvenleReddedilir).
TANIMA TekTani(const std::string& girdi, const KURAL_DIZINI* dizin, const std::vector<KURALKITABI>* kitaplar,
               const KURALDOSYABASLIK& komut, const SESAYARI& ses, const std::string& dokum, double red,
               double hassasiyet, std::string* mesaj);

#endif
