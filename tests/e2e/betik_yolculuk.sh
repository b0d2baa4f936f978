#!/usr/bin/env bash
# The same journey as a script on a pipe, without a terminal: train a word,
# recognise it, load and retrain it, change a setting; then end of input on
# every screen and at every prompt ends the program with exit code 0.
set -u
VELMO=$1
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
hata() { echo "HATA: $*" >&2; [ -f "$dizin/cikti" ] && sed 's/\x1b\[[0-9;?]*[a-zA-Z]/ /g' "$dizin/cikti" | tail -c 3000 >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin"
"$SES" --alsa asound.conf in.raw played.raw
"$SES" -g 0.003 merhaba in.raw 3
export ALSA_CONFIG_PATH=$dizin/asound.conf

calistir() {
  timeout 30 "$VELMO" >"$dizin/cikti" 2>"$dizin/hata"
  local rc=$?
  [ $rc -eq 0 ] || hata "cikis kodu $rc ($1)"
  [ -s "$dizin/hata" ] && hata "standart hataya yazildi ($1): $(cat "$dizin/hata")"
  return 0
}
duz() { sed 's/\x1b\[[0-9;?]*[a-zA-Z]/\n/g' "$dizin/cikti" | grep -v '^$'; }

printf '%s\n' y s merhaba a merhaba.vlm k d e r t  k x t  e a merhaba.vlm x k e r t  a u 0.5 t t |
  calistir "yolculuk"
[ "$(stat -c %s merhaba.vlm)" = 688 ] || hata "merhaba.vlm yok"
[ -f merhaba.vlm.txt ] || hata "rapor yok"
duz | grep -q "^merhaba		uzaklik:" || { duz | grep -n -B3 -A3 "uzaklik|herhangi" >&2; hata "tanima satiri yok"; }
duz | grep -qx "merhaba.vlm" || hata "tanima sonucu yok"
duz | grep -q "AYARLAR MENUSU $dizin/merhaba.vlm" || { duz | grep "AYARLAR" >&2; hata "yuklenen dosyanin ayarlari gosterilmedi"; }
duz | grep -q ">Kural kitabi sifirlandi" || hata "eski sozcuk yeniden egitilmedi"
duz | grep -qx "0.500000" || hata "ayar degismedi"
[ "$(stat -c %s played.raw)" -gt 0 ] || hata "dinle bir sey calmadi"

# End of input wherever it comes.
for girdi in "y" "y\ns" "y\na" "y\ny" "y\nb" "e" "e\na" "e\na\nmerhaba.vlm" "k" "k\nx" "a" "a\nu" "a\nk"; do
  printf "$girdi" | calistir "girdi sonu: $girdi"
done
# A broken sound configuration costs the sound, not the program.
printf '%s\n' y k d t t | ALSA_CONFIG_PATH=$dizin/yok.conf calistir "bozuk ALSA ayari"
duz | grep -q "Ses kayıt aygıtı açılamıyor." || hata "ses aygiti hatasi gosterilmedi"
echo tamam
