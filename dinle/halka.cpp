#include "halka.h"

#include <algorithm>
#include <cstring>

namespace {

size_t IkininKuvveti(size_t n) {
    size_t b = 1;
    while (b < n) b <<= 1;
    return b;
}

}  // namespace

HALKA::HALKA(size_t enaz)
    : boy_(IkininKuvveti(std::max<size_t>(enaz, 2))), maske_(boy_ - 1), veri_(new int16_t[boy_]()) {}

size_t HALKA::Yaz(const int16_t* ornekler, size_t n) {
    const size_t y = yaz_.load(std::memory_order_relaxed);
    const size_t o = oku_.load(std::memory_order_acquire);
    const size_t bos = boy_ - (y - o);
    const size_t k = std::min(n, bos);
    const size_t bas = y & maske_;
    const size_t ilk = std::min(k, boy_ - bas);
    std::memcpy(veri_.get() + bas, ornekler, ilk * sizeof(int16_t));
    std::memcpy(veri_.get(), ornekler + ilk, (k - ilk) * sizeof(int16_t));
    yaz_.store(y + k, std::memory_order_release);
    if (k < n) kayip_.fetch_add(n - k, std::memory_order_relaxed);
    return k;
}

void HALKA::AygitBlogu(const int16_t* giris, size_t n, bool tasma) {
    if (tasma) TasmaEkle();
    if (giris != nullptr) Yaz(giris, n);
    else KayipEkle(n);
}

size_t HALKA::Oku(int16_t* ornekler, size_t n) {
    const size_t o = oku_.load(std::memory_order_relaxed);
    const size_t y = yaz_.load(std::memory_order_acquire);
    const size_t k = std::min(n, y - o);
    const size_t bas = o & maske_;
    const size_t ilk = std::min(k, boy_ - bas);
    std::memcpy(ornekler, veri_.get() + bas, ilk * sizeof(int16_t));
    std::memcpy(ornekler + ilk, veri_.get(), (k - ilk) * sizeof(int16_t));
    oku_.store(o + k, std::memory_order_release);
    return k;
}

size_t HALKA::Dolu() const {
    return yaz_.load(std::memory_order_acquire) - oku_.load(std::memory_order_acquire);
}
