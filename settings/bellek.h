// Memory of the program.
// Ayir: the zero-filled allocation every module takes its storage from
// (calloc semantics): null when adet x boy overflows, else bellek_ayirici's
// answer. That is calloc; tests put in one that fails when they ask
// (sinama/kancalar.h).
// Calloc2B / Free2B: two-dimensional arrays, a table of row pointers over one
// contiguous, zero-filled block, so a[i][j] reaches an element and the whole
// matrix can also be walked from a[0]. Calloc2B gives null on failure and for
// fewer than one row or column; Free2B accepts null and always returns 0.
// Dizi / DiziAl: a one-dimensional block from Ayir that frees itself.
#ifndef BELLEK_H
#define BELLEK_H

#include <cstddef>
#include <cstdlib>
#include <memory>

void* Ayir(size_t adet, size_t boy);
extern void* (*bellek_ayirici)(size_t adet, size_t boy);

// True when rows x columns x element size fits in memory sizes.
bool Boyut2BGecerli(int byt1, int byt2, int boy);

// The block is taken before the row table, so a failure never leaves an
// allocation behind. Row i begins i * byt2 * boy bytes after the block.
template <typename T = char>
T** Calloc2B(int byt1, int byt2, int boy = sizeof(T)) {
    if (!Boyut2BGecerli(byt1, byt2, boy)) return nullptr;
    const size_t oges = static_cast<size_t>(byt1) * static_cast<size_t>(byt2);
    char* p = static_cast<char*>(Ayir(oges, static_cast<size_t>(boy)));
    if (p == nullptr) return nullptr;
    T** pp = static_cast<T**>(Ayir(static_cast<size_t>(byt1), sizeof(T*)));
    if (pp == nullptr) {
        std::free(p);
        return nullptr;
    }
    const size_t satir = static_cast<size_t>(byt2) * static_cast<size_t>(boy);
    for (int i = 0; i < byt1; i++) pp[i] = reinterpret_cast<T*>(p + static_cast<size_t>(i) * satir);
    return pp;
}

// A block from Ayir owned for one scope: freed on every way out of it.
struct AyirBirak {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Dizi = std::unique_ptr<T[], AyirBirak>;

// Working array of `adet` elements from Ayir; null when it cannot be had.
// A count of 0 still gives a block, so an empty request is not a failure.
template <typename T>
Dizi<T> DiziAl(int adet) {
    if (adet < 0) return Dizi<T>();
    return Dizi<T>(static_cast<T*>(Ayir(adet > 0 ? static_cast<size_t>(adet) : 1, sizeof(T))));
}

template <typename T>
int Free2B(T** mat) {
    if (mat != nullptr && mat[0] != nullptr) std::free(mat[0]);
    if (mat != nullptr) std::free(mat);
    return 0;
}

#endif
