// Tests of velmo-toplu's modules: strict option values, sound files turned
// into recordings, the kept codebooks scored as the screen's scan scores
// them, training from takes, the picture and the output helpers.
#include <CLI/CLI.hpp>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "ayar_tablosu.h"
#include "cikti.h"
#include "ciz.h"
#include "dosya.h"
#include "kancalar.h"
#include "konsol.h"
#include "lpc.h"
#include "rapor.h"
#include "secenek.h"
#include "sinir.h"
#include "tanima.h"
#include "tarama.h"
#include "toplu.h"
#include "toplu_ortak.h"
#include "velmo.h"
#include "wav.h"

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

using TopluTest = GeciciDizinTesti;

void Pcm16Yaz(const std::string& ad, int oran, const std::vector<short>& x) {
    SF_INFO b{};
    b.samplerate = oran;
    b.channels = 1;
    b.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(ad.c_str(), SFM_WRITE, &b);
    ASSERT_NE(f, nullptr);
    sf_write_short(f, x.data(), static_cast<sf_count_t>(x.size()));
    sf_close(f);
}

// A word-like sound: `sure` seconds of a gliding two-tone vowel with a little
// noise, after `bas` seconds of silence, at 12000 Hz.
std::vector<short> Sozcuk(double bas, double sure, double f0, unsigned tohum) {
    std::vector<short> x(static_cast<size_t>((bas + sure + 0.3) * 12000), 0);
    double faz1 = 0, faz2 = 0;
    for (size_t i = static_cast<size_t>(bas * 12000); i < static_cast<size_t>((bas + sure) * 12000); i++) {
        const double t = (i / 12000.0 - bas) / sure;
        faz1 += 2 * M_PI * (f0 + 300 * t) / 12000;
        faz2 += 2 * M_PI * (f0 * 4.3 - 900 * t) / 12000;
        tohum = tohum * 1103515245u + 12345u;
        const double g = ((tohum >> 8) & 0xffff) / 65536.0 - 0.5;
        const double zarf = std::sin(M_PI * t);
        x[i] = static_cast<short>(9000 * zarf * (std::sin(faz1) + 0.5 * std::sin(faz2)) + 300 * g);
    }
    return x;
}

std::string Oku(const std::string& ad) {
    std::ifstream f(ad, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

}  // namespace

TEST(TopluSecenek, NumbersAreReadWholeOrRefused) {
    int i = 99;
    EXPECT_TRUE(TamsayiCoz("12", i));
    EXPECT_EQ(i, 12);
    EXPECT_TRUE(TamsayiCoz("+7", i));
    EXPECT_EQ(i, 7);
    EXPECT_TRUE(TamsayiCoz(" -3 ", i));  // as the settings menu reads what is typed
    EXPECT_EQ(i, -3);
    for (const char* kotu : {"", "+", "-", "1.5", "12x", "1 2", "2147483648", "+-1", "0x10", "--1", "١"}) {
        i = 5;
        EXPECT_FALSE(TamsayiCoz(kotu, i)) << kotu;
        EXPECT_EQ(i, 5) << kotu;
    }
    double d = 0;
    EXPECT_TRUE(GercelCoz("-6", d));
    EXPECT_EQ(d, -6.0);
    EXPECT_TRUE(GercelCoz("1e-6", d));
    EXPECT_TRUE(GercelCoz("1,5", d));  // the decimal comma
    EXPECT_EQ(d, 1.5);
    for (const char* kotu : {"", "nan", "inf", "1,5x", "1e999", ".", "- 1"}) EXPECT_FALSE(GercelCoz(kotu, d)) << kotu;
    float f = 0;
    ASSERT_TRUE(FloatCoz("0.000001", f));
    uint32_t bit;
    std::memcpy(&bit, &f, 4);
    EXPECT_EQ(bit, 0x358637BDu);
}

TEST(TopluSecenek, SettingsOptionsWriteTheirFields) {
    AYAR_DEGERLERI a = VarsayilanAyarlar();
    std::string h;
    EXPECT_TRUE(AyarSecenegiUygula("oo", "8000", a, &h));
    EXPECT_TRUE(AyarSecenegiUygula("s", "32", a, &h));
    EXPECT_TRUE(AyarSecenegiUygula("tur", "2", a, &h));
    EXPECT_TRUE(AyarSecenegiUygula("yinl", "0", a, &h));
    EXPECT_TRUE(AyarSecenegiUygula("uae", "0.5", a, &h));
    EXPECT_EQ(a.kdbaslik.oo, 8000);
    EXPECT_EQ(a.kdbaslik.s, 32);
    EXPECT_EQ(a.kdbaslik.tur, 2);
    EXPECT_EQ(a.yinl, 0);
    EXPECT_EQ(a.uae, 0.5f);
    EXPECT_FALSE(AyarSecenegiUygula("n", "15a", a, &h));
    EXPECT_NE(h.find("--n"), std::string::npos);
    EXPECT_EQ(a.kdbaslik.n, 15);
    EXPECT_FALSE(AyarSecenegiMi("ks"));  // not a setting of the menu
    EXPECT_TRUE(AyarSecenegiMi("bsge"));
    SESAYARI s;
    EXPECT_FALSE(SesSecenegiUygula("tepe", "3", s, &h));
    EXPECT_FALSE(SesSecenegiUygula("dolgu", "-1", s, &h));
    EXPECT_TRUE(SesSecenegiUygula("gurultu", "-54", s, &h));
    EXPECT_TRUE(s.gurultuVar);
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    b.oo = 999;
    EXPECT_FALSE(KayitAyarlariGecerli(b, 3, &h));
    b.oo = 12000;
    EXPECT_FALSE(KayitAyarlariGecerli(b, 61, &h));
    EXPECT_TRUE(KayitAyarlariGecerli(b, 60, &h));
}

// Parses `argumanlar` with the settings and sound options and one option of
// a program's own; returns the usage error's text ("" when there is none).
std::string KomutSatiriDene(std::vector<std::string> argumanlar, AYARGIRDILERI& girdi, AYAR_DEGERLERI& ayar,
                            SESAYARI& ses, std::string* dizin = nullptr,
                            std::vector<std::string>* dosyalar = nullptr) {
    CLI::App app{"p"};
    UygulamaHazirla(app);
    std::string d;
    std::vector<std::string> f;
    app.add_option("-d,--dizin", d);
    if (dosyalar != nullptr) app.add_option("dosyalar", f);
    AyarSecenekleriEkle(app, girdi, true);
    argumanlar.insert(argumanlar.begin(), "p");
    std::vector<char*> v;
    for (std::string& a : argumanlar) v.push_back(a.data());
    try {
        KomutSatiriniAyristir(app, static_cast<int>(v.size()), v.data(), "k");
        KalanlariReddet(app, "k");
        AyarGirdileriniUygula(girdi, ayar, ses, "k");
    } catch (const KullanimHatasi& h) {
        EXPECT_EQ(h.komut, "k");
        return h.metin;
    }
    if (dizin != nullptr) *dizin = d;
    if (dosyalar != nullptr) *dosyalar = f;
    return "";
}

// The command-line layer both tools parse with: settings and sound options in
// both spellings, the last of a repeated one, negative numbers as values,
// files after "--", and a Turkish text for every kind of mistake.
TEST(TopluSecenek, CommandLineTakesSettingsAndRefusesMistakesInTurkish) {
    AYAR_DEGERLERI a = VarsayilanAyarlar();
    AYARGIRDILERI g;
    SESAYARI ses;
    std::string dizin;
    std::vector<std::string> dosyalar;
    EXPECT_EQ(KomutSatiriDene({"--yee", "100", "a.wav", "--yee=200", "--tepe", "-6", "-d", "-", "--m=12", "--",
                               "--aee", "-"},
                              g, a, ses, &dizin, &dosyalar),
              "");
    EXPECT_EQ(a.kdbaslik.yee, 200);
    EXPECT_EQ(a.kdbaslik.m, 12);
    EXPECT_EQ(a.kdbaslik.aee, 200);  // after "--" a file, not an option
    EXPECT_TRUE(ses.tepeVar);
    EXPECT_EQ(ses.tepe, -6.0);
    EXPECT_EQ(dizin, "-");
    EXPECT_EQ(dosyalar, (std::vector<std::string>{"a.wav", "--aee", "-"}));
    EXPECT_EQ(g.count("yee") + g.count("m") + g.count("tepe"), 3u);
    EXPECT_EQ(g.count("aee"), 0u);

    struct {
        std::vector<std::string> argumanlar;
        const char* metin;
    } const kotu[] = {
        {{"--bilinmez"}, "bilinmeyen seçenek --bilinmez"},
        {{"-q"}, "bilinmeyen seçenek -q"},
        {{"--oo"}, "--oo için değer eksik"},
        {{"--oo", "12k"}, "--oo için tamsayı bekleniyor: '12k'"},
        {{"--uae", "x"}, "--uae için sayı bekleniyor: 'x'"},
        {{"--tepe", "3"}, "--tepe -120 ile 0 dB arasında olmalı"},
    };
    for (const auto& k : kotu) {
        AYARGIRDILERI g2;
        AYAR_DEGERLERI a2 = VarsayilanAyarlar();
        EXPECT_EQ(KomutSatiriDene(k.argumanlar, g2, a2, ses, nullptr, &dosyalar), k.metin) << k.argumanlar[0];
    }
    // An option of the program's own given twice (velmo-dinle's kind).
    {
        CLI::App app{"p"};
        UygulamaHazirla(app);
        std::string sure;
        app.add_option("--sure", sure);
        std::vector<std::string> a = {"p", "--sure", "1", "--sure", "2"};
        std::vector<char*> v;
        for (std::string& x : a) v.push_back(x.data());
        try {
            KomutSatiriniAyristir(app, static_cast<int>(v.size()), v.data(), "");
            ADD_FAILURE() << "--sure twice taken";
        } catch (const KullanimHatasi& h) {
            EXPECT_EQ(h.metin, "--sure bir kez verilebilir");
        }
    }
    // A program without files names a stray word as such.
    AYARGIRDILERI g3;
    AYAR_DEGERLERI a3 = VarsayilanAyarlar();
    EXPECT_EQ(KomutSatiriDene({"fazla"}, g3, a3, ses), "beklenmeyen argüman: \"fazla\".");
    EXPECT_EQ(a3.kdbaslik.oo, 12000);
    try {
        GercelSecenek("sure", "abc");
        ADD_FAILURE() << "abc read as a number";
    } catch (const KullanimHatasi& h) {
        EXPECT_EQ(h.metin, "--sure: \"abc\" bir sayı değil.");
    }
    EXPECT_EQ(TamsayiSecenek("enkisa", "+40"), 40);
    EXPECT_THROW(TamsayiSecenek("enkisa", "4.5"), KullanimHatasi);
}

TEST_F(TopluTest, SixteenBitFileAtTheRateGivesItsSamplesExactly) {
    std::vector<short> x = {0, 1, -1, 32767, -32768, 1234, -4321};
    Pcm16Yaz("a.wav", 12000, x);
    std::vector<short> y;
    ASSERT_EQ(SesDosyasiOku("a.wav", 12000, 1, {}, y), 0);
    ASSERT_EQ(y.size(), 12000u);
    EXPECT_TRUE(std::equal(x.begin(), x.end(), y.begin()));
    EXPECT_TRUE(std::all_of(y.begin() + 7, y.end(), [](short v) { return v == 0; }));
    // Longer than the recording: cut to its length.
    std::vector<short> uzun(30000, 100);
    Pcm16Yaz("b.wav", 12000, uzun);
    ASSERT_EQ(SesDosyasiOku("b.wav", 12000, 2, {}, y), 0);
    ASSERT_EQ(y.size(), 24000u);
    EXPECT_TRUE(std::all_of(y.begin(), y.end(), [](short v) { return v == 100; }));
}

// The quantiser rounds as lrint does (ties to even) over the whole range,
// clips instead of wrapping and gives 0 for what is not a number.
TEST_F(TopluTest, QuantisationRoundsTiesToEvenAndClips) {
    auto lrintile = [](float v) {
        const float o = v * 32768.0f;
        return o >= 32767.0f ? 32767 : o <= -32768.0f ? -32768 : static_cast<int>(std::lrint(o));
    };
    for (int k = -4 * 32769; k <= 4 * 32769; k++) {  // every quarter step: ties, and both sides of them
        const float v = static_cast<float>(k) / 4.0f / 32768.0f;
        ASSERT_EQ(OrnekNicemle(v), lrintile(v)) << k;
    }
    unsigned durum = 3;
    for (int i = 0; i < 200000; i++) {
        durum = durum * 1664525u + 1013904223u;
        const float v = static_cast<float>(static_cast<int>(durum >> 4) - (1 << 27)) / static_cast<float>(1 << 27) * 1.01f;
        ASSERT_EQ(OrnekNicemle(v), lrintile(v)) << v;
    }
    EXPECT_EQ(OrnekNicemle(0.5f / 32768.0f), 0);
    EXPECT_EQ(OrnekNicemle(1.5f / 32768.0f), 2);
    EXPECT_EQ(OrnekNicemle(-2.5f / 32768.0f), -2);
    EXPECT_EQ(OrnekNicemle(1e-30f), 0);
    EXPECT_EQ(OrnekNicemle(1.0f), 32767);
    EXPECT_EQ(OrnekNicemle(-7.0f), -32768);
    EXPECT_EQ(OrnekNicemle(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(OrnekNicemle(-std::numeric_limits<float>::infinity()), 0);
    // The block conversion gives each sample's value, in lanes and after them.
    std::vector<float> blok;
    for (int k = -4 * 32769; k <= 4 * 32769; k += 7) blok.push_back(static_cast<float>(k) / 4.0f / 32768.0f);
    for (float v : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -1e30f, 1e30f,
                    std::numeric_limits<float>::max(), -std::numeric_limits<float>::denorm_min(), 3.0f})
        blok.push_back(v);
    std::vector<short> y(blok.size());
    OrnekleriNicemle(blok.data(), blok.size(), y.data());
    for (size_t i = 0; i < blok.size(); i++) ASSERT_EQ(y[i], OrnekNicemle(blok[i])) << blok[i];
}

TEST_F(TopluTest, ChannelsAreMixedAndOtherFormatsConverted) {
    std::vector<short> y;
    SesYaz("st.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 12000, 2, {1000 / 32768.f, 3000 / 32768.f, -0.5f, 0.5f});
    ASSERT_EQ(SesDosyasiOku("st.wav", 12000, 1, {}, y), 0);
    EXPECT_EQ(y[0], 2000);
    EXPECT_EQ(y[1], 0);
    SesYaz("f.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 12000, 1, {0.5f, -0.25f, 2.0f, -3.0f});
    ASSERT_EQ(SesDosyasiOku("f.wav", 12000, 1, {}, y), 0);
    EXPECT_EQ(y[0], 16384);
    EXPECT_EQ(y[1], -8192);
    EXPECT_EQ(y[2], 32767);  // clipped, not wrapped
    EXPECT_EQ(y[3], -32768);
    SesYaz("u8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 12000, 1, {0.5f, -0.5f});
    ASSERT_EQ(SesDosyasiOku("u8.wav", 12000, 1, {}, y), 0);
    EXPECT_EQ(y[0], 16384);
    EXPECT_EQ(y[1], -16384);
    // 500 Hz at 8000 Hz, resampled to 12000 Hz: length and pitch kept.
    std::vector<float> sin8(8000);
    for (size_t i = 0; i < sin8.size(); i++) sin8[i] = 0.5f * std::sin(2 * M_PI * 500 * i / 8000.0);
    SesYaz("s8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, sin8);
    ASSERT_EQ(SesDosyasiOku("s8.wav", 12000, 2, {}, y), 0);
    int gecis = 0;
    short tepe = 0;
    for (size_t i = 1; i < 12000; i++) {
        gecis += (y[i - 1] < 0) != (y[i] < 0);
        tepe = std::max<short>(tepe, static_cast<short>(std::abs(y[i])));
    }
    EXPECT_NEAR(gecis, 1000, 3);
    EXPECT_NEAR(tepe, 16384, 200);
    EXPECT_TRUE(std::all_of(y.begin() + 12100, y.end(), [](short v) { return v == 0; }));
}

TEST_F(TopluTest, PaddingLevelAndNoise) {
    std::vector<short> x(1200, 1000);
    Pcm16Yaz("a.wav", 12000, x);
    std::vector<short> y;
    SESAYARI s;
    s.dolgu = 0.5;
    s.tepeVar = true;
    s.tepe = -6;
    ASSERT_EQ(SesDosyasiOku("a.wav", 12000, 1, s, y), 0);
    EXPECT_TRUE(std::all_of(y.begin(), y.begin() + 6000, [](short v) { return v == 0; }));
    EXPECT_EQ(y[6000], 16423);  // 10^(-6/20) of full scale
    EXPECT_EQ(y[7199], 16423);
    EXPECT_EQ(y[7200], 0);
    s.gurultuVar = true;
    s.gurultu = -40;
    std::vector<short> y1, y2, z;
    ASSERT_EQ(SesDosyasiOku("a.wav", 12000, 1, s, y1), 0);
    ASSERT_EQ(SesDosyasiOku("a.wav", 12000, 1, s, y2), 0);
    EXPECT_EQ(y1, y2);  // the same file, the same recording
    EXPECT_TRUE(std::all_of(y1.begin(), y1.begin() + 6000, [](short v) { return std::abs(v) <= 328; }));
    EXPECT_GT(std::count_if(y1.begin(), y1.begin() + 6000, [](short v) { return v != 0; }), 5000);
    std::vector<short> x2(1200, 1000);
    x2[5] = -1000;  // another sound, even after levelling
    Pcm16Yaz("b.wav", 12000, x2);
    ASSERT_EQ(SesDosyasiOku("b.wav", 12000, 1, s, z), 0);
    EXPECT_FALSE(std::equal(y1.begin(), y1.begin() + 6000, z.begin()));  // noise of its own
}

TEST_F(TopluTest, BrokenFilesAreNamedAndRefused) {
    std::ofstream("metin.wav") << "bu bir ses dosyasi degil\n";
    std::ofstream("bos.wav").close();
    std::string yarim = "RIFF\x24\x00\x00\x00WAVEfmt ";
    std::ofstream("yarim.wav", std::ios::binary) << yarim;
    Pcm16Yaz("sifir.wav", 12000, {});
    fs::create_directory("dizin.wav");
    for (const char* ad : {"yok.wav", "metin.wav", "bos.wav", "yarim.wav", "sifir.wav", "dizin.wav"}) {
        std::vector<short> y(3, 1);
        CaptureStderr();
        EXPECT_EQ(SesDosyasiOku(ad, 12000, 1, {}, y), 1) << ad;
        const std::string m = GetCapturedStderr();
        EXPECT_EQ(m.rfind(std::string(ad) + ": ", 0), 0u) << m;
        EXPECT_EQ(std::count(m.begin(), m.end(), '\n'), 1) << m;
        EXPECT_TRUE(y.empty());
    }
    // A rate the resampler cannot reach.
    Pcm16Yaz("hizli.wav", 192000 * 2, std::vector<short>(100, 1));
    std::vector<short> y;
    CaptureStderr();
    EXPECT_EQ(SesDosyasiOku("hizli.wav", 1000, 1, {}, y), 1);
    EXPECT_NE(GetCapturedStderr().find("hizli.wav"), std::string::npos);

    // A header whose rate is 0 or negative: the program's own words, not
    // the library's internal text.
    for (uint32_t oran : {0u, 0xffffffffu}) {
        std::string b = Oku("hizli.wav");
        std::memcpy(&b[24], &oran, 4);
        std::ofstream("oransiz.wav", std::ios::binary) << b;
        CaptureStderr();
        EXPECT_EQ(SesDosyasiOku("oransiz.wav", 12000, 1, {}, y), 1);
        EXPECT_EQ(GetCapturedStderr(), "oransiz.wav: ses dosyasının örnekleme oranı ya da biçim bilgisi kullanılamaz.\n");
    }
}

// Codebook files for the scan tests: word, size and a fill value.
void KitapYaz(const std::string& ad, const char* soz, int s, int n, float deger, int tur = 1) {
    KURALDOSYABASLIK b = VarsayilanAyarlar().kdbaslik;
    std::strcpy(b.soz, soz);
    b.s = s;
    b.n = n;
    b.tur = tur;
    MATRIS km;
    ASSERT_TRUE(km.Kur(s, n));
    for (int i = 0; i < s; i++)
        for (int j = 0; j < n; j++) km[i][j] = deger + 0.01f * i - 0.02f * j;
    Yakala([&] { ASSERT_EQ(KuralDosyasiYaz(ad, b, km), 0); });
}

// A file recognised over a directory scanned as the screen scans it.
TANIMA DizindenTani(const std::string& g, const std::string& dizin, const KURALDOSYABASLIK& komut, std::string* m) {
    KURAL_DIZINI d = CozumlemeDizini(dizin, komut);
    d.Tazele();
    return TekTani(g, &d, nullptr, komut, {}, "", 0, -1, m);
}

// The recording x analysed as the recognition screen analyses it.
std::optional<COZUMLEME> Cozumle(const std::vector<short>& x, const KURALDOSYABASLIK& b) {
    std::optional<COZUMLEME> oz;
    Yakala([&] { oz = KonusmayiCozumle(x, UcNoktalariBul(x, b, ""), b, ""); });
    return oz;
}

TEST_F(TopluTest, KeptCodebooksScoreExactlyAsTheScreensScan) {
    fs::create_directory("k");
    KitapYaz("k/b.vlm", "be", 4, 15, -0.5f);
    KitapYaz("k/A.VLM", "a", 10, 15, -0.8f);
    KitapYaz("k/c.vlm", "ce", 3, 15, -0.3f, 2);   // kind 2: the same analysis
    KitapYaz("k/ayni.vlm", "be", 4, 15, -0.5f);   // ties b.vlm, listed first
    KitapYaz("k/genis.vlm", "g", 4, 20, -0.5f);   // other vectors: skipped
    KitapYaz("k/x.txt", "x", 4, 15, -0.5f);
    std::ofstream("k/bozuk.vlm") << "VLM";
    // An utterance of two seconds analysed with the defaults.
    const KURALDOSYABASLIK analiz = VarsayilanAyarlar().kdbaslik;
    std::vector<short> x = Sozcuk(0.3, 0.6, 180, 7);
    x.resize(2 * 12000);
    const std::optional<COZUMLEME> oz = Cozumle(x, analiz);
    ASSERT_TRUE(oz);
    ASSERT_GT(oz->r, 10);
    SOYLEYIS soyleyis(x.data(), static_cast<int>(x.size()), analiz);
    soyleyis.CozumlemeKoy(*oz);

    std::vector<KURALKITABI> kitaplar;
    std::string m;
    ASSERT_TRUE(KuralKitaplariOku("k", analiz, kitaplar, &m));
    EXPECT_NE(m.find("bozuk.vlm"), std::string::npos);
    EXPECT_NE(m.find("genis.vlm"), std::string::npos);
    const std::vector<TANIMA_SONUCU> bizim = KuralKitaplariPuanla(kitaplar, soyleyis);
    std::vector<TANIMA_SONUCU> ekran;
    TANIMA_SONUCU enIyi;
    Yakala([&] { KuralDosyalariniTara("k", soyleyis, &enIyi, &ekran); });
    ASSERT_EQ(bizim.size(), 4u);
    ASSERT_EQ(ekran.size(), bizim.size());
    for (size_t i = 0; i < ekran.size(); i++) {
        EXPECT_EQ(bizim[i].dosya, ekran[i].dosya);
        EXPECT_STREQ(bizim[i].soz, ekran[i].soz);
        EXPECT_EQ(std::memcmp(&bizim[i].puan, &ekran[i].puan, 4), 0) << bizim[i].dosya;
    }
    EXPECT_EQ(bizim[0].dosya, "A.VLM");
    EXPECT_EQ(bizim[1].dosya, "ayni.vlm");
    // An entry from a header whose word fills the field without a NUL.
    KURALKITABI dolu;
    dolu.ad = "dolu.vlm";
    std::memset(dolu.baslik.soz, 'x', SOZ_BOYU);
    const TANIMA_SONUCU d = KitapSonucu(dolu, 2.5f);
    EXPECT_EQ(d.dosya, "dolu.vlm");
    EXPECT_EQ(std::string(d.soz), std::string(SOZ_BOYU, 'x'));
    EXPECT_EQ(d.puan, 2.5f);
    // Chosen codebooks only, in any order: their entries as scoring them all
    // gives them, every other entry untouched.
    std::vector<TANIMA_SONUCU> secilen(bizim.size());
    for (TANIMA_SONUCU& p : secilen) {
        p.dosya = "-";
        std::strcpy(p.soz, "-");
        p.puan = -1;
    }
    KuralKitaplariPuanla(kitaplar, {3, 1}, secilen, soyleyis);
    for (size_t i = 0; i < secilen.size(); i++) {
        if (i == 1 || i == 3) {
            EXPECT_EQ(secilen[i].dosya, bizim[i].dosya);
            EXPECT_STREQ(secilen[i].soz, bizim[i].soz);
            EXPECT_EQ(std::memcmp(&secilen[i].puan, &bizim[i].puan, 4), 0) << i;
        } else {
            EXPECT_EQ(secilen[i].dosya, "-");
            EXPECT_STREQ(secilen[i].soz, "-");
            EXPECT_EQ(secilen[i].puan, -1.0f);
        }
    }
    const int k = EnYakinKitap(bizim);
    ASSERT_GE(k, 0);
    EXPECT_EQ(bizim[static_cast<size_t>(k)].dosya, enIyi.dosya);
    EXPECT_EQ(bizim[static_cast<size_t>(k)].puan, enIyi.puan);
    // A codebook that cannot be allocated is skipped; the listing goes on.
    m.clear();
    bellek_hata_sirasi = 1;
    ASSERT_TRUE(KuralKitaplariOku("k", analiz, kitaplar, &m));
    bellek_hata_sirasi = 0;
    EXPECT_EQ(kitaplar.size(), 3u);
    EXPECT_NE(m.find("A.VLM"), std::string::npos);

    // The winner: strictly below the best so far, starting at 1000.
    auto puan = [](std::vector<float> p) {
        std::vector<TANIMA_SONUCU> v(p.size());
        for (size_t i = 0; i < p.size(); i++) v[i].puan = p[i];
        return EnYakinKitap(v);
    };
    EXPECT_EQ(puan({3, 2, 2, 5}), 1);
    EXPECT_EQ(puan({1000, INFINITY}), -1);
    EXPECT_EQ(puan({}), -1);
    EXPECT_EQ(puan({INFINITY, 999.9f}), 1);

    // The best score of another word: the whole word counts (not a prefix,
    // not the file), scores that are no number or infinite never count.
    auto sozler = [](std::vector<std::pair<const char*, float>> p) {
        std::vector<TANIMA_SONUCU> v(p.size());
        for (size_t i = 0; i < p.size(); i++) {
            std::snprintf(v[i].soz, sizeof v[i].soz, "%s", p[i].first);
            v[i].puan = p[i].second;
        }
        return v;
    };
    const auto v = sozler({{"ab", 3}, {"a", 1}, {"a", 0.5f}, {"abc", 4}, {"b", NAN}, {"c", INFINITY}});
    EXPECT_EQ(BaskaSozunEnIyisi(v, 1), 3.0f);
    EXPECT_EQ(BaskaSozunEnIyisi(v, 0), 0.5f);
    EXPECT_EQ(BaskaSozunEnIyisi(sozler({{"a", 1}, {"a", 2}}), 0), INFINITY);
    EXPECT_EQ(BaskaSozunEnIyisi(v, -1), INFINITY);
    // The ratio rule: kept only strictly below red x the other word's best.
    EXPECT_FALSE(OranlaReddedilir(1.0f, 3.0f, 0.5));
    EXPECT_TRUE(OranlaReddedilir(1.5f, 3.0f, 0.5));
    EXPECT_TRUE(OranlaReddedilir(2.0f, 3.0f, 0.5));
    EXPECT_FALSE(OranlaReddedilir(2.0f, 3.0f, 0));
    EXPECT_FALSE(OranlaReddedilir(2.0f, INFINITY, 0.5));
}

// A kept directory reads only what was added or changed, forgets what was
// removed, and says a skipped file's line at every scan.
TEST_F(TopluTest, KeptDirectoryFollowsTheFilesAndRepeatsItsLines) {
    fs::create_directory("k");
    KitapYaz("k/a.vlm", "a", 4, 15, -0.5f);
    std::ofstream("k/bozuk.vlm") << "VLM";
    const KURALDOSYABASLIK analiz = VarsayilanAyarlar().kdbaslik;
    KURAL_DIZINI d = CozumlemeDizini("k", analiz);
    auto Sozler = [&] {
        std::string s;
        for (const KURALKITABI& k : d.Kitaplar()) s += std::string(k.baslik.soz) + ":" + std::to_string(k.baslik.s) + " ";
        return s;
    };
    EXPECT_EQ(d.Tazele(), 1);
    EXPECT_EQ(d.Tazele(), 0);
    EXPECT_EQ(Sozler(), "a:4 ");
    // Rewritten in place with the same size, a new word; then one added.
    KitapYaz("k/a.vlm", "b", 4, 15, -0.5f);
    KitapYaz("k/c.vlm", "c", 3, 15, -0.5f);
    EXPECT_EQ(d.Tazele(), 1);
    EXPECT_EQ(Sozler(), "b:4 c:3 ");
    std::vector<short> x = Sozcuk(0.3, 0.6, 180, 7);
    x.resize(2 * 12000);
    SOYLEYIS soyleyis(x.data(), static_cast<int>(x.size()), analiz);
    for (int tur = 0; tur < 2; tur++) {
        TANIMA_SONUCU enIyi;
        std::vector<TANIMA_SONUCU> hepsi;
        const std::string m = Yakala([&] { d.Tara(soyleyis, &enIyi, &hepsi); });
        EXPECT_NE(m.find("bozuk.vlm"), std::string::npos);
        EXPECT_EQ(hepsi.size(), 2u);
    }
    fs::remove("k/bozuk.vlm");
    fs::remove("k/c.vlm");
    EXPECT_EQ(d.Tazele(), 1);
    EXPECT_EQ(Sozler(), "b:4 ");
    EXPECT_EQ(d.Mesajlar(), "");
    // Overwritten in place (same inode): seen.
    std::ofstream("k/a.vlm", std::ios::binary | std::ios::trunc) << "VLM";
    EXPECT_EQ(d.Tazele(), 1);
    EXPECT_EQ(Sozler(), "");
    fs::remove_all("k");
    EXPECT_EQ(d.Tazele(), -1);
    EXPECT_EQ(Sozler(), "");
    // A new directory in its place is followed as well.
    fs::create_directory("k");
    KitapYaz("k/e.vlm", "e", 2, 15, -0.5f);
    EXPECT_EQ(d.Tazele(), 1);
    EXPECT_EQ(Sozler(), "e:2 ");
    KitapYaz("k/f.vlm", "f", 2, 15, -0.5f);
    EXPECT_EQ(d.Tazele(), 1);
    EXPECT_EQ(Sozler(), "e:2 f:2 ");
}

TEST_F(TopluTest, TrainingTakesAsTheMenusAndSkippingFailedOnes) {
    Pcm16Yaz("a.wav", 12000, Sozcuk(0.4, 0.7, 160, 1));
    Pcm16Yaz("b.wav", 12000, Sozcuk(0.3, 0.8, 175, 2));
    Pcm16Yaz("sessiz.wav", 12000, std::vector<short>(20000, 3));
    EGITIMAYARI e;
    std::strcpy(e.ayar.kdbaslik.soz, "deneme");
    e.cikti = "ab.vlm";
    std::string m;
    Yakala([&] { EXPECT_EQ(TopluEgit({"a.wav", "b.wav"}, e), 0); });
    ASSERT_EQ(fs::file_size("ab.vlm"), 688u);
    EXPECT_TRUE(fs::exists("ab.vlm.txt"));
    EXPECT_FALSE(fs::exists("sinir.txt"));  // no dumps unless asked
    // Silence in between fails, is named, and leaves the codebook alone.
    e.cikti = "asb.vlm";
    CaptureStderr();
    Yakala([&] { EXPECT_EQ(TopluEgit({"a.wav", "sessiz.wav", "b.wav", "yok.wav"}, e), 1); });
    m = GetCapturedStderr();
    EXPECT_NE(m.find("sessiz.wav"), std::string::npos);
    EXPECT_NE(m.find("yok.wav"), std::string::npos);
    EXPECT_EQ(Oku("asb.vlm"), Oku("ab.vlm"));
    // An existing file is kept unless replacing is asked for.
    CaptureStderr();
    Yakala([&] { EXPECT_EQ(TopluEgit({"a.wav"}, e), 1); });
    EXPECT_NE(GetCapturedStderr().find("--uzerine"), std::string::npos);
    EXPECT_EQ(Oku("asb.vlm"), Oku("ab.vlm"));
    // Nothing trains: nothing is written.
    e.cikti = "hic.vlm";
    CaptureStderr();
    Yakala([&] { EXPECT_EQ(TopluEgit({"sessiz.wav"}, e), 1); });
    GetCapturedStderr();
    EXPECT_FALSE(fs::exists("hic.vlm"));
    EXPECT_FALSE(fs::exists("hic.vlm.txt"));
    // Pooled: one new codebook of the size asked for, dumps where asked.
    fs::create_directory("dokum");
    e.ayar.kdbaslik.s = 16;
    e.cikti = "havuz.vlm";
    e.havuz = true;
    e.dokum = "dokum";
    Yakala([&] { EXPECT_EQ(TopluEgit({"a.wav", "b.wav"}, e), 0); });
    EXPECT_EQ(fs::file_size("havuz.vlm"), 88u + 16u * 15u * 4u);
    EXPECT_TRUE(fs::exists("dokum/sinir.txt"));
    EXPECT_TRUE(fs::exists("dokum/Ci.txt"));
    EXPECT_FALSE(fs::exists("sinir.txt"));
}

TEST_F(TopluTest, RecognitionOfAFileAndTheRejectionRule) {
    Pcm16Yaz("a.wav", 12000, Sozcuk(0.4, 0.7, 160, 1));
    Pcm16Yaz("b.wav", 12000, Sozcuk(0.3, 0.5, 330, 2));
    fs::create_directory("k");
    const KURALDOSYABASLIK komut = VarsayilanAyarlar().kdbaslik;
    EGITIMAYARI e;
    for (const char* w : {"a", "b"}) {
        std::strcpy(e.ayar.kdbaslik.soz, w);
        e.cikti = std::string("k/") + w + ".vlm";
        Yakala([&] { ASSERT_EQ(TopluEgit({std::string(w) + ".wav"}, e), 0); });
    }
    // The same codebook marked as made with 30 ms frames: never scored.
    fs::copy_file("k/a.vlm", "k/a2.vlm");
    {
        std::fstream f("k/a2.vlm", std::ios::in | std::ios::out | std::ios::binary);
        const int pensu = 30;
        f.seekp(64);
        f.write(reinterpret_cast<const char*>(&pensu), sizeof pensu);
    }
    std::string m;
    std::vector<KURALKITABI> kitaplar;
    ASSERT_TRUE(KuralKitaplariOku("k", komut, kitaplar, &m));
    for (const char* w : {"a", "b"}) {
        const std::string g = std::string(w) + ".wav";
        TANIMA t1 = DizindenTani(g, "k", komut, &m);
        TANIMA t2 = TekTani(g, nullptr, &kitaplar, komut, {}, "", 0, -1, &m);
        EXPECT_EQ(t1.puanlar.size(), 2u);
        EXPECT_EQ(t2.puanlar.size(), 2u);
        ASSERT_GE(t1.kazanan, 0);
        EXPECT_EQ(SonucSozu(t1.puanlar[static_cast<size_t>(t1.kazanan)]), w);
        EXPECT_EQ(t1.kazanan, t2.kazanan);
        EXPECT_EQ(t1.enyakin, t2.enyakin);
        // A ratio that no answer can meet withholds it.
        TANIMA t3 = TekTani(g, nullptr, &kitaplar, komut, {}, "", 1e-9, -1, &m);
        EXPECT_TRUE(t3.reddedildi);
        TANIMA t4 = TekTani(g, nullptr, &kitaplar, komut, {}, "", 1.0, -1, &m);
        EXPECT_FALSE(t4.reddedildi);
    }
    EXPECT_NE(m.find("a2.vlm: çözümleme ayarı farklı ((LPC/DeltaLPC) Kısa Pencere Süresi dosyada 30, çözümlemede 20)"),
              std::string::npos);
    EXPECT_EQ(m.find("uzaklik:"), std::string::npos);  // the scan's score lines are not messages
    CaptureStderr();
    TANIMA t = DizindenTani("yok.wav", "k", komut, &m);
    GetCapturedStderr();
    EXPECT_FALSE(t.okundu);
}

TEST(TopluCiz, PictureShowsThresholdsEndsAndEscapesTheName) {
    std::vector<short> x(4000, 0);
    std::vector<int> o(4000, 0), z(4000, 0);
    for (int i = 1000; i < 2000; i++) x[static_cast<size_t>(i)] = (i % 7) * 500, o[static_cast<size_t>(i)] = 900;
    CIZIM c;
    c.baslik = "<a&b>\xff.wav";
    c.x = x.data();
    c.orke = o.data();
    c.sfrgecis = z.data();
    c.boyut = 4000;
    c.oo = 4000;
    c.yee = 375;
    c.aee = 200;
    c.bsge = 10;
    std::string svg = SvgCiz(c);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    EXPECT_NE(svg.find("&lt;a&amp;b&gt;\xEF\xBF\xBD.wav"), std::string::npos);
    EXPECT_NE(svg.find("yüksek örke eşiği 375"), std::string::npos);
    EXPECT_NE(svg.find("alçak örke eşiği 200"), std::string::npos);
    EXPECT_NE(svg.find("başlangıç sıfır geçiş eşiği 10"), std::string::npos);
    EXPECT_NE(svg.find("Konuşma bulunamadı"), std::string::npos);
    EXPECT_EQ(svg.find(">bitiş<"), std::string::npos);
    c.konusma = true;
    c.uc1 = 1000;
    c.uc2 = 1999;
    c.penu = 80;
    c.admu = 40;
    c.cerceve = 24;
    svg = SvgCiz(c);
    EXPECT_NE(svg.find(">bitiş<"), std::string::npos);
    EXPECT_NE(svg.find("örnek 1000 (0.250 s)"), std::string::npos);
    // An empty recording still gives a picture.
    c = CIZIM{};
    EXPECT_NE(SvgCiz(c).find("</svg>"), std::string::npos);
}

TEST(TopluCikti, JsonTextsNumbersAndControlSequences) {
    EXPECT_EQ(JsonMetni(JSON("a\"b\\\n\x01ş")), "\"a\\\"b\\\\\\n\\u0001ş\"\n");
    // Bytes that are not UTF-8 become U+FFFD instead of making the JSON invalid.
    EXPECT_EQ(JsonMetni(JSON("x\xff\xc3")), "\"x\xEF\xBF\xBD\xEF\xBF\xBD\"\n");
    EXPECT_EQ(JsonSayi(INFINITY), "null");
    EXPECT_EQ(JsonSayi(0.1f), "0.1");
    // Numbers keep the float's shortest text: not the digits of its double
    // widening, no ".0" after a whole number.
    EXPECT_EQ(JsonMetni(JSON{{"a", JsonSayisi(0.1f)}, {"b", JsonSayisi(1.0f)}, {"c", JsonSayisi(NAN)},
                             {"d", JsonSayisi(0.108979f)}, {"e", JsonSayisi(-2.5e-7f)}}),
              "{\"a\":0.1,\"b\":1,\"c\":null,\"d\":0.108979,\"e\":-2.5e-07}\n");
    // Negative zero keeps its sign (an integer 0 would lose it).
    EXPECT_EQ(JsonMetni(JSON::array({JsonSayisi(-0.0f), JsonSayisi(0.0f)})), "[-0.0,0]\n");
    EXPECT_EQ(DenetimsizMetin("a\x1b[Lb\x1b[1;2Hc\x1b[?25l"), "abc");
    EXPECT_EQ(Utf8Genislik("göz"), 3u);
    std::string ic;
    const std::string dis = Yakala([&] {
        Yaz("a");
        ic = Yakala([] { Yaz("b"); });
        Yaz("c");
    });
    EXPECT_EQ(dis, "ac");
    EXPECT_EQ(ic, "b");
}

// The line that skips a codebook shows its path as every other message does.
TEST(TopluTarama, TheSkippedCodebooksPathIsShownEscaped) {
    KURALDOSYABASLIK kitap = VarsayilanAyarlar().kdbaslik, analiz = kitap;
    kitap.pensu = 30;
    bool uygun = true;
    const std::string m = Yakala([&] { uygun = CozumlemeyeUygun("k/\x1b[2Ja\a.vlm", kitap, analiz); });
    EXPECT_FALSE(uygun);
    EXPECT_EQ(m.rfind("k/\\x1B[2Ja\\x07.vlm: ", 0), 0u) << m;
}

// A directory of kind-1 and kind-3 codebooks: the file is analysed once per
// kind present, with that kind's end points, and every codebook scores on
// one list exactly as in a directory of its own kind; the screen's one-pass
// scan and the kept codebooks agree.
TEST_F(TopluTest, DirectoriesMixingKindsScoreEachWithItsOwnAnalysis) {
    // Words in noise, so the kinds' end points differ.
    auto gurultulu = [](std::vector<short> x, unsigned tohum) {
        for (auto& v : x) {
            tohum = tohum * 1103515245u + 12345u;
            v = static_cast<short>(v + static_cast<int>((tohum >> 8) % 161) - 80);
        }
        return x;
    };
    Pcm16Yaz("a.wav", 12000, gurultulu(Sozcuk(0.4, 0.7, 160, 1), 3));
    Pcm16Yaz("b.wav", 12000, gurultulu(Sozcuk(0.3, 0.5, 330, 2), 4));
    for (const char* d : {"k1", "k3", "karma"}) fs::create_directory(d);
    const KURALDOSYABASLIK komut = VarsayilanAyarlar().kdbaslik;
    EGITIMAYARI e;
    for (int tur : {1, 3}) {
        for (const char* w : {"a", "b"}) {
            e.ayar.kdbaslik.tur = tur;
            std::strcpy(e.ayar.kdbaslik.soz, w);
            e.cikti = "k" + std::to_string(tur) + "/" + w + ".vlm";
            std::string m;  // the tool's own output and the stages' messages, as the console gets them
            KonsolTestKur("", &m);
            const int sonuc = TopluEgit({std::string(w) + ".wav"}, e);
            KonsolTestBitir();
            ASSERT_EQ(sonuc, 0);
            EXPECT_NE(m.find(tur == 1 ? "yazıldı (tür 1, LPC)" : "yazıldı (tür 3, kesitli LPC)"), std::string::npos);
            fs::copy_file(e.cikti, "karma/" + std::to_string(tur) + w + ".vlm");
        }
    }
    std::string m;
    for (int tur : {1, 3}) {
        KURALDOSYABASLIK analiz = komut;
        analiz.tur = tur;
        std::vector<KURALKITABI> kitaplar;
        ASSERT_TRUE(KuralKitaplariOku("karma", analiz, kitaplar, &m));
        ASSERT_EQ(kitaplar.size(), 4u) << m;
        for (const char* w : {"a", "b"}) {
            const std::string g = std::string(w) + ".wav";
            TANIMA karma = DizindenTani(g, "karma", analiz, &m);
            TANIMA kept = TekTani(g, nullptr, &kitaplar, analiz, {}, "", 0, -1, &m);
            ASSERT_EQ(karma.puanlar.size(), 4u);
            for (int t : {1, 3}) {
                KURALDOSYABASLIK kendi = komut;
                kendi.tur = t;
                TANIMA yalniz = DizindenTani(g, "k" + std::to_string(t), kendi, &m);
                ASSERT_EQ(yalniz.puanlar.size(), 2u);
                for (size_t i = 0; i < 2; i++) {
                    const size_t j = (t == 1 ? 0 : 2) + i;
                    EXPECT_EQ(karma.puanlar[j].dosya, std::to_string(t) + yalniz.puanlar[i].dosya);
                    EXPECT_EQ(karma.puanlar[j].puan, yalniz.puanlar[i].puan) << tur << w << t << i;
                    EXPECT_EQ(kept.puanlar[j].puan, yalniz.puanlar[i].puan);
                }
            }
            ASSERT_GE(karma.kazanan, 0);
            EXPECT_EQ(SonucSozu(karma.puanlar[static_cast<size_t>(karma.kazanan)]), w);
        }
    }
    EXPECT_EQ(m.find("atlandı"), std::string::npos) << m;
    // The kinds really were analysed apart: learnt thresholds move the ends.
    const std::vector<short> x = gurultulu(Sozcuk(0.4, 0.7, 160, 1), 3);
    KURALDOSYABASLIK tur3 = komut;
    tur3.tur = 3;
    const UC_NOKTALAR u1 = KonusmaBul(x.data(), static_cast<int>(x.size()), komut);
    const UC_NOKTALAR u3 = KonusmaBul(x.data(), static_cast<int>(x.size()), tur3);
    ASSERT_TRUE(u1.bulundu && u3.bulundu);
    EXPECT_NE(u1.bas, u3.bas);
}

// The picture of a kind-3 recording shows the thresholds its search used,
// learnt from the lead-in; kind 1 the header's.
TEST_F(TopluTest, PictureOfKindThreeShowsTheLearntThresholds) {
    std::vector<short> x = Sozcuk(0.5, 0.6, 170, 5);
    unsigned t = 9;
    for (auto& v : x) {
        t = t * 1103515245u + 12345u;
        v = static_cast<short>(v + static_cast<int>((t >> 8) % 121) - 60);
    }
    Pcm16Yaz("g.wav", 12000, x);
    std::string svg1, svg3;
    KURALDOSYABASLIK ayar = VarsayilanAyarlar().kdbaslik;
    CaptureStdout();
    ASSERT_EQ(KayitCiz("g.wav", ayar, {}, "-"), 0);
    svg1 = GetCapturedStdout();
    ayar.tur = 3;
    CaptureStdout();
    ASSERT_EQ(KayitCiz("g.wav", ayar, {}, "-"), 0);
    svg3 = GetCapturedStdout();
    EXPECT_NE(svg1.find("alçak örke eşiği 200"), std::string::npos);
    EXPECT_NE(svg1.find("sıfır geçiş eşiği 10<"), std::string::npos);
    EXPECT_EQ(svg3.find("alçak örke eşiği 200"), std::string::npos);
    // Noise of +-60 crosses zero far more often than 10 times a window.
    const size_t b = svg3.find("başlangıç sıfır geçiş eşiği ");
    ASSERT_NE(b, std::string::npos);
    EXPECT_GT(std::stoi(svg3.substr(b + std::strlen("başlangıç sıfır geçiş eşiği "))), 40);
}

// A codebook as JSON: each header setting under its own option name (every
// setting a different value, so no two can be swapped unseen), the word in
// UTF-8, kind 3's two halves, and every float read back bit for bit.
TEST(TopluRapor, CodebookJsonNamesEverySettingAndKeepsEveryFloat) {
    KURALDOSYABASLIK b{};
    std::memcpy(b.bicim, "VLM", 4);
    std::memcpy(b.soz, "a\xF0\xDD\x01", 4);  // "ağİ" and a control character, Windows-1254
    b.kmt = 7;
    int ayarSayisi = 0;
    for (const AYARTANIMI& t : AYAR_TABLOSU)
        if (t.baslikAlani != nullptr) b.*t.baslikAlani = 1000 + t.no, ayarSayisi++;
    b.tur = 3;
    b.s = 4;
    b.n = 3;
    const float degerler[4][3] = {{-0.0f, 1e-45f, std::numeric_limits<float>::max()},
                                  {-std::numeric_limits<float>::min(), 0.1f, 1.0f / 3},
                                  {16777216.0f, 0.0f, -2.5e-7f},
                                  {0.108979f, 1e30f, -7.0f}};
    MATRIS km;
    ASSERT_TRUE(km.Kur(4, 3));
    std::memcpy(km.Veri(), degerler, sizeof degerler);
    const nlohmann::json j = nlohmann::json::parse(JsonMetni(KuralKitabiJson("d/ağ.vlm", b, km)));
    EXPECT_EQ(j["dosya"], "d/ağ.vlm");
    EXPECT_EQ(j["bicim"], "VLM");
    EXPECT_EQ(j["soz"], "ağİ\x01");
    EXPECT_EQ(j["komut"], 7);
    EXPECT_EQ(j["tur"], 3);
    EXPECT_EQ(j["tur_adi"], "kesitli LPC");
    ASSERT_EQ(j["ayarlar"].size(), static_cast<size_t>(ayarSayisi));
    for (const AYARTANIMI& t : AYAR_TABLOSU) {
        if (t.baslikAlani == nullptr) continue;
        EXPECT_EQ(j["ayarlar"][t.ad], b.*t.baslikAlani) << t.ad;
    }
    EXPECT_EQ(j["kesitler"], nlohmann::json::parse(R"([{"ilk_yoney":0,"yoney_sayisi":2},{"ilk_yoney":2,"yoney_sayisi":2}])"));
    ASSERT_EQ(j["kural_yoneyleri"].size(), 4u);
    for (int i = 0; i < 4; i++) {
        ASSERT_EQ(j["kural_yoneyleri"][i].size(), 3u);
        for (int k = 0; k < 3; k++) {
            const float geri = static_cast<float>(j["kural_yoneyleri"][i][k].get<double>());
            EXPECT_EQ(std::memcmp(&geri, &degerler[i][k], sizeof geri), 0) << i << ":" << k << " " << geri;
        }
    }
    // Kinds 1 and 2 have no sections; an unknown kind has no name.
    b.tur = 1;
    EXPECT_FALSE(KuralKitabiJson("x", b, km).contains("kesitler"));
    b.tur = 9;
    EXPECT_TRUE(KuralKitabiJson("x", b, km)["tur_adi"].is_null());
}
