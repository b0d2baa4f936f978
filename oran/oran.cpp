#include "oran.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>

bool OranDonustur(const std::vector<float>& giris, double girisOrani, double cikisOrani, std::vector<float>& cikis,
                  std::string* hata) {
    cikis.clear();
    ORAN_AKISI akis;
    if (!akis.Kur(girisOrani, cikisOrani, hata)) return false;
    // Fed in blocks, the converter's buffers stay small: its output is the
    // same (ORAN_AKISI), in about two thirds of one call's time.
    constexpr size_t BLOK = 1024;
    cikis.reserve(static_cast<size_t>(std::round(static_cast<double>(giris.size()) * cikisOrani / girisOrani)));
    for (size_t i = 0; i < giris.size(); i += BLOK) {
        if (!akis.Besle(giris.data() + i, std::min(BLOK, giris.size() - i), cikis, hata)) {
            cikis.clear();
            return false;
        }
    }
    if (!akis.Bitir(cikis, hata)) {
        cikis.clear();
        return false;
    }
    return true;
}

ORAN_AKISI::~ORAN_AKISI() {
    if (soxr_ != nullptr) soxr_delete(soxr_);
}

bool ORAN_AKISI::Kur(double girisOrani, double cikisOrani, std::string* hata) {
    if (soxr_ != nullptr) soxr_delete(soxr_);
    soxr_ = nullptr;
    bekleyen_.clear();
    girdi_ = cikan_ = 0;
    if (!(girisOrani > 0) || !(cikisOrani > 0) || !std::isfinite(girisOrani) || !std::isfinite(cikisOrani)) {
        *hata = "örnekleme oranı geçersiz";
        return false;
    }
    // OranDonustur's converter, made as soxr_oneshot makes it.
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t nitelik = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t h = nullptr;
    soxr_ = soxr_create(girisOrani, cikisOrani, 1, &h, &io, &nitelik, nullptr);
    if (h != nullptr || soxr_ == nullptr) {
        *hata = h != nullptr ? h : "dönüştürücü kurulamadı";
        if (soxr_ != nullptr) soxr_delete(soxr_);
        soxr_ = nullptr;
        return false;
    }
    giris_ = girisOrani;
    cikis_ = cikisOrani;
    tampon_.resize(16384);
    return true;
}

// Takes out what the converter has made of its input so far into
// bekleyen_; `sonuna`: the input has ended (the converter's flush).
bool ORAN_AKISI::Al(bool sonuna, std::string* hata) {
    static const float bos = 0.0f;
    for (;;) {
        size_t yapilan = 0;
        // No input: a null pointer ends the stream, any other only asks for output.
        const soxr_error_t h =
            soxr_process(soxr_, sonuna ? nullptr : &bos, 0, nullptr, tampon_.data(), tampon_.size(), &yapilan);
        if (h != nullptr) {
            *hata = h;
            return false;
        }
        bekleyen_.insert(bekleyen_.end(), tampon_.begin(), tampon_.begin() + static_cast<long>(yapilan));
        if (yapilan == 0) return true;
    }
}

// Appends the waiting output while the total stays within `sinir`.
void ORAN_AKISI::Birak(size_t sinir, std::vector<float>& cikis) {
    const size_t k = std::min(bekleyen_.size(), sinir > cikan_ ? sinir - cikan_ : 0);
    cikis.insert(cikis.end(), bekleyen_.begin(), bekleyen_.begin() + static_cast<long>(k));
    bekleyen_.erase(bekleyen_.begin(), bekleyen_.begin() + static_cast<long>(k));
    cikan_ += k;
}

bool ORAN_AKISI::Besle(const float* x, size_t n, std::vector<float>& cikis, std::string* hata) {
    if (soxr_ == nullptr) {
        *hata = "dönüştürücü kurulmadı";
        return false;
    }
    while (n > 0) {
        // The converter takes at most ceil(olen / r) samples in a call.
        size_t alinan = 0, yapilan = 0;
        const soxr_error_t h = soxr_process(soxr_, x, n, &alinan, tampon_.data(), tampon_.size(), &yapilan);
        if (h != nullptr) {
            *hata = h;
            return false;
        }
        if (alinan == 0) {
            *hata = "dönüştürücü girdi almıyor";
            return false;
        }
        bekleyen_.insert(bekleyen_.end(), tampon_.begin(), tampon_.begin() + static_cast<long>(yapilan));
        x += alinan;
        n -= alinan;
        girdi_ += alinan;
    }
    if (!Al(false, hata)) return false;
    // However the input goes on, the output holds at least this many samples.
    Birak(static_cast<size_t>(std::floor(static_cast<double>(girdi_) * cikis_ / giris_)), cikis);
    return true;
}

bool ORAN_AKISI::Bitir(std::vector<float>& cikis, std::string* hata) {
    if (soxr_ == nullptr) {
        *hata = "dönüştürücü kurulmadı";
        return false;
    }
    // As soxr_oneshot ends OranDonustur's single call: flushed, then no more
    // than round(n * cikis / giris) samples (none for no input).
    const bool tamam = girdi_ == 0 || Al(true, hata);
    if (tamam) Birak(static_cast<size_t>(std::round(static_cast<double>(girdi_) * cikis_ / giris_)), cikis);
    soxr_delete(soxr_);
    soxr_ = nullptr;
    bekleyen_.clear();
    return tamam;
}
