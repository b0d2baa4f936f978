// Sampling-rate conversion of one channel of float samples with libsoxr at
// its high quality (a linear-phase band-limited filter: 20-bit precision,
// pass band to 91 % of the lower Nyquist frequency, no aliasing into it).
// The output holds round(n * cikis / giris) samples, aligned with the input
// (the filter's delay is taken out).
#ifndef ORAN_H
#define ORAN_H

#include <string>
#include <vector>

// Converts `giris` (at `girisOrani` Hz) to `cikisOrani` Hz into `cikis`.
// False with the converter's reason in *hata (rates must be positive).
bool OranDonustur(const std::vector<float>& giris, double girisOrani, double cikisOrani, std::vector<float>& cikis,
                  std::string* hata);

#endif
