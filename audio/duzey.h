// Samples of a recording as the device layer records them: PCM, 8-bit
// unsigned (centre 128), 16-, 24- and 32-bit signed little-endian, channels
// interleaved. Offers one sample's value, the level of a recording (the peak
// sample magnitude relative to full scale, in dBFS: 20 * log10(peak / full
// scale); 0 dBFS is the largest value the sample format holds, -inf a buffer
// of silence; all channels count) and the recording as 16-bit mono.
#ifndef DUZEY_H
#define DUZEY_H

#include <cstdint>
#include <vector>

#include "velmo.h"

// The sample of `genislik` bytes (1 to 4) at `p`, aligned to the top of 32
// bits: a b-bit sample v is v * 2^(32-b), an 8-bit one (v - 128) * 2^24.
// Shifting right by 32-b (arithmetic) gives v back.
inline int32_t PcmOrnek(const unsigned char* p, int genislik) {
    if (genislik == 1) return static_cast<int32_t>(static_cast<uint32_t>(p[0] ^ 0x80u) << 24);
    uint32_t u = 0;
    for (int i = 0; i < genislik; i++) u |= static_cast<uint32_t>(p[i]) << (8 * (4 - genislik + i));
    return static_cast<int32_t>(u);
}

// Below this peak a recording is too weak to hold usable speech; kind 3,
// whose endpoint thresholds follow the level, finds it down to -45 dBFS.
constexpr double ZAYIF_SES_DBFS = -40.0;
constexpr double ZAYIF_SES_DBFS_KESITLI = -50.0;

// Peak of `bayt` bytes of `oc`-bit samples; -inf when there are none or
// they are all zero (or `oc` is not 8, 16, 24 or 32).
double TepeDbfs(const char* tampon, long bayt, int oc);

// A recording of `kytu` bytes in the format of `b` (channels ks, bits oc) as
// 16-bit mono samples: the channels averaged (truncated toward zero), wider
// samples cut to their top 16 bits, 8-bit ones widened. Empty when the
// format is none of those, the channels are outside the settings' range or
// the bytes are not whole frames.
std::vector<int16_t> OnAltiBitTekKanal(const char* kyt, int kytu, const KURALDOSYABASLIK& b);

#endif
