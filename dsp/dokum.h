// Opening a dump file ("sinir.txt", "Ci.txt", "DelCi.txt") for writing.
// Dumps go only to regular files: a name that is a symbolic link, a pipe, a
// device or a directory is left alone, with one line saying why, so a dump
// can neither block on a pipe nor write through a link into another file.
#ifndef DOKUM_H
#define DOKUM_H

#include <cstdio>
#include <memory>

#include "yarim.h"

// Closing a dump also takes it off the files an interrupt removes.
struct DokumKapat {
    int yuva = -1;
    void operator()(std::FILE* f) const {
        std::fclose(f);
        YarimBitti(yuva);
    }
};
using DokumDosyasi = std::unique_ptr<std::FILE, DokumKapat>;

// The file `ad` emptied and open for writing; null when it is not a regular
// file (one line printed) or cannot be opened (nothing printed).
DokumDosyasi DokumAc(const char* ad);

#endif
