#include <dlfcn.h>
#include <libintl.h>
#include <locale.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "kodlama.h"
#include "mesaj.h"

#ifndef VELMO_YEREL_DIZINI
#define VELMO_YEREL_DIZINI "/usr/local/share/locale"
#endif
#ifndef VELMO_YEREL_GORELI
#define VELMO_YEREL_GORELI "../share/locale"
#endif

namespace {

const char* const ALAN = "velmo";  // the catalogue's name: LANG/LC_MESSAGES/velmo.mo

// Set once at start (KodlamaBaslat), before any thread: whether the
// messages come from a catalogue at all.
bool katalogAcik = false;

// "en_US.UTF-8@euro" -> "en".
std::string DilAdi(const std::string& yerel) { return yerel.substr(0, yerel.find_first_of("_.@")); }

bool Okunur(const std::string& yol) { return access(yol.c_str(), R_OK) == 0; }

// Where the catalogues are: VELMO_LOCALEDIR when set; else beside the
// program, as installed (bin/../share/locale; the build tree has the same
// layout: build/app/../share/locale), or beside the shared library holding
// this code (lib/../share/locale, build/kitaplik/../share/locale); else the
// installation's own folder.
std::string KatalogDizini(const std::string& dil) {
    const std::string dosya = "/" + dil + "/LC_MESSAGES/" + ALAN + ".mo";
    if (const char* d = std::getenv("VELMO_LOCALEDIR"); d != nullptr && *d != '\0')
        return Okunur(d + dosya) ? d : "";
    auto Yaninda = [&](const std::string& yol) {
        const std::string dizin = yol.substr(0, yol.rfind('/') + 1) + VELMO_YEREL_GORELI;
        return Okunur(dizin + dosya) ? dizin : "";
    };
    char yol[4096];
    const ssize_t n = readlink("/proc/self/exe", yol, sizeof yol - 1);
    if (n > 0)
        if (std::string d = Yaninda(std::string(yol, static_cast<size_t>(n))); !d.empty()) return d;
    Dl_info bilgi;
    if (dladdr(reinterpret_cast<void*>(&KatalogDizini), &bilgi) != 0 && bilgi.dli_fname != nullptr &&
        std::strchr(bilgi.dli_fname, '/') != nullptr)
        if (std::string d = Yaninda(bilgi.dli_fname); !d.empty()) return d;
    return Okunur(VELMO_YEREL_DIZINI + dosya) ? VELMO_YEREL_DIZINI : "";
}

}  // namespace

std::string MesajDili(const std::function<const char*(const char*)>& ortam,
                      const std::function<bool(const std::string&)>& katalogVar) {
    std::string yerel;
    for (const char* ad : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* d = ortam(ad);
        if (d != nullptr && *d != '\0') {
            yerel = d;
            break;
        }
    }
    if (yerel.empty() || yerel == "C" || yerel == "POSIX") return "";
    std::string liste = yerel;
    if (const char* d = ortam("LANGUAGE"); d != nullptr && *d != '\0') liste = d;
    for (size_t bas = 0; bas <= liste.size();) {
        size_t son = liste.find(':', bas);
        if (son == std::string::npos) son = liste.size();
        const std::string dil = DilAdi(liste.substr(bas, son - bas));
        bas = son + 1;
        if (dil == "tr") return "";
        if (!dil.empty() && dil != "C" && dil != "POSIX" && katalogVar(dil)) return dil;
    }
    return "";
}

void MesajDiliniKur() {
    const bool yerelVar = std::setlocale(LC_MESSAGES, "") != nullptr;
    std::string dizin;
    const std::string dil = MesajDili([](const char* ad) { return std::getenv(ad); },
                                      [&](const std::string& d) { return !(dizin = KatalogDizini(d)).empty(); });
    katalogAcik = !dil.empty();
    if (!katalogAcik) {
        // The system's reasons (strerror) in Turkish where the system has
        // them, like every other message of the program; LANGUAGE still
        // overrides.
        const char* l = std::getenv("LANGUAGE");
        if (l == nullptr || *l == '\0') setenv("LANGUAGE", "tr", 1);
        return;
    }
    // A locale that is named but not installed (no locale-gen for it) leaves
    // the messages' locale at C, where gettext translates nothing: the
    // built-in C.UTF-8 with LANGUAGE naming the language serves as well.
    if (!yerelVar && std::setlocale(LC_MESSAGES, "C.UTF-8") != nullptr) setenv("LANGUAGE", dil.c_str(), 1);
    bindtextdomain(ALAN, dizin.c_str());
    // The program's texts are UTF-8 whatever the terminal's charset; they
    // are converted for it where they are shown.
    bind_textdomain_codeset(ALAN, "UTF-8");
}

const char* Ceviri(const char* metin) {
    if (!katalogAcik || metin == nullptr || *metin == '\0') return metin;
    return dgettext(ALAN, metin);
}

locale_t KitaplikYereli() {
    static std::once_flag bir;
    static locale_t yerel = static_cast<locale_t>(0);
    std::call_once(bir, [] {
        std::string dizin;
        const std::string dil = MesajDili([](const char* ad) { return std::getenv(ad); },
                                          [&](const std::string& d) { return !(dizin = KatalogDizini(d)).empty(); });
        if (dil.empty()) return;
        // The user's locale for the messages when it is installed, else
        // C.UTF-8, where gettext follows LANGUAGE; everything else as the
        // program has it.
        const char* ad = nullptr;
        for (const char* degisken : {"LC_ALL", "LC_MESSAGES", "LANG"})
            if (const char* d = std::getenv(degisken); ad == nullptr && d != nullptr && *d != '\0') ad = d;
        const locale_t taban = duplocale(LC_GLOBAL_LOCALE);
        if (taban == static_cast<locale_t>(0)) return;
        locale_t l = newlocale(LC_MESSAGES_MASK, ad != nullptr ? ad : "C.UTF-8", taban);
        if (l == static_cast<locale_t>(0)) l = newlocale(LC_MESSAGES_MASK, "C.UTF-8", taban);
        if (l == static_cast<locale_t>(0)) {
            freelocale(taban);
            return;
        }
        bindtextdomain(ALAN, dizin.c_str());
        bind_textdomain_codeset(ALAN, "UTF-8");
        katalogAcik = true;
        yerel = l;
    });
    return yerel;
}
