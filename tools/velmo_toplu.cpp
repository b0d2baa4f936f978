// velmo-toplu: Velmo's work on sound files instead of the microphone.
// Subcommands: egit (train a word's codebook from takes), tani (recognise
// files against the codebooks of a directory), degerlendir (accuracy over a
// labelled set), ciz (a picture of one recording), rapor (a codebook file
// in readable form). Exit status: 0 success, 1 the work failed (in part),
// 2 the command line is wrong.
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cikti.h"
#include "ciz.h"
#include "degerlendir.h"
#include "kodlama.h"
#include "ayar_tablosu.h"
#include "kalici.h"
#include "konsol.h"
#include "secenek.h"
#include "tarama.h"
#include "toplu.h"
#include "paralel.h"
#include "rapor.h"
#include "velmo.h"
#include "wav.h"
#include "yarim.h"

#ifndef VELMO_SURUM
#define VELMO_SURUM "1.0"
#endif

namespace fs = std::filesystem;

namespace {

const char* const PROG = "velmo-toplu";

// ---------------------------------------------------------------- help

const char* const GENEL_YARDIM =
    "Kullanım: velmo-toplu KOMUT [SEÇENEKLER] DOSYA...\n"
    "\n"
    "Velmo'nun eğitme, tanıma ve uç nokta bulma işlerini mikrofon yerine ses\n"
    "dosyalarıyla yapar. Ses dosyası (WAV ya da libsndfile'ın okuduğu başka bir\n"
    "biçim) tek kanala indirilir, ayarlardaki örnekleme oranına dönüştürülür ve\n"
    "mikrofondan alınmış bir kayıt gibi işlenir; gerisi velmo'nun kendi kodudur.\n"
    "\n"
    "Komutlar:\n"
    "  egit         bir sözcüğün kural dosyasını (.vlm) ve raporunu kayıtlardan eğitir\n"
    "  tani         kayıtları bir dizindeki \"*.vlm\" dosyalarıyla tanır\n"
    "  degerlendir  etiketli kayıtlar üzerinde doğruluğu ölçer\n"
    "  ciz          bir kaydın dalga, örke ve sıfır geçişi resmini (SVG) çizer\n"
    "  rapor        bir kural dosyasının başlığını, ayarlarını ve kural yöneylerini yazar\n"
    "\n"
    "  -h, --help   bu yardım;  velmo-toplu KOMUT --help  komutun yardımı\n"
    "  --version    sürüm\n"
    "\n"
    "Çıkış durumu: 0 başarı, 1 işin (bir bölümünün) başarısızlığı, 2 kullanım hatası.\n";

const char* const EGIT_YARDIM =
    "Kullanım: velmo-toplu egit -o SÖZCÜK.vlm [SEÇENEKLER] KAYIT.wav...\n"
    "\n"
    "Bir sözcüğün kural kitabını kayıtlardan eğitir; kural dosyasını ve yanına\n"
    "metin raporunu (SÖZCÜK.vlm.txt) \"koru\" gibi yazar. Her kayıt, ayarlardaki\n"
    "kayıt süresi (--ksu) uzunluğunda bir mikrofon kaydı yerine geçer: fazlası\n"
    "kesilir, eksiği sessizlikle dolar.\n"
    "\n"
    "Kayıtlar öntanımlı olarak menülerdeki gibi sırayla eğitir: ilki yeni bir\n"
    "kural kitabı yapar (rasgele seçim), sonrakiler onu kayıtlı kural kitabı\n"
    "yolundan (sıfırlama ön yinelemeleri) geliştirir; her kayıttan sonra kural\n"
    "kitabı \"korunmuş\" sayılır. Eğitilemeyen bir kayıt adıyla bildirilir, kural\n"
    "kitabını bozmaz ve ötekiler sürer.\n"
    "\n"
    "  -o, --cikti DOSYA  yazılacak kural dosyası (gerekli)\n"
    "  --soz SÖZ          sözcük (en çok 19 Windows-1254 baytı); öntanımlı: dosya\n"
    "                     adının uzantısız hali\n"
    "  --havuz            bütün kayıtların yöneylerini bir araya toplayıp tek bir\n"
    "                     yeni kural kitabı eğitir\n"
    "  --uzerine          var olan kural dosyasının üzerine yazar\n"
    "  --dokum DİZİN      \"sinir.txt\", \"Ci.txt\", \"DelCi.txt\" dökümlerini bu\n"
    "                     dizine yazar (öntanımlı: döküm yazılmaz)\n"
    "  -h, --help         bu yardım\n"
    "\n"
    "Çıkış: 0 bütün kayıtlar eğitildi ve dosya yazıldı; 1 bir kayıt ya da dosya\n"
    "yazımı başarısız (en az bir kayıt eğitildiyse dosya yine yazılır).\n";

const char* const TANI_YARDIM =
    "Kullanım: velmo-toplu tani [SEÇENEKLER] KAYIT.wav...\n"
    "\n"
    "Her kaydı tanıma ekranı gibi tanır: 2 saniyelik bir kayıt gibi alır, uç\n"
    "noktalarını bulur, komut satırındaki ayarlarla bir kez çözümler ve dizindeki\n"
    "\"*.vlm\" dosyalarının her biriyle ortalama uzaklığını bulur (dosyalar ada\n"
    "göre sıralı; geçersiz dosyalar atlanır). 1000'den küçük en küçük uzaklığı\n"
    "veren ilk dosya kazanır.\n"
    "\n"
    "Çıktı, kayıt başına bir satır, sekmeyle ayrılmış: kayıt, sözcük, uzaklık\n"
    "(\"%f\"), kural dosyası; yanıt yoksa sözcük ve dosya boş, uzaklık 1000.000000.\n"
    "Türleri karışık bir dizinde sözcükler türlerin ortak ölçeğindeki puanla\n"
    "karşılaştırılır. JSON çıktısındaki \"guven\" (0..1): uzaklığın, sözcüğün\n"
    "eğitimde öğrenilen doğal uzaklığına oranından gelir; 1 tam uyum, 0.5\n"
    "velmo-dinle'nin öntanımlı geri çevirme sınırı.\n"
    "\n"
    "  -d, --dizin DİZİN  kural dosyalarının dizini (öntanımlı: .)\n"
    "  --hepsi            her kural dosyasının uzaklığını da yazar\n"
    "  --json             makinece okunur çıktı (JSON)\n"
    "  --red ORAN         en iyi uzaklık, başka bir sözcüğün en iyi uzaklığının ORAN\n"
    "                     katından küçük değilse yanıt vermez (0 < ORAN <= 1; sözlük\n"
    "                     dışı sözcükleri geri çevirmek için; öntanımlı: kapalı)\n"
    "  --hassasiyet H     güveni 1 - H'den az olan en iyi sözcüğü geri çevirir\n"
    "                     (0 <= H <= 1; büyüdükçe daha çok söz kabul edilir;\n"
    "                     velmo-dinle'nin öntanımlısı 0.5; öntanımlı: kapalı)\n"
    "  --dokum DİZİN      uç nokta ve çözümleme dökümlerini bu dizine yazar\n"
    "  -h, --help         bu yardım\n"
    "\n"
    "Okunamayan kayıtlar standart hataya yazılır ve çıkış durumu 1 olur; dizinde\n"
    "kullanılabilir kural dosyası yoksa bunu bir satırla söyler, 1 ile çıkar.\n";

const char* const DEGERLENDIR_YARDIM =
    "Kullanım: velmo-toplu degerlendir [SEÇENEKLER] --liste LİSTE.csv\n"
    "          velmo-toplu degerlendir [SEÇENEKLER] --desen İFADE KAYIT.wav...\n"
    "\n"
    "Etiketli kayıtları \"tani\" gibi tanır ve doğruluğu, karışıklık matrisini,\n"
    "sözcük başına doğruluğu ve yanlışların listesini yazar. Kural dosyaları bir\n"
    "kez okunur. Uçbirimde ilerleme çubuğu standart hataya çizilir.\n"
    "\n"
    "  -d, --dizin DİZİN  kural dosyalarının dizini (öntanımlı: .)\n"
    "  --liste DOSYA      \"kayıt,sözcük\" satırları (CSV; göreli yollar listenin\n"
    "                     dizinine göre; # ile başlayan satırlar atlanır)\n"
    "  --desen İFADE      sözcük, kayıt dosyasının adından bu düzenli ifadenin ilk\n"
    "                     grubuyla alınır (grup yoksa bütün eşleşme), örneğin\n"
    "                     '^([0-9]+)_' ile 7_ali_3.wav -> 7\n"
    "  --json             makinece okunur çıktı (JSON)\n"
    "  --red ORAN         \"tani\" gibi; geri çevrilen kayıt yanlış sayılır\n"
    "  --hassasiyet H     \"tani\" gibi; geri çevrilen kayıt yanlış sayılır\n"
    "  --ayrinti          aşamaların iletilerini kayıt adıyla standart hataya yazar\n"
    "  -j, --isler SAYI   kayıtları bu kadar işçi süreçte aynı anda tanır (öntanımlı:\n"
    "                     işlemci sayısı; 1: tek süreç); sonuçlar ve sıraları aynıdır\n"
    "  -h, --help         bu yardım\n";

const char* const CIZ_YARDIM =
    "Kullanım: velmo-toplu ciz [SEÇENEKLER] KAYIT.wav\n"
    "\n"
    "Kaydı, kayıt süresi (--ksu) uzunluğunda bir mikrofon kaydı gibi alır, uç\n"
    "noktalarını ve çözümleme çerçevelerini velmo'nun koduyla bulur ve bir SVG\n"
    "resmi çizer: dalga biçimi (konuşma bölümü gölgeli), çerçeveler, kısa süreli\n"
    "örke eğrisi ile yüksek ve alçak örke eşikleri, sıfır geçişi eğrisi ile\n"
    "başlangıç sıfır geçiş eşiği, bulunan başlangıç ve bitiş. Tanıma ekranının\n"
    "gördüğünü görmek için --ksu 2 verin.\n"
    "\n"
    "  -o, --cikti DOSYA  SVG dosyası; \"-\" standart çıktı (öntanımlı: kaydın adı,\n"
    "                     uzantısı .svg, bu dizinde)\n"
    "  -h, --help         bu yardım\n";

const char* const RAPOR_YARDIM =
    "Kullanım: velmo-toplu rapor [--json] SÖZCÜK.vlm\n"
    "\n"
    "Bir kural dosyasını (her türden) velmo'nun bütün denetimleriyle okur;\n"
    "başlığını, ayarlarını ve kural yöneylerini yanındaki metin raporu\n"
    "(SÖZCÜK.vlm.txt) ile aynı içerikte, Windows-1254 yerine UTF-8 olarak standart\n"
    "çıktıya yazar. Geçerli bir kural dosyası değilse nedenini dosyanın adıyla\n"
    "standart hataya yazar ve çıkış durumu 1 olur.\n"
    "\n"
    "  --json             makinece okunur çıktı (JSON): dosya, bicim, tur, tur_adi,\n"
    "                     soz, komut, ayarlar (seçenek adlarıyla), 3. türde kesitler,\n"
    "                     kepstrum_agirligi ve esik_ogrenme_ms, kural_yoneyleri\n"
    "                     (satır satır; her sayı aynı float olarak geri okunur)\n"
    "  -h, --help         bu yardım\n";

std::string KomutYardimi(const std::string& komut) {
    // Reading a file takes no settings.
    if (komut == "rapor") return Ceviri(RAPOR_YARDIM);
    std::string o;
    if (komut == "egit") o = Ceviri(EGIT_YARDIM);
    else if (komut == "tani") o = Ceviri(TANI_YARDIM);
    else if (komut == "degerlendir") o = Ceviri(DEGERLENDIR_YARDIM);
    else o = Ceviri(CIZ_YARDIM);
    o += "\n" + SesYardimi() + "\n" + AyarYardimi();
    return o;
}

// ---------------------------------------------------------------- command line

struct SECENEKLER {
    std::string komut;
    std::vector<std::string> dosyalar;
    std::string cikti, soz, dizin = ".", dokum, liste, desen;
    bool havuz = false, uzerine = false, hepsi = false, json = false, ayrinti = false;
    bool sozVar = false;
    double red = 0;
    double hassasiyet = -1;  // refusal by confidence; negative: off
    int isler = IslemciSayisi();  // worker processes of degerlendir
    AYAR_DEGERLERI ayar = VarsayilanAyarlar();  // the defaults and the settings options
    SESAYARI ses;
};

// Reads the command's arguments. Returns false when help was asked for.
bool Ayristir(int argc, char** argv, SECENEKLER& s) {
    const std::string& k = s.komut;
    CLI::App app{PROG};
    UygulamaHazirla(app);
    // A repeated option keeps its last value; a flag takes no value.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)->disable_flag_override();
    bool yardim = false;
    std::string red, isler, hassasiyet;
    CLI::Option* redVar = nullptr;
    CLI::Option* hassasiyetVar = nullptr;
    CLI::Option* islerVar = nullptr;
    AYARGIRDILERI ayarlar;
    app.add_flag("-h,--help", yardim);
    if (k != "rapor") AyarSecenekleriEkle(app, ayarlar, true);
    if (k == "egit") {
        app.add_option("-o,--cikti", s.cikti);
        app.add_option_function<std::string>("--soz", [&s](const std::string& d) { s.soz = d, s.sozVar = true; });
        app.add_flag("--havuz", s.havuz);
        app.add_flag("--uzerine", s.uzerine);
        app.add_option("--dokum", s.dokum);
    } else if (k == "tani" || k == "degerlendir") {
        app.add_option("-d,--dizin", s.dizin);
        app.add_flag("--json", s.json);
        redVar = app.add_option("--red", red);
        hassasiyetVar = app.add_option("--hassasiyet", hassasiyet);
        if (k == "tani") {
            app.add_flag("--hepsi", s.hepsi);
            app.add_option("--dokum", s.dokum);
        } else {
            app.add_option("--liste", s.liste);
            app.add_option("--desen", s.desen);
            app.add_flag("--ayrinti", s.ayrinti);
            islerVar = app.add_option("-j,--isler", isler);
        }
    } else if (k == "rapor") {
        app.add_flag("--json", s.json);
    } else {
        app.add_option("-o,--cikti", s.cikti);
    }
    app.add_option("dosyalar", s.dosyalar)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    KomutSatiriniAyristir(app, argc - 1, argv + 1, k);
    if (yardim) return false;
    KalanlariReddet(app, k);
    // The user's kept settings first, the options over them.
    if (k != "rapor") {
        const std::string kalici = KaliciAyarlariUygula(s.ayar);
        if (!kalici.empty()) Hata("%s", kalici.c_str());
    }
    AyarGirdileriniUygula(ayarlar, s.ayar, s.ses, k);
    if (islerVar != nullptr && islerVar->count() > 0 &&
        (!TamsayiCoz(isler, s.isler) || s.isler < 1 || s.isler > 1024))
        throw KullanimHatasi{
            Bicimle(Ceviri("--isler için 1 ile 1024 arasında bir sayı bekleniyor: '%s'"), isler.c_str()), k};
    if (redVar != nullptr && redVar->count() > 0 && (!GercelCoz(red, s.red) || !(s.red > 0 && s.red <= 1)))
        throw KullanimHatasi{Bicimle(Ceviri("--red için 0 ile 1 arasında bir oran bekleniyor: '%s'"), red.c_str()), k};
    if (hassasiyetVar != nullptr && hassasiyetVar->count() > 0 &&
        (!GercelCoz(hassasiyet, s.hassasiyet) || !(s.hassasiyet >= 0 && s.hassasiyet <= 1)))
        throw KullanimHatasi{
            Bicimle(Ceviri("--hassasiyet için 0 ile 1 arasında bir sayı bekleniyor: '%s'"), hassasiyet.c_str()), k};
    return true;
}

// The word for the codebook header: Windows-1254, at most 19 bytes.
void SozKoy(SECENEKLER& s) {
    std::string soz = s.soz;
    if (!s.sozVar) soz = fs::path(s.cikti).stem().string();
    std::string cp;
    if (!Utf8den1254(soz, cp))
        throw KullanimHatasi{
            Bicimle(Ceviri("sözcük Windows-1254 ile yazılamıyor: '%s' (--soz ile verin)"), soz.c_str()), s.komut};
    if (cp.size() >= SOZ_BOYU)
        throw KullanimHatasi{Bicimle(Ceviri("sözcük en çok 19 bayt olabilir: '%s' (--soz ile verin)"), soz.c_str()),
                             s.komut};
    if (cp.find('\0') != std::string::npos) throw KullanimHatasi{"sözcükte NUL olamaz", s.komut};
    KURALDOSYABASLIK& b = s.ayar.kdbaslik;
    std::memset(b.soz, 0, sizeof b.soz);
    std::memcpy(b.soz, cp.data(), cp.size());
}

// ---------------------------------------------------------------- egit

int EgitKomutu(SECENEKLER& s) {
    if (s.cikti.empty()) throw KullanimHatasi{"kural dosyası adı gerekli (-o DOSYA)", s.komut};
    if (s.dosyalar.empty()) throw KullanimHatasi{"en az bir kayıt gerekli", s.komut};
    std::string hata;
    if (!KayitAyarlariGecerli(s.ayar.kdbaslik, s.ayar.kdbaslik.ksu, &hata)) throw KullanimHatasi{hata, s.komut};
    SozKoy(s);
    EGITIMAYARI e;
    e.ayar = s.ayar;
    e.cikti = s.cikti;
    e.havuz = s.havuz;
    e.uzerine = s.uzerine;
    e.dokum = s.dokum;
    e.ses = s.ses;
    return TopluEgit(s.dosyalar, e);
}

// ---------------------------------------------------------------- tani

// The codebooks of the directory read; false after a message when it cannot
// be read or holds none that can be used. What is said about the files
// skipped comes first; with `atlananlariSoyle` false it is said only when
// none is left (tani's scan names them again for every recording).
bool KitaplariHazirla(KURAL_DIZINI& dizin, bool atlananlariSoyle = true) {
    if (dizin.Tazele() < 0) {
        HataHam(UcbirimeCevir(Bicimle(Ceviri("%s: dizin okunamıyor.\n"), Gorunur(dizin.Dizin()).c_str())));
        return false;
    }
    if (atlananlariSoyle || dizin.Kitaplar().empty()) HataHam(UcbirimeCevir(dizin.Mesajlar()));
    if (dizin.Kitaplar().empty()) {
        Hata("%s: okunabilen \"*.vlm\" kural dosyası yok.\n", dizin.Dizin().c_str());
        return false;
    }
    return true;
}

// One recognition as an element of the JSON document's "sonuclar".
JSON TaniJson(const std::string& dosya, const TANIMA& t, bool hepsi) {
    JSON r = {{"dosya", dosya}, {"okundu", t.okundu}};
    if (!t.okundu) return r;
    const TANIMA_SONUCU* k = t.kazanan >= 0 ? &t.puanlar[static_cast<size_t>(t.kazanan)] : nullptr;
    r["soz"] = k != nullptr && !t.reddedildi ? JSON(SonucSozu(*k)) : JSON(nullptr);
    r["uzaklik"] = k ? JsonSayisi(t.enyakin) : JSON(nullptr);
    r["kural_dosyasi"] = k ? JSON(k->dosya) : JSON(nullptr);
    r["reddedildi"] = t.reddedildi;
    r["guven"] = k ? JSON(t.guven) : JSON(nullptr);
    if (hepsi) {
        r["puanlar"] = JSON::array();
        for (const TANIMA_SONUCU& p : t.puanlar)
            r["puanlar"].push_back({{"kural_dosyasi", p.dosya},
                                    {"soz", SonucSozu(p)},
                                    {"uzaklik", JsonSayisi(p.puan)},
                                    {"guven", SonucGuveni(p)}});
    }
    return r;
}

// One recognition as lines: recording, word, score, codebook file; with
// `hepsi` a line for every codebook scored.
void TaniSatirlari(const std::string& d, const TANIMA& t, bool hepsi) {
    if (!t.okundu) return;
    const TANIMA_SONUCU* k = t.kazanan >= 0 ? &t.puanlar[static_cast<size_t>(t.kazanan)] : nullptr;
    if (k != nullptr && !t.reddedildi)
        Cikti("%s\t%s\t%f\t%s\n", Gorunur(d).c_str(), Gorunur(SonucSozu(*k)).c_str(),
            static_cast<double>(t.enyakin), Gorunur(k->dosya).c_str());
    else if (t.reddedildi)
        Cikti("%s\t\t%f\t\treddedildi: %s\n", Gorunur(d).c_str(), static_cast<double>(t.enyakin),
            Gorunur(SonucSozu(*k)).c_str());
    else
        Cikti("%s\t\t%f\t\n", Gorunur(d).c_str(), static_cast<double>(t.enyakin));
    if (hepsi)
        for (const TANIMA_SONUCU& p : t.puanlar)
            Cikti("\t%s\t%f\t%s\n", Gorunur(SonucSozu(p)).c_str(), static_cast<double>(p.puan),
                Gorunur(p.dosya).c_str());
}

int TaniKomutu(const SECENEKLER& s) {
    if (s.dosyalar.empty()) throw KullanimHatasi{"en az bir kayıt gerekli", s.komut};
    std::string hata;
    if (!KayitAyarlariGecerli(s.ayar.kdbaslik, TANIMA_SURESI, &hata)) throw KullanimHatasi{hata, s.komut};
    struct stat st;
    if (stat(s.dizin.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        Hata("%s: dizin okunamıyor.\n", s.dizin.c_str());
        return 1;
    }
    // A directory with no codebook to score could only answer "nothing" for
    // every recording: said once, as degerlendir says it.
    KURAL_DIZINI dizin = CozumlemeDizini(s.dizin, s.ayar.kdbaslik);
    if (!KitaplariHazirla(dizin, false)) return 1;
    const KURALDOSYABASLIK& komut = s.ayar.kdbaslik;
    int sonuc = 0;
    JSON json = {{"kural_dizini", s.dizin}, {"sonuclar", JSON::array()}};
    for (const std::string& d : s.dosyalar) {
        std::string m;
        // Every file is scanned as the recognition screen scans, over the
        // codebooks kept from the last file: only those added or changed
        // since are read.
        dizin.Tazele();
        const TANIMA t = TekTani(d, &dizin, nullptr, komut, s.ses, s.dokum, s.red, s.hassasiyet, &m);
        HataHam(SatirOnekli(d, m));
        if (!t.okundu) sonuc = 1;
        if (s.json) json["sonuclar"].push_back(TaniJson(d, t, s.hepsi));
        else TaniSatirlari(d, t, s.hepsi);
    }
    if (s.json) KonsolHamYaz(JsonMetni(json));
    return sonuc;
}

// ---------------------------------------------------------------- degerlendir

// The recordings with their words: from the list, or from the names by the
// pattern. False when the list cannot be used; *sonuc is 1 when a name did
// not fit the pattern.
bool EtiketliKayitlar(const SECENEKLER& s, std::vector<ETIKETLI>& etiketli, int* sonuc) {
    if (!s.liste.empty()) return ListeOku(s.liste, etiketli);
    std::regex desen;
    try {
        desen = std::regex(s.desen, std::regex::ECMAScript);
    } catch (const std::regex_error&) {
        throw KullanimHatasi{Bicimle(Ceviri("düzenli ifade geçersiz: '%s'"), s.desen.c_str()), s.komut};
    }
    if (!DesenleEtiketle(desen, s.dosyalar, etiketli)) *sonuc = 1;
    return true;
}

int DegerlendirKomutu(const SECENEKLER& s) {
    if (s.liste.empty() == s.desen.empty())
        throw KullanimHatasi{"--liste ya da --desen seçeneklerinden biri gerekli", s.komut};
    if (!s.liste.empty() && !s.dosyalar.empty())
        throw KullanimHatasi{"--liste ile kayıt adları verilmez", s.komut};
    if (!s.desen.empty() && s.dosyalar.empty()) throw KullanimHatasi{"en az bir kayıt gerekli", s.komut};
    std::string hata;
    if (!KayitAyarlariGecerli(s.ayar.kdbaslik, TANIMA_SURESI, &hata)) throw KullanimHatasi{hata, s.komut};
    int sonuc = 0;
    std::vector<ETIKETLI> etiketli;
    if (!EtiketliKayitlar(s, etiketli, &sonuc)) return 1;
    KURAL_DIZINI dizin = CozumlemeDizini(s.dizin, s.ayar.kdbaslik);
    if (!KitaplariHazirla(dizin)) return 1;
    const std::vector<KURALKITABI>& kitaplar = dizin.Kitaplar();
    DEGERLENDIRME d;
    DegerlendirmeBaslat(s.dizin, kitaplar, etiketli, d);
    DEGERLENDIRMEAYARI a;
    a.komut = s.ayar.kdbaslik;
    a.dizin = s.dizin;
    a.ses = s.ses;
    a.red = s.red;
    a.hassasiyet = s.hassasiyet;
    a.isler = s.isler;
    a.ayrinti = s.ayrinti;
    if (DegerlendirmeTopla(etiketli, kitaplar, a, d) != 0) sonuc = 1;
    KonsolHamYaz(s.json ? DegerlendirmeJson(d) : UcbirimeCevir(DegerlendirmeMetni(d)));
    return sonuc;
}

// ---------------------------------------------------------------- ciz

int CizKomutu(const SECENEKLER& s) {
    if (s.dosyalar.size() != 1) throw KullanimHatasi{"tek bir kayıt gerekli", s.komut};
    std::string hata;
    if (!KayitAyarlariGecerli(s.ayar.kdbaslik, s.ayar.kdbaslik.ksu, &hata)) throw KullanimHatasi{hata, s.komut};
    std::string cikti = s.cikti;
    if (cikti.empty()) cikti = fs::path(s.dosyalar[0]).filename().replace_extension(".svg").string();
    return KayitCiz(s.dosyalar[0], s.ayar.kdbaslik, s.ses, cikti);
}

// ---------------------------------------------------------------- rapor

int RaporKomutu(const SECENEKLER& s) {
    if (s.dosyalar.size() != 1) throw KullanimHatasi{"tek bir kural dosyası gerekli", s.komut};
    return KuralDosyasiRaporla(s.dosyalar[0], s.json);
}

int Calistir(int argc, char** argv) {
    if (argc < 2) {
        HataHam(UcbirimeCevir(Ceviri(GENEL_YARDIM)));
        return 2;
    }
    const std::string k = argv[1];
    if (k == "-h" || k == "--help" || k == "yardim") {
        Cikti("%s", Ceviri(GENEL_YARDIM));
        return 0;
    }
    if (k == "--version") {
        Cikti("%s %s\n", PROG, VELMO_SURUM);
        return 0;
    }
    if (k != "egit" && k != "tani" && k != "degerlendir" && k != "ciz" && k != "rapor")
        throw KullanimHatasi{Bicimle(Ceviri("bilinmeyen komut '%s'"), k.c_str()), ""};
    SECENEKLER s;
    s.komut = k;
    if (!Ayristir(argc, argv, s)) {
        Cikti("%s", KomutYardimi(k).c_str());
        return 0;
    }
    if (k == "egit") return EgitKomutu(s);
    if (k == "tani") return TaniKomutu(s);
    if (k == "degerlendir") return DegerlendirKomutu(s);
    if (k == "rapor") return RaporKomutu(s);
    return CizKomutu(s);
}

}  // namespace

int main(int argc, char** argv) {
    // Every file takes and frees the same few hundred kilobytes (the
    // converter's filters, the recording, the analysis). By default the
    // allocator hands the freed top of the heap back to the system each time
    // and faults it in again for the next file, which cost about half of a
    // batch's processor time; keep up to 64 MiB of it instead.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    KesintiKur();
    return AracCalistir(PROG, Calistir, argc, argv);
}
