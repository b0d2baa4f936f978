// Takes kept as numbered WAV files: the numbering goes on after what the
// directory holds and never writes over a file, the sound read back is the
// take (16-bit mono at its rate), and a failed save leaves nothing behind and
// says so in one line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kayit_dosyasi.h"
#include "mesaj_kaydi.h"

namespace fs = std::filesystem;

namespace {

class KayitDosyasi : public ::testing::Test {
protected:
    fs::path dizin;
    std::string iletiler;
    void SetUp() override {
        char sablon[] = "/tmp/velmo-kayitlar-XXXXXX";
        dizin = mkdtemp(sablon);
        MesajKaydiKur(&iletiler);
    }
    void TearDown() override {
        MesajKaydiBitir();
        fs::remove_all(dizin);
    }
    void Dosya(const std::string& ad, const std::string& icerik) { std::ofstream(dizin / ad) << icerik; }
    std::string Icerik(const std::string& ad) {
        std::ifstream f(dizin / ad);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    std::vector<std::string> Adlar() {
        std::vector<std::string> a;
        for (const auto& g : fs::directory_iterator(dizin)) a.push_back(g.path().filename().string());
        std::sort(a.begin(), a.end());
        return a;
    }
    int Yaz(const std::string& etiket, const std::vector<int16_t>& x, int oo, std::string* ad) {
        return KayitDosyasiYaz(dizin.string(), etiket, x.data(), x.size(), oo, ad);
    }
};

std::vector<int16_t> Rampa(int n) {
    std::vector<int16_t> x(n);
    for (int i = 0; i < n; i++) x[i] = static_cast<int16_t>(i * 37 - 20000);
    return x;
}

TEST_F(KayitDosyasi, NumberingGoesOnAfterTheNumberedFilesThereAndNeverWritesOverOne) {
    const auto x = Rampa(100);
    std::string ad;
    ASSERT_EQ(Yaz("evet", x, 12000, &ad), 0) << iletiler;
    EXPECT_EQ(ad, (dizin / "0001-evet.wav").string());
    // Another program's numbered takes (velmo-dinle writes "NNNN.wav") count;
    // names that only look numbered, and temporary files, do not.
    Dosya("0007.wav", "dinle");
    Dosya("0012-bir.wav", "bir");
    for (const char* baska : {"notlar.wav", "12x.wav", "0099.wav.yaziliyor", "1.5.wav", "0500.txt", "1234567890.wav"})
        Dosya(baska, "baska");
    ASSERT_EQ(Yaz("", x, 12000, &ad), 0);
    EXPECT_EQ(fs::path(ad).filename(), "0013.wav");
    ASSERT_EQ(Yaz("bir", x, 12000, &ad), 0);
    EXPECT_EQ(fs::path(ad).filename(), "0014-bir.wav");
    EXPECT_EQ(Icerik("0007.wav"), "dinle");
    EXPECT_EQ(Icerik("0012-bir.wav"), "bir");
    EXPECT_EQ(EnBuyukKayitNumarasi(dizin.string()), 14);
    // A numbered name counts even as a dangling link, and nothing is
    // written through it.
    fs::create_symlink(dizin / "hedef-yok", dizin / "0015.wav");
    fs::remove(dizin / "0014-bir.wav");
    fs::remove(dizin / "0013.wav");
    ASSERT_EQ(Yaz("", x, 12000, &ad), 0);
    EXPECT_EQ(fs::path(ad).filename(), "0016.wav");
    EXPECT_FALSE(fs::exists(dizin / "hedef-yok"));
    EXPECT_TRUE(iletiler.empty()) << iletiler;
}

TEST_F(KayitDosyasi, TheFileHoldsTheSamplesAs16BitMonoAtTheirRate) {
    const auto x = Rampa(24000);
    std::string ad;
    ASSERT_EQ(Yaz("ç ö/ş\\\t", x, 8000, &ad), 0) << iletiler;
    // Blanks, separators and control characters are kept out of the name;
    // the letters stay.
    EXPECT_EQ(fs::path(ad).filename(), "0001-ç_ö_ş__.wav");
    SF_INFO bilgi{};
    SNDFILE* f = sf_open(ad.c_str(), SFM_READ, &bilgi);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(bilgi.samplerate, 8000);
    EXPECT_EQ(bilgi.channels, 1);
    EXPECT_EQ(bilgi.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    std::vector<int16_t> okunan(bilgi.frames);
    EXPECT_EQ(sf_read_short(f, okunan.data(), bilgi.frames), bilgi.frames);
    sf_close(f);
    EXPECT_EQ(okunan, x);
    // Nothing but the take is left in the directory.
    EXPECT_EQ(Adlar(), std::vector<std::string>{"0001-ç_ö_ş__.wav"});
}

TEST_F(KayitDosyasi, AFailedSaveSaysSoInOneLineAndLeavesNoFile) {
    const auto x = Rampa(48000);
    std::string ad = "onceki";
    // A file-size limit (its signal ignored) cuts the write short, as a full
    // disk would.
    rlimit eski{};
    getrlimit(RLIMIT_FSIZE, &eski);
    auto sinyal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit sinir = eski;
    sinir.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &sinir);
    const int sonuc = Yaz("evet", x, 12000, &ad);
    setrlimit(RLIMIT_FSIZE, &eski);
    std::signal(SIGXFSZ, sinyal);
    EXPECT_EQ(sonuc, 1);
    EXPECT_EQ(ad, "onceki");
    EXPECT_EQ(std::count(iletiler.begin(), iletiler.end(), '\n'), 1) << iletiler;
    EXPECT_EQ(iletiler.rfind("Kayıt dosyaya yazılamadı: " + (dizin / "0001-evet.wav").string() + ": ", 0), 0u)
        << iletiler;
    EXPECT_TRUE(Adlar().empty());
    // The number is not used up: the next save takes it.
    iletiler.clear();
    ASSERT_EQ(Yaz("evet", x, 12000, &ad), 0) << iletiler;
    EXPECT_EQ(fs::path(ad).filename(), "0001-evet.wav");
    // A directory gone since the start, and no samples: one line each.
    iletiler.clear();
    EXPECT_EQ(KayitDosyasiYaz((dizin / "yok").string(), "", x.data(), x.size(), 12000, nullptr), 1);
    EXPECT_EQ(KayitDosyasiYaz(dizin.string(), "", nullptr, 0, 12000, nullptr), 1);
    EXPECT_EQ(std::count(iletiler.begin(), iletiler.end(), '\n'), 2) << iletiler;
    EXPECT_EQ(Adlar(), std::vector<std::string>{"0001-evet.wav"});
}

TEST_F(KayitDosyasi, TheDirectoryIsMadeWhenMissingAndRefusedWhenItCannotHoldFiles) {
    const fs::path ic = dizin / "a" / "b";
    EXPECT_EQ(KayitDiziniHazirla(ic.string()), 0) << iletiler;
    EXPECT_TRUE(fs::is_directory(ic));
    EXPECT_TRUE(fs::is_empty(ic));  // the trial file is gone
    EXPECT_EQ(KayitDiziniHazirla(ic.string()), 0);
    EXPECT_TRUE(iletiler.empty()) << iletiler;
    Dosya("dosya", "x");
    for (const fs::path& kotu : {dizin / "dosya", dizin / "dosya" / "alt", fs::path("/proc"), fs::path("")}) {
        iletiler.clear();
        EXPECT_EQ(KayitDiziniHazirla(kotu.string()), 1) << kotu;
        EXPECT_EQ(std::count(iletiler.begin(), iletiler.end(), '\n'), 1) << iletiler;
        EXPECT_NE(iletiler.find("Kayıt dizin"), std::string::npos) << iletiler;
    }
    EXPECT_EQ(Icerik("dosya"), "x");
}

TEST_F(KayitDosyasi, NoNameBesideTheTakesIsFollowed) {
    // Links planted at every name an earlier version wrote through lead
    // nowhere: their target stays as it was.
    Dosya("hedef", "koru");
    for (const char* ad : {".0001.wav.yaziliyor", ".0001-evet.wav.yaziliyor"})
        fs::create_symlink(dizin / "hedef", dizin / ad);
    std::string ad;
    ASSERT_EQ(Yaz("", Rampa(100), 12000, &ad), 0) << iletiler;
    ASSERT_EQ(Yaz("evet", Rampa(100), 12000, &ad), 0) << iletiler;
    EXPECT_EQ(Icerik("hedef"), "koru");
}

TEST_F(KayitDosyasi, ADirectoryWhoseNumbersRanOutIsRefusedAtStart) {
    Dosya("999999999.wav", "son");
    EXPECT_EQ(KayitDiziniHazirla(dizin.string()), 1);
    EXPECT_EQ(std::count(iletiler.begin(), iletiler.end(), '\n'), 1) << iletiler;
    // Found only later: the save names the directory, not an empty file.
    iletiler.clear();
    EXPECT_EQ(Yaz("", Rampa(100), 12000, nullptr), 1);
    EXPECT_NE(iletiler.find(dizin.string() + ":"), std::string::npos) << iletiler;
}

TEST_F(KayitDosyasi, ASaveKilledMidWayLeavesNoNumberedNameAndItsRestGoesAtTheNextStart) {
    // Killed by a signal nobody handles (as SIGKILL) while writing.
    const pid_t cocuk = fork();
    ASSERT_GE(cocuk, 0);
    if (cocuk == 0) {
        const rlimit cekirdek{0, 0}, sinir{4096, 4096};
        setrlimit(RLIMIT_CORE, &cekirdek);
        setrlimit(RLIMIT_FSIZE, &sinir);
        Yaz("evet", Rampa(48000), 12000, nullptr);
        _exit(0);
    }
    int durum = 0;
    waitpid(cocuk, &durum, 0);
    ASSERT_TRUE(WIFSIGNALED(durum));
    const std::vector<std::string> kalan = Adlar();
    ASSERT_EQ(kalan.size(), 1u);
    EXPECT_EQ(kalan[0][0], '.');
    // A fresh temporary may be another save's; one untouched for minutes is not.
    EXPECT_EQ(KayitDiziniHazirla(dizin.string()), 0);
    EXPECT_EQ(Adlar(), kalan);
    const timespec eski[2] = {{0, UTIME_OMIT}, {time(nullptr) - 600, 0}};
    utimensat(AT_FDCWD, (dizin / kalan[0]).c_str(), eski, 0);
    EXPECT_EQ(KayitDiziniHazirla(dizin.string()), 0);
    EXPECT_TRUE(Adlar().empty());
    // An earlier version killed in the middle left its name reserved empty
    // and the take under a hidden name: the hidden file goes when it is
    // old; the numbered names and look-alikes stay.
    for (const char* ad : {"0003.wav", ".0003.wav.yaziliyor", ".0004-evet.wav.yaziliyor", ".notlar.wav.yaziliyor",
                           "0005.wav.yaziliyor"}) {
        Dosya(ad, "");
        utimensat(AT_FDCWD, (dizin / ad).c_str(), eski, 0);
    }
    EXPECT_EQ(KayitDiziniHazirla(dizin.string()), 0);
    EXPECT_EQ(Adlar(), (std::vector<std::string>{".notlar.wav.yaziliyor", "0003.wav", "0005.wav.yaziliyor"}));
}

}  // namespace
