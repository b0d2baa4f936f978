#include "konsol.h"

#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "duz_metin.h"
#include "kodlama.h"
#include "tam_yaz.h"
#include "yarim.h"

namespace {

// Output is gathered here and sent before every read, when it grows, and at
// exit, so a screen reaches the terminal in a few writes.
std::string cikis;

bool ucbirim = false;          // standard input is a terminal
bool bitti = false;            // end of input reached (sticky)
std::string bekleyen;          // bytes read from standard input, not consumed
size_t konum = 0;
bool satirBasladi = false;     // a byte of the current line has been read or looked at

bool testKipi = false;
std::string testGirdi;
std::string* testCikti = nullptr;

// Plain text instead of escape sequences (output that is not a terminal).
bool duzKip = false;
DuzMetin duz;

// Messages have moved the cursor to the start of a row (a newline, or the
// Enter of a typed line) that may still hold older text: the next text
// written there clears the row first.
bool satirBasi = false;

termios ilkAyar;
bool ilkAyarVar = false;

// The reason the first write to standard output failed; 0 while none has.
int yazmaHatasi = 0;

// A closed or full output loses the text; the first failure is kept for the
// tools, which must not report success for output that never arrived.
void HamYazFd(const char* p, size_t n) {
    errno = 0;
    if (!TamYaz(1, p, n) && yazmaHatasi == 0) yazmaHatasi = errno != 0 ? errno : EIO;
}

void Gonder() {
    HamYazFd(cikis.data(), cikis.size());
    cikis.clear();
}

void Gonder(const std::string& s) {
    if (testKipi) {
        if (testCikti != nullptr) testCikti->append(s);
        return;
    }
    cikis.append(s);
    if (cikis.size() > 16384) Gonder();
}

void Ekle(const std::string& s) {
    if (!duzKip) return Gonder(s);
    duz.Yaz(s);
    Gonder(duz.Al());
}

void Csi(const std::string& govde) { Ekle("\x1b[" + govde); }

// A message on the terminal: every row it starts below earlier text is
// cleared before its text, so nothing older shows beyond a shorter line or
// through its tabs. Text drawn at a place (gotoxy) clears nothing: a
// highlighted letter keeps the rest of its label.
void IletiYaz(const std::string& s) {
    if (duzKip) return Ekle(s);
    std::string o;
    for (char c : s) {
        if (satirBasi) o += "\x1b[K";
        satirBasi = c == '\n';
        o += c;
    }
    Ekle(o);
}

// The console as the message sink: UTF-8 messages shown converted at the cursor.
class KONSOL_ALICISI : public MESAJ_ALICISI {
public:
    void Al(const std::string& utf8) override { IletiYaz(UcbirimeCevir(utf8)); }
};
KONSOL_ALICISI konsolAlicisi;
MESAJ_ALICISI* testtenOnce = nullptr;

// Reads more of standard input; false at end of input.
bool Doldur() {
    if (bitti) return false;
    KonsolBosalt();
    if (konum >= bekleyen.size()) {
        bekleyen.clear();
        konum = 0;
    }
    if (testKipi) {
        if (testGirdi.empty()) {
            bitti = true;
            return false;
        }
        bekleyen.append(testGirdi);
        testGirdi.clear();
        return true;
    }
    char b[4096];
    ssize_t n;
    do n = read(0, b, sizeof b);
    while (n < 0 && errno == EINTR);
    if (n <= 0) {
        bitti = true;
        return false;
    }
    bekleyen.append(b, static_cast<size_t>(n));
    return true;
}

int Bak() {
    while (konum >= bekleyen.size())
        if (!Doldur()) return KONSOL_SON;
    satirBasladi = true;
    return static_cast<unsigned char>(bekleyen[konum]);
}

int Al() {
    int c = Bak();
    if (c == KONSOL_SON) return c;
    konum++;
    if (c == '\n') satirBasladi = false;
    return c;
}

void AyarGeriYukle() {
    if (ilkAyarVar) tcsetattr(0, TCSANOW, &ilkAyar);
}

void Kapat() {
    if (!testKipi) {
        if (isatty(1) && !duzKip) Ekle("\x1b[0m\x1b[?25h");
        KonsolBosalt();
    }
    AyarGeriYukle();
}

// The terminal as it was, then what every interrupted program does.
void SinyalKapat(int sinyal) {
    AyarGeriYukle();
    YarimKesinti(sinyal);
}

// Colour numbers of the text palette to ANSI: low three bits are swapped
// blue/red, bit 3 is the bright half.
int AnsiRenk(int renk) {
    static const int sira[8] = {0, 4, 2, 6, 1, 5, 3, 7};
    renk &= 15;
    return sira[renk & 7] + ((renk & 8) ? 60 : 0);
}

}  // namespace

void KonsolBaslat() {
    KodlamaBaslat();
    MesajAlicisiKur(&konsolAlicisi);
    ucbirim = isatty(0) != 0;
    if (ucbirim && tcgetattr(0, &ilkAyar) == 0) ilkAyarVar = true;
    std::signal(SIGPIPE, SIG_IGN);
    KesintiKur(SinyalKapat);
    std::atexit(Kapat);
}

void KonsolDuzMetin(bool acik) { duzKip = acik; }
bool KonsolDuzMetinMi() { return duzKip; }

int KonsolYazmaHatasi() { return yazmaHatasi; }

void KonsolBosalt() {
    if (duzKip) {
        duz.SatirBitir();
        Gonder(duz.Al());
    }
    if (testKipi || cikis.empty()) return;
    Gonder();
}

void textmode(int kip) {
    if (duzKip) {
        duz.EkranTemizle();
        return;
    }
    if (kip == 64) Csi("8;50;80t");
    Csi("r");  // the whole screen is the text window
    textcolor(7);
    textbackground(0);
    clrscr();
}

void textcolor(int renk) {
    if (!duzKip) Csi(std::to_string(30 + AnsiRenk(renk)) + "m");
}
void textbackground(int renk) {
    if (!duzKip) Csi(std::to_string(40 + AnsiRenk(renk)) + "m");
}
void clrscr() {
    satirBasi = false;
    if (duzKip) duz.EkranTemizle();
    else Csi("2J"), Csi("H");
}
void clreol() {
    if (duzKip) duz.SatirSil();
    else Csi("K");
}
void insline() {
    if (duzKip) duz.SatirBitir(), Gonder(duz.Al());
    else Csi("L");
}

void gotoxy(int x, int y) {
    if (x < 1) x = 1;
    if (y < 1) y = 1;
    if (x > 80) x = 80;
    if (y > 50) y = 50;
    satirBasi = false;
    if (duzKip) {
        duz.Git(x, y);
        Gonder(duz.Al());
    } else {
        Csi(std::to_string(y) + ";" + std::to_string(x) + "H");
    }
}

void setcursortype(int gorunur) {
    if (!duzKip) Csi(gorunur ? "?25h" : "?25l");
}

void KonsolHamYaz(const std::string& bayt) {
    if (duzKip) {
        duz.SatirBitir();
        Gonder(duz.Al());
    }
    Gonder(bayt);
}

int KarakterOku() { return Al(); }

bool SatirOku(std::string& satir) {
    satir.clear();
    int c = Al();
    if (c == KONSOL_SON) return false;
    while (c != KONSOL_SON && c != '\n') {
        if (satir.size() < SATIR_SINIRI) satir.push_back(static_cast<char>(c));
        c = Al();
    }
    // On a terminal the Enter has taken the cursor to the next row.
    satirBasi = !duzKip;
    return true;
}

void GirdiAt() {
    // Later lines are kept, typed ahead or a script's: only the rest of the
    // current line goes. A terminal's is dropped as far as it has come, never
    // waited for.
    const bool ucbirimde = ucbirim && !testKipi;
    while (satirBasladi && !(ucbirimde && konum >= bekleyen.size())) {
        if (Al() == KONSOL_SON) break;
    }
    satirBasladi = false;
}

int getch() {
    // Keys typed ahead come first, as a script's would.
    if (!ucbirim || testKipi || konum < bekleyen.size()) return Al();
    if (bitti) return KONSOL_SON;
    KonsolBosalt();
    termios ham = ilkAyar;
    ham.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    ham.c_cc[VMIN] = 1;
    ham.c_cc[VTIME] = 0;
    tcsetattr(0, TCSANOW, &ham);
    unsigned char c = 0;
    ssize_t n;
    do n = read(0, &c, 1);
    while (n < 0 && errno == EINTR);
    if (n > 0 && c != 4) {
        // The keys that came with it (pasted in one go) are kept; those
        // before the next Enter are the rest of its line.
        ham.c_cc[VMIN] = 0;
        tcsetattr(0, TCSANOW, &ham);
        char b[4096];
        ssize_t m;
        do m = read(0, b, sizeof b);
        while (m < 0 && errno == EINTR);
        bekleyen.assign(b, m > 0 ? static_cast<size_t>(m) : 0);
        konum = 0;
        satirBasladi = c != '\n' && m > 0;
    }
    AyarGeriYukle();
    if (n <= 0 || c == 4) {  // Ctrl-D at a single-key prompt ends input too
        bitti = true;
        return KONSOL_SON;
    }
    return c;
}

int getche() {
    int c = getch();
    if (c != KONSOL_SON) Ekle(std::string(1, (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?'));
    return c;
}

bool GirdiBitti() { return bitti; }

bool UcbirimBoyutu(int* sutun, int* satir) {
    if (duzKip || testKipi || !isatty(1)) return false;
    KonsolBosalt();
    winsize w{};
    if (ioctl(1, TIOCGWINSZ, &w) != 0 || w.ws_col == 0 || w.ws_row == 0) return false;
    *sutun = w.ws_col;
    *satir = w.ws_row;
    return true;
}

void KonsolTestKur(const std::string& girdi, std::string* cikti, bool duzMetin) {
    if (!testKipi) testtenOnce = MesajAlicisiKur(&konsolAlicisi);
    testKipi = true;
    duzKip = duzMetin;
    duz = DuzMetin();
    testGirdi = girdi;
    testCikti = cikti;
    bekleyen.clear();
    konum = 0;
    satirBasladi = false;
    satirBasi = false;
    bitti = false;
}

void KonsolTestBitir() {
    if (testKipi) MesajAlicisiKur(testtenOnce);
    testKipi = false;
    duzKip = false;
    duz = DuzMetin();
    testGirdi.clear();
    testCikti = nullptr;
    bekleyen.clear();
    konum = 0;
    satirBasladi = false;
    satirBasi = false;
    bitti = false;
}
