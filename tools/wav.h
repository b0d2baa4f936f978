// Sound files as recordings. A file (WAV or any other format libsndfile
// reads) is mixed to one channel, resampled to the settings' rate with
// libsoxr (oran.h), optionally levelled, padded and given a little noise, and
// cut or zero-filled to exactly the number of samples a recording of the
// given length holds: the samples the microphone would have given (one
// channel of 16 bits, as the stages take it).
#ifndef WAV_H
#define WAV_H

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// How a file is turned into a recording.
struct SESAYARI {
    double dolgu = 0.0;        // seconds of silence before (and after) the sound
    bool tepeVar = false;
    double tepe = 0.0;         // peak level in dBFS the sound is brought to
    bool gurultuVar = false;
    double gurultu = 0.0;      // peak of white noise over the whole buffer, dBFS
};

// Reads `ad` into `ornekler`: oo * saniye 16-bit samples. 0 on success; 1
// after one Turkish line naming the file on standard error.
int SesDosyasiOku(const std::string& ad, int oo, int saniye, const SESAYARI& ayar,
                  std::vector<short>& ornekler);

// `ad` is a take with no sound in it: a regular file of no bytes, or a sound
// file whose header holds no samples (a header alone). Such a file is what a
// save killed before its samples were written can leave.
bool BosSesDosyasi(const std::string& ad);

// A sound file read as a stream: the samples SesDosyasiOku gives for a
// recording of the file without padding, level or noise, block by block,
// in memory that does not grow with the file's length (the file is read
// and converted a block at a time, ORAN_AKISI in oran.h).
class SES_AKISI {
public:
    SES_AKISI();
    ~SES_AKISI();
    SES_AKISI(const SES_AKISI&) = delete;
    SES_AKISI& operator=(const SES_AKISI&) = delete;

    // Opens `ad`, a regular sound file, and reads its header; false after
    // SesDosyasiOku's line naming the file.
    bool Ac(const std::string& ad);
    // As the header says: frames (of all channels) and their rate.
    int64_t Kareler() const;
    int Oran() const;
    // Starts the first `boy` samples of SesDosyasiOku(ad, oo, saniye, {}) (at
    // most oo * saniye); false after SesDosyasiOku's line (a rate that
    // cannot be converted, no sound).
    bool Baslat(int oo, int saniye, int64_t boy);
    // The next samples into x: n of them, fewer only at the end; 0 after the
    // last. A file shorter than its header says is named once at its end,
    // as SesDosyasiOku names it.
    size_t Oku(int16_t* x, size_t n);
    // The conversion failed on the way (said in one line); nothing more comes.
    bool Bozuldu() const;

private:
    struct IC;
    std::unique_ptr<IC> ic_;
};

// One sample of full scale 1.0 as a 16-bit value: times 32768, rounded to
// the nearest integer (ties to even), clipped to -32768..32767; 0 for a
// value that is not finite.
inline short OrnekNicemle(float v) {
    // Held to -32768 .. 32767 first, then rounded to nearest, ties to even,
    // as lrint does in the default rounding mode, without its library call:
    // below 2^22 in magnitude, adding and taking away 1.5 * 2^23 leaves o
    // rounded to an integer by the float addition itself (exact, given float
    // arithmetic with no extra precision). Not a number and the infinities
    // give 0. No branch, so a block converts in vector lanes; the same
    // result as testing each case in turn, for every float.
    constexpr float YUVARLA = 12582912.0f;
    const float o = std::min(std::max(v * 32768.0f, -32768.0f), 32767.0f);
    const float r = (o + YUVARLA) - YUVARLA;
    return static_cast<short>(std::fabs(v) <= FLT_MAX ? r : 0.0f);
}

// OrnekNicemle over n samples, four lanes at a time.
void OrnekleriNicemle(const float* v, size_t n, short* y);

#endif
