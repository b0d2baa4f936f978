// Screens of the program: the shared primitives (Temizle, Secenek, KomSat),
// the main menu and the four activities it opens.
#ifndef MENU_H
#define MENU_H

#include "tanima.h"

void Temizle();                                   // text mode, colours, banner
// Label, letter z in yellow; a translated label (Ceviri) has the same
// command letter highlighted where it shows it. False when a letter was
// asked for and the label does not show it.
bool Secenek(int x, int y, int z, const char* dizgi);
void KomSat(int x, int y);                        // fresh command line ">"
// A command letter typed in upper case acts as its lower-case letter (the
// menus show most letters as capitals); any other character is kept.
int KomutHarfi(int c);

void AnaMenu();
void YeniSozcukMenu();
void EskiSozcukMenu();
void KonusTanisin();
// How the recognition screen shows a scan: each scored file's word, then
// its score, on a line of its own.
TARAMA_DINLEYICISI PuanSatirlari();
void AyarlarMenu();

void AyarlarEkranaGetir();  // read-only settings screen, until a key
void DosyaBul();            // files of ayr.yol matching a typed pattern

#endif
