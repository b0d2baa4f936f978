// The screens' state: the record `ayr`, every setting as the screens show
// and edit it, the recording of the last take, its speech segment, its
// analysis and the codebook in memory. Only the screens (ui/, app/) use it;
// they call the stages through the thin functions of asamalar.h.
#ifndef DURUM_H
#define DURUM_H

#include "lpc.h"
#include "matris.h"
#include "velmo.h"

struct AYARLAR : AYAR_DEGERLERI {
    char kdad[KDAD_BOYU];    // path of the current codebook file, "" when none
    char yol[YOL_BOYU];      // working directory
    int kdbayrak;            // 1 while km holds the codebook of the file kdad
    char* kyt;               // sound buffer (16-bit signed LE PCM), owned
    int kytu;                // its length in bytes
    char* bsl;               // first byte of the speech inside kyt
    int uzn;                 // length of the speech in bytes
    COZUMLEME oz;            // analysis of the speech: oz.r frames
    MATRIS km;               // codebook: s rows of n
    KALIBRASYON kal;         // what a genuine take scores against km (kept with kind 3)
};

extern AYARLAR ayr;
extern const char* nul;  // the empty text: no codebook file chosen

#endif
