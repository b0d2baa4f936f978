#include "asamalar.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "havuz.h"
#include "kalibrasyon.h"
#include "kayit.h"
#include "kodlama.h"
#include "mesaj.h"
#include "sifirlama.h"
#include "sinir.h"
#include "vq1.h"
#include "wav.h"

namespace {

std::string Metin(const char* p, size_t enfazla) { return std::string(p, strnlen(p, enfazla)); }

std::string KitapYolu() { return Metin(ayr.kdad, sizeof ayr.kdad); }

// Messages kept as they are said (UTF-8), to be shown or dropped afterwards.
class TOPLAYICI : public MESAJ_ALICISI {
public:
    std::string metin;
    TOPLAYICI() : eski_(MesajAlicisiKur(this)) {}
    ~TOPLAYICI() override { MesajAlicisiKur(eski_); }
    void Al(const std::string& utf8) override { metin += utf8; }

private:
    MESAJ_ALICISI* eski_;
};

// The sound-file reader names a file it cannot use on standard error, which
// would land in the middle of the screen: while it reads, standard error goes
// to a temporary file, and what was written there is handed back as UTF-8.
class STANDART_HATA_TUTUCU {
public:
    STANDART_HATA_TUTUCU() {
        std::fflush(stderr);
        dosya_ = std::tmpfile();
        if (dosya_ != nullptr) eski_ = dup(2);
        if (eski_ >= 0 && dup2(fileno(dosya_), 2) < 0) {
            close(eski_);
            eski_ = -1;
        }
    }
    ~STANDART_HATA_TUTUCU() {
        Birak();
        if (dosya_ != nullptr) std::fclose(dosya_);
    }
    std::string Birak() {
        std::string yazilan;
        if (eski_ < 0) return yazilan;
        std::fflush(stderr);
        dup2(eski_, 2);
        close(eski_);
        eski_ = -1;
        std::rewind(dosya_);
        char parca[512];
        for (size_t n; (n = std::fread(parca, 1, sizeof parca, dosya_)) > 0;) yazilan.append(parca, n);
        std::string utf8;
        return UcbirimdenCevir(yazilan, utf8) ? utf8 : Gorunur(yazilan);
    }

private:
    FILE* dosya_ = nullptr;
    int eski_ = -1;
};

// The first line of what was said about a take, or `yoksa` when nothing.
std::string IlkSatir(const std::string& m, const char* yoksa) {
    const size_t son = m.find('\n');
    const std::string s = m.substr(0, son);
    return s.empty() ? yoksa : s;
}

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
    KALIBRASYON kal = ayr.kal;
    MATRIS km = SiraliAlimEgit(ayr, ayr.oz, ayr.kdbaslik, ayr.kdbayrak == 0 ? nullptr : &ayr.km, kal);
    if (km.Bos()) return 1;
    KuralKitabiKur(std::move(km));
    ayr.kal = kal;
    return 0;
}

float OlasilikBul() {
    const float puan = Puanla(ayr.oz, ayr.kdbaslik, ayr.km);
    Yaz("uzaklik:%f\n", static_cast<double>(puan));
    return puan;
}

int VQ_HavuzEgit(const std::vector<std::string>& alimlar, HAVUZ_OZETI* ozet) {
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    HAVUZ h;
    h.kesitli = b.tur == 3;
    HAVUZ_OZETI o;
    for (const std::string& ad : alimlar) {
        std::vector<short> x;
        bool katildi = false;
        std::string neden;
        {
            TOPLAYICI toplayici;
            STANDART_HATA_TUTUCU tutucu;
            const bool okundu = SesDosyasiOku(ad, b.oo, b.ksu, SESAYARI{}, x) == 0;
            neden = tutucu.Birak();
            katildi = okundu && HavuzaEkle(x, b, "", h);
            neden += toplayici.metin;
        }
        if (katildi) continue;
        o.atlanan++;
        Yaz("%s atlandı: %s\n", Gorunur(std::filesystem::path(ad).filename().string()).c_str(),
            IlkSatir(neden, Ceviri("konuşma bulunamadı.")).c_str());
    }
    o.alim = h.alimSayisi;
    o.cerceve = h.r;
    if (ozet != nullptr) *ozet = o;
    if (h.alimSayisi == 0) {
        Yaz("Havuza giren kayıt yok; kural kitabı değişmedi.\n");
        return 1;
    }
    MATRIS km = HavuzuEgit(h, ayr, &o.puan);
    if (km.Bos()) return 1;
    KALIBRASYON kal;
    {
        // One more training for each take, held out: nothing to show.
        TOPLAYICI sessiz;
        kal = HavuzunKalibrasyonu(h, ayr, km);
    }
    KuralKitabiKur(std::move(km));
    ayr.kal = kal;
    if (ozet != nullptr) *ozet = o;
    return 0;
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
