#!/usr/bin/env bash
# The main menu in a real 80x50 terminal: layout, colours, command cycle, exit.
set -euo pipefail
VELMO=$1
. "$(dirname "$0")/tmux_lib.sh"
dizin=$(mktemp -d); trap 'e2e_temizle; rm -rf "$dizin"' EXIT

e2e_baslat "$dizin" "$VELMO"
e2e_bekle "ANA MENU"
e2e_yerinde 25 1 "VELMO(c) - TARVEN"
e2e_yerinde 10 2 "ANA MENU"
e2e_yerinde 10 4 "Yeni Sozcuk Egit"
e2e_yerinde 10 5 "Eski Sozcuk Egit"
e2e_yerinde 10 6 "Konus Tanisin"
e2e_yerinde 10 7 "Ayarlar"
e2e_yerinde 10 8 "Kapat"
e2e_yerinde 1 15 ">"
e2e_imlec_bekle 2 15
# Hot letters in yellow, the rest of the label in white.
[ "$(e2e_renk 10 4)" = 93 ] || e2e_hata "Y sari degil: $(e2e_renk 10 4)"
[ "$(e2e_renk 11 4)" = 97 ] || e2e_hata "etiket beyaz degil"
[ "$(e2e_renk 14 8)" = 93 ] || e2e_hata "Kapat'in t harfi sari degil"
[ "$(e2e_renk 10 8)" = 97 ] || e2e_hata "Kapat'in K harfi beyaz degil"

# A digit, an unknown letter and a bare Enter only redraw the menu.
for girdi in 7 q ""; do
  e2e_komut "$girdi"
  e2e_imlec_bekle 2 15
  e2e_bekle "ANA MENU"
  e2e_yerinde 1 15 ">"
  e2e_yerinde 10 4 "Yeni Sozcuk Egit"
done

# The highlighted capitals are commands too: "Y" opens the new-word menu,
# its "T" comes back, and "T" closes the program. (The pause lets the last
# redraw discard its pending input before the next line is typed.)
sleep 0.3
e2e_komut "Y"
e2e_bekle "YENI SOZCUK EGITME MENUSU"
sleep 0.3
e2e_komut "T"
e2e_bekle "ANA MENU"
sleep 0.3
e2e_komut "T"
durum=$(e2e_bitis_bekle 5)
[ "$durum" = 0 ] || e2e_hata "cikis kodu $durum"

# A terminal smaller than 80x50 clips the screen; the program works on.
e2e_temizle
E2E_GENISLIK=40 E2E_YUKSEKLIK=12
e2e_baslat "$dizin" "$VELMO"
e2e_bekle "ANA MENU"
sleep 0.3
e2e_komut "a"
e2e_bekle "GeriKur"
sleep 0.3
e2e_komut "t"
e2e_bekle "ANA MENU"
sleep 0.3
e2e_komut "t"
durum=$(e2e_bitis_bekle 5)
[ "$durum" = 0 ] || e2e_hata "kucuk ekranda cikis kodu $durum"
