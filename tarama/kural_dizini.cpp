#include "kural_dizini.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include "dosya.h"
#include "mesaj.h"

std::string DosyaIzi(const std::string& yol) {
    struct stat st;
    if (stat(yol.c_str(), &st) != 0) return "";
    return std::to_string(st.st_size) + ':' + std::to_string(st.st_mtim.tv_sec) + '.' +
           std::to_string(st.st_mtim.tv_nsec) + ':' + std::to_string(st.st_dev) + ':' + std::to_string(st.st_ino) +
           ':' + std::to_string(st.st_ctim.tv_sec) + '.' + std::to_string(st.st_ctim.tv_nsec);
}

KURAL_DIZINI::KURAL_DIZINI(std::string dizin, UYGUNLUK uygun) : dizin_(std::move(dizin)), uygun_(std::move(uygun)) {}

KURAL_DIZINI CozumlemeDizini(std::string dizin, const KURALDOSYABASLIK& analiz) {
    return KURAL_DIZINI(std::move(dizin), [analiz](const std::string& yol, const KURALKITABI& k) {
        return CozumlemeyeUygun(yol.c_str(), k.baslik, analiz);
    });
}

KURAL_DIZINI::IZLEYICI& KURAL_DIZINI::IZLEYICI::operator=(IZLEYICI&& o) noexcept {
    if (this != &o) {
        if (fd >= 0) close(fd);
        fd = o.fd;
        o.fd = -1;
    }
    return *this;
}

KURAL_DIZINI::IZLEYICI::~IZLEYICI() {
    if (fd >= 0) close(fd);
}

bool KURAL_DIZINI::Degismedi() {
    if (izleyici_.fd < 0) return false;
    // Every pending event is taken before the directory is looked at, so a
    // change made during the look is news next time.
    alignas(inotify_event) char tampon[4096];
    bool haber = false, bitti = false;
    for (;;) {
        const ssize_t n = read(izleyici_.fd, tampon, sizeof tampon);
        if (n > 0) {
            haber = true;
            // A watch whose directory went away (or was moved) hears nothing
            // of one made in its place: it is made again at the next look.
            for (ssize_t i = 0; i + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
                inotify_event olay;
                std::memcpy(&olay, tampon + i, sizeof olay);
                if ((olay.mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_Q_OVERFLOW)) != 0) bitti = true;
                i += static_cast<ssize_t>(sizeof olay + olay.len);
            }
            continue;
        }
        if (bitti) {
            izleyici_ = IZLEYICI();
            return false;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return !haber;
        // Anything else: the watch cannot be trusted any more.
        izleyici_ = IZLEYICI();
        return false;
    }
}

int KURAL_DIZINI::Tazele() {
    // A file that could not be opened may open next time (the process out of
    // descriptors): while there is one, every look lists the directory.
    const bool acilamayanVar =
        std::any_of(girdiler_.begin(), girdiler_.end(), [](const GIRDI& g) { return g.acilamadi; });
    if (okundu_ && Degismedi() && !acilamayanVar) return 0;
    struct stat st;
    if (stat(dizin_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        izleyici_ = IZLEYICI();
        return -1;
    }
    if (okundu_ && izleyici_.fd < 0) {
        // Files written, moved or removed, and the directory itself moved or
        // removed (its watch then ends, which is news too). Without a watch
        // (no inotify, its limits reached) every look lists the directory.
        // Made at the second look, so a directory read once (the screen's
        // scan) costs no watch: closing one waits for the kernel.
        IZLEYICI yeni;
        yeni.fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (yeni.fd >= 0 &&
            inotify_add_watch(yeni.fd, dizin_.c_str(),
                              IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                  IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR) >= 0)
            izleyici_ = std::move(yeni);
    }
    std::map<std::string, GIRDI*> eskiler;
    for (GIRDI& g : girdiler_) eskiler[g.ad] = &g;
    std::vector<GIRDI> girdiler;
    std::vector<KURALKITABI> kitaplar;
    size_t kalan = 0;  // entries kept as they were
    const std::string onek = dizin_ + "/";
    for (const std::string& ad : DizinDosyalari(dizin_.c_str())) {
        if (!VlmDosyasi(ad)) continue;
        const std::string yol = onek + ad;
        GIRDI g;
        g.ad = ad;
        // Looked at before the reading: a change during it is seen next time.
        g.iz = DosyaIzi(yol);
        if (g.iz.empty()) continue;  // gone since the listing
        const auto eski = eskiler.find(ad);
        if (eski != eskiler.end() && eski->second->iz == g.iz && !eski->second->acilamadi) {
            g = std::move(*eski->second);
            if (g.kitap >= 0) {
                kitaplar.push_back(std::move(kitaplar_[static_cast<size_t>(g.kitap)]));
                g.kitap = static_cast<int>(kitaplar.size()) - 1;
            }
            kalan++;
        } else {
            KURALKITABI k;
            k.ad = ad;
            int sonuc = KDOKU_TAMAM;
            g.mesaj = Yakala(
                [&] {
                    sonuc = KuralDosyasiOku(yol.c_str(), &k.baslik, &k.km, &k.kal);
                    if (sonuc == KDOKU_TAMAM && !uygun_(yol, k)) sonuc = KDOKU_GECERSIZ;
                },
                false);
            g.acilamadi = sonuc == KDOKU_ACILAMIYOR;
            // Still not opening is no change.
            if (g.acilamadi && eski != eskiler.end() && eski->second->acilamadi && eski->second->iz == g.iz) kalan++;
            if (sonuc == KDOKU_TAMAM) {
                kitaplar.push_back(std::move(k));
                g.kitap = static_cast<int>(kitaplar.size()) - 1;
            }
        }
        girdiler.push_back(std::move(g));
    }
    const bool degisti = !okundu_ || kalan != girdiler_.size() || kalan != girdiler.size();
    girdiler_ = std::move(girdiler);
    kitaplar_ = std::move(kitaplar);
    okundu_ = true;
    return degisti ? 1 : 0;
}

std::vector<KURALKITABI> KURAL_DIZINI::KitaplariBirak() {
    girdiler_.clear();
    okundu_ = false;
    return std::move(kitaplar_);
}

std::string KURAL_DIZINI::Mesajlar() const {
    std::string m;
    for (const GIRDI& g : girdiler_) m += g.mesaj;
    return m;
}

void KURAL_DIZINI::Tara(SOYLEYIS& soyleyis, TANIMA_SONUCU* enIyi, std::vector<TANIMA_SONUCU>* hepsi,
                        const TARAMA_DINLEYICISI& dinleyici) const {
    enIyi->dosya.clear();
    enIyi->soz[0] = '\0';
    enIyi->puan = PUAN_YOK;
    for (const GIRDI& g : girdiler_) {
        if (g.acilamadi) continue;
        Ilet(g.mesaj);
        if (g.kitap >= 0) {
            const KURALKITABI& k = kitaplar_[static_cast<size_t>(g.kitap)];
            TANIMA_SONUCU t = KitapSonucu(k, PUAN_YOK);
            if (dinleyici.puanlaniyor) dinleyici.puanlaniyor(t);
            t.puan = TurunePuan(k.baslik, k.km, soyleyis);
            if (dinleyici.puanlandi) dinleyici.puanlandi(t);
            if (t.puan < PUAN_YOK && (enIyi->puan >= PUAN_YOK || DahaIyi(t, *enIyi))) *enIyi = t;
            if (hepsi != nullptr) hepsi->push_back(t);
        }
        if (dinleyici.satirBitti) dinleyici.satirBitti();
    }
}
