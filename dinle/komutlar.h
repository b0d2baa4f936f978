// Voice commands: a file of "WORD<TAB>COMMAND" lines (UTF-8; empty lines and
// lines whose first non-blank character is '#' are skipped) read at start,
// and the commands run for recognised words with /bin/sh -c in the
// background. A running command never holds up listening: finished ones are
// collected with KomutlariTopla and their exit status reported.
#ifndef KOMUTLAR_H
#define KOMUTLAR_H

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

struct KOMUT {
    std::string soz, komut;
    int satir = 0;
};

// Reads the command file. False with *hata naming the file and the line
// ("DOSYA:SATIR: reason") when it cannot be read or a line is malformed:
// no TAB, an empty word or command, text that is not UTF-8, a word no
// codebook can hold (more than 19 Windows-1254 bytes) or a word given twice.
bool KomutlariOku(const std::string& dosya, std::vector<KOMUT>& komutlar, std::string* hata);
// The same for text already in memory (`ad` names it in messages).
bool KomutMetniCoz(const std::string& metin, const std::string& ad, std::vector<KOMUT>& komutlar, std::string* hata);

// The command of a word, or nullptr.
const KOMUT* KomutBul(const std::vector<KOMUT>& komutlar, const std::string& soz);

struct CALISAN {
    std::string soz;
    int satir;
};

class KOMUT_CALISTIRICI {
public:
    // Starts `k` with VELMO_SOZ, VELMO_PUAN and VELMO_DOSYA in its
    // environment, /dev/null as its standard input, standard error as its
    // standard output and a process group of its own (a terminal's Ctrl-C
    // is not sent to it). False (with *hata) when it cannot be started.
    bool Baslat(const KOMUT& k, const std::string& puan, const std::string& dosya, std::string* hata);
    // Collects the commands that have ended; one line each is appended to
    // *rapor. With `bekle` it waits for all of them.
    void Topla(bool bekle, std::string* rapor);
    size_t Calisan() const { return calisan_.size(); }

private:
    std::map<pid_t, CALISAN> calisan_;
};

#endif
