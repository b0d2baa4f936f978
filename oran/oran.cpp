#include "oran.h"

#include <soxr.h>

#include <cmath>

bool OranDonustur(const std::vector<float>& giris, double girisOrani, double cikisOrani, std::vector<float>& cikis,
                  std::string* hata) {
    cikis.clear();
    if (!(girisOrani > 0) || !(cikisOrani > 0) || !std::isfinite(girisOrani) || !std::isfinite(cikisOrani)) {
        *hata = "örnekleme oranı geçersiz";
        return false;
    }
    if (giris.empty()) return true;
    const double boy = std::round(static_cast<double>(giris.size()) * cikisOrani / girisOrani);
    cikis.resize(static_cast<size_t>(boy));
    if (cikis.empty()) return true;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t nitelik = soxr_quality_spec(SOXR_HQ, 0);
    size_t yapilan = 0;
    const soxr_error_t h = soxr_oneshot(girisOrani, cikisOrani, 1, giris.data(), giris.size(), nullptr, cikis.data(),
                                        cikis.size(), &yapilan, &io, &nitelik, nullptr);
    if (h != nullptr) {
        *hata = h;
        cikis.clear();
        return false;
    }
    cikis.resize(yapilan);
    return true;
}
