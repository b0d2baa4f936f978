// Tests of evaluation's parts: the labelled list as people write it, the
// result bytes between processes, the counting and the report's columns.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "degerlendir.h"

namespace fs = std::filesystem;

TEST(Degerlendir, ListIsReadAsPeopleWriteIt) {
    const fs::path d = fs::temp_directory_path() / ("velmo_liste_" + std::to_string(::getpid()));
    fs::create_directories(d);
    const std::string liste = (d / "liste.csv").string();
    std::ofstream(liste) << "kayit,soz\r\n# a comment\n\n  a.wav , evet \n\"b,c.wav\",\"say \"\"hi\"\", ok\"\n/abs/c.wav,hayır\n";
    std::vector<ETIKETLI> e;
    ASSERT_TRUE(ListeOku(liste, e));
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].dosya, (d / "a.wav").string());  // relative to the list
    EXPECT_EQ(e[0].soz, "evet");
    // Quoted fields keep their commas and doubled quotes.
    EXPECT_EQ(e[1].dosya, (d / "b,c.wav").string());
    EXPECT_EQ(e[1].soz, "say \"hi\", ok");
    EXPECT_EQ(e[2].dosya, "/abs/c.wav");
    std::ofstream(liste) << "a.wav,evet\nnocomma\n";
    e.clear();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ListeOku(liste, e));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("liste.csv:2:"), std::string::npos);
    fs::remove_all(d);

    e.clear();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(DesenleEtiketle(std::regex("^([0-9]+)_"), {"x/7_ali_3.wav", "y/ali.wav", "12_b.wav"}, e));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("y/ali.wav: desen uymadı"), std::string::npos);
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].soz, "7");
    EXPECT_EQ(e[1].soz, "12");
}

TEST(Degerlendir, ResultBytesRoundTripAndCutOnesGiveNothing) {
    KAYITSONUCU k;
    k.okundu = k.yanit = true;
    k.bulunan = "hayır";
    k.enyakin = 0.125f;
    k.mesaj = "uyarı\n";
    const std::string p = Paketle(k);
    const KAYITSONUCU c = Coz(p);
    EXPECT_TRUE(c.okundu && c.yanit);
    EXPECT_EQ(c.bulunan, "hayır");
    EXPECT_EQ(c.enyakin, 0.125f);
    EXPECT_EQ(c.mesaj, "uyarı\n");
    for (size_t n : {size_t{0}, size_t{5}, size_t{12}}) {
        const KAYITSONUCU kesik = Coz(p.substr(0, n));
        EXPECT_FALSE(kesik.okundu) << n;
        EXPECT_TRUE(kesik.bulunan.empty()) << n;
    }
}

// Counting: right, wrong, unanswered and unreadable recordings; the text
// aligns the columns by characters (not bytes) and the JSON says the same.
TEST(Degerlendir, CountsAndBothRenderings) {
    DEGERLENDIRME d;
    const std::vector<ETIKETLI> e = {{"1.wav", "evet"}, {"2.wav", "evet"}, {"3.wav", "hayır"}, {"4.wav", "hayır"},
                                     {"5.wav", "evet"}};
    DegerlendirmeBaslat("k", {}, e, d);
    auto sonuc = [](bool okundu, const char* bulunan, float u) {
        KAYITSONUCU k;
        k.okundu = okundu;
        k.yanit = bulunan != nullptr;
        k.bulunan = bulunan ? bulunan : "";
        k.enyakin = u;
        return k;
    };
    SonucuSay(e[0], sonuc(true, "evet", 0.1f), d);
    SonucuSay(e[1], sonuc(true, "hayır", 0.2f), d);
    SonucuSay(e[2], sonuc(true, "hayır", 0.3f), d);
    SonucuSay(e[3], sonuc(true, nullptr, 1000.0f), d);
    SonucuSay(e[4], sonuc(false, nullptr, 1000.0f), d);
    EXPECT_EQ(d.genel.toplam, 4);
    EXPECT_EQ(d.genel.dogru, 2);
    EXPECT_EQ(d.okunamayan, std::vector<std::string>{"5.wav"});
    EXPECT_EQ(Sutunlar(d), (std::vector<std::string>{"evet", "hayır", "(yok)"}));
    const std::string m = DegerlendirmeMetni(d);
    EXPECT_NE(m.find("Doğruluk: 2/4 = %50.00\n"), std::string::npos) << m;
    EXPECT_NE(m.find("Okunamayan kayıt: 1\n"), std::string::npos);
    // Columns one character wider than the widest word: "hayır" is five
    // characters in six bytes.
    EXPECT_NE(m.find("         evet  hayır  (yok)\n"
                     "evet        1      1      0\n"
                     "hayır       0      1      1\n"),
              std::string::npos)
        << m;
    EXPECT_NE(m.find("2.wav\tevet\thayır\t0.200000\n4.wav\thayır\t(yok)\t1000.000000\n"), std::string::npos) << m;
    const std::string j = DegerlendirmeJson(d);
    EXPECT_NE(j.find("\"toplam\":4,\"dogru\":2,\"dogruluk\":0.5,"), std::string::npos) << j;
    EXPECT_NE(j.find("\"karisiklik\":[[1,1,0],[0,1,1]]"), std::string::npos) << j;
    EXPECT_NE(j.find("{\"dosya\":\"4.wav\",\"beklenen\":\"hayır\",\"bulunan\":null,\"uzaklik\":1000}"),
              std::string::npos)
        << j;
    EXPECT_NE(j.find("\"okunamayan\":[\"5.wav\"]}\n"), std::string::npos) << j;
}
