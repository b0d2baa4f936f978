#include "dosya.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "bellek.h"
#include "kodlama.h"
#include "konsol.h"
#include "sifirlama.h"
#include "velmo.h"

namespace fs = std::filesystem;

namespace {

std::string Oku(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void Yazdir(const fs::path& p, const std::string& bayt) {
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f << bayt;
}

std::vector<std::string> Satirlar(const std::string& metin) {
    std::vector<std::string> d;
    std::istringstream g(metin);
    for (std::string s; std::getline(g, s);) d.push_back(s);
    return d;
}

std::vector<std::string> Dizindekiler(const fs::path& d) {
    std::vector<std::string> adlar;
    for (const auto& e : fs::directory_iterator(d)) adlar.push_back(e.path().filename().string());
    std::sort(adlar.begin(), adlar.end());
    return adlar;
}

class DosyaTest : public ::testing::Test {
protected:
    std::string cikti;
    fs::path dizin;
    fs::path eskiDizin;

    void SetUp() override {
        KonsolTestKur("", &cikti);
        Sifirla(0);
        dizin = fs::temp_directory_path() /
                ("velmo_dosya_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dizin);
        fs::create_directories(dizin);
        eskiDizin = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(eskiDizin);
        bellek_hata_sirasi = 0;
        Sifirla(0);
        KonsolTestBitir();
        fs::remove_all(dizin);
    }
    // A trained-looking s x n codebook of distinct values under `ad`.
    void Kitap(int s, int n, const std::string& ad) {
        Free2B(ayr.km);
        ayr.km = Calloc2B<float>(s, n, 4);
        for (int i = 0; i < s; i++)
            for (int j = 0; j < n; j++) ayr.km[i][j] = static_cast<float>(i * 100 + j) + 0.25f;
        ayr.kdbaslik.s = s;
        ayr.kdbaslik.n = n;
        std::strcpy(ayr.kdad, (dizin / ad).c_str());
    }
    std::string Baslik() const { return std::string(reinterpret_cast<const char*>(&ayr.kdbaslik), 88); }
};

// Runs `f` with files limited to `sinir` bytes, so writes past it fail.
template <typename F>
int BoyutSiniriyla(rlim_t sinir, F f) {
    rlimit eski;
    getrlimit(RLIMIT_FSIZE, &eski);
    auto eskiSinyal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit yeni = eski;
    yeni.rlim_cur = sinir;
    setrlimit(RLIMIT_FSIZE, &yeni);
    const int sonuc = f();
    setrlimit(RLIMIT_FSIZE, &eski);
    std::signal(SIGXFSZ, eskiSinyal);
    return sonuc;
}

}  // namespace

TEST_F(DosyaTest, DefaultCodebookFileIsHeaderThenRowsLittleEndian) {
    Kitap(10, 15, "evet.vlm");
    std::memcpy(ayr.kdbaslik.soz, "evet\0xyzw", 9);  // bytes after the NUL are kept
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    EXPECT_EQ(cikti, "");
    EXPECT_EQ(ayr.kdbayrak, 1);
    const std::string b = Oku(dizin / "evet.vlm");
    ASSERT_EQ(b.size(), 688u);
    EXPECT_EQ(b.substr(0, 4), std::string("VLM\0", 4));
    EXPECT_EQ(b.substr(0, 88), Baslik());
    EXPECT_EQ(b.substr(8, 10), std::string("evet\0xyzw\0", 10));
    for (int i = 0; i < 10; i++)
        for (int j = 0; j < 15; j++) {
            float f;
            std::memcpy(&f, b.data() + 88 + 4 * (i * 15 + j), 4);
            EXPECT_EQ(f, ayr.km[i][j]);
        }
    EXPECT_EQ(Dizindekiler(dizin), std::vector<std::string>{"evet.vlm"});
    EXPECT_EQ(fs::status(dizin / "evet.vlm").permissions() & fs::perms::owner_read, fs::perms::owner_read);
}

TEST_F(DosyaTest, WriteThenReadGivesTheSameBytesAndReplacesTheSettings) {
    Kitap(3, 4, "bit.vlm");
    const uint32_t ozel[] = {0x7fc01234u, 0x80000000u, 0x00000001u, 0xff800000u};
    for (int j = 0; j < 4; j++) std::memcpy(&ayr.km[1][j], &ozel[j], 4);
    ayr.kdbaslik.tur = 2;
    ayr.kdbaslik.oo = 8000;
    ayr.kdbaslik.kmt = 42;
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    const std::string baslik = Baslik();
    std::vector<char> kitap(reinterpret_cast<char*>(ayr.km[0]), reinterpret_cast<char*>(ayr.km[0]) + 48);
    const std::string yol = ayr.kdad;

    Sifirla(0);
    ASSERT_EQ(KuralDosyaYukle(yol.c_str()), 0);
    EXPECT_EQ(Baslik(), baslik);
    EXPECT_EQ(ayr.kdbaslik.s, 3);
    EXPECT_EQ(ayr.kdbaslik.n, 4);
    EXPECT_EQ(std::memcmp(kitap.data(), ayr.km[0], 48), 0);
    EXPECT_EQ(std::string(ayr.kdad), yol);
    EXPECT_EQ(ayr.kdbayrak, 1);

    // Writing over an existing file replaces it entirely; reading twice
    // releases the earlier codebook (no leak under the sanitizers).
    Kitap(2, 3, "bit.vlm");
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    EXPECT_EQ(fs::file_size(yol), 88u + 24u);
    ASSERT_EQ(KuralDosyaYukle(yol.c_str()), 0);
    ASSERT_EQ(KuralDosyaYukle(ayr.kdad), 0);  // its own path as the argument
    EXPECT_EQ(std::string(ayr.kdad), yol);
}

TEST_F(DosyaTest, FailedSaveLeavesTheEarlierFileAndTheFlag) {
    Kitap(10, 15, "evet.vlm");
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    ASSERT_EQ(KuralDosyaKaydetMetin(), 0);
    const std::string eski = Oku(dizin / "evet.vlm");
    const std::string eskiRapor = Oku(dizin / "evet.vlm.txt");
    ayr.km[0][0] = 99.0f;
    ayr.kdbayrak = 0;
    cikti.clear();
    // The file system refuses the bytes past 100.
    EXPECT_EQ(BoyutSiniriyla(100, [] { return KuralDosyaKaydet(); }), 1);
    EXPECT_EQ(BoyutSiniriyla(100, [] { return KuralDosyaKaydetMetin(); }), 1);
    EXPECT_EQ(cikti, std::string(ayr.kdad) + " yazılamıyor.\n" + ayr.kdad + ".txt yazılamıyor.\n");
    EXPECT_EQ(Oku(dizin / "evet.vlm"), eski);
    EXPECT_EQ(Oku(dizin / "evet.vlm.txt"), eskiRapor);
    EXPECT_EQ(ayr.kdbayrak, 0);
    EXPECT_EQ(Dizindekiler(dizin), (std::vector<std::string>{"evet.vlm", "evet.vlm.txt"}));

    // A directory that does not exist, and a device: refused, nothing touched.
    cikti.clear();
    std::strcpy(ayr.kdad, (dizin / "yok" / "evet.vlm").c_str());
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    EXPECT_EQ(cikti, std::string(ayr.kdad) + " açılamıyor.\n");
    std::strcpy(ayr.kdad, "/dev/full");
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    struct stat st;
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(ayr.kdbayrak, 0);
}

TEST_F(DosyaTest, ReadOnlyDirectoryRefusesTheSave) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    Kitap(2, 2, "evet.vlm");
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    const std::string eski = Oku(dizin / "evet.vlm");
    fs::permissions(dizin, fs::perms::owner_read | fs::perms::owner_exec);
    ayr.km[0][0] = 7.0f;
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    fs::permissions(dizin, fs::perms::owner_all);
    EXPECT_EQ(Oku(dizin / "evet.vlm"), eski);
}

TEST_F(DosyaTest, SavingWithoutCodebookOrNameIsRefusedAndWritesNothing) {
    fs::current_path(dizin);
    ayr.km = nullptr;
    std::strcpy(ayr.kdad, "kelime.vlm");
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    EXPECT_EQ(KuralDosyaKaydetMetin(), 1);
    Kitap(2, 2, "kelime.vlm");
    ayr.kdad[0] = '\0';
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    EXPECT_EQ(KuralDosyaKaydetMetin(), 1);
    std::strcpy(ayr.kdad, "kelime.vlm");
    ayr.kdbaslik.n = 0;  // sizes changed in the settings since training
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    EXPECT_EQ(Satirlar(cikti).size(), 5u);
    EXPECT_TRUE(Dizindekiler(dizin).empty());
    EXPECT_EQ(ayr.kdbayrak, 0);
}

TEST_F(DosyaTest, CorruptFilesAreRefusedWithOneLineAndAyrUntouched) {
    Kitap(10, 15, "iyi.vlm");
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    const std::string iyi = Oku(dizin / "iyi.vlm");
    auto degistir = [&](size_t konum, int32_t deger) {
        std::string b = iyi;
        std::memcpy(&b[konum], &deger, 4);
        return b;
    };
    const struct {
        const char* ad;
        std::string bayt;
    } durumlar[] = {
        {"bos.vlm", ""},
        {"kisa.vlm", iyi.substr(0, 87)},
        {"etiket.vlm", "VLX" + iyi.substr(3)},
        {"kucuk.vlm", "vlm" + iyi.substr(3)},
        {"tur0.vlm", degistir(4, 0)},
        {"tur3.vlm", degistir(4, 3)},
        {"s0.vlm", degistir(84, 0)},
        {"seksi.vlm", degistir(84, -1)},
        {"n0.vlm", degistir(76, 0)},
        {"n100.vlm", degistir(76, 100)},
        {"eksik.vlm", iyi.substr(0, 687)},
        {"tasan.vlm", degistir(84, INT_MAX)},
        {"tasan32.vlm", degistir(84, 0x40000000)},
    };
    Sifirla(0);
    Kitap(1, 1, "bellekteki.vlm");
    ayr.kdbayrak = 0;
    float** km = ayr.km;
    const std::string baslik = Baslik(), kdad = ayr.kdad;
    for (const auto& d : durumlar) {
        const fs::path yol = dizin / d.ad;
        Yazdir(yol, d.bayt);
        cikti.clear();
        EXPECT_EQ(KuralDosyaYukle(yol.c_str()), 1) << d.ad;
        EXPECT_EQ(Satirlar(cikti).size(), 1u) << d.ad << ": " << cikti;
        EXPECT_EQ(cikti.rfind(yol.string(), 0), 0u) << cikti;
        EXPECT_EQ(ayr.km, km);
        EXPECT_EQ(Baslik(), baslik);
        EXPECT_EQ(std::string(ayr.kdad), kdad);
        EXPECT_EQ(ayr.kdbayrak, 0);
    }

    // A directory is not a file; a missing file is told apart and silent.
    KURALDOSYABASLIK b;
    float** okunan = nullptr;
    cikti.clear();
    EXPECT_EQ(KuralDosyasiOku(dizin.c_str(), &b, &okunan), KDOKU_GECERSIZ);
    EXPECT_EQ(Satirlar(cikti).size(), 1u);
    cikti.clear();
    EXPECT_EQ(KuralDosyasiOku((dizin / "yok.vlm").c_str(), &b, &okunan), KDOKU_ACILAMIYOR);
    EXPECT_EQ(cikti, "");
    EXPECT_EQ(KuralDosyaYukle((dizin / "yok.vlm").c_str()), 1);
    EXPECT_EQ(cikti, (dizin / "yok.vlm").string() + " açılamıyor.\n");
    EXPECT_EQ(okunan, nullptr);

    // No memory for the codebook.
    cikti.clear();
    bellek_hata_sirasi = 1;
    EXPECT_EQ(KuralDosyasiOku((dizin / "iyi.vlm").c_str(), &b, &okunan), KDOKU_BELLEK);
    EXPECT_EQ(cikti, "Kural matrisi için bellek ayrılamıyor.\n");

    // Trailing bytes after the codebook are ignored; a path that does not
    // fit the record is refused before anything is read.
    Yazdir(dizin / "uzun.vlm", iyi + "artik");
    EXPECT_EQ(KuralDosyasiOku((dizin / "uzun.vlm").c_str(), &b, &okunan), KDOKU_TAMAM);
    EXPECT_EQ(b.s, 10);
    Free2B(okunan);
    const std::string uzunYol = dizin.string() + "/" + std::string(200, 'a') + "/" + std::string(200, 'b') +
                                "/" + std::string(200, 'c') + ".vlm";
    cikti.clear();
    EXPECT_EQ(KuralDosyaYukle(uzunYol.c_str()), 1);
    EXPECT_NE(cikti.find("çok uzun"), std::string::npos);
}

TEST_F(DosyaTest, ReportLinesAndDumpMatchTheHeaderLayout) {
    Kitap(10, 15, "kelime.vlm");
    std::strcpy(ayr.kdbaslik.soz, Cp1254("göz").c_str());
    ASSERT_EQ(KuralDosyaKaydetMetin(), 0);
    EXPECT_FALSE(fs::exists(dizin / "kelime.vlm"));
    const std::vector<std::string> s = Satirlar(Oku(dizin / "kelime.vlm.txt"));
    ASSERT_EQ(s.size(), 26u + 150u);
    EXPECT_EQ(s[0], "            Bi\xe7im Belirteci=VLM DOSYASI");
    EXPECT_EQ(s[1], "           T\xfcr Belirteci=LPC KURAL K\xddTABI");
    EXPECT_EQ(s[2], "              S\xf6z Kar\xfe\xfdl\xfd\xf0\xfd=g\xf6z");
    EXPECT_EQ(s[21], "        LPC S\xfczge\xe7 Derecesi=10");  // p before n
    EXPECT_EQ(s[25], Cp1254("KURAL YÖNEYLERİ"));
    // Every labelled header line has its "=" in column 28, the kind line in 25.
    for (size_t i = 0; i < 25; i++) {
        const size_t esit = s[i].find('=');
        if (esit == std::string::npos) continue;
        EXPECT_EQ(esit + 1, i == 1 ? 25u : 28u) << i << ": " << s[i];
    }
    for (size_t i : {4u, 10u, 16u, 24u}) EXPECT_EQ(s[i], "");
    EXPECT_EQ(s[26], "0:0\t0.250000");
    EXPECT_EQ(s[175], "9:14\t914.250000");

    // The dump shows the same header lines in the terminal's charset.
    cikti.clear();
    AyarlarEkranaBas();
    const std::vector<std::string> d = Satirlar(cikti);
    ASSERT_EQ(d.size(), 38u);
    for (size_t i = 0; i < 25; i++) EXPECT_EQ(Cp1254(d[i]), s[i]) << i;
    EXPECT_EQ(d[25], "DOSYA ve BELLEK BİLGİLERİ");
    EXPECT_EQ(d[26], "          Kural Dosyası Adı=" + std::string(ayr.kdad));
    EXPECT_EQ(d[34], "Uzaklık Alt Eşiği=0.000001");
    EXPECT_EQ(d[37], "Yineleme sayısı=100");

    // Kind 2 names the delta codebook; kind 3 has no kind line.
    ayr.kdbaslik.tur = 2;
    ASSERT_EQ(KuralDosyaKaydetMetin(), 0);
    EXPECT_EQ(Satirlar(Oku(dizin / "kelime.vlm.txt"))[1], "           T\xfcr Belirteci=DELTA LPC KURAL K\xddTABI");
    ayr.kdbaslik.tur = 3;
    ASSERT_EQ(KuralDosyaKaydetMetin(), 0);
    const std::vector<std::string> u = Satirlar(Oku(dizin / "kelime.vlm.txt"));
    EXPECT_EQ(u.size(), 25u + 150u);
    EXPECT_EQ(u[1].find("Belirteci"), std::string::npos);
}
