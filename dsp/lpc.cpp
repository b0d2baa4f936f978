#include "lpc.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "ayar_tablosu.h"
#include "bellek.h"
#include "dokum.h"
#include "mesaj.h"
#include "velmo.h"

namespace {

// The feature vector has at most 99 coefficients, so every per-frame scratch
// array fits in this many floats (orders up to n + 1 = 100, index 0 too).
constexpr int EN_COK_N = AYAR_EN_COK_N;
constexpr int DIZI = EN_COK_N + 2;

// Checks every setting the analysis depends on; prints the first fault.
bool AyarlarGecerli(const KURALDOSYABASLIK& b) {
    if (b.ks != 1 || b.oc != 16) {
        Yaz("Tek kanal ve 16 bit dışındakiler desteklenmiyor.\n");
        return false;
    }
    if (OrneklemeOraniDenetle(b.oo) != 0) return false;
    if (!Aralikta(Ayar(AYAR_PENSU), b.pensu) || static_cast<int64_t>(b.pensu) * b.oo / 1000 < 2) {
        Yaz("Pencere süresi en az iki örnek tutmalı ve %g ms'yi aşmamalı (şimdi %d ms).\n", Ayar(AYAR_PENSU).enCok,
            b.pensu);
        return false;
    }
    if (!Aralikta(Ayar(AYAR_ADMSU), b.admsu) || static_cast<int64_t>(b.admsu) * b.oo / 1000 < 1) {
        Yaz("Adım süresi en az bir örnek tutmalı (şimdi %d ms).\n", b.admsu);
        return false;
    }
    const AYARTANIMI &p = Ayar(AYAR_P), &m = Ayar(AYAR_M);
    if (AralikDenetle(AYAR_N, b.n, "LPC/DeltaLPC yöney boyutu", "") != 0) return false;
    // The orders are also bounded by the vector: at most n + 1.
    if (!Aralikta(p, b.p) || b.p > b.n + 1) {
        Yaz("LPC süzgeç derecesi %g ile yöney boyutu + 1 arasında olmalı (şimdi %d).\n", p.enAz, b.p);
        return false;
    }
    if (!Aralikta(m, b.m) || b.m > b.n + 1) {
        Yaz("Öz bağlılaşım derecesi %g ile yöney boyutu + 1 arasında olmalı (şimdi %d).\n", m.enAz, b.m);
        return false;
    }
    // Order p reads the correlation lags 1..p: only m of them are computed.
    if (b.p > b.m) {
        Yaz("LPC süzgeç derecesi öz bağlılaşım derecesini aşamaz (p %d, m %d).\n", b.p, b.m);
        return false;
    }
    return true;
}

}  // namespace

int64_t cozumleme_is_siniri = 4000000000LL;

void Onvurgula(const float* kon, float* onv, int penu) {
    if (penu < 1) return;
    onv[0] = kon[0];
    for (int j = 1; j < penu; j++) onv[j] = static_cast<float>(kon[j] - 0.98 * kon[j - 1]);
}

std::vector<float> HammingPenceresi(int penu) {
    if (penu < 2) return std::vector<float>(penu > 0 ? 1 : 0, 0.0f);  // no window of one sample
    std::vector<float> w(static_cast<size_t>(penu));
    for (int j = 0; j < penu; j++)
        w[static_cast<size_t>(j)] = static_cast<float>(0.54 - 0.46 * std::cos(6.283185307179586 * j / (penu - 1)));
    return w;
}

void Pencerele(const float* onv, const float* pencere, float* hamm, int penu) {
    if (penu < 1) return;
    if (penu < 2) {  // no window of one sample
        hamm[0] = 0.0f;
        return;
    }
    for (int j = 0; j < penu; j++) hamm[j] = onv[j] * pencere[j];
}

void Baglilastir(const float* hamm, int penu, int m, float* satir) {
    if (penu < 1 || m < 0 || m > EN_COK_N + 1) return;
    // All lags side by side: each lag's sum still runs over j in order.
    float R[DIZI] = {};
    int j = 0;
    if (m < 16) {
        // Sixteen lags in four vectors of four while every lag has its
        // sample (j + 15 < penu); the lanes past m are computed and dropped.
        // Each lane adds h * hamm[j + l] as a float, in j order, as below.
        typedef float V4 __attribute__((vector_size(16)));
        V4 r0 = {}, r1 = {}, r2 = {}, r3 = {};
        for (; j + 15 < penu; j++) {
            const float h = hamm[j];
            const V4 hv = {h, h, h, h};
            V4 a0, a1, a2, a3;
            std::memcpy(&a0, hamm + j, sizeof a0);
            std::memcpy(&a1, hamm + j + 4, sizeof a1);
            std::memcpy(&a2, hamm + j + 8, sizeof a2);
            std::memcpy(&a3, hamm + j + 12, sizeof a3);
            r0 += hv * a0;
            r1 += hv * a1;
            r2 += hv * a2;
            r3 += hv * a3;
        }
        std::memcpy(R, &r0, sizeof r0);
        std::memcpy(R + 4, &r1, sizeof r1);
        std::memcpy(R + 8, &r2, sizeof r2);
        std::memcpy(R + 12, &r3, sizeof r3);
    }
    for (; j < penu; j++) {
        const float h = hamm[j];
        const int son = std::min(m, penu - 1 - j);
        for (int l = 0; l <= son; l++) R[l] += h * hamm[j + l];
    }
    const float r0 = R[0];
    // A silent frame has no correlation to normalise: its row stays 0.
    for (int l = 0; l <= m; l++) satir[l] = (r0 != 0.0f) ? R[l] / r0 : 0.0f;
}

void DUrbin(const float* R, int p, float* A, float* RF) {
    if (p < 1 || p > EN_COK_N + 1) return;
    // Fixed scratch: p <= 100, so the step needs no storage of its own.
    float a[DIZI] = {};
    float yeni[DIZI] = {};
    A[0] = 1.0f;
    for (int l = 1; l <= p; l++) A[l] = RF[l] = 0.0f;
    if (R[0] == 0.0f) return;  // silent frame: all coefficients 0

    a[0] = 1.0f;
    const float k1 = -R[1] / R[0];
    float E = (1 - k1 * k1) * R[0];
    RF[1] = k1;
    a[1] = k1;
    if (E == 0.0f) {
        // The next order would divide by zero: the higher ones stay 0.
        Yaz("Sıfıra bölme hatası (alfa=0) \n");
    } else {
        for (int i = 2; i <= p; i++) {
            float s = 0.0f;
            for (int j = 0; j < i; j++) s += a[j] * R[i - j];
            const float ki = -s / E;
            E = (1 - ki * ki) * E;
            RF[i] = ki;
            a[i] = ki;
            for (int l = 1; l < i; l++) yeni[l] = ki * a[i - l] + a[l];
            for (int l = 1; l < i; l++) a[l] = yeni[l];
            if (E == 0.0f) break;
        }
    }
    for (int l = 1; l <= p; l++) A[l] = -a[l];
}

void LPC_Cepstrum(const float* al, int n, int p, float* satir) {
    if (n < 1 || n > EN_COK_N || p < 1 || p > n + 1) return;
    float c[DIZI] = {};  // c[1..n]; fixed scratch, n <= 99
    c[1] = al[1];
    for (int i = 2; i <= n; i++) {
        float ci = (i <= p) ? al[i] : 0.0f;
        for (int j = std::max(1, i - p); j < i; j++)
            ci += (static_cast<float>(j) / static_cast<float>(i) * c[j]) * al[i - j];
        c[i] = ci;
    }
    for (int i = 1; i <= n; i++) satir[i - 1] = c[i];
    satir[n] = 0.0f;
}

void LPC_Delta_Cepstrum(const float* c, const float* onceki, int n, float* d) {
    for (int i = 0; i < n; i++) d[i] = c[i] - onceki[i];
}

void MatrisDokumu(const char* dosyaadi, const MATRIS& m, int row, int colum) {
    if (dosyaadi == nullptr) return;
    DokumDosyasi f = DokumAc(dosyaadi);
    if (!f) return;
    if (m.Bos() || row < 0 || colum < 0 || row > m.Satir() || colum > m.Sutun()) row = colum = 0;

    // Lines are formatted into one block and written in large pieces; "%f"
    // of a float is at most 39 digits, a sign and 7 more characters.
    constexpr size_t PARCA = 1 << 20;
    constexpr size_t SATIR_EN_COK = 12 + 1 + 12 + 3 + 64 + 1;
    std::unique_ptr<char[]> tampon(new char[PARCA]);
    char* const ilk = tampon.get();
    char* p = ilk;
    for (int i = 0; i < row; i++) {
        for (int j = 0; j < colum; j++) {
            if (static_cast<size_t>(p - ilk) > PARCA - SATIR_EN_COK) {
                std::fwrite(ilk, 1, static_cast<size_t>(p - ilk), f.get());
                p = ilk;
            }
            p = std::to_chars(p, p + 12, i).ptr;
            *p++ = ':';
            p = std::to_chars(p, p + 12, j).ptr;
            std::memcpy(p, "   ", 3);
            p += 3;
            // to_chars with a precision prints exactly as printf's "%f".
            p = std::to_chars(p, p + 64, static_cast<double>(m[i][j]), std::chars_format::fixed, 6).ptr;
            *p++ = '\n';
        }
    }
    if (p != ilk) std::fwrite(ilk, 1, static_cast<size_t>(p - ilk), f.get());
}

namespace {

int PencereUzunlugu(const KURALDOSYABASLIK& b) { return static_cast<int>(static_cast<int64_t>(b.pensu) * b.oo / 1000); }
int AdimUzunlugu(const KURALDOSYABASLIK& b) {
    return static_cast<int>(std::min<int64_t>(static_cast<int64_t>(b.admsu) * b.oo / 1000, INT_MAX));
}

}  // namespace

bool CozumlemeAlinir(int uzunluk, const KURALDOSYABASLIK& b) {
    if (!AyarlarGecerli(b)) return false;
    const int boyut = std::max(uzunluk, 0);
    // Frame k is analysed while (k + 1) * admu < boyut.
    const int analiz = boyut > 0 ? (boyut - 1) / AdimUzunlugu(b) : 0;
    if (static_cast<int64_t>(analiz) * PencereUzunlugu(b) * (b.m + 1) > cozumleme_is_siniri) {
        Yaz("Adım süresi pencere süresine göre çok kısa: çözümleme bitmez (adım %d ms, pencere %d ms).\n",
            b.admsu, b.pensu);
        return false;
    }
    return true;
}

std::optional<COZUMLEME> LpcCozumle(const short* x, int toplam, int basOrnek, int uzunluk,
                                    const KURALDOSYABASLIK& b) {
    const int boyut = (x != nullptr && uzunluk > 0) ? uzunluk : 0;
    if (!CozumlemeAlinir(boyut, b)) return std::nullopt;
    const int penu = PencereUzunlugu(b);
    const int admu = AdimUzunlugu(b);
    const int pens = boyut / admu;
    const int analiz = boyut > 0 ? (boyut - 1) / admu : 0;
    // Samples that can be read from the segment's start to the end of the
    // recording; frames that reach further read zeros there.
    int64_t okunur = boyut;
    if (basOrnek >= 0 && basOrnek <= toplam) okunur = static_cast<int64_t>(toplam) - basOrnek;
    const short* ornekler = x != nullptr ? x + std::max(basOrnek, 0) : nullptr;

    Dizi<float> kon = DiziAl<float>(penu);
    Dizi<float> onv = kon ? DiziAl<float>(penu) : nullptr;
    Dizi<float> hamm = onv ? DiziAl<float>(penu) : nullptr;
    if (!hamm) {
        Yaz("LPC dizileri için bellek ayrılamıyor\n");
        return std::nullopt;
    }
    COZUMLEME c;
    MATRIS* const alanlar[5] = {&c.Ai, &c.RFi, &c.Ri, &c.Ci, &c.DelCi};
    const int sutunlar[5] = {b.p + 1, b.p + 1, b.n + 2, b.n + 1, b.n + 1};
    for (int t = 0; t < 5; t++) {
        if (!alanlar[t]->Kur(pens + 1, sutunlar[t])) {
            Yaz("LPC dizileri için bellek ayrılamıyor\n");
            return std::nullopt;
        }
    }

    const std::vector<float> pencere = HammingPenceresi(penu);
    for (int k = 0; k < analiz; k++) {
        const int64_t bas = static_cast<int64_t>(k) * admu;
        float* kp = kon.get();
        for (int j = 0; j < penu; j++) {
            const int64_t i = bas + j;
            kp[j] = i < okunur ? static_cast<float>(ornekler[i]) : 0.0f;
        }
        Onvurgula(kp, onv.get(), penu);
        Pencerele(onv.get(), pencere.data(), hamm.get(), penu);
        Baglilastir(hamm.get(), penu, b.m, c.Ri[k]);
        DUrbin(c.Ri[k], b.p, c.Ai[k], c.RFi[k]);
        LPC_Cepstrum(c.Ai[k], b.n, b.p, c.Ci[k]);
        // The first frame has no frame before it: its delta row stays 0.
        if (k > 0) LPC_Delta_Cepstrum(c.Ci[k], c.Ci[k - 1], b.n, c.DelCi[k]);
    }
    c.r = pens;
    return c;
}
