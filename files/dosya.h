// Codebook files: an 88-byte KURALDOSYABASLIK header (little-endian) and the
// codebook, s rows of n floats, given and returned as values. Writing is atomic: a temporary file in the
// target's directory, every write, the flush and the close checked, then
// renamed over the target, so a failed save never harms an earlier file.
// Reading validates the header and the length before trusting any size.
// Also the text report beside a codebook file (name + ".txt", Windows-1254). Results: 0 success, 1 failure after
// a Turkish message (KuralDosyasiOku: see its results below).
#ifndef DOSYA_H
#define DOSYA_H

#include <string>

#include "ayar_tablosu.h"
#include "matris.h"
#include "velmo.h"

// Writes the header b and the codebook km (b.s rows of b.n) to `yol`, and
// for kind 3 its calibration `kal` when it has one. An
// existing regular file is replaced and keeps its permission bits; one the
// user may not write (no write bit, as 0444) is refused.
int KuralDosyasiYaz(const std::string& yol, const KURALDOSYABASLIK& b, const MATRIS& km,
                    const KALIBRASYON& kal = {});
// What a save does: the report yol + ".txt" first, then the codebook file,
// each atomically, so a codebook file always has its own report (or, for a
// moment, an earlier codebook has the new one). Without `uzerine` the
// codebook file must not exist: a name that appears while writing makes the
// save fail, never replaced. Temporary files of killed saves (".velmo-" and
// six characters, over a minute old) are removed from the directory.
int KuralDosyasiVeRaporYaz(const std::string& yol, const KURALDOSYABASLIK& b, const MATRIS& km, bool uzerine,
                           const KALIBRASYON& kal = {});
// Writes the text report yol + ".txt".
int KuralRaporuYaz(const std::string& yol, const KURALDOSYABASLIK& b, const MATRIS& km,
                   const KALIBRASYON& kal = {});
// The text of that report (Windows-1254) for the header `b` and the
// codebook `km` of b.s rows of b.n floats. With `ekran` the word's control
// characters are shown as "\xNN" (for a terminal); otherwise the bytes are
// those the report file holds.
std::string KuralRaporu(const KURALDOSYABASLIK& b, const MATRIS& km, bool ekran, const KALIBRASYON& kal = {});
// Header lines 1 to 25 of the report and the settings dump, Windows-1254,
// with `ekran` as above; a kind-3 header with a calibration gets one more
// line naming it.
std::string BaslikSatirlari(const KURALDOSYABASLIK& b, bool ekran, const KALIBRASYON& kal = {});

// Reads and validates the file `ad`: on success the header goes to *baslik
// and the codebook of s x n to *km, and, if asked, the calibration of a
// kind-3 file to *kal (none when the file has none).
enum {
    KDOKU_TAMAM = 0,       // read
    KDOKU_GECERSIZ = 1,    // not a valid codebook file; one line naming it printed
    KDOKU_ACILAMIYOR = 2,  // cannot be opened; nothing printed, errno says why
    KDOKU_BELLEK = 3,      // codebook array cannot be had; message printed
};
int KuralDosyasiOku(const char* ad, KURALDOSYABASLIK* baslik, MATRIS* km, KALIBRASYON* kal = nullptr);

// The calibration trailer of a kind-3 file: "KAL" and version byte 1, then
// olcek and oz (floats) and ayri (int32), little-endian. Written only for
// kind 3 with a calibration (KalibrasyonYazilir); a kind-3 file without
// it (made before calibrations were kept) reads with none.
inline constexpr char KD_KALIBRASYON_ETIKETI[4] = {'K', 'A', 'L', 1};
enum { KD_KALIBRASYON_BOYU = 16 };
bool KalibrasyonYazilir(const KURALDOSYABASLIK& b, const KALIBRASYON& kal);
void KalibrasyonDiz(const KALIBRASYON& kal, char* son);
bool KalibrasyonCoz(const char* son, KALIBRASYON& kal);
// The word stored in the codebook file `ad` (Windows-1254 bytes up to the
// NUL); false when it is no readable file with a codebook header.
bool KuralDosyasiSozu(const char* ad, std::string& soz);

// Size of the header on disk, the largest vector size a file may hold and the
// most codewords training can make (a file claiming more is refused).
enum { KD_BASLIK_BOYU = 88, KD_EN_BUYUK_N = AYAR_EN_COK_N, KD_EN_BUYUK_S = AYAR_EN_COK_S };

#endif
