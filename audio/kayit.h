// Recording and playback of the sound buffer.
// Kaydet records b.ksu seconds from the default input in the format of the
// header b (ks, oo, oc) into one new zero-filled buffer from Ayir and gives
// it in *kayit / *kayitBoyu (only on success; the caller frees it).
// Seslendir plays `uzunluk` bytes from `baslangic` on the default output in
// the format of b. Both block
// until the device is done, print nothing on success, and on failure print
// one Turkish line and return 1. A device that stops answering is given up
// after the length of the sound plus five seconds.
// SesBaslat (aygit.h) should run once before the first screen; both work
// without it.
#ifndef KAYIT_H
#define KAYIT_H

#include <functional>

#include "aygit.h"
#include "olay.h"
#include "velmo.h"

int Kaydet(const KURALDOSYABASLIK& b, char** kayit, int* kayitBoyu);
int Seslendir(const KURALDOSYABASLIK& b, char* baslangic, int uzunluk);

// The devices' notification functions: they only wake the waiting thread.
void WaveInProc(void* waveIn, unsigned uMsg);
void WaveOutProc(void* waveOut, unsigned uMsg);

// Events of the recording and the playback in progress (null otherwise).
extern OLAY* Event1;
extern OLAY* Event2;

// The PCM format record as the header b describes it.
void BicimDoldur(const KURALDOSYABASLIK& b, SESBICIMI* bicim);

// Progress of a recording for a screen that shows it (none by default):
// called on the waiting (the caller's) thread with the whole length in seconds once the
// device has started, with the seconds left after each further second, and
// with -1 when the wait is over, before any message about how it ended.
void KayitIzleyiciKur(std::function<void(int kalan)> izleyici);

// How long a device is waited for, in milliseconds, given the length of its
// sound: the length plus five seconds. Tests put in a shorter limit
// (sinama/kancalar.h).
extern long long (*ses_bekleme_siniri)(long long ses_ms);

#endif
