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
e2e_ekran | grep -q "80x50 ister" && e2e_hata "80x50 ekranda boyut uyarisi"
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
# redraw finish before the next line is typed.)
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

# Keys pasted in one go are all taken, lines and single keys alike: a new
# word named, then the recognition screen (no codebook here: nothing is
# recorded) left by its single key, and the program closed.
e2e_temizle
e2e_baslat "$dizin" "$VELMO"
e2e_bekle "ANA MENU"
e2e_imlec_bekle 2 15
"${E2E_TMUX[@]}" set-buffer $'y\ns\nevet\n' \; paste-buffer -t e2e
e2e_bekle_satir 6 "evet"
e2e_imlec_bekle 2 15
"${E2E_TMUX[@]}" set-buffer $'t\nk\nx\nt\nt\n' \; paste-buffer -t e2e
durum=$(e2e_bitis_bekle 5)
[ "$durum" = 0 ] || e2e_hata "yapistirilan tuslarla cikis kodu $durum"

# A terminal smaller than 80x50 clips the screen; the program works on, and
# says on its first screen, once, what size the screens need.
e2e_temizle
E2E_GENISLIK=40 E2E_YUKSEKLIK=12
e2e_baslat "$dizin" "$VELMO"
e2e_bekle "ANA MENU"
e2e_bekle_satir 10 "Ekranlar 80x50 ister"
sleep 0.3
e2e_komut "a"
e2e_bekle "GeriKur"
sleep 0.3
e2e_komut "t"
e2e_bekle "ANA MENU"
e2e_ekran | grep -q "80x50 ister" && e2e_hata "boyut uyarisi yeniden"
sleep 0.3
e2e_komut "t"
durum=$(e2e_bitis_bekle 5)
[ "$durum" = 0 ] || e2e_hata "kucuk ekranda cikis kodu $durum"

# In English each label shows its command letter in brackets, highlighted;
# the letters stay the same.
e2e_temizle
E2E_GENISLIK=80 E2E_YUKSEKLIK=50 E2E_ENV=(LANGUAGE=en)
e2e_baslat "$dizin" "$VELMO"
e2e_bekle "[T]"
for satir in 4 5 6 7 8; do
  etiket=$(e2e_satir "$satir")
  [[ $etiket =~ ^(\ *)\[[A-Z]\] ]] || e2e_hata "satir $satir: komut harfi yok: '$etiket'"
  harf=$(( ${#BASH_REMATCH[1]} + 2 ))
  [ "$(e2e_renk "$harf" "$satir")" = 93 ] || e2e_hata "satir $satir: komut harfi sari degil"
  [ "$(e2e_renk $((harf + 3)) "$satir")" = 97 ] || e2e_hata "satir $satir: etiket beyaz degil"
done
sleep 0.3
e2e_komut "T"
durum=$(e2e_bitis_bekle 5)
[ "$durum" = 0 ] || e2e_hata "Ingilizce menuden cikis kodu $durum"
