// A picture of one recording, as an SVG document: the waveform with the
// detected speech shaded, the analysis frames under it, and the short-time
// energy and zero-crossing curves with the three thresholds. Users tune the
// end-point thresholds by looking at it.
#ifndef CIZ_H
#define CIZ_H

#include <string>

#include "velmo.h"
#include "wav.h"

// What the picture shows; the arrays hold `boyut` entries.
struct CIZIM {
    std::string baslik;          // first title line (UTF-8)
    const short* x = nullptr;    // the recording
    const int* orke = nullptr;   // short-time energy per position
    const int* sfrgecis = nullptr;  // zero-crossing measure per position
    int boyut = 0;
    int oo = 12000;
    int kpenu = 0;               // short window in samples
    int yee = 0, aee = 0, bsge = 0;
    bool konusma = false;        // end points were found
    int uc1 = 0, uc2 = 0;        // first and last sample of the speech
    int penu = 0, admu = 0;      // frame length and step in samples
    int cerceve = 0;             // analysed frames
    int r = 0;                   // frame rows counted by the analysis
};

std::string SvgCiz(const CIZIM& c);

// Reads `girdi` as a recording of b.ksu seconds, finds its end points and
// frames with the program's stages and the settings `b`, and writes the
// picture to `cikti` ("-" for standard output). Stage messages go to
// standard error. 0 on success, 1 after a message.
int KayitCiz(const std::string& girdi, const KURALDOSYABASLIK& b, const SESAYARI& ses, const std::string& cikti);

#endif
