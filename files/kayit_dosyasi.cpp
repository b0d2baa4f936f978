#include "kayit_dosyasi.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Writes the samples to `yol` (created or truncated) as a WAV file and
// flushes it to the disk; an errno-like reason on failure, 0 on success.
int WavYaz(const std::string& yol, const int16_t* x, size_t n, int oo, std::string* neden) {
    const int fd = open(yol.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        *neden = SistemNedeni(errno);
        return 1;
    }
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
        *neden = e != 0 ? SistemNedeni(e) : "yazma hatası";
        return 1;
    }
    return 0;
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
    // Writable as a take is written: a file made with O_EXCL and removed.
    std::string deneme = dizin + "/.velmo-denemeXXXXXX";
    const int fd = mkstemp(deneme.data());
    if (fd < 0) {
        Yaz("Kayıt dizinine %s yazılamıyor: %s.\n", g.c_str(), SistemNedeni(errno).c_str());
        return 1;
    }
    close(fd);
    unlink(deneme.c_str());
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
    // The name is taken first, with O_EXCL: a name someone else took in the
    // meantime moves the take on to the next number.
    std::string hedef;
    int fd = -1;
    for (long numara = EnBuyukKayitNumarasi(dizin) + 1; numara <= EN_BUYUK_NUMARA; numara++) {
        char no[24];
        std::snprintf(no, sizeof no, "%04ld", numara);
        hedef = dizin + "/" + no + ek;
        fd = open(hedef.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) break;
    }
    if (fd < 0) {
        Yaz("Kayıt dosyaya yazılamadı: %s: %s.\n", Gorunur(hedef).c_str(), SistemNedeni(errno).c_str());
        return 1;
    }
    close(fd);
    // Both files go on every failure, and on an interrupt.
    YARIM_DOSYA ayrilan(hedef, true);
    YARIM_DOSYA yazilan(dizin + "/." + hedef.substr(dizin.size() + 1) + ".yaziliyor", true);
    std::string neden;
    if (WavYaz(yazilan.Yol(), x, n, oo, &neden) != 0) {
        Yaz("Kayıt dosyaya yazılamadı: %s: %s.\n", Gorunur(hedef).c_str(), neden.c_str());
        return 1;
    }
    // The complete file replaces the empty one that holds its name. An
    // interrupt must never find the complete take under a name it removes,
    // so the reserved name is let go first, while the temporary name is
    // still removed by an interrupt:
    // - before the rename, an interrupt removes the complete file under its
    //   temporary name and leaves the reserved name as an empty file (the
    //   take was cut short; the next one numbers past it);
    // - after it, an interrupt removes only the temporary name, which no
    //   longer exists (nobody else makes it: its number is ours).
    // Letting go of the reserved name after the rename instead would leave a
    // moment in which Ctrl-C deletes the finished take.
    ayrilan.Tut();
    if (std::rename(yazilan.Yol().c_str(), hedef.c_str()) != 0) {
        const int hata = errno;
        unlink(hedef.c_str());
        Yaz("Kayıt dosyaya yazılamadı: %s: %s.\n", Gorunur(hedef).c_str(), SistemNedeni(hata).c_str());
        return 1;
    }
    yazilan.Tut();
    if (ad != nullptr) *ad = hedef;
    return 0;
}
