#include "dinle_cikti.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "cikti.h"
#include "kodlama.h"

namespace {

double Saniye(int64_t ornek, int oo) { return static_cast<double>(ornek) / static_cast<double>(oo); }

std::string Soz(const DINLE_SONUCU& t) { return (t.kazananVar && !t.reddedildi) ? t.soz : std::string(); }

// Seconds rounded to the millisecond, as a JSON number.
double Ms(double s) { return std::round(s * 1000.0) / 1000.0; }

}  // namespace

std::string SonucSatiri(const SOZCE& s, int oo, const DINLE_SONUCU& t) {
    char b[128];
    std::snprintf(b, sizeof b, "%.3f\t%.3f\t", Saniye(s.bas, oo), Saniye(s.bit, oo));
    std::string o = b;
    o += Gorunur(Soz(t));
    std::snprintf(b, sizeof b, "\t%f\t", static_cast<double>(t.puan));
    o += b;
    o += t.kazananVar ? Gorunur(t.dosya) : std::string();
    o += '\n';
    return o;
}

std::string SonucJson(const SOZCE& s, int oo, const DINLE_SONUCU& t) {
    JSON j;
    j["baslangic"] = Ms(Saniye(s.bas, oo));
    j["bitis"] = Ms(Saniye(s.bit, oo));
    j["soz"] = Soz(t);
    // The float's shortest text, not the digits of its double widening.
    if (t.kazananVar && std::isfinite(t.puan)) j["puan"] = std::strtod(JsonSayi(t.puan).c_str(), nullptr);
    else j["puan"] = nullptr;
    j["dosya"] = t.kazananVar ? t.dosya : std::string();
    j["reddedildi"] = t.reddedildi;
    if (t.kazananVar) j["guven"] = t.guven;
    else j["guven"] = nullptr;
    j["kesildi"] = s.kesildi;
    return JsonMetni(j);
}

std::string OlcerMetni(int orke, const char* durum, int genislik) {
    const double db = orke > 0 ? 20.0 * std::log10(static_cast<double>(orke) / 32768.0) : -99.0;
    const double oran = std::min(1.0, std::max(0.0, (db + 60.0) / 60.0));
    const int dolu = static_cast<int>(std::lround(oran * genislik));
    std::string o = "[";
    for (int i = 0; i < genislik; i++) o += i < dolu ? "#" : " ";
    char b[64];
    if (orke > 0) std::snprintf(b, sizeof b, "] %4.0f dB  ", db);
    else std::snprintf(b, sizeof b, "]  -∞ dB  ");
    o += b;
    o += durum;
    return o;
}
