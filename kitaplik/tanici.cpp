// libvelmo: the C interface over the stages (endpoints, analysis, codebook
// training and scoring, codebook files) and the recognition scan's codebook
// set. A handle owns its codebooks and the groups they are scored in; a
// call's recordings and analyses are its own values, so handles on separate
// threads share nothing. Stage messages are caught per thread (never
// printed) and the last one becomes the call's error text.
#include "velmo/tanici.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "guven.h"
#include "kalibrasyon.h"
#include "kalici.h"
#include "kodlama.h"
#include "kural_dizini.h"
#include "lpc.h"
#include "matris.h"
#include "mesaj.h"
#include "oran.h"
#include "sinir.h"
#include "tarama.h"
#include "uyum.h"
#include "velmo.h"
#include "vq1.h"

#ifndef VELMO_SURUM
#define VELMO_SURUM "1.0"
#endif

namespace {

// A codebook the library can score: made from 16-bit mono samples at a rate
// it can be given.
bool KitaplikIcin(const std::string& yol, const KURALKITABI& k);

}  // namespace

struct velmo_tanici {
    explicit velmo_tanici(const std::string& d) : dizin(d, KitaplikIcin) {}
    // The directory's codebooks, brought up to date before every recognition.
    KURAL_DIZINI dizin;
    // The codebooks scored against one analysis of a recording, in listing
    // order; the first one's header gives the analysis.
    std::vector<std::vector<size_t>> gruplar;
    std::string hata;
    // Working storage kept between calls: the recording as floats, converted,
    // and at each codebook rate.
    std::vector<float> f, g;
    std::map<int, std::vector<int16_t>> oranda;
};

namespace {

constexpr int EN_AZ_ORAN = static_cast<int>(Ayar(AYAR_OO).enAz);
constexpr int EN_COK_ORAN = static_cast<int>(Ayar(AYAR_OO).enCok);

std::string OranHatasi(int oo) {
    return Bicimle(Ceviri("Örnekleme oranı %d Hz geçersiz (%d ile %d arası olmalı)."), oo, EN_AZ_ORAN, EN_COK_ORAN);
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

// The most samples one recording may hold: its bytes fit an int, as a
// microphone recording's do.
constexpr size_t EN_COK_ORNEK = static_cast<size_t>(INT_MAX) / sizeof(int16_t);

// A converted sample back to 16 bits: round(g x 32768) (halves away from
// zero) held to -32768 .. 32767. Held first, then rounded by adding just
// under a half and truncating, which gives std::round's integer for every
// float (checked over all 2^32 of them, as is Donustur's four-lane form): no
// call and no branch.
inline int16_t Nicemle(float g) {
    const float v = std::min(std::max(g * 32768.0f, -32768.0f), 32767.0f);
    return static_cast<int16_t>(static_cast<int>(v + std::copysign(0.49999997f, v)));
}

// Samples at `giris` Hz converted to `cikis` Hz (the same samples when
// equal), in the handle's working storage.
bool Donustur(velmo_tanici& t, const int16_t* x, size_t n, int giris, int cikis, std::vector<int16_t>& sonuc,
              std::string* hata) {
    if (giris == cikis) {
        sonuc.assign(x, x + n);
        return true;
    }
    std::vector<float>& f = t.f;
    std::vector<float>& g = t.g;
    f.resize(n);
    typedef float F4 __attribute__((vector_size(16)));
    typedef int I4 __attribute__((vector_size(16)));
    // Four samples at a time in both directions, each lane as the scalar
    // line after its loop (x / 32768 is exact; Nicemle's steps lane-wise).
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const I4 v = {x[i], x[i + 1], x[i + 2], x[i + 3]};
        const F4 y = __builtin_convertvector(v, F4) * (1.0f / 32768.0f);
        std::memcpy(f.data() + i, &y, sizeof y);
    }
    for (; i < n; i++) f[i] = static_cast<float>(x[i]) / 32768.0f;
    if (!OranDonustur(f, giris, cikis, g, hata)) return false;
    sonuc.resize(g.size());
    const F4 alt = {-32768.0f, -32768.0f, -32768.0f, -32768.0f}, ust = {32767.0f, 32767.0f, 32767.0f, 32767.0f};
    const I4 isaret = {INT_MIN, INT_MIN, INT_MIN, INT_MIN};
    const I4 yarim = {0x3EFFFFFF, 0x3EFFFFFF, 0x3EFFFFFF, 0x3EFFFFFF};  // 0.49999997f
    for (i = 0; i + 4 <= g.size(); i += 4) {
        F4 v;
        std::memcpy(&v, g.data() + i, sizeof v);
        v = v * 32768.0f;
        v = v < alt ? alt : v;
        v = ust < v ? ust : v;
        const I4 y = __builtin_convertvector(v + reinterpret_cast<F4>((reinterpret_cast<I4>(v) & isaret) | yarim), I4);
        for (size_t k = 0; k < 4; k++) sonuc[i + k] = static_cast<int16_t>(y[k]);
    }
    for (; i < g.size(); i++) sonuc[i] = Nicemle(g[i]);
    return true;
}

// Codebooks scored against one analysis of the recording: the same
// analysis (the scan's rule) after the same endpoint thresholds.
bool AyniCozumleme(const KURALDOSYABASLIK& a, const KURALDOSYABASLIK& b) {
    return a.yee == b.yee && a.aee == b.aee && a.bsge == b.bsge && CozumlemeFarki(a, b).empty();
}

// The codebooks grouped by the analysis they are scored against, each group
// in listing order, the groups in the order of their first codebook.
std::vector<std::vector<size_t>> Gruplar(const std::vector<KURALKITABI>& k) {
    std::vector<std::vector<size_t>> gruplar;
    for (size_t i = 0; i < k.size(); i++) {
        size_t g = 0;
        while (g < gruplar.size() && !AyniCozumleme(k[i].baslik, k[gruplar[g][0]].baslik)) g++;
        if (g == gruplar.size()) gruplar.emplace_back();
        gruplar[g].push_back(i);
    }
    return gruplar;
}

bool KitaplikIcin(const std::string& yol, const KURALKITABI& k) {
    // The analysis reads 16-bit mono samples; a header saying otherwise
    // was not made from a recording this library can be given.
    if (k.baslik.ks != 1 || k.baslik.oc != 16 || k.baslik.oo < EN_AZ_ORAN || k.baslik.oo > EN_COK_ORAN) {
        Yaz("%s: 16 bit tek kanallı bir kayıt biçimi değil; atlandı.\n", Gorunur(yol).c_str());
        return false;
    }
    return true;
}

// Brings the handle's codebooks up to date with its directory: a file added,
// changed or removed since the last look is read or forgotten, and the
// groups made again. Kept as they were when the directory cannot be read.
void Tazele(velmo_tanici& t) {
    if (t.dizin.Tazele() == 1) t.gruplar = Gruplar(t.dizin.Kitaplar());
}

// Why a handle has nothing to score: its skipped files, then the directory.
std::string BosDizin(const velmo_tanici& t) {
    std::string m = Bicimle(Ceviri("%s: geçerli kural dosyası (*.vlm) yok."), Gorunur(t.dizin.Dizin()).c_str());
    const std::string atlanan = SatirSonuAt(t.dizin.Mesajlar());
    return atlanan.empty() ? m : atlanan + "\n" + m;
}

void SonucBosalt(velmo_sonuc* s) {
    std::memset(s, 0, sizeof *s);
    s->puan = PUAN_YOK;
}

// Scores the codebooks `grup` (one analysis, that of the first one's header)
// against the recording `x` at their rate: its end points, its analysis,
// then each codebook. A failing stage says why and leaves the scores.
void GrubuPuanla(const std::vector<KURALKITABI>& k, const std::vector<size_t>& grup, const std::vector<int16_t>& x,
                 std::vector<TANIMA_SONUCU>& puanlar) {
    if (x.empty()) return;
    if (x.size() > EN_COK_ORNEK) {
        Yaz("Ses kaydı için bellek ayrılamıyor.\n");
        return;
    }
    const KURALDOSYABASLIK& b = k[grup[0]].baslik;
    const int boyut = static_cast<int>(x.size());
    const UC_NOKTALAR u = KonusmaBul(x.data(), boyut, b);
    KonusmaYokBildir(u);
    if (!u.bulundu) return;
    const std::optional<COZUMLEME> oz = LpcCozumle(x.data(), boyut, u.bas, u.uzunluk, b);
    if (!oz) return;
    SOYLEYIS soyleyis(x.data(), boyut, b);
    soyleyis.CozumlemeKoy(*oz);
    KuralKitaplariPuanla(k, grup, puanlar, soyleyis);
}

// Scores of every codebook of `t` against the recording, in listing order
// (+infinity where the recording gave no analysis). Stage messages are
// appended to *mesaj.
std::vector<TANIMA_SONUCU> HepsiniPuanla(velmo_tanici& t, const int16_t* x, size_t n, int oo,
                                         std::string* mesaj) {
    std::vector<TANIMA_SONUCU> puanlar;
    puanlar.reserve(t.dizin.Kitaplar().size());
    for (const KURALKITABI& kitap : t.dizin.Kitaplar())
        puanlar.push_back(KitapSonucu(kitap, std::numeric_limits<float>::infinity()));
    // The recording at each codebook rate, made once per call.
    std::map<int, std::vector<int16_t>>& oranda = t.oranda;
    std::vector<int> yapilan;
    for (const std::vector<size_t>& grup : t.gruplar) {
        const int hedef = t.dizin.Kitaplar()[grup[0]].baslik.oo;
        if (std::find(yapilan.begin(), yapilan.end(), hedef) == yapilan.end()) {
            yapilan.push_back(hedef);
            std::string h;
            if (!Donustur(t, x, n, oo, hedef, oranda[hedef], &h))
                *mesaj += Bicimle(Ceviri("%d Hz'den %d Hz'e dönüştürülemedi: %s\n"), oo, hedef, h.c_str());
        }
        *mesaj += Yakala([&] { GrubuPuanla(t.dizin.Kitaplar(), grup, oranda[hedef], puanlar); });
    }
    return puanlar;
}

// The settings of a library training: the defaults and the user's kept
// settings (kalici.h; lines it cannot take are left out silently), with the
// word (Windows-1254 bytes `cp`), the rate, the kind and the recording length
// of the longest take.
AYAR_DEGERLERI EgitimAyarlari(const std::string& cp, int oo, int tur, size_t enUzun) {
    AYAR_DEGERLERI a = VarsayilanAyarlar();
    KaliciAyarlariUygula(a);
    KURALDOSYABASLIK& b = a.kdbaslik;
    b.oo = oo;
    TurSec(a, tur);
    std::memset(b.soz, 0, sizeof b.soz);
    std::memcpy(b.soz, cp.data(), cp.size());
    // The recording length the header records: whole seconds.
    const size_t saniye = (enUzun + static_cast<size_t>(oo) - 1) / static_cast<size_t>(oo);
    const AYARTANIMI& sure = Ayar(AYAR_KSU);
    b.ksu = static_cast<int>(std::min<size_t>(std::max<size_t>(saniye, static_cast<size_t>(sure.enAz)),
                                              static_cast<size_t>(sure.enCok)));
    return a;
}

// One take trained as the word-training screens train a take: end points,
// the analysis, then a new codebook (km empty) or km refined, and its
// calibration `kal`. km and kal are replaced only when the take trained.
bool AlimEgit(const int16_t* x, size_t n, const AYAR_DEGERLERI& ayar, MATRIS& km, KALIBRASYON& kal,
              std::string* mesaj) {
    bool basarili = false;
    *mesaj += Yakala([&] {
        if (n > EN_COK_ORNEK) {
            Yaz("Kayıt boş ya da çok uzun.\n");
            return;
        }
        const KURALDOSYABASLIK& b = ayar.kdbaslik;
        const int boyut = static_cast<int>(n);
        const UC_NOKTALAR u = KonusmaBul(x, boyut, b);
        KonusmaYokBildir(u);
        if (!u.bulundu) return;
        const std::optional<COZUMLEME> oz = LpcCozumle(x, boyut, u.bas, u.uzunluk, b);
        if (!oz) return;
        MATRIS yeni = SiraliAlimEgit(ayar, *oz, b, km.Bos() ? nullptr : &km, kal);
        if (yeni.Bos()) return;
        km = std::move(yeni);
        basarili = true;
    });
    return basarili;
}

// The arguments of a training, checked; "" when they are usable, else why
// not. The word in the code page goes to `cp`.
std::string EgitimDenetle(const char* yol, const char* soz, const int16_t* const* kayitlar, const size_t* sayilar,
                          size_t adet, int oo, std::string& cp) {
    if (yol == nullptr || *yol == '\0') return Ceviri("Kural dosyası adı boş.");
    if (std::strlen(yol) >= KDAD_BOYU - 4)
        return Bicimle(Ceviri("Kural dosyası adı çok uzun (en çok %d bayt)."), static_cast<int>(KDAD_BOYU - 5));
    const bool sozUygun = soz != nullptr && Utf8den1254(soz, cp);
    if (!sozUygun || cp.empty() || cp.size() >= SOZ_BOYU)
        return Ceviri("Sözcük boş, geçersiz ya da çok uzun (en çok 19 Türkçe Windows baytı).");
    // As the word-training screen: a word never sends commands to a terminal.
    for (unsigned char c : cp)
        if (c < 0x20 || c == 0x7F) return Ceviri("Sözcükte denetim karakteri olamaz.");
    if (adet == 0 || kayitlar == nullptr || sayilar == nullptr) return Ceviri("Kayıt yok.");
    if (oo < EN_AZ_ORAN || oo > EN_COK_ORAN) return OranHatasi(oo);
    return "";
}

int Egit(const char* yol, const char* soz, const int16_t* const* kayitlar, const size_t* sayilar, size_t adet,
         int oo, int tur, std::string* hata) {
    std::string cp;
    *hata = EgitimDenetle(yol, soz, kayitlar, sayilar, adet, oo, cp);
    if (!hata->empty()) return 1;
    size_t enUzun = 0;
    for (size_t i = 0; i < adet; i++)
        if (kayitlar[i] != nullptr) enUzun = std::max(enUzun, sayilar[i]);
    const AYAR_DEGERLERI ayar = EgitimAyarlari(cp, oo, tur, enUzun);

    MATRIS km;
    KALIBRASYON kal;
    std::string hatalar;
    size_t egitilen = 0;
    for (size_t i = 0; i < adet; i++) {
        std::string mesaj;
        bool tamam = false;
        if (kayitlar[i] != nullptr && sayilar[i] > 0)
            tamam = AlimEgit(kayitlar[i], sayilar[i], ayar, km, kal, &mesaj);
        else
            mesaj = Ceviri("Kayıt boş.");
        if (tamam) {
            egitilen++;
        } else {
            if (!hatalar.empty()) hatalar += "\n";
            hatalar += Bicimle(Ceviri("%zu. kayıt eğitilemedi: %s"), i + 1, SonSatir(mesaj).c_str());
        }
    }
    if (egitilen == 0) {
        *hata = hatalar + "\n" + Bicimle(Ceviri("Hiçbir kayıtla eğitilemedi; %s yazılmadı."), yol);
        return 1;
    }
    int sonuc = 1;
    // The report first and the codebook last, both atomically, as every save
    // does: a surviving codebook file always has its own report.
    const std::string yazim = Yakala([&] { sonuc = KuralDosyasiVeRaporYaz(yol, ayar.kdbaslik, km, true, kal); });
    if (sonuc != 0) {
        *hata = SatirSonuAt(yazim);
        if (hata->empty()) *hata = Bicimle(Ceviri("%s yazılamadı."), yol);
        if (!hatalar.empty()) *hata = hatalar + "\n" + *hata;
        return 1;
    }
    *hata = hatalar;
    return hatalar.empty() ? 0 : 1;
}

// The winner `k` of the scores into *sonuc.
void SonucYaz(const velmo_tanici& t, const std::vector<TANIMA_SONUCU>& puanlar, int k, velmo_sonuc* sonuc) {
    const TANIMA_SONUCU& en = puanlar[static_cast<size_t>(k)];
    Kopyala(sonuc->soz, sizeof sonuc->soz, SonucSozu(en));
    Kopyala(sonuc->dosya, sizeof sonuc->dosya, en.dosya);
    sonuc->puan = en.puan;
    sonuc->tur = t.dizin.Kitaplar()[static_cast<size_t>(k)].baslik.tur;
}

// Recognises as velmo_tani; the winner's confidence goes to *guven, and
// with `hassasiyet` in 0..1 a winner it refuses gives 2.
int Tani(velmo_tanici* t, const int16_t* ornekler, size_t sayi, int oo, double hassasiyet, velmo_sonuc* sonuc,
         double* guven) {
    if (sonuc == nullptr) return t->hata = Ceviri("Sonuç için yer verilmedi."), 1;
    if (ornekler == nullptr || sayi == 0) return t->hata = Ceviri("Kayıt boş."), 1;
    if (oo < EN_AZ_ORAN || oo > EN_COK_ORAN) return t->hata = OranHatasi(oo), 1;
    if (sayi > EN_COK_ORNEK) return t->hata = Ceviri("Kayıt çok uzun."), 1;
    Tazele(*t);
    if (t->dizin.Kitaplar().empty()) return t->hata = BosDizin(*t), 1;
    std::string mesaj;
    const std::vector<TANIMA_SONUCU> puanlar = HepsiniPuanla(*t, ornekler, sayi, oo, &mesaj);
    const int k = EnYakinKitap(puanlar);
    if (k < 0) {
        t->hata = SonSatir(mesaj);
        if (t->hata.empty())
            t->hata = Bicimle(Ceviri("Tanınan sözcük yok: hiçbir kural kitabının uzaklığı %d'den küçük değil."),
                              static_cast<int>(PUAN_YOK));
        return 1;
    }
    SonucYaz(*t, puanlar, k, sonuc);
    const double g = SonucGuveni(puanlar[static_cast<size_t>(k)]);
    if (guven != nullptr) *guven = g;
    if (hassasiyet >= 0 && GuvenleReddedilir(g, hassasiyet)) {
        char metin[160];
        std::snprintf(metin, sizeof metin, Ceviri("Geri çevrildi: en iyi sözcüğün güveni %.3f, hassasiyet %.3f."), g,
                      hassasiyet);
        t->hata = metin;
        return 2;
    }
    return 0;
}

// The messages of a call in the language the environment asks for
// (KitaplikYereli), the program's own locale put back after it.
class DIL {
public:
    DIL() {
        if (const locale_t l = KitaplikYereli(); l != static_cast<locale_t>(0)) eski_ = uselocale(l);
    }
    ~DIL() {
        if (eski_ != static_cast<locale_t>(0)) uselocale(eski_);
    }
    DIL(const DIL&) = delete;
    DIL& operator=(const DIL&) = delete;

private:
    locale_t eski_ = static_cast<locale_t>(0);
};

}  // namespace

extern "C" {

velmo_tanici* velmo_tanici_ac(const char* dizin, char* hata, size_t hata_boyu) {
    const DIL dil;
    Kopyala(hata, hata_boyu, "");
    try {
        if (dizin == nullptr || *dizin == '\0') {
            Kopyala(hata, hata_boyu, Ceviri("Dizin adı boş."));
            return nullptr;
        }
        std::unique_ptr<velmo_tanici> t(new velmo_tanici(dizin));
        if (t->dizin.Tazele() < 0) {
            Kopyala(hata, hata_boyu, Bicimle(Ceviri("%s: dizin okunamıyor."), Gorunur(dizin).c_str()));
            return nullptr;
        }
        t->hata = SatirSonuAt(t->dizin.Mesajlar());
        if (t->dizin.Kitaplar().empty()) {
            Kopyala(hata, hata_boyu, BosDizin(*t));
            return nullptr;
        }
        t->gruplar = Gruplar(t->dizin.Kitaplar());
        return t.release();
    } catch (...) {
        Kopyala(hata, hata_boyu, Ceviri("Bellek yetersiz."));
        return nullptr;
    }
}

int velmo_tani(velmo_tanici* t, const int16_t* ornekler, size_t sayi, int oo, velmo_sonuc* sonuc) {
    const DIL dil;
    if (sonuc != nullptr) SonucBosalt(sonuc);
    if (t == nullptr) return 1;
    try {
        t->hata.clear();
        return Tani(t, ornekler, sayi, oo, -1, sonuc, nullptr);
    } catch (...) {
        t->hata = Ceviri("Bellek yetersiz.");
        return 1;
    }
}

int velmo_tani_guven(velmo_tanici* t, const int16_t* ornekler, size_t sayi, int oo, double hassasiyet,
                     velmo_sonuc* sonuc, double* guven) {
    const DIL dil;
    if (guven != nullptr) *guven = 0;
    if (sonuc != nullptr) SonucBosalt(sonuc);
    if (t == nullptr) return 1;
    try {
        t->hata.clear();
        if (!(hassasiyet <= 1)) return t->hata = Ceviri("Hassasiyet en çok 1 olabilir."), 1;
        return Tani(t, ornekler, sayi, oo, hassasiyet, sonuc, guven);
    } catch (...) {
        t->hata = Ceviri("Bellek yetersiz.");
        return 1;
    }
}

const char* velmo_hata(const velmo_tanici* t) { return t == nullptr ? "" : t->hata.c_str(); }

int velmo_egit(const char* vlm_yolu, const char* soz, const int16_t* const* kayitlar, const size_t* sayilar,
               size_t kayit_sayisi, int oo, int tur, char* hata, size_t hata_boyu) {
    const DIL dil;
    std::string h;
    int sonuc = 1;
    try {
        sonuc = Egit(vlm_yolu, soz, kayitlar, sayilar, kayit_sayisi, oo, tur, &h);
    } catch (...) {
        h = Ceviri("Bellek yetersiz.");
    }
    Kopyala(hata, hata_boyu, h);
    return sonuc;
}

void velmo_tanici_kapat(velmo_tanici* t) { delete t; }

const char* velmo_surum(void) { return VELMO_SURUM; }

}  // extern "C"
