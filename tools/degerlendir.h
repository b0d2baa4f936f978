// Accuracy over a labelled set of recordings, in three steps: collecting
// (labels from a list or from the file names, then every recording
// recognised against codebooks read once, in worker processes), aggregating
// (a confusion matrix, accuracy per word, the wrong answers) and rendering
// (a text report or one JSON document).
#ifndef DEGERLENDIR_H
#define DEGERLENDIR_H

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "tarama.h"
#include "velmo.h"
#include "wav.h"

// A recording and the word said in it (UTF-8).
struct ETIKETLI {
    std::string dosya, soz;
};

// Reads "kayıt,sözcük" lines (CSV: fields may be quoted, "#" starts a
// comment line, a first line naming the columns is skipped); relative paths
// are taken from the list's directory. False after a message naming the line.
bool ListeOku(const std::string& liste, std::vector<ETIKETLI>& etiketli);
// Labels each recording with the first group of `desen` (the whole match
// when there is no group) in its base name. A name it does not fit is named
// on standard error and left out; false when that happened.
bool DesenleEtiketle(const std::regex& desen, const std::vector<std::string>& dosyalar,
                     std::vector<ETIKETLI>& etiketli);

// What evaluation keeps of one recognition, and its bytes between processes.
struct KAYITSONUCU {
    bool okundu = false, yanit = false;
    std::string bulunan;  // the answer's word (UTF-8) when there is one
    float enyakin = PUAN_YOK;
    std::string mesaj;  // the stages' messages
};
std::string Paketle(const KAYITSONUCU& k);
KAYITSONUCU Coz(const std::string& paket);  // an empty result when the bytes are cut short

struct SAYAC {
    int toplam = 0, dogru = 0;
};
struct YANLIS {
    std::string dosya, beklenen, bulunan;  // bulunan: YANITSIZ when nothing was found
    float uzaklik;
};
// The column of recordings that got no answer.
extern const char* const YANITSIZ;

// The counts of one evaluation.
struct DEGERLENDIRME {
    std::string dizin;                   // the codebooks' directory
    size_t kitapSayisi = 0;
    std::string turler;                  // the codebooks' kinds: "tür 1" or "tür 1+3"
    std::set<std::string> sozler;        // the codebooks' words and the labels
    std::map<std::string, std::map<std::string, int>> karisiklik;  // expected -> found -> count
    std::map<std::string, SAYAC> sozBasina;
    SAYAC genel;
    std::vector<YANLIS> yanlislar;       // in the recordings' order
    std::vector<std::string> okunamayan;
    double sure = 0;                     // seconds the recognition took
};

// Starts the counts: the codebooks' words and kinds, and the labels.
void DegerlendirmeBaslat(const std::string& dizin, const std::vector<KURALKITABI>& kitaplar,
                         const std::vector<ETIKETLI>& etiketli, DEGERLENDIRME& d);
// Counts one recognition of `e`.
void SonucuSay(const ETIKETLI& e, const KAYITSONUCU& k, DEGERLENDIRME& d);
// The matrix's columns: every word in order, then YANITSIZ.
std::vector<std::string> Sutunlar(const DEGERLENDIRME& d);

struct DEGERLENDIRMEAYARI {
    KURALDOSYABASLIK komut = VarsayilanAyarlar().kdbaslik;  // what every recording is analysed with
    std::string dizin;
    SESAYARI ses;
    double red = 0;         // the rejection rule of TekTani; 0 off
    double hassasiyet = -1; // TekTani's refusal by confidence; negative off
    int isler = 1;          // worker processes
    bool ayrinti = false;   // the stages' messages on standard error, by recording
};
// Recognises every recording with the codebooks `kitaplar` and the settings
// a.komut, counting into `d` in the recordings' order. 0, or 1 when a
// recording could not be read.
int DegerlendirmeTopla(const std::vector<ETIKETLI>& etiketli, const std::vector<KURALKITABI>& kitaplar,
                       const DEGERLENDIRMEAYARI& a, DEGERLENDIRME& d);

// The report for people (UTF-8) and the JSON document.
std::string DegerlendirmeMetni(const DEGERLENDIRME& d);
std::string DegerlendirmeJson(const DEGERLENDIRME& d);

#endif
