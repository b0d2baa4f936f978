#include "bolut.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Windows of kpenu samples covering `ms` milliseconds, rounded up.
int64_t Pencereler(int ms, int oo, int kpenu) {
    const int64_t ornek = (static_cast<int64_t>(ms) * oo + 999) / 1000;
    return (ornek + kpenu - 1) / kpenu;
}

}  // namespace

BOLUTLEYICI::BOLUTLEYICI(const BOLUTAYARI& a) : a_(a) {
    a_.oo = std::max(a_.oo, 1);
    kpenu_ = static_cast<int>(std::max<int64_t>(1, static_cast<int64_t>(a_.kpensu) * a_.oo / 1000));
    sessizSay_ = std::max<int64_t>(1, Pencereler(std::max(a_.sessizlikMs, 0), a_.oo, kpenu_));
    girisSay_ = std::max<int64_t>(1, Pencereler(100, a_.oo, kpenu_));
    enKisaSay_ = Pencereler(std::max(a_.enKisaMs, 0), a_.oo, kpenu_);
    // Never further back than the limit: whole windows only.
    geriSay_ = static_cast<int64_t>(std::max(a_.geriMs, 0)) * a_.oo / 1000 / kpenu_;
    tarih_ = std::max<int64_t>({16, Pencereler(1500, a_.oo, kpenu_), geriSay_ + 2});
    enUzun_ = std::max<int64_t>(1, static_cast<int64_t>(std::max(a_.ksu, 0)) * a_.oo);
    gecmis_.resize(static_cast<size_t>(tarih_));
    parca_.reserve(static_cast<size_t>(kpenu_));
    sirala_.reserve(static_cast<size_t>(tarih_));
    yuksek_ = a_.yee;
    alcak_ = std::min(a_.yee, a_.aee);
    sgEsik_ = a_.bsge;
}

void BOLUTLEYICI::Besle(const int16_t* x, size_t n, std::vector<SOZCE>& biten) {
    for (size_t i = 0; i < n; i++) {
        parca_.push_back(x[i]);
        konum_++;
        if (parca_.size() == static_cast<size_t>(kpenu_)) Cerceve(biten);
    }
}

void BOLUTLEYICI::Cerceve(std::vector<SOZCE>& biten) {
    int64_t toplam = 0;
    int gecis = 0;
    int16_t once = oncekiVar_ ? onceki_ : parca_[0];
    for (int16_t v : parca_) {
        toplam += std::abs(static_cast<int>(v));
        if ((once < 0) != (v < 0)) gecis += 2;
        once = v;
    }
    onceki_ = parca_.back();
    oncekiVar_ = true;
    parca_.clear();
    const int e = static_cast<int>(toplam / kpenu_);
    sonOrke_ = e;
    const int64_t f = say_++;
    const int64_t bas = konum_ - kpenu_;
    gecmis_[static_cast<size_t>(f % tarih_)] = CERCEVE{bas, e, gecis};

    if (durum_ == BD_DINLIYOR) {
        EsikleriKur();
        if (say_ >= girisSay_ && e >= yuksek_) Baslat();
        return;
    }
    if (e >= alcak_) {
        sonYuksek_ = bas + kpenu_;
        sessiz_ = 0;
    } else {
        sessiz_++;
    }
    // A background that rose to the high threshold is no word.
    if (say_ >= tarih_) {
        double E, Z, S;
        ArkaPlan(E, Z, S);
        if (E >= yuksek_) {
            durum_ = BD_DINLIYOR;
            oncekiBitis_ = konum_;
            return;
        }
    }
    if (durum_ == BD_KONUSMA) {
        if (sessiz_ >= sessizSay_) {
            Sal(biten, sonYuksek_, false);
            durum_ = BD_DINLIYOR;
        } else if (konum_ - basla_ >= enUzun_) {
            Sal(biten, std::min(konum_, basla_ + enUzun_), true);
            durum_ = BD_BEKLIYOR;
            sessiz_ = 0;
        }
    } else if (sessiz_ >= sessizSay_) {  // BD_BEKLIYOR: the rest of a long sound
        durum_ = BD_DINLIYOR;
        oncekiBitis_ = konum_;
    }
}

void BOLUTLEYICI::ArkaPlan(double& E, double& Z, double& S) {
    const int64_t k = std::min(say_, tarih_);
    sirala_.clear();
    for (int64_t i = say_ - k; i < say_; i++) sirala_.emplace_back(Gecmis(i).e, Gecmis(i).z);
    const size_t q = static_cast<size_t>(std::max<int64_t>(1, k / 5));
    std::nth_element(sirala_.begin(), sirala_.begin() + static_cast<std::ptrdiff_t>(q - 1), sirala_.end());
    double te = 0, tz = 0, tz2 = 0;
    for (size_t i = 0; i < q; i++) {
        te += sirala_[i].first;
        tz += sirala_[i].second;
        tz2 += static_cast<double>(sirala_[i].second) * sirala_[i].second;
    }
    E = te / static_cast<double>(q);
    Z = tz / static_cast<double>(q);
    S = std::sqrt(std::max(0.0, tz2 / static_cast<double>(q) - Z * Z));
}

void BOLUTLEYICI::EsikleriKur() {
    double E, Z, S;
    ArkaPlan(E, Z, S);
    yuksek_ = std::max(a_.yee, static_cast<int>(std::ceil(7.5 * E)));
    alcak_ = std::min(yuksek_, std::max(a_.aee, static_cast<int>(std::ceil(4.0 * E))));
    sgEsik_ = std::max(a_.bsge, static_cast<int>(std::ceil(Z + 2.0 * S)));
}

void BOLUTLEYICI::Baslat() {
    const int64_t f = say_ - 1;
    const int64_t alt = std::max<int64_t>({0, f - geriSay_, say_ - tarih_});
    auto olur = [&](int64_t i) { return i >= alt && Gecmis(i).bas >= oncekiBitis_; };
    int64_t i = f;
    while (olur(i - 1) && Gecmis(i - 1).e >= alcak_) i--;
    while (olur(i - 1) && Gecmis(i - 1).z >= sgEsik_) i--;
    basla_ = Gecmis(i).bas;
    yuksekIlk_ = Gecmis(f).bas;
    sonYuksek_ = Gecmis(f).bas + kpenu_;
    sessiz_ = 0;
    durum_ = BD_KONUSMA;
}

void BOLUTLEYICI::Sal(std::vector<SOZCE>& biten, int64_t bit, bool kesildi) {
    oncekiBitis_ = bit;
    if (bit - yuksekIlk_ < enKisaSay_ * kpenu_) return;
    SOZCE s;
    s.bas = basla_;
    s.bit = bit;
    s.yee = yuksek_;
    s.aee = alcak_;
    s.bsge = sgEsik_;
    s.kesildi = kesildi;
    biten.push_back(s);
}

void BOLUTLEYICI::Bitir(std::vector<SOZCE>& biten) {
    if (durum_ == BD_KONUSMA) Sal(biten, sonYuksek_, true);
    durum_ = BD_DINLIYOR;
}

void BOLUTLEYICI::Bosluk(size_t n) {
    if (durum_ != BD_DINLIYOR) durum_ = BD_DINLIYOR;
    konum_ += static_cast<int64_t>(n);
    parca_.clear();
    oncekiVar_ = false;
    oncekiBitis_ = konum_;
}
