// libvelmo: the C interface over the stages (endpoints, analysis, codebook
// training and scoring, codebook files) and the recognition scan's codebook
// set. Every call holds one lock for the whole of its work, because the
// stages keep their state in the one global record. Stage messages are
// caught (never printed) and the last one becomes the call's error text.
#include "velmo/tanici.h"

#include <sys/stat.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "bellek.h"
#include "dosya.h"
#include "kodlama.h"
#include "mesaj.h"
#include "lpc.h"
#include "oran.h"
#include "sifirlama.h"
#include "sinir.h"
#include "tarama.h"
#include "uyum.h"
#include "velmo.h"
#include "vq1.h"

#ifndef VELMO_SURUM
#define VELMO_SURUM "1.0"
#endif

struct velmo_tanici {
    std::vector<KURALKITABI> kitaplar;
    std::string hata;
};

namespace {

std::mutex kilit;

constexpr int EN_AZ_ORAN = static_cast<int>(Ayar(AYAR_OO).enAz);
constexpr int EN_COK_ORAN = static_cast<int>(Ayar(AYAR_OO).enCok);

std::string OranHatasi(int oo) {
    return "Örnekleme oranı " + std::to_string(oo) + " Hz geçersiz (" + std::to_string(EN_AZ_ORAN) + " ile " +
           std::to_string(EN_COK_ORAN) + " arası olmalı).";
}

// Copies `metin` into a caller's buffer, NUL-terminated, cut before a UTF-8
// character that would not fit whole.
void Kopyala(char* hedef, size_t boy, const std::string& metin) {
    if (hedef == nullptr || boy == 0) return;
    size_t n = std::min(metin.size(), boy - 1);
    if (n < metin.size())
        while (n > 0 && (static_cast<unsigned char>(metin[n]) & 0xC0) == 0x80) n--;
    std::memcpy(hedef, metin.data(), n);
    hedef[n] = '\0';
}

// The last non-empty line of caught stage messages.
std::string SonSatir(const std::string& metin) {
    size_t son = metin.find_last_not_of(" \t\r\n");
    if (son == std::string::npos) return "";
    size_t bas = metin.rfind('\n', son);
    bas = (bas == std::string::npos) ? 0 : bas + 1;
    return metin.substr(bas, son - bas + 1);
}

std::string SatirSonuAt(std::string metin) {
    while (!metin.empty() && (metin.back() == '\n' || metin.back() == ' ')) metin.pop_back();
    return metin;
}

// The recording as the sound buffer a microphone recording would have left,
// its speech not yet found. False when it cannot be had.
bool SesTamponu(const std::vector<int16_t>& ornekler) {
    Sifirla(1);
    const size_t bayt = ornekler.size() * sizeof(int16_t);
    if (bayt == 0 || bayt > static_cast<size_t>(INT_MAX)) return false;
    char* tampon = static_cast<char*>(Ayir(bayt, 1));
    if (tampon == nullptr) return false;
    std::memcpy(tampon, ornekler.data(), bayt);
    ayr.kyt = tampon;
    ayr.kytu = static_cast<int>(bayt);
    return true;
}

// Samples at `giris` Hz converted to `cikis` Hz (the same samples when equal).
bool Donustur(const int16_t* x, size_t n, int giris, int cikis, std::vector<int16_t>& sonuc, std::string* hata) {
    if (giris == cikis) {
        sonuc.assign(x, x + n);
        return true;
    }
    std::vector<float> f(n), g;
    for (size_t i = 0; i < n; i++) f[i] = static_cast<float>(x[i]) / 32768.0f;
    if (!OranDonustur(f, giris, cikis, g, hata)) return false;
    sonuc.resize(g.size());
    for (size_t i = 0; i < g.size(); i++) {
        const float v = std::round(g[i] * 32768.0f);
        sonuc[i] = static_cast<int16_t>(v > 32767.0f ? 32767.0f : v < -32768.0f ? -32768.0f : v);
    }
    return true;
}

// Codebooks scored against one analysis of the recording: the same
// analysis (the scan's rule) after the same endpoint thresholds.
bool AyniCozumleme(const KURALDOSYABASLIK& a, const KURALDOSYABASLIK& b) {
    return a.yee == b.yee && a.aee == b.aee && a.bsge == b.bsge && CozumlemeFarki(a, b).empty();
}

// Every valid codebook file of `dizin` in name order, whatever its settings.
// Messages of skipped files are appended to *mesaj; false when the directory
// cannot be read.
bool KitaplariOku(const std::string& dizin, std::vector<KURALKITABI>& kitaplar, std::string* mesaj) {
    struct stat st;
    if (stat(dizin.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        *mesaj += dizin + ": dizin okunamıyor.\n";
        return false;
    }
    for (const std::string& ad : DizinDosyalari(dizin.c_str())) {
        if (!VlmDosyasi(ad)) continue;
        const std::string yol = dizin + "/" + ad;
        KURALKITABI k;
        k.ad = ad;
        int sonuc = KDOKU_TAMAM;
        *mesaj += Yakala([&] { sonuc = KuralDosyasiOku(yol.c_str(), &k.baslik, &k.km); });
        if (sonuc == KDOKU_BELLEK) return false;
        if (sonuc != KDOKU_TAMAM) continue;
        // The analysis reads 16-bit mono samples; a header saying otherwise
        // was not made from a recording this library can be given.
        if (k.baslik.ks != 1 || k.baslik.oc != 16 || k.baslik.oo < EN_AZ_ORAN || k.baslik.oo > EN_COK_ORAN) {
            *mesaj += yol + ": 16 bit tek kanallı bir kayıt biçimi değil; atlandı.\n";
            Free2B(k.km);
            continue;
        }
        kitaplar.push_back(k);
    }
    return true;
}

void SonucBosalt(velmo_sonuc* s) {
    std::memset(s, 0, sizeof *s);
    s->puan = PUAN_YOK;
}

// Scores of every codebook of `t` against the recording, in listing order
// (+infinity where the recording gave no analysis). Stage messages are
// appended to *mesaj.
std::vector<TANIMA_SONUCU> HepsiniPuanla(const velmo_tanici* t, const int16_t* x, size_t n, int oo,
                                         std::string* mesaj) {
    const std::vector<KURALKITABI>& k = t->kitaplar;
    std::vector<TANIMA_SONUCU> puanlar;
    puanlar.reserve(k.size());
    for (const KURALKITABI& kitap : k) puanlar.push_back(KitapSonucu(kitap, std::numeric_limits<float>::infinity()));
    std::vector<bool> yapildi(k.size(), false);
    std::map<int, std::vector<int16_t>> oranda;  // the recording at each codebook rate
    for (size_t i = 0; i < k.size(); i++) {
        if (yapildi[i]) continue;
        std::vector<size_t> grup;
        for (size_t j = i; j < k.size(); j++) {
            if (!yapildi[j] && AyniCozumleme(k[j].baslik, k[i].baslik)) {
                grup.push_back(j);
                yapildi[j] = true;
            }
        }
        const int hedef = k[i].baslik.oo;
        if (oranda.count(hedef) == 0) {
            std::string h;
            if (!Donustur(x, n, oo, hedef, oranda[hedef], &h))
                *mesaj += std::to_string(oo) + " Hz'den " + std::to_string(hedef) + " Hz'e dönüştürülemedi: " + h + "\n";
        }
        *mesaj += Yakala([&] {
            if (!SesTamponu(oranda[hedef])) {
                if (!oranda[hedef].empty()) Yaz("Ses kaydı için bellek ayrılamıyor.\n");
                return;
            }
            ayr.kdbaslik = k[i].baslik;
            if (UcNoktalarBul(false) != 0) return;
            Sifirla(5);
            if (LPC_Cozumle(false) != 0) return;
            KuralKitaplariPuanla(k, grup, puanlar);
        });
    }
    Sifirla(1);
    Sifirla(5);
    return puanlar;
}

// A copy of the codebook in memory, to put back when a recording fails.
float** KodKitabiKopyasi() {
    const int s = ayr.kdbaslik.s, n = ayr.kdbaslik.n;
    if (ayr.km == nullptr) return nullptr;
    float** k = Calloc2B<float>(s, n, 4);
    if (k != nullptr) std::memcpy(k[0], ayr.km[0], static_cast<size_t>(s) * static_cast<size_t>(n) * sizeof(float));
    return k;
}

// One recording trained as the word-training screens train a take: end
// points, then a new codebook (the first) or the one in memory refined.
bool AlimEgit(const std::vector<int16_t>& ornekler, std::string* mesaj) {
    bool basarili = false;
    float** yedek = nullptr;
    *mesaj += Yakala([&] {
        if (!SesTamponu(ornekler)) {
            Yaz("Kayıt boş ya da çok uzun.\n");
            return;
        }
        if (UcNoktalarBul(false) != 0) return;
        Sifirla(ayr.kdbayrak == 0 ? 4 : 5);
        if (ayr.kdbayrak != 0) yedek = KodKitabiKopyasi();
        if (LPC_Cozumle(false) != 0) return;
        if (VQ_Egit() != 0) return;
        OlasilikBul();
        basarili = true;
    });
    if (basarili) {
        ayr.kdbayrak = 1;  // what saving leaves behind: the next take refines it
    } else if (yedek != nullptr) {
        Free2B(ayr.km);
        ayr.km = yedek;
        yedek = nullptr;
    }
    Free2B(yedek);
    return basarili;
}

int Egit(const char* yol, const char* soz, const int16_t* const* kayitlar, const size_t* sayilar, size_t adet,
         int oo, int tur, std::string* hata) {
    if (yol == nullptr || *yol == '\0') return *hata = "Kural dosyası adı boş.", 1;
    if (std::strlen(yol) >= KDAD_BOYU - 4)
        return *hata = "Kural dosyası adı çok uzun (en çok " + std::to_string(KDAD_BOYU - 5) + " bayt).", 1;
    std::string cp;
    if (soz == nullptr || !Utf8den1254(soz, cp) || cp.empty() || cp.size() >= SOZ_BOYU)
        return *hata = "Sözcük boş, geçersiz ya da çok uzun (en çok 19 Türkçe Windows baytı).", 1;
    if (adet == 0 || kayitlar == nullptr || sayilar == nullptr) return *hata = "Kayıt yok.", 1;
    if (oo < EN_AZ_ORAN || oo > EN_COK_ORAN)
        return *hata = OranHatasi(oo), 1;

    Sifirla(0);
    KURALDOSYABASLIK& b = ayr.kdbaslik;
    b.oo = oo;
    b.tur = tur;
    std::memset(b.soz, 0, sizeof b.soz);
    std::memcpy(b.soz, cp.data(), cp.size());
    // The recording length the header records: the longest take, whole seconds.
    size_t enUzun = 0;
    for (size_t i = 0; i < adet; i++)
        if (kayitlar[i] != nullptr) enUzun = std::max(enUzun, sayilar[i]);
    const size_t saniye = (enUzun + static_cast<size_t>(oo) - 1) / static_cast<size_t>(oo);
    const AYARTANIMI& sure = Ayar(AYAR_KSU);
    b.ksu = static_cast<int>(std::min<size_t>(std::max<size_t>(saniye, static_cast<size_t>(sure.enAz)),
                                              static_cast<size_t>(sure.enCok)));
    ayr.kdbayrak = 0;

    std::string hatalar;
    size_t egitilen = 0;
    for (size_t i = 0; i < adet; i++) {
        std::string mesaj;
        bool tamam = false;
        if (kayitlar[i] != nullptr && sayilar[i] > 0)
            tamam = AlimEgit(std::vector<int16_t>(kayitlar[i], kayitlar[i] + sayilar[i]), &mesaj);
        else
            mesaj = "Kayıt boş.";
        if (tamam) {
            egitilen++;
        } else {
            if (!hatalar.empty()) hatalar += "\n";
            hatalar += std::to_string(i + 1) + ". kayıt eğitilemedi: " + SonSatir(mesaj);
        }
    }
    if (egitilen == 0) {
        Sifirla(0);
        *hata = hatalar + "\nHiçbir kayıtla eğitilemedi; " + yol + " yazılmadı.";
        return 1;
    }
    std::memset(ayr.kdad, 0, sizeof ayr.kdad);
    std::memcpy(ayr.kdad, yol, std::strlen(yol));
    int k1 = 1, k2 = 1;
    // The report first and the codebook last, both atomically, as every save
    // does: a surviving codebook file always has its own report.
    const std::string yazim = Yakala([&] { k1 = k2 = KuralDosyasiVeRaporKaydet(true); });
    Sifirla(0);
    if (k1 != 0 || k2 != 0) {
        *hata = SatirSonuAt(yazim);
        if (hata->empty()) *hata = std::string(yol) + " yazılamadı.";
        if (!hatalar.empty()) *hata = hatalar + "\n" + *hata;
        return 1;
    }
    *hata = hatalar;
    return hatalar.empty() ? 0 : 1;
}

}  // namespace

extern "C" {

velmo_tanici* velmo_tanici_ac(const char* dizin, char* hata, size_t hata_boyu) {
    std::lock_guard<std::mutex> kilitli(kilit);
    Kopyala(hata, hata_boyu, "");
    try {
        if (dizin == nullptr || *dizin == '\0') {
            Kopyala(hata, hata_boyu, "Dizin adı boş.");
            return nullptr;
        }
        velmo_tanici* t = new velmo_tanici;
        std::string mesaj;
        if (!KitaplariOku(dizin, t->kitaplar, &mesaj)) {
            KuralKitaplariBirak(t->kitaplar);
            delete t;
            Kopyala(hata, hata_boyu, SatirSonuAt(mesaj));
            return nullptr;
        }
        t->hata = SatirSonuAt(mesaj);
        if (t->kitaplar.empty()) {
            std::string m = std::string(dizin) + ": geçerli kural dosyası (*.vlm) yok.";
            if (!t->hata.empty()) m = t->hata + "\n" + m;
            delete t;
            Kopyala(hata, hata_boyu, m);
            return nullptr;
        }
        return t;
    } catch (...) {
        Kopyala(hata, hata_boyu, "Bellek yetersiz.");
        return nullptr;
    }
}

int velmo_tani(velmo_tanici* t, const int16_t* ornekler, size_t sayi, int oo, velmo_sonuc* sonuc) {
    std::lock_guard<std::mutex> kilitli(kilit);
    if (sonuc != nullptr) SonucBosalt(sonuc);
    if (t == nullptr) return 1;
    try {
        t->hata.clear();
        if (sonuc == nullptr) return t->hata = "Sonuç için yer verilmedi.", 1;
        if (ornekler == nullptr || sayi == 0) return t->hata = "Kayıt boş.", 1;
        if (oo < EN_AZ_ORAN || oo > EN_COK_ORAN)
            return t->hata = OranHatasi(oo), 1;
        if (sayi > static_cast<size_t>(INT_MAX) / sizeof(int16_t)) return t->hata = "Kayıt çok uzun.", 1;
        const KURALDOSYABASLIK onceki = ayr.kdbaslik;
        std::string mesaj;
        const std::vector<TANIMA_SONUCU> puanlar = HepsiniPuanla(t, ornekler, sayi, oo, &mesaj);
        ayr.kdbaslik = onceki;
        const int k = EnYakinKitap(puanlar);
        if (k < 0) {
            t->hata = SonSatir(mesaj);
            if (t->hata.empty()) t->hata = "Tanınan sözcük yok: hiçbir kural kitabının uzaklığı " + std::to_string(static_cast<int>(PUAN_YOK)) +
                          "'den küçük değil.";
            return 1;
        }
        const TANIMA_SONUCU& en = puanlar[static_cast<size_t>(k)];
        Kopyala(sonuc->soz, sizeof sonuc->soz, SonucSozu(en));
        Kopyala(sonuc->dosya, sizeof sonuc->dosya, en.dosya);
        sonuc->puan = en.puan;
        sonuc->tur = t->kitaplar[static_cast<size_t>(k)].baslik.tur;
        return 0;
    } catch (...) {
        Sifirla(1);
        Sifirla(5);
        t->hata = "Bellek yetersiz.";
        return 1;
    }
}

const char* velmo_hata(const velmo_tanici* t) { return t == nullptr ? "" : t->hata.c_str(); }

int velmo_egit(const char* vlm_yolu, const char* soz, const int16_t* const* kayitlar, const size_t* sayilar,
               size_t kayit_sayisi, int oo, int tur, char* hata, size_t hata_boyu) {
    std::lock_guard<std::mutex> kilitli(kilit);
    std::string h;
    int sonuc = 1;
    try {
        sonuc = Egit(vlm_yolu, soz, kayitlar, sayilar, kayit_sayisi, oo, tur, &h);
    } catch (...) {
        Sifirla(0);
        h = "Bellek yetersiz.";
    }
    Kopyala(hata, hata_boyu, h);
    return sonuc;
}

void velmo_tanici_kapat(velmo_tanici* t) {
    if (t == nullptr) return;
    std::lock_guard<std::mutex> kilitli(kilit);
    KuralKitaplariBirak(t->kitaplar);
    delete t;
}

const char* velmo_surum(void) { return VELMO_SURUM; }

}  // extern "C"
