#include "menu.h"

// The four activities open from the main menu; until they are built they
// return to it at once.
void YeniSozcukMenu() {}
void EskiSozcukMenu() {}
void KonusTanisin() {}
void AyarlarMenu() {}
