// velmo-dinle: listens continuously (a sound device, or a sound file as if
// it were one), finds each utterance by itself, recognises it with the
// codebooks of a directory and prints, runs or keeps what it heard.
// Exit status: 0 success, 1 failure, 2 the command line is wrong.
#include <portaudio.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <CLI/CLI.hpp>

#include "ayar_tablosu.h"
#include "aygit.h"
#include "bolut.h"
#include "cikti.h"
#include "dinle_cikti.h"
#include "dinleyici.h"
#include "guven.h"
#include "halka.h"
#include "kalici.h"
#include "kayit_dosyasi.h"
#include "kodlama.h"
#include "komutlar.h"
#include "konsol.h"
#include "mesaj.h"
#include "secenek.h"
#include "tanir.h"
#include "velmo.h"
#include "wav.h"

#ifndef VELMO_SURUM
#define VELMO_SURUM "1.0"
#endif

namespace {

const char* const PROG = "velmo-dinle";

const char* const YARDIM =
    "Kullanım: velmo-dinle [-d DİZİN] [--girdi SES.wav] [--sure SANİYE] [--json]\n"
    "                      [--hassasiyet H] [--esik UZAKLIK] [--red ORAN]\n"
    "                      [--komutlar DOSYA]\n"
    "                      [--kaydet DİZİN] [--aygit AD] [--aygitler] [ayar seçenekleri]\n"
    "\n"
    "Mikrofonu (ya da bir ses dosyasını) durmadan dinler, her sözü kendisi bulur,\n"
    "dizindeki \"*.vlm\" kural dosyalarıyla tanır ve duyduğunu yazar. Kural dosyaları\n"
    "başta bir kez okunur; dizin değişince iki söz arasında yeniden okunur. Her söz her\n"
    "kural dosyasının kendi türü ve çözümleme ayarlarıyla puanlanır (1., 2. ve 3.\n"
    "türler); komut satırında verilen bir ayar (--tur dışında) hepsi için geçerlidir,\n"
    "başka oranda ya da başka bir ayarla yapılmış kural dosyası adıyla bildirilip\n"
    "atlanır.\n"
    "\n"
    "Söz bulma: kısa pencerelerin örkesi ve sıfır geçişi, son 1,5 saniyenin en\n"
    "sessiz 100 ms'inden (arka plandan) öğrenilen eşiklerle, 3. türün kayıtlarda\n"
    "yaptığı gibi: ses hangi düzeyde gelirse gelsin bulunur (--yee ve --aee\n"
    "kullanılmaz; --bsge sıfır geçiş eşiğinin en alt değeridir). Söz, örke arka\n"
    "planın 7,5 katına varınca başlar; arka planın iki katının altında --sessizlik\n"
    "kadar sessizlik ya da kayıt süresi (--ksu) dolunca biter. Uçları sonra sözün\n"
    "en yüksek örkesine göre yeniden bulunur.\n"
    "\n"
    "Çıktı: söz başına standart çıktıya bir satır, sekmeyle ayrılmış: başlangıç ve\n"
    "bitiş (girdinin başından saniye), sözcük (geri çevrilmişse boş), uzaklık,\n"
    "kural dosyası. Uçbirimde standart hatada canlı bir ses düzeyi göstergesi ve\n"
    "\"dinliyor / konuşma / tanınıyor\" durumu görünür.\n"
    "\n"
    "  -d, --dizin DİZİN    kural dosyalarının dizini (öntanımlı: .)\n"
    "  --girdi SES          mikrofon yerine bu ses dosyasını dinler (WAV ya da\n"
    "                       libsndfile'ın okuduğu başka bir biçim; ayarlardaki\n"
    "                       orana dönüştürülür), olabildiğince hızlı\n"
    "  --sure SANİYE        bu kadar saniyelik girdiden sonra durur\n"
    "  --json               söz başına bir JSON nesnesi: baslangic, bitis, soz,\n"
    "                       puan, dosya, reddedildi, guven, kesildi\n"
    "  --hassasiyet H       öğretilmemiş sözleri geri çevirme (0 <= H <= 1;\n"
    "                       öntanımlı 0.5): en iyi sözcüğün güveni 1 - H'den azsa\n"
    "                       söz geri çevrilir, komutu çalışmaz. Büyüdükçe daha çok\n"
    "                       söz kabul edilir; 1 hiçbirini geri çevirmez. Güven\n"
    "                       (0..1), uzaklığın sözcüğün eğitimde öğrenilen doğal\n"
    "                       uzaklığına oranından gelir (README'deki eğri). Bunu\n"
    "                       yalnız 3. türün kural dosyaları saklar; öntanımlı\n"
    "                       olarak yalnız onlar geri çevirir, --hassasiyet\n"
    "                       verilince bütün türler (ötekilerde türün ölçeğiyle)\n"
    "  --esik UZAKLIK       en iyi uzaklık bundan büyükse sözü geri çevirir\n"
    "  --red ORAN           en iyi uzaklık, başka bir sözcüğün en iyi uzaklığının\n"
    "                       ORAN katından küçük değilse geri çevirir (0 < ORAN <= 1)\n"
    "  --komutlar DOSYA     \"SÖZCÜK<TAB>KOMUT\" satırları (UTF-8, # açıklama): tanınan\n"
    "                       ve geri çevrilmeyen sözcüğün komutu /bin/sh -c ile arka\n"
    "                       planda çalışır; ortamında VELMO_SOZ, VELMO_PUAN,\n"
    "                       VELMO_DOSYA olur; çıkış durumu standart hataya yazılır.\n"
    "                       En çok 4 komut birlikte çalışır, 16 komut daha sırasını\n"
    "                       bekler; fazlası çalıştırılmaz, standart hataya yazılır\n"
    "  --kaydet DİZİN       her sözü, önünde ve ardında 0,4 s ile, numaralı bir WAV\n"
    "                       dosyası (0001.wav, ...) olarak bu dizine yazar; kural\n"
    "                       dosyası olmadan da çalışır (velmo-toplu egit --havuz ile\n"
    "                       eğitmek için)\n"
    "  --sessizlik MS       sözü bitiren sessizlik (öntanımlı: 300)\n"
    "  --enkisa MS          bundan kısa sesler söz sayılmaz (öntanımlı: 60)\n"
    "  --aygit AD           giriş aygıtı: --aygitler listesindeki numara ya da adın\n"
    "                       bir parçası (öntanımlı: sistemin öntanımlı girişi)\n"
    "  --aygitler           giriş aygıtlarını listeler\n"
    "  -h, --help           bu yardım\n"
    "  --version            sürüm\n"
    "\n"
    "Girdi bitince, --sure dolunca ya da Ctrl-C (SIGINT, SIGTERM) ile temiz durur.\n"
    "Girdi bitince süren komutlar beklenir; Ctrl-C bu beklemeyi de keser, komutlar\n"
    "kendi başlarına sürer, sıradakiler çalıştırılmaz.\n"
    "Çıkış durumu: 0 başarı, 1 başarısızlık (kural dosyası yok, girdi okunamadı,\n"
    "aygıt açılamadı, standart çıktıya yazılamadı), 2 kullanım hatası (komut\n"
    "dosyasındaki bozuk bir satır da).\n";

static_assert(KOMUT_EN_COK_CALISAN == 4 && KOMUT_EN_COK_SIRADA == 16, "the help names the command limits");

struct SECENEKLER {
    std::string dizin = ".", girdi, komutlar, kaydet, aygit;
    double sure = 0;
    // By default only calibrated codebooks (kind 3) refuse by confidence.
    RED_KURALLARI red{0, 0, HASSASIYET_VARSAYILAN, true};
    int sessizlik = 300, enkisa = 60;
    bool json = false, aygitler = false;
    AYAR_DEGERLERI ayar = VarsayilanAyarlar();  // the defaults and the settings options
    std::set<std::string> ayarlar;              // settings options given
};

// Returns -1 to go on, otherwise the exit status (help, version).
int KomutSatiri(int argc, char** argv, SECENEKLER& s) {
    CLI::App app{"velmo-dinle"};
    UygulamaHazirla(app);
    bool yardim = false, surum = false;
    std::string sure, esik, red, hassasiyet, sessizlik, enkisa;
    AYARGIRDILERI ayarlar;
    AyarSecenekleriEkle(app, ayarlar, false);
    app.add_flag("-h,--help", yardim);
    app.add_flag("--version", surum);
    app.add_option("-d,--dizin", s.dizin);
    app.add_option("--girdi", s.girdi);
    app.add_option("--sure", sure);
    app.add_flag("--json", s.json);
    app.add_option("--esik", esik);
    app.add_option("--red", red);
    app.add_option("--hassasiyet", hassasiyet);
    app.add_option("--komutlar", s.komutlar);
    app.add_option("--kaydet", s.kaydet);
    app.add_option("--aygit", s.aygit);
    app.add_flag("--aygitler", s.aygitler);
    app.add_option("--sessizlik", sessizlik);
    app.add_option("--enkisa", enkisa);
    KomutSatiriniAyristir(app, argc, argv, "");
    if (yardim) {
        std::fputs(UcbirimeCevir(std::string(Ceviri(YARDIM)) + "\n" + AyarYardimi()).c_str(), stdout);
        return 0;
    }
    if (surum) {
        std::printf("%s %s\n", PROG, VELMO_SURUM);
        return 0;
    }
    KalanlariReddet(app, "");
    SESAYARI ses;  // (velmo-dinle takes no sound options)
    // The user's kept settings are the defaults under the codebooks' own
    // (they name no setting as given, so codebooks made otherwise still
    // count); options name theirs.
    const std::string kalici = KaliciAyarlariUygula(s.ayar);
    if (!kalici.empty()) std::fputs(UcbirimeCevir(kalici).c_str(), stderr);
    AyarGirdileriniUygula(ayarlar, s.ayar, ses, "");
    for (const auto& a : ayarlar) s.ayarlar.insert(a.first);
    if (!sure.empty()) {
        s.sure = GercelSecenek("sure", sure);
        if (!(s.sure > 0) || s.sure > 1e7) throw KullanimHatasi{"--sure 0'dan büyük bir saniye sayısı olmalı."};
    }
    if (!esik.empty()) {
        s.red.esik = GercelSecenek("esik", esik);
        if (!(s.red.esik > 0)) throw KullanimHatasi{"--esik 0'dan büyük olmalı."};
    }
    if (!red.empty()) {
        s.red.red = GercelSecenek("red", red);
        if (!(s.red.red > 0 && s.red.red <= 1)) throw KullanimHatasi{"--red 0'dan büyük, en çok 1 olmalı."};
    }
    if (!hassasiyet.empty()) {
        s.red.hassasiyet = GercelSecenek("hassasiyet", hassasiyet);
        s.red.yalnizKalibrasyonlu = false;
        if (!(s.red.hassasiyet >= 0 && s.red.hassasiyet <= 1))
            throw KullanimHatasi{"--hassasiyet 0 ile 1 arasında olmalı."};
    }
    if (!sessizlik.empty()) {
        s.sessizlik = TamsayiSecenek("sessizlik", sessizlik);
        if (s.sessizlik < 10 || s.sessizlik > 10000)
            throw KullanimHatasi{"--sessizlik 10 ile 10000 ms arasında olmalı."};
    }
    if (!enkisa.empty()) {
        s.enkisa = TamsayiSecenek("enkisa", enkisa);
        if (s.enkisa < 0 || s.enkisa > 10000) throw KullanimHatasi{"--enkisa 0 ile 10000 ms arasında olmalı."};
    }
    if (!s.girdi.empty() && !s.aygit.empty()) throw KullanimHatasi{"--girdi ile --aygit birlikte verilemez."};
    std::string hata;
    if (!KayitAyarlariGecerli(s.ayar.kdbaslik, s.ayar.kdbaslik.ksu, &hata)) throw KullanimHatasi{hata};
    return -1;
}

// ---------------------------------------------------------------- signals

volatile sig_atomic_t durdur = 0;

void Durdur(int) { durdur = 1; }

void SinyalleriKur() {
    struct sigaction sa {};
    sa.sa_handler = Durdur;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

// ---------------------------------------------------------------- meter and messages

class GOSTERGE {
public:
    GOSTERGE() : acik_(isatty(2) == 1), ciktiUcbirim_(isatty(1) == 1) {}
    void Ciz(int orke, const char* durum, bool zorla = false) {
        if (!acik_) return;
        const auto simdi = std::chrono::steady_clock::now();
        if (!zorla && simdi - son_ < std::chrono::milliseconds(50)) return;
        son_ = simdi;
        HataHam(UcbirimeCevir("\r" + OlcerMetni(orke, durum, 30) + "\033[K"));
        cizili_ = true;
    }
    void Sil() {
        if (!acik_ || !cizili_) return;
        HataHam("\r\033[K");
        cizili_ = false;
    }
    // A message line on standard error (UTF-8).
    void Ileti(const std::string& metin) {
        Sil();
        HataHam(UcbirimeCevir(metin));
    }
    // A result line on standard output, checked as every tool's output is:
    // a line that cannot be written (a full disk) stops the listening and
    // makes the exit status 1.
    void Sonuc(const std::string& satir) {
        if (ciktiUcbirim_) Sil();
        KonsolHamYaz(satir);
        KonsolBosalt();
        if (KonsolYazmaHatasi() != 0) durdur = 1;
    }

private:
    bool acik_, ciktiUcbirim_;
    bool cizili_ = false;
    std::chrono::steady_clock::time_point son_{};
};

// ---------------------------------------------------------------- the work

struct DURUM {
    const SECENEKLER* s;
    std::unique_ptr<KITAP_KUMESI> kitaplar;
    std::vector<KOMUT> komutlar;
    KOMUT_CALISTIRICI calistirici;
    GOSTERGE gosterge;
    KURALDOSYABASLIK analiz{};  // the settings of the stream and its analysis
    int oo = 0;
    bool hata = false;  // something failed on the way (exit status 1)
};

// The codebooks read again when the directory changed since the last utterance.
void KitaplariTazele(DURUM& d) {
    std::string mesaj;
    const int r = d.kitaplar->Tazele(&mesaj);
    if (r == 0) return;
    d.gosterge.Sil();
    HataHam(mesaj);
    if (r > 0)
        d.gosterge.Ileti(
            Bicimle(Ceviri("kural dosyaları yeniden okundu: %zu dosya.\n"), d.kitaplar->Kitaplar().size()));
}

void SozceIsle(DURUM& d, const SES_PARCASI& p) {
    d.gosterge.Ciz(0, Ceviri("tanınıyor"), true);
    DINLE_SONUCU t;
    KitaplariTazele(d);
    if (!d.kitaplar->Kitaplar().empty()) {
        std::string mesaj;
        t = d.kitaplar->Tani(p.ornek.data(), p.ornek.size(), d.s->red, &mesaj);
        if (!mesaj.empty()) {
            d.gosterge.Sil();
            HataHam(mesaj);
        }
    }
    d.gosterge.Sonuc(d.s->json ? SonucJson(p.s, d.oo, t) : SonucSatiri(p.s, d.oo, t));
    if (!t.kazananVar || t.reddedildi) return;
    const KOMUT* k = KomutBul(d.komutlar, t.soz);
    if (k == nullptr) return;
    char puan[64];
    std::snprintf(puan, sizeof puan, "%f", static_cast<double>(t.puan));
    std::string hata;
    if (!d.calistirici.Baslat(*k, puan, t.dosya, &hata))
        d.gosterge.Ileti(Bicimle(Ceviri("komut \"%s\": %s\n"), Gorunur(k->soz).c_str(), hata.c_str()));
}

void KayitIsle(DURUM& d, const SES_PARCASI& p) {
    std::string ad;
    d.gosterge.Sil();  // a failure's line goes to standard error through the stage's sink
    if (KayitDosyasiYaz(d.s->kaydet, "", p.ornek.data(), p.ornek.size(), d.oo, &ad) == 0)
        d.gosterge.Ileti(Bicimle(Ceviri("kaydedildi: %s\n"), Gorunur(ad).c_str()));
    else
        d.hata = true;
}

void Topla(DURUM& d, bool bekle) {
    std::string rapor;
    d.calistirici.Topla(bekle, &rapor, &durdur);
    if (!rapor.empty()) d.gosterge.Ileti(rapor);
}

// Feeds one block and handles what it completed.
void Isle(DURUM& d, DINLEYICI& dn, const int16_t* x, size_t n, bool son) {
    std::vector<SES_PARCASI> sozceler, kayitlar;
    if (n > 0) dn.Besle(x, n, sozceler, kayitlar);
    if (son) dn.Bitir(sozceler, kayitlar);
    for (const SES_PARCASI& p : sozceler) SozceIsle(d, p);
    if (!d.s->kaydet.empty())
        for (const SES_PARCASI& p : kayitlar) KayitIsle(d, p);
    Topla(d, false);
    const BOLUT_DURUMU b = dn.Bolut().Durum();
    d.gosterge.Ciz(dn.Bolut().SonOrke(), b == BD_DINLIYOR ? Ceviri("dinliyor") : Ceviri("konuşma"));
}

BOLUTAYARI BolutAyari(const SECENEKLER& s, const KURALDOSYABASLIK& b) {
    BOLUTAYARI a;
    a.oo = b.oo;
    a.kpensu = b.kpensu;
    a.bsge = b.bsge;
    a.ksu = b.ksu;
    a.sessizlikMs = s.sessizlik;
    a.enKisaMs = s.enkisa;
    return a;
}

int64_t SureOrnek(const SECENEKLER& s, int oo) {
    return s.sure > 0 ? static_cast<int64_t>(std::llround(s.sure * oo)) : INT64_MAX;
}

int DosyaDinle(DURUM& d) {
    const SECENEKLER& s = *d.s;
    // The file is read and converted as a stream, a block at a time: the
    // memory does not grow with its length. Its header gives the length.
    SES_AKISI girdi;
    if (!girdi.Ac(s.girdi)) return 1;
    double saniye = 1;
    if (girdi.Oran() > 0 && girdi.Kareler() > 0)
        saniye = static_cast<double>(girdi.Kareler()) / static_cast<double>(girdi.Oran());
    double okunacak = saniye;
    if (s.sure > 0) okunacak = std::min(okunacak, s.sure);
    if (okunacak > 24.0 * 3600) {
        Hata("%s: girdi çok uzun (en çok 24 saat; --sure ile kısaltın).\n", Gorunur(s.girdi).c_str());
        return 1;
    }
    // The samples a recording of the whole length would hold (a second over,
    // for the converter's filter), of which those of the length are heard.
    const int64_t boy = std::llround(okunacak * d.oo);
    if (!girdi.Baslat(d.oo, static_cast<int>(std::ceil(okunacak)) + 1, boy)) return 1;

    DINLEYICI dn(BolutAyari(s, d.analiz), 0.4, !s.kaydet.empty());
    const size_t BLOK = 256;
    int16_t blok[BLOK];
    while (!durdur) {
        const size_t n = girdi.Oku(blok, BLOK);
        if (n == 0) break;
        Isle(d, dn, blok, n, false);
    }
    Isle(d, dn, nullptr, 0, true);
    return girdi.Bozuldu() ? 1 : 0;
}

// ---------------------------------------------------------------- devices

int PaGeriCagir(const void* giris, void*, unsigned long kare, const PaStreamCallbackTimeInfo*,
                PaStreamCallbackFlags bayrak, void* veri) {
    static_cast<HALKA*>(veri)->AygitBlogu(static_cast<const int16_t*>(giris), kare, (bayrak & paInputOverflow) != 0);
    return paContinue;
}

int AygitDinle(DURUM& d) {
    const SECENEKLER& s = *d.s;
    if (SesBaslat() != 0) {
        Hata("Ses sistemi başlatılamadı.\n");
        return 1;
    }
    const PaDeviceIndex no = GirisAygitiBul(s.aygit);
    if (no == paNoDevice) {
        if (s.aygit.empty()) Hata("Giriş aygıtı yok.\n");
        else Hata("\"%s\" diye bir giriş aygıtı yok (bkz. %s --aygitler).\n", Gorunur(s.aygit).c_str(), PROG);
        return 1;
    }
    const PaDeviceInfo* bilgi = Pa_GetDeviceInfo(no);
    PaStreamParameters p{};
    p.device = no;
    p.channelCount = 1;
    p.sampleFormat = paInt16;
    p.suggestedLatency = bilgi != nullptr ? bilgi->defaultLowInputLatency : 0.05;
    // Thirty seconds of slack: a microphone never runs ahead of real time, but
    // a device that delivers faster (ALSA's file plugin, a slow sanitizer build)
    // must not lose words while the listener catches up.
    HALKA halka(static_cast<size_t>(d.oo) * 30);
    PaStream* akis = nullptr;
    PaError h = Pa_OpenStream(&akis, &p, nullptr, d.oo, paFramesPerBufferUnspecified, paNoFlag, PaGeriCagir, &halka);
    if (h != paNoError) {
        Hata("Giriş aygıtı %d Hz tek kanal 16 bit açılamadı (%s).\n", d.oo, Pa_GetErrorText(h));
        return 1;
    }
    h = Pa_StartStream(akis);
    if (h != paNoError) {
        Hata("Giriş aygıtı başlatılamadı (%s).\n", Pa_GetErrorText(h));
        Pa_CloseStream(akis);
        return 1;
    }
    DINLEYICI dn(BolutAyari(s, d.analiz), 0.4, !s.kaydet.empty());
    const int64_t sinir = SureOrnek(s, d.oo);
    std::vector<int16_t> blok(4096);
    int sonuc = 0;
    // Losses are said at most once a second, summed: a device far ahead of
    // the listener (ALSA's file plugin, a slow build) must not bury the
    // result lines under warnings.
    size_t birikenKayip = 0, birikenTasma = 0;
    auto sonUyari = std::chrono::steady_clock::now() - std::chrono::seconds(1);
    const auto Uyar = [&](bool simdi) {
        const auto an = std::chrono::steady_clock::now();
        if (!simdi && an - sonUyari < std::chrono::seconds(1)) return;
        if (birikenKayip > 0)
            d.gosterge.Ileti(Bicimle(Ceviri("uyarı: taşma; %zu örnek kaybedildi.\n"), birikenKayip));
        // The device lost samples it cannot count: said, never silent; the
        // times after it run behind by what was lost.
        if (birikenTasma > 0)
            d.gosterge.Ileti(Bicimle(Ceviri("uyarı: giriş aygıtı taştı (%zu kez); arada ses kayboldu, sonraki "
                                            "zamanlar o kadar geride.\n"),
                                     birikenTasma));
        if (birikenKayip > 0 || birikenTasma > 0) sonUyari = an;
        birikenKayip = birikenTasma = 0;
    };
    while (!durdur) {
        const int64_t kalan = sinir - dn.Bolut().Konum();
        if (kalan <= 0) break;
        const size_t n = halka.Oku(blok.data(), static_cast<size_t>(std::min<int64_t>(kalan, 4096)));
        if (n > 0) {
            Isle(d, dn, blok.data(), n, false);
        } else {
            if (Pa_IsStreamActive(akis) != 1) {
                d.gosterge.Ileti(Ceviri("Giriş aygıtı durdu.\n"));
                sonuc = 1;
                break;
            }
            Topla(d, false);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const size_t kayip = halka.KayipAl();
        if (kayip > 0) dn.Bosluk(kayip);
        birikenKayip += kayip;
        birikenTasma += halka.TasmaAl();
        Uyar(false);
    }
    Uyar(true);
    Pa_StopStream(akis);
    Pa_CloseStream(akis);
    Isle(d, dn, nullptr, 0, true);
    return sonuc;
}

int Calistir(int argc, char** argv) {
    SECENEKLER s;
    const int r = KomutSatiri(argc, argv, s);
    if (r >= 0) return r;
    if (s.aygitler) return GirisAygitlariniListele();

    DURUM d;
    d.s = &s;
    // Settings not given on the command line are the codebooks' own.
    d.analiz = s.ayar.kdbaslik;
    KURALDOSYABASLIK ilk;
    if (IlkKitapAyari(s.dizin, &ilk)) KitapAyariniAl(ilk, s.ayarlar, d.analiz);
    d.oo = d.analiz.oo;
    // Only the command line can make them unfit: codebooks that would are skipped.
    if (const std::string sorun = AkisAyariSorunu(d.analiz); !sorun.empty()) throw KullanimHatasi{sorun + "."};
    if (!s.komutlar.empty()) {
        std::string hata;
        if (!KomutlariOku(s.komutlar, d.komutlar, &hata)) throw KullanimHatasi{hata};
    }
    d.kitaplar = std::make_unique<KITAP_KUMESI>(s.dizin, d.analiz, s.ayarlar);
    std::string mesaj;
    const int okuma = d.kitaplar->Tazele(&mesaj);
    HataHam(mesaj);
    if (okuma < 0) return 1;
    if (d.kitaplar->Kitaplar().empty() && s.kaydet.empty()) {
        Hata("%s: %d Hz için geçerli kural dosyası (.vlm) yok; önce velmo ya da velmo-toplu egit ile sözcük "
             "eğitin (ya da --kaydet ile kayıt toplayın).\n",
             Gorunur(s.dizin).c_str(), d.oo);
        return 1;
    }
    if (!s.kaydet.empty() && KayitDiziniHazirla(s.kaydet) != 0) return 1;
    SinyalleriKur();
    int sonuc = s.girdi.empty() ? AygitDinle(d) : DosyaDinle(d);
    d.gosterge.Sil();
    // Commands started from a file run to their end and are reported; after
    // a signal, also one during that wait, the ones still running are left
    // to themselves and the queued ones never start.
    if (!durdur) Topla(d, true);
    if (durdur && d.calistirici.Calisan() + d.calistirici.Sirada() > 0) {
        const size_t calisan = d.calistirici.Calisan(), sirada = d.calistirici.Sirada();
        if (sirada > 0)
            d.gosterge.Ileti(Bicimle(
                Ceviri("%zu komut hâlâ çalışıyor; beklenmedi. Sıradaki %zu komut çalıştırılmadı.\n"), calisan, sirada));
        else
            d.gosterge.Ileti(Bicimle(Ceviri("%zu komut hâlâ çalışıyor; beklenmedi.\n"), calisan));
    }
    if (sonuc == 0 && d.hata) sonuc = 1;
    return sonuc;
}

}  // namespace

int main(int argc, char** argv) { return AracCalistir(PROG, Calistir, argc, argv); }
