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

#include "ayar_tablosu.h"
#include "kancalar.h"
#include "kodlama.h"
#include "matris.h"
#include "mesaj_kaydi.h"
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

std::string Baytlar(const KURALDOSYABASLIK& b) { return std::string(reinterpret_cast<const char*>(&b), 88); }
std::string Baytlar(const MATRIS& km) {
    return std::string(reinterpret_cast<const char*>(km.Veri()), km.Oge() * sizeof(float));
}

bool SonuylaBiter(const std::string& s, const std::string& son) {
    return s.size() >= son.size() && s.compare(s.size() - son.size(), son.size(), son) == 0;
}

class DosyaTest : public ::testing::Test {
protected:
    std::string cikti;
    fs::path dizin, eskiDizin = fs::current_path();
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    MATRIS km;
    std::string yol;

    void SetUp() override {
        MesajKaydiKur(&cikti);
        dizin = fs::temp_directory_path() / ("velmo_dosya_" + std::to_string(getpid()));
        fs::remove_all(dizin);
        fs::create_directories(dizin);
    }
    void TearDown() override {
        fs::current_path(eskiDizin);
        bellek_hata_sirasi = 0;
        MesajKaydiBitir();
        fs::remove_all(dizin);
    }
    // An s x n codebook of distinct values, to be saved as `ad`.
    void Kitap(int s, int n, const std::string& ad) {
        ASSERT_TRUE(km.Kur(s, n));
        for (int i = 0; i < s; i++)
            for (int j = 0; j < n; j++) km[i][j] = static_cast<float>(i * 100 + j) + 0.25f;
        b.s = s;
        b.n = n;
        yol = (dizin / ad).string();
    }
};

}  // namespace

TEST_F(DosyaTest, FileIsHeaderThenRowsAndReadsBackBitForBit) {
    Kitap(10, 15, "evet.vlm");
    std::memcpy(b.soz, "evet\0xyz", 8);  // bytes after the NUL are kept
    const uint32_t ozel[] = {0x7f7fffffu, 0x80000000u, 0x00000001u};  // largest float, -0, denormal
    for (int j = 0; j < 3; j++) std::memcpy(&km[9][j], &ozel[j], 4);
    ASSERT_EQ(KuralDosyasiYaz(yol, b, km), 0);
    const std::string d = Oku(yol);
    ASSERT_EQ(d.size(), 688u);
    EXPECT_EQ(d.substr(0, 4), std::string("VLM\0", 4));
    EXPECT_EQ(d.substr(0, 88), Baytlar(b));
    EXPECT_EQ(d.substr(88), Baytlar(km));
    EXPECT_EQ(DosyaSayisi(dizin), 1u);  // no temporary file left behind

    KURALDOSYABASLIK okunan;
    MATRIS k;
    ASSERT_EQ(KuralDosyasiOku(yol.c_str(), &okunan, &k), KDOKU_TAMAM);
    EXPECT_EQ(Baytlar(okunan), Baytlar(b));
    EXPECT_EQ(k.Satir(), 10);
    EXPECT_EQ(k.Sutun(), 15);
    EXPECT_EQ(Baytlar(k), Baytlar(km));
    std::string soz;
    EXPECT_TRUE(KuralDosyasiSozu(yol.c_str(), soz));
    EXPECT_EQ(soz, "evet");
    EXPECT_FALSE(KuralDosyasiSozu(dizin.c_str(), soz));
    EXPECT_EQ(cikti, "");
}

TEST_F(DosyaTest, FailedSaveLeavesTheEarlierFile) {
    Kitap(10, 15, "evet.vlm");
    ASSERT_EQ(KuralDosyasiYaz(yol, b, km), 0);
    ASSERT_EQ(KuralRaporuYaz(yol, b, km), 0);
    const std::string eski = Oku(yol), eskiRapor = Oku(yol + ".txt");
    km[0][0] = 99.0f;
    // Files limited to 100 bytes: the writes fail half way.
    rlimit sinir;
    getrlimit(RLIMIT_FSIZE, &sinir);
    rlimit kucuk = sinir;
    kucuk.rlim_cur = 100;
    auto sinyal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &kucuk);
    const int k1 = KuralDosyasiYaz(yol, b, km), k2 = KuralRaporuYaz(yol, b, km);
    setrlimit(RLIMIT_FSIZE, &sinir);
    std::signal(SIGXFSZ, sinyal);
    EXPECT_EQ(k1, 1);
    EXPECT_EQ(k2, 1);
    // One line per file, naming it and the system's reason.
    const std::vector<std::string> s = Satirlar(cikti);
    ASSERT_EQ(s.size(), 2u) << cikti;
    EXPECT_EQ(s[0].rfind(yol + " ", 0), 0u) << s[0];
    EXPECT_EQ(s[1].rfind(yol + ".txt ", 0), 0u) << s[1];
    for (const std::string& satir : s) EXPECT_TRUE(SonuylaBiter(satir, std::strerror(EFBIG))) << satir;
    EXPECT_EQ(Oku(yol), eski);
    EXPECT_EQ(Oku(yol + ".txt"), eskiRapor);
    EXPECT_EQ(DosyaSayisi(dizin), 2u);

    // A missing directory, and a device that must never be renamed over.
    cikti.clear();
    EXPECT_EQ(KuralDosyasiYaz((dizin / "yok" / "evet.vlm").string(), b, km), 1);
    EXPECT_TRUE(SonuylaBiter(Satirlar(cikti).at(0), std::strerror(ENOENT))) << cikti;
    EXPECT_EQ(KuralDosyasiYaz("/dev/full", b, km), 1);
    struct stat st;
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// Nothing to save, no name to save it under, or a codebook of another shape
// than its header: each save refuses in one line and writes nothing.
TEST_F(DosyaTest, SavesThatCannotBeMadeWriteNothing) {
    fs::current_path(dizin);
    const struct {
        std::string ad;
        int satir, sutun;  // the codebook; 0 rows: none
        int s, n;          // the header's size
    } durumlar[] = {
        {"kelime.vlm", 0, 0, 2, 2},
        {"", 2, 2, 2, 2},
        {"kelime.vlm", 2, 2, 3, 2},
        {"kelime.vlm", 2, 2, 2, 3},
        {std::string(KDAD_BOYU, 'a'), 2, 2, 2, 2},  // longer than the screens keep
    };
    for (const auto& d : durumlar) {
        cikti.clear();
        MATRIS k;
        if (d.satir > 0) {
            ASSERT_TRUE(k.Kur(d.satir, d.sutun));
        }
        b.s = d.s;
        b.n = d.n;
        EXPECT_EQ(KuralDosyasiYaz(d.ad, b, k), 1);
        EXPECT_EQ(KuralRaporuYaz(d.ad, b, k), 1);
        EXPECT_EQ(KuralDosyasiVeRaporYaz(d.ad, b, k, true), 1);
        EXPECT_EQ(Satirlar(cikti).size(), 3u) << cikti;
    }
    EXPECT_EQ(DosyaSayisi(dizin), 0u);
}

TEST_F(DosyaTest, CorruptFilesAreRefusedWithOneLineAndTheOutputsUntouched) {
    Kitap(10, 15, "iyi.vlm");
    ASSERT_EQ(KuralDosyasiYaz(yol, b, km), 0);
    const std::string iyi = Oku(yol);
    auto alan = [&](size_t konum, int32_t deger) {
        std::string d = iyi;
        std::memcpy(&d[konum], &deger, 4);
        return d;
    };
    // A header of s vectors of one value, followed by that many zeros.
    auto tekli = [&](int32_t s) {
        std::string d = iyi.substr(0, 88);
        const int32_t n = 1;
        std::memcpy(&d[76], &n, 4);
        std::memcpy(&d[84], &s, 4);
        return d + std::string(4 * static_cast<size_t>(s), '\0');
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
    // What the caller held before: left as it was by every refusal.
    KURALDOSYABASLIK o = VarsayilanAyarlar().kdbaslik;
    std::strcpy(o.soz, "onceki");
    MATRIS k;
    ASSERT_TRUE(k.Kur(1, 1));
    k[0][0] = 42.0f;
    const std::string onceki = Baytlar(o);
    auto dokunulmadi = [&] { return Baytlar(o) == onceki && k.Satir() == 1 && k.Sutun() == 1 && k[0][0] == 42.0f; };
    int sira = 0;
    for (const std::string& bayt : durumlar) {
        const fs::path p = dizin / ("bozuk" + std::to_string(sira++) + ".vlm");
        std::ofstream(p, std::ios::binary) << bayt;
        cikti.clear();
        EXPECT_EQ(KuralDosyasiOku(p.c_str(), &o, &k), KDOKU_GECERSIZ) << p;
        EXPECT_EQ(Satirlar(cikti).size(), 1u) << cikti;
        EXPECT_EQ(cikti.rfind(p.string(), 0), 0u) << cikti;
        EXPECT_TRUE(dokunulmadi()) << p;
    }

    // A directory is invalid; a missing file is told apart and silent.
    cikti.clear();
    EXPECT_EQ(KuralDosyasiOku(dizin.c_str(), &o, &k), KDOKU_GECERSIZ);
    EXPECT_EQ(KuralDosyasiOku((dizin / "yok.vlm").c_str(), &o, &k), KDOKU_ACILAMIYOR);
    EXPECT_EQ(Satirlar(cikti).size(), 1u);
    bellek_hata_sirasi = 1;
    EXPECT_EQ(KuralDosyasiOku(yol.c_str(), &o, &k), KDOKU_BELLEK);
    EXPECT_TRUE(dokunulmadi());
    // The largest codebook training makes is read.
    std::ofstream(dizin / "enbuyuk.vlm", std::ios::binary) << tekli(32766);
    EXPECT_EQ(KuralDosyasiOku((dizin / "enbuyuk.vlm").c_str(), &o, &k), KDOKU_TAMAM);
    EXPECT_EQ(o.s, 32766);
    EXPECT_EQ(k.Satir(), 32766);
}

TEST_F(DosyaTest, ReportLines) {
    Kitap(10, 15, "kelime.vlm");
    std::strcpy(b.soz, Cp1254("göz").c_str());
    ASSERT_EQ(KuralRaporuYaz(yol, b, km), 0);
    const std::vector<std::string> s = Satirlar(Oku(yol + ".txt"));
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

    // On a terminal a control character of the word is shown, not sent;
    // the file keeps the word's bytes.
    KURALDOSYABASLIK c = b;
    std::strcpy(c.soz, "a\x1b[2Jb");
    EXPECT_EQ(Satirlar(BaslikSatirlari(c, true))[2], "              S\xf6z Kar\xfe\xfdl\xfd\xf0\xfd=a\\x1B[2Jb");
    EXPECT_EQ(Satirlar(KuralRaporu(c, km, false))[2], "              S\xf6z Kar\xfe\xfdl\xfd\xf0\xfd=a\x1b[2Jb");

    b.tur = 4;  // no kind line
    ASSERT_EQ(KuralRaporuYaz(yol, b, km), 0);
    EXPECT_EQ(Satirlar(Oku(yol + ".txt")).size(), 25u + 150u);

    // Kind 3 names itself and says what its codebook holds, after the
    // word's lines; the rest of the report stays in place.
    b.tur = 3;
    ASSERT_EQ(KuralRaporuYaz(yol, b, km), 0);
    const std::vector<std::string> k = Satirlar(Oku(yol + ".txt"));
    ASSERT_EQ(k.size(), 29u + 150u);
    EXPECT_EQ(k[1], Cp1254("           Tür Belirteci=KESİTLİ LPC KURAL KİTABI"));
    EXPECT_EQ(k[2], s[2]);
    EXPECT_EQ(k[4], Cp1254("               Kesit Sayısı=2 (her kesitte 5 kural yöneyi, 1. kesit önce)"));
    EXPECT_EQ(k[5], Cp1254("          Kepstrum Ağırlığı=sinüs, L=22; kural yöneyleri ağırlıklı saklanır"));
    EXPECT_NE(k[6].find(Cp1254("100 ms'lik sessizliğinden")), std::string::npos);
    for (size_t i = 7; i < k.size(); i++) EXPECT_EQ(k[i], s[i - 3]) << i;
}

TEST_F(DosyaTest, SavesKeepPermissionBitsAndRefuseFilesClosedToWriting) {
    const mode_t eskiMaske = umask(022);
    auto kip = [&](const char* ad) { return static_cast<unsigned>(fs::status(dizin / ad).permissions()); };
    Kitap(2, 3, "evet.vlm");
    ASSERT_EQ(KuralDosyasiVeRaporYaz(yol, b, km, true), 0);
    EXPECT_EQ(kip("evet.vlm"), 0644u);  // a new file: 0666 less the umask
    EXPECT_EQ(kip("evet.vlm.txt"), 0644u);

    // A replaced file keeps its own bits.
    fs::permissions(dizin / "evet.vlm", static_cast<fs::perms>(0640));
    fs::permissions(dizin / "evet.vlm.txt", static_cast<fs::perms>(0600));
    km[0][0] = 7.0f;
    ASSERT_EQ(KuralDosyasiVeRaporYaz(yol, b, km, true), 0);
    EXPECT_EQ(kip("evet.vlm"), 0640u);
    EXPECT_EQ(kip("evet.vlm.txt"), 0600u);
    ASSERT_EQ(KuralDosyasiYaz(yol, b, km), 0);
    EXPECT_EQ(kip("evet.vlm"), 0640u);

    // A file nobody may write is refused, whoever runs the program.
    fs::permissions(dizin / "evet.vlm", static_cast<fs::perms>(0444));
    const std::string eski = Oku(yol), eskiRapor = Oku(yol + ".txt");
    km[0][0] = 8.0f;
    cikti.clear();
    EXPECT_EQ(KuralDosyasiVeRaporYaz(yol, b, km, true), 1);
    EXPECT_EQ(KuralDosyasiYaz(yol, b, km), 1);
    EXPECT_EQ(Satirlar(cikti).size(), 2u) << cikti;
    EXPECT_EQ(Oku(yol), eski);
    EXPECT_EQ(Oku(yol + ".txt"), eskiRapor);
    umask(eskiMaske);
}

TEST_F(DosyaTest, ASaveThatMustNotReplaceLeavesAnExistingFileAlone) {
    std::ofstream(dizin / "evet.vlm") << "baska";
    Kitap(2, 3, "evet.vlm");
    EXPECT_EQ(KuralDosyasiVeRaporYaz(yol, b, km, false), 1);
    EXPECT_EQ(Satirlar(cikti).size(), 1u) << cikti;
    EXPECT_EQ(Oku(dizin / "evet.vlm"), "baska");
    EXPECT_FALSE(fs::exists(dizin / "evet.vlm.txt"));
    // A dangling link is a name that exists too.
    fs::create_symlink(dizin / "yok", dizin / "bag.vlm");
    EXPECT_EQ(KuralDosyasiVeRaporYaz((dizin / "bag.vlm").string(), b, km, false), 1);
    EXPECT_FALSE(fs::exists(dizin / "yok"));

    EXPECT_EQ(KuralDosyasiVeRaporYaz((dizin / "hayir.vlm").string(), b, km, false), 0);
    EXPECT_EQ(fs::file_size(dizin / "hayir.vlm"), 88u + 24u);
    EXPECT_TRUE(fs::exists(dizin / "hayir.vlm.txt"));
    EXPECT_EQ(DosyaSayisi(dizin), 4u);  // no temporary file left behind
}

TEST_F(DosyaTest, NoCodebookWithoutItsReport) {
    // The report cannot be written: the codebook is not written either.
    fs::create_directory(dizin / "evet.vlm.txt");
    Kitap(2, 3, "evet.vlm");
    EXPECT_EQ(KuralDosyasiVeRaporYaz(yol, b, km, true), 1);
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
    ASSERT_EQ(KuralDosyasiVeRaporYaz(yol, b, km, true), 0);
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
    ASSERT_EQ(KuralRaporuYaz(yol, b, km), 0);
    const std::string once = Oku(yol + ".txt");
    km[0][0] = 7.5f;
    const pid_t cocuk = fork();
    ASSERT_GE(cocuk, 0);
    if (cocuk == 0) {
        KesintiKur();
        std::signal(SIGXFSZ, [](int) { std::raise(SIGINT); });
        const rlimit kucuk{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &kucuk);
        KuralRaporuYaz(yol, b, km);
        _exit(0);
    }
    int durum = 0;
    ASSERT_EQ(waitpid(cocuk, &durum, 0), cocuk);
    EXPECT_TRUE(WIFSIGNALED(durum) && WTERMSIG(durum) == SIGINT) << durum;
    EXPECT_EQ(DosyaSayisi(dizin), 1u);
    EXPECT_EQ(Oku(yol + ".txt"), once);
}

// A file held for a scope: the interrupt's sweep removes it while it is
// held; a temporary one also goes at the end of the scope unless kept, and
// once kept neither the sweep nor the scope's end touches it.
TEST_F(DosyaTest, AHeldFileGoesOnInterruptAndAtScopeEndUnlessKept) {
    const std::string a = (dizin / "a").string(), bb = (dizin / "b").string(), c = (dizin / "c").string();
    for (const std::string& ad : {a, bb, c}) std::ofstream(ad) << "x";
    {
        YARIM_DOSYA gecici(a, true), tutulan(bb, true), kapsam(c);
        tutulan.Tut();
        EXPECT_TRUE(fs::exists(a) && fs::exists(bb) && fs::exists(c));
        YarimDosyalariSil();
        EXPECT_FALSE(fs::exists(a));
        EXPECT_TRUE(fs::exists(bb));
        EXPECT_FALSE(fs::exists(c));
        for (const std::string& ad : {a, c}) std::ofstream(ad) << "x";
    }
    EXPECT_FALSE(fs::exists(a));
    EXPECT_TRUE(fs::exists(bb));
    EXPECT_TRUE(fs::exists(c));
    // Every slot is free again: the sweep finds nothing more to remove.
    std::ofstream(a) << "x";
    YarimDosyalariSil();
    EXPECT_TRUE(fs::exists(a) && fs::exists(bb) && fs::exists(c));
}

// A kind-3 codebook keeps its calibration after the codewords; other kinds
// keep the exact form they always had, and a kind-3 file without one (an
// older file) still reads. A broken calibration makes the file no codebook.
TEST_F(DosyaTest, KindThreeKeepsItsCalibrationOtherKindsStayAsTheyWere) {
    const KALIBRASYON kal{25.5f, 17.25f, 5};
    const struct {
        int tur;
        KALIBRASYON yazilan;
        size_t boy;
        bool okunanVar;
    } durumlar[] = {
        {3, kal, 704, true},
        {3, {}, 688, false},
        {1, kal, 688, false},
        {2, kal, 688, false},
    };
    for (const auto& d : durumlar) {
        SCOPED_TRACE(d.tur);
        Kitap(10, 15, "k.vlm");
        b.tur = d.tur;
        ASSERT_EQ(KuralDosyasiVeRaporYaz(yol, b, km, true, d.yazilan), 0);
        EXPECT_EQ(Oku(yol).size(), d.boy);
        KURALDOSYABASLIK okunan;
        MATRIS k;
        KALIBRASYON o{1, 1, 1};
        ASSERT_EQ(KuralDosyasiOku(yol.c_str(), &okunan, &k, &o), KDOKU_TAMAM);
        EXPECT_EQ(Baytlar(k), Baytlar(km));
        EXPECT_EQ(o.Var(), d.okunanVar);
        if (d.okunanVar) EXPECT_EQ(std::memcmp(&o, &kal, sizeof o), 0);
        // The report names the calibration exactly when the file keeps it.
        EXPECT_EQ(Oku(yol + ".txt").find("Do\xf0" "al Uzakl\xfdk=") != std::string::npos, d.okunanVar);
    }
    // Trailers that are not a calibration: wrong tag, a negative scale, a
    // trailer on a kind-1 file.
    for (const auto& [tur, bozuk] :
         std::vector<std::pair<int, std::string>>{{3, "KAL\x02"}, {3, std::string("KAL\x01", 4)}, {1, ""}}) {
        Kitap(10, 15, "b.vlm");
        b.tur = tur;
        std::string son = bozuk.empty() ? std::string("KAL\x01", 4) : bozuk;
        const float olcek = bozuk == std::string("KAL\x01", 4) ? -1.0f : 2.0f, oz = 1.0f;
        const int32_t ayri = 1;
        son.append(reinterpret_cast<const char*>(&olcek), 4);
        son.append(reinterpret_cast<const char*>(&oz), 4);
        son.append(reinterpret_cast<const char*>(&ayri), 4);
        std::ofstream(yol, std::ios::binary) << Baytlar(b) << Baytlar(km) << son;
        KURALDOSYABASLIK okunan;
        MATRIS k;
        cikti.clear();
        EXPECT_EQ(KuralDosyasiOku(yol.c_str(), &okunan, &k), KDOKU_GECERSIZ) << tur << bozuk;
        EXPECT_NE(cikti, "");
    }
}
