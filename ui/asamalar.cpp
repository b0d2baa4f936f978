#include "asamalar.h"

#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "kalibrasyon.h"
#include "kayit.h"
#include "kodlama.h"
#include "mesaj.h"
#include "sifirlama.h"
#include "sinir.h"
#include "vq1.h"

namespace {

std::string Metin(const char* p, size_t enfazla) { return std::string(p, strnlen(p, enfazla)); }

std::string KitapYolu() { return Metin(ayr.kdad, sizeof ayr.kdad); }

}  // namespace

int Kaydet() {
    char* kayit = nullptr;
    int boy = 0;
    if (::Kaydet(ayr.kdbaslik, &kayit, &boy) != 0) return 1;
    ayr.kyt = kayit;
    ayr.kytu = boy;
    return 0;
}

int UcNoktalar() {
    ayr.bsl = nullptr;
    ayr.uzn = 0;
    const short* x = reinterpret_cast<const short*>(ayr.kyt);
    const int boyut = (ayr.kyt != nullptr && ayr.kytu > 0) ? ayr.kytu / 2 : 0;
    const UC_NOKTALAR u = KonusmaBul(x, boyut, ayr.kdbaslik);
    SinirDokumuYaz("sinir.txt", x, u);
    KonusmaYokBildir(u);
    if (!u.bulundu) return 1;
    ayr.bsl = ayr.kyt + static_cast<size_t>(u.bas) * 2;
    ayr.uzn = u.uzunluk * 2;
    return 0;
}

int LPC() {
    // The speech lies inside the recording; frames that reach past the
    // segment read the recording's samples after it, as far as it goes.
    const short* x = reinterpret_cast<const short*>(ayr.bsl);
    int toplam = ayr.uzn / 2, bas = 0;
    if (ayr.kyt != nullptr && ayr.bsl >= ayr.kyt && ayr.bsl <= ayr.kyt + ayr.kytu) {
        x = reinterpret_cast<const short*>(ayr.kyt);
        toplam = ayr.kytu / 2;
        bas = static_cast<int>((ayr.bsl - ayr.kyt) / 2);
    }
    std::optional<COZUMLEME> c = LpcCozumle(x, toplam, bas, ayr.bsl != nullptr ? ayr.uzn / 2 : 0, ayr.kdbaslik);
    if (!c) return 1;
    ayr.oz = std::move(*c);
    MatrisDokumu("Ci.txt", ayr.oz.Ci, ayr.oz.r, ayr.kdbaslik.n);
    MatrisDokumu("DelCi.txt", ayr.oz.DelCi, ayr.oz.r, ayr.kdbaslik.n);
    return 0;
}

int VQ_Egit() {
    const bool yeni = ayr.kdbayrak == 0;
    // The take against the codebook it refines is a held-out score.
    const float ayri = yeni ? 0.0f : Puanla(ayr.oz, ayr.kdbaslik, ayr.km);
    EGITICI egitici(ayr);
    MATRIS km = egitici.Egit(ayr.oz, ayr.kdbaslik, yeni ? nullptr : &ayr.km);
    if (km.Bos()) return 1;
    const KALIBRASYON kal = SiraliKalibrasyon(ayr.kal, yeni, ayri, Puanla(ayr.oz, ayr.kdbaslik, km));
    KuralKitabiKur(std::move(km));
    ayr.kal = kal;
    return 0;
}

float OlasilikBul() {
    const float puan = Puanla(ayr.oz, ayr.kdbaslik, ayr.km);
    Yaz("uzaklik:%f\n", static_cast<double>(puan));
    return puan;
}

int KuralDosyaKaydet() {
    const int sonuc = KuralDosyasiYaz(KitapYolu(), ayr.kdbaslik, ayr.km, ayr.kal);
    if (sonuc == 0) ayr.kdbayrak = 1;
    return sonuc;
}

int KuralDosyaKaydetMetin() { return KuralRaporuYaz(KitapYolu(), ayr.kdbaslik, ayr.km, ayr.kal); }

int KuralDosyasiVeRaporKaydet(bool uzerine) {
    const int sonuc = KuralDosyasiVeRaporYaz(KitapYolu(), ayr.kdbaslik, ayr.km, uzerine, ayr.kal);
    if (sonuc == 0) ayr.kdbayrak = 1;
    return sonuc;
}

int KuralDosyaYukle(const char* dosyaadi) {
    if (dosyaadi == nullptr || strnlen(dosyaadi, KDAD_BOYU) == KDAD_BOYU) {
        Yaz("Dosya adı çok uzun (en çok %d bayt); kural dosyası okunmadı.\n", KDAD_BOYU - 1);
        return 1;
    }
    KURALDOSYABASLIK baslik;
    MATRIS km;
    KALIBRASYON kal;
    const int sonuc = KuralDosyasiOku(dosyaadi, &baslik, &km, &kal);
    if (sonuc == KDOKU_ACILAMIYOR) Yaz("%s açılamıyor.\n", Gorunur(dosyaadi).c_str());
    if (sonuc != KDOKU_TAMAM) return 1;
    KuralKitabiKur(std::move(km));
    ayr.kal = kal;
    ayr.kdbaslik = baslik;
    std::memmove(ayr.kdad, dosyaadi, strlen(dosyaadi) + 1);
    ayr.kdbayrak = 1;
    return 0;
}

void AyarlarEkranaBas() {
    Yaz("%s", Cp1254ten(BaslikSatirlari(ayr.kdbaslik, true)).c_str());
    Yaz("DOSYA ve BELLEK BİLGİLERİ\n");
    Yaz("          Kural Dosyası Adı=%s\n", Gorunur(KitapYolu()).c_str());
    Yaz("          Kural Dosyası Bayrağı=%d\n", ayr.kdbayrak);
    Yaz("\n");
    Yaz("LPC/DLPC Yöneylerinin Sayısı=%d\n", ayr.oz.r);
    Yaz("Kayıt Uzunluğu=%d byte\n", ayr.kytu);
    Yaz("Konuşma Uzunluğu=%d byte\n", ayr.uzn);
    Yaz("\n");
    for (const AYARTANIMI* t = AyarlarBas(); t != AyarlarSon(); ++t) {
        if (t->grup != GRUP_EGITME) continue;
        if (const int* i = TamsayiYeri(*t, ayr)) Yaz("%s=%d%s\n", t->raporEtiketi, *i, t->raporBirimi);
        else Yaz("%s=%f%s\n", t->raporEtiketi, static_cast<double>(*GercelYeri(*t, ayr)), t->raporBirimi);
    }
}
