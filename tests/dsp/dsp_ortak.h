// Shared set-up of the signal analysis tests: each test runs in a fresh
// directory (the stages write their dumps into the current one), with the
// console captured and the record at its defaults.
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
#include "sifirlama.h"
#include "velmo.h"

class DspTest : public ::testing::Test {
protected:
    std::string cikti;
    std::filesystem::path eski, dizin;
    void SetUp() override {
        eski = std::filesystem::current_path();
        char sablon[] = "/tmp/velmo_dsp_XXXXXX";
        ASSERT_NE(mkdtemp(sablon), nullptr);
        dizin = sablon;
        std::filesystem::current_path(dizin);
        MesajKaydiKur(&cikti);
        Sifirla(0);
    }
    void TearDown() override {
        Sifirla(0);
        bellek_hata_sirasi = 0;
        MesajKaydiBitir();
        std::filesystem::current_path(eski);
        std::filesystem::remove_all(dizin);
    }
    // A copy of the samples becomes the sound buffer.
    void Kayit(const std::vector<short>& x) {
        Sifirla(1);
        ayr.kytu = static_cast<int>(x.size() * 2);
        ayr.kyt = static_cast<char*>(std::malloc(x.size() * 2 + 1));
        if (!x.empty()) std::memcpy(ayr.kyt, x.data(), x.size() * 2);
    }
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
