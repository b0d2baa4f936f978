#include "bolut.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sinir.h"

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
    soz_.reserve(static_cast<size_t>(enUzun_ / kpenu_ + geriSay_ + sessizSay_ + 2));
    yuksek_ = EN_AZ_YUKSEK;
    alcak_ = 1;
    sgEsik_ = a_.bsge;
    sessizEsik_ = 1;
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
    gecmis_[static_cast<size_t>(f % tarih_)] = CERCEVE{bas, e, gecis, toplam};

    if (durum_ == BD_DINLIYOR) {
        EsikleriKur();
        if (say_ >= girisSay_ && e >= yuksek_) Baslat();
        return;
    }
    if (durum_ == BD_KONUSMA) soz_.push_back(Gecmis(f));
    if (e >= sessizEsik_) {
        sonYuksek_ = bas + kpenu_;
        sessiz_ = 0;
    } else {
        sessiz_++;
    }
    // A background that rose to the high threshold is no word.
    if (say_ >= tarih_ && Yukseldi()) {
        durum_ = BD_DINLIYOR;
        oncekiBitis_ = konum_;
        return;
    }
    if (durum_ == BD_KONUSMA) {
        if (sessiz_ >= sessizSay_) {
            Sal(biten, sonYuksek_, konum_, false);
            durum_ = BD_DINLIYOR;
        } else if (konum_ - soz_.front().bas >= enUzun_) {
            const int64_t kes = std::min(konum_, soz_.front().bas + enUzun_);
            Sal(biten, kes, kes, true);
            durum_ = BD_BEKLIYOR;
            sessiz_ = 0;
        }
    } else if (sessiz_ >= sessizSay_) {  // BD_BEKLIYOR: the rest of a long sound
        durum_ = BD_DINLIYOR;
        oncekiBitis_ = konum_;
    }
}

BOLUTLEYICI::ARKAPLAN BOLUTLEYICI::ArkaPlan() {
    const int64_t k = std::min(say_, tarih_);
    const int64_t n = std::min(k, girisSay_);
    const int64_t ilk = say_ - k;
    auto E = [&](int64_t i) { return static_cast<double>(Gecmis(i).toplam) / kpenu_; };
    // The run of n windows with the smallest energy sum, the oldest on ties.
    int64_t toplam = 0;
    for (int64_t i = ilk; i < ilk + n; i++) toplam += Gecmis(i).toplam;
    int64_t enAz = toplam, bas = ilk;
    for (int64_t i = ilk + 1; i + n <= say_; i++) {
        toplam += Gecmis(i + n - 1).toplam - Gecmis(i - 1).toplam;
        if (toplam < enAz) {
            enAz = toplam;
            bas = i;
        }
    }
    ARKAPLAN a{};
    double te = 0, tz = 0;
    for (int64_t i = bas; i < bas + n; i++) {
        te += E(i);
        tz += Gecmis(i).z;
    }
    a.me = te / static_cast<double>(n);
    a.mz = tz / static_cast<double>(n);
    double ke = 0, kz = 0;
    for (int64_t i = bas; i < bas + n; i++) {
        ke += (E(i) - a.me) * (E(i) - a.me);
        kz += (Gecmis(i).z - a.mz) * (Gecmis(i).z - a.mz);
    }
    a.de = std::sqrt(ke / static_cast<double>(n));
    a.dz = std::sqrt(kz / static_cast<double>(n));
    return a;
}

bool BOLUTLEYICI::Yukseldi() {
    // The quietest fifth of the windows kept, wherever they lie, against the
    // median: a noise that stepped up is steady, a long word has its dips.
    sirala_.clear();
    for (int64_t i = say_ - tarih_; i < say_; i++) sirala_.push_back(Gecmis(i).toplam);
    const auto orta = sirala_.begin() + static_cast<std::ptrdiff_t>(sirala_.size() / 2);
    std::nth_element(sirala_.begin(), orta, sirala_.end());
    const double ortanca = static_cast<double>(*orta) / kpenu_;
    const size_t q = std::max<size_t>(1, sirala_.size() / 5);
    std::nth_element(sirala_.begin(), sirala_.begin() + static_cast<std::ptrdiff_t>(q - 1), orta);
    int64_t toplam = 0;
    for (size_t i = 0; i < q; i++) toplam += sirala_[i];
    const double sessiz = static_cast<double>(toplam) / static_cast<double>(q) / kpenu_;
    return sessiz >= yuksek_ && 2 * sessiz >= ortanca;
}

void BOLUTLEYICI::EsikleriKur() {
    const ARKAPLAN a = ArkaPlan();
    auto Tavan = [](double v) { return static_cast<int>(std::min(std::ceil(v), 2147483647.0)); };
    yuksek_ = std::max<int>(EN_AZ_YUKSEK, Tavan(7.5 * a.me));
    alcak_ = std::min(yuksek_, std::max(static_cast<int>(std::floor(a.me)) + 1, Tavan(a.me + 3 * a.de)));
    sessizEsik_ = std::min(yuksek_, std::max(alcak_, Tavan(2 * a.me)));
    sgEsik_ = std::max(a_.bsge, Tavan(a.mz + 2 * a.dz));
}

size_t BOLUTLEYICI::GeriYuru(size_t f, size_t alt) const {
    size_t i = f;
    while (i > alt && soz_[i - 1].e >= alcak_) i--;
    while (i > alt && soz_[i - 1].z >= sgEsik_) i--;
    return i;
}

void BOLUTLEYICI::Baslat() {
    const int64_t f = say_ - 1;
    // The windows the start may walk back over: kept, within the limit, after
    // the previous utterance.
    int64_t alt = std::max<int64_t>({0, f - geriSay_, say_ - tarih_});
    while (alt < f && Gecmis(alt).bas < oncekiBitis_) alt++;
    soz_.clear();
    for (int64_t i = alt; i <= f; i++) soz_.push_back(Gecmis(i));
    const size_t bas = GeriYuru(soz_.size() - 1, 0);
    soz_.erase(soz_.begin(), soz_.begin() + static_cast<std::ptrdiff_t>(bas));
    yuksekIlk_ = Gecmis(f).bas;
    sonYuksek_ = Gecmis(f).bas + kpenu_;
    sessiz_ = 0;
    durum_ = BD_KONUSMA;
}

void BOLUTLEYICI::Sal(std::vector<SOZCE>& biten, int64_t bit, int64_t sinir, bool kesildi) {
    oncekiBitis_ = bit;
    if (bit - yuksekIlk_ < enKisaSay_ * kpenu_) return;
    // Its ends as the endpoint detector finds them in a recording, with the
    // high threshold its loudest window gives.
    size_t n = 0;
    int enBuyuk = 0;
    while (n < soz_.size() && soz_[n].bas < sinir) enBuyuk = std::max(enBuyuk, soz_[n++].e);
    const int yuksek = std::max(yuksek_, (enBuyuk + ESIK_TEPE_ORANI - 1) / ESIK_TEPE_ORANI);
    size_t ilk = 0, son = n - 1;
    while (soz_[ilk].e < yuksek) ilk++;
    while (soz_[son].e < yuksek) son--;
    while (son + 1 < n && soz_[son + 1].e >= alcak_) son++;
    const size_t alt = ilk > static_cast<size_t>(geriSay_) ? ilk - static_cast<size_t>(geriSay_) : 0;
    SOZCE s;
    s.bas = soz_[GeriYuru(ilk, alt)].bas;
    s.bit = std::min(sinir, soz_[son].bas + kpenu_);
    s.yee = yuksek;
    s.aee = alcak_;
    s.bsge = sgEsik_;
    s.kesildi = kesildi;
    oncekiBitis_ = std::max(oncekiBitis_, s.bit);
    biten.push_back(s);
}

void BOLUTLEYICI::Bitir(std::vector<SOZCE>& biten) {
    if (durum_ == BD_KONUSMA) Sal(biten, sonYuksek_, konum_, true);
    durum_ = BD_DINLIYOR;
}

void BOLUTLEYICI::Bosluk(size_t n) {
    if (durum_ != BD_DINLIYOR) durum_ = BD_DINLIYOR;
    konum_ += static_cast<int64_t>(n);
    parca_.clear();
    oncekiVar_ = false;
    oncekiBitis_ = konum_;
}
