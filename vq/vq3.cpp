#include "vq3.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "ayar_tablosu.h"
#include "bellek.h"
#include "mesaj.h"
#include "vq1.h"

namespace {

constexpr double PI = 3.14159265358979323846;

bool KodKitabiKullanilir(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km) {
    const int s = b.s, n = b.n;
    return !km.Bos() && !oz.Ci.Bos() && s >= 2 && s % 2 == 0 && n >= 1 && n <= AYAR_EN_COK_N &&
           oz.Ci.Sutun() >= n && km.Satir() == s && km.Sutun() == n;
}

}  // namespace

// One section: a new codebook's rows from the seeded random selection, or
// the rows given repaired by reset pre-iterations; then LBG.
int EGITICI::BolumEgit(SATIR kesitKm, SABIT_SATIR gm, int h, int r, int n, bool yeni, int no) {
    if (yeni) {
        std::vector<int> rsd(static_cast<size_t>(h));
        RasgeleSayilarUret(rsd.data(), h, r);
        for (int i = 0; i < h; i++)
            std::memcpy(kesitKm[i], gm[rsd[static_cast<size_t>(i)]], static_cast<size_t>(n) * sizeof(float));
        Yaz("\n>%d. kesit: rasgele secimler yapildi\n", no);
    } else {
        if (KuralKitabiniSifirla(gm, kesitKm, h, n, r) == 1) {
            Yaz("%d. kesitin kural kitabi sıfırlanamıyor.\n", no);
            return 1;
        }
        Yaz("\n>%d. kesit: kural kitabi sifirlandi\n", no);
    }
    if (LBG(kesitKm, gm, h, r, n, ayar_.yinl) != 0) {
        Yaz("%d. kesitin kural kitabı iyileştirilemedi.\n", no);
        return 1;
    }
    return 0;
}

MATRIS EGITICI::KesitliEgit(const std::vector<float>& kesit1, int r1, const std::vector<float>& kesit2, int r2,
                            const KURALDOSYABASLIK& b, const MATRIS* baslangic) {
    KAPSAM kapsam(*this);
    const int s = b.s, n = b.n;
    if (s < 2 || s % 2 != 0 || n < 1 || n > AYAR_EN_COK_N) {
        Yaz("Kesitli kural kitabının boyutları geçersiz: %d yöney, %d boyut (yöney sayısı çift ve en az 2, boyut 1 "
            "ile %d arası olmalı).\n",
            s, n, AYAR_EN_COK_N);
        return MATRIS();
    }
    const int h = s / 2;
    const int rler[2] = {r1, r2};
    for (int k = 0; k < 2; k++) {
        if (rler[k] < h + 1) {
            Yaz("Eğitim için yeterli LPC yöneyi yok: %d. kesitin %d kural yöneyi için en az %d yöney gerekir, %d "
                "var.\n",
                k + 1, h, h + 1, rler[k] < 0 ? 0 : rler[k]);
            return MATRIS();
        }
    }
    if (static_cast<size_t>(r1) * static_cast<size_t>(n) > kesit1.size() ||
        static_cast<size_t>(r2) * static_cast<size_t>(n) > kesit2.size()) {
        Yaz("Kesit yöneyleri eksik.\n");
        return MATRIS();
    }
    if (EgitimKitabiUygun(baslangic, h, s, n) != 0) return MATRIS();
    Yaz("\n>Egitme islemi basladi\n");
    MATRIS km;
    if (!(baslangic != nullptr ? km.Kopyala(*baslangic) : km.Kur(s, n))) {
        Yaz("Yeni kural matrisi için bellek ayrılamıyor.\n");
        return MATRIS();
    }
    const SABIT_SATIR g1{kesit1.data(), static_cast<size_t>(n)}, g2{kesit2.data(), static_cast<size_t>(n)};
    const bool yeni = baslangic == nullptr;
    if (BolumEgit(km.Satirlar(), g1, h, r1, n, yeni, 1) != 0 ||
        BolumEgit(km.Satirlar().Kaydir(h), g2, h, r2, n, yeni, 2) != 0)
        return MATRIS();
    Yaz("\n>Egitme islemi tamamlandi\n");
    return km;
}

void SinusLifter(float* w, int n, int L) {
    for (int i = 1; i <= n; i++) w[i - 1] = static_cast<float>(1.0 + (L / 2.0) * std::sin(PI * i / L));
}

namespace {

// The lifter's weights for the longest vector; a shorter one uses the first
// n, as w_i does not depend on n.
const float* LifterAgirliklari() {
    struct AGIRLIKLAR {
        float w[AYAR_EN_COK_N];
        AGIRLIKLAR() { SinusLifter(w, AYAR_EN_COK_N, KESIT_LIFTER); }
    };
    static const AGIRLIKLAR a;
    return a.w;
}

}  // namespace

void AgirlikliYoneyler(const MATRIS& Ci, int n, int bas, int son, std::vector<float>& hedef) {
    if (Ci.Bos() || n < 1 || n > AYAR_EN_COK_N || Ci.Sutun() < n || bas < 0 || son > Ci.Satir() || son <= bas)
        return;
    const float* w = LifterAgirliklari();
    size_t i = hedef.size();
    hedef.resize(i + static_cast<size_t>(son - bas) * static_cast<size_t>(n));
    for (int k = bas; k < son; k++)
        for (int j = 0; j < n; j++) hedef[i++] = Ci[k][j] * w[j];
}

float KesitliOlasilik(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km) {
    const float sonsuz = std::numeric_limits<float>::infinity();
    const int r = oz.r, n = b.n, h = b.s / 2;
    const int sinir = KesitSiniri(r);
    if (!KodKitabiKullanilir(oz, b, km) || sinir < 1 || r - sinir < 1 || r > oz.Ci.Satir()) return sonsuz;
    // The frames are weighted as they are read, as AgirlikliYoneyler weights them.
    const float* w = LifterAgirliklari();
    const SABIT_SATIR satirlar = oz.Ci.Satirlar();
    float t1 = 0.0f, t2 = 0.0f;
    if (EnYakinUzakliklar(km.Satirlar(), h, n, satirlar, 0, sinir, &t1, w) != 0 ||
        EnYakinUzakliklar(km.Satirlar().Kaydir(h), h, n, satirlar, sinir, r, &t2, w) != 0)
        return sonsuz;
    return t1 / static_cast<float>(sinir) + t2 / static_cast<float>(r - sinir);
}

int KesitliSiniflandir(const COZUMLEME& oz, const KURALDOSYABASLIK& b, const MATRIS& km, int k, float* uzaklik) {
    *uzaklik = std::numeric_limits<float>::infinity();
    const int r = oz.r, n = b.n, h = b.s / 2;
    if (!KodKitabiKullanilir(oz, b, km) || k < 0 || k >= r) return -1;
    std::vector<float> v;
    AgirlikliYoneyler(oz.Ci, n, k, k + 1, v);
    if (v.size() != static_cast<size_t>(n)) return -1;
    const SABIT_SATIR satir{v.data(), static_cast<size_t>(n)};
    const int ikinci = k >= KesitSiniri(r) ? 1 : 0;
    float fark[AYAR_EN_COK_N];
    int w = 0;
    if (KazananGoze(satir, km.Satirlar().Kaydir(ikinci * h), fark, 0, h, n, &w) != 0) return -1;
    float d = 0.0f;
    for (int j = 0; j < n; j++) d += fark[j] * fark[j];
    *uzaklik = d;
    return ikinci * h + w;
}
