#include "eski_gecici.h"
#include "kayit_dosyasi.h"

#include <dirent.h>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "kodlama.h"
#include "mesaj.h"
#include "yarim.h"

namespace {

namespace fs = std::filesystem;

// Numbers above this are not taken for a take's number (nor counted).
const long EN_BUYUK_NUMARA = 999999999;

// The number a name "DIGITS.wav" or "DIGITS-ANYTHING.wav" carries, or -1.
long Numara(const std::string& ad) {
    if (ad.size() < 5 || ad.compare(ad.size() - 4, 4, ".wav") != 0) return -1;
    size_t i = 0;
    long n = 0;
    while (i < ad.size() && ad[i] >= '0' && ad[i] <= '9') {
        if (i == 9) return -1;
        n = n * 10 + (ad[i++] - '0');
    }
    if (i == 0 || (ad[i] != '-' && ad[i] != '.')) return -1;
    if (ad[i] == '.' && i + 4 != ad.size()) return -1;
    return n;
}

// A label fit for a file name: blanks, separators and control characters
// become "_"; at most 60 bytes, never cutting a UTF-8 character.
std::string DosyaEtiketi(const std::string& etiket) {
    std::string s;
    for (unsigned char c : etiket) {
        const bool kotu = c <= 0x20 || c == 0x7F || c == '/' || c == '\\';
        s.push_back(kotu ? '_' : static_cast<char>(c));
    }
    if (s.size() > 60) {
        size_t k = 60;
        while (k > 0 && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80) k--;
        s.resize(k);
    }
    return s;
}

// Temporary files of takes being written: the prefix and six characters
// mkstemp chose. Their names cannot be guessed, and they never carry a
// number, so a take that never finished holds no numbered name.
constexpr char GECICI_ONEK[] = ".velmo-kayit-";
constexpr size_t GECICI_ONEK_BOYU = sizeof GECICI_ONEK - 1;

// Earlier versions wrote a take under "." + its numbered name + ".yaziliyor"
// (after reserving the numbered name empty); one left by a killed save of
// theirs is removed with the others.
constexpr char ESKI_SON[] = ".yaziliyor";
constexpr size_t ESKI_SON_BOYU = sizeof ESKI_SON - 1;

bool GeciciAdi(const char* adp) {
    const std::string ad = adp;
    if (ad.size() > ESKI_SON_BOYU + 1 && ad[0] == '.' &&
        ad.compare(ad.size() - ESKI_SON_BOYU, ESKI_SON_BOYU, ESKI_SON) == 0)
        return Numara(ad.substr(1, ad.size() - 1 - ESKI_SON_BOYU)) >= 0;
    if (ad.size() != GECICI_ONEK_BOYU + 6 || ad.compare(0, GECICI_ONEK_BOYU, GECICI_ONEK) != 0) return false;
    for (size_t i = GECICI_ONEK_BOYU; i < ad.size(); i++)
        if (!std::isalnum(static_cast<unsigned char>(ad[i]))) return false;
    return true;
}

// A new temporary file in `dizin`, open for writing with the bits a take
// has always had (0644 less the umask); -1 with errno on failure.
int GeciciAc(const std::string& dizin, std::string* yol) {
    *yol = dizin + "/" + GECICI_ONEK + "XXXXXX";
    const int fd = mkostemp(yol->data(), O_CLOEXEC);
    if (fd < 0) return -1;
    const mode_t maske = umask(0);
    umask(maske);
    if (fchmod(fd, 0644 & ~maske) != 0) {
        const int e = errno;
        close(fd);
        unlink(yol->c_str());
        errno = e;
        return -1;
    }
    return fd;
}

// Writes the samples to the open file `fd` as a WAV file and flushes it to
// the disk, closing `fd`; an errno-like reason on failure, 0 on success.
int WavYaz(int fd, const int16_t* x, size_t n, int oo, std::string* neden) {
    SF_INFO bilgi{};
    bilgi.samplerate = oo;
    bilgi.channels = 1;
    bilgi.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open_fd(fd, SFM_WRITE, &bilgi, SF_FALSE);
    if (f == nullptr) {
        *neden = sf_strerror(nullptr);
        close(fd);
        return 1;
    }
    errno = 0;
    const sf_count_t yazilan = sf_write_short(f, x, static_cast<sf_count_t>(n));
    const int yazmaHatasi = errno;
    const bool tamam = yazilan == static_cast<sf_count_t>(n) && sf_error(f) == SF_ERR_NO_ERROR;
    const int kapat = sf_close(f);
    const int esle = fsync(fd) == 0 ? 0 : errno;
    const int son = close(fd) == 0 ? 0 : errno;
    if (!tamam || kapat != 0 || esle != 0 || son != 0) {
        const int e = yazmaHatasi != 0 ? yazmaHatasi : esle != 0 ? esle : son;
        *neden = e != 0 ? SistemNedeni(e) : Ceviri("yazma hatası");
        return 1;
    }
    return 0;
}

// Gives the complete file `gecici` the name `hedef` only if no file holds
// it at this very moment; 0, or errno (EEXIST: the name is taken).
int YeniAdVer(const std::string& gecici, const std::string& hedef) {
    if (renameat2(AT_FDCWD, gecici.c_str(), AT_FDCWD, hedef.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
    // A file system without the flag: a hard link fails the same way when
    // the name exists; the temporary name goes afterwards.
    if (link(gecici.c_str(), hedef.c_str()) != 0) return errno;
    unlink(gecici.c_str());
    return 0;
}

// Every number is taken: said once, naming the directory.
void NumaraKalmadi(const std::string& dizin) {
    Yaz("Kayıt dizini %s: yeni kayda numara kalmadı (%ld numaralı kayıt var, daha büyüğü verilmez); kayıt "
        "saklanamaz.\n",
        Gorunur(dizin).c_str(), EN_BUYUK_NUMARA);
}

std::string KayitAdi(const std::string& dizin, long numara, const std::string& ek) {
    char no[24];
    std::snprintf(no, sizeof no, "%04ld", numara);
    return dizin + "/" + no + ek;
}

}  // namespace

int KayitDiziniHazirla(const std::string& dizin) {
    const std::string g = Gorunur(dizin);
    if (dizin.empty()) {
        Yaz("Kayıt dizini boş olamaz.\n");
        return 1;
    }
    std::error_code h;
    fs::create_directories(dizin, h);
    if (!fs::is_directory(dizin)) {
        Yaz("Kayıt dizini %s yapılamıyor ya da dizin değil%s%s.\n", g.c_str(), h ? ": " : "",
            h ? SistemNedeni(h.value()).c_str() : "");
        return 1;
    }
    EskiGecicileriSil(dizin, GeciciAdi);
    // Writable as a take is written: a temporary file made and removed.
    std::string deneme;
    const int fd = GeciciAc(dizin, &deneme);
    if (fd < 0) {
        Yaz("Kayıt dizinine %s yazılamıyor: %s.\n", g.c_str(), SistemNedeni(errno).c_str());
        return 1;
    }
    close(fd);
    unlink(deneme.c_str());
    if (EnBuyukKayitNumarasi(dizin) >= EN_BUYUK_NUMARA) {
        NumaraKalmadi(dizin);
        return 1;
    }
    return 0;
}

long EnBuyukKayitNumarasi(const std::string& dizin) {
    long en = 0;
    std::error_code h;
    for (fs::directory_iterator i(dizin, h), son; !h && i != son; i.increment(h)) {
        const long n = Numara(i->path().filename().string());
        if (n > en) en = n;
    }
    return en;
}

int KayitDosyasiYaz(const std::string& dizin, const std::string& etiket, const int16_t* x, size_t n, int oo,
                    std::string* ad) {
    if (x == nullptr || n == 0 || oo < 1) {
        Yaz("Kayıt dosyaya yazılamadı: kayıt yok ya da biçimi bilinmiyor.\n");
        return 1;
    }
    const std::string ek = (etiket.empty() ? "" : "-" + DosyaEtiketi(etiket)) + ".wav";
    long numara = EnBuyukKayitNumarasi(dizin) + 1;
    if (numara > EN_BUYUK_NUMARA) {
        NumaraKalmadi(dizin);
        return 1;
    }
    std::string hedef = KayitAdi(dizin, numara, ek);
    // The whole take is written under a temporary name first; an interrupt
    // (and every failure) removes it.
    std::string gecici;
    const int fd = GeciciAc(dizin, &gecici);
    if (fd < 0) {
        Yaz("Kayıt dosyaya yazılamadı: %s: %s.\n", Gorunur(hedef).c_str(), SistemNedeni(errno).c_str());
        return 1;
    }
    YARIM_DOSYA yazilan(gecici, true);
    std::string neden;
    if (WavYaz(fd, x, n, oo, &neden) != 0) {
        Yaz("Kayıt dosyaya yazılamadı: %s: %s.\n", Gorunur(hedef).c_str(), neden.c_str());
        return 1;
    }
    // Then it takes the next free number: a name someone else took in the
    // meantime moves it on to the next one. Renamed, the temporary name no
    // longer exists, so an interrupt before Tut() removes nothing.
    for (;;) {
        const int hata = YeniAdVer(gecici, hedef);
        if (hata == 0) break;
        if (hata != EEXIST) {
            Yaz("Kayıt dosyaya yazılamadı: %s: %s.\n", Gorunur(hedef).c_str(), SistemNedeni(hata).c_str());
            return 1;
        }
        if (++numara > EN_BUYUK_NUMARA) {
            NumaraKalmadi(dizin);
            return 1;
        }
        hedef = KayitAdi(dizin, numara, ek);
    }
    yazilan.Tut();
    if (ad != nullptr) *ad = hedef;
    return 0;
}

std::vector<std::string> EtiketinKayitlari(const std::string& dizin, const std::string& etiket) {
    const std::string ek = "-" + DosyaEtiketi(etiket) + ".wav";
    std::vector<std::pair<long, std::string>> bulunan;
    std::error_code h;
    for (fs::directory_iterator i(dizin, h), son; !h && i != son; i.increment(h)) {
        const std::string ad = i->path().filename().string();
        const size_t cizgi = ad.find('-');
        std::error_code th;
        if (Numara(ad) < 0 || cizgi == std::string::npos || ad.compare(cizgi, std::string::npos, ek) != 0 ||
            !i->is_regular_file(th))
            continue;
        bulunan.emplace_back(Numara(ad), i->path().string());
    }
    std::sort(bulunan.begin(), bulunan.end());
    std::vector<std::string> adlar;
    for (auto& b : bulunan) adlar.push_back(std::move(b.second));
    return adlar;
}
