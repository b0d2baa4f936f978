#include "dosya.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
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
#include "kancalar.h"
#include "kodlama.h"
#include "mesaj_kaydi.h"
#include "sifirlama.h"
#include "velmo.h"
#include "yarim.h"

namespace fs = std::filesystem;

namespace {

std::string Oku(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

std::vector<std::string> Satirlar(const std::string& metin) {
    std::vector<std::string> d;
    std::istringstream g(metin);
    for (std::string s; std::getline(g, s);) d.push_back(s);
    return d;
}

size_t DosyaSayisi(const fs::path& d) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(d), fs::directory_iterator()));
}

class DosyaTest : public ::testing::Test {
protected:
    std::string cikti;
    fs::path dizin, eskiDizin = fs::current_path();

    void SetUp() override {
        MesajKaydiKur(&cikti);
        Sifirla(0);
        dizin = fs::temp_directory_path() / ("velmo_dosya_" + std::to_string(getpid()));
        fs::remove_all(dizin);
        fs::create_directories(dizin);
    }
    void TearDown() override {
        fs::current_path(eskiDizin);
        bellek_hata_sirasi = 0;
        Sifirla(0);
        MesajKaydiBitir();
        fs::remove_all(dizin);
    }
    // An s x n codebook of distinct values, to be saved as `ad`.
    void Kitap(int s, int n, const std::string& ad) {
        Free2B(ayr.km);
        ayr.km = Calloc2B<float>(s, n, 4);
        ayr.kms = s, ayr.kmn = n;
        for (int i = 0; i < s; i++)
            for (int j = 0; j < n; j++) ayr.km[i][j] = static_cast<float>(i * 100 + j) + 0.25f;
        ayr.kdbaslik.s = s;
        ayr.kdbaslik.n = n;
        std::strcpy(ayr.kdad, (dizin / ad).c_str());
    }
    std::string Baslik() const { return std::string(reinterpret_cast<const char*>(&ayr.kdbaslik), 88); }
};

}  // namespace

TEST_F(DosyaTest, FileIsHeaderThenRowsAndReadsBackBitForBit) {
    Kitap(10, 15, "evet.vlm");
    std::memcpy(ayr.kdbaslik.soz, "evet\0xyz", 8);  // bytes after the NUL are kept
    const uint32_t ozel[] = {0x7f7fffffu, 0x80000000u, 0x00000001u};  // largest float, -0, denormal
    for (int j = 0; j < 3; j++) std::memcpy(&ayr.km[9][j], &ozel[j], 4);
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    EXPECT_EQ(ayr.kdbayrak, 1);
    const std::string b = Oku(dizin / "evet.vlm"), baslik = Baslik(), yol = ayr.kdad;
    const std::string kitap(reinterpret_cast<char*>(ayr.km[0]), 600);
    ASSERT_EQ(b.size(), 688u);
    EXPECT_EQ(b.substr(0, 4), std::string("VLM\0", 4));
    EXPECT_EQ(b.substr(0, 88), baslik);
    EXPECT_EQ(b.substr(88), kitap);
    EXPECT_EQ(DosyaSayisi(dizin), 1u);  // no temporary file left behind

    Sifirla(0);
    ASSERT_EQ(KuralDosyaYukle(yol.c_str()), 0);
    EXPECT_EQ(Baslik(), baslik);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(ayr.km[0]), 600), kitap);
    EXPECT_EQ(ayr.kdad, yol);
    EXPECT_EQ(ayr.kdbayrak, 1);
    EXPECT_EQ(KuralDosyaYukle(ayr.kdad), 0);  // its own path; the old codebook is released
    EXPECT_EQ(cikti, "");
}

TEST_F(DosyaTest, FailedSaveLeavesTheEarlierFileAndTheFlag) {
    Kitap(10, 15, "evet.vlm");
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    ASSERT_EQ(KuralDosyaKaydetMetin(), 0);
    const std::string eski = Oku(dizin / "evet.vlm"), eskiRapor = Oku(dizin / "evet.vlm.txt");
    ayr.km[0][0] = 99.0f;
    ayr.kdbayrak = 0;
    // Files limited to 100 bytes: the writes fail half way.
    rlimit sinir;
    getrlimit(RLIMIT_FSIZE, &sinir);
    rlimit kucuk = sinir;
    kucuk.rlim_cur = 100;
    auto sinyal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &kucuk);
    const int k1 = KuralDosyaKaydet(), k2 = KuralDosyaKaydetMetin();
    setrlimit(RLIMIT_FSIZE, &sinir);
    std::signal(SIGXFSZ, sinyal);
    EXPECT_EQ(k1, 1);
    EXPECT_EQ(k2, 1);
    const std::string neden = std::string(" yazılamıyor: ") + std::strerror(EFBIG) + "\n";
    EXPECT_EQ(cikti, ayr.kdad + neden + ayr.kdad + ".txt" + neden);
    EXPECT_EQ(Oku(dizin / "evet.vlm"), eski);
    EXPECT_EQ(Oku(dizin / "evet.vlm.txt"), eskiRapor);
    EXPECT_EQ(DosyaSayisi(dizin), 2u);

    // A missing directory, and a device that must never be renamed over.
    cikti.clear();
    std::strcpy(ayr.kdad, (dizin / "yok" / "evet.vlm").c_str());
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    EXPECT_EQ(cikti, std::string(ayr.kdad) + " yazılamıyor: " + std::strerror(ENOENT) + "\n");
    std::strcpy(ayr.kdad, "/dev/full");
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    struct stat st;
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(ayr.kdbayrak, 0);
}

TEST_F(DosyaTest, SavingWithoutCodebookOrNameWritesNothing) {
    fs::current_path(dizin);
    std::strcpy(ayr.kdad, "kelime.vlm");  // no codebook
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    EXPECT_EQ(KuralDosyaKaydetMetin(), 1);
    Kitap(2, 2, "kelime.vlm");
    ayr.kdad[0] = '\0';  // no file name: no stray ".txt"
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    EXPECT_EQ(KuralDosyaKaydetMetin(), 1);
    EXPECT_EQ(Satirlar(cikti).size(), 4u);
    EXPECT_EQ(DosyaSayisi(dizin), 0u);
    EXPECT_EQ(ayr.kdbayrak, 0);
}

TEST_F(DosyaTest, CorruptFilesAreRefusedWithOneLineAndAyrUntouched) {
    Kitap(10, 15, "iyi.vlm");
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    const std::string iyi = Oku(dizin / "iyi.vlm");
    auto alan = [&](size_t konum, int32_t deger) {
        std::string b = iyi;
        std::memcpy(&b[konum], &deger, 4);
        return b;
    };
    // A header of s vectors of one value, followed by that many zeros.
    auto tekli = [&](int32_t s) {
        std::string b = iyi.substr(0, 88);
        const int32_t n = 1;
        std::memcpy(&b[76], &n, 4);
        std::memcpy(&b[84], &s, 4);
        return b + std::string(4 * static_cast<size_t>(s), '\0');
    };
    std::string kesitliTek = alan(4, 3);  // kind 3 with an odd number of codewords
    const int32_t tek = 9;
    std::memcpy(&kesitliTek[84], &tek, 4);
    const std::string durumlar[] = {
        "", iyi.substr(0, 87), "VLX" + iyi.substr(3), alan(4, 0), alan(4, 4), kesitliTek, alan(84, 0), alan(84, -1),
        alan(76, 0), alan(76, 100), iyi.substr(0, 687),
        alan(84, INT_MAX),     // 4 * s * n far beyond the file
        alan(84, 0x40000000),  // 4 * s * n wraps to 0 in 32 bits
        iyi + "artik",         // bytes after the codebook
        alan(88, 0x7fc00000),  // a NaN codeword
        alan(88 + 4 * 149, static_cast<int32_t>(0xff800000u)),  // -infinity, the last value
        // More codewords than training can make, the file as long as it says.
        tekli(32767),
    };
    Sifirla(0);
    Kitap(1, 1, "bellekteki.vlm");
    float** km = ayr.km;
    const std::string baslik = Baslik(), kdad = ayr.kdad;
    int sira = 0;
    for (const std::string& bayt : durumlar) {
        const fs::path yol = dizin / ("bozuk" + std::to_string(sira++) + ".vlm");
        std::ofstream(yol, std::ios::binary) << bayt;
        cikti.clear();
        EXPECT_EQ(KuralDosyaYukle(yol.c_str()), 1) << yol;
        EXPECT_EQ(Satirlar(cikti).size(), 1u) << cikti;
        EXPECT_EQ(cikti.rfind(yol.string(), 0), 0u) << cikti;
        EXPECT_TRUE(ayr.km == km && Baslik() == baslik && ayr.kdad == kdad && ayr.kdbayrak == 0);
    }

    // A directory is invalid; a missing file is told apart and silent.
    KURALDOSYABASLIK b;
    float** okunan = nullptr;
    cikti.clear();
    EXPECT_EQ(KuralDosyasiOku(dizin.c_str(), &b, &okunan), KDOKU_GECERSIZ);
    EXPECT_EQ(KuralDosyasiOku((dizin / "yok.vlm").c_str(), &b, &okunan), KDOKU_ACILAMIYOR);
    EXPECT_EQ(Satirlar(cikti).size(), 1u);
    bellek_hata_sirasi = 1;
    EXPECT_EQ(KuralDosyasiOku((dizin / "iyi.vlm").c_str(), &b, &okunan), KDOKU_BELLEK);
    EXPECT_EQ(okunan, nullptr);
    // The largest codebook training makes is read.
    std::ofstream(dizin / "enbuyuk.vlm", std::ios::binary) << tekli(32766);
    EXPECT_EQ(KuralDosyasiOku((dizin / "enbuyuk.vlm").c_str(), &b, &okunan), KDOKU_TAMAM);
    EXPECT_EQ(b.s, 32766);
    Free2B(okunan);
    // A path that does not fit the record is refused before anything is read.
    EXPECT_EQ(KuralDosyaYukle(std::string(600, 'a').c_str()), 1);
}

TEST_F(DosyaTest, ReportAndDumpLines) {
    Kitap(10, 15, "kelime.vlm");
    std::strcpy(ayr.kdbaslik.soz, Cp1254("göz").c_str());
    ASSERT_EQ(KuralDosyaKaydetMetin(), 0);
    const std::vector<std::string> s = Satirlar(Oku(dizin / "kelime.vlm.txt"));
    ASSERT_EQ(s.size(), 26u + 150u);
    EXPECT_EQ(s[1], "           T\xfcr Belirteci=LPC KURAL K\xddTABI");  // Windows-1254 bytes
    EXPECT_EQ(s[2], "              S\xf6z Kar\xfe\xfdl\xfd\xf0\xfd=g\xf6z");
    EXPECT_EQ(s[21], "        LPC S\xfczge\xe7 Derecesi=10");  // p before n
    // The "=" of every labelled header line in column 28, the kind line's in 25.
    for (size_t i = 0; i < 25; i++) {
        const size_t esit = s[i].find('=');
        if (esit == std::string::npos) continue;
        EXPECT_EQ(esit + 1, i == 1 ? 25u : 28u) << s[i];
    }
    EXPECT_EQ(s[26], "0:0\t0.250000");
    EXPECT_EQ(s[175], "9:14\t914.250000");

    // The dump: the same header lines in the terminal's charset, then the rest.
    cikti.clear();
    AyarlarEkranaBas();
    const std::vector<std::string> d = Satirlar(cikti);
    ASSERT_EQ(d.size(), 38u);
    for (size_t i = 0; i < 25; i++) EXPECT_EQ(Cp1254(d[i]), s[i]) << i;
    EXPECT_EQ(d[34], "Uzaklık Alt Eşiği=0.000001");

    ayr.kdbaslik.tur = 4;  // no kind line
    ASSERT_EQ(KuralDosyaKaydetMetin(), 0);
    EXPECT_EQ(Satirlar(Oku(dizin / "kelime.vlm.txt")).size(), 25u + 150u);

    // Kind 3 names itself and says what its codebook holds, after the
    // word's lines; the rest of the report stays in place.
    ayr.kdbaslik.tur = 3;
    ASSERT_EQ(KuralDosyaKaydetMetin(), 0);
    const std::vector<std::string> k = Satirlar(Oku(dizin / "kelime.vlm.txt"));
    ASSERT_EQ(k.size(), 29u + 150u);
    EXPECT_EQ(k[1], Cp1254("           Tür Belirteci=KESİTLİ LPC KURAL KİTABI"));
    EXPECT_EQ(k[2], s[2]);
    EXPECT_EQ(k[4], Cp1254("               Kesit Sayısı=2 (her kesitte 5 kural yöneyi, 1. kesit önce)"));
    EXPECT_EQ(k[5], Cp1254("          Kepstrum Ağırlığı=sinüs, L=22; kural yöneyleri ağırlıklı saklanır"));
    EXPECT_NE(k[6].find(Cp1254("öndeki 100 ms'den")), std::string::npos);
    for (size_t i = 7; i < k.size(); i++) EXPECT_EQ(k[i], s[i - 3]) << i;
}

TEST_F(DosyaTest, SavesKeepPermissionBitsAndRefuseFilesClosedToWriting) {
    const mode_t eskiMaske = umask(022);
    auto kip = [&](const char* ad) { return static_cast<unsigned>(fs::status(dizin / ad).permissions()); };
    Kitap(2, 3, "evet.vlm");
    ASSERT_EQ(KuralDosyasiVeRaporKaydet(true), 0);
    EXPECT_EQ(kip("evet.vlm"), 0644u);  // a new file: 0666 less the umask
    EXPECT_EQ(kip("evet.vlm.txt"), 0644u);

    // A replaced file keeps its own bits.
    fs::permissions(dizin / "evet.vlm", static_cast<fs::perms>(0640));
    fs::permissions(dizin / "evet.vlm.txt", static_cast<fs::perms>(0600));
    ayr.km[0][0] = 7.0f;
    ASSERT_EQ(KuralDosyasiVeRaporKaydet(true), 0);
    EXPECT_EQ(kip("evet.vlm"), 0640u);
    EXPECT_EQ(kip("evet.vlm.txt"), 0600u);
    ASSERT_EQ(KuralDosyaKaydet(), 0);
    EXPECT_EQ(kip("evet.vlm"), 0640u);

    // A file nobody may write is refused, whoever runs the program.
    fs::permissions(dizin / "evet.vlm", static_cast<fs::perms>(0444));
    const std::string eski = Oku(dizin / "evet.vlm"), eskiRapor = Oku(dizin / "evet.vlm.txt");
    ayr.km[0][0] = 8.0f;
    ayr.kdbayrak = 0;
    cikti.clear();
    EXPECT_EQ(KuralDosyasiVeRaporKaydet(true), 1);
    EXPECT_EQ(KuralDosyaKaydet(), 1);
    EXPECT_EQ(cikti, std::string(ayr.kdad) + " yazmaya kapalı; üzerine yazılmadı.\n" + ayr.kdad +
                         " yazmaya kapalı; üzerine yazılmadı.\n");
    EXPECT_EQ(Oku(dizin / "evet.vlm"), eski);
    EXPECT_EQ(Oku(dizin / "evet.vlm.txt"), eskiRapor);
    EXPECT_EQ(ayr.kdbayrak, 0);
    umask(eskiMaske);
}

TEST_F(DosyaTest, ASaveThatMustNotReplaceLeavesAnExistingFileAlone) {
    std::ofstream(dizin / "evet.vlm") << "baska";
    Kitap(2, 3, "evet.vlm");
    EXPECT_EQ(KuralDosyasiVeRaporKaydet(false), 1);
    EXPECT_EQ(cikti, std::string(ayr.kdad) + " zaten var; üzerine yazılmadı.\n");
    EXPECT_EQ(Oku(dizin / "evet.vlm"), "baska");
    EXPECT_FALSE(fs::exists(dizin / "evet.vlm.txt"));
    EXPECT_EQ(ayr.kdbayrak, 0);
    // A dangling link is a name that exists too.
    fs::create_symlink(dizin / "yok", dizin / "bag.vlm");
    std::strcpy(ayr.kdad, (dizin / "bag.vlm").c_str());
    EXPECT_EQ(KuralDosyasiVeRaporKaydet(false), 1);
    EXPECT_FALSE(fs::exists(dizin / "yok"));

    std::strcpy(ayr.kdad, (dizin / "hayir.vlm").c_str());
    EXPECT_EQ(KuralDosyasiVeRaporKaydet(false), 0);
    EXPECT_EQ(fs::file_size(dizin / "hayir.vlm"), 88u + 24u);
    EXPECT_TRUE(fs::exists(dizin / "hayir.vlm.txt"));
    EXPECT_EQ(ayr.kdbayrak, 1);
    EXPECT_EQ(DosyaSayisi(dizin), 4u);  // no temporary file left behind
}

TEST_F(DosyaTest, NoCodebookWithoutItsReport) {
    // The report cannot be written: the codebook is not written either.
    fs::create_directory(dizin / "evet.vlm.txt");
    Kitap(2, 3, "evet.vlm");
    EXPECT_EQ(KuralDosyasiVeRaporKaydet(true), 1);
    EXPECT_FALSE(fs::exists(dizin / "evet.vlm"));
    EXPECT_EQ(Satirlar(cikti).size(), 1u);
    EXPECT_EQ(DosyaSayisi(dizin), 1u);
}

TEST_F(DosyaTest, StaleTemporaryFilesOfKilledSavesAreRemoved) {
    const auto eski = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const char* ad : {".velmo-aB3dE9", ".velmo-Zz9Zz9", ".velmo-eskidosya", "velmo-Qq1Qq1"}) {
        std::ofstream(dizin / ad) << "x";
        if (std::string(ad) != ".velmo-Zz9Zz9") fs::last_write_time(dizin / ad, eski);
    }
    fs::create_directory(dizin / ".velmo-Dd0Dd0");
    fs::last_write_time(dizin / ".velmo-Dd0Dd0", eski);
    Kitap(2, 3, "evet.vlm");
    ASSERT_EQ(KuralDosyasiVeRaporKaydet(true), 0);
    EXPECT_FALSE(fs::exists(dizin / ".velmo-aB3dE9"));
    EXPECT_TRUE(fs::exists(dizin / ".velmo-Zz9Zz9"));  // a save may still be writing it
    EXPECT_TRUE(fs::exists(dizin / ".velmo-eskidosya"));
    EXPECT_TRUE(fs::exists(dizin / "velmo-Qq1Qq1"));
    EXPECT_TRUE(fs::exists(dizin / ".velmo-Dd0Dd0"));
}

// Ctrl-C in the middle of a save: the child's write passes its file-size
// limit, whose signal presses Ctrl-C right there. The earlier report stays
// whole and no temporary file is left behind.
TEST_F(DosyaTest, AnInterruptedSaveLeavesNoHalfWrittenFile) {
    Kitap(2000, 15, "evet.vlm");
    ASSERT_EQ(KuralDosyaKaydetMetin(), 0);
    const std::string once = Oku(dizin / "evet.vlm.txt");
    ayr.km[0][0] = 7.5f;
    const pid_t cocuk = fork();
    ASSERT_GE(cocuk, 0);
    if (cocuk == 0) {
        KesintiKur();
        std::signal(SIGXFSZ, [](int) { std::raise(SIGINT); });
        const rlimit kucuk{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &kucuk);
        KuralDosyaKaydetMetin();
        _exit(0);
    }
    int durum = 0;
    ASSERT_EQ(waitpid(cocuk, &durum, 0), cocuk);
    EXPECT_TRUE(WIFSIGNALED(durum) && WTERMSIG(durum) == SIGINT) << durum;
    EXPECT_EQ(DosyaSayisi(dizin), 1u);
    EXPECT_EQ(Oku(dizin / "evet.vlm.txt"), once);
}

// A file held for a scope: the interrupt's sweep removes it while it is
// held; a temporary one also goes at the end of the scope unless kept, and
// once kept neither the sweep nor the scope's end touches it.
TEST_F(DosyaTest, AHeldFileGoesOnInterruptAndAtScopeEndUnlessKept) {
    const std::string a = (dizin / "a").string(), b = (dizin / "b").string(), c = (dizin / "c").string();
    for (const std::string& ad : {a, b, c}) std::ofstream(ad) << "x";
    {
        YARIM_DOSYA gecici(a, true), tutulan(b, true), kapsam(c);
        tutulan.Tut();
        EXPECT_TRUE(fs::exists(a) && fs::exists(b) && fs::exists(c));
        YarimDosyalariSil();
        EXPECT_FALSE(fs::exists(a));
        EXPECT_TRUE(fs::exists(b));
        EXPECT_FALSE(fs::exists(c));
        for (const std::string& ad : {a, c}) std::ofstream(ad) << "x";
    }
    EXPECT_FALSE(fs::exists(a));
    EXPECT_TRUE(fs::exists(b));
    EXPECT_TRUE(fs::exists(c));
    // Every slot is free again: the sweep finds nothing more to remove.
    std::ofstream(a) << "x";
    YarimDosyalariSil();
    EXPECT_TRUE(fs::exists(a) && fs::exists(b) && fs::exists(c));
}
