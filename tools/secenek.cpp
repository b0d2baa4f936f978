#include "secenek.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "ayar_tablosu.h"
#include "cikti.h"
#include "kodlama.h"
#include "konsol.h"
#include "mesaj.h"
#include "velmo.h"

namespace {

// The settings velmo-toplu takes as options, in the order of its help.
std::vector<const AYARTANIMI*> AyarSecenekleri() {
    std::vector<const AYARTANIMI*> v;
    for (const AYARTANIMI& t : AYAR_TABLOSU)
        if (t.secenekSirasi > 0) v.push_back(&t);
    std::sort(v.begin(), v.end(),
              [](const AYARTANIMI* x, const AYARTANIMI* y) { return x->secenekSirasi < y->secenekSirasi; });
    return v;
}

const AYARTANIMI* AyarSecenegi(const std::string& ad) {
    const AYARTANIMI* t = AyarBul(ad);
    return t != nullptr && t->secenekSirasi > 0 ? t : nullptr;
}

}  // namespace

// Read as the settings menu reads what is typed (SayiCoz).
bool TamsayiCoz(const std::string& metin, int& deger) {
    double d = 0;
    if (SayiCoz(metin, SAYI_TAMSAYI, &d) != SAYI_TAMAM || !std::isfinite(d)) return false;
    deger = static_cast<int>(d);
    return true;
}

bool GercelCoz(const std::string& metin, double& deger) {
    double d = 0;
    if (SayiCoz(metin, SAYI_DOUBLE, &d) != SAYI_TAMAM || !std::isfinite(d)) return false;
    deger = d;
    return true;
}

bool FloatCoz(const std::string& metin, float& deger) {
    double d = 0;
    if (SayiCoz(metin, SAYI_FLOAT, &d) != SAYI_TAMAM || !std::isfinite(d)) return false;
    deger = static_cast<float>(d);
    return true;
}

bool AyarSecenegiMi(const std::string& ad) { return AyarSecenegi(ad) != nullptr; }

bool AyarSecenegiUygula(const std::string& ad, const std::string& deger, AYAR_DEGERLERI& ayar, std::string* hata) {
    const AYARTANIMI* t = AyarSecenegi(ad);
    if (t == nullptr) {
        *hata = Bicimle(Ceviri("bilinmeyen ayar --%s"), ad.c_str());
        return false;
    }
    if (float* g = GercelYeri(*t, ayar)) {
        if (FloatCoz(deger, *g)) return true;
        *hata = Bicimle(Ceviri("--%s için sayı bekleniyor: '%s'"), ad.c_str(), deger.c_str());
        return false;
    }
    if (TamsayiCoz(deger, *TamsayiYeri(*t, ayar))) return true;
    *hata = Bicimle(Ceviri("--%s için tamsayı bekleniyor: '%s'"), ad.c_str(), deger.c_str());
    return false;
}

std::string AyarYardimi() {
    std::string o = Ceviri("Ayarlar (ayar menüsünün alanları; varsayılanlar sıfırlamanınkiler):\n");
    AYAR_DEGERLERI varsayilan = VarsayilanAyarlar();
    for (const AYARTANIMI* t : AyarSecenekleri()) {
        if (const float* g = GercelYeri(*t, varsayilan))
            o += Bicimle(Ceviri("  --%-8s SAYI  %s (%f)\n"), t->ad, Ceviri(t->yardim), static_cast<double>(*g));
        else
            o += Bicimle(Ceviri("  --%-8s SAYI  %s (%d)\n"), t->ad, Ceviri(t->yardim), *TamsayiYeri(*t, varsayilan));
    }
    return o;
}

namespace {
const char* const SES_SECENEKLERI[] = {"dolgu", "tepe", "gurultu"};
}

bool SesSecenegiMi(const std::string& ad) {
    return std::find(std::begin(SES_SECENEKLERI), std::end(SES_SECENEKLERI), ad) != std::end(SES_SECENEKLERI);
}

bool SesSecenegiUygula(const std::string& ad, const std::string& deger, SESAYARI& ayar, std::string* hata) {
    double d = 0;
    if (!GercelCoz(deger, d)) {
        *hata = Bicimle(Ceviri("--%s için sayı bekleniyor: '%s'"), ad.c_str(), deger.c_str());
        return false;
    }
    if (ad == "dolgu") {
        if (d < 0 || d > 60) {
            *hata = "--dolgu 0 ile 60 saniye arasında olmalı";
            return false;
        }
        ayar.dolgu = d;
    } else if (ad == "tepe") {
        if (d < -120 || d > 0) {
            *hata = "--tepe -120 ile 0 dB arasında olmalı";
            return false;
        }
        ayar.tepeVar = true;
        ayar.tepe = d;
    } else {
        if (d < -120 || d > 0) {
            *hata = "--gurultu -120 ile 0 dB arasında olmalı";
            return false;
        }
        ayar.gurultuVar = true;
        ayar.gurultu = d;
    }
    return true;
}

std::string SesYardimi() {
    return Ceviri(
        "Ses dosyası seçenekleri:\n"
        "  --dolgu SANİYE   sesin önüne ve arkasına sessizlik ekler (sıkı kesilmiş kayıtlar için)\n"
        "  --tepe DB        sesin tepesini bu düzeye getirir (dBFS, örneğin -6)\n"
        "  --gurultu DB     bütün kayda bu tepe düzeyinde beyaz gürültü ekler (dBFS, örneğin -54)\n");
}

bool KayitAyarlariGecerli(const KURALDOSYABASLIK& b, int saniye, std::string* hata) {
    const auto disinda = [&](AYARNO no, int deger, const char* birim) {
        const AYARTANIMI& a = Ayar(no);
        if (deger >= a.enAz && deger <= a.enCok) return false;
        *hata = Bicimle(Ceviri("--%s %d ile %d %s arasında olmalı (şimdi %d)"), a.ad, static_cast<int>(a.enAz),
                        static_cast<int>(a.enCok), Ceviri(birim), deger);
        return true;
    };
    if (disinda(AYAR_OO, b.oo, "Hz") || disinda(AYAR_KSU, saniye, "saniye")) return false;
    return true;
}

// ---------------------------------------------------------------- the command line

int KullanimHatasiBildir(const char* prog, const KullanimHatasi& h) {
    Hata("%s: %s\n", prog, Ceviri(h.metin.c_str()));
    if (h.komut.empty()) Hata("Yardım için: %s --help\n", prog);
    else Hata("Yardım için: %s %s --help\n", prog, h.komut.c_str());
    return 2;
}

int AracCalistir(const char* prog, int (*calistir)(int, char**), int argc, char** argv) {
    KodlamaBaslat();
    MesajAlicisiKur(HataAlicisi());
    int sonuc;
    try {
        sonuc = calistir(argc, argv);
    } catch (const KullanimHatasi& h) {
        sonuc = KullanimHatasiBildir(prog, h);
    }
    KonsolBosalt();
    // Output that did not arrive (a full disk, a closed pipe) is a failure,
    // whatever the command made of it.
    if (const int h = KonsolYazmaHatasi(); h != 0) {
        if (h != EPIPE) Hata("%s: standart çıktıya yazılamadı: %s.\n", prog, SistemNedeni(h).c_str());
        if (sonuc == 0) sonuc = 1;
    }
    return sonuc;
}

void UygulamaHazirla(CLI::App& app) {
    app.set_help_flag();
    app.allow_extras();
}

void AyarSecenekleriEkle(CLI::App& app, AYARGIRDILERI& girdi, bool ses) {
    auto ekle = [&](const std::string& ad) {
        app.add_option_function<std::string>("--" + ad, [&girdi, ad](const std::string& d) { girdi[ad] = d; })
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    };
    for (const AYARTANIMI* t : AyarSecenekleri()) ekle(t->ad);
    if (ses)
        for (const char* ad : SES_SECENEKLERI) ekle(ad);
}

void KomutSatiriniAyristir(CLI::App& app, int argc, char** argv, const std::string& komut) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::ArgumentMismatch& h) {
        // CLI11 names the option at the start of its text.
        const std::string m = h.what();
        size_t p = m.find(" was given a disallowed flag override");
        if (p != std::string::npos) {
            const std::string ad = m.substr(0, p);  // without its dashes
            throw KullanimHatasi{Bicimle(Ceviri("%s%s değer almaz"), ad.size() == 1 ? "-" : "--", ad.c_str()), komut};
        }
        p = m.find(": ");
        if (p != std::string::npos && m.find(" missing", p) != std::string::npos)
            throw KullanimHatasi{Bicimle(Ceviri("%s için değer eksik"), m.substr(0, p).c_str()), komut};
        if (p != std::string::npos && m.find(": At Most ", p) == p)
            throw KullanimHatasi{Bicimle(Ceviri("%s bir kez verilebilir"), m.substr(0, p).c_str()), komut};
        throw KullanimHatasi{Bicimle(Ceviri("komut satırı anlaşılamadı (%s)"), m.c_str()), komut};
    } catch (const CLI::ParseError& h) {
        throw KullanimHatasi{Bicimle(Ceviri("komut satırı anlaşılamadı (%s)"), h.what()), komut};
    }
}

void KalanlariReddet(const CLI::App& app, const std::string& komut) {
    for (const std::string& a : app.remaining()) {
        if (a == "--") continue;  // the end of the options, kept by CLI11
        if (a.size() > 1 && a[0] == '-')
            throw KullanimHatasi{Bicimle(Ceviri("bilinmeyen seçenek %s"), a.c_str()), komut};
        throw KullanimHatasi{Bicimle(Ceviri("beklenmeyen argüman: \"%s\"."), a.c_str()), komut};
    }
}

void AyarGirdileriniUygula(const AYARGIRDILERI& girdi, AYAR_DEGERLERI& ayar, SESAYARI& ses,
                           const std::string& komut) {
    for (const auto& [ad, deger] : girdi) {
        std::string hata;
        const bool iyi = SesSecenegiMi(ad) ? SesSecenegiUygula(ad, deger, ses, &hata)
                                           : AyarSecenegiUygula(ad, deger, ayar, &hata);
        if (!iyi) throw KullanimHatasi{hata, komut};
    }
    // A kind given without an order starts from the kind's own.
    if (girdi.count("tur") > 0 && girdi.count("p") == 0) {
        const int p = TurunLpcDerecesi(ayar.kdbaslik.tur);
        if (p <= ayar.kdbaslik.m && p <= ayar.kdbaslik.n + 1) ayar.kdbaslik.p = p;
    }
    const std::string kural = AyarlarTutarsizligi(ayar);
    if (!kural.empty()) throw KullanimHatasi{kural + ".", komut};
}

double GercelSecenek(const std::string& ad, const std::string& deger, const std::string& komut) {
    double d = 0;
    if (!GercelCoz(deger, d))
        throw KullanimHatasi{Bicimle(Ceviri("--%s: \"%s\" bir sayı değil."), ad.c_str(), deger.c_str()), komut};
    return d;
}

int TamsayiSecenek(const std::string& ad, const std::string& deger, const std::string& komut) {
    int d = 0;
    if (!TamsayiCoz(deger, d))
        throw KullanimHatasi{Bicimle(Ceviri("--%s: \"%s\" bir tamsayı değil."), ad.c_str(), deger.c_str()), komut};
    return d;
}
