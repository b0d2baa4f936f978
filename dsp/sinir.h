// Speech endpoint detection.
// UcNoktalar finds the one stretch of speech in the recording held in
// ayr.kyt / ayr.kytu by short-time energy and zero crossings and leaves it in
// ayr.bsl / ayr.uzn (0 success, 1 failure after one printed line). Every run
// that gets as far as measuring writes the table "sinir.txt" (DosyayaKaydet).
// SinirOlcumleri computes the two measures for any sample array.
#ifndef SINIR_H
#define SINIR_H

int UcNoktalar();
// Same as UcNoktalar; with dokum false no "sinir.txt" is written.
int UcNoktalarBul(bool dokum);

// Energy (mean absolute amplitude of the kpenu samples around position j,
// truncated) and zero-crossing measure (twice the sign changes over the
// kpenu neighbouring pairs from the window's first sample) for every
// position j with kpenu/2 <= j < boyut - kpenu/2; every other entry is 0.
// A pair that would reach past the last sample counts nothing. Running sums:
// the cost does not depend on kpenu. orke and sfrgecis hold boyut entries.
void SinirOlcumleri(const short* x, int boyut, int kpenu, int* orke, int* sfrgecis);

// Writes the table: a header with basl and bitis, the column names, then one
// line "i<TAB>x[i]<TAB>enerji[i]<TAB>sifirgecisi[i]" per sample. The file is
// replaced; if it cannot be opened, or is no regular file (see dokum.h),
// nothing is written.
void DosyayaKaydet(const char* dosyaadi, const short* ornekveri, const int* enerji,
                   const int* sifirgecisi, int adimsayisi, int basl, int bitis);

#endif
