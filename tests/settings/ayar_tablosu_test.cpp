// The settings table: every setting's range, default, field and spellings.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>

#include "ayar_tablosu.h"
#include "mesaj_kaydi.h"
#include "velmo.h"

namespace {

// What each setting must accept, written out once more by hand so that a
// slip in the table shows here. `alan` is the field the setting must write.
struct BEKLENEN {
    AYARNO no;
    const char* ad;
    double enAz, enCok;
    const char* aralik;
    int* (*alan)(AYAR_DEGERLERI&);
};

const BEKLENEN beklenenler[] = {
    {AYAR_TUR, "tur", 1, 3, "1–3", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.tur; }},
    {AYAR_KS, "ks", 1, 8, "1–8", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.ks; }},
    {AYAR_OO, "oo", 1000, 192000, "1000–192000 Hz", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.oo; }},
    {AYAR_OC, "oc", 8, 32, "8–32 bit", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.oc; }},
    {AYAR_KSU, "ksu", 1, 60, "1–60 s", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.ksu; }},
    {AYAR_KPENSU, "kpensu", 1, SINIRSIZ, "en az 1 ms", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.kpensu; }},
    {AYAR_YEE, "yee", 0, SINIRSIZ, "en az 0", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.yee; }},
    {AYAR_AEE, "aee", 0, SINIRSIZ, "en az 0", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.aee; }},
    {AYAR_BSGE, "bsge", 0, SINIRSIZ, "en az 0", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.bsge; }},
    {AYAR_PENSU, "pensu", 1, 100, "1–100 ms", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.pensu; }},
    {AYAR_ADMSU, "admsu", 1, SINIRSIZ, "en az 1 ms", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.admsu; }},
    {AYAR_M, "m", 1, 100, "1–100", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.m; }},
    {AYAR_P, "p", 1, 100, "1–100", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.p; }},
    {AYAR_N, "n", 1, 99, "1–99", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.n; }},
    {AYAR_S, "s", 1, 32766, "1–32766", [](AYAR_DEGERLERI& a) { return &a.kdbaslik.s; }},
    {AYAR_THM, "thm", -SINIRSIZ, SINIRSIZ, "", [](AYAR_DEGERLERI& a) { return &a.thm; }},
    {AYAR_UAE, "uae", 0, SINIRSIZ, "en az 0", nullptr},
    {AYAR_EABS, "eabs", 0, SINIRSIZ, "en az 0", [](AYAR_DEGERLERI& a) { return &a.eabs; }},
    {AYAR_ONYINL, "onyinl", 1, SINIRSIZ, "en az 1", [](AYAR_DEGERLERI& a) { return &a.onyinl; }},
    {AYAR_YINL, "yinl", 0, SINIRSIZ, "en az 0", [](AYAR_DEGERLERI& a) { return &a.yinl; }},
};

}  // namespace

TEST(AyarTablosu, EverySettingHasTheRangeTheStagesAccept) {
    ASSERT_EQ(std::size(beklenenler), static_cast<size_t>(AYAR_SAYISI));
    for (const BEKLENEN& b : beklenenler) {
        const AYARTANIMI& t = Ayar(b.no);
        SCOPED_TRACE(t.ad);
        EXPECT_STREQ(t.ad, b.ad);
        EXPECT_EQ(AyarBul(b.ad), &t);
        EXPECT_EQ(t.enAz, b.enAz);
        EXPECT_EQ(t.enCok, b.enCok);
        EXPECT_EQ(AralikMetni(t), b.aralik);
        // Both ends are taken, the next values outside are not.
        if (std::isfinite(b.enAz)) {
            EXPECT_TRUE(Aralikta(t, b.enAz));
            EXPECT_FALSE(Aralikta(t, b.enAz - 1));
        } else {
            EXPECT_TRUE(Aralikta(t, INT_MIN));
        }
        if (std::isfinite(b.enCok)) {
            EXPECT_TRUE(Aralikta(t, b.enCok));
            EXPECT_FALSE(Aralikta(t, b.enCok + 1));
        } else {
            EXPECT_TRUE(Aralikta(t, INT_MAX));
        }
        EXPECT_FALSE(Aralikta(t, NAN));
        EXPECT_FALSE(Aralikta(t, INFINITY));
        EXPECT_TRUE(Aralikta(t, t.varsayilan)) << "the default is in range";
    }
    EXPECT_EQ(AyarBul("yok"), nullptr);
    EXPECT_EQ(AyarBul(""), nullptr);
    // The distortion threshold is a float: fractions are in range.
    EXPECT_TRUE(Aralikta(Ayar(AYAR_UAE), 0.000001));
    EXPECT_FALSE(Aralikta(Ayar(AYAR_UAE), -0.000001));
}

// Each setting reads and writes its own field, in any record.
TEST(AyarTablosu, EverySettingWritesItsOwnField) {
    for (const BEKLENEN& b : beklenenler) {
        const AYARTANIMI& t = Ayar(b.no);
        SCOPED_TRACE(t.ad);
        AYAR_DEGERLERI a{};
        AyarDegeriKoy(t, a, 77);
        EXPECT_EQ(AyarDegeri(t, a), 77);
        AYAR_DEGERLERI bos{};
        if (b.alan == nullptr) {
            EXPECT_EQ(a.uae, 77.0f);
            EXPECT_EQ(TamsayiYeri(t, a), nullptr);
            EXPECT_EQ(GercelYeri(t, a), &a.uae);
            bos.uae = 77.0f;
        } else {
            EXPECT_EQ(*b.alan(a), 77);
            EXPECT_EQ(TamsayiYeri(t, a), b.alan(a));
            EXPECT_EQ(GercelYeri(t, a), nullptr);
            *b.alan(bos) = 77;
        }
        EXPECT_EQ(std::memcmp(&a, &bos, sizeof a), 0) << "nothing else written";
    }
}

TEST(AyarTablosu, DefaultsAreTheTablesAndVarsayilanlarKeepsTheKind) {
    const AYAR_DEGERLERI v = VarsayilanAyarlar();
    const KURALDOSYABASLIK& b = v.kdbaslik;
    EXPECT_EQ(std::memcmp(b.bicim, "VLM\0", 4), 0);
    EXPECT_EQ(b.tur, 1);
    EXPECT_EQ(b.soz[0], '\0');
    EXPECT_EQ(b.kmt, 0);
    const int beklenen[] = {1, 12000, 16, 3, 10, 375, 200, 10, 20, 10, 15, 15, 10, 10};
    const int gercek[] = {b.ks, b.oo, b.oc, b.ksu, b.kpensu, b.yee, b.aee, b.bsge, b.pensu, b.admsu, b.m, b.n, b.p, b.s};
    for (int i = 0; i < 14; i++) EXPECT_EQ(gercek[i], beklenen[i]) << i;
    EXPECT_EQ(v.thm, 1234);
    EXPECT_EQ(v.uae, 0.000001f);  // the very float, bit for bit
    EXPECT_EQ(v.eabs, 5);
    EXPECT_EQ(v.onyinl, 50);
    EXPECT_EQ(v.yinl, 100);
    AYAR_DEGERLERI a = v;
    a.kdbaslik.tur = 3;
    a.kdbaslik.oo = 8000;
    a.uae = 0.5f;
    Varsayilanlar(a, false);
    EXPECT_EQ(a.kdbaslik.tur, 3);
    EXPECT_EQ(a.kdbaslik.oo, 12000);
    EXPECT_EQ(a.uae, 0.000001f);
    Varsayilanlar(a, true);
    EXPECT_EQ(a.kdbaslik.tur, 1);
}

// The LPC order may not pass the correlation order, from either side, and a
// whole set of settings is checked by the same rule.
TEST(AyarTablosu, LpcOrderAtMostTheCorrelationOrder) {
    AYAR_DEGERLERI a = VarsayilanAyarlar();  // p 10, m 15
    EXPECT_EQ(AyarIliskisi(Ayar(AYAR_P), 15, a), "");
    EXPECT_NE(AyarIliskisi(Ayar(AYAR_P), 16, a), "");
    EXPECT_EQ(AyarIliskisi(Ayar(AYAR_M), 10, a), "");
    EXPECT_NE(AyarIliskisi(Ayar(AYAR_M), 9, a), "");
    EXPECT_EQ(AyarlarTutarsizligi(a), "");
    a.kdbaslik.p = 16;
    EXPECT_NE(AyarlarTutarsizligi(a), "");
}

// Picking kind 3 takes its own LPC order unless the order was changed; back
// to kind 1 the table's default returns. An order that would break p <= m
// is not taken.
TEST(AyarTablosu, PickingAKindTakesItsOwnOrder) {
    AYAR_DEGERLERI a = VarsayilanAyarlar();
    TurSec(a, 3);
    EXPECT_EQ(a.kdbaslik.tur, 3);
    EXPECT_EQ(a.kdbaslik.p, 12);
    TurSec(a, 1);
    EXPECT_EQ(a.kdbaslik.p, 10);
    a.kdbaslik.p = 8;
    TurSec(a, 3);
    EXPECT_EQ(a.kdbaslik.p, 8);
    a = VarsayilanAyarlar();
    a.kdbaslik.m = 11;
    TurSec(a, 3);
    EXPECT_EQ(a.kdbaslik.p, 10);
}

// The settings screen and menu: 30-character labels, one row each, the
// letter shown inside the label, no letter twice and none of the menu's own
// ("g" GeriKur, "t" Kapat); velmo-toplu: one place per option.
TEST(AyarTablosu, ScreenRowsLettersAndOptionsAreDistinct) {
    std::set<int> satirlar, siralar;
    std::set<char> harfler{'g', 't'};
    for (const AYARTANIMI* t = AyarlarBas(); t != AyarlarSon(); ++t) {
        SCOPED_TRACE(t->ad);
        EXPECT_EQ(std::strlen(t->etiket), 30u);
        EXPECT_TRUE(satirlar.insert(t->satir).second);
        EXPECT_GE(t->satir, 4);
        EXPECT_LE(t->satir, 33);
        if (t->harf != 0) {
            EXPECT_TRUE(harfler.insert(t->harf).second);
            EXPECT_NE(t->istem, nullptr);
            if (t->harfYeri >= 0) {
                EXPECT_EQ(t->etiket[t->harfYeri] | 0x20, t->harf);
            }
        }
        if (t->secenekSirasi != 0) {
            EXPECT_TRUE(siralar.insert(t->secenekSirasi).second);
            EXPECT_NE(t->yardim, nullptr);
        }
        if (t->raporEtiketi != nullptr) {
            EXPECT_NE(t->raporBirimi, nullptr);
        }
    }
    EXPECT_EQ(harfler.size(), 20u);  // 17 settings, the kind, GeriKur and Kapat
    EXPECT_EQ(siralar.size(), 18u);
    EXPECT_EQ(*siralar.begin(), 1);
    EXPECT_EQ(*siralar.rbegin(), 18);
}

// The largest recording the table allows fits the device layer's 32-bit
// buffer length.
TEST(AyarTablosu, TheLongestRecordingFitsThirtyTwoBits) {
    const double bayt = Ayar(AYAR_KS).enCok * (Ayar(AYAR_OC).enCok / 8) * Ayar(AYAR_OO).enCok * Ayar(AYAR_KSU).enCok;
    EXPECT_LT(bayt, 4294967296.0);
}

TEST(AyarTablosu, OneWordingOfTheSamplingRateCheck) {
    std::string kayit;
    MesajKaydiKur(&kayit);
    EXPECT_EQ(OrneklemeOraniDenetle(1000), 0);
    EXPECT_EQ(OrneklemeOraniDenetle(192000), 0);
    EXPECT_EQ(kayit, "");
    EXPECT_EQ(OrneklemeOraniDenetle(999), 1);
    EXPECT_EQ(OrneklemeOraniDenetle(INT_MAX), 1);
    MesajKaydiBitir();
    EXPECT_EQ(kayit,
              "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı (şimdi 999).\n"
              "Örnekleme oranı 1000 ile 192000 Hz arasında olmalı (şimdi 2147483647).\n");
}

// Numbers as a person types them: read whole or not at all, a decimal comma
// as good as a point, a fraction told apart from no number where a whole
// one is wanted, and what lies beyond the type's reach as ±infinity or 0.
TEST(AyarTablosu, TypedNumbersAreReadWhole) {
    const double SONSUZ = INFINITY;
    const struct {
        const char* metin;
        SAYITURU tur;
        SAYIOKUNUSU okunus;
        double deger;
    } durumlar[] = {
        {"8000", SAYI_TAMSAYI, SAYI_TAMAM, 8000},
        {" \t+7 \r", SAYI_TAMSAYI, SAYI_TAMAM, 7},
        {"-3", SAYI_TAMSAYI, SAYI_TAMAM, -3},
        {"2147483647", SAYI_TAMSAYI, SAYI_TAMAM, INT_MAX},
        {"99999999999999999999", SAYI_TAMSAYI, SAYI_TAMAM, SONSUZ},
        {"-99999999999999999999", SAYI_TAMSAYI, SAYI_TAMAM, -SONSUZ},
        {"2.5", SAYI_TAMSAYI, SAYI_TAM_DEGIL, 0},
        {"2,5", SAYI_TAMSAYI, SAYI_TAM_DEGIL, 0},
        {"1e3", SAYI_TAMSAYI, SAYI_TAM_DEGIL, 0},
        {"8000x", SAYI_TAMSAYI, SAYI_DEGIL, 0},
        {"400abc", SAYI_TAMSAYI, SAYI_DEGIL, 0},
        {"7 8", SAYI_TAMSAYI, SAYI_DEGIL, 0},
        {"0x10", SAYI_TAMSAYI, SAYI_DEGIL, 0},
        {"+-1", SAYI_TAMSAYI, SAYI_DEGIL, 0},
        {"+", SAYI_TAMSAYI, SAYI_DEGIL, 0},
        {"", SAYI_TAMSAYI, SAYI_DEGIL, 0},
        {"  ", SAYI_FLOAT, SAYI_DEGIL, 0},
        {"0,001", SAYI_FLOAT, SAYI_TAMAM, static_cast<double>(0.001f)},
        {"2,5", SAYI_FLOAT, SAYI_TAMAM, 2.5},
        {".5", SAYI_FLOAT, SAYI_TAMAM, 0.5},
        {"0.5e1", SAYI_FLOAT, SAYI_TAMAM, 5},
        {"1e39", SAYI_FLOAT, SAYI_TAMAM, SONSUZ},
        {"-1e-50", SAYI_FLOAT, SAYI_TAMAM, 0},
        {"1e999", SAYI_DOUBLE, SAYI_TAMAM, SONSUZ},
        {"1e-999", SAYI_DOUBLE, SAYI_TAMAM, 0},
        {"0,1", SAYI_DOUBLE, SAYI_TAMAM, 0.1},
        {"1.000,5", SAYI_FLOAT, SAYI_DEGIL, 0},
        {"1,000,5", SAYI_FLOAT, SAYI_DEGIL, 0},
        {"0,5x", SAYI_FLOAT, SAYI_DEGIL, 0},
        {"nan", SAYI_FLOAT, SAYI_DEGIL, 0},
        {"٣", SAYI_FLOAT, SAYI_DEGIL, 0},
    };
    for (const auto& d : durumlar) {
        double deger = -1;
        EXPECT_EQ(SayiCoz(d.metin, d.tur, &deger), d.okunus) << d.metin;
        if (d.okunus == SAYI_TAMAM) EXPECT_EQ(deger, d.deger) << d.metin;
        else EXPECT_EQ(deger, -1) << d.metin << ": nothing written";
    }
}
