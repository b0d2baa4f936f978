// Removing the temporary files of saves that were killed: regular files of
// the directory whose names the saver recognises (`geciciMi`), untouched for
// over a minute (a save in progress writes its file at once). Shared by the
// codebook saves and the kept takes.
#ifndef ESKI_GECICI_H
#define ESKI_GECICI_H

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>

inline void EskiGecicileriSil(const std::string& dizin, bool (*geciciMi)(const char* ad)) {
    DIR* d = opendir(dizin.empty() ? "." : dizin.c_str());
    if (d == nullptr) return;
    const time_t sinir = time(nullptr) - 60;
    while (const dirent* g = readdir(d)) {
        if (!geciciMi(g->d_name)) continue;
        struct stat st;
        if (fstatat(dirfd(d), g->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_mtime < sinir)
            unlinkat(dirfd(d), g->d_name, 0);
    }
    closedir(d);
}

#endif
