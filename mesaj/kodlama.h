// Text encodings. The program's texts are UTF-8 in the source; words kept in
// records and files are Windows-1254 bytes (so a stored word is one byte per letter); the
// console speaks the terminal's charset (UTF-8 under the C/POSIX locale).
// Conversions go through iconv.
#ifndef KODLAMA_H
#define KODLAMA_H

#include <locale.h>

#include <cstddef>
#include <functional>
#include <string>

// Reads the terminal's charset from the locale (LC_CTYPE), and the language
// of the messages (MesajDiliniKur).
void KodlamaBaslat();

// The language of the messages, read from the environment as gettext reads
// it: the first of LC_ALL, LC_MESSAGES and LANG names the locale; LANGUAGE,
// a list such as "en_GB:fr", goes before it unless the locale is C or POSIX.
// The first language of that list that is Turkish, or whose catalogue
// `katalogVar` finds, is the one; "" stands for Turkish, the texts
// themselves, which is also what no list gives.
std::string MesajDili(const std::function<const char*(const char*)>& ortam,
                      const std::function<bool(const std::string&)>& katalogVar);
// Sets the messages' locale (LC_MESSAGES) and chooses their language by
// MesajDili, with the catalogues found in $VELMO_LOCALEDIR, else in
// ../share/locale beside the program, else in the installation's locale
// folder. A language whose locale is not installed still gets its catalogue
// (through C.UTF-8 and LANGUAGE). In Turkish, LANGUAGE becomes "tr" unless
// it is set, so that the system's reasons (strerror) are Turkish too.
void MesajDiliniKur();
// The same choice for a library in another's program, which must not change
// the process's locale or environment: made once, from the environment; the
// locale a call runs its messages under (uselocale), or 0 when they stay
// Turkish. A language whose locale is not installed needs LANGUAGE to name it.
locale_t KitaplikYereli();

// Length of the well-formed UTF-8 sequence at s[i] (i < s.size()): 1 to 4,
// or 0 when the bytes there are not one (overlong forms, surrogates and
// anything above U+10FFFF are not).
size_t Utf8Boy(const std::string& s, size_t i);

// UTF-8 to Windows-1254. False when the text is not valid UTF-8 or holds a
// character outside the code page; `cikti` is then undefined.
bool Utf8den1254(const std::string& utf8, std::string& cikti);
// Same, for texts that are known to fit (the program's own messages).
std::string Cp1254(const std::string& utf8);
// Windows-1254 to UTF-8; every byte has a character, so this cannot fail.
std::string Cp1254ten(const std::string& metin);

// UTF-8 to the terminal's charset; what cannot be shown becomes '?'.
std::string UcbirimeCevir(const std::string& utf8);
// Terminal charset to UTF-8. False on bytes that are not valid in it.
bool UcbirimdenCevir(const std::string& metin, std::string& utf8);

// A UTF-8 text fit for the screen: control characters (C0, DEL, and C1 as
// U+0080..U+009F) shown as "\xNN" per byte, so a word, file name or path
// cannot send commands to the terminal.
std::string Gorunur(const std::string& utf8);

// The system's reason for an errno value (strerror) as UTF-8, in the
// language of the messages' locale (see MesajDiliniKur).
std::string SistemNedeni(int hata);

#endif
