#include "mesaj_kaydi.h"

namespace {

class KAYIT_ALICISI : public MESAJ_ALICISI {
public:
    std::string* kayit = nullptr;
    void Al(const std::string& utf8) override {
        if (kayit != nullptr) kayit->append(utf8);
    }
};

KAYIT_ALICISI kayitAlicisi;
MESAJ_ALICISI* kayittanOnce = nullptr;

}  // namespace

void MesajKaydiKur(std::string* kayit) {
    MESAJ_ALICISI* const eski = MesajAlicisiKur(&kayitAlicisi);
    if (eski != &kayitAlicisi) kayittanOnce = eski;
    kayitAlicisi.kayit = kayit;
}

void MesajKaydiBitir() {
    // Only the recording sink is taken down; one installed over it stays.
    MESAJ_ALICISI* const simdiki = MesajAlicisiKur(kayittanOnce);
    if (simdiki != &kayitAlicisi) MesajAlicisiKur(simdiki);
    kayitAlicisi.kayit = nullptr;
}
