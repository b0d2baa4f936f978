// The command line of the tools (velmo-toplu, velmo-dinle): strict number
// reading (the whole text must be the number), the settings options named
// after their fields, the sound options, and the CLI11 parsing both programs
// share. A wrong command line is one KullanimHatasi with a Turkish text; the
// programs report it with KullanimHatasiBildir and exit with status 2.
#ifndef SECENEK_H
#define SECENEK_H

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "velmo.h"
#include "wav.h"

namespace CLI {
class App;
}

struct KullanimHatasi {
    KullanimHatasi(std::string m, std::string k = "") : metin(std::move(m)), komut(std::move(k)) {}
    std::string metin;
    std::string komut;  // the subcommand whose help to point at; "" for the program's
};

// "PROG: text" and where the help is, on standard error. Returns 2.
int KullanimHatasiBildir(const char* prog, const KullanimHatasi& h);

// The body of a tool's main: the charset set up, stage messages sent to
// standard error, `calistir` run with a usage error reported as above, and
// what is buffered for the terminal written out.
// Returns the exit status; 1 instead of 0 when standard output refused
// what was written to it (said on standard error unless the pipe was closed).
int AracCalistir(const char* prog, int (*calistir)(int, char**), int argc, char** argv);

// The values typed for the settings and sound options, by option name
// (without dashes).
using AYARGIRDILERI = std::map<std::string, std::string>;

// A CLI11 application that leaves help and messages to the program: no help
// flag of its own, and what it does not know stays in remaining() for
// KalanlariReddet.
void UygulamaHazirla(CLI::App& app);
// Registers the settings options (--oo, ... --uae) and, when `ses` is set,
// the sound options (--dolgu, --tepe, --gurultu); their texts go to `girdi`,
// the last one when an option is repeated.
void AyarSecenekleriEkle(CLI::App& app, AYARGIRDILERI& girdi, bool ses);
// Parses `argv` (argv[0] is the program or subcommand); CLI11's errors
// become a KullanimHatasi for `komut`.
void KomutSatiriniAyristir(CLI::App& app, int argc, char** argv, const std::string& komut);
// Throws for the first argument the application did not take.
void KalanlariReddet(const CLI::App& app, const std::string& komut);
// Puts the typed values into `ayar` and `ses`; throws for a value that is not
// a number of its option's kind or range.
void AyarGirdileriniUygula(const AYARGIRDILERI& girdi, AYAR_DEGERLERI& ayar, SESAYARI& ses,
                           const std::string& komut);

// A number option's text read strictly; throws ("--ad: "x" bir sayı değil.").
double GercelSecenek(const std::string& ad, const std::string& deger, const std::string& komut = "");
int TamsayiSecenek(const std::string& ad, const std::string& deger, const std::string& komut = "");

// The whole text is a decimal integer that fits an int (blanks around it
// and "+" allowed).
bool TamsayiCoz(const std::string& metin, int& deger);
// The whole text is a finite decimal number (a decimal point or comma).
bool GercelCoz(const std::string& metin, double& deger);
bool FloatCoz(const std::string& metin, float& deger);

// A settings option: "--oo" and the others, without the dashes.
bool AyarSecenegiMi(const std::string& ad);
// Sets the setting `ad` of `ayar` from `deger`. False (with *hata set) when
// the value is not a number of the field's kind.
bool AyarSecenegiUygula(const std::string& ad, const std::string& deger, AYAR_DEGERLERI& ayar, std::string* hata);
// The settings options' help lines, with their defaults.
std::string AyarYardimi();

// The sound options --dolgu, --tepe, --gurultu.
bool SesSecenegiMi(const std::string& ad);
bool SesSecenegiUygula(const std::string& ad, const std::string& deger, SESAYARI& ayar, std::string* hata);
std::string SesYardimi();

// Checks the settings that make the recording itself: the rate of `b` and a
// duration of `saniye` seconds.
bool KayitAyarlariGecerli(const KURALDOSYABASLIK& b, int saniye, std::string* hata);

#endif
