// Console layer: the text-mode console of the screens on a VT terminal.
// Output: VT/ANSI sequences for cursor, colours, clearing and line insertion;
// texts given as UTF-8 and shown in the terminal's charset. Input: standard
// input read line by line (canonical mode with echo on a terminal), single
// keys without Enter, and discarding of the rest of the current line; lines
// typed ahead (pasted) are kept. On a pipe or file, standard input works as
// a script and end of input is sticky: every read after it reports end of
// input again.
// Test seam: KonsolTestKur feeds input from a string and records output.
#ifndef KONSOL_H
#define KONSOL_H

#include <string>

#include "mesaj.h"  // Yaz, BicimleV: the screens write through the message layer

enum { KONSOL_SON = -1 };  // end of input

void KonsolBaslat();
// Screens as plain text lines without escape sequences (for an output that
// is not a terminal); see duz_metin.h.
void KonsolDuzMetin(bool acik);
bool KonsolDuzMetinMi();

// Screen (conio names; colours are numbers of the 16-colour text palette).
void textmode(int kip);          // 64: 80 columns by 50 rows
void textcolor(int renk);
void textbackground(int renk);
void clrscr();
void clreol();
void insline();
void gotoxy(int x, int y);       // 1-based column, row
void setcursortype(int gorunur); // 0 hidden, 1 normal

// The console is the message sink: messages (Yaz) are shown at the cursor in
// the terminal's charset, each row they begin after a newline or a typed
// line cleared first. KonsolBaslat installs it; so does KonsolTestKur,
// until KonsolTestBitir puts the earlier sink back.
void KonsolHamYaz(const std::string& bayt);  // bytes as they are
void KonsolBosalt();                         // send buffered output now
int KonsolYazmaHatasi();  // errno of the first failed write to standard output; 0: none

// Input.
int KarakterOku();                    // getc: next character of the line
bool SatirOku(std::string& satir);    // gets: rest of the line, no newline;
                                      // false at end of input. At most
                                      // SATIR_SINIRI bytes are kept.
enum { SATIR_SINIRI = 4096 };
void GirdiAt();                       // discard the rest of the current line
int getch();                          // one key, no echo, no Enter
int getche();                         // one key with echo
bool GirdiBitti();                    // end of input has been reached

// The size of the terminal the screens are drawn on (after what is buffered
// has been sent); false for plain text and when it cannot be told.
bool UcbirimBoyutu(int* sutun, int* satir);

// Test seam: input from `girdi`, output appended to *cikti (as plain text
// when `duzMetin`).
void KonsolTestKur(const std::string& girdi, std::string* cikti, bool duzMetin = false);
void KonsolTestBitir();

#endif
