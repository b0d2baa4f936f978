#include "paralel.h"

#include <poll.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cikti.h"
#include "konsol.h"
#include "tam_yaz.h"

namespace {

// What a worker wrote to one of its output files since it was emptied; the
// file is emptied again.
std::string Bosalt(int fd) {
    std::string s;
    const off_t boy = lseek(fd, 0, SEEK_END);
    if (boy > 0) {
        s.resize(static_cast<size_t>(boy));
        size_t okunan = 0;
        while (okunan < s.size()) {
            const ssize_t r = pread(fd, &s[okunan], s.size() - okunan, static_cast<off_t>(okunan));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            okunan += static_cast<size_t>(r);
        }
        s.resize(okunan);
    }
    if (ftruncate(fd, 0) != 0) {}
    lseek(fd, 0, SEEK_SET);
    return s;
}

void Ekle64(std::string& s, uint64_t v) { s.append(reinterpret_cast<const char*>(&v), sizeof v); }

// One item's message: index, then three length-prefixed parts (result,
// standard output, standard error).
std::string Paket(size_t i, const std::string& sonuc, const std::string& cikis, const std::string& hata) {
    std::string p;
    Ekle64(p, i);
    for (const std::string* s : {&sonuc, &cikis, &hata}) {
        Ekle64(p, s->size());
        p += *s;
    }
    return p;
}

// Takes complete messages off the front of `tampon`.
struct SONUC {
    bool var = false;
    std::string sonuc, cikis, hata;
};

void PaketleriAl(std::string& tampon, size_t n, std::vector<SONUC>& sonuclar) {
    size_t k = 0;
    for (;;) {
        uint64_t v[4];
        if (tampon.size() - k < sizeof v[0]) break;
        std::memcpy(&v[0], tampon.data() + k, sizeof v[0]);
        size_t p = k + sizeof v[0];
        std::string parca[3];
        bool tam = true;
        for (int j = 0; j < 3 && tam; j++) {
            if (tampon.size() - p < sizeof v[0]) {
                tam = false;
                break;
            }
            std::memcpy(&v[j + 1], tampon.data() + p, sizeof v[0]);
            p += sizeof v[0];
            if (tampon.size() - p < v[j + 1]) {
                tam = false;
                break;
            }
            parca[j] = tampon.substr(p, v[j + 1]);
            p += v[j + 1];
        }
        if (!tam) break;
        if (v[0] < n) {
            SONUC& s = sonuclar[v[0]];
            s.var = true;
            s.sonuc.swap(parca[0]);
            s.cikis.swap(parca[1]);
            s.hata.swap(parca[2]);
        }
        k = p;
    }
    tampon.erase(0, k);
}

// A worker: items i, i + adim, ... into `yaz`; never returns.
[[noreturn]] void Isci(size_t ilk, size_t adim, size_t n, int yaz, const std::function<std::string(size_t)>& is) {
    // Whatever an item writes is caught in two memory files and sent with it.
    const int cikis = memfd_create("velmo-cikis", 0);
    const int hata = memfd_create("velmo-hata", 0);
    if (cikis < 0 || hata < 0 || dup2(cikis, 1) < 0 || dup2(hata, 2) < 0) _exit(1);
    for (size_t i = ilk; i < n; i += adim) {
        const std::string sonuc = is(i);
        KonsolBosalt();
        std::fflush(stdout);
        std::fflush(stderr);
        const std::string p = Paket(i, sonuc, Bosalt(cikis), Bosalt(hata));
        if (!TamYaz(yaz, p.data(), p.size())) _exit(1);
    }
    _exit(0);
}

// Starts up to `isci` workers, each with a pipe to read its results from.
// Fewer when the system gives no more; none with one worker.
void IscileriBaslat(size_t n, int isci, const std::function<std::string(size_t)>& is, std::vector<int>& okur,
                    std::vector<pid_t>& cocuklar) {
    if (isci <= 1) return;
    // Nothing buffered may be written twice, once by a worker too.
    KonsolBosalt();
    std::fflush(stdout);
    std::fflush(stderr);
    for (int w = 0; w < isci; w++) {
        int boru[2];
        if (pipe(boru) != 0) break;
        const pid_t pid = fork();
        if (pid < 0) {
            close(boru[0]);
            close(boru[1]);
            break;
        }
        if (pid == 0) {
            for (int o : okur) close(o);
            close(boru[0]);
            Isci(static_cast<size_t>(w), static_cast<size_t>(isci), n, boru[1], is);
        }
        close(boru[1]);
        okur.push_back(boru[0]);
        cocuklar.push_back(pid);
    }
}

// Reads the workers' pipes until every one is closed, calling `hazir` after
// each read; closes the pipes.
void BorulariOku(const std::vector<int>& okur, size_t n, std::vector<SONUC>& sonuclar,
                 const std::function<void()>& hazir) {
    std::vector<std::string> tamponlar(okur.size());
    std::vector<pollfd> bekle;
    for (int o : okur) bekle.push_back({o, POLLIN, 0});
    size_t acik = okur.size();
    while (acik > 0) {
        if (poll(bekle.data(), bekle.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (size_t w = 0; w < bekle.size(); w++) {
            if (bekle[w].fd < 0 || bekle[w].revents == 0) continue;
            char b[65536];
            const ssize_t r = read(bekle[w].fd, b, sizeof b);
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) {
                close(bekle[w].fd);
                bekle[w].fd = -1;
                acik--;
                continue;
            }
            tamponlar[w].append(b, static_cast<size_t>(r));
            PaketleriAl(tamponlar[w], n, sonuclar);
        }
        hazir();
    }
    for (pollfd& p : bekle)
        if (p.fd >= 0) close(p.fd);
}

}  // namespace

int IslemciSayisi() {
    const long n = sysconf(_SC_NPROCESSORS_ONLN);
    return n < 1 ? 1 : static_cast<int>(n);
}

void ParalelIsle(size_t n, int isci, const std::function<std::string(size_t)>& is,
                 const std::function<void(size_t, const std::string&)>& teslim) {
    if (isci > static_cast<int>(n)) isci = static_cast<int>(n);
    std::vector<SONUC> sonuclar(n);
    std::vector<int> okur;
    std::vector<pid_t> cocuklar;
    IscileriBaslat(n, isci, is, okur, cocuklar);

    size_t sira = 0;  // the next item to hand over
    auto Teslim = [&](size_t i) {
        SONUC& s = sonuclar[i];
        if (!s.cikis.empty()) KonsolHamYaz(s.cikis);
        HataHam(s.hata);
        teslim(i, s.sonuc);
        s = SONUC();
    };
    BorulariOku(okur, n, sonuclar, [&] {
        while (sira < n && sonuclar[sira].var) Teslim(sira++);
    });
    for (pid_t p : cocuklar) {
        int durum;
        while (waitpid(p, &durum, 0) < 0 && errno == EINTR) {
        }
    }
    // Here: everything with one worker, or what no worker delivered.
    for (; sira < n; sira++) {
        if (!sonuclar[sira].var) {
            sonuclar[sira].sonuc = is(sira);
            sonuclar[sira].var = true;
        }
        Teslim(sira);
    }
}
