// Sound device layer: the few operations recording and playback need, as a
// table of functions. The real table drives PortAudio's default output
// device and the input device chosen with GirisAygitiSec (the default one
// unless a program chose another); tests install another (see
// sinama/sahte_aygit.h).
//
// Use: Ac opens a device for one direction in a PCM format and names the
// function that receives its notifications (SES_ACILDI once opened,
// SES_BITTI once the handed buffer is full or played, SES_KAPANDI on close),
// always with the handle Ac gave. Hazirla and Coz prepare and release the
// buffer header; Ekle hands the buffer over (for output it also starts
// playing); Baslat starts an input; Durdur stops the device and ends any
// notification; Kapat closes it. Every operation returns 0 on success.
//
// SesBaslat initialises the sound system once, with its start-up chatter
// kept off the screen; the open operations call it when it has not run.
#ifndef AYGIT_H
#define AYGIT_H

#include <cstdint>
#include <string>

// PCM format record.
struct SESBICIMI {
    uint16_t wFormatTag;       // 1: PCM
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;  // nBlockAlign * nSamplesPerSec
    uint16_t nBlockAlign;      // bytes of one frame
    uint16_t wBitsPerSample;
    uint16_t cbSize;
};

// Buffer header: the bytes handed to the device.
struct SESBASLIGI {
    char* lpData;
    uint32_t dwBufferLength;
    uint32_t dwBytesRecorded;
    uintptr_t dwUser;
    uint32_t dwFlags;
    uint32_t dwLoops;
    SESBASLIGI* lpNext;
    uintptr_t reserved;
};

enum { SES_GIRIS = 0, SES_CIKIS = 1 };                    // directions
enum { SES_ACILDI = 1, SES_KAPANDI = 2, SES_BITTI = 3 };  // notifications
enum { SES_HAZIR = 2 };                                   // dwFlags: prepared

typedef void (*SES_BILDIRIM)(void* aygit, unsigned mesaj);

struct SES_AYGITI {
    int (*Ac)(void** aygit, int yon, const SESBICIMI* bicim, SES_BILDIRIM bildirim);
    int (*Hazirla)(void* aygit, SESBASLIGI* baslik);
    int (*Ekle)(void* aygit, SESBASLIGI* baslik);
    int (*Baslat)(void* aygit);
    int (*Durdur)(void* aygit);
    int (*Coz)(void* aygit, SESBASLIGI* baslik);
    int (*Kapat)(void* aygit);
};

// The table in use; SesAygitiKur(nullptr) puts the PortAudio table back.
const SES_AYGITI* SesAygiti();
void SesAygitiKur(const SES_AYGITI* aygit);

// Once, before the first screen: 0 when the sound system is up.
int SesBaslat();

// Input devices, as a command line names them (velmo and velmo-dinle
// --aygit, --aygitler). The numbers are PortAudio's, valid until the sound
// system starts again.
//
// The input device `ad` names: a number of the list below, a device's whole
// name, or else the first device whose name contains it; "" names the
// default input device. -1 when there is no such device (or no sound
// system).
int GirisAygitiBul(const std::string& ad);
// Writes the input devices to standard output, one line each: number, name,
// channels, default rate, and "(öntanımlı)" on the default one. 0; 1 after
// one line (Yaz) when the sound system does not start or has no input
// device.
int GirisAygitlariniListele();
// The input device the real table records from: a number GirisAygitiBul
// gave (kept by its name, so a restart of the sound system that renumbers
// the devices still finds it); -1 the default input device.
void GirisAygitiSec(int no);

#endif
