#include <cstdlib>

#include "bellek.h"
#include "kancalar.h"

int bellek_hata_sirasi = 0;

namespace {

void* SayarakAyir(size_t adet, size_t boy) {
    if (bellek_hata_sirasi > 0 && --bellek_hata_sirasi == 0) return nullptr;
    return std::calloc(adet, boy);
}

[[maybe_unused]] const bool kuruldu = (bellek_ayirici = SayarakAyir, true);

}  // namespace
