// Detection and analysis on random audio with random settings, absurd ones
// included: no crash, no read outside the buffers (the sanitizer build
// checks), and the segment always lies inside the recording.
#include <climits>

#include "dsp_ortak.h"
#include "lpc.h"
#include "sinir.h"

namespace {

class RastgeleTest : public DspTest {};

TEST_F(RastgeleTest, AnySettingsAnyAudio) {
    unsigned d = 12345;
    // Mostly the first (working) value, so that the later steps run too.
    auto sec = [&](std::initializer_list<int> havuz) {
        if (TestRastgele(d) % 6 != 0) return *havuz.begin();
        const int i = static_cast<int>(TestRastgele(d) % (havuz.size() + 1));
        if (i == static_cast<int>(havuz.size())) return static_cast<int>(TestRastgele(d) % 2001) - 1000;
        return *(havuz.begin() + i);
    };
    for (int tur = 0; tur < 300; tur++) {
        Sifirla(2);
        KURALDOSYABASLIK& b = ayr.kdbaslik;
        b.ks = sec({1, 2, 0});
        b.oc = sec({16, 8, 0});
        b.oo = sec({12000, 4000, 1000, 999, 192000, 192001, 0, -1, INT_MAX, INT_MIN});
        b.kpensu = sec({10, 1, 0, -1, 3, 1000, INT_MAX, INT_MIN});
        b.yee = sec({375, 0, -1, 1, 40000, INT_MAX, INT_MIN});
        b.aee = sec({200, 0, -1, 500, 40000, INT_MIN, INT_MAX});
        b.bsge = sec({10, 0, -1, 1000, INT_MIN, INT_MAX});
        b.pensu = sec({20, 0, 1, 2, 100, 101, -1, INT_MAX, INT_MIN});
        b.admsu = sec({10, 0, 1, -1, 1000, INT_MAX, INT_MIN});
        b.n = sec({15, 0, 1, 99, 100, -1, INT_MAX});
        const int n1 = b.n < INT_MAX - 1 ? b.n + 1 : b.n, n2 = b.n < INT_MAX - 1 ? b.n + 2 : b.n;
        b.p = sec({10, 0, 1, b.n, n1, n2, -1, INT_MAX});
        b.m = sec({15, 0, 1, n1, n2, -1, INT_MAX});

        std::vector<short> x(TestRastgele(d) % 3000);
        const int genlik = static_cast<int>(TestRastgele(d) % 32768);
        for (auto& v : x)
            v = static_cast<short>(static_cast<int>(TestRastgele(d) % (2 * genlik + 1)) - genlik);
        Kayit(x);

        const int sonuc = UcNoktalar();
        if (sonuc == 0) {
            ASSERT_GE(ayr.bsl, ayr.kyt);
            ASSERT_GE(ayr.uzn, 0);
            ASSERT_LE(ayr.bsl + ayr.uzn, ayr.kyt + ayr.kytu);
        } else {
            ASSERT_EQ(ayr.bsl, nullptr);
            ASSERT_EQ(ayr.uzn, 0);
        }
        // Analyse the found segment, then the whole recording from its
        // middle on, so frames run past the end of the buffer.
        for (int kez = 0; kez < 2; kez++) {
            if (kez == 1 && !x.empty()) {
                ayr.bsl = ayr.kyt + 2 * (x.size() / 2);
                ayr.uzn = ayr.kytu - 2 * static_cast<int>(x.size() / 2);
            }
            Sifirla(5);
            ayr.r = -5;
            if (LPC() == 0) {
                ASSERT_GE(ayr.r, 0);
                ASSERT_NE(ayr.Ci, nullptr);
            } else {
                ASSERT_EQ(ayr.r, -5);
            }
        }
        // Every message is one whole line.
        ASSERT_TRUE(cikti.empty() || cikti.back() == '\n') << cikti;
        cikti.clear();
    }
}

}  // namespace
