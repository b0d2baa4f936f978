#include "ciz.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "cikti.h"
#include "konsol.h"
#include "lpc.h"
#include "sinir.h"
#include "toplu.h"
#include "yarim.h"

namespace {

const int GEN = 1200;      // picture width
const int SOL = 100;        // left margin (axis labels)
const int SAG = 20;
const int CIZ_GEN = GEN - SOL - SAG;

std::string Sayi(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f", v);
    return b;
}

std::string Xml(const std::string& s) {
    std::string o;
    for (char ch : Utf8Onar(s)) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
            case '<': o += "&lt;"; break;
            case '>': o += "&gt;"; break;
            case '&': o += "&amp;"; break;
            case '"': o += "&quot;"; break;
            default: o.push_back(c < 0x20 || c == 0x7F ? '?' : ch);
        }
    }
    return o;
}

double Xkon(const CIZIM& c, double ornek) {
    return SOL + (c.boyut > 0 ? ornek * CIZ_GEN / c.boyut : 0.0);
}

// Smallest and largest value in every pixel column.
void Zarf(const CIZIM& c, const std::function<double(int)>& deger, std::vector<double>& enk,
          std::vector<double>& enb) {
    enk.assign(CIZ_GEN, 0.0);
    enb.assign(CIZ_GEN, 0.0);
    for (int s = 0; s < CIZ_GEN; s++) {
        const int64_t a = static_cast<int64_t>(s) * c.boyut / CIZ_GEN;
        int64_t b = static_cast<int64_t>(s + 1) * c.boyut / CIZ_GEN;
        if (b <= a) b = a + 1;
        if (a >= c.boyut) {
            enk[s] = enb[s] = (s > 0 ? enb[s - 1] : 0.0);
            continue;
        }
        double k = deger(static_cast<int>(a)), u = k;
        for (int64_t i = a + 1; i < b && i < c.boyut; i++) {
            const double v = deger(static_cast<int>(i));
            k = std::min(k, v);
            u = std::max(u, v);
        }
        enk[s] = k;
        enb[s] = u;
    }
}

// A filled band between two curves, top at y0, `yuk` high, values 0..ust.
std::string Bant(const std::vector<double>& enk, const std::vector<double>& enb, double y0, double yuk,
                 double alt, double ust, const char* renk) {
    auto y = [&](double v) { return y0 + yuk - (v - alt) / (ust - alt) * yuk; };
    std::string d = "M";
    for (int s = 0; s < CIZ_GEN; s++) d += " " + Sayi(SOL + s + 0.5) + "," + Sayi(y(enb[s]));
    for (int s = CIZ_GEN - 1; s >= 0; s--) d += " " + Sayi(SOL + s + 0.5) + "," + Sayi(y(enk[s]));
    d += " Z";
    return std::string("<path d=\"") + d + "\" fill=\"" + renk + "\" stroke=\"" + renk +
           "\" stroke-width=\"0.8\" stroke-linejoin=\"round\"/>\n";
}

std::string Metin(double x, double y, const std::string& m, const char* ek = "") {
    return "<text x=\"" + Sayi(x) + "\" y=\"" + Sayi(y) + "\"" + ek + ">" + Xml(m) + "</text>\n";
}

std::string Cizgi(double x1, double y1, double x2, double y2, const char* renk, const char* ek = "") {
    return "<line x1=\"" + Sayi(x1) + "\" y1=\"" + Sayi(y1) + "\" x2=\"" + Sayi(x2) + "\" y2=\"" + Sayi(y2) +
           "\" stroke=\"" + renk + "\"" + ek + "/>\n";
}

// A threshold: dashed line across the panel with its name at the right.
std::string Esik(double y, const std::string& ad, const char* renk, bool altta = false) {
    return Cizgi(SOL, y, GEN - SAG, y, renk, " stroke-width=\"1.5\" stroke-dasharray=\"8 4\"") +
           Metin(GEN - SAG - 4, altta ? y + 14 : y - 4, ad,
                 (std::string(" text-anchor=\"end\" fill=\"") + renk + "\" font-weight=\"bold\"").c_str());
}

// Time ticks in seconds under a panel.
std::string Zaman(const CIZIM& c, double y) {
    std::string o;
    const double sure = static_cast<double>(c.boyut) / c.oo;
    double adim = 0.1;
    for (double a : {0.01, 0.02, 0.05, 0.1, 0.2, 0.25, 0.5, 1.0, 2.0, 5.0, 10.0})
        if (sure / a <= 16) {
            adim = a;
            break;
        }
    for (int i = 0; i * adim <= sure + 1e-9; i++) {
        const double x = Xkon(c, i * adim * c.oo);
        o += Cizgi(x, y, x, y + 5, "#444");
        char b[32];
        std::snprintf(b, sizeof b, "%g", i * adim);
        o += Metin(x, y + 17, b, " text-anchor=\"middle\" fill=\"#444\"");
    }
    return o;
}

std::string Panel(double y0, double yuk, const std::string& ad) {
    return "<rect x=\"" + Sayi(SOL) + "\" y=\"" + Sayi(y0) + "\" width=\"" + Sayi(CIZ_GEN) + "\" height=\"" +
           Sayi(yuk) + "\" fill=\"#fbfbfb\" stroke=\"#999\"/>\n" +
           Metin(SOL - 8, y0 + 14, ad, " text-anchor=\"end\" font-weight=\"bold\"");
}

// The panels from top to bottom: waveform, frames, energy, zero crossings.
const double DALGA_Y = 70, DALGA_H = 240;
const double CER_Y = DALGA_Y + DALGA_H + 30, CER_H = 36;
const double ORKE_Y = CER_Y + CER_H + 40, ORKE_H = 200;
const double SG_Y = ORKE_Y + ORKE_H + 40, SG_H = 200;
const double YUK = SG_Y + SG_H + 40;

// The SVG header, the title and the line of what was found.
std::string SvgBasi(const CIZIM& c) {
    std::string o;
    o += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    o += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(GEN) + "\" height=\"" +
         Sayi(YUK) + "\" viewBox=\"0 0 " + std::to_string(GEN) + " " + Sayi(YUK) +
         "\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"12\">\n";
    o += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    o += Metin(SOL, 22, c.baslik, " font-size=\"15\" font-weight=\"bold\"");
    char b[256];
    if (c.konusma) {
        std::snprintf(b, sizeof b, "Başlangıç: örnek %d (%.3f s)   Bitiş: örnek %d (%.3f s)   Çerçeve: %d çözümlendi, %d sayıldı",
                      c.uc1, static_cast<double>(c.uc1) / c.oo, c.uc2, static_cast<double>(c.uc2) / c.oo,
                      c.cerceve, c.r);
    } else {
        std::snprintf(b, sizeof b, "Konuşma bulunamadı: hiçbir konumda örke yüksek eşiğe (%d) ulaşmıyor", c.yee);
    }
    o += Metin(SOL, 44, b, c.konusma ? "" : " fill=\"#b00\"");
    return o;
}

// Waveform, speech shaded.
std::string DalgaPaneli(const CIZIM& c) {
    std::string o = Panel(DALGA_Y, DALGA_H, "Dalga");
    if (c.konusma && c.uc2 >= c.uc1) {
        const double x1 = Xkon(c, c.uc1), x2 = Xkon(c, c.uc2 + 1);
        o += "<rect x=\"" + Sayi(x1) + "\" y=\"" + Sayi(DALGA_Y) + "\" width=\"" + Sayi(std::max(x2 - x1, 1.0)) +
             "\" height=\"" + Sayi(SG_Y + SG_H - DALGA_Y) + "\" fill=\"#2a7\" fill-opacity=\"0.10\"/>\n";
    }
    if (c.boyut > 0) {
        std::vector<double> enk, enb;
        Zarf(c, [&](int i) { return static_cast<double>(c.x[i]); }, enk, enb);
        double tepe = 1;
        for (int s = 0; s < CIZ_GEN; s++) tepe = std::max({tepe, std::fabs(enk[s]), std::fabs(enb[s])});
        o += Bant(enk, enb, DALGA_Y, DALGA_H, -tepe * 1.05, tepe * 1.05, "#2563a8");
        o += Metin(SOL - 8, DALGA_Y + DALGA_H - 4, "±" + std::to_string(static_cast<int>(tepe)),
                   " text-anchor=\"end\" fill=\"#444\"");
    }
    return o + Zaman(c, DALGA_Y + DALGA_H);
}

// Analysis frames: two rows, so that overlapping frames stay apart.
std::string CercevePaneli(const CIZIM& c) {
    std::string o = Panel(CER_Y, CER_H, "Çerçeveler");
    for (int k = 0; k < c.cerceve; k++) {
        const double bas = static_cast<double>(c.uc1) + static_cast<double>(k) * c.admu;
        const double x1 = Xkon(c, bas), x2 = Xkon(c, std::min<double>(bas + c.penu, c.boyut));
        const double y = CER_Y + 3 + (k % 2) * (CER_H / 2 - 1);
        o += "<rect x=\"" + Sayi(x1) + "\" y=\"" + Sayi(y) + "\" width=\"" + Sayi(std::max(x2 - x1, 0.5)) +
             "\" height=\"" + Sayi(CER_H / 2 - 5) + "\" fill=\"" + (k % 2 ? "#e8a33d" : "#c76b1c") +
             "\" fill-opacity=\"0.8\" stroke=\"white\" stroke-width=\"0.5\"/>\n";
    }
    return o;
}

// Energy with the two energy thresholds, on a square-root scale so that
// the thresholds stay readable beside loud speech.
std::string OrkePaneli(const CIZIM& c) {
    std::string o = Panel(ORKE_Y, ORKE_H, "Örke");
    double ust = std::max({c.yee, c.aee, 1}) * 1.3;
    if (c.boyut > 0) {
        std::vector<double> enk, enb;
        Zarf(c, [&](int i) { return std::sqrt(std::max(0.0, static_cast<double>(c.orke[i]))); }, enk, enb);
        for (double v : enb) ust = std::max(ust, v * v * 1.1);
        o += Bant(enk, enb, ORKE_Y, ORKE_H, 0, std::sqrt(ust), "#6a3d9a");
    }
    auto oy = [&](double v) {
        return ORKE_Y + ORKE_H - std::clamp(std::sqrt(std::max(v, 0.0) / ust), 0.0, 1.0) * ORKE_H;
    };
    double sonEtiket = 1e9;
    for (double t : {0.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0}) {
        if (t > ust || sonEtiket - oy(t) < 16) continue;
        o += Cizgi(SOL - 4, oy(t), SOL, oy(t), "#444");
        o += Metin(SOL - 8, oy(t) + 4, std::to_string(static_cast<int>(t)), " text-anchor=\"end\" fill=\"#444\"");
        sonEtiket = oy(t);
    }
    o += Esik(oy(c.yee), "yüksek örke eşiği " + std::to_string(c.yee), "#c0392b", c.yee < c.aee);
    o += Esik(oy(c.aee), "alçak örke eşiği " + std::to_string(c.aee), "#d68910", c.aee <= c.yee);
    o += Metin(SOL - 8, ORKE_Y + 30, "(karekök)", " text-anchor=\"end\" fill=\"#444\" font-size=\"10\"");
    return o + Zaman(c, ORKE_Y + ORKE_H);
}

// Zero crossings with the start threshold.
std::string SifirGecisPaneli(const CIZIM& c) {
    std::string o = Panel(SG_Y, SG_H, "Sıfır geçişi");
    double ust = std::max(c.bsge, 1) * 1.15;
    if (c.boyut > 0) {
        std::vector<double> enk, enb;
        Zarf(c, [&](int i) { return static_cast<double>(c.sfrgecis[i]); }, enk, enb);
        for (double v : enb) ust = std::max(ust, v * 1.05);
        o += Bant(enk, enb, SG_Y, SG_H, 0, ust, "#1e8449");
    }
    const double zy = SG_Y + SG_H - std::clamp(c.bsge / ust, 0.0, 1.0) * SG_H;
    o += Esik(zy, "başlangıç sıfır geçiş eşiği " + std::to_string(c.bsge), "#c0392b");
    o += Metin(SOL - 8, SG_Y + SG_H - 4, "0", " text-anchor=\"end\" fill=\"#444\"");
    o += Metin(SOL - 8, SG_Y + 30, std::to_string(static_cast<int>(ust)), " text-anchor=\"end\" fill=\"#444\"");
    return o + Zaman(c, SG_Y + SG_H);
}

// Detected start and end across every panel.
std::string UcCizgileri(const CIZIM& c) {
    if (!c.konusma) return "";
    const double x1 = Xkon(c, c.uc1), x2 = Xkon(c, c.uc2 + 1);
    return Cizgi(x1, DALGA_Y, x1, SG_Y + SG_H, "#1a7f37", " stroke-width=\"2\"") +
           Cizgi(x2, DALGA_Y, x2, SG_Y + SG_H, "#b00020", " stroke-width=\"2\"") +
           Metin(x1 + 3, DALGA_Y + 14, "başlangıç", " fill=\"#1a7f37\" font-weight=\"bold\"") +
           Metin(x2 + 3, DALGA_Y + 14, "bitiş", " fill=\"#b00020\" font-weight=\"bold\"");
}

// What the picture shows of the recording x: the measures and thresholds
// of its end-point search u (zeros and the settings' thresholds when it
// could not measure), the speech it found and the frames of its analysis.
// `sifirlar` holds the zeros while the picture is drawn.
CIZIM Cizim(const std::vector<short>& x, const KURALDOSYABASLIK& b, const UC_NOKTALAR& u,
            const std::optional<COZUMLEME>& oz, std::vector<int>& sifirlar) {
    CIZIM c;
    c.x = x.data();
    c.boyut = static_cast<int>(x.size());
    c.oo = b.oo;
    if (u.olculdu) {
        c.kpenu = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(b.kpensu) * b.oo / 1000, INT32_MAX));
        c.orke = u.orke.get();
        c.sfrgecis = u.sfrgecis.get();
        // The thresholds the search used: kind 3 learns them from the lead-in.
        c.yee = u.esik.yee;
        c.aee = u.esik.aee;
        c.bsge = u.esik.bsge;
    } else {
        sifirlar.assign(static_cast<size_t>(c.boyut), 0);
        c.orke = c.sfrgecis = sifirlar.data();
        c.yee = b.yee;
        c.aee = b.aee;
        c.bsge = b.bsge;
    }
    c.konusma = u.bulundu;
    if (c.konusma) {
        c.uc1 = u.bas;
        c.uc2 = u.bas + u.uzunluk - 1;
    }
    if (c.konusma && oz) {
        c.penu = static_cast<int>(static_cast<int64_t>(b.pensu) * b.oo / 1000);
        c.admu = static_cast<int>(static_cast<int64_t>(b.admsu) * b.oo / 1000);
        c.cerceve = (c.admu > 0 && u.uzunluk > 0) ? (u.uzunluk - 1) / c.admu : 0;
        c.r = oz->r;
    }
    return c;
}

// The picture to `cikti`, "-" for standard output. 0 on success.
int SvgYaz(const std::string& svg, const std::string& cikti) {
    if (cikti == "-") {
        KonsolHamYaz(svg);
        return 0;
    }
    const YARIM_DOSYA yarim(cikti.c_str());
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(cikti.c_str(), "wb"), std::fclose);
    if (!f) {
        Hata("%s yazılamıyor (%s).\n", cikti.c_str(), std::strerror(errno));
        return 1;
    }
    const bool yazildi = std::fwrite(svg.data(), 1, svg.size(), f.get()) == svg.size();
    if (!yazildi || std::fclose(f.release()) != 0) {
        Hata("%s yazılamıyor.\n", cikti.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

std::string SvgCiz(const CIZIM& c) {
    return SvgBasi(c) + DalgaPaneli(c) + CercevePaneli(c) + OrkePaneli(c) + SifirGecisPaneli(c) +
           Metin(GEN - SAG, YUK - 6, "saniye", " text-anchor=\"end\" fill=\"#444\"") + UcCizgileri(c) + "</svg>\n";
}

int KayitCiz(const std::string& girdi, const KURALDOSYABASLIK& b, const SESAYARI& ses, const std::string& cikti) {
    std::vector<short> x;
    if (SesDosyasiOku(girdi, b.oo, b.ksu, ses, x) != 0) return 1;
    UC_NOKTALAR u;
    std::optional<COZUMLEME> oz;
    HataHam(Yakala([&] {
        u = UcNoktalariBul(x, b, "");
        oz = KonusmayiCozumle(x, u, b, "");
    }));
    std::vector<int> sifirlar;
    CIZIM c = Cizim(x, b, u, oz, sifirlar);
    char ek[200];
    std::snprintf(ek, sizeof ek, " %d Hz, %d s, kısa pencere %d ms, çerçeve %d ms / adım %d ms", b.oo, b.ksu,
                  b.kpensu, b.pensu, b.admsu);
    c.baslik = TabanAd(girdi) + " —" + ek;
    return SvgYaz(SvgCiz(c), cikti);
}
