#include "aygit.h"

#include <fcntl.h>
#include <portaudio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

#ifdef VELMO_ALSA
#include <alsa/asoundlib.h>
#endif

#include "ayar_tablosu.h"
#include "bellek.h"
#include "kodlama.h"
#include "mesaj.h"

namespace {

// Standard error goes to /dev/null while the object lives: PortAudio's
// probing of JACK and of ALSA's configuration writes to it directly.
class SessizHata {
public:
    SessizHata() {
        std::fflush(stderr);
        eski_ = dup(2);
        int bos = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (eski_ >= 0 && bos >= 0) dup2(bos, 2);
        if (bos >= 0) close(bos);
    }
    ~SessizHata() {
        std::fflush(stderr);
        if (eski_ >= 0) {
            dup2(eski_, 2);
            close(eski_);
        }
    }
    SessizHata(const SessizHata&) = delete;
    SessizHata& operator=(const SessizHata&) = delete;

private:
    int eski_;
};

#ifdef VELMO_ALSA
void AlsaSessiz(const char*, int, const char*, int, const char*, ...) {}
#endif

bool baslatildi = false;

void SesBitir() {
    if (baslatildi) Pa_Terminate();
    baslatildi = false;
}

// One open stream.
struct PA_AYGIT {
    PaStream* akis = nullptr;
    int yon = SES_GIRIS;
    SES_BILDIRIM bildirim = nullptr;
    SESBASLIGI* baslik = nullptr;
    uint32_t konum = 0;  // bytes filled or written so far
    uint16_t blok = 1;   // bytes of one frame
    long bastaBos = 0;   // room of the empty output buffer, in frames
    std::thread yazici;  // output: feeds the stream and reports the end
    std::atomic<bool> dur{false};
    std::atomic<bool> bitti{false};
};

// The input device chosen by GirisAygitiSec, by its name (empty: the
// default input device), and the number it had then.
std::string secilenGirisAdi;
PaDeviceIndex secilenGirisNo = paNoDevice;

bool GirisAygitiMi(PaDeviceIndex no) {
    const PaDeviceInfo* b = Pa_GetDeviceInfo(no);
    return b != nullptr && b->maxInputChannels > 0;
}

bool SecilenGirisMi(PaDeviceIndex no) { return GirisAygitiMi(no) && secilenGirisAdi == Pa_GetDeviceInfo(no)->name; }

// The device recordings open: the chosen one under its number of now, which
// a restart of the sound system may have changed.
PaDeviceIndex GirisAygiti() {
    if (secilenGirisAdi.empty()) return Pa_GetDefaultInputDevice();
    if (SecilenGirisMi(secilenGirisNo)) return secilenGirisNo;
    for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); i++)
        if (SecilenGirisMi(i)) return i;
    return paNoDevice;
}

PaSampleFormat OrnekBicimi(uint16_t bit) {
    switch (bit) {
        case 8: return paUInt8;
        case 16: return paInt16;
        case 24: return paInt24;
        case 32: return paInt32;
        default: return 0;
    }
}

// Input: runs on PortAudio's thread; fills the queued buffer in order and
// reports once, when its last byte is in.
int GirisGeri(const void* girdi, void*, unsigned long kare, const PaStreamCallbackTimeInfo*,
              PaStreamCallbackFlags, void* kullanici) {
    PA_AYGIT* a = static_cast<PA_AYGIT*>(kullanici);
    SESBASLIGI* b = a->baslik;
    if (b == nullptr) return paContinue;
    const size_t kalan = b->dwBufferLength - a->konum;
    const size_t n = std::min(static_cast<size_t>(kare) * a->blok, kalan);
    if (girdi != nullptr) std::memcpy(b->lpData + a->konum, girdi, n);
    a->konum += static_cast<uint32_t>(n);
    b->dwBytesRecorded = a->konum;
    if (a->konum < b->dwBufferLength) return paContinue;
    a->bitti = true;
    a->bildirim(a, SES_BITTI);
    return paComplete;
}

void Bekle() { std::this_thread::sleep_for(std::chrono::milliseconds(2)); }

// Output: writes only what the stream has room for, so it never blocks
// inside PortAudio and stops at once when asked; reports once, when every
// whole frame has been written and the stream's buffer has run empty.
void Yazici(PA_AYGIT* a) {
    SESBASLIGI* b = a->baslik;
    const uint32_t toplam = b->dwBufferLength / a->blok * a->blok;
    bool hata = false;
    while (!a->dur && a->konum < toplam) {
        long bos = Pa_GetStreamWriteAvailable(a->akis);
        if (bos < 0) {
            hata = true;
            break;
        }
        if (bos == 0) {
            Bekle();
            continue;
        }
        const long n = std::min<long>(bos, (toplam - a->konum) / a->blok);
        PaError s = Pa_WriteStream(a->akis, b->lpData + a->konum, static_cast<unsigned long>(n));
        if (s != paNoError && s != paOutputUnderflowed) {
            hata = true;
            break;
        }
        a->konum += static_cast<uint32_t>(n) * a->blok;
    }
    // A failing stream never reports the end: the waiting side gives up.
    while (!a->dur && !hata) {
        long bos = Pa_GetStreamWriteAvailable(a->akis);
        if (bos < 0 || bos >= a->bastaBos) break;
        Bekle();
    }
    if (a->dur || hata) return;
    b->dwBytesRecorded = a->konum;
    a->bitti = true;
    a->bildirim(a, SES_BITTI);
}

void YaziciBitir(PA_AYGIT* a) {
    a->dur = true;
    if (a->yazici.joinable()) a->yazici.join();
}

int PaAcBir(void** aygit, int yon, const SESBICIMI* bicim, SES_BILDIRIM bildirim) {
    if (SesBaslat() != 0) return 1;
    const PaSampleFormat ornek = OrnekBicimi(bicim->wBitsPerSample);
    if (ornek == 0 || bicim->nChannels == 0 ||
        bicim->nBlockAlign != bicim->nChannels * (bicim->wBitsPerSample / 8))
        return 1;
    PaStreamParameters p{};
    p.device = yon == SES_GIRIS ? GirisAygiti() : Pa_GetDefaultOutputDevice();
    if (p.device == paNoDevice) return 1;
    const PaDeviceInfo* bilgi = Pa_GetDeviceInfo(p.device);
    if (bilgi == nullptr) return 1;
    p.channelCount = bicim->nChannels;
    p.sampleFormat = ornek;
    p.suggestedLatency = yon == SES_GIRIS ? bilgi->defaultHighInputLatency : bilgi->defaultHighOutputLatency;
    p.hostApiSpecificStreamInfo = nullptr;

    void* yer = Ayir(1, sizeof(PA_AYGIT));
    if (yer == nullptr) return 1;
    PA_AYGIT* a = new (yer) PA_AYGIT;
    a->yon = yon;
    a->bildirim = bildirim;
    a->blok = bicim->nBlockAlign;
    PaError s;
    {
        SessizHata sessiz;
        s = Pa_OpenStream(&a->akis, yon == SES_GIRIS ? &p : nullptr, yon == SES_CIKIS ? &p : nullptr,
                          bicim->nSamplesPerSec, paFramesPerBufferUnspecified, paClipOff,
                          yon == SES_GIRIS ? GirisGeri : nullptr, a);
    }
    if (s != paNoError) {
        a->~PA_AYGIT();
        std::free(a);
        return 1;
    }
    *aygit = a;
    bildirim(a, SES_ACILDI);
    return 0;
}

// PortAudio learns the devices when it starts: a device that appeared since
// (a microphone plugged in later) is found by starting it once more.
int PaAc(void** aygit, int yon, const SESBICIMI* bicim, SES_BILDIRIM bildirim) {
    if (PaAcBir(aygit, yon, bicim, bildirim) == 0) return 0;
    SesBitir();
    return PaAcBir(aygit, yon, bicim, bildirim);
}

int PaHazirla(void*, SESBASLIGI* b) {
    if (b->lpData == nullptr || b->dwBufferLength == 0) return 1;
    b->dwFlags |= SES_HAZIR;
    return 0;
}

int PaEkle(void* aygit, SESBASLIGI* b) {
    PA_AYGIT* a = static_cast<PA_AYGIT*>(aygit);
    if (!(b->dwFlags & SES_HAZIR) || a->baslik != nullptr) return 1;
    a->baslik = b;
    a->konum = 0;
    b->dwBytesRecorded = 0;
    if (a->yon == SES_GIRIS) return 0;
    if (Pa_StartStream(a->akis) != paNoError) return 1;
    a->bastaBos = Pa_GetStreamWriteAvailable(a->akis);
    if (a->bastaBos <= 0) {
        Pa_AbortStream(a->akis);
        return 1;
    }
    try {
        a->yazici = std::thread(Yazici, a);
    } catch (const std::system_error&) {
        Pa_AbortStream(a->akis);
        return 1;
    }
    return 0;
}

int PaBaslat(void* aygit) {
    PA_AYGIT* a = static_cast<PA_AYGIT*>(aygit);
    if (a->yon != SES_GIRIS) return 1;
    return Pa_StartStream(a->akis) == paNoError ? 0 : 1;
}

int PaDurdur(void* aygit) {
    PA_AYGIT* a = static_cast<PA_AYGIT*>(aygit);
    YaziciBitir(a);
    if (Pa_IsStreamStopped(a->akis) == 1) return 0;
    // A finished output is stopped gently so that its last frames are kept.
    PaError s = a->yon == SES_CIKIS && a->bitti ? Pa_StopStream(a->akis) : Pa_AbortStream(a->akis);
    return s == paNoError ? 0 : 1;
}

int PaCoz(void*, SESBASLIGI* b) {
    b->dwFlags &= ~static_cast<uint32_t>(SES_HAZIR);
    return 0;
}

int PaKapat(void* aygit) {
    PA_AYGIT* a = static_cast<PA_AYGIT*>(aygit);
    YaziciBitir(a);
    PaError s = Pa_CloseStream(a->akis);
    a->bildirim(a, SES_KAPANDI);
    a->~PA_AYGIT();
    std::free(a);
    return s == paNoError ? 0 : 1;
}

const SES_AYGITI paAygiti = {PaAc, PaHazirla, PaEkle, PaBaslat, PaDurdur, PaCoz, PaKapat};
const SES_AYGITI* gecerli = &paAygiti;

}  // namespace

const SES_AYGITI* SesAygiti() { return gecerli; }

void SesAygitiKur(const SES_AYGITI* aygit) { gecerli = aygit != nullptr ? aygit : &paAygiti; }

namespace {

// PortAudio's ALSA layer aborts the whole process on some broken ALSA
// configurations (an assertion while it lists the devices). A child process
// starts it first, so on such a machine only the sound is missing.
bool DenemeBasarili() {
    std::fflush(nullptr);
    const pid_t cocuk = fork();
    if (cocuk < 0) return true;  // cannot try first: go on as before
    if (cocuk == 0) {
        const int bos = open("/dev/null", O_WRONLY);
        if (bos >= 0) {
            dup2(bos, 1);
            dup2(bos, 2);
        }
#ifdef VELMO_ALSA
        snd_lib_error_set_handler(AlsaSessiz);
#endif
        Pa_Initialize();
        Pa_Terminate();
        _exit(0);
    }
    int durum = 0;
    while (waitpid(cocuk, &durum, 0) < 0)
        if (errno != EINTR) return true;
    return WIFEXITED(durum) && WEXITSTATUS(durum) == 0;
}

}  // namespace

int SesBaslat() {
    if (baslatildi) return 0;
    if (!DenemeBasarili()) return 1;
#ifdef VELMO_ALSA
    snd_lib_error_set_handler(AlsaSessiz);
#endif
    PaError s;
    {
        SessizHata sessiz;
        s = Pa_Initialize();
    }
    if (s != paNoError) return 1;
    static bool kayitli = false;
    if (!kayitli) std::atexit(SesBitir);
    kayitli = true;
    baslatildi = true;
    return 0;
}

int GirisAygitiBul(const std::string& ad) {
    if (SesBaslat() != 0) return -1;
    if (ad.empty()) return Pa_GetDefaultInputDevice();
    const int n = Pa_GetDeviceCount();
    double no = -1;
    if (SayiCoz(ad, SAYI_TAMSAYI, &no) == SAYI_TAMAM && no >= 0 && no < n && GirisAygitiMi(static_cast<int>(no)))
        return static_cast<int>(no);
    int bulunan = -1;
    for (int i = 0; i < n; i++) {
        if (!GirisAygitiMi(i)) continue;
        const char* adi = Pa_GetDeviceInfo(i)->name;
        if (ad == adi) return i;
        if (bulunan < 0 && std::strstr(adi, ad.c_str()) != nullptr) bulunan = i;
    }
    return bulunan;
}

int GirisAygitlariniListele() {
    if (SesBaslat() != 0) {
        Yaz("Ses sistemi başlatılamadı.\n");
        return 1;
    }
    const int n = Pa_GetDeviceCount();
    const PaDeviceIndex ontanimli = Pa_GetDefaultInputDevice();
    int say = 0;
    for (int i = 0; i < n; i++) {
        if (!GirisAygitiMi(i)) continue;
        const PaDeviceInfo* b = Pa_GetDeviceInfo(i);
        say++;
        std::printf(Ceviri("%d\t%s\t%d kanal\t%.0f Hz%s\n"), i, b->name, b->maxInputChannels, b->defaultSampleRate,
                    i == ontanimli ? UcbirimeCevir(Ceviri("\t(öntanımlı)")).c_str() : "");
    }
    if (say == 0) {
        Yaz("Giriş aygıtı yok.\n");
        return 1;
    }
    return 0;
}

void GirisAygitiSec(int no) {
    const PaDeviceInfo* b = no >= 0 && baslatildi ? Pa_GetDeviceInfo(no) : nullptr;
    secilenGirisAdi = b != nullptr ? b->name : "";
    secilenGirisNo = b != nullptr ? no : paNoDevice;
}
