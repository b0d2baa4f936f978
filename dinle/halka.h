// A lock-free ring of 16-bit samples between one writer (the sound device's
// callback thread) and one reader (the listening loop). The writer never
// blocks and never allocates: what does not fit is dropped and counted, so a
// reader that falls behind learns how many samples it lost (an overrun)
// instead of hearing a silent gap. Indices grow without bound and are taken
// modulo the capacity, a power of two.
#ifndef HALKA_H
#define HALKA_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

class HALKA {
public:
    // Room for at least `enaz` samples (rounded up to a power of two).
    explicit HALKA(size_t enaz);

    // Writer side: copies up to n samples; the rest are counted as lost.
    // Returns the number written.
    size_t Yaz(const int16_t* ornekler, size_t n);
    // Writer side: n samples the device itself lost (counted only).
    void KayipEkle(size_t n) { kayip_.fetch_add(n, std::memory_order_relaxed); }
    // Writer side: the device overran and lost an unknown number of samples.
    void TasmaEkle() { tasma_.fetch_add(1, std::memory_order_relaxed); }
    // Writer side, for a device callback: the block `giris` of n samples
    // (nullptr: n samples the device could not give), `tasma` when the
    // device reports an overrun before it.
    void AygitBlogu(const int16_t* giris, size_t n, bool tasma);

    // Reader side: copies up to n samples out. Returns the number read.
    size_t Oku(int16_t* ornekler, size_t n);
    // Samples lost since the last call (reader side; resets the count).
    size_t KayipAl() { return kayip_.exchange(0, std::memory_order_relaxed); }
    // Device overruns since the last call (reader side; resets the count).
    size_t TasmaAl() { return tasma_.exchange(0, std::memory_order_relaxed); }

    size_t Dolu() const;
    size_t Kapasite() const { return boy_; }

private:
    size_t boy_, maske_;
    std::unique_ptr<int16_t[]> veri_;
    std::atomic<size_t> yaz_{0}, oku_{0}, kayip_{0}, tasma_{0};
};

#endif
