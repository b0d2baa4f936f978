// What the velmo-toplu tests share: a fresh working directory for each test,
// and sound files written with libsndfile.
#ifndef TOPLU_ORTAK_H
#define TOPLU_ORTAK_H

#include <gtest/gtest.h>
#include <sndfile.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

// Each test runs in a new temporary directory, removed afterwards.
class GeciciDizinTesti : public ::testing::Test {
protected:
    std::filesystem::path eski, dizin;
    void SetUp() override {
        eski = std::filesystem::current_path();
        char sablon[] = "/tmp/velmo_toplu_XXXXXX";
        ASSERT_NE(mkdtemp(sablon), nullptr);
        dizin = sablon;
        std::filesystem::current_path(dizin);
    }
    void TearDown() override {
        std::filesystem::current_path(eski);
        std::filesystem::remove_all(dizin);
    }
};

// Writes `kanal` interleaved channels of `veri` as a sound file.
inline void SesYaz(const std::string& ad, int bicim, int oran, int kanal, const std::vector<float>& veri) {
    SF_INFO b{};
    b.samplerate = oran;
    b.channels = kanal;
    b.format = bicim;
    SNDFILE* f = sf_open(ad.c_str(), SFM_WRITE, &b);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    sf_command(f, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    sf_writef_float(f, veri.data(), static_cast<sf_count_t>(veri.size() / static_cast<size_t>(kanal)));
    sf_close(f);
}

#endif
