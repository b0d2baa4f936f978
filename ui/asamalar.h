// The stages as the screens call them. Each thin function reads its inputs
// from the record `ayr`, calls the stage with them as values and stores the
// result back; the dumps ("sinir.txt", "Ci.txt", "DelCi.txt") are written
// into the current directory. Results: 0 success, 1 failure after a message.
#ifndef ASAMALAR_H
#define ASAMALAR_H

#include <string>
#include <vector>

#include "durum.h"

// Records ayr.kdbaslik.ksu seconds into ayr.kyt / ayr.kytu (the caller has
// released the earlier recording with Sifirla(1)).
int Kaydet();
// The speech of the recording into ayr.bsl / ayr.uzn, and "sinir.txt".
int UcNoktalar();
// The analysis of the speech into ayr.oz, and "Ci.txt" and "DelCi.txt".
int LPC();
// Trains ayr.km from ayr.oz: a new codebook while ayr.kdbayrak is 0, else
// the codebook in memory refined.
int VQ_Egit();
// The mean distortion of ayr.oz under ayr.km; says "uzaklik:..." as a message.
float OlasilikBul();

// How a pooled training went: takes pooled and left out, their frames, and
// the score of the codebook trained.
struct HAVUZ_OZETI {
    int alim = 0, atlanan = 0, cerceve = 0;
    float puan = 0;
};
// Trains a new codebook into ayr.km, with its calibration in ayr.kal, from
// the takes kept in the sound files `alimlar`, pooled (havuz.h) with the
// record's settings. A take that cannot be read or holds no speech is left
// out in one line naming it; the other takes' analyses say nothing, the
// training speaks as VQ_Egit's does. The codebook in memory changes only
// when a new one was trained.
int VQ_HavuzEgit(const std::vector<std::string>& alimlar, HAVUZ_OZETI* ozet);

// The record's codebook to ayr.kdad (sets ayr.kdbayrak), its report, or
// both as one save (see KuralDosyasiVeRaporYaz).
int KuralDosyaKaydet();
int KuralDosyaKaydetMetin();
int KuralDosyasiVeRaporKaydet(bool uzerine);
// Reads a codebook file into the record (header, codebook, path, kdbayrak 1).
int KuralDosyaYukle(const char* dosyaadi);
// Prints the header sections and the file, memory and training settings.
void AyarlarEkranaBas();

#endif
