// Sound files as recordings. A file (WAV or any other format libsndfile
// reads) is mixed to one channel, resampled to the settings' rate with
// libsoxr (oran.h), optionally levelled, padded and given a little noise, and
// cut or zero-filled to exactly the number of samples a recording of the
// given length holds: the samples the microphone would have given (one
// channel of 16 bits, as the stages take it).
#ifndef WAV_H
#define WAV_H

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

// One sample of full scale 1.0 as a 16-bit value: times 32768, rounded to
// the nearest integer (ties to even), clipped to -32768..32767; 0 for a
// value that is not finite.
short OrnekNicemle(float v);

#endif
