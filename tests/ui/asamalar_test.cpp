// The screens' thin functions: each reads the record, calls its stage and
// stores the result back, and leaves the record alone when the stage fails.
#include "asamalar.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "dosya.h"
#include "kodlama.h"
#include "mesaj_kaydi.h"
#include "sifirlama.h"

namespace fs = std::filesystem;

namespace {

class Asamalar : public ::testing::Test {
protected:
    std::string cikti;
    fs::path dizin, eski;
    void SetUp() override {
        eski = fs::current_path();
        char sablon[] = "/tmp/velmo-asama-XXXXXX";
        dizin = mkdtemp(sablon);
        fs::current_path(dizin);
        MesajKaydiKur(&cikti);
        Sifirla(0);
    }
    void TearDown() override {
        Sifirla(0);
        MesajKaydiBitir();
        fs::current_path(eski);
        fs::remove_all(dizin);
    }
    // A 2 x 3 codebook of word "evet" in the record, to be saved as `ad`.
    void Bellekte(const char* ad) {
        ayr.kdbaslik.s = 2;
        ayr.kdbaslik.n = 3;
        std::strcpy(ayr.kdbaslik.soz, "evet");
        ayr.km.Kur(2, 3);
        ayr.km[1][2] = 5.0f;
        std::snprintf(ayr.kdad, sizeof ayr.kdad, "%s/%s", dizin.c_str(), ad);
    }
    // A recording of 3 s at 12 kHz: quiet noise around a voiced second.
    void Kayit() {
        Sifirla(1);
        const int boyut = 36000;
        ayr.kyt = static_cast<char*>(std::calloc(boyut, 2));
        ayr.kytu = 2 * boyut;
        short* x = reinterpret_cast<short*>(ayr.kyt);
        unsigned d = 3;
        for (int i = 0; i < boyut; i++) {
            d = d * 1103515245u + 12345u;
            double v = static_cast<int>((d >> 8) % 101) - 50;
            if (i >= 12000 && i < 24000) v += 5000 * std::sin(i * 0.09) + 2000 * std::sin(i * 0.41 + (d & 3));
            x[i] = static_cast<short>(v);
        }
    }
};

}  // namespace

// Saving sets the flag; a refused save leaves it; loading fills the record,
// also from its own path; a broken file or an absurd name changes nothing.
TEST_F(Asamalar, SaveAndLoadKeepTheRecordTrue) {
    Bellekte("evet.vlm");
    ayr.kdbayrak = 0;
    ASSERT_EQ(KuralDosyasiVeRaporKaydet(false), 0);
    EXPECT_EQ(ayr.kdbayrak, 1);
    ayr.kdbayrak = 0;
    EXPECT_EQ(KuralDosyasiVeRaporKaydet(false), 1);  // exists now
    EXPECT_EQ(ayr.kdbayrak, 0);
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    EXPECT_EQ(ayr.kdbayrak, 1);

    Sifirla(0);
    ASSERT_EQ(KuralDosyaYukle((dizin / "evet.vlm").c_str()), 0);
    EXPECT_EQ(ayr.kdbayrak, 1);
    EXPECT_STREQ(ayr.kdbaslik.soz, "evet");
    EXPECT_EQ(ayr.km[1][2], 5.0f);
    EXPECT_EQ(KuralDosyaYukle(ayr.kdad), 0);  // its own path
    EXPECT_EQ(ayr.km[1][2], 5.0f);

    std::ofstream(dizin / "bozuk.vlm") << "bozuk";
    for (const std::string& ad : {(dizin / "bozuk.vlm").string(), (dizin / "yok.vlm").string(), std::string(600, 'a')}) {
        ayr.kdbayrak = 0;
        EXPECT_EQ(KuralDosyaYukle(ad.c_str()), 1) << ad.substr(0, 40);
        EXPECT_EQ(ayr.kdbayrak, 0);
        EXPECT_EQ(ayr.km[1][2], 5.0f);
        EXPECT_EQ(std::string(ayr.kdad), (dizin / "evet.vlm").string());
    }
}

// A take as the menus run it: the speech found and its table written, the
// frames analysed and their dumps written, a codebook trained and scored;
// the score is said as a message. Training again refines the codebook in
// memory when the flag says it is the file's.
TEST_F(Asamalar, TakeTrainAndScoreThroughTheRecord) {
    Kayit();
    ASSERT_EQ(UcNoktalar(), 0) << cikti;
    EXPECT_GT(ayr.uzn, 0);
    EXPECT_TRUE(fs::exists("sinir.txt"));
    ASSERT_EQ(LPC(), 0) << cikti;
    EXPECT_GT(ayr.oz.r, ayr.kdbaslik.s);
    EXPECT_TRUE(fs::exists("Ci.txt") && fs::exists("DelCi.txt"));
    ASSERT_EQ(VQ_Egit(), 0) << cikti;
    ASSERT_EQ(ayr.km.Satir(), ayr.kdbaslik.s);
    cikti.clear();
    const float puan = OlasilikBul();
    EXPECT_TRUE(std::isfinite(puan));
    EXPECT_EQ(cikti, "uzaklik:" + std::to_string(puan) + "\n");

    // Refined from the codebook in memory: the same frames, no worse.
    ayr.kdbayrak = 1;
    ASSERT_EQ(VQ_Egit(), 0) << cikti;
    cikti.clear();
    EXPECT_LE(OlasilikBul(), puan);

    // A failed training leaves the codebook as it was.
    const float once = ayr.km[0][0];
    ayr.kdbaslik.s = 3;  // the codebook in memory is of another size
    EXPECT_EQ(VQ_Egit(), 1);
    EXPECT_EQ(ayr.km.Satir(), 10);
    EXPECT_EQ(ayr.km[0][0], once);
}

// The settings dump: the report's header lines, then the record's own.
TEST_F(Asamalar, SettingsDumpStartsWithTheReportHeader) {
    Bellekte("evet.vlm");
    AyarlarEkranaBas();
    const std::string baslik = Cp1254ten(BaslikSatirlari(ayr.kdbaslik, true));
    EXPECT_EQ(cikti.substr(0, baslik.size()), baslik);
    EXPECT_NE(cikti.find("Kural Dosyası Adı=" + (dizin / "evet.vlm").string() + "\n"), std::string::npos);
    EXPECT_NE(cikti.find("Uzaklık Alt Eşiği=0.000001\n"), std::string::npos);
}
