#include "bellek.h"

#include <cstdint>

void* (*bellek_ayirici)(size_t, size_t) = std::calloc;

void* Ayir(size_t adet, size_t boy) {
    size_t toplam = 0;
    if (__builtin_mul_overflow(adet, boy, &toplam)) return nullptr;
    return bellek_ayirici(adet, boy);
}

bool Boyut2BGecerli(int byt1, int byt2, int boy) {
    if (byt1 < 1 || byt2 < 1 || boy < 1) return false;
    size_t oges = 0, bayt = 0;
    if (__builtin_mul_overflow(static_cast<size_t>(byt1), static_cast<size_t>(byt2), &oges)) return false;
    if (__builtin_mul_overflow(oges, static_cast<size_t>(boy), &bayt)) return false;
    return bayt <= PTRDIFF_MAX;
}
