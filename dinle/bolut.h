// Finding utterances in an endless stream of 16-bit samples.
//
// The stream is cut into short windows of kpenu samples (the endpoint
// detector's window) and each gets the detector's two measures: energy, the
// mean absolute amplitude truncated to an integer, and zero crossings, twice
// the number of sign changes over the window's kpenu sample pairs (the pair
// across from the window before included; 0 counts as positive).
//
// Thresholds follow the background, so that speech is found at any level,
// by the rule the endpoint detector learns a kind-3 recording's thresholds
// with (OndenEsikler in sinir.h). Over the last 1.5 s of windows the quietest
// 100 ms (the run of consecutive windows with the smallest energy sum, the
// oldest on ties) is the background: with the mean m_e and standard
// deviation d_e of its windows' mean absolute amplitudes and the mean m_z and
// standard deviation d_z of their zero crossings,
//     high = max(EN_AZ_YUKSEK, ceil(7.5 m_e)),
//     low = min(high, max(floor(m_e) + 1, ceil(m_e + 3 d_e))),
//     zero-crossing = max(bsge, ceil(m_z + 2 d_z)),
//     quiet = min(high, max(low, ceil(2 m_e))).
// The amplitudes are not truncated here: in a quiet stream ten windows'
// energies often all fall on one integer, which would put the low threshold
// on the noise itself. floor(m_e) + 1, the first integer above the
// background, is what the detector's ceil(m_e) + 1 gives on a recording's
// truncated energies.
// A count does not depend on the level, so the settings' bsge is the
// zero-crossing threshold's floor; the energy thresholds have no floor but
// EN_AZ_YUKSEK, which keeps digital silence with a bit of noise from starting
// anything. Nothing starts before 100 ms of the stream have been measured.
//
// An utterance starts at the first window whose energy reaches the high
// threshold; its start is walked back as the endpoint detector does (over
// windows at or above the low threshold, then over windows at or above the
// zero-crossing threshold), never before the previous utterance's end nor
// more than 250 ms. Its thresholds stay fixed until it ends: after
// `sessizlikMs` of windows below the quiet threshold (noise alone crosses the
// low one now and then), or when it reaches the recording length (then the
// rest of that sound is passed over until the next silence). An utterance
// whose loud part (from its first high window to its last window at or above
// the quiet threshold) is shorter than `enKisaMs` is dropped, and so is one
// during which the background itself rose: the quietest fifth of the last
// 1.5 s at or above the high threshold and at least half the median (a noise
// that stepped up is steady; a long word has its dips).
//
// Then its ends are found as the endpoint detector finds them in a
// recording, now that the loudest window E is known (the high threshold of a
// recording being max(7.5 m_e, ceil(E / ESIK_TEPE_ORANI))): with
// high' = max(high, ceil(E / ESIK_TEPE_ORANI)), the start is the first window
// at or above high', walked back as above (not before the utterance's first
// window), and the end the last window at or above high', carried forward
// over windows at or above the low threshold.
#ifndef BOLUT_H
#define BOLUT_H

#include <cstddef>
#include <cstdint>
#include <vector>

struct BOLUTAYARI {
    int oo = 12000;            // sampling rate (Hz)
    int kpensu = 10;           // window (ms)
    int bsge = 10;             // zero-crossing threshold floor
    int ksu = 3;               // longest utterance (s)
    int sessizlikMs = 300;     // silence that ends an utterance
    int enKisaMs = 60;         // shortest loud part kept
    int geriMs = 250;          // longest walk back of a start
};

// One utterance: samples [bas, bit) of the stream, counted from its start
// (lost samples included).
struct SOZCE {
    int64_t bas = 0, bit = 0;
    int yee = 0, aee = 0, bsge = 0;  // thresholds its ends were found with (yee: high')
    bool kesildi = false;            // cut at the recording length or the stream's end
};

// The least high threshold: a window's mean absolute amplitude above one LSB.
enum { EN_AZ_YUKSEK = 2 };

enum BOLUT_DURUMU { BD_DINLIYOR, BD_KONUSMA, BD_BEKLIYOR };

class BOLUTLEYICI {
public:
    explicit BOLUTLEYICI(const BOLUTAYARI& a);

    // Feeds samples; utterances that ended are appended to `biten`.
    void Besle(const int16_t* x, size_t n, std::vector<SOZCE>& biten);
    // End of the stream: an utterance still running ends at its last loud window.
    void Bitir(std::vector<SOZCE>& biten);
    // n samples were lost: an utterance running is dropped, time moves on.
    void Bosluk(size_t n);

    BOLUT_DURUMU Durum() const { return durum_; }
    int SonOrke() const { return sonOrke_; }
    int Yuksek() const { return yuksek_; }
    int Alcak() const { return alcak_; }
    int SifirGecis() const { return sgEsik_; }
    int Pencere() const { return kpenu_; }
    int64_t Konum() const { return konum_; }  // samples fed (and lost) so far

private:
    struct CERCEVE {
        int64_t bas;
        int e, z;
        int64_t toplam;  // the sum of absolute amplitudes (e untruncated, times kpenu)
    };
    // The background: the quietest 100 ms of the windows kept.
    struct ARKAPLAN {
        double me, de, mz, dz;
    };
    void Cerceve(std::vector<SOZCE>& biten);
    ARKAPLAN ArkaPlan();
    // True when the background rose to the high threshold (the history full).
    bool Yukseldi();
    void EsikleriKur();
    void Baslat();
    // The window of soz_ the start walks back to from its `f`th, not before the `alt`th.
    size_t GeriYuru(size_t f, size_t alt) const;
    // Ends the utterance under way, its last loud window ending at `bit`,
    // the stream measured up to `sinir`.
    void Sal(std::vector<SOZCE>& biten, int64_t bit, int64_t sinir, bool kesildi);
    const CERCEVE& Gecmis(int64_t i) const { return gecmis_[static_cast<size_t>(i % tarih_)]; }

    BOLUTAYARI a_;
    int kpenu_;
    int64_t tarih_;       // windows kept (1.5 s)
    int64_t girisSay_;    // windows before anything may start, and of the background (100 ms)
    int64_t sessizSay_;   // windows of silence that end an utterance
    int64_t enKisaSay_, geriSay_;
    int64_t enUzun_;      // longest utterance in samples
    std::vector<CERCEVE> gecmis_;
    int64_t say_ = 0;     // windows measured
    std::vector<int16_t> parca_;
    int16_t onceki_ = 0;
    bool oncekiVar_ = false;
    int64_t konum_ = 0;
    BOLUT_DURUMU durum_ = BD_DINLIYOR;
    int yuksek_, alcak_, sgEsik_;
    int sessizEsik_;      // windows below it are silence
    int64_t yuksekIlk_ = 0, sonYuksek_ = 0, sessiz_ = 0;
    int64_t oncekiBitis_ = 0;
    int sonOrke_ = 0;
    std::vector<CERCEVE> soz_;  // the windows of the utterance under way, from its start
    std::vector<int64_t> sirala_;
};

#endif
