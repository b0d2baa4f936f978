#include "komutlar.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <cstring>
#include <set>
#include <sstream>

#include "cikti.h"
#include "kodlama.h"
#include "mesaj.h"
#include "velmo.h"

namespace {

std::string Kirp(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    const size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

}  // namespace

bool KomutMetniCoz(const std::string& metin, const std::string& ad, std::vector<KOMUT>& komutlar, std::string* hata) {
    komutlar.clear();
    std::set<std::string> gorulen;
    std::istringstream g(metin);
    std::string satir;
    int no = 0;
    auto yanlis = [&](const std::string& neden) {
        *hata = ad + ":" + std::to_string(no) + ": " + neden;
        komutlar.clear();
        return false;
    };
    while (std::getline(g, satir)) {
        no++;
        if (!satir.empty() && satir.back() == '\r') satir.pop_back();
        // Before comments are skipped: with CR-only line ends the whole file
        // would be one line, a comment, and every command lost unseen.
        if (satir.find('\r') != std::string::npos)
            return yanlis(Ceviri("satırın içinde CR var (satır sonu LF ya da CRLF olmalı; yalnız CR ile biten "
                                 "satırlar ayrılmaz)."));
        if (satir.find('\0') != std::string::npos) return yanlis(Ceviri("satırda NUL baytı var."));
        const std::string k = Kirp(satir);
        if (k.empty() || k[0] == '#') continue;
        if (Utf8Onar(satir) != satir) return yanlis(Ceviri("UTF-8 olmayan metin."));
        const size_t t = satir.find('\t');
        if (t == std::string::npos) return yanlis(Ceviri("sözcük ile komut arasında sekme (TAB) yok."));
        KOMUT c;
        c.soz = Kirp(satir.substr(0, t));
        c.komut = Kirp(satir.substr(t + 1));
        c.satir = no;
        if (c.soz.empty()) return yanlis(Ceviri("sözcük boş."));
        if (c.komut.empty()) return yanlis(Ceviri("komut boş."));
        std::string cp;
        if (!Utf8den1254(c.soz, cp) || cp.size() >= SOZ_BOYU)
            return yanlis(Bicimle(Ceviri("\"%s\" bir kural dosyasının tutabileceği bir sözcük değil (en çok %d "
                                         "Windows-1254 baytı)."),
                                  Gorunur(c.soz).c_str(), static_cast<int>(SOZ_BOYU - 1)));
        if (!gorulen.insert(c.soz).second)
            return yanlis(Bicimle(Ceviri("\"%s\" sözcüğünün komutu ikinci kez verilmiş."), Gorunur(c.soz).c_str()));
        komutlar.push_back(c);
    }
    return true;
}

bool KomutlariOku(const std::string& dosya, std::vector<KOMUT>& komutlar, std::string* hata) {
    komutlar.clear();
    const std::string ad = Gorunur(dosya);
    // Without blocking, so that a pipe is refused rather than waited on.
    const int fd = open(dosya.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const std::string neden = SistemNedeni(errno);
        *hata = Bicimle(Ceviri("%s: okunamıyor (%s)."), ad.c_str(), neden.c_str());
        return false;
    }
    std::string metin, sorun;
    struct stat st;
    if (fstat(fd, &st) != 0) {
        const std::string neden = SistemNedeni(errno);
        sorun = Bicimle(Ceviri("okunamıyor (%s)."), neden.c_str());
    } else if (!S_ISREG(st.st_mode)) {
        sorun = Ceviri("sıradan bir dosya değil.");
    } else {
        // One byte beyond the limit tells a file too big, or one that grew
        // since fstat.
        metin.resize(static_cast<size_t>(st.st_size) > KOMUT_DOSYASI_EN_COK ? 0 : KOMUT_DOSYASI_EN_COK + 1);
        size_t n = 0;
        while (n < metin.size()) {
            const ssize_t k = read(fd, &metin[n], metin.size() - n);
            if (k < 0 && errno == EINTR) continue;
            if (k < 0) {
                const std::string neden = SistemNedeni(errno);
                sorun = Bicimle(Ceviri("okunamıyor (%s)."), neden.c_str());
            }
            if (k <= 0) break;
            n += static_cast<size_t>(k);
        }
        metin.resize(n);
        if (static_cast<size_t>(st.st_size) > KOMUT_DOSYASI_EN_COK || n > KOMUT_DOSYASI_EN_COK)
            sorun = Bicimle(Ceviri("komut dosyası çok büyük (en çok %zu MB)."), KOMUT_DOSYASI_EN_COK >> 20);
    }
    close(fd);
    if (!sorun.empty()) {
        *hata = ad + ": " + sorun;
        return false;
    }
    return KomutMetniCoz(metin, ad, komutlar, hata);
}

const KOMUT* KomutBul(const std::vector<KOMUT>& komutlar, const std::string& soz) {
    for (const KOMUT& k : komutlar)
        if (k.soz == soz) return &k;
    return nullptr;
}

bool KOMUT_CALISTIRICI::Baslat(const KOMUT& k, const std::string& puan, const std::string& dosya, std::string* hata) {
    IS is{k, puan, dosya};
    if (calisan_.size() < KOMUT_EN_COK_CALISAN) return Calistir(is, hata);
    if (sirada_.size() < KOMUT_EN_COK_SIRADA) {
        sirada_.push_back(std::move(is));
        return true;
    }
    *hata = Bicimle(Ceviri("%zu komut çalışıyor, %zu komut sırada; bu komut çalıştırılmadı"), calisan_.size(),
                    sirada_.size());
    return false;
}

bool KOMUT_CALISTIRICI::Calistir(const IS& is, std::string* hata) {
    const KOMUT& k = is.komut;
    // Everything the child needs is made before fork: after it only
    // async-signal-safe calls are allowed.
    std::vector<std::string> ortam;
    for (char** e = environ; *e != nullptr; e++) {
        if (std::strncmp(*e, "VELMO_SOZ=", 10) == 0 || std::strncmp(*e, "VELMO_PUAN=", 11) == 0 ||
            std::strncmp(*e, "VELMO_DOSYA=", 12) == 0)
            continue;
        ortam.emplace_back(*e);
    }
    ortam.push_back("VELMO_SOZ=" + k.soz);
    ortam.push_back("VELMO_PUAN=" + is.puan);
    ortam.push_back("VELMO_DOSYA=" + is.dosya);
    std::vector<char*> ep;
    for (std::string& s : ortam) ep.push_back(s.data());
    ep.push_back(nullptr);
    const char* argv[] = {"sh", "-c", k.komut.c_str(), nullptr};

    const pid_t p = fork();
    if (p < 0) {
        const int e = errno;
        *hata = Bicimle(Ceviri("komut başlatılamadı (%s)"), std::strerror(e));
        return false;
    }
    if (p == 0) {
        const int bos = open("/dev/null", O_RDONLY);
        if (bos >= 0) {
            dup2(bos, 0);
            if (bos > 2) close(bos);
        }
        // Standard output carries the result lines (JSON ones too): what a
        // command prints goes to standard error beside its exit status.
        dup2(2, 1);
        // A group of its own: Ctrl-C at the terminal stops the listening,
        // not the commands it started.
        setpgid(0, 0);
        sigset_t hepsi;
        sigemptyset(&hepsi);
        sigprocmask(SIG_SETMASK, &hepsi, nullptr);
        execve("/bin/sh", const_cast<char* const*>(argv), ep.data());
        _exit(127);
    }
    calisan_[p] = CALISAN{k.soz, k.satir};
    return true;
}

void KOMUT_CALISTIRICI::Bitenler(std::string* rapor) {
    for (auto i = calisan_.begin(); i != calisan_.end();) {
        int durum = 0;
        pid_t r;
        do {
            r = waitpid(i->first, &durum, WNOHANG);
        } while (r < 0 && errno == EINTR);
        if (r == 0) {
            ++i;
            continue;
        }
        const std::string soz = Gorunur(i->second.soz);
        const int satir = i->second.satir, surec = static_cast<int>(i->first);
        if (r < 0)
            *rapor += Bicimle(Ceviri("komut \"%s\" (satır %d, süreç %d) izlenemedi.\n"), soz.c_str(), satir, surec);
        else if (WIFEXITED(durum))
            *rapor += Bicimle(Ceviri("komut \"%s\" (satır %d, süreç %d) bitti: çıkış durumu %d.\n"), soz.c_str(), satir,
                              surec, WEXITSTATUS(durum));
        else if (WIFSIGNALED(durum))
            *rapor += Bicimle(Ceviri("komut \"%s\" (satır %d, süreç %d) sinyalle sonlandı: %d.\n"), soz.c_str(),
                              satir, surec, WTERMSIG(durum));
        else
            *rapor += Bicimle(Ceviri("komut \"%s\" (satır %d, süreç %d) bitti.\n"), soz.c_str(), satir, surec);
        i = calisan_.erase(i);
    }
    // Room made: the waiting ones start, oldest first.
    while (!sirada_.empty() && calisan_.size() < KOMUT_EN_COK_CALISAN) {
        const IS is = std::move(sirada_.front());
        sirada_.pop_front();
        std::string hata;
        if (!Calistir(is, &hata))
            *rapor += Bicimle(Ceviri("komut \"%s\": %s\n"), Gorunur(is.komut.soz).c_str(), hata.c_str());
    }
}

void KOMUT_CALISTIRICI::Topla(bool bekle, std::string* rapor, const volatile sig_atomic_t* dur) {
    Bitenler(rapor);
    // Polled rather than blocked in waitpid: a signal between a check of
    // *dur and the wait could not end it.
    while (bekle && !calisan_.empty() && (dur == nullptr || *dur == 0)) {
        const timespec adim{0, 10 * 1000 * 1000};
        nanosleep(&adim, nullptr);
        Bitenler(rapor);
    }
}
