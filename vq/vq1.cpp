#include "vq1.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "ayar_tablosu.h"
#include "bellek.h"
#include "mesaj.h"
#include "sifirlama.h"
#include "velmo.h"
#include "vq3.h"

namespace {

// The generator of the C standard's example: the same sequence on every
// machine, so a codebook trained anywhere is the same everywhere.
uint32_t uretecDurumu = 1;

void UreteciTohumla(int tohum) { uretecDurumu = static_cast<uint32_t>(tohum); }

int UretecSonraki() {
    uretecDurumu = uretecDurumu * 1103515245u + 12345u;
    return static_cast<int>((uretecDurumu / 65536u) % (URETEC_EN_BUYUK + 1u));
}

// Index of the greatest score; only a strictly greater one replaces the
// best, so the lowest index wins ties.
int EnBuyukSkor(const float* y, int s) {
    int kazanan = 0;
    float enbuyuk = y[0];
    for (int i = 1; i < s; i++) {
        if (y[i] > enbuyuk) {
            enbuyuk = y[i];
            kazanan = i;
        }
    }
    return kazanan;
}

// Scores vx - 0.5 vv of every codebook vector for x (vv, vx float sums in
// index order; the score computed in double and rounded to float) and the
// winner: the greatest score, the lowest index on ties.
int EnYakin(float** km, const float* x, int s, int n, float* y) {
    int i = 0;
    // Four codewords side by side: eight independent sums, each still a
    // float running sum in index order.
    for (; i <= s - 4; i += 4) {
        const float *c0 = km[i], *c1 = km[i + 1], *c2 = km[i + 2], *c3 = km[i + 3];
        float vv0 = 0.0f, vv1 = 0.0f, vv2 = 0.0f, vv3 = 0.0f;
        float vx0 = 0.0f, vx1 = 0.0f, vx2 = 0.0f, vx3 = 0.0f;
        for (int j = 0; j < n; j++) {
            const float xj = x[j];
            vv0 += c0[j] * c0[j];
            vx0 += c0[j] * xj;
            vv1 += c1[j] * c1[j];
            vx1 += c1[j] * xj;
            vv2 += c2[j] * c2[j];
            vx2 += c2[j] * xj;
            vv3 += c3[j] * c3[j];
            vx3 += c3[j] * xj;
        }
        y[i] = vx0 - 0.5 * vv0;
        y[i + 1] = vx1 - 0.5 * vv1;
        y[i + 2] = vx2 - 0.5 * vv2;
        y[i + 3] = vx3 - 0.5 * vv3;
    }
    for (; i < s; i++) {
        const float* c = km[i];
        float vv = 0.0f, vx = 0.0f;
        for (int j = 0; j < n; j++) {
            vv += c[j] * c[j];
            vx += c[j] * x[j];
        }
        y[i] = vx - 0.5 * vv;
    }
    return EnBuyukSkor(y, s);
}

// The first vector, in row order, of region `bolge` that differs from the
// region's codeword: the donor of a refill; -1 when there is none.
int Verici(float* const* km, float* const* gm, const int* etiketler, int bolge, int n, int r) {
    for (int i = 0; i < r; i++)
        if (etiketler[i] == bolge && EsitYoneyler(km[bolge], gm[i], n) == 1) return i;
    return -1;
}

// Refills every codeword whose region is empty (bolge[j] == 0), in index
// order, as the reset pre-iterations do: with the first vector, in row order,
// of the most populated region (lowest index on ties) that differs from that
// region's codeword. The donor is relabelled to the refilled codeword, so the
// counts stay true and no vector is given twice; a region none of whose
// vectors differs from its codeword is passed over for the next biggest. A
// codeword for which no region has a donor (the vectors hold fewer distinct
// values than there are codewords) keeps its old value.
void BosBolgeleriDoldur(float** km, float** gm, int* etiketler, int* bolge, int s, int r, int n) {
    std::vector<char> vericisiz(static_cast<size_t>(s), 0);
    for (int j = 0; j < s; j++) {
        if (bolge[j] != 0) continue;
        for (;;) {
            int enb = -1;
            for (int k = 0; k < s; k++)
                if (!vericisiz[static_cast<size_t>(k)] && bolge[k] > 1 && (enb < 0 || bolge[k] > bolge[enb])) enb = k;
            if (enb < 0) break;
            const int verici = Verici(km, gm, etiketler, enb, n, r);
            if (verici < 0) {
                vericisiz[static_cast<size_t>(enb)] = 1;
                continue;
            }
            std::memcpy(km[j], gm[verici], static_cast<size_t>(n) * sizeof(float));
            etiketler[verici] = j;
            bolge[enb]--;
            bolge[j] = 1;
            break;
        }
    }
}

const char* const kCevrimSatiri = "\tÇevrim:%d\tbirinci yöney:%d\tetiket sayısı:%d\n";

// Work of the training run in progress: distance terms (vectors x codewords x
// components) of the passes made so far. VQ_Egit starts it at 0; LBG and the
// reset called on their own start their own count.
bool egitimde = false;
int64_t egitimIsi = 0;

// Takes the work of one pass over the vectors; false (nothing taken) when it
// would go past vq_is_siniri.
bool GecisIsiAl(int r, int s, int n) {
    const int64_t gecis = static_cast<int64_t>(r) * s * n;
    if (gecis > vq_is_siniri - egitimIsi) return false;
    egitimIsi += gecis;
    return true;
}

struct EgitimKapsami {
    bool onceki;
    EgitimKapsami() : onceki(egitimde) {
        if (!egitimde) egitimIsi = 0;
        egitimde = true;
    }
    ~EgitimKapsami() { egitimde = onceki; }
};

}  // namespace

int64_t vq_is_siniri = 4000000000LL;

int EsitYoneyler(const float* yoney1, const float* yoney2, int n) {
    for (int j = 0; j < n; j++)
        if (yoney1[j] != yoney2[j]) return 1;
    return 0;
}

void RasgeleSayilarUret(int* rsd, int s, int r) {
    UreteciTohumla(ayr.thm);
    if (s < 1) return;
    std::memset(rsd, 0, static_cast<size_t>(s) * sizeof(int));
    // Candidates come from g * r / URETEC_EN_BUYUK for g below it (the largest
    // g gives r and is drawn again); rows 1..r-1 offer at most this many
    // distinct values.
    const int secilebilir = r <= URETEC_EN_BUYUK ? r - 1 : VQ_EN_COK_SECIM;
    if (s > secilebilir) return;
    // A candidate is refused while it equals an entry of rsd; the entries not
    // yet drawn hold 0, so 0 is refused too. The taken candidates are marked
    // by their row when r <= URETEC_EN_BUYUK (several g give one row) and by g
    // above it (each g gives its own row), so the check costs the same for any s.
    std::bitset<URETEC_EN_BUYUK + 1> alinan;
    alinan.set(0);
    for (int j = 0; j < s; j++) {
        for (;;) {
            const int g = UretecSonraki();
            const int dizin = static_cast<int>(static_cast<int64_t>(g) * r / URETEC_EN_BUYUK);
            if (dizin >= r) continue;
            const int anahtar = r <= URETEC_EN_BUYUK ? dizin : g;
            if (alinan.test(static_cast<size_t>(anahtar))) continue;
            alinan.set(static_cast<size_t>(anahtar));
            rsd[j] = dizin;
            break;
        }
    }
}

int KazananGoze(float** gm, float** km, float** uzaklik, int I, int s, int n, int* kazanangoze) {
    Dizi<float> y = DiziAl<float>(s);
    if (!y || s < 1) {
        Yaz("'KazananGoze()' 'y' dizisi için bellek ayrılamıyor.\n");
        return 1;
    }
    const float* x = gm[I];
    const int w = EnYakin(km, x, s, n, y.get());
    *kazanangoze = w;
    float* fark = *uzaklik;
    for (int j = 0; j < n; j++) fark[j] = x[j] - km[w][j];
    return 0;
}

int Ortala(float* yoneymerkezi, float** gm, int* etiketler, int r, int n, int etiket) {
    for (int j = 0; j < n; j++) yoneymerkezi[j] = 0.0f;
    int etiketsayisi = 0;
    for (int i = 0; i < r; i++) {
        if (etiketler[i] != etiket) continue;
        for (int j = 0; j < n; j++) yoneymerkezi[j] += gm[i][j];
        etiketsayisi++;
    }
    if (etiketsayisi == 0) {
        Yaz("Paylaştırma sonucu %d. kural yöneyi hiçbir giriş tarafından seçilmedi 'Ortala()'.\n", etiket);
        return 1;
    }
    for (int j = 0; j < n; j++) yoneymerkezi[j] = yoneymerkezi[j] / static_cast<float>(etiketsayisi);
    return 0;
}

int LBG(float** km, float** gm, int s, int r, int n, int yinl) {
    EgitimKapsami kapsam;
    int sayac = 0;
    float onceki = 1000.0;
    const float uae = ayr.uae;
    Dizi<int> etiketler = DiziAl<int>(r);
    Dizi<int> eskiEtiketler = DiziAl<int>(r);
    if (!etiketler || !eskiEtiketler) {
        Yaz("'LBG()' 'etiketler' için bellek ayrılamıyor.\n");
        return 1;
    }
    Dizi<float> uzaklik = DiziAl<float>(n);
    if (!uzaklik) {
        Yaz("'LBG()' 'uzaklik' için bellek ayrılamıyor.\n");
        return 1;
    }
    Dizi<int> bolge = DiziAl<int>(s);
    if (!bolge) {
        Yaz("'LBG()' 'bolgeler' için bellek ayrılamıyor.\n");
        return 1;
    }
    bool yenidenBol = false;
    float* fark = uzaklik.get();
    // No label before the first pass, so the first always changes them.
    for (int i = 0; i < r; i++) eskiEtiketler[i] = -1;
    // The mean is per vector component: r x n, counted exactly, as a float.
    const float bilesenler = static_cast<float>(static_cast<int64_t>(r) * n);
    while (sayac < yinl) {
        if (!GecisIsiAl(r, s, n)) {
            Yaz("Eğitim iş sınırına ulaştı: LBG %d çevrimde durdu ('Yineleme Sayisi' %d, 'Uzaklik Siniri' %g).\n",
                sayac, yinl, static_cast<double>(uae));
            break;
        }
        float toplam = 0.0f;
        bool degisti = false;
        for (int i = 0; i < r; i++) {
            if (KazananGoze(gm, km, &fark, i, s, n, &etiketler[i]) == 1) {
                Yaz("İşlev çağrısı başarısız 'LBG()-->KazananGoze()'.\n");
                return 1;
            }
            degisti = degisti || etiketler[i] != eskiEtiketler[i];
            for (int j = 0; j < n; j++) toplam += fark[j] * fark[j];
        }
        // The same labels give the same centroids: the codebook already is
        // what every later pass would leave, whatever the threshold (unless
        // a refill moved a codeword off its region's centroid).
        if (!degisti && !yenidenBol) break;
        yenidenBol = false;
        toplam = toplam / bilesenler;
        if (uae > onceki - toplam) break;
        std::fill(bolge.get(), bolge.get() + s, 0);
        for (int i = 0; i < r; i++) bolge[etiketler[i]]++;
        bool bosVar = false;
        for (int i = 0; i < s; i++) {
            if (bolge[i] == 0) {
                bosVar = true;
                continue;
            }
            if (Ortala(km[i], gm, etiketler.get(), r, n, i) == 1) {
                Yaz("İşlev çağrısı başarısız LBG()--> Ortala()");
                Yaz("\tsayac:%d\tetiket:%d \n", sayac, i);
                return 1;
            }
        }
        // A codeword that no vector chose would stay useless (or, as a zero
        // row, wrong): it is refilled from the biggest region instead, and
        // the next pass spreads the vectors over all s codewords again.
        if (bosVar) {
            BosBolgeleriDoldur(km, gm, etiketler.get(), bolge.get(), s, r, n);
            yenidenBol = true;
        }
        std::swap(etiketler, eskiEtiketler);
        sayac++;
        onceki = toplam;
    }
    return 0;
}

int KuralKitabinaYerlestir(float** gm, float*** km, int* etiketler, int I, int enyuksekbolgedizini,
                           int n, int r) {
    float** k = *km;
    const int i = Verici(k, gm, etiketler, enyuksekbolgedizini, n, r);
    if (i >= 0) std::memcpy(k[I], gm[i], static_cast<size_t>(n) * sizeof(float));
    return 0;
}

int KuralKitabiniSifirla(float** gm, float*** km, int s, int n, int r) {
    EgitimKapsami kapsam;
    Dizi<int> etiketler = DiziAl<int>(r);
    if (!etiketler) {
        Yaz("Etiketler için bellek ayrılamıyor.\n");
        return 1;
    }
    Dizi<int> bolgeler = DiziAl<int>(s);
    if (!bolgeler || s < 1) {
        Yaz("Bölgeler için bellek ayrılamıyor.\n");
        return 1;
    }
    Dizi<float> uzaklik = DiziAl<float>(n);
    if (!uzaklik) {
        Yaz("Uzaklık için bellek ayrılamıyor.\n");
        return 1;
    }
    float* fark = uzaklik.get();
    int* bolge = bolgeler.get();
    int yineleme = 0;
    int enyuksekbolgedizini = 0, enyuksekbolgesayisi = 0;
    bool yerlesti = false;
    while (!yerlesti && yineleme < ayr.onyinl) {
        if (!GecisIsiAl(r, s, n)) {
            Yaz("Eğitim iş sınırına ulaştı: sıfırlama %d çevrimde bitmedi ('OnYineleme Sayisi' %d).\n", yineleme,
                ayr.onyinl);
            return 1;
        }
        for (int i = 0; i < r; i++) {
            if (KazananGoze(gm, *km, &fark, i, s, n, &etiketler[i]) == 1) {
                Yaz("İşlev çağrısı başarısız 'KuralKitabiniSifirla()-->KazananGoze()'.\n");
                return 1;
            }
        }
        std::memset(bolge, 0, static_cast<size_t>(s) * sizeof(int));
        for (int i = 0; i < r; i++) bolge[etiketler[i]]++;
        enyuksekbolgedizini = 0;
        enyuksekbolgesayisi = 0;
        for (int j = 0; j < s; j++) {
            if (bolge[j] > enyuksekbolgesayisi) {
                enyuksekbolgesayisi = bolge[j];
                enyuksekbolgedizini = j;
            }
        }
        if (enyuksekbolgesayisi < ayr.eabs) {
            Yaz("Sıfırlama sırasında kural yöneylerinden hiçbiri %d sayıda etiket toplayamadı.\n", ayr.eabs);
            Yaz(kCevrimSatiri, yineleme, enyuksekbolgedizini, enyuksekbolgesayisi);
            return 1;
        }
        int bos = -1;
        for (int j = 0; j < s && bos < 0; j++)
            if (bolge[j] == 0) bos = j;
        if (bos >= 0)
            KuralKitabinaYerlestir(gm, km, etiketler.get(), bos, enyuksekbolgedizini, n, r);
        else
            yerlesti = true;
        yineleme++;
    }
    if (!yerlesti) {
        Yaz("Sıfırlama işlemi %d sayida çevrim sonrasında başarısız.\n", ayr.onyinl);
        Yaz(kCevrimSatiri, yineleme, enyuksekbolgedizini, enyuksekbolgesayisi);
        return 1;
    }
    return 0;
}

int EgitimKitabiUygun(int secim, int s, int n) {
    if (ayr.kdbayrak == 0 && secim > VQ_EN_COK_SECIM) {
        Yaz("Rasgele seçimle en çok %d kural yöneyi çıkarılabilir, %d istendi.\n", VQ_EN_COK_SECIM, secim);
        return 1;
    }
    if (ayr.kdbayrak != 0 && ayr.km == nullptr) {
        Yaz("Yeniden eğitilecek kural kitabı bellekte yok.\n");
        return 1;
    }
    if (ayr.kdbayrak != 0 && (ayr.kms != s || ayr.kmn != n)) {
        Yaz("Bellekteki kural kitabı %dx%d, ayarlar %dx%d istiyor; yeniden eğitilemez.\n", ayr.kms, ayr.kmn, s, n);
        return 1;
    }
    return 0;
}

int YeniKuralKitabi(int s, int n) {
    float** yeni = Calloc2B<float>(s, n, 4);
    if (yeni == nullptr) {
        Yaz("Yeni kural matrisi için bellek ayrılamıyor.\n");
        return 1;
    }
    // A codebook left over from earlier training is not the file's: it is
    // replaced, and released so it does not leak.
    KuralKitabiKur(yeni, s, n);
    return 0;
}

int VQ_Egit() {
    EgitimKapsami kapsam;
    if (ayr.kdbaslik.tur == 3) return KesitliVQ_Egit();
    float** gm;
    if (ayr.kdbaslik.tur == 1) {
        gm = ayr.Ci;
    } else if (ayr.kdbaslik.tur == 2) {
        gm = ayr.DelCi;
    } else {
        Yaz("Bu algoritma yalnızca LPC ve DLPC yöneyleri içindir.\n");
        return 1;
    }
    const int s = ayr.kdbaslik.s, n = ayr.kdbaslik.n, r = ayr.r;
    // Sizes the training cannot work with are refused before anything is
    // taken or drawn: the random selection needs s distinct rows from 1..r-1.
    if (s < 1 || n < 1 || n > AYAR_EN_COK_N) {
        Yaz("Kural kitabı boyutları geçersiz: %d yöney, %d boyut (yöney en az 1, boyut 1 ile %d arası olmalı).\n",
            s, n, AYAR_EN_COK_N);
        return 1;
    }
    if (gm == nullptr || r <= s) {
        Yaz("Eğitim için yeterli LPC/DLPC yöneyi yok: %d kural yöneyi için en az %lld yöney gerekir, %d var.\n", s,
            static_cast<long long>(s) + 1, gm == nullptr ? 0 : r);
        return 1;
    }
    if (EgitimKitabiUygun(s, s, n) != 0) return 1;
    Dizi<int> rsd = DiziAl<int>(s);
    if (!rsd) {
        Yaz("Rasgele sayılar dizisi için bellek ayrılamıyor.\n");
        return 1;
    }
    Yaz("\n>Egitme islemi basladi\n");
    if (ayr.kdbayrak == 0) {
        if (YeniKuralKitabi(s, n) != 0) return 1;
        RasgeleSayilarUret(rsd.get(), s, r);
        for (int i = 0; i < s; i++)
            std::memcpy(ayr.km[i], gm[rsd[i]], static_cast<size_t>(n) * sizeof(float));
        Yaz("\n>Rasgele secimler yapildi\n");
    } else {
        if (KuralKitabiniSifirla(gm, &ayr.km, s, n, r) == 1) {
            Yaz("Kural kitabi sıfırlanamıyor.\n");
            return 1;
        }
        Yaz("\n>Kural kitabi sifirlandi\n");
    }
    if (LBG(ayr.km, gm, s, r, n, ayr.yinl) == 0) {
        rsd.reset();
        Yaz("\n>Egitme islemi tamamlandi\n");
        return 0;
    }
    Yaz("Başarısız işlev çağrısı VQ_Egit()-->LBG().\n");
    return 1;
}

int VQ_Siniflandir(int k, float* uzaklik) {
    if (ayr.kdbaslik.tur == 3) return KesitliSiniflandir(k, uzaklik);
    const int s = ayr.kdbaslik.s, n = ayr.kdbaslik.n;
    float** kodyoney = ayr.km;
    float** gm = ayr.kdbaslik.tur == 2 ? ayr.DelCi : ayr.Ci;
    *uzaklik = std::numeric_limits<float>::infinity();
    // A codebook of another shape than the header says (settings changed
    // after it was made) is never read past its rows: it loses.
    if (kodyoney == nullptr || gm == nullptr || s < 1 || n < 1 || k < 0 || ayr.kms != s || ayr.kmn != n) return -1;
    Dizi<float> y = DiziAl<float>(s);
    if (!y) {
        Yaz(" Ara işlem için bellek ayrilamadi 'VQ_Siniflandir'");
        return -1;
    }
    const float* x = gm[k];
    const int w = EnYakin(kodyoney, x, s, n, y.get());
    float d = 0.0f;
    for (int j = 0; j < n; j++) {
        const float f = x[j] - kodyoney[w][j];
        d += f * f;
    }
    *uzaklik = d;
    return w;
}

namespace {

// Sum of the frames' distances, as VQ_Siniflandir gives them one by one, with
// the codeword energies computed once; false when VQ_Siniflandir itself has
// to answer (no codebook, no features, no working storage).
bool UzakliklarToplami(float* tuz) {
    const int s = ayr.kdbaslik.s, n = ayr.kdbaslik.n;
    float** gm = ayr.kdbaslik.tur == 2 ? ayr.DelCi : ayr.Ci;
    if (ayr.km == nullptr || gm == nullptr || s < 1 || n < 1 || ayr.kms != s || ayr.kmn != n) return false;
    return EnYakinUzakliklar(ayr.km, s, n, gm, 0, ayr.r, tuz) == 0;
}

}  // namespace

int EnYakinUzakliklar(float** km, int s, int n, float** gm, int bas, int son, float* toplam) {
    if (km == nullptr || gm == nullptr || s < 1 || n < 1) return 1;
    // Codewords in groups of sixteen, component-major: group g, component j
    // holds c[16g][j] .. c[16g+15][j] (missing codewords 0, their scores
    // unused), so four vector operations take one step of sixteen vx sums,
    // four independent chains. Each lane is still the float running sum of
    // c[j] * x[j] in index order; the score vx - 0.5 vv and the winner are
    // EnYakin's.
    typedef float V4 __attribute__((vector_size(16)));
    constexpr int G = 16;
    const int gruplar = (s + G - 1) / G;
    Dizi<float> y = DiziAl<float>(gruplar * G), vv = DiziAl<float>(s);
    Dizi<float> kt = DiziAl<float>(gruplar * n * G);
    if (!y || !vv || !kt) return 1;
    for (int i = 0; i < s; i++) {
        float e = 0.0f;
        for (int j = 0; j < n; j++) {
            e += km[i][j] * km[i][j];
            kt[(static_cast<size_t>(i / G) * n + j) * G + i % G] = km[i][j];
        }
        vv[i] = e;
    }
    // Four frames at a time: their winners, then their four distances side
    // by side (each a float sum in index order), added to the total in
    // frame order.
    float t = 0.0f;
    int k = bas;
    const float* x4[4];
    const float* c4[4];
    while (k < son) {
        const int f = std::min(4, son - k);
        for (int q = 0; q < f; q++) {
            const float* x = gm[k + q];
            for (int g = 0; g < gruplar; g++) {
                const float* blok = kt.get() + static_cast<size_t>(g) * n * G;
                V4 a0 = {}, a1 = {}, a2 = {}, a3 = {};
                for (int j = 0; j < n; j++) {
                    const V4 xj = {x[j], x[j], x[j], x[j]};
                    V4 c0, c1, c2, c3;
                    std::memcpy(&c0, blok + static_cast<size_t>(j) * G, sizeof c0);
                    std::memcpy(&c1, blok + static_cast<size_t>(j) * G + 4, sizeof c1);
                    std::memcpy(&c2, blok + static_cast<size_t>(j) * G + 8, sizeof c2);
                    std::memcpy(&c3, blok + static_cast<size_t>(j) * G + 12, sizeof c3);
                    a0 += c0 * xj;
                    a1 += c1 * xj;
                    a2 += c2 * xj;
                    a3 += c3 * xj;
                }
                float* yg = y.get() + static_cast<size_t>(g) * G;
                std::memcpy(yg, &a0, sizeof a0);
                std::memcpy(yg + 4, &a1, sizeof a1);
                std::memcpy(yg + 8, &a2, sizeof a2);
                std::memcpy(yg + 12, &a3, sizeof a3);
            }
            for (int i = 0; i < s; i++) y[i] = y[i] - 0.5 * vv[i];
            x4[q] = x;
            c4[q] = km[EnBuyukSkor(y.get(), s)];
        }
        for (int q = f; q < 4; q++) x4[q] = c4[q] = x4[0];  // unused lanes: distance 0
        V4 d = {};
        for (int j = 0; j < n; j++) {
            const V4 xv = {x4[0][j], x4[1][j], x4[2][j], x4[3][j]};
            const V4 cv = {c4[0][j], c4[1][j], c4[2][j], c4[3][j]};
            const V4 fv = xv - cv;
            d += fv * fv;
        }
        for (int q = 0; q < f; q++) t += d[q];
        k += f;
    }
    *toplam = t;
    return 0;
}

float OlasilikBul() {
    const int cercevesayisi = ayr.r;
    float tuz = 0.0f;
    const int64_t is = static_cast<int64_t>(cercevesayisi) * std::max(ayr.kdbaslik.s, 0) *
                       std::max(ayr.kdbaslik.n, 0);
    if (cercevesayisi > 0 && is > vq_is_siniri) {
        // As long as a whole training run: a codebook this size cannot win.
        Yaz("Puanlama iş sınırını aşıyor (%d yöney, %d kural yöneyi, %d boyut); puanlanmadı.\n", cercevesayisi,
            ayr.kdbaslik.s, ayr.kdbaslik.n);
        tuz = std::numeric_limits<float>::infinity();
    } else if (ayr.kdbaslik.tur == 3) {
        tuz = KesitliOlasilik();
    } else if (cercevesayisi > 0) {
        if (!UzakliklarToplami(&tuz)) {
            tuz = 0.0f;
            for (int i = 0; i < cercevesayisi; i++) {
                float uzaklik = 0.0f;
                VQ_Siniflandir(i, &uzaklik);
                tuz += uzaklik;
            }
        }
        tuz = tuz / static_cast<float>(cercevesayisi);
    } else {
        // No frames: nothing was said, so no codebook may win on it.
        tuz = std::numeric_limits<float>::infinity();
    }
    Yaz("uzaklik:%f\n", static_cast<double>(tuz));
    return tuz;
}
