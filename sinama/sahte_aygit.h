// In-memory sound device for tests: records what it is asked to do, can fail
// at any chosen step, "hears" the bytes of `girdi`, keeps what it "plays" in
// `calinan`, and can stop delivering altogether. Its own thread sends an
// opening and a closing notice before the buffer is done, as a real device
// may, so that only SES_BITTI can be mistaken for the end.
// SahteAygitKur resets the state and installs the device;
// SesAygitiKur(nullptr) puts the real one back.
#ifndef SAHTE_AYGIT_H
#define SAHTE_AYGIT_H

#include <string>
#include <vector>

#include "aygit.h"

enum { SAHTE_AC = 1, SAHTE_HAZIRLA, SAHTE_EKLE, SAHTE_BASLAT };

struct SAHTE_AYGIT {
    int hataAdimi = 0;        // SAHTE_*: that operation fails; 0 none
    bool tepkisiz = false;    // never reports the buffer done
    int gecikmeMs = 20;       // how long the device takes before its last notice
    std::string girdi;        // bytes the input delivers (then silence)
    std::string calinan;      // bytes the output was given, once played
    SESBICIMI bicim{};        // format of the last open
    int acik = 0;             // devices open now
    int hazir = 0;            // headers prepared now
    std::vector<std::string> adimlar;  // operations in call order
};

extern SAHTE_AYGIT sahte;
void SahteAygitKur();

#endif
