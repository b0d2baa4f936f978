#include "kayit.h"

#include <chrono>
#include <cstdlib>
#include <utility>

#include "ayar_tablosu.h"
#include "bellek.h"
#include "mesaj.h"
#include "velmo.h"

OLAY* Event1 = nullptr;
OLAY* Event2 = nullptr;

namespace {

const long long BEKLEME_PAYI_MS = 5000;

long long BeklemeSiniri(long long ses_ms) { return ses_ms + BEKLEME_PAYI_MS; }

}  // namespace

long long (*ses_bekleme_siniri)(long long) = BeklemeSiniri;

namespace {

// The format settings the device layer can work with. Checked on the
// settings themselves, before they are cut to the record's 16-bit fields.
int BicimDenetle(const KURALDOSYABASLIK& b) {
    if (OrneklemeOraniDenetle(b.oo) != 0 || AralikDenetle(AYAR_KS, b.ks, "Kanal sayısı", "") != 0) return 1;
    return AralikDenetle(AYAR_OC, b.oc, "Örnek çözünürlüğü", " bit");
}

std::function<void(int)> izleyici;

// Waits for the recording of `ksu` seconds as OlayBekle does, within the same
// limit; with a watcher installed the wait is cut at every second so that the
// watcher hears the seconds left.
int KayitBekle(int ksu, long long sinir_ms) {
    if (!izleyici) return OlayBekle(Event1, sinir_ms);
    using Saat = std::chrono::steady_clock;
    const Saat::time_point bas = Saat::now();
    int duyurulan = -1, sonuc;
    for (;;) {
        const long long gecen =
            std::chrono::duration_cast<std::chrono::milliseconds>(Saat::now() - bas).count();
        const int kalan = gecen / 1000 >= ksu ? 0 : ksu - static_cast<int>(gecen / 1000);
        if (kalan != duyurulan) izleyici(kalan);
        duyurulan = kalan;
        if (gecen >= sinir_ms) {
            sonuc = OlayBekle(Event1, 0);
            break;
        }
        // To the next whole second while the length lasts, then to the limit.
        long long dilim = kalan > 0 ? 1000LL * (ksu - kalan + 1) - gecen : sinir_ms - gecen;
        if (dilim > sinir_ms - gecen) dilim = sinir_ms - gecen;
        if (dilim < 1) dilim = 1;
        sonuc = OlayBekle(Event1, dilim);
        if (sonuc == 0) break;
    }
    izleyici(-1);
    return sonuc;
}

}  // namespace

void BicimDoldur(const KURALDOSYABASLIK& b, SESBICIMI* f) {
    f->wFormatTag = 1;
    f->nChannels = static_cast<uint16_t>(b.ks);
    f->nSamplesPerSec = static_cast<uint32_t>(b.oo);
    f->wBitsPerSample = static_cast<uint16_t>(b.oc);
    f->nBlockAlign = static_cast<uint16_t>(f->nChannels * (f->wBitsPerSample / 8));
    f->nAvgBytesPerSec = f->nBlockAlign * f->nSamplesPerSec;
    f->cbSize = 0;
}

void WaveInProc(void*, unsigned uMsg) {
    if (uMsg == SES_BITTI) OlayIsaretle(Event1);
}

void WaveOutProc(void*, unsigned uMsg) {
    if (uMsg == SES_BITTI) OlayIsaretle(Event2);
}

int Kaydet(const KURALDOSYABASLIK& b, char** kayit, int* kayitBoyu) {
    SESBICIMI WaveFormatEx;
    BicimDoldur(b, &WaveFormatEx);
    if (BicimDenetle(b) != 0) return 1;
    const int ksu = b.ksu;
    if (AralikDenetle(AYAR_KSU, ksu, "Kayıt süresi", " saniye") != 0) return 1;
    const SES_AYGITI* ay = SesAygiti();
    void* HWaveIn = nullptr;
    char* tampon = nullptr;
    SESBASLIGI WaveHeader{};
    int kurulan = 0;  // how many of device, buffer, header, event are set up
    // Undoes the set-up in reverse order: event, header, buffer, device.
    auto geriAl = [&]() {
        if (kurulan >= 4) {
            OlayKapat(Event1);
            Event1 = nullptr;
        }
        if (kurulan >= 3) ay->Coz(HWaveIn, &WaveHeader);
        if (kurulan >= 2) std::free(tampon);
        if (kurulan >= 1) ay->Kapat(HWaveIn);
        return 1;
    };

    if (ay->Ac(&HWaveIn, SES_GIRIS, &WaveFormatEx, WaveInProc) != 0) {
        Yaz("Ses kayıt aygıtı açılamıyor.\n");
        return 1;
    }
    kurulan = 1;
    // At most 8 channels x 4 bytes x 192000 Hz x 60 s: well inside 32 bits.
    const uint32_t BufferLength = WaveFormatEx.nAvgBytesPerSec * static_cast<uint32_t>(ksu);
    tampon = static_cast<char*>(Ayir(BufferLength, 1));
    if (tampon == nullptr) {
        Yaz("Ses kaydı için bellek ayrılamıyor.\n");
        return geriAl();
    }
    kurulan = 2;
    WaveHeader.lpData = tampon;
    WaveHeader.dwBufferLength = BufferLength;
    if (ay->Hazirla(HWaveIn, &WaveHeader) != 0) {
        Yaz("Ses kaydı için kayıt alanı hazırlanamıyor.\n");
        return geriAl();
    }
    kurulan = 3;
    Event1 = OlayOlustur();
    if (Event1 == nullptr) {
        Yaz("Ses kaydı için bekleme olayı oluşturulamıyor.\n");
        return geriAl();
    }
    kurulan = 4;
    if (ay->Ekle(HWaveIn, &WaveHeader) != 0) {
        Yaz("Ses kayıt aygıtına yeni kayıt alanı eklenemiyor.\n");
        return geriAl();
    }
    if (ay->Baslat(HWaveIn) != 0) {
        Yaz("Ses kayıt aygıtı başlatılamıyor.\n");
        ay->Durdur(HWaveIn);
        return geriAl();
    }
    const int bekleme = KayitBekle(ksu, ses_bekleme_siniri(1000LL * ksu));
    if (bekleme != 0) Yaz("Ses kayıt aygıtı yanıt vermiyor; kayıt yarıda kaldı.\n");
    // The device is stopped before its event is closed, so that no late
    // notification can reach a closed event.
    ay->Durdur(HWaveIn);
    if (bekleme != 0) return geriAl();
    OlayKapat(Event1);
    Event1 = nullptr;
    ay->Coz(HWaveIn, &WaveHeader);
    ay->Kapat(HWaveIn);
    *kayit = tampon;
    *kayitBoyu = static_cast<int>(WaveHeader.dwBufferLength);
    return 0;
}

void KayitIzleyiciKur(std::function<void(int)> yeni) { izleyici = std::move(yeni); }

int Seslendir(const KURALDOSYABASLIK& b, char* baslangic, int uzunluk) {
    if (baslangic == nullptr || uzunluk <= 0) {
        Yaz("Seslendirilecek ses yok.\n");
        return 1;
    }
    SESBICIMI WaveFormatEx;
    BicimDoldur(b, &WaveFormatEx);
    if (BicimDenetle(b) != 0) return 1;
    SESBASLIGI WaveHeader{};
    WaveHeader.lpData = baslangic;
    WaveHeader.dwBufferLength = static_cast<uint32_t>(uzunluk);
    const SES_AYGITI* ay = SesAygiti();
    void* HWaveOut = nullptr;
    int kurulan = 0;  // how many of device, header, event are set up
    auto geriAl = [&]() {
        if (kurulan >= 3) {
            OlayKapat(Event2);
            Event2 = nullptr;
        }
        if (kurulan >= 2) ay->Coz(HWaveOut, &WaveHeader);
        if (kurulan >= 1) ay->Kapat(HWaveOut);
        return 1;
    };

    if (ay->Ac(&HWaveOut, SES_CIKIS, &WaveFormatEx, WaveOutProc) != 0) {
        Yaz("Seslendirme aygıtı açılamıyor.\n");
        return 1;
    }
    kurulan = 1;
    if (ay->Hazirla(HWaveOut, &WaveHeader) != 0) {
        Yaz("Seslendirme için ses alanı hazırlanamıyor.\n");
        return geriAl();
    }
    kurulan = 2;
    Event2 = OlayOlustur();
    if (Event2 == nullptr) {
        Yaz("Seslendirme için bekleme olayı oluşturulamıyor.\n");
        return geriAl();
    }
    kurulan = 3;
    if (ay->Ekle(HWaveOut, &WaveHeader) != 0) {
        Yaz("Seslendirme aygıtına veri gönderilemiyor.\n");
        return geriAl();
    }
    const long long ses_ms = (1000LL * uzunluk + WaveFormatEx.nAvgBytesPerSec - 1) / WaveFormatEx.nAvgBytesPerSec;
    const int bekleme = OlayBekle(Event2, ses_bekleme_siniri(ses_ms));
    if (bekleme != 0) Yaz("Seslendirme aygıtı yanıt vermiyor; seslendirme yarıda kaldı.\n");
    ay->Durdur(HWaveOut);
    geriAl();
    return bekleme != 0 ? 1 : 0;
}
