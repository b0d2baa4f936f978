#include "dinleyici.h"

#include <algorithm>
#include <cmath>

DINLEYICI::DINLEYICI(const BOLUTAYARI& a, double pay, bool kaydet)
    : bolut_(a), pay_(std::llround(std::max(0.0, pay) * a.oo)), kaydet_(kaydet) {
    // The longest utterance, its walk back, the silence that ends it, the
    // margins, and some slack.
    const int64_t saniye = static_cast<int64_t>(std::max(a.ksu, 0)) * 1000 + std::max(a.geriMs, 0) +
                           std::max(a.sessizlikMs, 0) + 500;
    tut_ = saniye * a.oo / 1000 + 2 * pay_;
}

void DINLEYICI::Kes(int64_t bas, int64_t bit, SES_PARCASI& p) const {
    const int64_t son = tamponBas_ + static_cast<int64_t>(tampon_.size());
    bas = std::max(bas, tamponBas_);
    bit = std::min(bit, son);
    p.bas = bas;
    p.ornek.clear();
    if (bit > bas)
        p.ornek.assign(tampon_.begin() + (bas - tamponBas_), tampon_.begin() + (bit - tamponBas_));
}

void DINLEYICI::Dagit(std::vector<SOZCE>& biten, std::vector<SES_PARCASI>& sozceler) {
    for (const SOZCE& s : biten) {
        SES_PARCASI p;
        p.s = s;
        Kes(s.bas, s.bit, p);
        sozceler.push_back(std::move(p));
        if (kaydet_) bekleyen_.push_back(s);
    }
    biten.clear();
}

void DINLEYICI::Hazirlar(bool hepsi, std::vector<SES_PARCASI>& kayitlar) {
    const int64_t son = tamponBas_ + static_cast<int64_t>(tampon_.size());
    while (!bekleyen_.empty() && (hepsi || bekleyen_.front().bit + pay_ <= son)) {
        SES_PARCASI p;
        p.s = bekleyen_.front();
        Kes(p.s.bas - pay_, p.s.bit + pay_, p);
        kayitlar.push_back(std::move(p));
        bekleyen_.pop_front();
    }
}

void DINLEYICI::Kirp() {
    if (static_cast<int64_t>(tampon_.size()) <= 2 * tut_) return;
    const int64_t son = tamponBas_ + static_cast<int64_t>(tampon_.size());
    int64_t ilk = son - tut_;
    if (!bekleyen_.empty()) ilk = std::min(ilk, bekleyen_.front().bas - pay_);
    if (ilk <= tamponBas_) return;
    tampon_.erase(tampon_.begin(), tampon_.begin() + (ilk - tamponBas_));
    tamponBas_ = ilk;
}

void DINLEYICI::Besle(const int16_t* x, size_t n, std::vector<SES_PARCASI>& sozceler,
                      std::vector<SES_PARCASI>& kayitlar) {
    tampon_.insert(tampon_.end(), x, x + n);
    bolut_.Besle(x, n, biten_);
    Dagit(biten_, sozceler);
    Hazirlar(false, kayitlar);
    Kirp();
}

void DINLEYICI::Bitir(std::vector<SES_PARCASI>& sozceler, std::vector<SES_PARCASI>& kayitlar) {
    bolut_.Bitir(biten_);
    Dagit(biten_, sozceler);
    Hazirlar(true, kayitlar);
}

void DINLEYICI::Bosluk(size_t n) {
    bolut_.Bosluk(n);
    if (static_cast<int64_t>(n) > tut_) {
        // Nothing of the history is worth keeping; pending takes are cut short.
        tamponBas_ += static_cast<int64_t>(tampon_.size()) + static_cast<int64_t>(n);
        tampon_.clear();
        return;
    }
    tampon_.insert(tampon_.end(), n, 0);
    Kirp();
}
