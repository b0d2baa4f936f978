// Speech endpoint detection.
// KonusmaBul finds the one stretch of speech in a recording (16-bit mono
// samples) by short-time energy and zero crossings, with the endpoint
// settings of a header, and returns it with the per-sample measures it used;
// a failure is said in one line through the message layer. The table
// "sinir.txt" is written by the caller from that result (SinirDokumuYaz).
// SinirOlcumleri computes the two measures for any sample array.
// A kind-3 header (tur 3) searches with thresholds learnt from the
// recording's quietest stretch and loudest window (OndenEsikler), on the
// measures of the recording high-passed (below); kinds 1 and 2 with the
// header's, on the recording as it is.
#ifndef SINIR_H
#define SINIR_H

#include "bellek.h"
#include "velmo.h"

// Energy (mean absolute amplitude of the kpenu samples around position j,
// truncated) and zero-crossing measure (twice the sign changes over the
// kpenu neighbouring pairs from the window's first sample) for every
// position j with kpenu/2 <= j < boyut - kpenu/2; every other entry is 0.
// A pair that would reach past the last sample counts nothing. Running sums:
// the cost does not depend on kpenu. orke and sfrgecis hold boyut entries.
void SinirOlcumleri(const short* x, int boyut, int kpenu, int* orke, int* sfrgecis);

// The thresholds of one endpoint search.
struct UCESIKLERI {
    int yee;         // high energy threshold
    int aee;         // low energy threshold
    int bsge;        // start zero-crossing threshold
    bool ogrenildi;  // learnt from the lead-in (false: the header's values, or
                     // for kind 3 the loudest window's alone)
};

// Length of the stretch that kind 3 learns its noise floor from.
enum { ONDE_MS = 100 };

// Kind 3's thresholds come from the recording itself, so that speech is
// found at any level: from its noise floor and from its loudest window.
// The noise floor is the lead-in, the first stretch of `onde` samples (the
// consecutive measured positions whose windows fit in it), unless speech is
// already there (one of its windows within 12 dB of the loudest, E / 4):
// then it is the quietest such stretch (the smallest energy sum, the first
// on ties). A recording padded with zeros after the word keeps its own
// lead-in's noise that way. Over the stretch, the
// mean m and population standard deviation d of the energy (e) and
// zero-crossing (z) measures, and the greatest energy E of all measured
// positions, give
//   yee' = max(1, ceil(7.5 m_e), ceil(E / ESIK_TEPE_ORANI)),
//   aee' = min(yee', max(ceil(m_e) + 1, ceil(m_e + 3 d_e))),
//   bsge' = max(bsge, ceil(m_z + 2 d_z)),
// the zero-crossing threshold of b being a floor (a count does not depend on
// the level; b's energy thresholds are not used). A recording too short for
// one stretch has only its loudest window: yee' = max(1, ceil(E / ESIK_TEPE_ORANI)),
// aee' = max(1, ceil(yee' / 2)), bsge' = bsge (ogrenildi false).
enum { ESIK_TEPE_ORANI = 16 };  // the high threshold 24 dB below the loudest window
UCESIKLERI OndenEsikler(const int* orke, const int* sfrgecis, int boyut, int kpenu, int onde,
                        const KURALDOSYABASLIK& b);

// The thresholds UcNoktalar uses with the header b on these measures.
UCESIKLERI UcNoktaEsikleri(const int* orke, const int* sfrgecis, int boyut, int kpenu,
                           const KURALDOSYABASLIK& b);

// One endpoint search.
struct UC_NOKTALAR {
    bool bulundu = false;  // speech found: samples bas .. bas + uzunluk - 1
    int bas = 0;
    int uzunluk = 0;       // may be 0 when the low threshold meets the high one
    // The measures, boyut entries each, when the search got as far as
    // measuring (olculdu); the table is written only then.
    bool olculdu = false;
    int boyut = 0;
    Dizi<int> orke, sfrgecis;
    UCESIKLERI esik{};
    bool esikYazilir = false;  // kind 3: the table names its learnt thresholds
    int uc1 = 0, uc2 = 0;      // the table's start and end (0, 0 without speech)
};

// Kind 3 measures the recording through a second-order Butterworth
// high-pass filter with its -3 dB point at KESIM_HZ, so that a DC offset of
// the sound card (which would hide the zero crossings and lift the energy
// floor to the offset), mains hum (50 Hz comes out 19 dB down, 60 Hz 16 dB)
// and rumble do not count as sound. By the bilinear transform at the rate oo,
// with K = tan(pi KESIM_HZ / oo) and n = 1 / (1 + sqrt(2) K + K^2),
//   y[i] = n (x[i] - 2 x[i-1] + x[i-2]) - a1 y[i-1] - a2 y[i-2],
//   a1 = 2 (K^2 - 1) n  (negative),  a2 = (1 - sqrt(2) K + K^2) n,
// the gain is 0 at DC and 1 at oo / 2. Before the first sample the input
// stood at x[0] and the output at 0, so a constant recording gives 0
// throughout. Worked in fixed point, the same on every machine: n, a1 and a2
// rounded to multiples of 2^-28, y kept to 2^-12 (each step rounded to the
// nearest, halves up), and each sample measured is y rounded to the nearest
// integer (halves up) and held to -32768 .. 32767. The filter delays speech
// by little against a window (its group delay is under half a millisecond
// above 300 Hz): the segment found is taken in the recording's own
// positions, and the table keeps the recording's samples beside the measures.
enum { KESIM_HZ = 150 };

// The speech of the `boyut` samples at x under the settings of `b`: ks 1 and
// oc 16, a valid rate and endpoint window are required (else one line, no
// measures). Without speech (no position reaches the high threshold, or the
// ends pass each other) bulundu is false with the measures taken: the
// caller writes its table, if any, then says so with KonusmaYokBildir.
UC_NOKTALAR KonusmaBul(const short* x, int boyut, const KURALDOSYABASLIK& b);

// True when KonusmaBul with the header `b` would find speech in the `boyut`
// samples at x and say nothing: kinds 1 and 2 with a low energy threshold
// not above the high one, valid settings, and a measured position after the
// first whose window reaches the high threshold (its energy sum at least
// yee x kpenu). Then the ends, widened from such positions, cannot pass each
// other. Only the energy is summed, up to the first such window; false
// means "not known" (KonusmaBul decides).
bool KonusmaKesin(const short* x, int boyut, const KURALDOSYABASLIK& b);

// The line of a search that measured and found no speech; nothing otherwise.
// A take whose loudest window stayed under the high threshold is told so
// ("Ses eşiğe ulaşmadı: ...") with what to do; otherwise the general line.
void KonusmaYokBildir(const UC_NOKTALAR& u);

// The table of a search that measured, for the samples it searched;
// nothing when it did not measure.
void SinirDokumuYaz(const char* dosyaadi, const short* x, const UC_NOKTALAR& u);

// Writes the table: a header with basl and bitis, the column names, then one
// line "i<TAB>x[i]<TAB>enerji[i]<TAB>sifirgecisi[i]" per sample. The file is
// replaced; if it cannot be opened, or is no regular file (see dokum.h),
// nothing is written.
// With `esik` (kind 3), a line naming the thresholds used follows the header.
void DosyayaKaydet(const char* dosyaadi, const short* ornekveri, const int* enerji,
                   const int* sifirgecisi, int adimsayisi, int basl, int bitis,
                   const UCESIKLERI* esik = nullptr);

#endif
