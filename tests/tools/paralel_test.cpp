// Worker processes: results in item order, each item worked on once, an item
// of a worker that died worked on again here, output handed over with it.
#include "paralel.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cikti.h"
#include "konsol.h"

namespace {

struct Kayit {
    std::vector<size_t> sira;
    std::vector<std::string> sonuc;
};

Kayit Calistir(size_t n, int isci, const std::function<std::string(size_t)>& is) {
    Kayit k;
    ParalelIsle(n, isci, is, [&](size_t i, const std::string& s) {
        k.sira.push_back(i);
        k.sonuc.push_back(s);
    });
    return k;
}

}  // namespace

TEST(Paralel, ResultsInItemOrderWhateverTheWorkersAndTheirSpeed) {
    const pid_t ana = getpid();
    for (int isci : {1, 2, 3, 8, 100}) {
        size_t burada = 0;  // items worked on in this process
        const Kayit k = Calistir(37, isci, [&](size_t i) {
            if (getpid() == ana) burada++;
            if (i % 5 == 0) usleep(2000);  // uneven items finish out of order
            return std::string(i, 'x') + std::to_string(i * i) + std::string(1, '\0') + "son";
        });
        ASSERT_EQ(k.sira.size(), 37u) << isci;
        for (size_t i = 0; i < 37; i++) {
            EXPECT_EQ(k.sira[i], i);
            EXPECT_EQ(k.sonuc[i], std::string(i, 'x') + std::to_string(i * i) + std::string(1, '\0') + "son");
        }
        EXPECT_EQ(burada, isci == 1 ? 37u : 0u) << isci;
    }
    EXPECT_TRUE(Calistir(0, 4, [](size_t) { return std::string("?"); }).sira.empty());
}

TEST(Paralel, AnItemOfADeadWorkerIsWorkedOnHere) {
    const pid_t ana = getpid();
    std::vector<size_t> burada;
    const Kayit k = Calistir(20, 3, [&](size_t i) {
        if (getpid() != ana && i == 7) raise(SIGKILL);  // its worker dies before sending it
        if (getpid() == ana) burada.push_back(i);
        return std::to_string(i);
    });
    ASSERT_EQ(k.sonuc.size(), 20u);
    for (size_t i = 0; i < 20; i++) EXPECT_EQ(k.sonuc[i], std::to_string(i));
    // The dead worker had items 1, 4, 7, ...: the ones from 7 on come here.
    EXPECT_EQ(burada, (std::vector<size_t>{7, 10, 13, 16, 19}));
}

// Standard output and error of this process into files for a while.
struct Yakalayici {
    int eski[2], dosya[2];
    Yakalayici() {
        KonsolBosalt();
        for (int fd : {1, 2}) {
            char ad[] = "/tmp/velmo-paralel-XXXXXX";
            dosya[fd - 1] = mkstemp(ad);
            unlink(ad);
            eski[fd - 1] = dup(fd);
            dup2(dosya[fd - 1], fd);
        }
    }
    std::string Oku(int fd) {
        std::string s(static_cast<size_t>(lseek(dosya[fd - 1], 0, SEEK_END)), '\0');
        if (pread(dosya[fd - 1], &s[0], s.size(), 0) != static_cast<ssize_t>(s.size())) s.clear();
        return s;
    }
    ~Yakalayici() {
        for (int fd : {1, 2}) {
            dup2(eski[fd - 1], fd);
            close(eski[fd - 1]);
            close(dosya[fd - 1]);
        }
    }
};

TEST(Paralel, WhatAnItemPrintsComesJustBeforeItsResult) {
    for (int isci : {1, 3}) {
        std::string cikis, hata;
        {
            Yakalayici y;
            ParalelIsle(
                6, isci,
                [](size_t i) {
                    Cikti("yazı %zu\n", i);  // the console layer, as the tool prints
                    std::fprintf(stderr, "hata %zu\n", i);
                    std::fflush(stderr);
                    return std::string();
                },
                [&](size_t i, const std::string&) {
                    Cikti("sonuç %zu\n", i);
                    KonsolBosalt();
                    std::fprintf(stderr, "teslim %zu\n", i);
                    std::fflush(stderr);
                });
            KonsolBosalt();
            cikis = y.Oku(1);
            hata = y.Oku(2);
        }
        std::string c, h;
        for (size_t i = 0; i < 6; i++) {
            c += "yazı " + std::to_string(i) + "\nsonuç " + std::to_string(i) + "\n";
            h += "hata " + std::to_string(i) + "\nteslim " + std::to_string(i) + "\n";
        }
        EXPECT_EQ(cikis, c) << isci;
        EXPECT_EQ(hata, h) << isci;
    }
}
