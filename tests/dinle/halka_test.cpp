// The ring between the device thread and the listening loop.
#include "halka.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

TEST(Halka, WrapsAroundAndCountsWhatDoesNotFit) {
    HALKA h(5);  // rounded up to 8
    ASSERT_EQ(h.Kapasite(), 8u);
    std::vector<int16_t> a{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(h.Yaz(a.data(), 6), 6u);
    std::vector<int16_t> b(4);
    EXPECT_EQ(h.Oku(b.data(), 4), 4u);
    EXPECT_EQ(b, (std::vector<int16_t>{1, 2, 3, 4}));
    // 2 left; 6 more fit exactly across the end of the storage, 3 do not.
    std::vector<int16_t> c{7, 8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(h.Yaz(c.data(), 9), 6u);
    EXPECT_EQ(h.KayipAl(), 3u);
    EXPECT_EQ(h.KayipAl(), 0u);
    std::vector<int16_t> d(10);
    EXPECT_EQ(h.Oku(d.data(), 10), 8u);
    d.resize(8);
    EXPECT_EQ(d, (std::vector<int16_t>{5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(h.Oku(d.data(), 1), 0u);
    h.KayipEkle(7);
    EXPECT_EQ(h.KayipAl(), 7u);
}

// What a device callback hands over: samples into the ring, a block the
// device could not give counted lost, an overrun counted apart (its loss
// has no size) and never mistaken for no loss.
TEST(Halka, DeviceBlocksOverrunsAndMissingInput) {
    HALKA h(16);
    const int16_t a[4] = {1, 2, 3, 4};
    h.AygitBlogu(a, 4, false);
    EXPECT_EQ(h.TasmaAl(), 0u);
    h.AygitBlogu(a, 4, true);
    h.AygitBlogu(nullptr, 5, false);
    h.AygitBlogu(nullptr, 3, true);
    EXPECT_EQ(h.Dolu(), 8u);
    EXPECT_EQ(h.KayipAl(), 8u);
    EXPECT_EQ(h.TasmaAl(), 2u);
    EXPECT_EQ(h.TasmaAl(), 0u);
    int16_t b[8];
    ASSERT_EQ(h.Oku(b, 8), 8u);
    EXPECT_EQ(b[4], 1);
    EXPECT_EQ(b[7], 4);
}

// A writer thread pushing a counting sequence in odd-sized blocks while the
// reader drains it: the reader gets exactly what the writer says it wrote,
// in order, and everything else is counted lost.
TEST(Halka, OneWriterOneReaderLoseNothingSilently) {
    HALKA h(64);
    const int toplam = 200000;
    std::vector<int16_t> yazilan;
    std::thread yazan([&] {
        int16_t blok[37];
        int k = 0;
        while (k < toplam) {
            int n = 0;
            for (; n < 37 && k < toplam; n++, k++) blok[n] = static_cast<int16_t>(k & 0x7fff);
            const size_t w = h.Yaz(blok, static_cast<size_t>(n));
            yazilan.insert(yazilan.end(), blok, blok + w);
            if ((k / 37) % 64 == 0) std::this_thread::yield();
        }
    });
    std::vector<int16_t> alinan;
    size_t kayip = 0;
    int16_t b[50];
    while (alinan.size() + kayip < static_cast<size_t>(toplam)) {
        const size_t n = h.Oku(b, 50);
        alinan.insert(alinan.end(), b, b + n);
        kayip += h.KayipAl();
    }
    yazan.join();
    kayip += h.KayipAl();
    EXPECT_TRUE(alinan == yazilan);
    EXPECT_EQ(alinan.size() + kayip, static_cast<size_t>(toplam));
}
