#include "uyum.h"

#include <string>

#include "ayar_tablosu.h"
#include "mesaj.h"

namespace {

// Do codebooks of these two kinds take their vectors from the same
// analysis? Kinds 1 and 2 do (cepstrum and delta cepstrum of one set of
// frames); kind 3 finds its end points with thresholds of its own, so it
// shares its analysis only with kind 3; a kind this program does not know
// shares it with nothing.
bool AyniCozumleme(int tur1, int tur2) {
    const bool bilinen1 = tur1 == 1 || tur1 == 2, bilinen2 = tur2 == 1 || tur2 == 2;
    return (bilinen1 && bilinen2) || (tur1 == 3 && tur2 == 3);
}

// The settings that shape the analysis, in header order, so the first
// difference named is the first stored; each is named as the settings
// screen and menu name it.
constexpr AYARNO cozumlemeAyarlari[] = {AYAR_KS, AYAR_OO, AYAR_OC, AYAR_KPENSU, AYAR_PENSU,
                                        AYAR_ADMSU, AYAR_M, AYAR_N, AYAR_P};

// "Tür dosyada 1, çözümlemede 3", in the language of the messages.
std::string Fark(const char* ad, int dosyada, int cozumlemede) {
    return Bicimle(Ceviri("%s dosyada %d, çözümlemede %d"), Ceviri(ad), dosyada, cozumlemede);
}

}  // namespace

std::string CozumlemeFarki(const KURALDOSYABASLIK& kitap, const KURALDOSYABASLIK& analiz) {
    if (!AyniCozumleme(kitap.tur, analiz.tur)) return Fark("Tür", kitap.tur, analiz.tur);
    for (AYARNO no : cozumlemeAyarlari) {
        const AYARTANIMI& a = Ayar(no);
        if (kitap.*a.baslikAlani != analiz.*a.baslikAlani)
            return Fark(a.adi, kitap.*a.baslikAlani, analiz.*a.baslikAlani);
    }
    return std::string();
}
