#!/usr/bin/env bash
# The same takes through velmo (scripted keys, the sound through ALSA's file
# plugin) and through velmo-toplu give byte-identical codebook files and
# reports, and the recognition screen shows the scores that "tani" prints.
set -u
VELMO=$1
TOPLU=$2
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin"
"$SES" --alsa asound.conf in.raw played.raw
export ALSA_CONFIG_PATH=$dizin/asound.conf
ses() {  # WORD NAME SECONDS [options]: NAME.raw and the same samples as NAME.wav
  local soz=$1 ad=$2 sn=$3; shift 3
  "$SES" -g 0.003 "$@" "$soz" "$ad.raw" "$sn"
  sox -t raw -r 12000 -c 1 -b 16 -e signed-integer -L "$ad.raw" "$ad.wav"
}
ARG=()  # velmo's arguments
velmo() {  # keys, one a line
  printf '%s\n' "$@" | timeout 60 "$VELMO" "${ARG[@]}" >cikti 2>hatalar
  [ $? -eq 0 ] || hata "velmo cikis kodu"
}
ses merhaba al1 3
ses merhaba al2 3 -p 65 -s 140
ses tamam al3 3 -p 45
ses merhaba tani 2 -p 40

# First take: new-word menu, a new codebook, saved.
cp al1.raw in.raw
velmo y s merhaba a merhaba.vlm k e r t t
mkdir t
"$TOPLU" egit -o t/merhaba.vlm al1.wav >/dev/null || hata "egit 1"
cmp merhaba.vlm t/merhaba.vlm || hata "ilk alimin kural dosyalari farkli"
cmp merhaba.vlm.txt t/merhaba.vlm.txt || hata "ilk alimin raporlari farkli"

# Second take: the saved codebook loaded and refined.
cp al2.raw in.raw
velmo e a merhaba.vlm x k e r t t
"$TOPLU" egit -o t/merhaba.vlm --uzerine al1.wav al2.wav >/dev/null || hata "egit 2"
cmp merhaba.vlm t/merhaba.vlm || hata "ikinci alimdan sonra kural dosyalari farkli"
cmp merhaba.vlm.txt t/merhaba.vlm.txt || hata "ikinci alimdan sonra raporlar farkli"

# A second word, with other settings in the header.
cp al3.raw in.raw
velmo a l 16 i 5 t y s tamam a tamam.vlm k e r t t
"$TOPLU" egit -o t/tamam.vlm --s 16 --kpensu 5 al3.wav >/dev/null || hata "egit 3"
cmp tamam.vlm t/tamam.vlm || hata "ayarlari degismis sozcugun kural dosyalari farkli"

# A word of kind 3, chosen in the settings menu ("v"); the existing-word
# menu keeps the kind of the file it loads and refines each section.
cp al3.raw in.raw
velmo a v 3 t y s tamam3 a tamam3.vlm k e r t t
"$TOPLU" egit --tur 3 -o t/tamam3.vlm al3.wav >/dev/null || hata "egit tur 3"
cmp tamam3.vlm t/tamam3.vlm || hata "tur 3: ilk alimin kural dosyalari farkli"
cmp tamam3.vlm.txt t/tamam3.vlm.txt || hata "tur 3: ilk alimin raporlari farkli"
LC_ALL=C grep -qa 'KES.TL. LPC KURAL' tamam3.vlm.txt || hata "tur 3 raporu turunu soylemiyor"
cp al2.raw in.raw
velmo e a tamam3.vlm x k e r t t
"$TOPLU" egit --tur 3 -o t/tamam3.vlm --uzerine al3.wav al2.wav >/dev/null || hata "egit tur 3, 2"
cmp tamam3.vlm t/tamam3.vlm || hata "tur 3: ikinci alimdan sonra kural dosyalari farkli"
cmp tamam3.vlm.txt t/tamam3.vlm.txt || hata "tur 3: ikinci alimdan sonra raporlar farkli"

# "havuz" in the existing-word menu: the word's kept takes, those of
# --kayitlar and those beside the codebook, pooled as "egit --havuz" pools
# them. Takes of another word, unlabelled and broken ones stay out; the save
# names the report it wrote.
ses tamam al4 3 -p 55 -s 160
mkdir kayit
cp al3.wav kayit/0001-tamam3.wav; cp al2.wav kayit/0002-tamam3.wav; cp al1.wav kayit/0003-tamam.wav
cp al1.wav kayit/0004.wav; cp al4.wav 0007-tamam3.wav; echo bozuk >0008-tamam3.wav
ARG=(--kayitlar kayit)
velmo e a tamam3.vlm x h r t t
ARG=()
"$TOPLU" egit --tur 3 --havuz -o t/havuz.vlm --soz tamam3 kayit/0001-tamam3.wav kayit/0002-tamam3.wav \
  0007-tamam3.wav >/dev/null || hata "egit --havuz"
cmp tamam3.vlm t/havuz.vlm || hata "havuz: kural dosyalari farkli"
grep -q "0008-tamam3.wav" cikti || hata "havuz: bozuk kayit adiyla bildirilmedi"
grep -q "tamam3.vlm.txt" cikti || hata "koru neyi yazdigini soylemedi"

# Recognition (kinds 1 and 3 in one directory): the screen's lines "word<TAB><TAB>uzaklik:..." and tani's.
cp tani.raw in.raw
velmo k x t t
sed 's/\x1b\[[0-9;?]*[a-zA-Z]/\n/g' cikti | grep 'uzaklik:' | sed 's/\t\tuzaklik:/ /' > ekran
"$TOPLU" tani --hepsi tani.wav > toplu || hata "tani"
tail -n +2 toplu | awk -F'\t' '{ print $2 " " $3 }' > tani_puan
[ -s ekran ] || hata "ekran puan yazmadi"
grep -q '^tamam3 ' ekran || hata "tur 3 sozcugu taranmadi"
diff ekran tani_puan || hata "ekranin ve tani'nin puanlari farkli"
kazanan=$(head -1 toplu | cut -f2,3,4 | tr '\t' ' ')
sed 's/\x1b\[[0-9;?]*[a-zA-Z]/\n/g' cikti | grep -qx "$(echo "$kazanan" | cut -d' ' -f3)" || hata "kazanan dosya farkli"
echo tamam
