// Dumps are written only to regular files: a pipe, a link or a directory
// with a dump's name is left alone, and the stage goes on.
#include "dokum.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "dsp_ortak.h"
#include "lpc.h"
#include "sinir.h"

namespace {

class DokumTest : public DspTest {
protected:
    // A hang must fail the test, not stall the suite.
    void SetUp() override {
        DspTest::SetUp();
        alarm(10);
    }
    void TearDown() override {
        alarm(0);
        DspTest::TearDown();
    }
};

}  // namespace

TEST_F(DokumTest, PipesLinksAndDirectoriesAreSkippedWithOneLine) {
    ASSERT_EQ(mkfifo("sinir.txt", 0600), 0);  // nobody reads it
    std::ofstream("hedef") << "dokunma\n";
    ASSERT_EQ(symlink("hedef", "Ci.txt"), 0);
    ASSERT_EQ(mkdir("DelCi.txt", 0700), 0);
    const std::vector<short> x(4000, 0);
    MATRIS m;
    ASSERT_TRUE(m.Kur(1, 2));
    DosyayaKaydet("sinir.txt", x.data(), std::vector<int>(4000).data(), std::vector<int>(4000).data(), 4000, 0, 0);
    MatrisDokumu("Ci.txt", m, 1, 2);
    MatrisDokumu("DelCi.txt", m, 1, 2);
    EXPECT_EQ(cikti,
              "sinir.txt sıradan bir dosya değil; döküm yazılmadı.\n"
              "Ci.txt bir sembolik bağ; döküm yazılmadı.\n"
              "DelCi.txt sıradan bir dosya değil; döküm yazılmadı.\n");
    EXPECT_EQ(Satirlar("hedef"), std::vector<std::string>{"dokunma"});

    // A pipe that has a reader would take the dump; it is still skipped.
    const int okuyan = open("sinir.txt", O_RDONLY | O_NONBLOCK);
    ASSERT_GE(okuyan, 0);
    cikti.clear();
    DosyayaKaydet("sinir.txt", x.data(), nullptr, nullptr, 0, 0, 0);
    char b[8];
    EXPECT_EQ(read(okuyan, b, sizeof b), 0);
    close(okuyan);
    EXPECT_EQ(cikti, "sinir.txt sıradan bir dosya değil; döküm yazılmadı.\n");
}

TEST_F(DokumTest, EndpointsStillFoundBesideAPipe) {
    ASSERT_EQ(mkfifo("sinir.txt", 0600), 0);
    b.oo = 4000;
    b.kpensu = 1;
    b.yee = 100;
    b.aee = 50;
    b.bsge = 6;
    Kayit({0, 3, -2, 4, -3, 2, 0, 90, -120, 150, -110, 80, -60, 10, 0, 0});
    EXPECT_EQ(Bul(), 0);
    EXPECT_EQ(Uzn(), 10);
    EXPECT_EQ(cikti, "sinir.txt sıradan bir dosya değil; döküm yazılmadı.\n");
}

TEST_F(DokumTest, ARegularDumpIsReplacedWhole) {
    std::ofstream("Ci.txt") << std::string(1000, 'x');
    MATRIS m;
    ASSERT_TRUE(m.Kur(1, 1));
    m[0][0] = 0.25f;
    MatrisDokumu("Ci.txt", m, 1, 1);
    EXPECT_EQ(Satirlar("Ci.txt"), std::vector<std::string>{"0:0   0.250000"});
    EXPECT_EQ(cikti, "");
}
