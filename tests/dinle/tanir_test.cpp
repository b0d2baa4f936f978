// The codebook set of a listening stream: each codebook scored with its own
// analysis whatever the first one's, what the stream cannot use skipped by
// name, and the directory read again when it changes.
#include "tanir.h"
#include "sentetik.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "dosya.h"
#include "lpc.h"
#include "mesaj.h"
#include "sinir.h"
#include "velmo.h"
#include "vq1.h"

namespace fs = std::filesystem;

namespace {

const int OO = 12000;
const double BAS = 0.4;  // quiet lead of every take, seconds

// A word-like sound at `oo` Hz after BAS seconds of quiet: `sure` seconds of
// a gliding two-tone vowel (f0 and about 4.3 f0), the whole under faint noise.
std::vector<short> Sozcuk(double sure, double f0, unsigned tohum, int oo = OO) {
    const std::vector<int16_t> x = SentetikSozcuk(BAS, sure, BAS + sure + 0.3, f0, tohum, oo);
    return std::vector<short>(x.begin(), x.end());
}

// The part of a take the stream would cut out: the word and a little around it.
std::vector<int16_t> Soz(const std::vector<short>& x, double sure) {
    const size_t bas = static_cast<size_t>((BAS - 0.05) * OO), son = static_cast<size_t>((BAS + sure + 0.05) * OO);
    return std::vector<int16_t>(x.begin() + static_cast<long>(bas), x.begin() + static_cast<long>(son));
}

class TanirTest : public ::testing::Test {
protected:
    fs::path eski, dizin;
    const KURALDOSYABASLIK ontanimli = VarsayilanAyarlar().kdbaslik;
    // Two words, "a" low and "b" high, as cut utterances.
    const double SA = 0.5, SB = 0.4;
    std::vector<int16_t> sozA, sozB;
    void SetUp() override {
        eski = fs::current_path();
        char sablon[] = "/tmp/velmo_tanir_XXXXXX";
        ASSERT_NE(mkdtemp(sablon), nullptr);
        dizin = sablon;
        fs::current_path(dizin);
        sozA = Soz(Sozcuk(SA, 155, 7), SA);
        sozB = Soz(Sozcuk(SB, 310, 8), SB);
    }
    void TearDown() override {
        fs::current_path(eski);
        fs::remove_all(dizin);
    }
    // Trains `w` ("a" or "b") from one take, a recording of the settings'
    // length, into `cikti`, with the default settings changed by `degistir`.
    template <class F>
    void Egit(const std::string& w, const std::string& cikti, F degistir) {
        KURALDOSYABASLIK b = ontanimli;
        std::strcpy(b.soz, w.c_str());
        degistir(b);
        std::vector<short> x = w == "a" ? Sozcuk(SA, 150, 1, b.oo) : Sozcuk(SB, 320, 2, b.oo);
        x.resize(static_cast<size_t>(b.oo) * static_cast<size_t>(b.ksu));
        const int boyut = static_cast<int>(x.size());
        const UC_NOKTALAR u = KonusmaBul(x.data(), boyut, b);
        ASSERT_TRUE(u.bulundu);
        const std::optional<COZUMLEME> oz = LpcCozumle(x.data(), boyut, u.bas, u.uzunluk, b);
        ASSERT_TRUE(oz);
        EGITICI egitici(VarsayilanAyarlar());
        MATRIS km;
        const std::string m = Yakala([&] { km = egitici.Egit(*oz, b, nullptr); });
        ASSERT_FALSE(km.Bos()) << m;
        fs::create_directories(fs::path(cikti).parent_path());
        ASSERT_EQ(KuralDosyasiYaz(cikti, b, km), 0);
    }
    void Egit(const std::string& w, const std::string& cikti) {
        Egit(w, cikti, [](KURALDOSYABASLIK&) {});
    }
    // Every score of `soz` against the set.
    static std::vector<TANIMA_SONUCU> Puanlar(const KITAP_KUMESI& k, const std::vector<int16_t>& soz,
                                              DINLE_SONUCU* sonuc = nullptr) {
        std::vector<TANIMA_SONUCU> p;
        std::string m;
        const DINLE_SONUCU s = k.Tani(soz.data(), soz.size(), {}, &m, &p);
        if (sonuc != nullptr) *sonuc = s;
        return p;
    }
};

const auto tur = [](int t) { return [t](KURALDOSYABASLIK& b) { b.tur = t; }; };

}  // namespace

// A directory of kind-3 codebooks listened to with kind-1 stream settings
// scores exactly as with kind-3 ones; a directory mixing kinds 1, 2 and 3
// and another frame length analyses the utterance once per analysis and
// gives every codebook the score it has among its own kind.
TEST_F(TanirTest, EveryCodebookIsScoredWithItsOwnAnalysis) {
    for (const char* w : {"a", "b"}) {
        Egit(w, std::string("k1/") + w + ".vlm");
        Egit(w, std::string("k2/") + w + ".vlm", tur(2));
        Egit(w, std::string("k3/") + w + ".vlm", tur(3));
        Egit(w, std::string("k30/") + w + ".vlm", [](KURALDOSYABASLIK& b) { b.pensu = 30; });
    }
    // In the mix, named so that they list in this order.
    const char* const dizinler[] = {"k1", "k2", "k3", "k30"};
    fs::create_directory("karma");
    for (size_t d = 0; d < 4; d++)
        for (const char* w : {"a", "b"})
            fs::copy_file(std::string(dizinler[d]) + "/" + w + ".vlm",
                          "karma/" + std::to_string(d) + w + ".vlm");

    KURALDOSYABASLIK tur1 = ontanimli, tur3 = ontanimli;
    tur1.tur = 1;
    tur3.tur = 3;
    std::string m;
    KITAP_KUMESI karma("karma", tur1, {});
    ASSERT_EQ(karma.Tazele(&m), 1);
    ASSERT_EQ(karma.Kitaplar().size(), 8u) << m;
    // Nothing skipped, nothing said: the kinds compete on a common scale.
    EXPECT_EQ(m, "");
    // Kinds 1 and 2 share one analysis; kind 3 and the 30 ms frames have their own.
    ASSERT_EQ(karma.Analizler().size(), 3u);
    const size_t beklenen[] = {0, 0, 0, 0, 1, 1, 2, 2};
    for (size_t i = 0; i < 8; i++) EXPECT_EQ(karma.Grup(i), beklenen[i]) << karma.Kitaplar()[i].ad;
    EXPECT_EQ(karma.Analizler()[1].tur, 3);
    EXPECT_EQ(karma.Analizler()[2].pensu, 30);

    for (const auto* soz : {&sozA, &sozB}) {
        const std::vector<TANIMA_SONUCU> hepsi = Puanlar(karma, *soz);
        ASSERT_EQ(hepsi.size(), 8u);
        size_t i = 0;
        for (const char* d : dizinler) {
            // The directory of one kind, heard with the stream settings of
            // kind 1 and of that kind: the same scores as in the mix.
            for (const KURALDOSYABASLIK* akis : {&tur1, &tur3}) {
                KITAP_KUMESI yalniz(d, *akis, {});
                m.clear();
                ASSERT_EQ(yalniz.Tazele(&m), 1);
                EXPECT_EQ(m, "");  // one kind: no warning
                DINLE_SONUCU s;
                const std::vector<TANIMA_SONUCU> p = Puanlar(yalniz, *soz, &s);
                ASSERT_EQ(p.size(), 2u);
                for (size_t j = 0; j < 2; j++) {
                    EXPECT_EQ(p[j].puan, hepsi[i + j].puan) << d << " " << j << " tur " << akis->tur;
                    EXPECT_LT(p[j].puan, 1000.0f);
                }
                // Within one kind the right word wins.
                EXPECT_EQ(s.soz, soz == &sozA ? "a" : "b") << d;
            }
            i += 2;
        }
    }
}

// The stream's rate and the settings given on the command line are fixed:
// a codebook made otherwise is named with the setting and skipped; invalid
// files are named; other files are no codebooks.
TEST_F(TanirTest, WhatTheStreamCannotUseIsNamedAndSkipped) {
    Egit("a", "k/a.vlm");
    Egit("b", "k/b8.vlm", [](KURALDOSYABASLIK& b) { b.oo = 8000; });
    Egit("b", "k/b12.vlm", [](KURALDOSYABASLIK& b) { b.m = 12; b.p = 12; });
    { std::ofstream("k/bozuk.vlm") << "kural degil"; }
    { std::ofstream("k/not.txt") << "x"; }
    std::string m;
    KITAP_KUMESI k("k", ontanimli, {});
    ASSERT_EQ(k.Tazele(&m), 1);
    ASSERT_EQ(k.Kitaplar().size(), 2u) << m;
    EXPECT_EQ(k.Kitaplar()[0].ad, "a.vlm");
    EXPECT_EQ(k.Kitaplar()[1].ad, "b12.vlm");
    EXPECT_NE(m.find("k/b8.vlm: çözümleme ayarı farklı (Örnekleme Oranı dosyada 8000, çözümlemede 12000)"),
              std::string::npos)
        << m;
    EXPECT_NE(m.find("bozuk.vlm"), std::string::npos) << m;
    EXPECT_EQ(m.find("not.txt"), std::string::npos) << m;
    EXPECT_EQ(k.Analizler().size(), 2u);

    // --m 12 --p 12 given: only the codebook made so.
    KURALDOSYABASLIK verilen = ontanimli;
    verilen.m = verilen.p = 12;
    m.clear();
    KITAP_KUMESI k12("k", verilen, {"m", "p"});
    ASSERT_EQ(k12.Tazele(&m), 1);
    ASSERT_EQ(k12.Kitaplar().size(), 1u) << m;
    EXPECT_EQ(k12.Kitaplar()[0].ad, "b12.vlm");
    EXPECT_NE(m.find("k/a.vlm: çözümleme ayarı farklı (Özbağlılaşım Derecesi dosyada 15, çözümlemede 12)"),
              std::string::npos)
        << m;
    DINLE_SONUCU s = k12.Tani(sozB.data(), sozB.size(), {}, &m);
    EXPECT_EQ(s.soz, "b");
    EXPECT_EQ(s.dosya, "b12.vlm");

    KITAP_KUMESI yok("yok", ontanimli, {});
    m.clear();
    EXPECT_EQ(yok.Tazele(&m), -1);
    EXPECT_NE(m.find("yok: dizin okunamıyor"), std::string::npos) << m;
}

// A codebook with a setting out of range lends the stream none of its
// settings and is named and skipped; the next one's settings are taken.
TEST_F(TanirTest, ACodebookWithASettingOutOfRangeIsNamedAndSkipped) {
    Egit("a", "k/b.vlm");
    std::string icerik;
    {
        std::ifstream f("k/b.vlm", std::ios::binary);
        icerik.assign(std::istreambuf_iterator<char>(f), {});
    }
    KURALDOSYABASLIK iyi;
    std::memcpy(&iyi, icerik.data(), sizeof iyi);
    const std::pair<int KURALDOSYABASLIK::*, int> tuhaf[] = {
        {&KURALDOSYABASLIK::oo, 0},        {&KURALDOSYABASLIK::oo, INT_MAX},     {&KURALDOSYABASLIK::ksu, 0},
        {&KURALDOSYABASLIK::ksu, -1},      {&KURALDOSYABASLIK::kpensu, 0},       {&KURALDOSYABASLIK::kpensu, INT_MAX},
        {&KURALDOSYABASLIK::admsu, 0}};
    for (const auto& [alan, deger] : tuhaf) {
        KURALDOSYABASLIK b = iyi;
        b.*alan = deger;
        std::memcpy(icerik.data(), &b, sizeof b);
        std::ofstream("k/a.vlm", std::ios::binary) << icerik;  // listed first
        KURALDOSYABASLIK ilk;
        ASSERT_TRUE(IlkKitapAyari("k", &ilk));
        EXPECT_EQ(std::memcmp(&ilk, &iyi, sizeof ilk), 0) << deger;
        std::string m;
        KITAP_KUMESI k("k", ilk, {});
        ASSERT_EQ(k.Tazele(&m), 1);
        ASSERT_EQ(k.Kitaplar().size(), 1u) << m;
        EXPECT_EQ(m.rfind("k/a.vlm: ", 0), 0u) << m;
    }
}

// Added, removed and rewritten codebooks are seen at the next reading, and
// only then; a directory that disappears keeps the codebooks read before.
TEST_F(TanirTest, DirectoryChangesArePickedUpAtTheNextReading) {
    Egit("a", "k/a.vlm");
    Egit("b", "yedek/b.vlm");
    Egit("b", "yedek/a.vlm", tur(3));  // word "b" under the name a.vlm
    std::string m;
    KITAP_KUMESI k("k", ontanimli, {});
    ASSERT_EQ(k.Tazele(&m), 1);
    EXPECT_EQ(k.Tazele(&m), 0);
    EXPECT_EQ(k.Tani(sozB.data(), sozB.size(), {}, &m).soz, "a");  // the only word there is

    fs::copy_file("yedek/b.vlm", "k/b.vlm");
    EXPECT_EQ(k.Kitaplar().size(), 1u);  // not before the next reading
    ASSERT_EQ(k.Tazele(&m), 1);
    ASSERT_EQ(k.Kitaplar().size(), 2u);
    EXPECT_EQ(k.Tani(sozB.data(), sozB.size(), {}, &m).soz, "b");
    EXPECT_EQ(k.Tazele(&m), 0);

    fs::remove("k/b.vlm");
    ASSERT_EQ(k.Tazele(&m), 1);
    ASSERT_EQ(k.Kitaplar().size(), 1u);
    EXPECT_EQ(k.Tani(sozB.data(), sozB.size(), {}, &m).soz, "a");

    // Rewritten in place with another word and kind: read again, regrouped.
    fs::copy_file("yedek/a.vlm", "k/a.vlm", fs::copy_options::overwrite_existing);
    ASSERT_EQ(k.Tazele(&m), 1);
    ASSERT_EQ(k.Kitaplar().size(), 1u);
    EXPECT_EQ(k.Analizler()[0].tur, 3);
    DINLE_SONUCU s = k.Tani(sozB.data(), sozB.size(), {}, &m);
    EXPECT_EQ(s.soz, "b");
    EXPECT_EQ(s.dosya, "a.vlm");

    // Other files come and go unnoticed.
    { std::ofstream("k/not.txt") << "x"; }
    EXPECT_EQ(k.Tazele(&m), 0);

    fs::remove_all("k");
    m.clear();
    EXPECT_EQ(k.Tazele(&m), -1);
    EXPECT_NE(m.find("dizin okunamıyor"), std::string::npos);
    EXPECT_EQ(k.Kitaplar().size(), 1u);
    EXPECT_EQ(k.Tani(sozB.data(), sozB.size(), {}, &m).soz, "b");
    // Every codebook gone: nothing wins, nothing is rejected.
    fs::create_directory("k");
    ASSERT_EQ(k.Tazele(&m), 1);
    s = k.Tani(sozB.data(), sozB.size(), {}, &m);
    EXPECT_FALSE(s.kazananVar);
    EXPECT_EQ(s.soz, "");
    EXPECT_EQ(s.puan, 1000.0f);
}

// A codebook replaced by another of the same size and modification time, as
// `cp -p` and `touch -r` leave it, is read again: by a new file renamed over
// it and by a rewrite in place.
TEST_F(TanirTest, ACodebookReplacedWithTheSameSizeAndTimeIsReadAgain) {
    Egit("a", "k/a.vlm");
    Egit("b", "yedek/b.vlm");
    ASSERT_EQ(fs::file_size("k/a.vlm"), fs::file_size("yedek/b.vlm"));
    std::string m;
    KITAP_KUMESI k("k", ontanimli, {});
    ASSERT_EQ(k.Tazele(&m), 1);
    struct stat once;
    ASSERT_EQ(stat("k/a.vlm", &once), 0);
    const timespec zaman[2] = {once.st_atim, once.st_mtim};
    const auto soz = [&] { return std::string(k.Kitaplar().at(0).baslik.soz); };
    ASSERT_EQ(soz(), "a");
    for (const bool yerinde : {false, true}) {
        const char* kaynak = yerinde ? "yedek/a.vlm" : "yedek/b.vlm";
        if (yerinde) Egit("a", kaynak);
        std::ifstream g(kaynak, std::ios::binary);
        const std::string icerik(std::istreambuf_iterator<char>(g), {});
        const char* hedef = yerinde ? "k/a.vlm" : "k/yeni.tmp";
        std::ofstream(hedef, std::ios::binary | std::ios::trunc) << icerik;
        ASSERT_EQ(utimensat(AT_FDCWD, hedef, zaman, 0), 0);
        if (!yerinde) ASSERT_EQ(std::rename(hedef, "k/a.vlm"), 0);
        struct stat st;
        ASSERT_EQ(stat("k/a.vlm", &st), 0);
        // The same inode changed within one tick of a coarse clock: until
        // the clock moves on, its change time is the same too.
        for (int i = 0; i < 1000000 && yerinde && st.st_ctim.tv_sec == once.st_ctim.tv_sec &&
                        st.st_ctim.tv_nsec == once.st_ctim.tv_nsec;
             i++) {
            utimensat(AT_FDCWD, "k/a.vlm", zaman, 0);
            stat("k/a.vlm", &st);
        }
        ASSERT_EQ(st.st_size, once.st_size);
        ASSERT_EQ(st.st_mtim.tv_sec, once.st_mtim.tv_sec);
        ASSERT_EQ(st.st_mtim.tv_nsec, once.st_mtim.tv_nsec);
        EXPECT_EQ(k.Tazele(&m), 1) << (yerinde ? "yerinde" : "yeni dosya");
        EXPECT_EQ(soz(), yerinde ? "a" : "b");
        EXPECT_EQ(k.Tazele(&m), 0);
        once = st;
    }
}

// The rejection rules on a kept set: the distance limit and the ratio to the
// best score of another word.
TEST_F(TanirTest, RejectionByDistanceAndByRatio) {
    Egit("a", "k/a.vlm");
    Egit("b", "k/b.vlm");
    Egit("a", "k/a2.vlm", tur(2));  // another codebook of the same word
    std::string m;
    KITAP_KUMESI k("k", ontanimli, {});
    ASSERT_EQ(k.Tazele(&m), 1);
    const DINLE_SONUCU s = k.Tani(sozA.data(), sozA.size(), {}, &m);
    ASSERT_EQ(s.soz, "a");
    ASSERT_FALSE(s.reddedildi);
    std::vector<TANIMA_SONUCU> p;
    k.Tani(sozA.data(), sozA.size(), {}, &m, &p);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(s.ikinci, p[2].puan);  // b.vlm: the best of another word, not a2.vlm
    const double puan = s.puan, oran = s.puan / s.ikinci;
    EXPECT_FALSE(k.Tani(sozA.data(), sozA.size(), {puan * 1.01, 0}, &m).reddedildi);
    EXPECT_TRUE(k.Tani(sozA.data(), sozA.size(), {puan * 0.99, 0}, &m).reddedildi);
    EXPECT_FALSE(k.Tani(sozA.data(), sozA.size(), {0, oran * 1.01}, &m).reddedildi);
    EXPECT_TRUE(k.Tani(sozA.data(), sozA.size(), {0, oran * 0.99}, &m).reddedildi);
    const DINLE_SONUCU r = k.Tani(sozA.data(), sozA.size(), {puan * 0.99, 0}, &m);
    EXPECT_EQ(r.soz, "a");  // the caller prints it empty
    // Refusal by confidence: the sensitivity just below and above 1 - guven.
    ASSERT_GT(s.guven, 0);
    ASSERT_LT(s.guven, 1);
    EXPECT_FALSE(k.Tani(sozA.data(), sozA.size(), {0, 0, 1 - s.guven + 1e-6}, &m).reddedildi);
    EXPECT_TRUE(k.Tani(sozA.data(), sozA.size(), {0, 0, 1 - s.guven - 1e-6}, &m).reddedildi);
    // No sound at all: nothing scored, nothing wins.
    const DINLE_SONUCU bos = k.Tani(nullptr, 0, {}, &m);
    EXPECT_FALSE(bos.kazananVar);
}
