// The settings and the recording the sound tests work with: the recording
// functions take the header and give the buffer, which this keeps.
#ifndef SES_ORTAK_H
#define SES_ORTAK_H

#include <cstdlib>

#include "ayar_tablosu.h"
#include "kayit.h"

struct SES_DURUMU {
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    char* kyt = nullptr;
    int kytu = 0;
    void Birak() {
        std::free(kyt);
        kyt = nullptr;
        kytu = 0;
    }
    void Sifirla() {
        Birak();
        b = VarsayilanAyarlar().kdbaslik;
    }
    ~SES_DURUMU() { Birak(); }
};
inline SES_DURUMU sd;

// A new recording with sd's settings in place of the one held.
inline int Kaydet() {
    sd.Birak();
    return Kaydet(sd.b, &sd.kyt, &sd.kytu);
}

#endif
