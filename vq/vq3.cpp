#include "vq3.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "ayar_tablosu.h"
#include "bellek.h"
#include "mesaj.h"
#include "sifirlama.h"
#include "velmo.h"
#include "vq1.h"

namespace {

constexpr double PI = 3.14159265358979323846;

// Calloc2B matrix of r rows of n floats over the copied vectors; freed on
// every path.
struct Matris {
    float** m = nullptr;
    Matris(const std::vector<float>& v, int r, int n) {
        if (r < 1 || n < 1) return;
        m = Calloc2B<float>(r, n, 4);
        if (m != nullptr) std::memcpy(m[0], v.data(), static_cast<size_t>(r) * static_cast<size_t>(n) * sizeof(float));
    }
    ~Matris() { Free2B(m); }
    Matris(const Matris&) = delete;
    Matris& operator=(const Matris&) = delete;
};

// One section: a new codebook's rows from the seeded random selection, or
// the rows in memory repaired by reset pre-iterations; then LBG.
int KesitEgit(float** kesitKm, float** gm, int h, int r, int n, int no) {
    if (ayr.kdbayrak == 0) {
        std::vector<int> rsd(static_cast<size_t>(h));
        RasgeleSayilarUret(rsd.data(), h, r);
        for (int i = 0; i < h; i++) std::memcpy(kesitKm[i], gm[rsd[static_cast<size_t>(i)]], static_cast<size_t>(n) * sizeof(float));
        Yaz("\n>%d. kesit: rasgele secimler yapildi\n", no);
    } else {
        float** k = kesitKm;
        if (KuralKitabiniSifirla(gm, &k, h, n, r) == 1) {
            Yaz("%d. kesitin kural kitabi sıfırlanamıyor.\n", no);
            return 1;
        }
        Yaz("\n>%d. kesit: kural kitabi sifirlandi\n", no);
    }
    if (LBG(kesitKm, gm, h, r, n, ayr.yinl) != 0) {
        Yaz("Başarısız işlev çağrısı KesitliEgit()-->LBG().\n");
        return 1;
    }
    return 0;
}

bool KodKitabiKullanilir() {
    const int s = ayr.kdbaslik.s, n = ayr.kdbaslik.n;
    return ayr.km != nullptr && ayr.Ci != nullptr && s >= 2 && s % 2 == 0 && n >= 1 && n <= AYAR_EN_COK_N &&
           ayr.kms == s && ayr.kmn == n;
}

}  // namespace

void SinusLifter(float* w, int n, int L) {
    for (int i = 1; i <= n; i++) w[i - 1] = static_cast<float>(1.0 + (L / 2.0) * std::sin(PI * i / L));
}

void AgirlikliYoneyler(int bas, int son, std::vector<float>& hedef) {
    const int n = ayr.kdbaslik.n;
    if (ayr.Ci == nullptr || n < 1 || n > AYAR_EN_COK_N) return;
    float w[AYAR_EN_COK_N];
    SinusLifter(w, n, KESIT_LIFTER);
    for (int k = bas; k < son; k++)
        for (int j = 0; j < n; j++) hedef.push_back(ayr.Ci[k][j] * w[j]);
}

int KesitliEgit(const std::vector<float>& kesit1, int r1, const std::vector<float>& kesit2, int r2) {
    const int s = ayr.kdbaslik.s, n = ayr.kdbaslik.n;
    if (s < 2 || s % 2 != 0 || n < 1 || n > AYAR_EN_COK_N) {
        Yaz("Kesitli kural kitabının boyutları geçersiz: %d yöney, %d boyut (yöney sayısı çift ve en az 2, boyut 1 "
            "ile %d arası olmalı).\n",
            s, n, AYAR_EN_COK_N);
        return 1;
    }
    const int h = s / 2;
    const int rler[2] = {r1, r2};
    for (int k = 0; k < 2; k++) {
        if (rler[k] < h + 1) {
            Yaz("Eğitim için yeterli LPC yöneyi yok: %d. kesitin %d kural yöneyi için en az %d yöney gerekir, %d "
                "var.\n",
                k + 1, h, h + 1, rler[k] < 0 ? 0 : rler[k]);
            return 1;
        }
    }
    if (static_cast<size_t>(r1) * static_cast<size_t>(n) > kesit1.size() ||
        static_cast<size_t>(r2) * static_cast<size_t>(n) > kesit2.size()) {
        Yaz("Kesit yöneyleri eksik.\n");
        return 1;
    }
    if (EgitimKitabiUygun(h, s, n) != 0) return 1;
    Matris g1(kesit1, r1, n), g2(kesit2, r2, n);
    if (g1.m == nullptr || g2.m == nullptr) {
        Yaz("Kesit yöneyleri için bellek ayrılamıyor.\n");
        return 1;
    }
    Yaz("\n>Egitme islemi basladi\n");
    if (ayr.kdbayrak == 0 && YeniKuralKitabi(s, n) != 0) return 1;
    if (KesitEgit(ayr.km, g1.m, h, r1, n, 1) != 0 || KesitEgit(ayr.km + h, g2.m, h, r2, n, 2) != 0) return 1;
    Yaz("\n>Egitme islemi tamamlandi\n");
    return 0;
}

int KesitliVQ_Egit() {
    const int r = ayr.r;
    if (ayr.Ci == nullptr || r < 1) {
        Yaz("Eğitim için LPC yöneyi yok.\n");
        return 1;
    }
    const int sinir = KesitSiniri(r);
    std::vector<float> k1, k2;
    AgirlikliYoneyler(0, sinir, k1);
    AgirlikliYoneyler(sinir, r, k2);
    return KesitliEgit(k1, sinir, k2, r - sinir);
}

float KesitliOlasilik() {
    const float sonsuz = std::numeric_limits<float>::infinity();
    const int r = ayr.r, n = ayr.kdbaslik.n, h = ayr.kdbaslik.s / 2;
    const int sinir = KesitSiniri(r);
    if (!KodKitabiKullanilir() || sinir < 1 || r - sinir < 1) return sonsuz;
    std::vector<float> v;
    v.reserve(static_cast<size_t>(r) * static_cast<size_t>(n));
    AgirlikliYoneyler(0, r, v);
    std::vector<float*> satirlar(static_cast<size_t>(r));
    for (int k = 0; k < r; k++) satirlar[static_cast<size_t>(k)] = v.data() + static_cast<size_t>(k) * n;
    float t1 = 0.0f, t2 = 0.0f;
    if (EnYakinUzakliklar(ayr.km, h, n, satirlar.data(), 0, sinir, &t1) != 0 ||
        EnYakinUzakliklar(ayr.km + h, h, n, satirlar.data(), sinir, r, &t2) != 0)
        return sonsuz;
    return t1 / static_cast<float>(sinir) + t2 / static_cast<float>(r - sinir);
}

int KesitliSiniflandir(int k, float* uzaklik) {
    *uzaklik = std::numeric_limits<float>::infinity();
    const int r = ayr.r, n = ayr.kdbaslik.n, h = ayr.kdbaslik.s / 2;
    if (!KodKitabiKullanilir() || k < 0 || k >= r) return -1;
    std::vector<float> v;
    AgirlikliYoneyler(k, k + 1, v);
    float* satir = v.data();
    const int ikinci = k >= KesitSiniri(r) ? 1 : 0;
    float** km = ayr.km + ikinci * h;
    float fark[AYAR_EN_COK_N];
    float* f = fark;
    int w = 0;
    if (KazananGoze(&satir, km, &f, 0, h, n, &w) != 0) return -1;
    float d = 0.0f;
    for (int j = 0; j < n; j++) d += fark[j] * fark[j];
    *uzaklik = d;
    return ikinci * h + w;
}
