// Level of a recording: the peak sample magnitude relative to full scale, in
// dBFS (20 * log10(peak / full scale); 0 dBFS is the largest value the sample
// format holds, -inf a buffer of silence). Samples are PCM as the device
// layer records them: 8-bit unsigned (centre 128), 16-, 24- and 32-bit signed
// little-endian, channels interleaved (all channels count).
#ifndef DUZEY_H
#define DUZEY_H

// Below this peak a recording is too weak to hold usable speech.
constexpr double ZAYIF_SES_DBFS = -40.0;

// Peak of `bayt` bytes of `oc`-bit samples; -inf when there are none or
// they are all zero (or `oc` is not 8, 16, 24 or 32).
double TepeDbfs(const char* tampon, long bayt, int oc);

#endif
