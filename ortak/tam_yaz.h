// Writing a whole buffer to a file descriptor: write(2) may take part of it
// or be interrupted by a signal, so it is called again for the rest. Plain
// system calls only, so a signal handler may use it too.
#ifndef TAM_YAZ_H
#define TAM_YAZ_H

#include <unistd.h>

#include <cerrno>
#include <cstddef>

// Writes the n bytes at p to fd. False when the descriptor refuses them (a
// closed pipe, a full disk): the rest is then not written.
inline bool TamYaz(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t w = write(fd, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

#endif
