// The message layer, below every stage. A stage reports what it has to say
// (progress lines, errors) with Yaz, as UTF-8 text, and returns its result;
// where the text goes is decided by the program through the installed sink:
// velmo's console draws it on the screen, velmo-toplu sends it to standard
// error or keeps quiet, tests record it. With no sink installed, messages go
// to standard error in the terminal's charset.
#ifndef MESAJ_H
#define MESAJ_H

#include <cstdarg>
#include <functional>
#include <string>

class MESAJ_ALICISI {
public:
    virtual ~MESAJ_ALICISI() = default;
    virtual void Al(const std::string& utf8) = 0;  // one piece of message text
};

// Installs `alici` (not owned; nullptr: the standard-error default) for the
// calling thread and returns the one it replaces, so a caller can put it
// back. Every thread starts with the default.
MESAJ_ALICISI* MesajAlicisiKur(MESAJ_ALICISI* alici);

// The text in the language of the messages (MesajDiliniKur): the
// catalogue's translation when there is one, otherwise `metin` itself. The
// Turkish texts are the catalogue's keys, so they stay as they are unless a
// catalogue applies. Only for what is shown: files (reports, dumps) keep
// their own texts.
const char* Ceviri(const char* metin) __attribute__((format_arg(1)));

// Formatted message (UTF-8 format and texts) to the installed sink; the
// format goes through Ceviri first.
void Yaz(const char* bicim, ...) __attribute__((format(printf, 1, 2)));
// printf formatting into a string, whatever its length.
std::string BicimleV(const char* bicim, va_list a);
std::string Bicimle(const char* bicim, ...) __attribute__((format(printf, 1, 2)));

// Runs `is` with its messages caught; returns them in the terminal's charset,
// as they would have been shown (with `ucbirime` false: as the UTF-8 text the
// stages wrote, to be passed on later with Ilet). Catches may be nested: an
// inner catch keeps its part from the outer one.
std::string Yakala(const std::function<void()>& is, bool ucbirime = true);

// Passes text already written (UTF-8, translated) to the installed sink.
void Ilet(const std::string& utf8);

#endif
