// Shared set-up of the signal analysis tests: each test runs in a fresh
// directory (for the dumps it writes), with the messages captured and the
// settings at their defaults.
#ifndef DSP_ORTAK_H
#define DSP_ORTAK_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bellek.h"
#include "kancalar.h"
#include "mesaj_kaydi.h"
#include "ayar_tablosu.h"
#include "sinir.h"
#include "velmo.h"

class DspTest : public ::testing::Test {
protected:
    std::string cikti;
    std::filesystem::path eski, dizin;
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    void SetUp() override {
        eski = std::filesystem::current_path();
        char sablon[] = "/tmp/velmo_dsp_XXXXXX";
        ASSERT_NE(mkdtemp(sablon), nullptr);
        dizin = sablon;
        std::filesystem::current_path(dizin);
        MesajKaydiKur(&cikti);
    }
    void TearDown() override {
        bellek_hata_sirasi = 0;
        MesajKaydiBitir();
        std::filesystem::current_path(eski);
        std::filesystem::remove_all(dizin);
    }
    // The recording the endpoint search runs on, and its last result.
    std::vector<short> x;
    UC_NOKTALAR u;
    void Kayit(const std::vector<short>& ornekler) { x = ornekler; }
    // The search as the screens run it: the table, then the no-speech line.
    // 0 with speech found, 1 without.
    int Bul() {
        u = KonusmaBul(x.data(), static_cast<int>(x.size()), b);
        SinirDokumuYaz("sinir.txt", x.data(), u);
        KonusmaYokBildir(u);
        return u.bulundu ? 0 : 1;
    }
    int Bas() const { return u.bas; }
    int Uzn() const { return u.bulundu ? u.uzunluk * 2 : 0; }
    static std::vector<std::string> Satirlar(const char* ad) {
        std::ifstream f(ad, std::ios::binary);
        std::vector<std::string> s;
        for (std::string satir; std::getline(f, satir);) s.push_back(satir);
        return s;
    }
};

inline unsigned TestRastgele(unsigned& durum) {
    durum = durum * 1103515245u + 12345u;
    return (durum >> 8) & 0xffffff;
}

#endif
