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

// A writer thread pushing a counting sequence in odd-sized blocks while the
// reader drains it: every sample arrives once and in order, or is counted lost.
TEST(Halka, OneWriterOneReaderLoseNothingSilently) {
    HALKA h(64);
    const int toplam = 200000;
    std::thread yazan([&] {
        int16_t blok[37];
        int k = 0;
        while (k < toplam) {
            int n = 0;
            for (; n < 37 && k < toplam; n++, k++) blok[n] = static_cast<int16_t>(k & 0x7fff);
            h.Yaz(blok, static_cast<size_t>(n));
            if ((k / 37) % 64 == 0) std::this_thread::yield();
        }
    });
    size_t alinan = 0, kayip = 0;
    int beklenen = -1;
    bool sira = true;
    int16_t b[50];
    while (alinan + kayip < static_cast<size_t>(toplam)) {
        const size_t n = h.Oku(b, 50);
        for (size_t i = 0; i < n; i++) {
            // Values only grow (modulo 2^15), lost ones are skipped.
            const int v = b[i];
            const int adim = (v - beklenen + 32768) % 32768;
            if (beklenen >= 0 && (adim == 0 || adim > 16384)) sira = false;
            beklenen = v;
        }
        alinan += n;
        kayip += h.KayipAl();
    }
    yazan.join();
    kayip += h.KayipAl();
    EXPECT_TRUE(sira);
    EXPECT_EQ(alinan + kayip, static_cast<size_t>(toplam));
}
