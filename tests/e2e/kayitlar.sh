#!/usr/bin/env bash
# Keeping the takes: velmo --kayitlar DIR in a real 80x50 terminal with real
# speech through ALSA's file plugin. Two training takes of a word and one
# recognition take come out as numbered 16-bit mono WAV files at the
# recording's rate, numbered after a file already there; velmo-toplu trains a
# pooled codebook from the word's takes and recognises the third with it. A
# directory that cannot be written stops the program before its screens.
#   kayitlar.sh VELMO VELMO-TOPLU
set -euo pipefail
VELMO=$1 TOPLU=$2
SES="$(dirname "$0")/../audio/ses_hazirla.sh"
. "$(dirname "$0")/tmux_lib.sh"
dizin=$(mktemp -d); trap 'e2e_temizle; rm -rf "$dizin"' EXIT
"$SES" --alsa "$dizin/asound.conf" "$dizin/in.raw" "$dizin/played.raw"
konus() { "$SES" "$@" "$dizin/in.raw.yeni" 8 && mv "$dizin/in.raw.yeni" "$dizin/in.raw"; }

# Refused at once, with the reason, when the takes could not be written.
set +e
"$VELMO" --kayitlar /proc </dev/null >"$dizin/cikti" 2>"$dizin/hata"; rc=$?
set -e
[ $rc -eq 2 ] || e2e_hata "yazilamayan dizin cikis kodu $rc"
grep -q "^Kayıt dizinine /proc yazılamıyor: " "$dizin/hata" || e2e_hata "neden yok: $(cat "$dizin/hata")"
[ -s "$dizin/cikti" ] && e2e_hata "ekranlar basladi"

# A take another program left there: the numbering goes on after it.
mkdir "$dizin/kayit"
sox -n -r 12000 -b 16 -c 1 "$dizin/kayit/0041.wav" trim 0 0.5
E2E_ENV=("ALSA_CONFIG_PATH=$dizin/asound.conf")
e2e_baslat "$dizin" "$VELMO" --kayitlar kayit
e2e_bekle "ANA MENU"
e2e_menu_komut 15 y
e2e_bekle "YENI SOZCUK EGITME MENUSU"
e2e_menu_komut 15 s; e2e_bekle "Sozcuk<"; e2e_komut "evet"
e2e_menu_komut 15 a; e2e_bekle "Dosya Adi<"; e2e_komut "evet.vlm"
konus -g 0.003 evet
cp "$dizin/in.raw" "$dizin/in.raw.ilk"
e2e_menu_komut 15 k
e2e_bekle "Kayıt saklandı: $dizin/kayit/0042-evet.wav" 15
e2e_satir 17 | grep -q "^Kayıt bitti" || e2e_hata "satir 17: '$(e2e_satir 17)'"
[ "$(e2e_satir 18)" = "Kayıt saklandı: $dizin/kayit/0042-evet.wav" ] || e2e_hata "satir 18: '$(e2e_satir 18)'"
e2e_menu_komut 15 e
e2e_bekle " çerçeveden eğitildi; uzaklik:"
e2e_menu_komut 15 r
e2e_bekle_satir 4 "(*)"
# A second take, spoken a little faster and higher.
konus -g 0.003 -s 170 -p 60 evet
e2e_menu_komut 15 k
e2e_bekle "Kayıt saklandı: $dizin/kayit/0043-evet.wav" 15
e2e_menu_komut 15 t
e2e_bekle "ANA MENU"

# Recognition keeps its take too, without a label.
e2e_menu_komut 15 k
e2e_bekle "herhangi bir tusa bas ve konus"
konus -g 0.003 -s 140 evet
e2e_imlec_bekle 2 15
sleep 0.2
e2e_yaz x
e2e_bekle "Kayıt saklandı: $dizin/kayit/0044.wav" 15
e2e_bekle_satir 6 "evet"
e2e_imlec_bekle 2 15
e2e_yaz t
e2e_bekle "ANA MENU"
e2e_menu_komut 15 t
[ "$(e2e_bitis_bekle 5)" = 0 ] || e2e_hata "cikis kodu sifir degil"

# The files: three new takes besides the old one, nothing else (no
# temporary file left), 16-bit mono at 12000 Hz, three and two seconds.
[ "$(ls "$dizin/kayit" | tr '\n' ' ')" = "0041.wav 0042-evet.wav 0043-evet.wav 0044.wav " ] ||
  e2e_hata "kayitlar: $(ls -a "$dizin/kayit")"
for f in 0042-evet 0043-evet 0044; do
  [ "$(soxi -r "$dizin/kayit/$f.wav")" = 12000 ] || e2e_hata "$f oran"
  [ "$(soxi -c "$dizin/kayit/$f.wav")" = 1 ] || e2e_hata "$f kanal"
  [ "$(soxi -b "$dizin/kayit/$f.wav")" = 16 ] || e2e_hata "$f bit"
done
[ "$(soxi -s "$dizin/kayit/0042-evet.wav")" = 36000 ] || e2e_hata "egitim kaydi 3 s degil"
[ "$(soxi -s "$dizin/kayit/0044.wav")" = 24000 ] || e2e_hata "tanima kaydi 2 s degil"
# The first take holds what the device heard: the speech file's first 3 s.
cmp -s <(sox "$dizin/kayit/0042-evet.wav" -t raw -) <(head -c 72000 "$dizin/in.raw.ilk") ||
  e2e_hata "ilk kayit duyulan ses degil"

# Trained pooled from the kept takes, and the kept recognition take is
# recognised as the word.
mkdir "$dizin/havuz"
"$TOPLU" egit -o "$dizin/havuz/evet.vlm" --soz evet --havuz "$dizin"/kayit/*-evet.wav 2>"$dizin/hata" ||
  e2e_hata "havuz egitimi: $(cat "$dizin/hata")"
[ "$(stat -c %s "$dizin/havuz/evet.vlm")" = 688 ] || e2e_hata "havuz kural dosyasi 688 bayt degil"
"$TOPLU" tani -d "$dizin/havuz" "$dizin/kayit/0044.wav" >"$dizin/tani" 2>&1 || e2e_hata "tani: $(cat "$dizin/tani")"
grep -q "evet" "$dizin/tani" || e2e_hata "tanima: $(cat "$dizin/tani")"
echo tamam
