// Kept settings: what a file gives, what it refuses line by line, and a
// save read back.
#include "kalici.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <cstring>
#include <set>
#include <string>

#include "ayar_tablosu.h"

namespace fs = std::filesystem;

namespace {

class KaliciTest : public ::testing::Test {
protected:
    fs::path dizin = fs::temp_directory_path() / ("velmo_kalici_" + std::to_string(getpid()));
    void SetUp() override {
        fs::remove_all(dizin);
        setenv("XDG_CONFIG_HOME", dizin.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(dizin);
    }
    void Dosya(const std::string& metin) {
        fs::create_directories(dizin / "velmo");
        std::ofstream(dizin / "velmo" / "ayarlar") << metin;
    }
};

}  // namespace

TEST_F(KaliciTest, NoFileLeavesTheDefaultsExactly) {
    AYAR_DEGERLERI a = VarsayilanAyarlar();
    EXPECT_EQ(KaliciAyarlariUygula(a), "");
    const AYAR_DEGERLERI v = VarsayilanAyarlar();
    EXPECT_EQ(std::memcmp(&a, &v, sizeof a), 0);
    EXPECT_EQ(KaliciAyarDosyasi(), (dizin / "velmo" / "ayarlar").string());
}

// Good lines are taken, each bad line is named by its number and skipped.
TEST_F(KaliciTest, LinesAreTakenAsTheMenuTakesValuesAndBadOnesNamed) {
    Dosya("# yorum\n\nksu = 2\n oo=16000 \nuae = 0,001\ntur = 3\nyee = 8000x\nbilinmez = 1\nksu\n"
          "s = 2.5\nm = 0\nyee = 100\n");
    AYAR_DEGERLERI a = VarsayilanAyarlar();
    std::set<std::string> alinan;
    const std::string m = KaliciAyarlariUygula(a, &alinan);
    EXPECT_EQ(a.kdbaslik.ksu, 2);
    EXPECT_EQ(a.kdbaslik.oo, 16000);
    EXPECT_FLOAT_EQ(a.uae, 0.001f);
    EXPECT_EQ(a.kdbaslik.tur, 3);
    EXPECT_EQ(a.kdbaslik.p, TurunLpcDerecesi(3));
    EXPECT_EQ(a.kdbaslik.yee, VarsayilanAyarlar().kdbaslik.yee);  // 100 is below aee
    EXPECT_EQ(alinan, (std::set<std::string>{"ksu", "oo", "uae", "tur"}));
    for (int satir : {7, 8, 9, 10, 11, 12})
        EXPECT_NE(m.find(":" + std::to_string(satir) + ": "), std::string::npos) << satir << "\n" << m;
    EXPECT_EQ(m.find(":3: "), std::string::npos);
}

TEST_F(KaliciTest, ASaveReadsBackAsTheSettingsItWrote) {
    AYAR_DEGERLERI a = VarsayilanAyarlar();
    TurSec(a, 3);
    a.kdbaslik.ksu = 5;
    a.uae = 0.0025f;
    ASSERT_EQ(KaliciAyarlariYaz(a), "");
    AYAR_DEGERLERI b = VarsayilanAyarlar();
    EXPECT_EQ(KaliciAyarlariUygula(b), "");
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}
