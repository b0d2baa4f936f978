#include "dosya.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bellek.h"
#include "kodlama.h"
#include "konsol.h"
#include "sinir.h"
#include "vq3.h"

// The header and the codebook are stored as they lie in memory.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "codebook files are little-endian");

namespace {

// Closes a descriptor on every path.
struct Tanitici {
    int fd;
    explicit Tanitici(int f) : fd(f) {}
    ~Tanitici() {
        if (fd >= 0) close(fd);
    }
    Tanitici(const Tanitici&) = delete;
    Tanitici& operator=(const Tanitici&) = delete;
};

// Reads up to `boy` bytes; the count read (short only at end of file or on error).
size_t TamOku(int fd, void* hedef, size_t boy) {
    char* p = static_cast<char*>(hedef);
    size_t okunan = 0;
    while (okunan < boy) {
        ssize_t k = read(fd, p + okunan, boy - okunan);
        if (k < 0 && errno == EINTR) continue;
        if (k <= 0) break;
        okunan += static_cast<size_t>(k);
    }
    return okunan;
}

std::string Metin(const char* p, size_t enfazla) { return std::string(p, strnlen(p, enfazla)); }

// Appends formatted text to `cikti` as it is.
void EkleV(std::string& cikti, const char* bicim, va_list a) { cikti += BicimleV(bicim, a); }

void Ekle(std::string& cikti, const char* bicim, ...) {
    va_list a;
    va_start(a, bicim);
    EkleV(cikti, bicim, a);
    va_end(a);
}

// Appends a line to a Windows-1254 text: the UTF-8 format is converted, the
// arguments (already Windows-1254 or ASCII) are formatted into it as they are.
void Satir(std::string& cikti, const char* utf8bicim, ...) {
    const std::string bicim = Cp1254(utf8bicim);
    va_list a;
    va_start(a, utf8bicim);
    EkleV(cikti, bicim.c_str(), a);
    va_end(a);
}

// Writes what `yaz` puts into the stream to `hedef` atomically: a temporary
// file in the same directory, every write, the flush, the sync and the close
// checked, then renamed over the target. On failure the temporary file is
// removed, the earlier file is as it was, the message is printed, result 1.
int AtomikYaz(const std::string& hedef, const std::function<bool(std::FILE*)>& yaz) {
    struct stat st;
    if (stat(hedef.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        // Never rename over a device, a directory or a pipe.
        Yaz("%s sıradan bir dosya değil; yazılamıyor.\n", hedef.c_str());
        return 1;
    }
    const size_t bolu = hedef.rfind('/');
    const std::string dizin = bolu == std::string::npos ? std::string() : hedef.substr(0, bolu + 1);
    std::string gecici = dizin + ".velmo-XXXXXX";
    const int fd = mkstemp(&gecici[0]);
    if (fd < 0) {
        Yaz("%s açılamıyor.\n", hedef.c_str());
        return 1;
    }
    const mode_t maske = umask(0);
    umask(maske);
    bool tamam = fchmod(fd, 0666 & ~maske) == 0;
    std::FILE* f = fdopen(fd, "wb");
    if (f == nullptr) {
        close(fd);
        tamam = false;
    } else {
        tamam = yaz(f) && tamam;
        tamam = tamam && std::fflush(f) == 0 && fsync(fd) == 0;
        if (std::fclose(f) != 0) tamam = false;
    }
    if (tamam && std::rename(gecici.c_str(), hedef.c_str()) == 0) {
        // Make the rename itself durable; the file is already in place, so
        // a directory that cannot be synced is not a failed save.
        const int dfd = open(dizin.empty() ? "." : dizin.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd >= 0) {
            fsync(dfd);
            close(dfd);
        }
        return 0;
    }
    unlink(gecici.c_str());
    Yaz("%s yazılamıyor.\n", hedef.c_str());
    return 1;
}

// A save needs a file name and a codebook of usable size in memory.
bool KayitOlabilir(const char* ne) {
    if (strnlen(ayr.kdad, KDAD_BOYU) == 0 || strnlen(ayr.kdad, KDAD_BOYU) == KDAD_BOYU) {
        Yaz("Kural dosyası adı seçilmedi; %s yazılmadı.\n", ne);
        return false;
    }
    if (ayr.km == nullptr) {
        Yaz("Bellekte kural kitabı yok; %s yazılmadı.\n", ne);
        return false;
    }
    const int s = ayr.kdbaslik.s, n = ayr.kdbaslik.n;
    if (s < 1 || n < 1 || n > KD_EN_BUYUK_N || s != ayr.kms || n != ayr.kmn) {
        Yaz("Kural kitabı boyutları geçersiz (s=%d, n=%d); %s yazılmadı.\n", s, n, ne);
        return false;
    }
    return true;
}

// Header lines 1 to 25 of the report and the dump, Windows-1254.
std::string BaslikSatirlari() {
    const KURALDOSYABASLIK& b = ayr.kdbaslik;
    std::string o;
    Satir(o, "            Biçim Belirteci=%s DOSYASI\n", Metin(b.bicim, sizeof b.bicim).c_str());
    if (b.tur == 1)
        Satir(o, "           Tür Belirteci=LPC KURAL KİTABI\n");
    else if (b.tur == 2)
        Satir(o, "           Tür Belirteci=DELTA LPC KURAL KİTABI\n");
    else if (b.tur == 3)
        Satir(o, "           Tür Belirteci=KESİTLİ LPC KURAL KİTABI\n");
    Satir(o, "              Söz Karşılığı=%s\n", Metin(b.soz, sizeof b.soz).c_str());
    Satir(o, "             Komut Numarası=%d\n", b.kmt);
    if (b.tur == 3) {
        // What a kind-3 codebook holds beyond the header's numbers.
        Satir(o, "               Kesit Sayısı=2 (her kesitte %d kural yöneyi, 1. kesit önce)\n", b.s / 2);
        Satir(o, "          Kepstrum Ağırlığı=sinüs, L=%d; kural yöneyleri ağırlıklı saklanır\n", KESIT_LIFTER);
        Satir(o, "          Uç Nokta Eşikleri=öndeki %d ms'den öğrenilir; aşağıdakiler tabandır\n", ONDE_MS);
    }
    Satir(o, "\n");
    Satir(o, "SES KAYIT ÖZELLİKLERİ\n");
    Satir(o, "               Kanal Sayısı=%d\n", b.ks);
    Satir(o, "            Örnekleme Oranı=%d\n", b.oo);
    Satir(o, "          Örnek Çözünürlüğü=%d\n", b.oc);
    Satir(o, "               Kayıt Süresi=%d saniye\n", b.ksu);
    Satir(o, "\n");
    Satir(o, "ÖRKE ve SIFIR-GEÇİŞ ÖZELLİKLERİ\n");
    Satir(o, "        Kısa Pencere Süresi=%d milisaniye\n", b.kpensu);
    Satir(o, "          Yüksek Örke Eşiği=%d\n", b.yee);
    Satir(o, "           Alçak Örke Eşiği=%d\n", b.aee);
    Satir(o, "Başlangıç Sıfır-Geçiş Eşiği=%d\n", b.bsge);
    Satir(o, "\n");
    Satir(o, "LPC ve DELTA LPC ÖZELLİKLERİ\n");
    Satir(o, "             Pencere Süresi=%d milisaniye\n", b.pensu);
    Satir(o, "                Adım Süresi=%d milisaniye\n", b.admsu);
    Satir(o, "      Özbağlılaşım Derecesi=%d\n", b.m);
    Satir(o, "        LPC Süzgeç Derecesi=%d\n", b.p);
    Satir(o, "      LPC/DLPC Yöney Boyutu=%d\n", b.n);
    Satir(o, "  Kural Yöneylerinin Sayısı=%d\n", b.s);
    Satir(o, "\n");
    return o;
}

}  // namespace

int KuralDosyasiOku(const char* ad, KURALDOSYABASLIK* baslik, float*** km) {
    if (ad == nullptr) return KDOKU_ACILAMIYOR;
    // Non-blocking, so a pipe given as a file name cannot hang the reader.
    Tanitici t(open(ad, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (t.fd < 0) return KDOKU_ACILAMIYOR;
    struct stat st;
    if (fstat(t.fd, &st) != 0) {
        Yaz("%s okunamıyor.\n", ad);
        return KDOKU_GECERSIZ;
    }
    if (!S_ISREG(st.st_mode)) {
        Yaz("%s sıradan bir dosya değil; kural dosyası olarak okunmadı.\n", ad);
        return KDOKU_GECERSIZ;
    }
    const uint64_t boy = static_cast<uint64_t>(st.st_size);
    // A codebook of the usual sizes comes in with the header in one read.
    alignas(KURALDOSYABASLIK) char ilk[4096];
    const size_t ilkBoy = TamOku(t.fd, ilk, boy < sizeof ilk ? static_cast<size_t>(boy) : sizeof ilk);
    KURALDOSYABASLIK b;
    if (boy < KD_BASLIK_BOYU || ilkBoy < KD_BASLIK_BOYU) {
        Yaz("%s: başlık %d bayttan kısa, kural dosyası değil.\n", ad, KD_BASLIK_BOYU);
        return KDOKU_GECERSIZ;
    }
    std::memcpy(&b, ilk, KD_BASLIK_BOYU);
    if (std::memcmp(b.bicim, "VLM", 4) != 0) {
        Yaz("%s: biçim belirteci VLM değil, kural dosyası değil.\n", ad);
        return KDOKU_GECERSIZ;
    }
    if (b.tur != 1 && b.tur != 2 && b.tur != 3) {
        Yaz("%s: kural kitabı türü %d geçersiz (1, 2 ya da 3 olmalı).\n", ad, b.tur);
        return KDOKU_GECERSIZ;
    }
    if (b.s < 1 || b.s > KD_EN_BUYUK_S || b.n < 1 || b.n > KD_EN_BUYUK_N) {
        Yaz("%s: kural kitabı boyutları geçersiz (s=%d, n=%d).\n", ad, b.s, b.n);
        return KDOKU_GECERSIZ;
    }
    if (b.tur == 3 && b.s % 2 != 0) {
        Yaz("%s: kesitli kural kitabının yöney sayısı çift olmalı (s=%d).\n", ad, b.s);
        return KDOKU_GECERSIZ;
    }
    // s <= 32766 and n <= 99: at most 13 MB, and the file must hold exactly
    // that much after the header, so nothing is allocated for a size the
    // file does not back.
    const uint64_t veri = 4ull * static_cast<uint64_t>(b.s) * static_cast<uint64_t>(b.n);
    if (boy < KD_BASLIK_BOYU + veri) {
        Yaz("%s: dosya eksik (%llu bayt olmalı, %llu bayt var).\n", ad,
            static_cast<unsigned long long>(KD_BASLIK_BOYU + veri), static_cast<unsigned long long>(boy));
        return KDOKU_GECERSIZ;
    }
    if (boy > KD_BASLIK_BOYU + veri) {
        Yaz("%s: kural kitabından sonra %llu bayt fazla; kural dosyası değil.\n", ad,
            static_cast<unsigned long long>(boy - KD_BASLIK_BOYU - veri));
        return KDOKU_GECERSIZ;
    }
    float** k = Calloc2B<float>(b.s, b.n, 4);
    if (k == nullptr) {
        Yaz("%s: kural matrisi için bellek ayrılamıyor.\n", ad);
        return KDOKU_BELLEK;
    }
    // What the first read brought, then the rest from the file.
    const size_t eldeki = std::min<uint64_t>(ilkBoy - KD_BASLIK_BOYU, veri);
    std::memcpy(k[0], ilk + KD_BASLIK_BOYU, eldeki);
    if (eldeki < veri &&
        TamOku(t.fd, reinterpret_cast<char*>(k[0]) + eldeki, static_cast<size_t>(veri - eldeki)) != veri - eldeki) {
        Free2B(k);
        Yaz("%s okunamıyor.\n", ad);
        return KDOKU_GECERSIZ;
    }
    // A codeword that is not a finite number would score NaN or infinity
    // against every utterance.
    for (uint64_t i = 0; i < veri / 4; i++) {
        if (!std::isfinite(k[0][i])) {
            Free2B(k);
            Yaz("%s: kural kitabında sayı olmayan ya da sonsuz değer var; kural dosyası değil.\n", ad);
            return KDOKU_GECERSIZ;
        }
    }
    *baslik = b;
    *km = k;
    return KDOKU_TAMAM;
}

int KuralDosyaYukle(const char* dosyaadi) {
    if (dosyaadi == nullptr || strnlen(dosyaadi, KDAD_BOYU) == KDAD_BOYU) {
        Yaz("Dosya adı çok uzun (en çok %d bayt); kural dosyası okunmadı.\n", KDAD_BOYU - 1);
        return 1;
    }
    KURALDOSYABASLIK baslik;
    float** km = nullptr;
    const int sonuc = KuralDosyasiOku(dosyaadi, &baslik, &km);
    if (sonuc == KDOKU_ACILAMIYOR) Yaz("%s açılamıyor.\n", dosyaadi);
    if (sonuc != KDOKU_TAMAM) return 1;
    Free2B(ayr.km);
    ayr.km = km;
    ayr.kms = baslik.s;
    ayr.kmn = baslik.n;
    ayr.kdbaslik = baslik;
    std::memmove(ayr.kdad, dosyaadi, strlen(dosyaadi) + 1);
    ayr.kdbayrak = 1;
    return 0;
}

int KuralDosyaKaydet() {
    if (!KayitOlabilir("kural dosyası")) return 1;
    const int s = ayr.kdbaslik.s;
    const size_t n = static_cast<size_t>(ayr.kdbaslik.n);
    const int sonuc = AtomikYaz(ayr.kdad, [s, n](std::FILE* f) {
        if (std::fwrite(&ayr.kdbaslik, KD_BASLIK_BOYU, 1, f) != 1) return false;
        for (int i = 0; i < s; i++)
            if (std::fwrite(ayr.km[i], sizeof(float), n, f) != n) return false;
        return true;
    });
    if (sonuc == 0) ayr.kdbayrak = 1;
    return sonuc;
}

int KuralDosyaKaydetMetin() {
    if (!KayitOlabilir("metin raporu")) return 1;
    const int s = ayr.kdbaslik.s, n = ayr.kdbaslik.n;
    std::string rapor = BaslikSatirlari();
    Satir(rapor, "KURAL YÖNEYLERİ\n");
    for (int i = 0; i < s; i++)
        for (int j = 0; j < n; j++) Ekle(rapor, "%d:%d\t%f\n", i, j, static_cast<double>(ayr.km[i][j]));
    const std::string ad = std::string(ayr.kdad) + ".txt";
    return AtomikYaz(ad, [&rapor](std::FILE* f) { return std::fwrite(rapor.data(), 1, rapor.size(), f) == rapor.size(); });
}

void AyarlarEkranaBas() {
    Yaz("%s", Cp1254ten(BaslikSatirlari()).c_str());
    Yaz("DOSYA ve BELLEK BİLGİLERİ\n");
    Yaz("          Kural Dosyası Adı=%s\n", Metin(ayr.kdad, sizeof ayr.kdad).c_str());
    Yaz("          Kural Dosyası Bayrağı=%d\n", ayr.kdbayrak);
    Yaz("\n");
    Yaz("LPC/DLPC Yöneylerinin Sayısı=%d\n", ayr.r);
    Yaz("Kayıt Uzunluğu=%d byte\n", ayr.kytu);
    Yaz("Konuşma Uzunluğu=%d byte\n", ayr.uzn);
    Yaz("\n");
    Yaz("Rasgelelik Tohumu=%d\n", ayr.thm);
    Yaz("Uzaklık Alt Eşiği=%f\n", static_cast<double>(ayr.uae));
    Yaz("En Az Bölge Sayısı=%d\n", ayr.eabs);
    Yaz("Ön Yineleme Sayısı=%d\n", ayr.onyinl);
    Yaz("Yineleme sayısı=%d\n", ayr.yinl);
}
