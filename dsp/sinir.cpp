#include "sinir.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ayar_tablosu.h"
#include "bellek.h"
#include "dokum.h"
#include "kodlama.h"
#include "mesaj.h"
#include "velmo.h"

namespace {

// Appends the decimal form of v and one separator character.
inline char* SayiEkle(char* p, int v, char ayrac) {
    p = std::to_chars(p, p + 12, v).ptr;
    *p++ = ayrac;
    return p;
}

// v / 2^k rounded down, for any sign: the arithmetic shift of a two's
// complement number, which is what GCC and Clang make of >> on a negative one.
static_assert((int64_t{-3} >> 1) == -2, "arithmetic right shift");
inline int64_t AltaBol(int64_t v, int k) { return v >> k; }

// Exact floor(n / d) for 0 <= n <= 32768 d (the sum of a window of d
// absolute samples) with one multiplication where d allows it: for
// 2 <= d <= 2^24 the high half of m n, m = ceil(2^64 / d). That is exact by
// Granlund and Montgomery's bound: n < 2^N with N = ceil(log2 d) + 16, and
// m d - 2^64 < d <= 2^(64 - N). A window of one sample is its own sum; a
// longer one than 2^24 is divided.
class BOLEN {
public:
    explicit BOLEN(int64_t d) : d_(d) {
        if (d >= 2 && d <= (int64_t{1} << 24)) m_ = ~uint64_t{0} / static_cast<uint64_t>(d) + 1;
    }
    int64_t operator()(int64_t n) const {
        if (m_ != 0) return static_cast<int64_t>((static_cast<unsigned __int128>(m_) * static_cast<uint64_t>(n)) >> 64);
        return d_ == 1 ? n : n / d_;
    }

private:
    int64_t d_;
    uint64_t m_ = 0;
};

typedef short S8 __attribute__((vector_size(16)));
typedef unsigned short U8 __attribute__((vector_size(16)));
typedef int I8 __attribute__((vector_size(32)));

// |v| of each lane as an unsigned 16-bit number, 32768 included: with s
// -1 for a negative v and 0 otherwise, (v ^ s) - s.
inline U8 Mutlak8(S8 v) {
    const U8 s = reinterpret_cast<U8>(v >> 15);
    return (reinterpret_cast<U8>(v) ^ s) - s;
}

// Eight slides of the endpoint window, from the starts d = 0 .. 7 at p: the
// change of the energy sum, |p[d + kpenu]| - |p[d]|, into de[d], and of the
// crossing count (a pair whose signs differ counts 2), into dz[d]. Reads
// p[0 .. kpenu + 8].
inline void Kaymalar8(const short* p, int kpenu, int* de, int* dz) {
    S8 cik, cik1, gir, gir1;
    std::memcpy(&cik, p, sizeof cik);
    std::memcpy(&cik1, p + 1, sizeof cik1);
    std::memcpy(&gir, p + kpenu, sizeof gir);
    std::memcpy(&gir1, p + kpenu + 1, sizeof gir1);
    const I8 e = __builtin_convertvector(Mutlak8(gir), I8) - __builtin_convertvector(Mutlak8(cik), I8);
    // Signs differ where the exclusive or is negative.
    const S8 g = (((gir ^ gir1) >> 15) & 2) - (((cik ^ cik1) >> 15) & 2);
    const I8 z = __builtin_convertvector(g, I8);
    std::memcpy(de, &e, sizeof e);
    std::memcpy(dz, &z, sizeof z);
}

// The recording through kind 3's high-pass filter (see sinir.h) into y, in
// fixed point: coefficients in units of 2^-28, the output carried with 12
// fraction bits. Bounds: |x[i] - 2x[i-1] + x[i-2]| <= 2^17, and the output
// stays under 2^18 (the filter, blind to a constant, sees x - x[0], within
// 2^16, and the magnitudes of its impulse response sum to less than 2.5 at
// every rate), so no term reaches 2^60 and the sum fits in 64 bits.
void YuksekGecir(const short* x, int boyut, int oo, short* y) {
    constexpr int KAT = 28, KESIR = 12;
    const double K = std::tan(3.141592653589793 * KESIM_HZ / oo);
    const double n = 1.0 / (1.0 + std::sqrt(2.0) * K + K * K);
    const int64_t B0 = std::llround(std::ldexp(n, KAT));
    const int64_t A1 = std::llround(std::ldexp(2.0 * (K * K - 1.0) * n, KAT));
    const int64_t A2 = std::llround(std::ldexp((1.0 - std::sqrt(2.0) * K + K * K) * n, KAT));
    int64_t x1 = x[0], x2 = x[0], y1 = 0, y2 = 0;
    for (int i = 0; i < boyut; i++) {
        const int64_t fark = x[i] - 2 * x1 + x2;
        // The terms that need not wait for the last output are added first
        // (the same integer in any order): the step waits on one product.
        const int64_t hazir = B0 * fark * (int64_t{1} << KESIR) - A2 * y2 + (int64_t{1} << (KAT - 1));
        const int64_t yeni = AltaBol(hazir - A1 * y1, KAT);
        x2 = x1;
        x1 = x[i];
        y2 = y1;
        y1 = yeni;
        const int64_t v = AltaBol(yeni + (int64_t{1} << (KESIR - 1)), KESIR);
        y[i] = static_cast<short>(std::clamp<int64_t>(v, -32768, 32767));
    }
}

}  // namespace

void SinirOlcumleri(const short* x, int boyut, int kpenu, int* orke, int* sfrgecis) {
    if (boyut <= 0 || orke == nullptr || sfrgecis == nullptr) return;
    const int h = kpenu / 2;
    // Measured positions: h <= j < boyut - h. When there is one, the window
    // of the last one ends inside the recording (kpenu <= 2h + 1 <= boyut).
    if (x == nullptr || kpenu < 1 || h >= boyut - h) {
        std::fill(orke, orke + boyut, 0);
        std::fill(sfrgecis, sfrgecis + boyut, 0);
        return;
    }
    // The unmeasured edges; every other entry is written below.
    std::fill(orke, orke + h, 0);
    std::fill(sfrgecis, sfrgecis + h, 0);
    std::fill(orke + (boyut - h), orke + boyut, 0);
    std::fill(sfrgecis + (boyut - h), sfrgecis + boyut, 0);

    // Pair (i, i+1) adds 2 when the signs differ (0 counts as positive);
    // the pair after the last sample has no partner and adds nothing.
    auto gecis = [x, boyut](int i) -> int {
        if (i + 1 >= boyut) return 0;
        return ((x[i] < 0) != (x[i + 1] < 0)) ? 2 : 0;
    };
    int64_t enerji = 0;
    int gecisler = 0;
    for (int i = 0; i < kpenu; i++) {
        enerji += std::abs(static_cast<int>(x[i]));
        gecisler += gecis(i);
    }
    // After position j the window slides from start d = j - h to d + 1: it
    // drops sample (and pair) d and takes d + kpenu. The changes of the two
    // sums are worked out for a stretch of slides first, eight at a time in
    // integer lanes where every pair taken has its partner, and then added
    // up position by position.
    const BOLEN bol(kpenu);
    const int kaymalar = boyut - 2 * h - 1;  // d = 0 .. kaymalar - 1
    constexpr int PARCA = 256;
    int de[PARCA], dz[PARCA];
    int j = h;
    for (int d0 = 0; d0 < kaymalar; d0 += PARCA) {
        const int adet = std::min(PARCA, kaymalar - d0);
        int t = 0;
        for (; t + 8 <= adet && d0 + t + 8 + kpenu < boyut; t += 8) Kaymalar8(x + d0 + t, kpenu, de + t, dz + t);
        for (; t < adet; t++) {
            const int d = d0 + t;
            de[t] = std::abs(static_cast<int>(x[d + kpenu])) - std::abs(static_cast<int>(x[d]));
            dz[t] = gecis(d + kpenu) - gecis(d);
        }
        for (t = 0; t < adet; t++, j++) {
            orke[j] = static_cast<int>(bol(enerji));
            sfrgecis[j] = gecisler;
            enerji += de[t];
            gecisler += dz[t];
        }
    }
    orke[j] = static_cast<int>(bol(enerji));
    sfrgecis[j] = gecisler;
}

UCESIKLERI OndenEsikler(const int* orke, const int* sfrgecis, int boyut, int kpenu, int onde,
                        const KURALDOSYABASLIK& b) {
    auto Tavan = [](double v) { return static_cast<int>(std::min(std::ceil(v), 2147483647.0)); };
    const int h = kpenu >= 1 ? kpenu / 2 : 0;
    // The loudest measured window of the whole recording, eight running
    // maxima side by side.
    int enBuyuk = 0;
    if (orke != nullptr && kpenu >= 1) {
        int m[8] = {};
        int j = h;
        for (; j + 8 <= boyut - h; j += 8)
            for (int l = 0; l < 8; l++) m[l] = std::max(m[l], orke[j + l]);
        for (; j < boyut - h; j++) m[0] = std::max(m[0], orke[j]);
        enBuyuk = *std::max_element(m, m + 8);
    }
    UCESIKLERI e;
    e.yee = std::max(1, Tavan(static_cast<double>(enBuyuk) / ESIK_TEPE_ORANI));
    e.aee = std::max(1, Tavan(e.yee / 2.0));
    e.bsge = b.bsge;
    e.ogrenildi = false;
    // A stretch is `adet` consecutive measured positions whose windows fit
    // in `onde` samples.
    const int adet = onde - kpenu + 1;
    const int ilk = h, son = boyut - h - 1;  // the measured positions
    if (orke == nullptr || sfrgecis == nullptr || kpenu < 1 || adet < 1 || son - ilk + 1 < adet) return e;
    int64_t toplam = 0;
    int ondeEnBuyuk = 0;
    for (int j = ilk; j < ilk + adet; j++) {
        toplam += orke[j];
        ondeEnBuyuk = std::max(ondeEnBuyuk, orke[j]);
    }
    int64_t enAz = toplam;
    int bas = ilk;
    // The lead-in is the floor unless speech is already in it (a window
    // within 12 dB of the loudest); then the quietest stretch is.
    if (4 * static_cast<int64_t>(ondeEnBuyuk) >= enBuyuk && enBuyuk > 0) {
        for (int j = ilk + 1; j + adet - 1 <= son; j++) {
            toplam += orke[j + adet - 1] - orke[j - 1];
            if (toplam < enAz) {
                enAz = toplam;
                bas = j;
            }
        }
    }
    double tz = 0;
    for (int j = bas; j < bas + adet; j++) tz += sfrgecis[j];
    const double me = static_cast<double>(enAz) / adet, mz = tz / adet;
    double ke = 0, kz = 0;
    for (int j = bas; j < bas + adet; j++) {
        ke += (orke[j] - me) * (orke[j] - me);
        kz += (sfrgecis[j] - mz) * (sfrgecis[j] - mz);
    }
    const double de = std::sqrt(ke / adet), dz = std::sqrt(kz / adet);
    e.yee = std::max({1, Tavan(7.5 * me), Tavan(static_cast<double>(enBuyuk) / ESIK_TEPE_ORANI)});
    e.aee = std::min(e.yee, std::max(Tavan(me) + 1, Tavan(me + 3 * de)));
    e.bsge = std::max(b.bsge, Tavan(mz + 2 * dz));
    e.ogrenildi = true;
    return e;
}

UCESIKLERI UcNoktaEsikleri(const int* orke, const int* sfrgecis, int boyut, int kpenu,
                           const KURALDOSYABASLIK& b) {
    if (b.tur != 3) return UCESIKLERI{b.yee, b.aee, b.bsge, false};
    const int onde = static_cast<int>(static_cast<int64_t>(b.oo) * ONDE_MS / 1000);
    return OndenEsikler(orke, sfrgecis, boyut, kpenu, onde, b);
}

void DosyayaKaydet(const char* dosyaadi, const short* ornekveri, const int* enerji,
                   const int* sifirgecisi, int adimsayisi, int basl, int bitis, const UCESIKLERI* esik) {
    if (dosyaadi == nullptr) return;
    DokumDosyasi f = DokumAc(dosyaadi);
    if (!f) return;
    if (ornekveri == nullptr || enerji == nullptr || sifirgecisi == nullptr) adimsayisi = 0;

    static const std::string basYazi = Cp1254("Başlangıç:");
    static const std::string bitYazi = Cp1254("  Bitiş:");
    static const std::string sutunlar = Cp1254("Sıra\tEnerji\tSıfır Geçişi\n");
    std::string bas = basYazi + std::to_string(basl) + bitYazi + std::to_string(bitis) + "\n";
    if (esik != nullptr) {
        char satir[200];
        std::snprintf(satir, sizeof satir, "Eşikler (%s): yüksek örke %d, alçak örke %d, başlangıç sıfır geçiş %d\n",
                      esik->ogrenildi ? "100 ms'lik sessizlikten öğrenildi" : "kaydın en yüksek örkesinden", esik->yee,
                      esik->aee, esik->bsge);
        bas += Cp1254(satir);
    }
    bas += sutunlar;
    std::fwrite(bas.data(), 1, bas.size(), f.get());

    // Rows are formatted into one block and written in large pieces; a row
    // is at most 4 numbers of 11 characters and 4 separators.
    constexpr size_t PARCA = 1 << 20;
    constexpr size_t SATIR_EN_COK = 4 * 12;
    std::unique_ptr<char[]> tampon(new char[PARCA]);
    char* const ilk = tampon.get();
    char* p = ilk;
    for (int i = 0; i < adimsayisi; i++) {
        if (static_cast<size_t>(p - ilk) > PARCA - SATIR_EN_COK) {
            std::fwrite(ilk, 1, static_cast<size_t>(p - ilk), f.get());
            p = ilk;
        }
        p = SayiEkle(p, i, '\t');
        p = SayiEkle(p, ornekveri[i], '\t');
        p = SayiEkle(p, enerji[i], '\t');
        p = SayiEkle(p, sifirgecisi[i], '\n');
    }
    if (p != ilk) std::fwrite(ilk, 1, static_cast<size_t>(p - ilk), f.get());
}

void SinirDokumuYaz(const char* dosyaadi, const short* x, const UC_NOKTALAR& u) {
    if (!u.olculdu) return;
    DosyayaKaydet(dosyaadi, x, u.orke.get(), u.sfrgecis.get(), u.boyut, u.uc1, u.uc2,
                  u.esikYazilir ? &u.esik : nullptr);
}

void KonusmaYokBildir(const UC_NOKTALAR& u) {
    if (!u.olculdu || u.bulundu) return;
    int enYuksek = 0;
    for (int j = 0; j < u.boyut; j++) enYuksek = std::max(enYuksek, u.orke[j]);
    // A take that never reached the high threshold says so and what to do;
    // the general line is for one whose ends passed each other.
    if (enYuksek < u.esik.yee)
        Yaz("Ses eşiğe ulaşmadı: kaydın en yüksek örkesi %d, Yüksek Örke Eşiği %d. Yakından ya da daha yüksek "
            "sesle konuşun, eşiği düşürün ya da kesitli türü (3) seçin.\n",
            enYuksek, u.esik.yee);
    else
        Yaz("Konuşma yok yada yüksek enerji eşiği olması gerekenden yüksek.\n");
}

bool KonusmaKesin(const short* x, int boyut, const KURALDOSYABASLIK& b) {
    if (b.tur == 3 || b.yee < 1 || b.aee > b.yee || b.ks != 1 || b.oc != 16 || x == nullptr) return false;
    if (!Aralikta(Ayar(AYAR_OO), b.oo) || !Aralikta(Ayar(AYAR_KPENSU), b.kpensu)) return false;
    const int64_t kpenu = static_cast<int64_t>(b.kpensu) * b.oo / 1000;
    const int64_t h = kpenu / 2;
    if (kpenu < 1 || h >= boyut - h) return false;
    const int64_t esik = static_cast<int64_t>(b.yee) * kpenu;
    // The window of position j = h + d starts at sample d.
    int64_t enerji = 0;
    for (int64_t i = 0; i < kpenu; i++) enerji += std::abs(static_cast<int>(x[i]));
    for (int64_t d = 0;; d++) {
        if (h + d >= 1 && enerji >= esik) return true;
        if (h + d + 1 >= boyut - h) return false;
        enerji += std::abs(static_cast<int>(x[d + kpenu])) - std::abs(static_cast<int>(x[d]));
    }
}

UC_NOKTALAR KonusmaBul(const short* x, int boyut, const KURALDOSYABASLIK& b) {
    UC_NOKTALAR u;
    if (b.ks != 1 || b.oc != 16) {
        Yaz("Tek kanal ve 16 bit dışındakiler desteklenmiyor.\n");
        return u;
    }
    if (OrneklemeOraniDenetle(b.oo) != 0) return u;
    // The window may be longer than the recording; then nothing is measured.
    // At an accepted rate, the least window of the table is one sample.
    const int64_t kpenu64 = static_cast<int64_t>(b.kpensu) * b.oo / 1000;
    if (kpenu64 < 1 || !Aralikta(Ayar(AYAR_KPENSU), b.kpensu)) {
        Yaz("Kısa pencere süresi en az bir örnek tutmalı (şimdi %d ms).\n", b.kpensu);
        return u;
    }
    const int kpenu = static_cast<int>(std::min<int64_t>(kpenu64, INT_MAX));
    if (x == nullptr || boyut < 0) boyut = 0;
    const int tablo = std::max(boyut, 1);

    u.orke = DiziAl<int>(tablo);
    if (!u.orke) {
        Yaz("Örke değerleri için bellek ayrılamıyor.\n");
        return u;
    }
    u.sfrgecis = DiziAl<int>(tablo);
    if (!u.sfrgecis) {
        u.orke.reset();
        Yaz("Sıfır geçiş değerleri için bellek ayrılamıyor.\n");
        return u;
    }
    int* o = u.orke.get();
    int* z = u.sfrgecis.get();
    if (b.tur == 3 && boyut > 0) {
        // Measured through the high-pass filter; the positions are the
        // recording's own (the filter does not delay it by whole samples).
        const Dizi<short> suzulmus = DiziAl<short>(boyut);
        if (!suzulmus) {
            u.orke.reset();
            u.sfrgecis.reset();
            Yaz("Süzülmüş kayıt için bellek ayrılamıyor.\n");
            return u;
        }
        YuksekGecir(x, boyut, b.oo, suzulmus.get());
        SinirOlcumleri(suzulmus.get(), boyut, kpenu, o, z);
    } else {
        SinirOlcumleri(x, boyut, kpenu, o, z);
    }
    const UCESIKLERI e = UcNoktaEsikleri(o, z, boyut, kpenu, b);
    u.olculdu = true;
    u.boyut = boyut;
    u.esik = e;
    u.esikYazilir = b.tur == 3;

    // The first and the last position that reach the high threshold.
    int uc1 = 0, uc2 = 0;
    for (int j = 0; j < boyut; j++) {
        if (o[j] >= e.yee) {
            uc1 = j;
            break;
        }
    }
    for (int j = boyut - 1; j >= uc1; j--) {
        if (o[j] >= e.yee) {
            uc2 = j;
            break;
        }
    }
    // Only both ends at 0 means that no position reached the threshold.
    const bool yuksekVar = uc1 != 0 || uc2 != 0;
    if (yuksekVar) {
        // Widen the start by energy, then move it over the run of high zero
        // crossings that ends there; widen the end by energy.
        int i = uc1;
        while (i >= 0 && o[i] >= e.aee) i--;
        uc1 = i + 1;
        i = uc1;
        while (i >= 0 && i < boyut && z[i] >= e.bsge) i--;
        uc1 = i + 1;
        i = uc2;
        while (i < boyut && o[i] >= e.aee) i++;
        uc2 = i - 1;
    }
    // A low threshold above the high one can move the ends past each other:
    // a segment of negative length is no speech either.
    if (!yuksekVar || uc2 - uc1 + 1 < 0) return u;
    u.bulundu = true;
    u.bas = uc1;
    u.uzunluk = uc2 - uc1 + 1;
    u.uc1 = uc1;
    u.uc2 = uc2;
    return u;
}
