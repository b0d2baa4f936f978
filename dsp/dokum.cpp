#include "dokum.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "mesaj.h"

DokumDosyasi DokumAc(const char* ad) {
    if (ad == nullptr) return nullptr;
    // No O_TRUNC here: nothing is emptied before it is known to be a
    // regular file. O_NONBLOCK keeps a pipe from holding the open.
    const int fd = open(ad, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == ELOOP) Yaz("%s bir sembolik bağ; döküm yazılmadı.\n", ad);
        else if (errno == ENXIO || errno == EISDIR) Yaz("%s sıradan bir dosya değil; döküm yazılmadı.\n", ad);
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        Yaz("%s sıradan bir dosya değil; döküm yazılmadı.\n", ad);
        return nullptr;
    }
    if (ftruncate(fd, 0) != 0 || fcntl(fd, F_SETFL, O_WRONLY) != 0) {
        close(fd);
        return nullptr;
    }
    std::FILE* f = fdopen(fd, "w");
    if (f == nullptr) close(fd);
    // Until it is closed, an interrupt removes it: a dump is whole or absent.
    return DokumDosyasi(f, DokumKapat{f != nullptr ? YarimBasla(ad) : -1});
}
