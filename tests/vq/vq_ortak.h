// Shared set-up of the quantiser tests: features and codebooks written as
// rows of numbers, the default settings, and the messages captured.
#ifndef VQ_ORTAK_H
#define VQ_ORTAK_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "kancalar.h"
#include "lpc.h"
#include "matris.h"
#include "mesaj_kaydi.h"
#include "velmo.h"
#include "vq1.h"

using Satirlar = std::vector<std::vector<float>>;

// rows x n values into a matrix with `ek` spare rows and columns (1 as the
// analysis makes its feature matrices, 0 for a codebook).
inline MATRIS Matris(const Satirlar& d, int n, int ek) {
    MATRIS m;
    EXPECT_TRUE(m.Kur(static_cast<int>(d.size()) + ek, n + ek));
    for (size_t i = 0; i < d.size(); i++) std::copy(d[i].begin(), d[i].end(), m[static_cast<int>(i)]);
    return m;
}

inline MATRIS Kitap(const Satirlar& d, int n) { return Matris(d, n, 0); }

inline Satirlar Degeri(const MATRIS& km) {
    Satirlar d;
    for (int i = 0; i < km.Satir(); i++) d.emplace_back(km[i], km[i] + km.Sutun());
    return d;
}

// An analysis whose frames have the cepstra `ci` and the delta cepstra
// `delci` (zeros when not given), n components each.
inline COZUMLEME Cozumleme(const Satirlar& ci, int n, const Satirlar& delci = {}) {
    COZUMLEME c;
    c.Ci = Matris(ci, n, 1);
    c.DelCi = Matris(delci.empty() ? Satirlar(ci.size(), std::vector<float>(static_cast<size_t>(n))) : delci, n, 1);
    c.r = static_cast<int>(ci.size());
    return c;
}

// The default header with the kind and the codebook's size given.
inline KURALDOSYABASLIK Baslik(int tur, int s, int n) {
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    b.tur = tur;
    b.s = s;
    b.n = n;
    return b;
}

inline EGITIM_AYARLARI Ayarlar() { return VarsayilanAyarlar(); }

// The scoring's lane layouts this processor can run: codewords in lanes
// (any), frames in lanes (AVX2).
inline std::vector<bool> SeritYollari() {
    if (__builtin_cpu_supports("avx2")) return {false, true};
    return {false};
}

class VqTemel : public ::testing::Test {
protected:
    std::string cikti;
    int64_t eskiSinir = vq_is_siniri;
    bool eskiAvx2 = vq_avx2;
    void SetUp() override { MesajKaydiKur(&cikti); }
    void TearDown() override {
        bellek_hata_sirasi = 0;
        vq_is_siniri = eskiSinir;
        vq_avx2 = eskiAvx2;
        MesajKaydiBitir();
    }
};

#endif
