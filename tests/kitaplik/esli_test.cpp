// libvelmo on several threads at once: each thread trains the words into a
// directory of its own and recognises with a handle of its own, and every
// thread gets what one thread alone gets: the same files, and the same word,
// score, file, kind and message for every recording.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <velmo/tanici.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "sentetik.h"

namespace fs = std::filesystem;

namespace {

const int OO = 12000;

// A take at `oo` Hz: 0.4 s of faint noise, `sure` seconds of a gliding
// two-tone vowel (f0 and about 4.3 f0), 0.4 s of faint noise.
std::vector<int16_t> Alim(double sure, double f0, unsigned tohum, int oo = OO) {
    return SentetikSozcuk(0.4, sure, 0.4 + sure + 0.4, f0, tohum, oo);
}

struct SOZCUK {
    const char* soz;
    double sure, f0;
};
const SOZCUK SOZCUKLER[] = {{"bir", 0.5, 150}, {"iki", 0.4, 320}, {"üç", 0.6, 220}};
const int TURLER[] = {1, 2, 3};

// Trains the word s into d/WORD.vlm, of kind `tur`, from one take or from
// two (the second a little longer and lower); 0 when it did, else the
// library's answer with its reason in hata.
int SozEgit(const fs::path& d, const SOZCUK& s, int alimSayisi, int tur, unsigned tohum, char (&hata)[512]) {
    const std::vector<int16_t> a1 = Alim(s.sure, s.f0, tohum), a2 = Alim(s.sure * 1.1, s.f0 * 0.97, tohum + 1);
    const int16_t* alimlar[] = {a1.data(), a2.data()};
    const size_t sayilar[] = {a1.size(), a2.size()};
    return velmo_egit((d / (std::string(s.soz) + ".vlm")).c_str(), s.soz, alimlar, sayilar,
                      static_cast<size_t>(alimSayisi), OO, tur, hata, sizeof hata);
}

// A recording to recognise: the samples and their rate.
struct KAYIT {
    std::vector<int16_t> x;
    int oo;
};

// New takes of every word, the first one also at 16 kHz (converted to the
// codebooks' rate), and silence (nothing recognised: a message).
std::vector<KAYIT> Kayitlar() {
    std::vector<KAYIT> k;
    unsigned tohum = 100;
    for (const SOZCUK& s : SOZCUKLER) k.push_back({Alim(s.sure, s.f0 * 1.03, tohum++), OO});
    k.push_back({Alim(SOZCUKLER[0].sure, SOZCUKLER[0].f0, tohum++, 16000), 16000});
    k.push_back({std::vector<int16_t>(2 * OO, 0), OO});
    return k;
}

struct YANIT {
    int sonuc;
    std::string soz, dosya, hata;
    float puan;
    int tur;
    bool operator==(const YANIT& o) const {
        return std::tie(sonuc, soz, dosya, hata, puan, tur) == std::tie(o.sonuc, o.soz, o.dosya, o.hata, o.puan, o.tur);
    }
};

std::ostream& operator<<(std::ostream& o, const YANIT& y) {
    return o << y.sonuc << " " << y.soz << " " << y.puan << " " << y.dosya << " " << y.tur << " " << y.hata;
}

// What one thread wrote and heard.
struct GOZLEM {
    std::vector<std::string> dosyalar;  // every codebook and report, byte for byte
    std::vector<YANIT> yanitlar;
    std::string hata;                   // a call that failed where it should not
};

std::string Oku(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Trains every word of every kind from two takes into `dizin`/TUR, then
// recognises each recording `tekrar` times with a handle per kind.
GOZLEM Calis(const fs::path& dizin, const std::vector<KAYIT>& kayitlar, int tekrar) {
    GOZLEM g;
    char hata[512];
    for (int tur : TURLER) {
        const fs::path d = dizin / std::to_string(tur);
        fs::create_directories(d);
        unsigned tohum = 1;
        for (const SOZCUK& s : SOZCUKLER) {
            if (SozEgit(d, s, 2, tur, tohum, hata) != 0) g.hata += hata;
            tohum += 2;
            const fs::path vlm = d / (std::string(s.soz) + ".vlm");
            g.dosyalar.push_back(Oku(vlm));
            g.dosyalar.push_back(Oku(vlm.string() + ".txt"));
        }
        velmo_tanici* t = velmo_tanici_ac(d.c_str(), hata, sizeof hata);
        if (t == nullptr) {
            g.hata += hata;
            continue;
        }
        for (int i = 0; i < tekrar; i++) {
            for (const KAYIT& k : kayitlar) {
                velmo_sonuc s;
                const int r = velmo_tani(t, k.x.data(), k.x.size(), k.oo, &s);
                g.yanitlar.push_back({r, s.soz, s.dosya, velmo_hata(t), s.puan, s.tur});
            }
        }
        velmo_tanici_kapat(t);
    }
    return g;
}

}  // namespace

TEST(KitaplikEsli, ThreadsWithHandlesOfTheirOwnAnswerAsOneThread) {
    char sablon[] = "/tmp/velmo_esli_XXXXXX";
    ASSERT_NE(mkdtemp(sablon), nullptr);
    const fs::path kok = sablon;
    const std::vector<KAYIT> kayitlar = Kayitlar();
    const int TEKRAR = 3;

    const GOZLEM tek = Calis(kok / "tek", kayitlar, TEKRAR);
    ASSERT_EQ(tek.hata, "");
    // The answers compared are worth comparing: each take is its own word.
    for (size_t i = 0; i < std::size(SOZCUKLER); i++) EXPECT_EQ(tek.yanitlar[i].soz, SOZCUKLER[i].soz);
    EXPECT_EQ(tek.yanitlar[3].soz, SOZCUKLER[0].soz);
    EXPECT_EQ(tek.yanitlar[4].sonuc, 1);
    EXPECT_NE(tek.yanitlar[4].hata, "");

    std::vector<GOZLEM> gozlemler(3);
    std::vector<std::thread> iplikler;
    for (size_t i = 0; i < gozlemler.size(); i++)
        iplikler.emplace_back([&, i] { gozlemler[i] = Calis(kok / std::to_string(i), kayitlar, TEKRAR); });
    for (std::thread& t : iplikler) t.join();

    for (const GOZLEM& g : gozlemler) {
        EXPECT_EQ(g.hata, "");
        EXPECT_TRUE(g.dosyalar == tek.dosyalar);
        EXPECT_EQ(g.yanitlar, tek.yanitlar);
    }
    fs::remove_all(kok);
}

// A word that would send commands to a terminal is refused as the screens
// refuse it, and no file is written; closing no handle does nothing.
TEST(Kitaplik, AWordWithAControlCharacterIsRefused) {
    const std::vector<int16_t> a = Alim(0.5, 150, 1);
    const int16_t* alimlar[] = {a.data()};
    const size_t sayilar[] = {a.size()};
    char sablon[] = "/tmp/velmo_soz_XXXXXX";
    ASSERT_NE(mkdtemp(sablon), nullptr);
    for (const char* soz : {"a\x1b[2J", "zil\a"}) {
        const std::string vlm = std::string(sablon) + "/s.vlm";
        char hata[256];
        EXPECT_EQ(velmo_egit(vlm.c_str(), soz, alimlar, sayilar, 1, OO, 1, hata, sizeof hata), 1) << soz;
        EXPECT_FALSE(fs::exists(vlm)) << soz;
    }
    velmo_tanici_kapat(nullptr);
    fs::remove_all(sablon);
}

// The confidence of an answer, and a refusal by sensitivity that still
// names the refused word.
TEST(KitaplikGuven, ConfidenceAndRefusalBySensitivity) {
    char sablon[] = "/tmp/velmo_guven_XXXXXX";
    ASSERT_NE(mkdtemp(sablon), nullptr);
    const fs::path d = sablon;
    char hata[512];
    unsigned tohum = 1;
    for (const SOZCUK& s : SOZCUKLER) {
        ASSERT_EQ(SozEgit(d, s, 2, 3, tohum, hata), 0) << hata;
        tohum += 2;
    }
    velmo_tanici* t = velmo_tanici_ac(d.c_str(), hata, sizeof hata);
    ASSERT_NE(t, nullptr) << hata;
    const KAYIT k = Kayitlar()[1];
    velmo_sonuc s, s0;
    double g = -1, g0 = -1;
    ASSERT_EQ(velmo_tani_guven(t, k.x.data(), k.x.size(), k.oo, 1, &s, &g), 0) << velmo_hata(t);
    EXPECT_STREQ(s.soz, SOZCUKLER[1].soz);
    EXPECT_GT(g, 0);
    EXPECT_LE(g, 1);
    ASSERT_EQ(velmo_tani_guven(t, k.x.data(), k.x.size(), k.oo, 0, &s0, &g0), 2);
    EXPECT_STREQ(s0.soz, s.soz);
    EXPECT_EQ(g0, g);
    EXPECT_STRNE(velmo_hata(t), "");
    velmo_sonuc s1;
    EXPECT_EQ(velmo_tani(t, k.x.data(), k.x.size(), k.oo, &s1), 0);  // no refusal there
    EXPECT_EQ(velmo_tani_guven(t, k.x.data(), k.x.size(), k.oo, 2, &s1, nullptr), 1);
    velmo_tanici_kapat(t);
    fs::remove_all(d);
}

// A handle follows its directory: a word trained after it was opened is
// recognised, a codebook removed no longer answers, and a directory left
// with none says so.
TEST(Kitaplik, AHandleFollowsItsDirectory) {
    char sablon[] = "/tmp/velmo_izle_XXXXXX";
    ASSERT_NE(mkdtemp(sablon), nullptr);
    const fs::path d = sablon;
    char hata[512];
    auto Egit = [&](const SOZCUK& s) { return SozEgit(d, s, 1, 1, 1, hata); };
    ASSERT_EQ(Egit(SOZCUKLER[0]), 0) << hata;
    velmo_tanici* t = velmo_tanici_ac(d.c_str(), hata, sizeof hata);
    ASSERT_NE(t, nullptr) << hata;
    const KAYIT k = Kayitlar()[1];
    velmo_sonuc s;
    ASSERT_EQ(velmo_tani(t, k.x.data(), k.x.size(), k.oo, &s), 0) << velmo_hata(t);
    EXPECT_STREQ(s.soz, SOZCUKLER[0].soz);
    ASSERT_EQ(Egit(SOZCUKLER[1]), 0) << hata;
    ASSERT_EQ(velmo_tani(t, k.x.data(), k.x.size(), k.oo, &s), 0) << velmo_hata(t);
    EXPECT_STREQ(s.soz, SOZCUKLER[1].soz);
    fs::remove(d / (std::string(SOZCUKLER[1].soz) + ".vlm"));
    ASSERT_EQ(velmo_tani(t, k.x.data(), k.x.size(), k.oo, &s), 0) << velmo_hata(t);
    EXPECT_STREQ(s.soz, SOZCUKLER[0].soz);
    fs::remove(d / (std::string(SOZCUKLER[0].soz) + ".vlm"));
    EXPECT_EQ(velmo_tani(t, k.x.data(), k.x.size(), k.oo, &s), 1);
    EXPECT_NE(std::string(velmo_hata(t)).find(".vlm"), std::string::npos);
    velmo_tanici_kapat(t);
    fs::remove_all(d);
}
