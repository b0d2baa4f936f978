#include "duz_metin.h"

void DuzMetin::Yaz(const std::string& bayt) {
    for (size_t i = 0; i < bayt.size();) {
        const unsigned char c = static_cast<unsigned char>(bayt[i]);
        if (c == '\n') {  // a terminal's output moves to the next row's start
            SatirBitir();
            satir_++;
            sutun_ = 0;
            i++;
            continue;
        }
        if (c == '\r') {
            sutun_ = 0;
            i++;
            continue;
        }
        size_t n = 1;  // a lead byte takes its continuation bytes with it
        while (i + n < bayt.size() && (static_cast<unsigned char>(bayt[i + n]) & 0xC0) == 0x80) n++;
        if (hucre_.size() <= sutun_) hucre_.resize(sutun_ + 1, " ");
        hucre_[sutun_++] = bayt.substr(i, n);
        i += n;
    }
}

void DuzMetin::Git(int x, int y) {
    const size_t sutun = x > 1 ? static_cast<size_t>(x - 1) : 0;
    if (y != satir_ || sutun >= hucre_.size()) SatirBitir();
    satir_ = y;
    sutun_ = sutun;
}

void DuzMetin::SatirSil() {
    if (sutun_ < hucre_.size()) hucre_.resize(sutun_);
}

void DuzMetin::SatirBitir() {
    std::string satir;
    for (const std::string& h : hucre_) satir += h;
    hucre_.clear();
    const size_t bas = satir.find_first_not_of(" \t");
    if (bas == std::string::npos) return;
    const size_t son = satir.find_last_not_of(" \t");
    cikti_.append(satir, bas, son - bas + 1);
    cikti_ += '\n';
    ekranDolu_ = true;
}

void DuzMetin::EkranTemizle() {
    SatirBitir();
    if (ekranDolu_) cikti_ += '\n';
    ekranDolu_ = false;
    satir_ = 1;
    sutun_ = 0;
}

std::string DuzMetin::Al() {
    std::string s;
    s.swap(cikti_);
    return s;
}
