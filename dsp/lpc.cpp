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

// Previous-frame store of the delta cepstrum.
int bayrak = 0;
float oCik[EN_COK_N + 1];

// True when n, p and m let the per-frame steps stay inside their rows.
bool DerecelerGecerli() {
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    return b.n >= 1 && b.n <= EN_COK_N && b.p >= 1 && b.p <= b.n + 1 && b.m >= 0 && b.m <= b.n + 1;
}

// Checks every setting the analysis depends on; prints the first fault.
bool AyarlarGecerli() {
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
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
    return true;
}

}  // namespace

int64_t cozumleme_is_siniri = 4000000000LL;

void Onvurgula(float* kon, float* onv, int penu) {
    if (penu < 1) return;
    onv[0] = kon[0];
    for (int j = 1; j < penu; j++) onv[j] = static_cast<float>(kon[j] - 0.98 * kon[j - 1]);
}

void Pencerele(float* onv, float* hamm, int penu) {
    if (penu < 1) return;
    if (penu < 2) {  // no window of one sample
        hamm[0] = 0.0f;
        return;
    }
    // The window depends on penu only; it is worked out once per length.
    static std::vector<float> pencere;
    if (static_cast<int>(pencere.size()) != penu) {
        pencere.resize(static_cast<size_t>(penu));
        for (int j = 0; j < penu; j++)
            pencere[static_cast<size_t>(j)] =
                static_cast<float>(0.54 - 0.46 * std::cos(6.283185307179586 * j / (penu - 1)));
    }
    for (int j = 0; j < penu; j++) hamm[j] = onv[j] * pencere[static_cast<size_t>(j)];
}

void Baglilastir(float* hamm, int penu, int k) {
    if (ayr.Ri == nullptr || !DerecelerGecerli() || penu < 1) return;
    const int m = ayr.kdbaslik.m;
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
    float* satir = ayr.Ri[k];
    const float r0 = R[0];
    // A silent frame has no correlation to normalise: its row stays 0.
    for (int l = 0; l <= m; l++) satir[l] = (r0 != 0.0f) ? R[l] / r0 : 0.0f;
}

void DUrbin(int k) {
    if (ayr.Ri == nullptr || ayr.Ai == nullptr || ayr.RFi == nullptr || !DerecelerGecerli()) return;
    const int p = ayr.kdbaslik.p;
    const float* R = ayr.Ri[k];
    float* A = ayr.Ai[k];
    float* RF = ayr.RFi[k];
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

void LPC_Cepstrum(int k) {
    if (ayr.Ai == nullptr || ayr.Ci == nullptr || !DerecelerGecerli()) return;
    const int n = ayr.kdbaslik.n;
    const int p = ayr.kdbaslik.p;
    const float* al = ayr.Ai[k];
    float c[DIZI] = {};  // c[1..n]; fixed scratch, n <= 99
    c[1] = al[1];
    for (int i = 2; i <= n; i++) {
        float ci = (i <= p) ? al[i] : 0.0f;
        for (int j = std::max(1, i - p); j < i; j++)
            ci += (static_cast<float>(j) / static_cast<float>(i) * c[j]) * al[i - j];
        c[i] = ci;
    }
    float* satir = ayr.Ci[k];
    for (int i = 1; i <= n; i++) satir[i - 1] = c[i];
    satir[n] = 0.0f;
}

void LPC_Delta_Cepstrum(int k, int grkur) {
    if (ayr.Ci == nullptr || ayr.DelCi == nullptr || !DerecelerGecerli()) return;
    const int n = ayr.kdbaslik.n;
    const float* c = ayr.Ci[k];
    if (grkur != 0) bayrak = 0;
    if (bayrak == 0) {
        std::copy(c, c + n + 1, oCik);
        bayrak = 1;
        return;
    }
    float* d = ayr.DelCi[k];
    for (int i = 0; i < n; i++) {
        const float egim = c[i] - oCik[i];
        d[i] = egim;
    }
    std::copy(c, c + n, oCik);
}

void debug2d_file(const char* filename, int row, int colum, float** data) {
    if (filename == nullptr) return;
    DokumDosyasi f = DokumAc(filename);
    if (!f) return;
    if (data == nullptr || row < 0 || colum < 0) row = colum = 0;

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
            p = std::to_chars(p, p + 64, static_cast<double>(data[i][j]), std::chars_format::fixed, 6).ptr;
            *p++ = '\n';
        }
    }
    if (p != ilk) std::fwrite(ilk, 1, static_cast<size_t>(p - ilk), f.get());
}

int LPC() { return LPC_Cozumle(true); }

int LPC_Cozumle(bool dokum) {
    if (!AyarlarGecerli()) return 1;
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    const int en = 2;  // bytes per sample after the format check
    const int boyut = (ayr.bsl != nullptr && ayr.uzn > 0) ? ayr.uzn / en : 0;
    const int penu = static_cast<int>(static_cast<int64_t>(b.pensu) * b.oo / 1000);
    const int admu = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(b.admsu) * b.oo / 1000, INT_MAX));
    const int pens = boyut / admu;
    // Frame k is analysed while (k + 1) * admu < boyut.
    const int analiz = boyut > 0 ? (boyut - 1) / admu : 0;
    if (static_cast<int64_t>(analiz) * penu * (b.m + 1) > cozumleme_is_siniri) {
        Yaz("Adım süresi pencere süresine göre çok kısa: çözümleme bitmez (adım %d ms, pencere %d ms).\n",
            b.admsu, b.pensu);
        return 1;
    }

    // Samples that can be read from the segment's start to the end of the
    // sound buffer; frames that reach further read zeros there.
    int64_t okunur = boyut;
    if (ayr.kyt != nullptr && ayr.kytu > 0) {
        const auto bas = reinterpret_cast<uintptr_t>(ayr.kyt);
        const auto bsl = reinterpret_cast<uintptr_t>(ayr.bsl);
        if (bsl >= bas && bsl <= bas + static_cast<uintptr_t>(ayr.kytu))
            okunur = static_cast<int64_t>((bas + static_cast<uintptr_t>(ayr.kytu) - bsl) / en);
    }

    Dizi<float> kon = DiziAl<float>(penu);
    Dizi<float> onv = kon ? DiziAl<float>(penu) : nullptr;
    Dizi<float> hamm = onv ? DiziAl<float>(penu) : nullptr;
    if (!hamm) {
        Yaz("LPC dizileri için bellek ayrılamıyor\n");
        return 1;
    }
    float*** const alanlar[5] = {&ayr.Ai, &ayr.RFi, &ayr.Ri, &ayr.Ci, &ayr.DelCi};
    const int sutunlar[5] = {b.p + 1, b.p + 1, b.n + 2, b.n + 1, b.n + 1};
    for (int t = 0; t < 5; t++) {
        float** mt = Calloc2B<float>(pens + 1, sutunlar[t], 4);
        if (mt == nullptr) {
            for (int u = 0; u < t; u++) {
                Free2B(*alanlar[u]);
                *alanlar[u] = nullptr;
            }
            Yaz("LPC dizileri için bellek ayrılamıyor\n");
            return 1;
        }
        *alanlar[t] = mt;
    }

    const char* ornekler = ayr.bsl;
    for (int k = 0; k < analiz; k++) {
        const int64_t bas = static_cast<int64_t>(k) * admu;
        float* kp = kon.get();
        for (int j = 0; j < penu; j++) {
            const int64_t i = bas + j;
            short x = 0;
            if (i < okunur) std::memcpy(&x, ornekler + i * en, sizeof x);
            kp[j] = static_cast<float>(x);
        }
        Onvurgula(kp, onv.get(), penu);
        Pencerele(onv.get(), hamm.get(), penu);
        Baglilastir(hamm.get(), penu, k);
        DUrbin(k);
        LPC_Cepstrum(k);
        // Every analysis starts with an empty previous-frame store, so its
        // features never depend on the utterance analysed before.
        LPC_Delta_Cepstrum(k, k == 0 ? 1 : 0);
    }
    ayr.r = pens;
    kon.reset();
    onv.reset();
    hamm.reset();
    if (dokum) {
        debug2d_file("Ci.txt", pens, b.n, ayr.Ci);
        debug2d_file("DelCi.txt", pens, b.n, ayr.DelCi);
    }
    return 0;
}
