#include "mesaj.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "kodlama.h"
#include "mesaj_kaydi.h"

namespace {

class SAYAN_ALICI : public MESAJ_ALICISI {
public:
    std::string metin;
    int parca = 0;
    void Al(const std::string& utf8) override {
        metin += utf8;
        parca++;
    }
};

}  // namespace

TEST(Mesaj, TheInstalledSinkGetsEachFormattedMessageWhole) {
    SAYAN_ALICI a;
    MESAJ_ALICISI* eski = MesajAlicisiKur(&a);
    Yaz("%s: %d boyut\n", "ç.vlm", 12);
    const std::string uzun(3000, 'x');  // longer than the formatter's first buffer
    Yaz("%s|%d", uzun.c_str(), 7);
    EXPECT_EQ(a.parca, 2);
    EXPECT_EQ(a.metin, "ç.vlm: 12 boyut\n" + uzun + "|7");
    EXPECT_EQ(MesajAlicisiKur(eski), &a);  // gives back the one it replaces
}

TEST(Mesaj, RecordingAndCatchesNestAndPutTheEarlierSinkBack) {
    SAYAN_ALICI a;
    MESAJ_ALICISI* eski = MesajAlicisiKur(&a);
    std::string kayit;
    MesajKaydiKur(&kayit);
    Yaz("bir ");
    std::string ic;
    const std::string dis = Yakala([&] {
        Yaz("iki ");
        ic = Yakala([] { Yaz("üç "); });
        Yaz("dört ");
    });
    EXPECT_EQ(ic, "üç ");           // the inner catch keeps its part
    EXPECT_EQ(dis, "iki dört ");
    Yaz("beş");
    MesajKaydiBitir();
    EXPECT_EQ(kayit, "bir beş");
    Yaz("altı");
    EXPECT_EQ(a.metin, "altı");  // back to the sink that was there

    // A stage that throws inside a catch does not leave the catch installed.
    EXPECT_THROW(Yakala([] {
                     Yaz("yarım");
                     throw std::runtime_error("x");
                 }),
                 std::runtime_error);
    Yaz(" yedi");
    EXPECT_EQ(a.metin, "altı yedi");
    MesajAlicisiKur(eski);
}

// The one UTF-8 check that the terminal conversion and velmo-toplu's
// repairing and column widths share: the ends of every range of the
// well-formed table, and one step beyond each.
TEST(Kodlama, Utf8SequencesAreMeasuredAtTheEdgesOfWellFormedness) {
    struct {
        const char* bayt;
        size_t uz;
    } durumlar[] = {
        {"A", 1},
        {"\x7F", 1},
        {"\x80", 0},                // a lone continuation byte
        {"\xC1\xBF", 0},            // overlong two-byte form
        {"\xC2\x80", 2},
        {"\xDF\xBF", 2},
        {"\xC3", 0},                // cut short
        {"\xC3\x28", 0},            // no continuation
        {"\xE0\x9F\xBF", 0},        // overlong three-byte form
        {"\xE0\xA0\x80", 3},
        {"\xED\x9F\xBF", 3},        // U+D7FF
        {"\xED\xA0\x80", 0},        // a surrogate
        {"\xEF\xBF\xBF", 3},
        {"\xE2\x82", 0},
        {"\xF0\x8F\xBF\xBF", 0},    // overlong four-byte form
        {"\xF0\x90\x80\x80", 4},
        {"\xF4\x8F\xBF\xBF", 4},    // U+10FFFF
        {"\xF4\x90\x80\x80", 0},    // beyond U+10FFFF
        {"\xF5\x80\x80\x80", 0},
        {"\xF0\x90\x80\x28", 0},
    };
    for (const auto& d : durumlar) EXPECT_EQ(Utf8Boy(d.bayt, 0), d.uz) << d.bayt;
    // Inside a longer text: measured from the given place, never past the end.
    const std::string metin = "a\xC5\x9F\xE2\x82";
    EXPECT_EQ(Utf8Boy(metin, 1), 2u);
    EXPECT_EQ(Utf8Boy(metin, 3), 0u);
    // The terminal conversion accepts exactly what this accepts.
    std::string utf8;
    EXPECT_TRUE(UcbirimdenCevir("g\xC3\xB6z \xF0\x9F\x99\x82", utf8));
    EXPECT_FALSE(UcbirimdenCevir("g\xED\xA0\x80z", utf8));
}

// The language of the messages, from the variables as gettext reads them;
// only English has a catalogue here.
TEST(Kodlama, TheLocaleVariablesChooseTheLanguageOfTheMessages) {
    struct {
        const char *language, *lcAll, *lcMessages, *lang;
        const char* dil;
    } durumlar[] = {
        {nullptr, nullptr, nullptr, nullptr, ""},
        {nullptr, nullptr, nullptr, "C.UTF-8", ""},
        {nullptr, nullptr, nullptr, "tr_TR.UTF-8", ""},
        {nullptr, nullptr, nullptr, "en_US.UTF-8", "en"},
        {nullptr, nullptr, nullptr, "de_DE.UTF-8", ""},         // no catalogue: Turkish
        {nullptr, "C.UTF-8", nullptr, "en_US.UTF-8", ""},      // LC_ALL first
        {nullptr, "", "en_GB.UTF-8", "tr_TR.UTF-8", "en"},     // then LC_MESSAGES; empty is unset
        {"en", nullptr, nullptr, "C.UTF-8", "en"},             // LANGUAGE before the locale
        {"en", nullptr, nullptr, "tr_TR.UTF-8", "en"},
        {"en", "C", nullptr, "en_US.UTF-8", ""},               // but not under C or POSIX
        {"en", nullptr, "POSIX", nullptr, ""},
        {"en", nullptr, nullptr, nullptr, ""},
        {"de:en_GB:tr", nullptr, nullptr, "de_DE.UTF-8", "en"},
        {"fr:tr:en", nullptr, nullptr, "en_US.UTF-8", ""},     // the first one that has texts
        {"", nullptr, nullptr, "en_US.UTF-8", "en"},
    };
    for (const auto& d : durumlar) {
        const auto ortam = [&](const char* ad) -> const char* {
            const std::string a = ad;
            return a == "LANGUAGE" ? d.language : a == "LC_ALL" ? d.lcAll : a == "LC_MESSAGES" ? d.lcMessages
                   : a == "LANG"   ? d.lang
                                   : nullptr;
        };
        EXPECT_EQ(MesajDili(ortam, [](const std::string& dil) { return dil == "en"; }), d.dil)
            << (d.language ? d.language : "-") << " " << (d.lcAll ? d.lcAll : "-") << " "
            << (d.lcMessages ? d.lcMessages : "-") << " " << (d.lang ? d.lang : "-");
    }
}
