#include "eski_gecici.h"
#include "dosya.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bellek.h"
#include "kodlama.h"
#include "mesaj.h"
#include "yarim.h"
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

// Writing a file atomically: the content goes into a temporary file beside
// the target (".velmo-" and six characters), every write, the flush, the
// sync and the close checked, and only then takes the target's name. On any
// failure the temporary file is removed, the earlier file is as it was, one
// line with the system's reason is printed and the result is false.

std::string DizinKismi(const std::string& yol) {
    const size_t bolu = yol.rfind('/');
    return bolu == std::string::npos ? std::string() : yol.substr(0, bolu + 1);
}

constexpr char GECICI_ONEK[] = ".velmo-";
constexpr size_t GECICI_ONEK_BOYU = sizeof GECICI_ONEK - 1;

// A name mkstemp made from our pattern: the prefix and six letters or digits.
bool GeciciAdi(const char* ad) {
    if (std::strncmp(ad, GECICI_ONEK, GECICI_ONEK_BOYU) != 0 || std::strlen(ad) != GECICI_ONEK_BOYU + 6) return false;
    for (const char* p = ad + GECICI_ONEK_BOYU; *p != '\0'; p++)
        if (!std::isalnum(static_cast<unsigned char>(*p))) return false;
    return true;
}

void YazilamiyorDe(const std::string& hedef, int hata) {
    Yaz("%s yazılamıyor: %s\n", Gorunur(hedef).c_str(), SistemNedeni(hata).c_str());
}

// May `hedef` be written? It may be absent, or (when `uzerine`) a regular
// file the user may write. `kip` gets the permission bits the new file
// takes: the old file's, or 0666 less the umask for a new one.
bool HedefUygun(const std::string& hedef, bool uzerine, mode_t& kip) {
    struct stat st;
    if (lstat(hedef.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            YazilamiyorDe(hedef, errno);
            return false;
        }
        const mode_t maske = umask(0);
        umask(maske);
        kip = 0666 & ~maske;
        return true;
    }
    if (!uzerine) {
        Yaz("%s zaten var; üzerine yazılmadı.\n", Gorunur(hedef).c_str());
        return false;
    }
    // A link is replaced by the new file; what it points to decides.
    if (S_ISLNK(st.st_mode) && stat(hedef.c_str(), &st) != 0) st.st_mode = S_IFLNK;
    if (!S_ISREG(st.st_mode)) {
        // Never rename over a device, a directory or a pipe.
        Yaz("%s sıradan bir dosya değil; yazılamıyor.\n", Gorunur(hedef).c_str());
        return false;
    }
    if ((st.st_mode & 0222) == 0 || access(hedef.c_str(), W_OK) != 0) {
        Yaz("%s yazmaya kapalı; üzerine yazılmadı.\n", Gorunur(hedef).c_str());
        return false;
    }
    kip = st.st_mode & 07777;
    return true;
}

// A temporary file of ours: until it takes its name, an interrupt removes
// it, and so does the end of the scope that holds it.
using GECICI = std::optional<YARIM_DOSYA>;

// Writes what `yaz` puts into the stream into a new temporary file beside
// `hedef` with the permission bits `kip`, held by `gecici`.
bool GeciciYaz(const std::string& hedef, mode_t kip, const std::function<bool(std::FILE*)>& yaz, GECICI& gecici) {
    std::string ad = DizinKismi(hedef) + GECICI_ONEK + "XXXXXX";
    const int fd = mkstemp(&ad[0]);
    if (fd < 0) {
        YazilamiyorDe(hedef, errno);
        return false;
    }
    gecici.emplace(std::move(ad), true);
    int hata = 0;
    if (fchmod(fd, kip) != 0) hata = errno;
    std::FILE* f = hata == 0 ? fdopen(fd, "wb") : nullptr;
    if (f == nullptr) {
        if (hata == 0) hata = errno;
        close(fd);
    } else {
        errno = 0;
        if (!yaz(f) || std::fflush(f) != 0 || fsync(fd) != 0) hata = errno != 0 ? errno : EIO;
        errno = 0;
        if (std::fclose(f) != 0 && hata == 0) hata = errno != 0 ? errno : EIO;
    }
    if (hata == 0) return true;
    gecici.reset();
    YazilamiyorDe(hedef, hata);
    return false;
}

// Gives the finished temporary file the name `hedef`: replacing what is
// there, or (without `uzerine`) only if the name is still free at this very
// moment. The temporary file is gone afterwards either way.
bool Yerlestir(GECICI& gecici, const std::string& hedef, bool uzerine) {
    const char* const ad = gecici->Yol().c_str();
    int r;
    bool baglandi = false;
    if (uzerine) {
        r = std::rename(ad, hedef.c_str());
    } else {
        r = renameat2(AT_FDCWD, ad, AT_FDCWD, hedef.c_str(), RENAME_NOREPLACE);
        if (r != 0 && (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP)) {
            // A file system without the flag: a hard link fails the same way
            // when the name exists.
            r = link(ad, hedef.c_str());
            baglandi = true;
        }
    }
    const int hata = errno;
    // Renamed, the temporary name is free (and may be another save's next):
    // nothing is removed. After a link the old name goes; after a failure,
    // the file.
    if (r == 0 && !baglandi) gecici->Tut();
    gecici.reset();
    if (r != 0) {
        if (hata == EEXIST) Yaz("%s zaten var; üzerine yazılmadı.\n", Gorunur(hedef).c_str());
        else YazilamiyorDe(hedef, hata);
        return false;
    }
    // Make the new name durable; the file is already in place, so a
    // directory that cannot be synced is not a failed save.
    const std::string dizin = DizinKismi(hedef);
    const int dfd = open(dizin.empty() ? "." : dizin.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

// The whole of it for one file. 0 success, 1 failure after one line.
int AtomikYaz(const std::string& hedef, bool uzerine, const std::function<bool(std::FILE*)>& yaz) {
    mode_t kip;
    GECICI gecici;
    if (!HedefUygun(hedef, uzerine, kip)) return 1;
    EskiGecicileriSil(DizinKismi(hedef), GeciciAdi);
    if (!GeciciYaz(hedef, kip, yaz, gecici)) return 1;
    return Yerlestir(gecici, hedef, uzerine) ? 0 : 1;
}

// A save needs a file name and a codebook of the header's usable size.
// `ne` names what is not written ("kural dosyası", "metin raporu").
bool KayitOlabilir(const std::string& yol, const KURALDOSYABASLIK& b, const MATRIS& km, const char* ne) {
    if (yol.empty() || yol.size() >= KDAD_BOYU || yol.find('\0') != std::string::npos) {
        Yaz("Kural dosyası adı seçilmedi; %s yazılmadı.\n", Ceviri(ne));
        return false;
    }
    if (km.Bos()) {
        Yaz("Bellekte kural kitabı yok; %s yazılmadı.\n", Ceviri(ne));
        return false;
    }
    const int s = b.s, n = b.n;
    if (s < 1 || n < 1 || n > KD_EN_BUYUK_N || s != km.Satir() || n != km.Sutun()) {
        Yaz("Kural kitabı boyutları geçersiz (s=%d, n=%d); %s yazılmadı.\n", s, n, Ceviri(ne));
        return false;
    }
    return true;
}

}  // namespace

namespace {

bool KalibrasyonGecerli(const KALIBRASYON& kal) {
    return kal.Var() && std::isfinite(kal.olcek) && std::isfinite(kal.oz) && kal.oz >= 0 && kal.ayri >= 0;
}

}  // namespace

bool KalibrasyonYazilir(const KURALDOSYABASLIK& b, const KALIBRASYON& kal) {
    return b.tur == 3 && KalibrasyonGecerli(kal);
}

void KalibrasyonDiz(const KALIBRASYON& kal, char* son) {
    std::memcpy(son, KD_KALIBRASYON_ETIKETI, 4);
    std::memcpy(son + 4, &kal.olcek, 4);
    std::memcpy(son + 8, &kal.oz, 4);
    std::memcpy(son + 12, &kal.ayri, 4);
}

bool KalibrasyonCoz(const char* son, KALIBRASYON& kal) {
    if (std::memcmp(son, KD_KALIBRASYON_ETIKETI, 4) != 0) return false;
    std::memcpy(&kal.olcek, son + 4, 4);
    std::memcpy(&kal.oz, son + 8, 4);
    std::memcpy(&kal.ayri, son + 12, 4);
    return KalibrasyonGecerli(kal);
}

std::string BaslikSatirlari(const KURALDOSYABASLIK& b, bool ekran, const KALIBRASYON& kal) {
    std::string o;
    Satir(o, "            Biçim Belirteci=%s DOSYASI\n", Metin(b.bicim, sizeof b.bicim).c_str());
    if (b.tur == 1)
        Satir(o, "           Tür Belirteci=LPC KURAL KİTABI\n");
    else if (b.tur == 2)
        Satir(o, "           Tür Belirteci=DELTA LPC KURAL KİTABI\n");
    else if (b.tur == 3)
        Satir(o, "           Tür Belirteci=KESİTLİ LPC KURAL KİTABI\n");
    const std::string soz = Metin(b.soz, sizeof b.soz);
    Satir(o, "              Söz Karşılığı=%s\n", (ekran ? Cp1254(Gorunur(Cp1254ten(soz))) : soz).c_str());
    Satir(o, "             Komut Numarası=%d\n", b.kmt);
    if (b.tur == 3) {
        // What a kind-3 codebook holds beyond the header's numbers.
        Satir(o, "               Kesit Sayısı=2 (her kesitte %d kural yöneyi, 1. kesit önce)\n", b.s / 2);
        Satir(o, "          Kepstrum Ağırlığı=sinüs, L=%d; kural yöneyleri ağırlıklı saklanır\n", KESIT_LIFTER);
        Satir(o, "          Uç Nokta Eşikleri=kaydın %d ms'lik sessizliğinden ve en yüksek örkesinden öğrenilir; "
                 "aşağıdaki başlangıç sıfır geçiş eşiği tabandır\n",
              ONDE_MS);
        if (kal.Var()) {
            if (kal.ayri > 0)
                Satir(o, "              Doğal Uzaklık=%f (%d ayrı tutulan alımın ortalaması; eğitim uzaklığı %f)\n",
                      static_cast<double>(kal.olcek), kal.ayri, static_cast<double>(kal.oz));
            else
                Satir(o, "              Doğal Uzaklık=%f (eğitim uzaklığından kestirildi: %f)\n",
                      static_cast<double>(kal.olcek), static_cast<double>(kal.oz));
        }
    }
    Satir(o, "\n");
    const struct {
        AYARGRUBU grup;
        const char* baslik;
    } gruplar[] = {
        {GRUP_SES, "SES KAYIT ÖZELLİKLERİ"},
        {GRUP_ORKE, "ÖRKE ve SIFIR-GEÇİŞ ÖZELLİKLERİ"},
        {GRUP_LPC, "LPC ve DELTA LPC ÖZELLİKLERİ"},
    };
    for (const auto& g : gruplar) {
        Satir(o, (std::string(g.baslik) + "\n").c_str());
        for (const AYARTANIMI* t = AyarlarBas(); t != AyarlarSon(); ++t)
            if (t->grup == g.grup && t->raporEtiketi != nullptr)
                Satir(o, (std::string(t->raporEtiketi) + "=%d" + t->raporBirimi + "\n").c_str(), b.*t->baslikAlani);
        Satir(o, "\n");
    }
    return o;
}

int KuralDosyasiOku(const char* ad, KURALDOSYABASLIK* baslik, MATRIS* km, KALIBRASYON* kal) {
    if (ad == nullptr) return KDOKU_ACILAMIYOR;
    const std::string adg = Gorunur(ad);  // the name as messages show it
    const char* const g = adg.c_str();
    // Non-blocking, so a pipe given as a file name cannot hang the reader.
    Tanitici t(open(ad, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (t.fd < 0) return KDOKU_ACILAMIYOR;
    struct stat st;
    if (fstat(t.fd, &st) != 0) {
        Yaz("%s okunamıyor.\n", g);
        return KDOKU_GECERSIZ;
    }
    if (!S_ISREG(st.st_mode)) {
        Yaz("%s sıradan bir dosya değil; kural dosyası olarak okunmadı.\n", g);
        return KDOKU_GECERSIZ;
    }
    const uint64_t boy = static_cast<uint64_t>(st.st_size);
    // A codebook of the usual sizes comes in with the header in one read.
    alignas(KURALDOSYABASLIK) char ilk[4096];
    const size_t ilkBoy = TamOku(t.fd, ilk, boy < sizeof ilk ? static_cast<size_t>(boy) : sizeof ilk);
    KURALDOSYABASLIK b;
    if (boy < KD_BASLIK_BOYU || ilkBoy < KD_BASLIK_BOYU) {
        Yaz("%s: başlık %d bayttan kısa, kural dosyası değil.\n", g, KD_BASLIK_BOYU);
        return KDOKU_GECERSIZ;
    }
    std::memcpy(&b, ilk, KD_BASLIK_BOYU);
    if (std::memcmp(b.bicim, "VLM", 4) != 0) {
        Yaz("%s: biçim belirteci VLM değil, kural dosyası değil.\n", g);
        return KDOKU_GECERSIZ;
    }
    if (!Aralikta(Ayar(AYAR_TUR), b.tur)) {
        Yaz("%s: kural kitabı türü %d geçersiz (1, 2 ya da 3 olmalı).\n", g, b.tur);
        return KDOKU_GECERSIZ;
    }
    if (b.s < 1 || b.s > KD_EN_BUYUK_S || b.n < 1 || b.n > KD_EN_BUYUK_N) {
        Yaz("%s: kural kitabı boyutları geçersiz (s=%d, n=%d).\n", g, b.s, b.n);
        return KDOKU_GECERSIZ;
    }
    if (b.p > b.m) {
        Yaz("%s: LPC süzgeç derecesi (p=%d) öz bağlılaşım derecesini (m=%d) aşıyor; kural dosyası değil.\n", g, b.p,
            b.m);
        return KDOKU_GECERSIZ;
    }
    if (b.tur == 3 && b.s % 2 != 0) {
        Yaz("%s: kesitli kural kitabının yöney sayısı çift olmalı (s=%d).\n", g, b.s);
        return KDOKU_GECERSIZ;
    }
    // s <= 32766 and n <= 99: at most 13 MB, and the file must hold exactly
    // that much after the header, so nothing is allocated for a size the
    // file does not back.
    const uint64_t veri = 4ull * static_cast<uint64_t>(b.s) * static_cast<uint64_t>(b.n);
    if (boy < KD_BASLIK_BOYU + veri) {
        Yaz("%s: dosya eksik (%llu bayt olmalı, %llu bayt var).\n", g,
            static_cast<unsigned long long>(KD_BASLIK_BOYU + veri), static_cast<unsigned long long>(boy));
        return KDOKU_GECERSIZ;
    }
    // A kind-3 codebook may end in its calibration.
    KALIBRASYON k3;
    const bool kalibrasyonlu = b.tur == 3 && boy == KD_BASLIK_BOYU + veri + KD_KALIBRASYON_BOYU;
    if (kalibrasyonlu) {
        char son[KD_KALIBRASYON_BOYU];
        if (pread(t.fd, son, sizeof son, static_cast<off_t>(KD_BASLIK_BOYU + veri)) !=
                static_cast<ssize_t>(sizeof son) ||
            !KalibrasyonCoz(son, k3)) {
            Yaz("%s: kural kitabından sonraki %d bayt geçerli bir ayar kaydı değil; kural dosyası değil.\n", g,
                KD_KALIBRASYON_BOYU);
            return KDOKU_GECERSIZ;
        }
    }
    if (!kalibrasyonlu && boy > KD_BASLIK_BOYU + veri) {
        Yaz("%s: kural kitabından sonra %llu bayt fazla; kural dosyası değil.\n", g,
            static_cast<unsigned long long>(boy - KD_BASLIK_BOYU - veri));
        return KDOKU_GECERSIZ;
    }
    MATRIS k;
    if (!k.Kur(b.s, b.n)) {
        Yaz("%s: kural matrisi için bellek ayrılamıyor.\n", g);
        return KDOKU_BELLEK;
    }
    // What the first read brought, then the rest from the file.
    const size_t eldeki = std::min<uint64_t>(ilkBoy - KD_BASLIK_BOYU, veri);
    std::memcpy(k[0], ilk + KD_BASLIK_BOYU, eldeki);
    if (eldeki < veri &&
        TamOku(t.fd, reinterpret_cast<char*>(k[0]) + eldeki, static_cast<size_t>(veri - eldeki)) != veri - eldeki) {
        Yaz("%s okunamıyor.\n", g);
        return KDOKU_GECERSIZ;
    }
    // A codeword that is not a finite number would score NaN or infinity
    // against every utterance.
    for (uint64_t i = 0; i < veri / 4; i++) {
        if (!std::isfinite(k[0][i])) {
            Yaz("%s: kural kitabında sayı olmayan ya da sonsuz değer var; kural dosyası değil.\n", g);
            return KDOKU_GECERSIZ;
        }
    }
    *baslik = b;
    *km = std::move(k);
    if (kal != nullptr) *kal = k3;
    return KDOKU_TAMAM;
}

bool KuralDosyasiSozu(const char* ad, std::string& soz) {
    Tanitici t(open(ad, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat st;
    if (t.fd < 0 || fstat(t.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    KURALDOSYABASLIK b;
    if (TamOku(t.fd, &b, KD_BASLIK_BOYU) != KD_BASLIK_BOYU || std::memcmp(b.bicim, "VLM", 4) != 0) return false;
    soz = Metin(b.soz, sizeof b.soz);
    return true;
}

std::string KuralRaporu(const KURALDOSYABASLIK& b, const MATRIS& km, bool ekran, const KALIBRASYON& kal) {
    std::string rapor = BaslikSatirlari(b, ekran, kal);
    Satir(rapor, "KURAL YÖNEYLERİ\n");
    const int s = km.Satir() == b.s && km.Sutun() == b.n ? b.s : 0;
    for (int i = 0; i < s; i++)
        for (int j = 0; j < b.n; j++) Ekle(rapor, "%d:%d\t%f\n", i, j, static_cast<double>(km[i][j]));
    return rapor;
}

namespace {

std::function<bool(std::FILE*)> KitapYazici(const KURALDOSYABASLIK& b, const MATRIS& km, const KALIBRASYON& kal) {
    return [&b, &km, &kal](std::FILE* f) {
        if (std::fwrite(&b, KD_BASLIK_BOYU, 1, f) != 1) return false;
        if (std::fwrite(km.Veri(), sizeof(float), km.Oge(), f) != km.Oge()) return false;
        if (!KalibrasyonYazilir(b, kal)) return true;
        char son[KD_KALIBRASYON_BOYU];
        KalibrasyonDiz(kal, son);
        return std::fwrite(son, sizeof son, 1, f) == 1;
    };
}

std::function<bool(std::FILE*)> MetinYazici(const std::string& metin) {
    return [&metin](std::FILE* f) { return std::fwrite(metin.data(), 1, metin.size(), f) == metin.size(); };
}

}  // namespace

int KuralDosyasiYaz(const std::string& yol, const KURALDOSYABASLIK& b, const MATRIS& km, const KALIBRASYON& kal) {
    if (!KayitOlabilir(yol, b, km, "kural dosyası")) return 1;
    return AtomikYaz(yol, true, KitapYazici(b, km, kal));
}

int KuralRaporuYaz(const std::string& yol, const KURALDOSYABASLIK& b, const MATRIS& km, const KALIBRASYON& kal) {
    if (!KayitOlabilir(yol, b, km, "metin raporu")) return 1;
    const std::string rapor = KuralRaporu(b, km, false, KalibrasyonYazilir(b, kal) ? kal : KALIBRASYON{});
    return AtomikYaz(yol + ".txt", true, MetinYazici(rapor));
}

int KuralDosyasiVeRaporYaz(const std::string& kitap, const KURALDOSYABASLIK& b, const MATRIS& km, bool uzerine,
                           const KALIBRASYON& kal) {
    if (!KayitOlabilir(kitap, b, km, "kural dosyası")) return 1;
    const std::string raporAdi = kitap + ".txt";
    mode_t kitapKipi, raporKipi;
    if (!HedefUygun(kitap, uzerine, kitapKipi) || !HedefUygun(raporAdi, true, raporKipi)) return 1;
    EskiGecicileriSil(DizinKismi(kitap), GeciciAdi);
    // Both are written in full before either takes its name.
    const std::string rapor = KuralRaporu(b, km, false, KalibrasyonYazilir(b, kal) ? kal : KALIBRASYON{});
    // On every failure below, the temporary files still held are removed as
    // the function returns.
    GECICI geciciKitap, geciciRapor;
    if (!GeciciYaz(kitap, kitapKipi, KitapYazici(b, km, kal), geciciKitap)) return 1;
    if (!GeciciYaz(raporAdi, raporKipi, MetinYazici(rapor), geciciRapor)) return 1;
    // The report first, the codebook last: a codebook file never stands
    // beside a report of another codebook for longer than this step. A name
    // taken meanwhile is noticed here, before the report is replaced.
    struct stat st;
    if (!uzerine && lstat(kitap.c_str(), &st) == 0) {
        Yaz("%s zaten var; üzerine yazılmadı.\n", Gorunur(kitap).c_str());
        return 1;
    }
    if (!Yerlestir(geciciRapor, raporAdi, true)) return 1;
    if (!Yerlestir(geciciKitap, kitap, uzerine)) return 1;
    return 0;
}
