// Recording and playback through PortAudio and ALSA with no sound card:
// ALSA's default device reads captures from a file of real speech and writes
// playback to another file (ses_hazirla.sh makes both the speech and the
// configuration).
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "kayit.h"
#include "mesaj_kaydi.h"
#include "ses_ortak.h"
#include "velmo.h"

namespace {

std::string Oku(const std::string& yol) {
    std::ifstream f(yol, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool AlsaVar() {
    void* k = dlopen("libasound.so.2", RTLD_LAZY);
    if (k == nullptr) return false;
    dlclose(k);
    return access("/usr/share/alsa/alsa.conf", R_OK) == 0;
}

class SesAlsa : public ::testing::Test {
protected:
    void SetUp() override {
        if (!AlsaVar()) GTEST_SKIP() << "ALSA yok";
        char sablon[] = "/tmp/velmo_ses_XXXXXX";
        ASSERT_NE(mkdtemp(sablon), nullptr);
        dizin = sablon;
        girdi = dizin + "/in.raw";
        calinan = dizin + "/played.raw";
        ASSERT_EQ(Hazirla("merhaba " + girdi + " 3"), 0);
        ASSERT_EQ(Hazirla("--alsa " + dizin + "/asound.conf " + girdi + " " + calinan), 0);
        // Read by ALSA when PortAudio starts, so it must be set first.
        setenv("ALSA_CONFIG_PATH", (dizin + "/asound.conf").c_str(), 1);
        sd.Sifirla();
        MesajKaydiKur(&cikti);
    }
    void TearDown() override {
        MesajKaydiBitir();
        sd.Birak();
        if (!dizin.empty()) std::system(("rm -rf '" + dizin + "'").c_str());
    }
    static int Hazirla(const std::string& arg) {
        return std::system(("bash '" SES_HAZIRLA "' " + arg).c_str());
    }
    std::string dizin, girdi, calinan, cikti;
};

// Standard error goes to a file while the object lives.
class HataYakala {
public:
    explicit HataYakala(const std::string& yol) {
        std::fflush(stderr);
        eski_ = dup(2);
        int f = open(yol.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(f, 2);
        close(f);
    }
    ~HataYakala() {
        std::fflush(stderr);
        dup2(eski_, 2);
        close(eski_);
    }

private:
    int eski_;
};

TEST_F(SesAlsa, RecordsAndPlaysExactBytesQuietly) {
    const std::string konusma = Oku(girdi);
    ASSERT_EQ(konusma.size(), 72000u);
    {
        HataYakala yakala(dizin + "/stderr.txt");
        ASSERT_EQ(SesBaslat(), 0);
        ASSERT_EQ(Kaydet(), 0);
        ASSERT_EQ(Seslendir(sd.b, sd.kyt + 10000, 20000), 0);
    }
    EXPECT_EQ(cikti, "");
    EXPECT_EQ(Oku(dizin + "/stderr.txt"), "");  // nothing from PortAudio or ALSA
    ASSERT_EQ(sd.kytu, 72000);
    EXPECT_TRUE(std::string(sd.kyt, 72000) == konusma);
    const std::string calindi = Oku(calinan);
    EXPECT_EQ(calindi.size(), 20000u);
    EXPECT_TRUE(calindi == konusma.substr(10000, 20000));
}

// Without SesBaslat, each recording reads the input file from its start, and
// the length follows the setting at each call.
TEST_F(SesAlsa, EachRecordingReadsTheFileFromItsStart) {
    sd.b.ksu = 2;
    ASSERT_EQ(Kaydet(), 0);
    ASSERT_EQ(sd.kytu, 48000);
    ASSERT_EQ(Hazirla("-s 120 -g 0 evet " + girdi + " 3"), 0);
    const std::string yeni = Oku(girdi);
    sd.Birak();
    ASSERT_EQ(Kaydet(), 0);
    ASSERT_EQ(sd.kytu, 48000);
    EXPECT_TRUE(std::string(sd.kyt, 48000) == yeni.substr(0, 48000));
    // The whole recording back, odd tail byte and all frames.
    ASSERT_EQ(Seslendir(sd.b, sd.kyt, sd.kytu), 0);
    EXPECT_TRUE(Oku(calinan) == yeni.substr(0, 48000));
    EXPECT_EQ(cikti, "");
}

}  // namespace
