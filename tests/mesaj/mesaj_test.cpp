#include "mesaj.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

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
