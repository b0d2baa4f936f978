// The codebook files of one directory kept between utterances and brought up
// to date before each: a file added, removed or changed (size, modification
// or change time, device, inode) is read again, the others stay as read.
// The entries are the ordinary files whose name ends in ".vlm" in any case, in
// name order, each with its codebook or the lines its reading said (an
// invalid file, one the caller's check refuses); a file that cannot be opened
// is skipped silently and tried again at every look. The lines are kept
// so that a scan over the kept entries says them where a fresh reading of
// the directory would. Where the system tells of changes in a directory
// (inotify), a directory looked at twice is watched from then on and not
// looked at again until the system tells of a change; otherwise every
// bringing up to date lists it and looks at each file.
#ifndef KURAL_DIZINI_H
#define KURAL_DIZINI_H

#include <functional>
#include <string>
#include <vector>

#include "tanima.h"
#include "tarama.h"

class KURAL_DIZINI {
public:
    // Whether a codebook read validly from `yol` may be used; when it may not,
    // the check says why (Yaz) before it returns false.
    using UYGUNLUK = std::function<bool(const std::string& yol, const KURALKITABI& kitap)>;

    KURAL_DIZINI(std::string dizin, UYGUNLUK uygun);

    // Brings the entries up to date: 1 when an entry was added, removed or
    // read again (always at the first call), 0 when nothing changed, -1 when
    // the directory cannot be listed (the entries read before are kept).
    int Tazele();

    const std::string& Dizin() const { return dizin_; }
    // The usable codebooks, in name order.
    const std::vector<KURALKITABI>& Kitaplar() const { return kitaplar_; }
    // The same, handed over: the entries are forgotten (the next Tazele reads
    // every file again).
    std::vector<KURALKITABI> KitaplariBirak();
    // Every entry's lines, in name order (UTF-8), as a fresh reading says them.
    std::string Mesajlar() const;

    // The recognition scan (KuralDosyalariniTara) over the kept entries: the
    // lines of a skipped entry are said again, each usable codebook scored.
    void Tara(SOYLEYIS& soyleyis, TANIMA_SONUCU* enIyi, std::vector<TANIMA_SONUCU>* hepsi,
              const TARAMA_DINLEYICISI& dinleyici = {}) const;

private:
    // The inotify descriptor watching the directory; -1 without one.
    struct IZLEYICI {
        int fd = -1;
        IZLEYICI() = default;
        IZLEYICI(IZLEYICI&& o) noexcept : fd(o.fd) { o.fd = -1; }
        IZLEYICI& operator=(IZLEYICI&& o) noexcept;
        ~IZLEYICI();
    };
    // True when the watch says nothing happened since the last look (its
    // news are taken); false when it cannot say.
    bool Degismedi();
    struct GIRDI {
        std::string ad;          // bare file name
        std::string iz;          // what says the file changed (DosyaIzi)
        std::string mesaj;       // the lines of its reading (UTF-8)
        bool acilamadi = false;  // could not be opened: no line, no row
        int kitap = -1;          // index in kitaplar_, -1 when skipped
    };
    std::string dizin_;
    UYGUNLUK uygun_;
    bool okundu_ = false;
    IZLEYICI izleyici_;
    std::vector<GIRDI> girdiler_;
    std::vector<KURALKITABI> kitaplar_;
};

// The directory's codebooks that fit the analysis `analiz` (CozumlemeyeUygun),
// as the recognition scan takes them.
KURAL_DIZINI CozumlemeDizini(std::string dizin, const KURALDOSYABASLIK& analiz);

// The fields of the file at `yol` that change when it is rewritten, also by
// a file of the same size and modification time (cp -p, touch -r); "" when
// it cannot be looked at.
std::string DosyaIzi(const std::string& yol);

#endif
