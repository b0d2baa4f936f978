// Sound files as velmo-dinle and velmo-toplu take them in: a file read as a
// stream gives exactly the samples of the whole-file reading, whatever its
// rate, channels, format and length; the converter gives, block by block,
// exactly its one-call output; a take with no sound is skipped by training.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <soxr.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "mesaj.h"
#include "oran.h"
#include "sentetik.h"
#include "toplu.h"
#include "toplu_ortak.h"
#include "wav.h"

namespace fs = std::filesystem;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

using GirdiTest = GeciciDizinTesti;

// Words over faint noise, `saniye` long, at `oran` Hz, in [-1, 1).
std::vector<float> Konusma(double saniye, int oran, int kanal, unsigned tohum) {
    std::vector<float> x;
    std::mt19937 r(tohum);
    std::normal_distribution<float> g(0, 0.004f);
    const std::vector<int16_t> soz = SentetikSozcuk(0.3, 0.5, 1.1, 140, tohum, oran);
    for (size_t i = 0; x.size() < static_cast<size_t>(saniye * oran) * static_cast<size_t>(kanal); i++)
        for (int c = 0; c < kanal; c++)
            x.push_back(soz[i % soz.size()] / 32768.0f * (c == 0 ? 1.0f : -0.5f) + g(r));
    return x;
}

// All of SES_AKISI's samples, asked for `blok` at a time.
std::vector<short> AkisOku(const std::string& ad, int oo, int saniye, int64_t boy, size_t blok) {
    SES_AKISI a;
    EXPECT_TRUE(a.Ac(ad));
    EXPECT_TRUE(a.Baslat(oo, saniye, boy));
    std::vector<short> y;
    std::vector<int16_t> b(blok);
    for (size_t n; (n = a.Oku(b.data(), blok)) > 0;) {
        EXPECT_TRUE(n == blok || static_cast<int64_t>(y.size() + n) == boy);
        y.insert(y.end(), b.begin(), b.begin() + static_cast<long>(n));
    }
    EXPECT_FALSE(a.Bozuldu());
    return y;
}

}  // namespace

// The converter's output over blocks of any size, OranDonustur's included,
// is libsoxr's one-call output, sample for sample, at the end as in the
// middle (lengths from one sample).
TEST(OranAkisi, BlocksGiveTheOneCallOutputExactly) {
    const double oranlar[][2] = {{8000, 12000}, {44100, 12000}, {48000, 8000}, {12000, 44100}, {192000, 1000},
                                 {1000, 192000}};
    std::mt19937 r(5);
    std::normal_distribution<float> g(0, 0.2f);
    for (const auto& o : oranlar)
        for (size_t n : {1u, 5u, 257u, 4095u, 60001u}) {
            // (60001 samples made 11 million cost too much time, most of all with sanitizers.)
            if (n > 5000 && o[1] / o[0] > 100) continue;
            std::vector<float> x(n);
            for (float& v : x) v = g(r);
            // libsoxr's one call, as the converter is made in oran.cpp.
            std::vector<float> tek(static_cast<size_t>(std::round(static_cast<double>(n) * o[1] / o[0]))), akis;
            const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
            const soxr_quality_spec_t nitelik = soxr_quality_spec(SOXR_HQ, 0);
            size_t yapilan = 0;
            if (!tek.empty())
                ASSERT_EQ(soxr_oneshot(o[0], o[1], 1, x.data(), n, nullptr, tek.data(), tek.size(), &yapilan, &io,
                                       &nitelik, nullptr),
                          nullptr);
            tek.resize(yapilan);
            std::string h;
            std::vector<float> donusen;
            ASSERT_TRUE(OranDonustur(x, o[0], o[1], donusen, &h)) << h;
            EXPECT_EQ(donusen, tek) << o[0] << "->" << o[1] << " n=" << n;
            for (size_t enCok : {7u, 300u, 70000u}) {
                if (n > 5000 && enCok < 300) continue;  // (a few samples at a time: as above)
                ORAN_AKISI a;
                ASSERT_TRUE(a.Kur(o[0], o[1], &h)) << h;
                akis.clear();
                std::uniform_int_distribution<size_t> blok(1, enCok);
                for (size_t i = 0; i < n;) {
                    const size_t k = std::min(n - i, blok(r));
                    ASSERT_TRUE(a.Besle(x.data() + i, k, akis, &h)) << h;
                    i += k;
                }
                ASSERT_TRUE(a.Bitir(akis, &h)) << h;
                ASSERT_EQ(akis.size(), tek.size()) << o[0] << "->" << o[1] << " n=" << n;
                EXPECT_TRUE(tek.empty() || std::memcmp(akis.data(), tek.data(), tek.size() * sizeof(float)) == 0)
                    << o[0] << "->" << o[1] << " n=" << n << " blok<=" << enCok;
            }
        }
}

// A file read as a stream gives the samples SesDosyasiOku gives for the
// recording, to the last one and the silence after the sound: the same
// rate, other rates, channels, formats, a cut before the end, and a file
// of two minutes.
TEST_F(GirdiTest, AStreamedFileGivesTheWholeFileSamples) {
    struct DOSYA {
        const char* ad;
        int bicim, oran, kanal;
        double saniye;
    };
    const DOSYA dosyalar[] = {
        {"a12.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 12000, 1, 2.5},
        {"a8.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 3.3},
        {"a44.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 2, 1.7},
        {"a22.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 22050, 1, 0.01},
        {"a16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 16000, 3, 1.0},
        {"uzun.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 120},
    };
    unsigned tohum = 1;
    for (const DOSYA& d : dosyalar) {
        SesYaz(d.ad, d.bicim, d.oran, d.kanal, Konusma(d.saniye, d.oran, d.kanal, tohum++));
        for (int oo : {12000, 8000}) {
            // As velmo-dinle asks: a second over the length, and all of it or a cut.
            const int saniye = static_cast<int>(std::ceil(d.saniye)) + 1;
            std::vector<short> tum;
            ASSERT_EQ(SesDosyasiOku(d.ad, oo, saniye, {}, tum), 0);
            const int64_t boylar[] = {std::llround(d.saniye * oo), std::llround(d.saniye * oo * 0.6) + 1,
                                      static_cast<int64_t>(tum.size())};
            for (const int64_t boy : boylar) {
                const std::vector<short> beklenen(tum.begin(), tum.begin() + boy);
                for (size_t blok : {size_t{256}, size_t{1000}})
                    EXPECT_TRUE(AkisOku(d.ad, oo, saniye, boy, blok) == beklenen)
                        << d.ad << " -> " << oo << " Hz, " << boy << " örnek, blok " << blok;
            }
        }
    }
}

// Files that are no recordings are named by the stream as by SesDosyasiOku.
TEST_F(GirdiTest, AStreamRefusesWhatTheWholeFileReadingRefuses) {
    std::ofstream("metin.wav") << "bu bir ses dosyasi degil\n";
    std::ofstream("bos.wav").close();
    SesYaz("sifir.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 12000, 1, {});
    SesYaz("hizli.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 384000, 1, std::vector<float>(100, 0.1f));
    for (const char* ad : {"yok.wav", "metin.wav", "bos.wav", "sifir.wav", "hizli.wav"}) {
        std::vector<short> y;
        CaptureStderr();
        EXPECT_EQ(SesDosyasiOku(ad, 1000, 1, {}, y), 1) << ad;
        const std::string tum = GetCapturedStderr();
        CaptureStderr();
        SES_AKISI a;
        EXPECT_FALSE(a.Ac(ad) && a.Baslat(1000, 1, 1000)) << ad;
        EXPECT_EQ(GetCapturedStderr(), tum);
    }
}

// Training skips a take with no sound (no bytes, or a header alone) with one
// line naming it, and trains the others as if it were not there; it fails
// only when no take with sound is left. A file that is no sound file is
// still a failure.
TEST_F(GirdiTest, TrainingSkipsEmptyTakesWithALine) {
    for (const char* ad : {"a.wav", "b.wav"}) {
        const std::vector<int16_t> x = SentetikSozcuk(0.4, 0.6, 1.5, ad[0] == 'a' ? 150 : 170, ad[0], 12000);
        std::vector<float> f(x.begin(), x.end());
        for (float& v : f) v /= 32768.0f;
        SesYaz(ad, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 12000, 1, f);
    }
    std::ofstream("0003.wav").close();
    SesYaz("0004.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 12000, 1, {});
    std::ofstream("metin.wav") << "ses degil";
    const std::string bos3 = "0003.wav: boş kayıt (içinde ses yok); atlandı.\n",
                      bos4 = "0004.wav: boş kayıt (içinde ses yok); atlandı.\n";
    struct SATIR {
        std::vector<std::string> alimlar;
        bool havuz;
        int sonuc;
        std::string atlanan;  // the lines about empty takes, in order
        const char* ayni;     // the codebook equals that of a.wav b.wav ("" none written)
    };
    const SATIR satirlar[] = {
        {{"a.wav", "b.wav"}, false, 0, "", "sira"},
        {{"0003.wav", "a.wav", "0004.wav", "b.wav"}, false, 0, bos3 + bos4, "sira"},
        {{"a.wav", "b.wav"}, true, 0, "", "havuz"},
        {{"a.wav", "0004.wav", "b.wav", "0003.wav"}, true, 0, bos4 + bos3, "havuz"},
        {{"0003.wav", "0004.wav"}, true, 1, bos3 + bos4, ""},
        {{"0003.wav", "a.wav", "metin.wav"}, false, 1, bos3, "?"},
    };
    int no = 0;
    for (const SATIR& s : satirlar) {
        EGITIMAYARI e;
        std::strcpy(e.ayar.kdbaslik.soz, "deneme");
        e.havuz = s.havuz;
        e.cikti = "k" + std::to_string(no++) + ".vlm";
        if (s.havuz) e.ayar.kdbaslik.s = 16;
        CaptureStderr();
        int sonuc = -1;
        Yakala([&] { sonuc = TopluEgit(s.alimlar, e); });
        const std::string m = GetCapturedStderr();
        EXPECT_EQ(sonuc, s.sonuc) << e.cikti << "\n" << m;
        std::string atlanan;
        for (size_t i = 0, j; (j = m.find('\n', i)) != std::string::npos; i = j + 1)
            if (m.compare(i, 4, "0003") == 0 || m.compare(i, 4, "0004") == 0) atlanan += m.substr(i, j + 1 - i);
        EXPECT_EQ(atlanan, s.atlanan) << e.cikti;
        const std::string ayni = s.ayni;
        if (ayni.empty()) {
            EXPECT_FALSE(fs::exists(e.cikti)) << e.cikti;
        } else if (ayni != "?") {
            std::ifstream f(e.cikti, std::ios::binary), g(ayni == "sira" ? "k0.vlm" : "k2.vlm", std::ios::binary);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}),
                      std::string(std::istreambuf_iterator<char>(g), {}))
                << e.cikti;
        }
    }
}
