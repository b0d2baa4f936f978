// Vector quantisation of feature vectors.
// VQ_Egit trains the codebook ayr.km (s rows of n floats) from ayr.Ci (kind 1)
// or ayr.DelCi (kind 2): a new codebook from a seeded random selection of
// rows, an existing one (ayr.kdbayrak 1) repaired by reset pre-iterations;
// both are then refined by LBG. VQ_Siniflandir quantises one frame with the
// codebook in memory; OlasilikBul gives the mean distortion of the utterance.
// Results: 0 success, 1 failure after a Turkish message.
#ifndef VQ1_H
#define VQ1_H

int VQ_Egit();

// Fills rsd with s distinct rows from 1 to r-1, drawn with the portable
// generator seeded with ayr.thm. Does nothing when s < 1 or the rows cannot
// give s distinct values (VQ_Egit refuses such requests first).
void RasgeleSayilarUret(int* rsd, int s, int r);

int KuralKitabiniSifirla(float** gm, float*** km, int s, int n, int r);
int KuralKitabinaYerlestir(float** gm, float*** km, int* etiketler, int I, int enyuksekbolgedizini,
                           int n, int r);

// 1 when the vectors differ in one of their n components, 0 when all agree.
int EsitYoneyler(const float* yoney1, const float* yoney2, int n);

int LBG(float** km, float** gm, int s, int r, int n, int yinl);

// Nearest codebook vector of row I of gm (lowest index on ties) into
// *kazanangoze, and the difference vector into (*uzaklik)[0..n-1].
int KazananGoze(float** gm, float** km, float** uzaklik, int I, int s, int n, int* kazanangoze);

// Centroid of the rows labelled `etiket`; 1 (row left zero) when there is none.
int Ortala(float* yoneymerkezi, float** gm, int* etiketler, int r, int n, int etiket);

// Index of the codebook vector nearest to frame k, and the squared distance
// to it in *uzaklik. Without a codebook, features or working storage the
// distance is +infinity (a codebook that always loses) and the result -1.
int VQ_Siniflandir(int k, float* uzaklik);

// Mean of the frame distances of the ayr.r frames; +infinity with no frames.
// Prints "uzaklik:%f" and inserts a line on the console.
float OlasilikBul();

// Largest codebook that the random selection can draw from any utterance.
enum { VQ_EN_COK_SECIM = 32766 };

#endif
