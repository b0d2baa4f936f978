// What the screens tell a person at the microphone: command letters in either
// case, when to speak and how loud it was, what a training result means, why a
// typed setting was refused, and what the recognition screen looked at.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "konsol.h"
#include "menu.h"
#include "sahte_aygit.h"
#include "sifirlama.h"
#include "velmo.h"

namespace fs = std::filesystem;

namespace {

class Mikrofon : public ::testing::Test {
protected:
    std::string cikti;
    fs::path dizin, eski;
    void SetUp() override {
        eski = fs::current_path();
        char sablon[] = "/tmp/velmo-mikrofon-XXXXXX";
        dizin = mkdtemp(sablon);
        fs::current_path(dizin);
        KonsolTestKur("", &cikti, true);
        Sifirla(0);
        std::strcpy(ayr.yol, dizin.c_str());
        SahteAygitKur();
    }
    void TearDown() override {
        Sifirla(0);
        KonsolTestBitir();
        SesAygitiKur(nullptr);
        fs::current_path(eski);
        fs::remove_all(dizin);
    }
    // Runs a screen on `girdi`; its output as plain text lines.
    void Ekran(void (*ekran)(), const std::string& girdi) {
        cikti.clear();
        KonsolTestKur(girdi, &cikti, true);
        ekran();
    }
    bool Var(const std::string& parca) const { return cikti.find(parca) != std::string::npos; }
};

}  // namespace

TEST_F(Mikrofon, UpperCaseLettersActAsTheirLowerCaseCommands) {
    Ekran(AyarlarMenu, "K\n7\nU\n0.25\nG\nK\n4\nT\n");
    EXPECT_EQ(ayr.kdbaslik.ksu, 4);   // "G" put 7 back to 3 before "K" made it 4
    EXPECT_EQ(ayr.uae, 0.000001f);
    Ekran(YeniSozcukMenu, "S\nevet\nT\n");
    EXPECT_STREQ(ayr.kdbaslik.soz, "evet");
    // "T" leaves the recognition screen without recording.
    Ekran(KonusTanisin, "T");
    EXPECT_TRUE(sahte.adimlar.empty());
}
