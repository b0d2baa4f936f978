#include "sifirlama.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "bellek.h"
#include "mesaj_kaydi.h"
#include "durum.h"

namespace fs = std::filesystem;

namespace {

// A record with every kind of storage held and every field away from its default.
void Doldur() {
    ayr.kyt = static_cast<char*>(std::calloc(100, 1));
    ayr.kytu = 100;
    ayr.bsl = ayr.kyt + 10;
    ayr.uzn = 20;
    ayr.oz.r = 7;
    for (MATRIS* m : {&ayr.km, &ayr.oz.Ri, &ayr.oz.Ai, &ayr.oz.RFi, &ayr.oz.Ci, &ayr.oz.DelCi}) m->Kur(2, 2);
    ayr.kdbayrak = 1;
    std::strcpy(ayr.kdad, "/x/evet.vlm");
    std::strcpy(ayr.yol, "/x");
    std::strcpy(ayr.kdbaslik.soz, "evet");
    ayr.kdbaslik.tur = 2;
    ayr.kdbaslik.kmt = 9;
    ayr.kdbaslik.oo = 8000;
    ayr.kdbaslik.n = 12;
    ayr.thm = 1;
    ayr.uae = 0.5f;
}

class SifirlaTest : public ::testing::Test {
protected:
    std::string cikti;
    void SetUp() override {
        MesajKaydiKur(&cikti);
        Sifirla(0);
    }
    void TearDown() override {
        Sifirla(0);
        MesajKaydiBitir();
    }
};

}  // namespace

// Runs before any other Sifirla call of this program: the start-up directory
// is taken on the very first call, even with a selector that does nothing.
TEST(SifirlaIlk, CapturesStartDirectoryOnceEvenForUnknownSelector) {
    char bas[YOL_BOYU];
    ASSERT_NE(getcwd(bas, sizeof bas), nullptr);
    EXPECT_STREQ(BaslangicDizini(), "");
    Sifirla(100);
    EXPECT_STREQ(BaslangicDizini(), bas);
    EXPECT_EQ(ayr.kdbaslik.oo, 0);  // the record itself is untouched
    fs::path eski = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    Sifirla(3);
    EXPECT_STREQ(ayr.yol, bas);  // the start-up directory, not the current one
    fs::current_path(eski);
}

TEST_F(SifirlaTest, FullResetDefaults) {
    Doldur();
    Sifirla(0);
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    EXPECT_EQ(std::memcmp(b.bicim, "VLM\0", 4), 0);
    EXPECT_EQ(b.tur, 1);
    for (char c : b.soz) EXPECT_EQ(c, 0);
    EXPECT_EQ(b.kmt, 0);
    int beklenen[] = {1, 12000, 16, 3, 10, 375, 200, 10, 20, 10, 15, 15, 10, 10};
    int gercek[] = {b.ks, b.oo, b.oc, b.ksu, b.kpensu, b.yee, b.aee, b.bsge, b.pensu, b.admsu, b.m, b.n, b.p, b.s};
    for (int i = 0; i < 14; i++) EXPECT_EQ(gercek[i], beklenen[i]) << i;
    EXPECT_EQ(ayr.thm, 1234);
    uint32_t bit;
    std::memcpy(&bit, &ayr.uae, 4);
    EXPECT_EQ(bit, 0x358637BDu);
    char uae[32];
    std::snprintf(uae, sizeof uae, "%f", ayr.uae);
    EXPECT_STREQ(uae, "0.000001");
    EXPECT_EQ(ayr.eabs, 5);
    EXPECT_EQ(ayr.onyinl, 50);
    EXPECT_EQ(ayr.yinl, 100);
    EXPECT_STREQ(ayr.kdad, "");
    EXPECT_STREQ(ayr.yol, BaslangicDizini());
    EXPECT_EQ(ayr.kdbayrak, 0);
    EXPECT_EQ(ayr.kyt, nullptr);
    EXPECT_EQ(ayr.kytu, 0);
    EXPECT_EQ(ayr.bsl, nullptr);
    EXPECT_EQ(ayr.uzn, 0);
    EXPECT_EQ(ayr.oz.r, 0);
    EXPECT_TRUE(ayr.km.Bos());
    EXPECT_TRUE(ayr.oz.DelCi.Bos());
    EXPECT_EQ(cikti, "");
}

TEST_F(SifirlaTest, ParametersKeepIdentityAndStorage) {
    Doldur();
    Sifirla(2);
    EXPECT_EQ(ayr.kdbaslik.oo, 12000);
    EXPECT_EQ(ayr.kdbaslik.n, 15);
    EXPECT_EQ(ayr.thm, 1234);
    EXPECT_EQ(ayr.uae, 0.000001f);
    EXPECT_EQ(ayr.kdbaslik.tur, 2);
    EXPECT_STREQ(ayr.kdbaslik.soz, "evet");
    EXPECT_EQ(ayr.kdbaslik.kmt, 9);
    EXPECT_STREQ(ayr.kdad, "/x/evet.vlm");
    EXPECT_STREQ(ayr.yol, "/x");
    EXPECT_EQ(ayr.kdbayrak, 1);
    EXPECT_NE(ayr.kyt, nullptr);
    EXPECT_EQ(ayr.oz.r, 7);
    EXPECT_FALSE(ayr.km.Bos());
    EXPECT_FALSE(ayr.oz.Ci.Bos());
}

TEST_F(SifirlaTest, IdentityOnly) {
    Doldur();
    Sifirla(3);
    EXPECT_EQ(ayr.kdbaslik.tur, 1);
    EXPECT_STREQ(ayr.kdbaslik.soz, "");
    EXPECT_EQ(ayr.kdbaslik.kmt, 0);
    EXPECT_STREQ(ayr.kdad, "");
    EXPECT_STREQ(ayr.yol, BaslangicDizini());
    EXPECT_EQ(ayr.kdbayrak, 0);
    EXPECT_EQ(ayr.kdbaslik.oo, 8000);  // parameters stay
    EXPECT_EQ(ayr.thm, 1);
    EXPECT_FALSE(ayr.km.Bos());
}

TEST_F(SifirlaTest, RecordingClearsFrameCountButKeepsMatrices) {
    Doldur();
    Sifirla(1);
    EXPECT_EQ(ayr.kyt, nullptr);
    EXPECT_EQ(ayr.kytu, 0);
    EXPECT_EQ(ayr.bsl, nullptr);
    EXPECT_EQ(ayr.uzn, 0);
    EXPECT_EQ(ayr.oz.r, 0);
    EXPECT_FALSE(ayr.oz.Ri.Bos());
    EXPECT_FALSE(ayr.oz.DelCi.Bos());
    EXPECT_FALSE(ayr.km.Bos());
    Sifirla(1);  // nothing left to release, nothing printed
    EXPECT_EQ(cikti, "");
}

TEST_F(SifirlaTest, CodebookAndAnalysisGroups) {
    Doldur();
    Sifirla(5);
    EXPECT_TRUE(ayr.oz.Ri.Bos());
    EXPECT_TRUE(ayr.oz.Ai.Bos());
    EXPECT_TRUE(ayr.oz.RFi.Bos());
    EXPECT_TRUE(ayr.oz.Ci.Bos());
    EXPECT_TRUE(ayr.oz.DelCi.Bos());
    EXPECT_FALSE(ayr.km.Bos());
    EXPECT_EQ(ayr.kdbayrak, 1);
    Sifirla(4);
    EXPECT_TRUE(ayr.km.Bos());
    EXPECT_EQ(ayr.kdbayrak, 1);  // the flag is not the codebook group's business
    Sifirla(4);
    Sifirla(5);
    EXPECT_EQ(cikti, "");
}

TEST_F(SifirlaTest, OutOfRangeSelectorsChangeNothing) {
    Doldur();
    const AYAR_DEGERLERI once = ayr;
    const float* km = ayr.km.Veri();
    const float* ci = ayr.oz.Ci.Veri();
    const char* kyt = ayr.kyt;
    for (int s : {6, 100, -1, -2147483647 - 1, 2147483647}) Sifirla(s);
    EXPECT_EQ(std::memcmp(&once, static_cast<const AYAR_DEGERLERI*>(&ayr), sizeof once), 0);
    EXPECT_EQ(ayr.km.Veri(), km);
    EXPECT_EQ(ayr.oz.Ci.Veri(), ci);
    EXPECT_EQ(ayr.kyt, kyt);
    EXPECT_EQ(ayr.oz.r, 7);
    EXPECT_STREQ(ayr.kdad, "/x/evet.vlm");
}

TEST_F(SifirlaTest, AnyOrderAnyNumberOfTimes) {
    for (int tur = 0; tur < 3; tur++) {
        Doldur();
        for (int s : {5, 1, 4, 2, 3, 0, 5, 4, 1, 1, 0})
            Sifirla(s);
    }
    EXPECT_EQ(cikti, "");
}

// Installing a codebook replaces the one there (the leak checker of the
// sanitizer build sees a lost one).
TEST_F(SifirlaTest, CodebookInstalledReplacesTheOldOne) {
    Doldur();
    MATRIS yeni;
    ASSERT_TRUE(yeni.Kur(3, 5));
    const float* veri = yeni.Veri();
    KuralKitabiKur(std::move(yeni));
    EXPECT_EQ(ayr.km.Veri(), veri);
    EXPECT_EQ(ayr.km.Satir(), 3);
    EXPECT_EQ(ayr.km.Sutun(), 5);
}
