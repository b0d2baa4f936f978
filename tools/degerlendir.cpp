#include "degerlendir.h"

#include <unistd.h>

#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cikti.h"
#include "kodlama.h"
#include "paralel.h"
#include "toplu.h"
#include "velmo.h"

namespace fs = std::filesystem;

const char* const YANITSIZ = "(yok)";

namespace {

// A field without the blanks around it and, when quoted (and `tirnak`), its
// quotes ("" is one quote inside).
std::string Kirp(const std::string& m, bool tirnak = true) {
    size_t a = 0, b = m.size();
    while (a < b && (m[a] == ' ' || m[a] == '\t' || m[a] == '\r')) a++;
    while (b > a && (m[b - 1] == ' ' || m[b - 1] == '\t' || m[b - 1] == '\r')) b--;
    std::string o = m.substr(a, b - a);
    if (tirnak && o.size() >= 2 && o.front() == '"' && o.back() == '"') {
        std::string u;
        for (size_t i = 1; i + 1 < o.size(); i++) {
            u.push_back(o[i]);
            if (o[i] == '"' && o[i + 1] == '"') i++;
        }
        o = u;
    }
    return o;
}

// The comma between a line's two fields: the last one outside quotes.
size_t AyiranVirgul(const std::string& satir) {
    size_t v = std::string::npos;
    bool tirnakta = false;
    for (size_t i = 0; i < satir.size(); i++) {
        if (satir[i] == '"') tirnakta = !tirnakta;
        else if (satir[i] == ',' && !tirnakta) v = i;
    }
    return v;
}

// "%12.50" in Turkish, "12.50%" in English.
std::string Yuzde(int a, int b) { return Bicimle(Ceviri("%%%.2f"), b > 0 ? 100.0 * a / b : 0.0); }

// A found word as the summary shows it: "nothing found" in the language of
// the messages (the JSON keeps its own names).
std::string Gorunen(const std::string& bulunan) { return bulunan == YANITSIZ ? Ceviri(YANITSIZ) : bulunan; }

std::string Sol(const std::string& m, size_t gen) {
    const size_t g = Utf8Genislik(m);
    return m + std::string(g < gen ? gen - g : 0, ' ');
}

std::string Sag(const std::string& m, size_t gen) {
    const size_t g = Utf8Genislik(m);
    return std::string(g < gen ? gen - g : 0, ' ') + m;
}

int Sayi(const DEGERLENDIRME& d, const std::string& beklenen, const std::string& bulunan) {
    const auto s = d.karisiklik.find(beklenen);
    if (s == d.karisiklik.end()) return 0;
    const auto h = s->second.find(bulunan);
    return h == s->second.end() ? 0 : h->second;
}

void IlerlemeCiz(size_t i, size_t n) {
    const int gen = 40;
    const int dolu = n > 0 ? static_cast<int>(gen * i / n) : gen;
    std::string c = "\r[" + std::string(static_cast<size_t>(dolu), '#') +
                    std::string(static_cast<size_t>(gen - dolu), '.') + "] " + std::to_string(i) + "/" +
                    std::to_string(n);
    if (i == n) c = "\r\x1b[K";
    HataHam(c);
}

// The matrix, a row per labelled word, columns as wide as the widest word.
std::string MatrisMetni(const DEGERLENDIRME& d, const std::vector<std::string>& sutunlar, size_t gen) {
    std::string o = Ceviri("\nKarışıklık matrisi (satır: doğru sözcük, sütun: bulunan):\n");
    o += Sol("", gen);
    for (const std::string& w : sutunlar) o += " " + Sag(Gorunen(w), gen);
    o += "\n";
    for (size_t i = 0; i + 1 < sutunlar.size(); i++) {
        if (d.sozBasina.count(sutunlar[i]) == 0) continue;
        o += Sol(sutunlar[i], gen);
        for (const std::string& w : sutunlar) o += " " + Sag(std::to_string(Sayi(d, sutunlar[i], w)), gen);
        o += "\n";
    }
    return o;
}

}  // namespace

bool ListeOku(const std::string& liste, std::vector<ETIKETLI>& etiketli) {
    std::ifstream f(liste, std::ios::binary);
    if (!f) {
        Hata("%s: liste okunamıyor.\n", liste.c_str());
        return false;
    }
    const fs::path taban = fs::path(liste).parent_path();
    std::string satir;
    int no = 0;
    bool ilk = true;
    while (std::getline(f, satir)) {
        no++;
        const std::string k = Kirp(satir, false);
        if (k.empty() || k[0] == '#') continue;
        const size_t v = AyiranVirgul(k);
        if (v == std::string::npos) {
            Hata("%s:%d: \"kayıt,sözcük\" bekleniyor.\n", liste.c_str(), no);
            return false;
        }
        ETIKETLI e{Kirp(k.substr(0, v)), Kirp(k.substr(v + 1))};
        if (ilk && (e.dosya == "dosya" || e.dosya == "file" || e.dosya == "kayit" || e.dosya == "kayıt")) {
            ilk = false;
            continue;  // a header line
        }
        ilk = false;
        if (e.dosya.empty()) {
            Hata("%s:%d: kayıt adı boş.\n", liste.c_str(), no);
            return false;
        }
        if (fs::path(e.dosya).is_relative() && !taban.empty()) e.dosya = (taban / e.dosya).string();
        etiketli.push_back(e);
    }
    return true;
}

bool DesenleEtiketle(const std::regex& desen, const std::vector<std::string>& dosyalar,
                     std::vector<ETIKETLI>& etiketli) {
    bool hepsi = true;
    for (const std::string& d : dosyalar) {
        std::smatch e;
        const std::string ad = TabanAd(d);
        if (!std::regex_search(ad, e, desen)) {
            Hata("%s: desen uymadı; etiketsiz kayıt atlandı.\n", d.c_str());
            hepsi = false;
            continue;
        }
        etiketli.push_back({d, e.size() > 1 && e[1].matched ? e[1].str() : e[0].str()});
    }
    return hepsi;
}

std::string Paketle(const KAYITSONUCU& k) {
    std::string p;
    p.push_back(static_cast<char>(k.okundu));
    p.push_back(static_cast<char>(k.yanit));
    p.append(reinterpret_cast<const char*>(&k.enyakin), sizeof k.enyakin);
    const uint32_t n = static_cast<uint32_t>(k.bulunan.size());
    p.append(reinterpret_cast<const char*>(&n), sizeof n);
    return p + k.bulunan + k.mesaj;
}

KAYITSONUCU Coz(const std::string& p) {
    KAYITSONUCU k;
    uint32_t n = 0;
    const size_t bas = 2 + sizeof k.enyakin + sizeof n;
    if (p.size() < bas) return k;
    k.okundu = p[0] != 0;
    k.yanit = p[1] != 0;
    std::memcpy(&k.enyakin, p.data() + 2, sizeof k.enyakin);
    std::memcpy(&n, p.data() + 2 + sizeof k.enyakin, sizeof n);
    if (p.size() - bas < n) return KAYITSONUCU();
    k.bulunan = p.substr(bas, n);
    k.mesaj = p.substr(bas + n);
    return k;
}

void DegerlendirmeBaslat(const std::string& dizin, const std::vector<KURALKITABI>& kitaplar,
                         const std::vector<ETIKETLI>& etiketli, DEGERLENDIRME& d) {
    d = DEGERLENDIRME();
    d.dizin = dizin;
    d.kitapSayisi = kitaplar.size();
    std::set<int> turler;
    for (const KURALKITABI& k : kitaplar) {
        d.sozler.insert(Cp1254ten(std::string(k.baslik.soz, strnlen(k.baslik.soz, SOZ_BOYU))));
        turler.insert(k.baslik.tur);
    }
    std::string liste;
    for (int t : turler) liste += (liste.empty() ? "" : "+") + std::to_string(t);
    if (!liste.empty()) d.turler = Bicimle(Ceviri("tür %s"), liste.c_str());
    for (const ETIKETLI& e : etiketli) d.sozler.insert(e.soz);
}

void SonucuSay(const ETIKETLI& e, const KAYITSONUCU& k, DEGERLENDIRME& d) {
    if (!k.okundu) {
        d.okunamayan.push_back(e.dosya);
        return;
    }
    const std::string bulunan = k.yanit ? k.bulunan : YANITSIZ;
    d.karisiklik[e.soz][bulunan]++;
    d.genel.toplam++;
    d.sozBasina[e.soz].toplam++;
    if (bulunan == e.soz) {
        d.genel.dogru++;
        d.sozBasina[e.soz].dogru++;
    } else {
        d.yanlislar.push_back({e.dosya, e.soz, bulunan, k.enyakin});
    }
}

std::vector<std::string> Sutunlar(const DEGERLENDIRME& d) {
    std::vector<std::string> s(d.sozler.begin(), d.sozler.end());
    s.push_back(YANITSIZ);
    return s;
}

int DegerlendirmeTopla(const std::vector<ETIKETLI>& etiketli, const std::vector<KURALKITABI>& kitaplar,
                       const DEGERLENDIRMEAYARI& a, DEGERLENDIRME& d) {
    const auto bas = std::chrono::steady_clock::now();
    const bool ilerleme = isatty(2) != 0;
    int sonuc = 0;
    // Each recording recognised on its own (in worker processes), the results
    // taken in the list's order.
    auto Tani = [&](size_t i) {
        KAYITSONUCU k;
        TANIMA t = TekTani(etiketli[i].dosya, nullptr, &kitaplar, a.komut, a.ses, "", a.red, a.hassasiyet, &k.mesaj);
        k.okundu = t.okundu;
        k.yanit = t.okundu && t.kazanan >= 0 && !t.reddedildi;
        if (k.yanit) k.bulunan = SonucSozu(t.puanlar[static_cast<size_t>(t.kazanan)]);
        k.enyakin = t.enyakin;
        return Paketle(k);
    };
    ParalelIsle(etiketli.size(), a.isler, Tani, [&](size_t i, const std::string& paket) {
        if (ilerleme) IlerlemeCiz(i, etiketli.size());
        const KAYITSONUCU k = Coz(paket);
        if (a.ayrinti && !k.mesaj.empty()) {
            if (ilerleme) HataHam("\r\x1b[K");
            HataHam(SatirOnekli(etiketli[i].dosya, k.mesaj));
        }
        if (!k.okundu) sonuc = 1;
        SonucuSay(etiketli[i], k, d);
    });
    if (ilerleme) IlerlemeCiz(etiketli.size(), etiketli.size());
    d.sure = std::chrono::duration<double>(std::chrono::steady_clock::now() - bas).count();
    return sonuc;
}

std::string DegerlendirmeMetni(const DEGERLENDIRME& d) {
    const std::vector<std::string> sutunlar = Sutunlar(d);
    std::string o = Bicimle(Ceviri("Değerlendirme: %d kayıt, %zu kural dosyası (%s, %s), %.1f saniye\n"),
                            d.genel.toplam, d.kitapSayisi, d.dizin.c_str(), d.turler.c_str(), d.sure);
    o += Bicimle(Ceviri("Doğruluk: %d/%d = %s\n"), d.genel.dogru, d.genel.toplam,
                 Yuzde(d.genel.dogru, d.genel.toplam).c_str());
    if (!d.okunamayan.empty()) o += Bicimle(Ceviri("Okunamayan kayıt: %zu\n"), d.okunamayan.size());
    size_t gen = 5;
    for (const std::string& w : sutunlar) gen = std::max(gen, Utf8Genislik(Gorunen(w)) + 1);
    o += MatrisMetni(d, sutunlar, gen);
    o += Ceviri("\nSözcük başına doğruluk:\n");
    for (const auto& [soz, sy] : d.sozBasina)
        o += Bicimle("%s %4d/%-4d %s\n", Sol(soz, gen).c_str(), sy.dogru, sy.toplam, Yuzde(sy.dogru, sy.toplam).c_str());
    if (!d.yanlislar.empty()) {
        o += Ceviri("\nYanlışlar (kayıt, beklenen, bulunan, uzaklık):\n");
        for (const YANLIS& y : d.yanlislar)
            o += Bicimle("%s\t%s\t%s\t%f\n", y.dosya.c_str(), y.beklenen.c_str(), Gorunen(y.bulunan).c_str(),
                         static_cast<double>(y.uzaklik));
    }
    return o;
}

std::string DegerlendirmeJson(const DEGERLENDIRME& d) {
    const std::vector<std::string> sutunlar = Sutunlar(d);
    JSON j = {{"kural_dizini", d.dizin},
              {"kural_dosyasi_sayisi", d.kitapSayisi},
              {"toplam", d.genel.toplam},
              {"dogru", d.genel.dogru},
              {"dogruluk", d.genel.toplam > 0 ? JsonSayisi(static_cast<float>(d.genel.dogru) / d.genel.toplam)
                                              : JSON(nullptr)},
              {"sure_saniye", JsonSayisi(static_cast<float>(d.sure))},
              {"sozler", sutunlar},
              {"karisiklik", JSON::array()},
              {"soz_basina", JSON::array()},
              {"yanlislar", JSON::array()},
              {"okunamayan", d.okunamayan}};
    for (size_t i = 0; i + 1 < sutunlar.size(); i++) {
        JSON satir = JSON::array();
        for (const std::string& w : sutunlar) satir.push_back(Sayi(d, sutunlar[i], w));
        j["karisiklik"].push_back(satir);
    }
    for (const auto& [soz, sy] : d.sozBasina)
        j["soz_basina"].push_back({{"soz", soz}, {"toplam", sy.toplam}, {"dogru", sy.dogru}});
    for (const YANLIS& y : d.yanlislar)
        j["yanlislar"].push_back({{"dosya", y.dosya},
                                  {"beklenen", y.beklenen},
                                  {"bulunan", y.bulunan == YANITSIZ ? JSON(nullptr) : JSON(y.bulunan)},
                                  {"uzaklik", JsonSayisi(y.uzaklik)}});
    return JsonMetni(j);
}
