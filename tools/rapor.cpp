#include "rapor.h"

#include <cerrno>
#include <cstring>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "kodlama.h"
#include "konsol.h"
#include "sinir.h"
#include "vq3.h"

namespace {

std::string Metin(const char* p, size_t enfazla) { return std::string(p, strnlen(p, enfazla)); }

const char* TurAdi(int tur) {
    switch (tur) {
        case 1: return "LPC";
        case 2: return "DeltaLPC";
        case 3: return "kesitli LPC";
        default: return nullptr;
    }
}

}  // namespace

JSON KuralKitabiJson(const std::string& dosya, const KURALDOSYABASLIK& b, const MATRIS& km, const KALIBRASYON& kal) {
    const char* turAdi = TurAdi(b.tur);
    JSON j = {{"dosya", dosya},
              {"bicim", Metin(b.bicim, sizeof b.bicim)},
              {"tur", b.tur},
              {"tur_adi", turAdi != nullptr ? JSON(turAdi) : JSON(nullptr)},
              {"soz", Cp1254ten(Metin(b.soz, sizeof b.soz))},
              {"komut", b.kmt}};
    // The settings a header holds, in the settings screen's order.
    JSON ayarlar = JSON::object();
    for (const AYARTANIMI* t = AyarlarBas(); t != AyarlarSon(); ++t)
        if (t->baslikAlani != nullptr) ayarlar[t->ad] = b.*t->baslikAlani;
    j["ayarlar"] = std::move(ayarlar);
    if (b.tur == 3) {
        // Rows 0 to s/2 - 1 model the word's first half, the rest its second;
        // the codewords are stored sine-weighted.
        const int yari = b.s / 2;
        j["kesitler"] = {{{"ilk_yoney", 0}, {"yoney_sayisi", yari}}, {{"ilk_yoney", yari}, {"yoney_sayisi", yari}}};
        j["kepstrum_agirligi"] = {{"bicim", "sinus"}, {"L", KESIT_LIFTER}, {"yoneyler_agirlikli", true}};
        j["esik_ogrenme_ms"] = ONDE_MS;
        // What a genuine take scores (absent in files made before it was kept).
        if (kal.Var())
            j["kalibrasyon"] = {{"dogal_uzaklik", JsonSayisi(kal.olcek)},
                                {"egitim_uzakligi", JsonSayisi(kal.oz)},
                                {"ayri_tutulan_alim", kal.ayri}};
    }
    JSON yoneyler = JSON::array();
    for (int i = 0; i < b.s; i++) {
        JSON y = JSON::array();
        for (int k = 0; k < b.n; k++) y.push_back(JsonSayisi(km[i][k]));
        yoneyler.push_back(std::move(y));
    }
    j["kural_yoneyleri"] = std::move(yoneyler);
    return j;
}

int KuralDosyasiRaporla(const std::string& ad, bool json) {
    KURALDOSYABASLIK b;
    MATRIS km;
    KALIBRASYON kal;
    const int sonuc = KuralDosyasiOku(ad.c_str(), &b, &km, &kal);
    if (sonuc == KDOKU_ACILAMIYOR) {
        const int hata = errno;
        Hata("%s açılamıyor: %s\n", Gorunur(ad).c_str(), SistemNedeni(hata).c_str());
        return 1;
    }
    // The reader has named the file and what is wrong with it.
    if (sonuc != KDOKU_TAMAM) return 1;
    if (json) KonsolHamYaz(JsonMetni(KuralKitabiJson(ad, b, km, kal)));
    else KonsolHamYaz(UcbirimeCevir(Cp1254ten(KuralRaporu(b, km, true, kal))));
    return 0;
}
