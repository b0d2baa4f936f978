#include "bellek.h"

#include <gtest/gtest.h>

#include <climits>

#include "kancalar.h"

TEST(Calloc2B, ZeroFilledRowsContiguous) {
    float** a = Calloc2B<float>(4, 3, 4);
    ASSERT_NE(a, nullptr);
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 3; j++) EXPECT_EQ(a[i][j], 0.0f);
    for (int i = 0; i + 1 < 4; i++) {
        EXPECT_EQ(reinterpret_cast<char*>(a[i + 1]) - reinterpret_cast<char*>(a[i]), 12);
        EXPECT_EQ(&a[i][2] + 1, a[i + 1]);  // last of row i, then first of row i+1
    }
    // The whole matrix is one run of elements from row 0.
    for (int k = 0; k < 12; k++) a[0][k] = static_cast<float>(k);
    EXPECT_EQ(a[3][2], 11.0f);
    EXPECT_EQ(a[2][0], 6.0f);
    EXPECT_EQ(Free2B(a), 0);
}

TEST(Calloc2B, NullCases) {
    EXPECT_EQ(Calloc2B<float>(0, 5, 4), nullptr);
    EXPECT_EQ(Calloc2B<float>(5, 0, 4), nullptr);
    EXPECT_EQ(Calloc2B<float>(-1, 5, 4), nullptr);
    EXPECT_EQ(Calloc2B<float>(5, -3, 4), nullptr);
    EXPECT_EQ(Calloc2B<float>(INT_MAX, INT_MAX, 4), nullptr);  // no wrapped product
    EXPECT_EQ(Free2B<float>(nullptr), 0);
}

TEST(Calloc2B, FailingAllocationsHoldNothing) {
    bellek_hata_sirasi = 1;  // the block
    EXPECT_EQ(Calloc2B<float>(3, 3, 4), nullptr);
    bellek_hata_sirasi = 2;  // the row table, after the block: the block is released (LeakSanitizer)
    EXPECT_EQ(Calloc2B<float>(3, 3, 4), nullptr);
    EXPECT_EQ(bellek_hata_sirasi, 0);
    float** a = Calloc2B<float>(3, 3, 4);
    EXPECT_NE(a, nullptr);
    Free2B(a);
}
