#include "vq1.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <immintrin.h>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "ayar_tablosu.h"
#include "bellek.h"
#include "mesaj.h"
#include "velmo.h"
#include "vq3.h"

namespace {

// The generator of the C standard's example: the same sequence on every
// machine, so a codebook trained anywhere is the same everywhere.
int UretecSonraki(uint32_t& durum) {
    durum = durum * 1103515245u + 12345u;
    return static_cast<int>((durum / 65536u) % (URETEC_EN_BUYUK + 1u));
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
int EnYakin(SABIT_SATIR km, const float* x, int s, int n, float* y) {
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
int Verici(SABIT_SATIR km, SABIT_SATIR gm, const int* etiketler, int bolge, int n, int r) {
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
void BosBolgeleriDoldur(SATIR km, SABIT_SATIR gm, int* etiketler, int* bolge, int s, int r, int n) {
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

// Does the codebook have the shape the header gives it?
bool Kullanilir(const MATRIS& km, int s, int n) {
    return !km.Bos() && s >= 1 && n >= 1 && km.Satir() == s && km.Sutun() == n;
}

}  // namespace

int64_t vq_is_siniri = 4000000000LL;

// Takes the work of one pass over the vectors; false (nothing taken) when it
// would go past the limit.
bool EGITICI::GecisIsiAl(int r, int s, int n) {
    const int64_t gecis = static_cast<int64_t>(r) * s * n;
    if (gecis > isSiniri_ - is_) return false;
    is_ += gecis;
    return true;
}

int EsitYoneyler(const float* yoney1, const float* yoney2, int n) {
    for (int j = 0; j < n; j++)
        if (yoney1[j] != yoney2[j]) return 1;
    return 0;
}

void EGITICI::RasgeleSayilarUret(int* rsd, int s, int r) {
    uretec_ = static_cast<uint32_t>(ayar_.thm);
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
            const int g = UretecSonraki(uretec_);
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

int KazananGoze(SABIT_SATIR gm, SABIT_SATIR km, float* fark, int I, int s, int n, int* kazanangoze) {
    Dizi<float> y = DiziAl<float>(s);
    if (!y || s < 1) {
        Yaz("En yakın kural yöneyini bulmak için bellek ayrılamıyor.\n");
        return 1;
    }
    const float* x = gm[I];
    const int w = EnYakin(km, x, s, n, y.get());
    *kazanangoze = w;
    for (int j = 0; j < n; j++) fark[j] = x[j] - km[w][j];
    return 0;
}

int Ortala(float* yoneymerkezi, SABIT_SATIR gm, const int* etiketler, int r, int n, int etiket) {
    for (int j = 0; j < n; j++) yoneymerkezi[j] = 0.0f;
    int etiketsayisi = 0;
    for (int i = 0; i < r; i++) {
        if (etiketler[i] != etiket) continue;
        for (int j = 0; j < n; j++) yoneymerkezi[j] += gm[i][j];
        etiketsayisi++;
    }
    if (etiketsayisi == 0) {
        Yaz("Paylaştırma sonucu %d. kural yöneyi hiçbir giriş tarafından seçilmedi.\n", etiket);
        return 1;
    }
    for (int j = 0; j < n; j++) yoneymerkezi[j] = yoneymerkezi[j] / static_cast<float>(etiketsayisi);
    return 0;
}

int EGITICI::LBG(SATIR km, SABIT_SATIR gm, int s, int r, int n, int yinl) {
    KAPSAM kapsam(*this);
    int sayac = 0;
    float onceki = 1000.0;
    const float uae = ayar_.uae;
    Dizi<int> etiketler = DiziAl<int>(r);
    Dizi<int> eskiEtiketler = DiziAl<int>(r);
    if (!etiketler || !eskiEtiketler) {
        Yaz("Eğitimin etiketleri için bellek ayrılamıyor.\n");
        return 1;
    }
    Dizi<float> uzaklik = DiziAl<float>(n);
    if (!uzaklik) {
        Yaz("Eğitimin uzaklıkları için bellek ayrılamıyor.\n");
        return 1;
    }
    Dizi<int> bolge = DiziAl<int>(s);
    if (!bolge) {
        Yaz("Eğitimin bölgeleri için bellek ayrılamıyor.\n");
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
            if (KazananGoze(gm, km, fark, i, s, n, &etiketler[i]) == 1) {
                Yaz("Eğitim yarıda kaldı: bir yöneyin en yakın kural yöneyi bulunamadı.\n");
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
                Yaz("Eğitim yarıda kaldı: %d. çevrimde %d. kural yöneyinin ağırlık merkezi bulunamadı.\n", sayac, i);
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

int EGITICI::KuralKitabiniSifirla(SABIT_SATIR gm, SATIR km, int s, int n, int r) {
    KAPSAM kapsam(*this);
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
    while (!yerlesti && yineleme < ayar_.onyinl) {
        if (!GecisIsiAl(r, s, n)) {
            Yaz("Eğitim iş sınırına ulaştı: sıfırlama %d çevrimde bitmedi ('OnYineleme Sayisi' %d).\n", yineleme,
                ayar_.onyinl);
            return 1;
        }
        for (int i = 0; i < r; i++) {
            if (KazananGoze(gm, km, fark, i, s, n, &etiketler[i]) == 1) {
                Yaz("Sıfırlama yarıda kaldı: bir yöneyin en yakın kural yöneyi bulunamadı.\n");
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
        if (enyuksekbolgesayisi < ayar_.eabs) {
            Yaz("Sıfırlama sırasında kural yöneylerinden hiçbiri %d sayıda etiket toplayamadı.\n", ayar_.eabs);
            Yaz(kCevrimSatiri, yineleme, enyuksekbolgedizini, enyuksekbolgesayisi);
            return 1;
        }
        int bos = -1;
        for (int j = 0; j < s && bos < 0; j++)
            if (bolge[j] == 0) bos = j;
        if (bos >= 0) {
            const int i = Verici(km, gm, etiketler.get(), enyuksekbolgedizini, n, r);
            if (i >= 0) std::memcpy(km[bos], gm[i], static_cast<size_t>(n) * sizeof(float));
        } else
            yerlesti = true;
        yineleme++;
    }
    if (!yerlesti) {
        Yaz("Sıfırlama işlemi %d sayida çevrim sonrasında başarısız.\n", ayar_.onyinl);
        Yaz(kCevrimSatiri, yineleme, enyuksekbolgedizini, enyuksekbolgesayisi);
        return 1;
    }
    return 0;
}

int EgitimKitabiUygun(const MATRIS* baslangic, int secim, int s, int n) {
    if (baslangic == nullptr && secim > VQ_EN_COK_SECIM) {
        Yaz("Rasgele seçimle en çok %d kural yöneyi çıkarılabilir, %d istendi.\n", VQ_EN_COK_SECIM, secim);
        return 1;
    }
    if (baslangic != nullptr && baslangic->Bos()) {
        Yaz("Yeniden eğitilecek kural kitabı bellekte yok.\n");
        return 1;
    }
    if (baslangic != nullptr && (baslangic->Satir() != s || baslangic->Sutun() != n)) {
        Yaz("Bellekteki kural kitabı %dx%d, ayarlar %dx%d istiyor; yeniden eğitilemez.\n", baslangic->Satir(),
            baslangic->Sutun(), s, n);
        return 1;
    }
    return 0;
}

namespace {

// The codebook a training starts from: a zeroed one, or a copy of the one
// to refine. Empty after a message.
MATRIS IlkKitap(const MATRIS* baslangic, int s, int n) {
    MATRIS km;
    const bool tamam = baslangic != nullptr ? km.Kopyala(*baslangic) : km.Kur(s, n);
    if (!tamam) Yaz("Yeni kural matrisi için bellek ayrılamıyor.\n");
    return km;
}

}  // namespace

MATRIS EGITICI::Egit(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS* baslangic) {
    KAPSAM kapsam(*this);
    if (b.tur == 3) {
        const int r = oz.r;
        if (oz.Ci.Bos() || r < 1) {
            Yaz("Eğitim için LPC yöneyi yok.\n");
            return MATRIS();
        }
        const int sinir = KesitSiniri(r);
        std::vector<float> k1, k2;
        AgirlikliYoneyler(oz.Ci, b.n, 0, sinir, k1);
        AgirlikliYoneyler(oz.Ci, b.n, sinir, r, k2);
        return KesitliEgit(k1, sinir, k2, r - sinir, b, baslangic);
    }
    const MATRIS* ozm;
    if (b.tur == 1) {
        ozm = &oz.Ci;
    } else if (b.tur == 2) {
        ozm = &oz.DelCi;
    } else {
        Yaz("Bu algoritma yalnızca LPC ve DLPC yöneyleri içindir.\n");
        return MATRIS();
    }
    const int s = b.s, n = b.n, r = oz.r;
    // Sizes the training cannot work with are refused before anything is
    // taken or drawn: the random selection needs s distinct rows from 1..r-1.
    if (s < 1 || n < 1 || n > AYAR_EN_COK_N) {
        Yaz("Kural kitabı boyutları geçersiz: %d yöney, %d boyut (yöney en az 1, boyut 1 ile %d arası olmalı).\n",
            s, n, AYAR_EN_COK_N);
        return MATRIS();
    }
    // The rows must hold n components each (an analysis made with this n).
    const bool oznitelikVar = !ozm->Bos() && ozm->Sutun() >= n && ozm->Satir() >= r;
    if (!oznitelikVar || r <= s) {
        Yaz("Eğitim için yeterli LPC/DLPC yöneyi yok: %d kural yöneyi için en az %lld yöney gerekir, %d var.\n", s,
            static_cast<long long>(s) + 1, !oznitelikVar ? 0 : r);
        return MATRIS();
    }
    if (EgitimKitabiUygun(baslangic, s, s, n) != 0) return MATRIS();
    Dizi<int> rsd = DiziAl<int>(s);
    if (!rsd) {
        Yaz("Rasgele sayılar dizisi için bellek ayrılamıyor.\n");
        return MATRIS();
    }
    const SABIT_SATIR gm = ozm->Satirlar();
    Yaz("\n>Egitme islemi basladi\n");
    MATRIS km = IlkKitap(baslangic, s, n);
    if (km.Bos()) return km;
    if (baslangic == nullptr) {
        RasgeleSayilarUret(rsd.get(), s, r);
        for (int i = 0; i < s; i++) std::memcpy(km[i], gm[rsd[i]], static_cast<size_t>(n) * sizeof(float));
        Yaz("\n>Rasgele secimler yapildi\n");
    } else {
        if (KuralKitabiniSifirla(gm, km.Satirlar(), s, n, r) == 1) {
            Yaz("Kural kitabi sıfırlanamıyor.\n");
            return MATRIS();
        }
        Yaz("\n>Kural kitabi sifirlandi\n");
    }
    if (LBG(km.Satirlar(), gm, s, r, n, ayar_.yinl) == 0) {
        Yaz("\n>Egitme islemi tamamlandi\n");
        return km;
    }
    Yaz("Kural kitabı iyileştirilemedi.\n");
    return MATRIS();
}

int VQ_Siniflandir(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km, int k, float* uzaklik) {
    if (b.tur == 3) return KesitliSiniflandir(oz, b, km, k, uzaklik);
    const int s = b.s, n = b.n;
    const MATRIS& ozm = b.tur == 2 ? oz.DelCi : oz.Ci;
    *uzaklik = std::numeric_limits<float>::infinity();
    // A codebook of another shape than the header says (settings changed
    // after it was made) is never read past its rows: it loses.
    if (!Kullanilir(km, s, n) || ozm.Bos() || ozm.Sutun() < n || k < 0 || k >= ozm.Satir()) return -1;
    const SABIT_SATIR kodyoney = km.Satirlar(), gm = ozm.Satirlar();
    Dizi<float> y = DiziAl<float>(s);
    if (!y) {
        Yaz("Sınıflandırma için bellek ayrılamıyor.\n");
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

typedef float V4 __attribute__((vector_size(16)));
typedef float V8 __attribute__((vector_size(32)));
typedef int M8 __attribute__((vector_size(32)));

// The frames' components as EnYakinUzakliklar reads them: row k of gm, times
// the weights when there are any (a float product each).
const float* Satir(SABIT_SATIR gm, int k, const float* agirlik, int n, float* yer) {
    if (agirlik == nullptr) return gm[k];
    for (int j = 0; j < n; j++) yer[j] = gm[k][j] * agirlik[j];
    return yer;
}

// EnYakinUzakliklar with codewords in lanes, for any processor (SSE2):
// codewords in groups of sixteen, component-major: group g, component j holds
// c[16g][j] .. c[16g+15][j] (missing codewords 0, their scores unused), so
// four vector operations take one step of sixteen vx sums, four independent
// chains. Each lane is still the float running sum of c[j] * x[j] in index
// order; the score vx - 0.5 vv and the winner are EnYakin's. Then four
// frames' distances side by side, each a float sum in index order, added to
// the total in frame order.
int KodSeritliToplam(SABIT_SATIR km, int s, int n, SABIT_SATIR gm, int bas, int son, const float* agirlik,
                     float* toplam) {
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
    float t = 0.0f;
    int k = bas;
    float agirlikli[4][AYAR_EN_COK_N];
    const float* x4[4];
    const float* c4[4];
    while (k < son) {
        const int f = std::min(4, son - k);
        for (int q = 0; q < f; q++) {
            const float* x = Satir(gm, k + q, agirlik, n, agirlikli[q]);
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

// With AVX2, frames in lanes instead: sixteen frames (two registers of
// eight) at a time, laid out component by component, so that no lane is
// wasted whatever the codebook's size (a kind-3 section has five codewords).
// Every function here is compiled for AVX2 and runs only where the processor
// has it. Its lanes do the same IEEE operations in the same order as the
// code above (no fused multiply-add is ever formed), so the results are the
// same bit for bit.
#define AVX2_ISLEV __attribute__((target("avx2"), always_inline)) inline
constexpr int SERIT = 8, BLOK = 2 * SERIT;

// The scores vx - 0.5 vv of eight lanes: vx widened to double, 0.5 vv
// (exact in double) taken off, the result rounded to float, as EnYakin.
AVX2_ISLEV V8 Skor8(V8 vx, double yariVv) {
    const __m256d y = _mm256_set1_pd(yariVv);
    const __m256 v = reinterpret_cast<__m256>(vx);
    const __m128 alt = _mm256_cvtpd_ps(_mm256_sub_pd(_mm256_cvtps_pd(_mm256_castps256_ps128(v)), y));
    const __m128 ust = _mm256_cvtpd_ps(_mm256_sub_pd(_mm256_cvtps_pd(_mm256_extractf128_ps(v, 1)), y));
    return reinterpret_cast<V8>(_mm256_set_m128(ust, alt));
}

// Codewords i .. i+Q-1 against R registers of frames (component j of the
// frames at xT + j * BLOK): each lane's vx is the float running sum of
// c[j] * x[j] in index order, and the winner so far moves to a codeword only
// on a strictly greater score (codewords come in index order, so the lowest
// index wins ties). Q x R sums side by side keep the adders busy; Q x R <= 12
// stays in the registers.
template <int R, int Q>
AVX2_ISLEV void KumeSkorlari(SABIT_SATIR km, int i, int n, const float* xT, const double* yariVv, V8* enIyi,
                             M8* kazanan) {
    const float* c[Q];
    V8 vx[Q][R];
#pragma GCC unroll 6
    for (int q = 0; q < Q; q++) {
        c[q] = km[i + q];
#pragma GCC unroll 2
        for (int r = 0; r < R; r++) vx[q][r] = V8{};
    }
    for (int j = 0; j < n; j++) {
        V8 x[R];
        std::memcpy(x, xT + j * BLOK, sizeof x);
#pragma GCC unroll 6
        for (int q = 0; q < Q; q++) {
            const float cj = c[q][j];
#pragma GCC unroll 2
            for (int r = 0; r < R; r++) vx[q][r] += cj * x[r];
        }
    }
#pragma GCC unroll 6
    for (int q = 0; q < Q; q++) {
#pragma GCC unroll 2
        for (int r = 0; r < R; r++) {
            const V8 y = Skor8(vx[q][r], yariVv[i + q]);
            if (i + q == 0) {
                enIyi[r] = y;
                kazanan[r] = M8{};
                continue;
            }
            const M8 daha = y > enIyi[r];
            enIyi[r] = daha ? y : enIyi[r];
            kazanan[r] = daha ? i + q : kazanan[r];
        }
    }
}

// Columns j0 .. j0+3 of rows a (rows 0-3 in the low halves, 4-7 in the
// high ones) as four registers of eight rows at hedef, hedef + BLOK, ...,
// each times its weight when there are weights.
AVX2_ISLEV void Dondur4(const __m256* a, int j0, const float* agirlik, float* hedef) {
    const __m256 t0 = _mm256_unpacklo_ps(a[0], a[1]), t1 = _mm256_unpackhi_ps(a[0], a[1]);
    const __m256 t2 = _mm256_unpacklo_ps(a[2], a[3]), t3 = _mm256_unpackhi_ps(a[2], a[3]);
    __m256 c[4] = {_mm256_shuffle_ps(t0, t2, 0x44), _mm256_shuffle_ps(t0, t2, 0xEE), _mm256_shuffle_ps(t1, t3, 0x44),
                   _mm256_shuffle_ps(t1, t3, 0xEE)};
    for (int i = 0; i < 4; i++) {
        if (agirlik != nullptr) c[i] = _mm256_mul_ps(c[i], _mm256_set1_ps(agirlik[j0 + i]));
        _mm256_storeu_ps(hedef + i * BLOK, c[i]);
    }
}

// Columns j0 .. j0+7 of the eight rows p[0..7], transposed: column j's
// eight values at hedef + (j - j0) * BLOK.
AVX2_ISLEV void Dondur8(const float* const* p, int j0, const float* agirlik, float* hedef) {
    __m256 a[4], b[4];
    for (int i = 0; i < 4; i++) {
        a[i] = _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(p[i] + j0)), _mm_loadu_ps(p[i + 4] + j0), 1);
        b[i] = _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(p[i] + j0 + 4)),
                                    _mm_loadu_ps(p[i + 4] + j0 + 4), 1);
    }
    Dondur4(a, j0, agirlik, hedef);
    Dondur4(b, j0 + 4, agirlik, hedef + 4 * BLOK);
}

// Lane l of the result is lane sira[l] % 8 of the eight codebook columns at
// kT + yer * 8.
AVX2_ISLEV V8 Sutun(const float* kT, int yer, __m256i sira) {
    return reinterpret_cast<V8>(_mm256_permutevar8x32_ps(_mm256_load_ps(kT + yer * SERIT), sira));
}

// One block of R registers of frames k .. k+f-1 (lanes past f repeat frame
// k+f-1 and are not added): the winners, then their distances, each the
// float sum of (x[j] - c[j])^2 in index order, added to *t in frame order.
// With at most 32 codewords the winner's component j comes from the columns
// kT (component j of codewords 8g .. 8g+7 at kT + (j * G + g) * 8) by a
// permutation per lane; with more (kT null), from the rows.
template <int R>
AVX2_ISLEV void Blok(SABIT_SATIR km, int s, int n, SABIT_SATIR gm, int k, int f, const float* agirlik,
                     const double* yariVv, const float* kT, int G, float* xT, float* t) {
    const float* p[BLOK];
    for (int q = 0; q < R * SERIT; q++) p[q] = gm[k + std::min(q, f - 1)];
    // Eight columns at a time while they lie in the rows' stride, the rest
    // one by one.
    int j = 0;
    for (; j < n && j + SERIT <= static_cast<int>(gm.adim); j += SERIT)
        for (int r = 0; r < R; r++) Dondur8(p + r * SERIT, j, agirlik, xT + j * BLOK + r * SERIT);
    for (; j < n; j++)
        for (int q = 0; q < R * SERIT; q++) xT[j * BLOK + q] = agirlik != nullptr ? p[q][j] * agirlik[j] : p[q][j];
    V8 enIyi[R] = {};
    M8 kazanan[R] = {};
    for (int i = 0; i < s;) {
        // Groups of at most six, as even as they come: 5 -> 5, 10 -> 5 + 5.
        const int kalan = s - i, gruplar = (kalan + 5) / 6, q = (kalan + gruplar - 1) / gruplar;
        switch (q) {
            case 1: KumeSkorlari<R, 1>(km, i, n, xT, yariVv, enIyi, kazanan); break;
            case 2: KumeSkorlari<R, 2>(km, i, n, xT, yariVv, enIyi, kazanan); break;
            case 3: KumeSkorlari<R, 3>(km, i, n, xT, yariVv, enIyi, kazanan); break;
            case 4: KumeSkorlari<R, 4>(km, i, n, xT, yariVv, enIyi, kazanan); break;
            case 5: KumeSkorlari<R, 5>(km, i, n, xT, yariVv, enIyi, kazanan); break;
            default: KumeSkorlari<R, 6>(km, i, n, xT, yariVv, enIyi, kazanan); break;
        }
        i += q;
    }
    V8 d[R] = {};
    if (kT != nullptr) {
        for (int j = 0; j < n; j++) {
            V8 x[R];
            std::memcpy(x, xT + j * BLOK, sizeof x);
#pragma GCC unroll 2
            for (int r = 0; r < R; r++) {
                const __m256i sira = reinterpret_cast<__m256i>(kazanan[r]);
                V8 c = Sutun(kT, j * G, sira);
                for (int g = 1; g < G; g++) c = kazanan[r] >= SERIT * g ? Sutun(kT, j * G + g, sira) : c;
                const V8 e = x[r] - c;
                d[r] += e * e;
            }
        }
    } else {
        int sira[BLOK];
        std::memcpy(sira, kazanan, R * sizeof(M8));
        float cT[AYAR_EN_COK_N * BLOK];
        for (int q = 0; q < R * SERIT; q++) {
            const float* c = km[sira[q]];
            for (int j = 0; j < n; j++) cT[j * BLOK + q] = c[j];
        }
        for (int j = 0; j < n; j++) {
            V8 x[R], c[R];
            std::memcpy(x, xT + j * BLOK, sizeof x);
            std::memcpy(c, cT + j * BLOK, sizeof c);
            for (int r = 0; r < R; r++) {
                const V8 e = x[r] - c[r];
                d[r] += e * e;
            }
        }
    }
    float uzaklik[BLOK];
    std::memcpy(uzaklik, d, R * sizeof(V8));
    for (int q = 0; q < f; q++) *t += uzaklik[q];
}

__attribute__((target("avx2"))) int CerceveSeritliToplam(SABIT_SATIR km, int s, int n, SABIT_SATIR gm, int bas,
                                                         int son, const float* agirlik, float* toplam) {
    // 0.5 vv of every codeword in double (exact), vv a float sum in index
    // order: eight codewords side by side from their columns when there are
    // at most 32 of them (kT: component j of codewords 8g .. 8g+7 at
    // kT + (j * G + g) * 8, missing codewords 0), else one by one.
    constexpr int YERINDE = 64, EN_COK_G = 4;
    double yerinde[YERINDE];
    Dizi<double> ayrilan;
    if (s > YERINDE && !(ayrilan = DiziAl<double>(s))) return 1;
    double* yariVv = s > YERINDE ? ayrilan.get() : yerinde;
    const int G = (s + SERIT - 1) / SERIT;
    alignas(32) float kT[AYAR_EN_COK_N * EN_COK_G * SERIT];
    if (G <= EN_COK_G) {
        static const float sifirlar[AYAR_EN_COK_N] = {};
        for (int g = 0; g < G; g++) {
            const float* c[SERIT];
            for (int l = 0; l < SERIT; l++) c[l] = g * SERIT + l < s ? km[g * SERIT + l] : sifirlar;
            V8 vv = {};
            for (int j = 0; j < n; j++) {
                const V8 v = reinterpret_cast<V8>(
                    _mm256_set_ps(c[7][j], c[6][j], c[5][j], c[4][j], c[3][j], c[2][j], c[1][j], c[0][j]));
                std::memcpy(kT + (j * G + g) * SERIT, &v, sizeof v);
                vv += v * v;
            }
            float e[SERIT];
            std::memcpy(e, &vv, sizeof e);
            for (int l = 0; l < SERIT && g * SERIT + l < s; l++) yariVv[g * SERIT + l] = 0.5 * e[l];
        }
    } else {
        for (int i = 0; i < s; i++) {
            float vv = 0.0f;
            for (int j = 0; j < n; j++) vv += km[i][j] * km[i][j];
            yariVv[i] = 0.5 * vv;
        }
    }
    // The block's frames component by component, room for whole groups of eight.
    alignas(32) float xT[(AYAR_EN_COK_N + SERIT) * BLOK];
    float t = 0.0f;
    for (int k = bas; k < son; k += BLOK) {
        const int f = std::min(BLOK, son - k);
        if (f > SERIT)
            Blok<2>(km, s, n, gm, k, f, agirlik, yariVv, G <= EN_COK_G ? kT : nullptr, G, xT, &t);
        else
            Blok<1>(km, s, n, gm, k, f, agirlik, yariVv, G <= EN_COK_G ? kT : nullptr, G, xT, &t);
    }
    *toplam = t;
    return 0;
}

}  // namespace

bool vq_avx2 = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));

int EnYakinUzakliklar(SABIT_SATIR km, int s, int n, SABIT_SATIR gm, int bas, int son, float* toplam,
                      const float* agirlik) {
    if (!km || !gm || s < 1 || n < 1 || n > AYAR_EN_COK_N) return 1;
    return vq_avx2 ? CerceveSeritliToplam(km, s, n, gm, bas, son, agirlik, toplam)
                   : KodSeritliToplam(km, s, n, gm, bas, son, agirlik, toplam);
}

float Puanla(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km) {
    const int cercevesayisi = oz.r;
    float tuz = 0.0f;
    const int64_t is = static_cast<int64_t>(cercevesayisi) * std::max(b.s, 0) * std::max(b.n, 0);
    if (cercevesayisi > 0 && is > vq_is_siniri) {
        // As long as a whole training run: a codebook this size cannot win.
        Yaz("Puanlama iş sınırını aşıyor (%d yöney, %d kural yöneyi, %d boyut); puanlanmadı.\n", cercevesayisi,
            b.s, b.n);
        return std::numeric_limits<float>::infinity();
    }
    if (b.tur == 3) return KesitliOlasilik(oz, b, km);
    if (cercevesayisi <= 0) {
        // No frames: nothing was said, so no codebook may win on it.
        return std::numeric_limits<float>::infinity();
    }
    const MATRIS& ozm = b.tur == 2 ? oz.DelCi : oz.Ci;
    const bool hazir = Kullanilir(km, b.s, b.n) && !ozm.Bos() && ozm.Sutun() >= b.n && ozm.Satir() >= cercevesayisi;
    if (!hazir || EnYakinUzakliklar(km.Satirlar(), b.s, b.n, ozm.Satirlar(), 0, cercevesayisi, &tuz) != 0) {
        // Without a usable codebook, features or working storage every frame
        // is as far as VQ_Siniflandir says: +infinity.
        tuz = 0.0f;
        for (int i = 0; i < cercevesayisi; i++) {
            float uzaklik = 0.0f;
            VQ_Siniflandir(oz, b, km, i, &uzaklik);
            tuz += uzaklik;
        }
    }
    return tuz / static_cast<float>(cercevesayisi);
}
