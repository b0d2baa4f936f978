// Recording the stages' messages in a test: every message from
// MesajKaydiKur on is appended to *kayit (UTF-8, as sent) until
// MesajKaydiBitir puts the earlier sink back.
#ifndef MESAJ_KAYDI_H
#define MESAJ_KAYDI_H

#include <string>

#include "mesaj.h"

void MesajKaydiKur(std::string* kayit);
void MesajKaydiBitir();

#endif
