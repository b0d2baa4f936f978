// MATRIS: a matrix of floats, rows x columns in one contiguous, zero-filled,
// row-major block taken from Ayir (bellek.h), so a failed allocation is an
// answer (Kur gives false), never an abort. m[i] is row i; m[i][j] one
// element; Veri() the whole block. It owns its block and moves; a copy is
// explicit (Kopyala), since it may fail like any allocation.
#ifndef MATRIS_H
#define MATRIS_H

#include <cstring>
#include <utility>

#include "bellek.h"

// Rows of floats `adim` apart, as a view: v[i] is row i. A codebook, a
// section of one, or the feature rows of an analysis are all seen this way
// by the quantiser's loops.
template <typename T>
struct SATIRLAR {
    T* veri = nullptr;
    size_t adim = 0;
    T* operator[](int i) const { return veri + static_cast<size_t>(i) * adim; }
    operator SATIRLAR<const T>() const { return SATIRLAR<const T>{veri, adim}; }
    // The view from row i on.
    SATIRLAR Kaydir(int i) const { return SATIRLAR{(*this)[i], adim}; }
    explicit operator bool() const { return veri != nullptr; }
};

class MATRIS {
public:
    MATRIS() = default;
    MATRIS(MATRIS&& o) noexcept : satir_(o.satir_), sutun_(o.sutun_), veri_(std::move(o.veri_)) {
        o.satir_ = o.sutun_ = 0;
    }
    MATRIS& operator=(MATRIS&& o) noexcept {
        if (this != &o) {
            satir_ = o.satir_;
            sutun_ = o.sutun_;
            veri_ = std::move(o.veri_);
            o.satir_ = o.sutun_ = 0;
        }
        return *this;
    }
    MATRIS(const MATRIS&) = delete;
    MATRIS& operator=(const MATRIS&) = delete;

    // A new zero-filled matrix of `satir` x `sutun`, replacing this one.
    // False (the matrix left empty) for fewer than one row or column, a size
    // memory cannot hold, or when the block cannot be had.
    bool Kur(int satir, int sutun) {
        Birak();
        if (!Boyut2BGecerli(satir, sutun, static_cast<int>(sizeof(float)))) return false;
        veri_.reset(static_cast<float*>(
            Ayir(static_cast<size_t>(satir) * static_cast<size_t>(sutun), sizeof(float))));
        if (!veri_) return false;
        satir_ = satir;
        sutun_ = sutun;
        return true;
    }
    // A copy of `o` in place of this one; false (left empty) without memory.
    bool Kopyala(const MATRIS& o) {
        if (this == &o) return true;
        if (o.Bos()) {
            Birak();
            return true;
        }
        if (!Kur(o.satir_, o.sutun_)) return false;
        std::memcpy(veri_.get(), o.veri_.get(), o.Oge() * sizeof(float));
        return true;
    }
    void Birak() {
        veri_.reset();
        satir_ = sutun_ = 0;
    }

    bool Bos() const { return !veri_; }
    int Satir() const { return satir_; }
    int Sutun() const { return sutun_; }
    size_t Oge() const { return static_cast<size_t>(satir_) * static_cast<size_t>(sutun_); }
    float* Veri() { return veri_.get(); }
    const float* Veri() const { return veri_.get(); }
    float* operator[](int i) { return veri_.get() + static_cast<size_t>(i) * static_cast<size_t>(sutun_); }
    const float* operator[](int i) const {
        return veri_.get() + static_cast<size_t>(i) * static_cast<size_t>(sutun_);
    }

    SATIRLAR<float> Satirlar() { return SATIRLAR<float>{veri_.get(), static_cast<size_t>(sutun_)}; }
    SATIRLAR<const float> Satirlar() const {
        return SATIRLAR<const float>{veri_.get(), static_cast<size_t>(sutun_)};
    }

private:
    int satir_ = 0, sutun_ = 0;
    Dizi<float> veri_;
};

#endif
