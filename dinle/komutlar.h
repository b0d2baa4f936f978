// Voice commands: a file of "WORD<TAB>COMMAND" lines (UTF-8; empty lines and
// lines whose first non-blank character is '#' are skipped) read at start,
// and the commands run for recognised words with /bin/sh -c in the
// background. A running command never holds up listening: finished ones are
// collected with KOMUT_CALISTIRICI::Topla and their exit status reported.
#ifndef KOMUTLAR_H
#define KOMUTLAR_H

#include <sys/types.h>

#include <csignal>
#include <cstddef>
#include <deque>

#include <map>
#include <string>
#include <vector>

struct KOMUT {
    std::string soz, komut;
    int satir = 0;
};

// The largest command file read.
constexpr size_t KOMUT_DOSYASI_EN_COK = 1 << 20;

// Reads the command file: a regular file (a directory, pipe or device is
// refused at once, never waited on) of at most KOMUT_DOSYASI_EN_COK bytes.
// Lines end in LF or CRLF; a CR anywhere else (as in a file with CR-only
// line ends) is refused with its line number, as is a NUL byte. False with
// *hata naming the file and the line ("DOSYA:SATIR: reason"; control
// characters of the name shown as "\xNN") when it cannot be read or a line
// is malformed: no TAB, an empty word or command, text that is not UTF-8, a
// word no codebook can hold (more than 19 Windows-1254 bytes) or a word
// given twice.
bool KomutlariOku(const std::string& dosya, std::vector<KOMUT>& komutlar, std::string* hata);
// The same for text already in memory (`ad` names it in messages).
bool KomutMetniCoz(const std::string& metin, const std::string& ad, std::vector<KOMUT>& komutlar, std::string* hata);

// The command of a word, or nullptr.
const KOMUT* KomutBul(const std::vector<KOMUT>& komutlar, const std::string& soz);

struct CALISAN {
    std::string soz;
    int satir;
};

// At most this many commands run at once; at most this many more wait for
// their turn (started as running ones end, oldest first); beyond that a
// command is not run and Baslat says so.
constexpr size_t KOMUT_EN_COK_CALISAN = 4, KOMUT_EN_COK_SIRADA = 16;

class KOMUT_CALISTIRICI {
public:
    // Starts `k`, or queues it when KOMUT_EN_COK_CALISAN commands run, with
    // VELMO_SOZ, VELMO_PUAN and VELMO_DOSYA in its environment, /dev/null
    // as its standard input, standard error as its standard output and a
    // process group of its own (a terminal's Ctrl-C is not sent to it).
    // False (with *hata) when it cannot be started, or the queue is full.
    bool Baslat(const KOMUT& k, const std::string& puan, const std::string& dosya, std::string* hata);
    // Collects the commands that have ended and starts queued ones in their
    // place; one line each is appended to *rapor for an ended command and
    // for a queued one that could not start. With `bekle` it waits until
    // every command, the queued ones too, has ended, or until *dur (when
    // given) is non-zero, as a signal handler sets it.
    void Topla(bool bekle, std::string* rapor, const volatile sig_atomic_t* dur = nullptr);
    size_t Calisan() const { return calisan_.size(); }
    size_t Sirada() const { return sirada_.size(); }

private:
    struct IS {
        KOMUT komut;
        std::string puan, dosya;
    };
    bool Calistir(const IS& is, std::string* hata);
    void Bitenler(std::string* rapor);
    std::map<pid_t, CALISAN> calisan_;
    std::deque<IS> sirada_;
};

#endif
