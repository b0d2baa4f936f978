// The recognition screen.
#include "tanima.h"

#include <cstring>

#include "ekran.h"
#include "guven.h"
#include "kodlama.h"
#include "konsol.h"
#include "konusma.h"
#include "asamalar.h"
#include "menu.h"
#include "sifirlama.h"

namespace {

// The result rows: the winner's word (yellow), score and file; all three
// cleared when there is no score to show.
void SonucGoster(const TANIMA_SONUCU* t) {
    gotoxy(41, 6);
    clreol();
    textcolor(14);
    if (t != nullptr) Yaz("%s", SozGoster(t->soz, 0).c_str());
    textcolor(15);
    gotoxy(41, 7);
    clreol();
    if (t != nullptr) Yaz("%f", static_cast<double>(t->puan));
    gotoxy(41, 8);
    clreol();
    if (t != nullptr) Yaz("%s", Gorunur(t->dosya).c_str());
    // Whether velmo-dinle would refuse this word by default (a codebook
    // with a calibration, its confidence below one half): a row of its own,
    // drawn only then and cleared by the next result.
    static bool redSatiri = false;
    const bool red = t != nullptr && t->kal.Var() && GuvenleReddedilir(SonucGuveni(*t), HASSASIYET_VARSAYILAN);
    if (!red && !redSatiri) return;
    gotoxy(10, 9);
    clreol();
    if (red) Yaz("Guven........................: %.2f (dinlemede geri cevrilirdi)", SonucGuveni(*t));
    redSatiri = red;
}

bool KuralDosyasiVar(const char* dizin) {
    for (const std::string& ad : DizinDosyalari(dizin))
        if (VlmDosyasi(ad)) return true;
    return false;
}

}  // namespace

// Each scored file's line on the screen: its word, then its score, then
// the screen moves on.
TARAMA_DINLEYICISI PuanSatirlari() {
    TARAMA_DINLEYICISI d;
    d.puanlaniyor = [](const TANIMA_SONUCU& t) { Yaz("%s\t\t", Gorunur(SonucSozu(t)).c_str()); };
    d.puanlandi = [](const TANIMA_SONUCU& t) { Yaz("uzaklik:%f\n", static_cast<double>(t.puan)); };
    d.satirBitti = insline;
    return d;
}

void KonusTanisin() {
    Temizle();
    for (;;) {
        gotoxy(10, 2);
        Yaz("KONUS TANISIN");
        Secenek(45, 4, -1, "herhangi bir tusa bas ve konus");
        gotoxy(10, 6);
        Yaz("Sozcuk.......................:");
        gotoxy(10, 7);
        Yaz("1/Olasilik...................:");
        gotoxy(10, 8);
        Yaz("Dosya Adi....................:");
        Secenek(10, 11, 4, "Kapat");
        KomSat(1, 15);
        KomSat(1, 15);
        GirdiAt();
        const int c = KomutHarfi(getche());
        KomSat(1, 15);
        if (c == 't' || c == KONSOL_SON) {
            // Leaving: the screen always ends with no file chosen.
            ayr.kdbayrak = 0;
            std::strcpy(ayr.kdad, nul);
            return;
        }
        TANIMA_SONUCU enIyi;
        enIyi.puan = PUAN_YOK;
        enIyi.soz[0] = '\0';
        // Where the scan looks; with no codebook there, nothing to record for.
        Yaz("Taranan dizin: %s\n", ayr.yol);
        if (!KuralDosyasiVar(ayr.yol)) {
            Yaz("Bu dizinde kural dosyası (.vlm) yok.\n");
            SonucGoster(nullptr);
            continue;
        }
        Sifirla(1);
        const int ksu = ayr.kdbaslik.ksu;
        ayr.kdbaslik.ksu = 2;
        const int kayit = EkrandaKaydet();
        ayr.kdbaslik.ksu = ksu;
        bool puanlandi = false;
        if (kayit == 0) {
            const int konusma = UcNoktalar();
            Sifirla(5);
            if (konusma != 0) {
                Yaz("Kayıtta konuşma bulunamadı; sözcük gösterilmiyor.\n");
            } else if (LPC() == 0) {
                SOYLEYIS soyleyis(reinterpret_cast<const short*>(ayr.kyt), ayr.kytu / 2, ayr.kdbaslik);
                soyleyis.CozumlemeKoy(ayr.oz);
                KuralDosyalariniTara(ayr.yol, soyleyis, &enIyi, nullptr, PuanSatirlari());
                puanlandi = true;
            }
        }
        SonucGoster(puanlandi ? &enIyi : nullptr);
    }
}
