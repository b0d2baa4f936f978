// Shared set-up of the signal analysis tests: every test runs in a fresh
// directory of its own (the stages write their dumps into the current one),
// with console output captured and the record at its defaults.
#ifndef DSP_ORTAK_H
#define DSP_ORTAK_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bellek.h"
#include "konsol.h"
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
        KonsolTestKur("", &cikti);
        Sifirla(0);
    }
    void TearDown() override {
        Sifirla(0);
        bellek_hata_sirasi = 0;
        KonsolTestBitir();
        std::filesystem::current_path(eski);
        std::filesystem::remove_all(dizin);
    }

    // Puts a copy of the samples into the record as the sound buffer.
    void Kayit(const std::vector<short>& x) {
        Sifirla(1);
        ayr.kytu = static_cast<int>(x.size() * 2);
        ayr.kyt = static_cast<char*>(std::malloc(x.empty() ? 1 : x.size() * 2));
        if (!x.empty()) std::memcpy(ayr.kyt, x.data(), x.size() * 2);
    }

    static std::vector<std::string> Satirlar(const std::string& ad) {
        std::ifstream f(ad, std::ios::binary);
        std::vector<std::string> s;
        std::string satir;
        while (std::getline(f, satir)) s.push_back(satir);
        return s;
    }
    static std::string Icerik(const std::string& ad) {
        std::ifstream f(ad, std::ios::binary);
        std::stringstream ss;
        ss << f.rdbuf();
        return ss.str();
    }
};

// Deterministic noise for test signals.
inline unsigned TestRastgele(unsigned& durum) {
    durum = durum * 1103515245u + 12345u;
    return (durum >> 8) & 0xffffff;
}

#endif
