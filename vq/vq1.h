// Vector quantisation of feature vectors.
// EGITICI trains a codebook (s rows of n floats) from the cepstrum (kind 1)
// or delta cepstrum (kind 2; kind 3 is in vq3.h) of an analysis: a new
// codebook from a seeded random selection of rows, or a given one repaired
// by reset pre-iterations; both are then refined by LBG. Puanla gives the
// mean distortion of an utterance under a codebook. Failures are said in one
// Turkish line through the message layer; nothing here prints a result.
// LBG stops early when a pass changes no label (the codebook can no longer
// change). A codeword that wins no vector in a pass is not left empty (or
// zero): it takes the first vector of the most populated region that differs
// from that region's centroid, as the reset pre-iterations refill one, and the
// refinement goes on; codebooks in which no region empties are unaffected.
// One training run (reset passes and LBG passes together) does at most the
// trainer's work limit of distance terms; when that cuts it short a message
// names the setting that asked for more. A scoring that would cost more than
// vq_is_siniri on its own is refused with a message and scores +infinity.
//
// Distances are squared Euclidean, each a float sum in component order; the
// nearest codeword is the greatest score vx - 0.5 vv (lowest index on ties).
#ifndef VQ1_H
#define VQ1_H

#include <cstdint>
#include <vector>

#include "lpc.h"
#include "matris.h"
#include "velmo.h"

// Largest work of one training run (vectors x codewords x components summed
// over its passes) and of one scoring, about what the largest analysis costs
// (a few seconds). Programs with a tighter time limit may lower it.
extern int64_t vq_is_siniri;

// Largest value the training's random generator gives (the C standard's
// example generator, so RAND_MAX of that generator).
enum { URETEC_EN_BUYUK = 32767 };

// Largest codebook that the random selection can draw from any utterance:
// candidates g * r / URETEC_EN_BUYUK for g below URETEC_EN_BUYUK are at most
// that many distinct rows besides row 0.
enum { VQ_EN_COK_SECIM = URETEC_EN_BUYUK - 1 };

using SATIR = SATIRLAR<float>;
using SABIT_SATIR = SATIRLAR<const float>;

// One trainer holds the state of its runs: the random generator and the work
// counter. Separate trainers share nothing.
class EGITICI {
public:
    explicit EGITICI(const EGITIM_AYARLARI& ayar, int64_t isSiniri = vq_is_siniri)
        : ayar_(ayar), isSiniri_(isSiniri) {}

    // A codebook of b.s x b.n of kind b.tur (1 or 2; 3 goes to
    // KesitliEgit) from the r frames of `oz`: new when `baslangic` is null,
    // else *baslangic refined. Empty after a message.
    MATRIS Egit(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS* baslangic);
    // Kind 3: the weighted vectors of the two sections (r1 and r2 rows of n,
    // row after row; fewer values than that are refused).
    MATRIS KesitliEgit(const std::vector<float>& kesit1, int r1, const std::vector<float>& kesit2, int r2,
                       const KURALDOSYABASLIK& b, const MATRIS* baslangic);

    // Fills rsd with s distinct rows from 1 to r-1, drawn with the portable
    // generator seeded with the seed setting (thm). Does nothing when s < 1
    // or the rows cannot give s distinct values.
    void RasgeleSayilarUret(int* rsd, int s, int r);
    // Repairs the s codewords km against the r vectors gm by reset
    // pre-iterations. 0, or 1 after a message.
    int KuralKitabiniSifirla(SABIT_SATIR gm, SATIR km, int s, int n, int r);
    // Refines the s codewords km by at most yinl LBG passes. 0, or 1.
    int LBG(SATIR km, SABIT_SATIR gm, int s, int r, int n, int yinl);

    // Distance terms counted by the run in progress or the last one.
    int64_t Is() const { return is_; }

private:
    // A training run: the outermost call starts the work count at 0 (a run
    // of Egit counts its reset and LBG passes together).
    struct KAPSAM {
        EGITICI& e;
        bool onceki;
        explicit KAPSAM(EGITICI& eg) : e(eg), onceki(eg.egitimde_) {
            if (!e.egitimde_) e.is_ = 0;
            e.egitimde_ = true;
        }
        ~KAPSAM() { e.egitimde_ = onceki; }
    };
    bool GecisIsiAl(int r, int s, int n);
    int BolumEgit(SATIR km, SABIT_SATIR gm, int h, int r, int n, bool yeni, int no);

    EGITIM_AYARLARI ayar_;
    int64_t isSiniri_;
    uint32_t uretec_ = 1;
    bool egitimde_ = false;
    int64_t is_ = 0;
};

// What a training asks before it touches the codebook: a new codebook at
// most VQ_EN_COK_SECIM random choices (secim), a further training a
// starting codebook of s x n. 0 to go on, 1 after a message.
int EgitimKitabiUygun(const MATRIS* baslangic, int secim, int s, int n);

// 1 when the vectors differ in one of their n components, 0 when all agree.
int EsitYoneyler(const float* yoney1, const float* yoney2, int n);

// Nearest of the s codewords km to row I of gm (lowest index on ties) into
// *kazanangoze, and the difference vector into fark[0..n-1].
int KazananGoze(SABIT_SATIR gm, SABIT_SATIR km, float* fark, int I, int s, int n, int* kazanangoze);

// Centroid of the rows labelled `etiket`; 1 (row left zero) when there is none.
int Ortala(float* yoneymerkezi, SABIT_SATIR gm, const int* etiketler, int r, int n, int etiket);

// Index of the codeword nearest to frame k of the analysis and the squared
// distance to it in *uzaklik. A codebook of another shape than b.s x b.n, or
// no features, give +infinity (a codebook that always loses) and -1.
int VQ_Siniflandir(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km, int k, float* uzaklik);

// Mean of the frame distances of the analysis `oz` under the codebook km of
// the header b; +infinity with no frames, an unusable codebook, or when
// r x s x n exceeds vq_is_siniri (after a message).
float Puanla(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km);

// Sum over rows bas..son-1 of gm of the squared distance to the nearest of
// the s codewords of km (n columns), as VQ_Siniflandir finds it, into
// *toplam (a float sum in row order). With `agirlik`, each row is first
// multiplied component by component by agirlik[0..n-1] (a float product,
// as AgirlikliYoneyler makes it). 1 without inputs or working storage.
int EnYakinUzakliklar(SABIT_SATIR km, int s, int n, SABIT_SATIR gm, int bas, int son, float* toplam,
                      const float* agirlik = nullptr);

// Whether the scoring runs its lanes with AVX2 (set at start from the
// processor). The results are the same bit for bit either way; tests turn
// it off to check the other path.
extern bool vq_avx2;

#endif
