// The command file and the background runner.
#include "komutlar.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "kodlama.h"

namespace {

std::string Oku(const std::string& ad) {
    std::ifstream f(ad);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

struct GeciciDizin {
    std::string yol;
    GeciciDizin() {
        char s[] = "/tmp/velmo_komut_XXXXXX";
        yol = mkdtemp(s);
    }
    ~GeciciDizin() { std::system(("rm -rf '" + yol + "'").c_str()); }
};

}  // namespace

TEST(KomutDosyasi, LinesCommentsAndBlankLines) {
    KodlamaBaslat();
    std::vector<KOMUT> k;
    std::string h;
    ASSERT_TRUE(KomutMetniCoz("# açıklama\n\naç\txdg-open . \t\r\n  # girintili açıklama\nkapat\techo 'a\tb'\n", "k",
                              k, &h))
        << h;
    ASSERT_EQ(k.size(), 2u);
    EXPECT_EQ(k[0].soz, "aç");
    EXPECT_EQ(k[0].komut, "xdg-open .");
    EXPECT_EQ(k[0].satir, 3);
    // Only the first TAB separates: the command keeps its own.
    EXPECT_EQ(k[1].komut, "echo 'a\tb'");
    EXPECT_EQ(KomutBul(k, "kapat"), &k[1]);
    EXPECT_EQ(KomutBul(k, "kapa"), nullptr);
}

TEST(KomutDosyasi, MalformedLinesAreNamedByNumber) {
    using namespace std::string_literals;
    const std::pair<std::string, const char*> bozuk[] = {
        {"aç\techo\nkapat echo\n", "k:2: "},          // no TAB
        {"\techo\n", "k:1: "},                        // no word
        {"# x\naç\t  \n", "k:2: "},                   // no command
        {"aç\techo\nç\xff\techo\n", "k:2: "},         // not UTF-8
        {"çokçokçokçokçokuzunsöz\techo\n", "k:1: "},  // more than a codebook holds
        {"€\techo\n", "k:1: "},                       // outside Windows-1254? (it is inside: next line)
        {"aç\techo 1\naç\techo 2\n", "k:2: "},        // twice
        {"日本\techo\n", "k:1: "},                    // no Windows-1254 form
        {"# x\raç\techo\r", "k:1: "},                // CR-only line ends
        {"aç\techo\nb\tx\0y\n"s, "k:2: "},            // a NUL byte
    };
    for (const auto& [metin, onek] : bozuk) {
        std::vector<KOMUT> k;
        std::string h;
        const bool tamam = KomutMetniCoz(metin, "k", k, &h);
        if (metin.rfind("€", 0) == 0) {
            EXPECT_TRUE(tamam) << h;  // the euro sign is in the code page
            continue;
        }
        EXPECT_FALSE(tamam) << metin;
        EXPECT_EQ(h.rfind(onek, 0), 0u) << metin << " -> " << h;
        EXPECT_TRUE(k.empty());
    }
}

// Only a regular file of sane size is read; anything else is refused at
// once, never waited on or read without end.
TEST(KomutDosyasi, OnlyARegularFileOfSaneSizeIsRead) {
    GeciciDizin d;
    const std::string boru = d.yol + "/boru", buyuk = d.yol + "/buyuk";
    ASSERT_EQ(mkfifo(boru.c_str(), 0600), 0);
    std::ofstream(buyuk) << std::string(KOMUT_DOSYASI_EN_COK + 1, '#');
    for (const std::string& ad : {std::string("/yok/boyle/dosya"), d.yol, boru, std::string("/dev/zero"), buyuk}) {
        std::vector<KOMUT> k;
        std::string h;
        EXPECT_FALSE(KomutlariOku(ad, k, &h)) << ad;
        EXPECT_EQ(h.rfind(ad + ": ", 0), 0u) << h;
    }
}

TEST(KomutCalistirici, RunsInTheBackgroundWithTheWordInItsEnvironment) {
    GeciciDizin d;
    const std::string cikti = d.yol + "/cikti";
    KOMUT k{"aç", "printf '%s|%s|%s' \"$VELMO_SOZ\" \"$VELMO_PUAN\" \"$VELMO_DOSYA\" > '" + cikti + "'; exit 3", 4};
    KOMUT yavas{"bekle", "sleep 2", 5};
    KOMUT_CALISTIRICI c;
    std::string h;
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(c.Baslat(yavas, "1.0", "b.vlm", &h)) << h;
    ASSERT_TRUE(c.Baslat(k, "0.125000", "ac.vlm", &h)) << h;
    // Starting a slow command does not wait for it.
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(500));
    EXPECT_EQ(c.Calisan(), 2u);
    std::string rapor;
    for (int i = 0; i < 200 && rapor.empty(); i++) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        c.Topla(false, &rapor);
    }
    EXPECT_EQ(Oku(cikti), "aç|0.125000|ac.vlm");
    EXPECT_NE(rapor.find("\"aç\" (satır 4"), std::string::npos) << rapor;
    EXPECT_NE(rapor.find("çıkış durumu 3"), std::string::npos) << rapor;
    EXPECT_EQ(rapor.find("bekle"), std::string::npos) << rapor;
    EXPECT_EQ(c.Calisan(), 1u);
    rapor.clear();
    c.Topla(true, &rapor);
    EXPECT_NE(rapor.find("\"bekle\""), std::string::npos);
    EXPECT_NE(rapor.find("çıkış durumu 0"), std::string::npos);
    EXPECT_EQ(c.Calisan(), 0u);
}

// A command's output never mixes with the result lines on standard output,
// and it runs in a process group of its own.
TEST(KomutCalistirici, OutputGoesToStandardErrorInItsOwnGroup) {
    GeciciDizin d;
    const std::string grup = d.yol + "/grup";
    KOMUT k{"yaz", "echo standart-cikti; echo standart-hata >&2; cut -d' ' -f5 /proc/$$/stat > '" + grup + "'", 1};
    KOMUT_CALISTIRICI c;
    std::string h, rapor;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool basladi = c.Baslat(k, "0.1", "y.vlm", &h);
    c.Topla(true, &rapor);
    const std::string cikti = testing::internal::GetCapturedStdout();
    const std::string hata = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(basladi) << h;
    EXPECT_EQ(cikti, "");
    EXPECT_EQ(hata, "standart-cikti\nstandart-hata\n");
    EXPECT_NE(rapor.find("çıkış durumu 0"), std::string::npos) << rapor;
    const std::string g = Oku(grup);
    ASSERT_FALSE(g.empty());
    EXPECT_NE(std::stol(g), static_cast<long>(getpgrp()));
}

// A few commands run at once and a few more wait their turn; beyond that a
// command is refused, never started.
TEST(KomutCalistirici, AFewRunAtOnceAFewMoreWaitTheRestAreRefused) {
    GeciciDizin d;
    const std::string dur = d.yol + "/dur";
    KOMUT k{"bekle", "while [ ! -e '" + dur + "' ]; do sleep 0.02; done", 1};
    KOMUT_CALISTIRICI c;
    std::string h, rapor;
    const size_t kabul = KOMUT_EN_COK_CALISAN + KOMUT_EN_COK_SIRADA;
    for (size_t i = 0; i < kabul; i++) ASSERT_TRUE(c.Baslat(k, "1", "b.vlm", &h)) << h;
    EXPECT_FALSE(c.Baslat(k, "1", "b.vlm", &h));
    c.Topla(false, &rapor);
    EXPECT_EQ(c.Calisan(), KOMUT_EN_COK_CALISAN);
    std::ofstream(dur) << "";
    c.Topla(true, &rapor);
    EXPECT_EQ(static_cast<size_t>(std::count(rapor.begin(), rapor.end(), '\n')), kabul) << rapor;
    EXPECT_EQ(c.Calisan(), 0u);
}
