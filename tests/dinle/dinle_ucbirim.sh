#!/usr/bin/env bash
# velmo-dinle in a real 80x50 terminal, listening to the sound device (ALSA's
# file plugin): the live meter and the state are drawn on one line of
# standard error, a result line is never overwritten by it, and Ctrl-C ends
# the listening with status 0, the meter line wiped.
set -euo pipefail
DINLE=$1
TOPLU=$2
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
. "$(dirname "$0")/../e2e/tmux_lib.sh"
dizin=$(mktemp -d); trap 'e2e_temizle; rm -rf "$dizin"' EXIT
cd "$dizin"
HAM=(-t raw -r 12000 -c 1 -b 16 -e signed-integer -L)

"$SES" -g 0.002 evet t.raw 3 && sox "${HAM[@]}" t.raw t.wav
mkdir k && "$TOPLU" egit -o k/evet.vlm t.wav >/dev/null
# The device hears the word once, then a long quiet stretch.
"$SES" -g 0.002 -b 0.8 evet in.raw 30
"$SES" --alsa asound.conf in.raw played.raw

E2E_ENV=("ALSA_CONFIG_PATH=$dizin/asound.conf")
# Run under bash, which goes on after a child that handled Ctrl-C itself,
# so the screen can be read once the program has ended.
e2e_baslat "$dizin" bash -c '"$0" -d k; echo "BITTI $?"; sleep 60' "$DINLE"
e2e_bekle "evet.vlm" 20
e2e_bekle "dinliyor" 10
e2e_ekran | grep -qE '^[0-9]+\.[0-9]{3} +[0-9]+\.[0-9]{3} +evet +[0-9.]+ +evet\.vlm *$' ||
  e2e_hata "sonuc satiri bozuk"
# A warning (a device running ahead of a slow build) takes the meter's line
# until the meter is drawn again: wait for it.
olcer=0
for ((i = 0; i < 100; i++)); do
  e2e_ekran | grep -qE '^\[[# ]{30}\] +(-∞|-?[0-9]+) dB +dinliyor *$' && { olcer=1; break; }
  sleep 0.05
done
[ "$olcer" = 1 ] || e2e_hata "olcer satiri yok"
[ "$(e2e_ekran | grep -c ' dB ')" = 1 ] || e2e_hata "olcer birden cok satirda"
"${E2E_TMUX[@]}" send-keys -t e2e C-c
e2e_bekle "BITTI" 10
e2e_ekran | grep -q "^BITTI 0" || e2e_hata "Ctrl-C cikis durumu"
e2e_ekran | grep -q " dB " && e2e_hata "olcer satiri silinmedi"
e2e_ekran | grep -qE '^[0-9.]+ +[0-9.]+ +evet ' || e2e_hata "sonuc satiri kayboldu"
echo "tamam"
