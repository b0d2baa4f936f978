#!/usr/bin/env bash
# degerlendir with worker processes gives what one process gives: the same
# JSON (time aside), the same text report, the same messages in the same
# order on standard error, the same exit status; also with unreadable and
# unlabelled recordings among the rest.
#   paralel_degerlendir.sh VELMO-TOPLU
set -u
TOPLU=$1
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin"
ses() {  # WORD NAME [options]
  "$SES" -g 0.003 "${@:3}" "$1" "$2.raw" 3
  sox -t raw -r 12000 -c 1 -b 16 -e signed-integer -L "$2.raw" "$2.wav" && rm "$2.raw"
}
mkdir k
for soz in evet hayır tamam; do
  ses "$soz" "${soz}_50" -p 50 -s 150; ses "$soz" "${soz}_65" -p 65 -s 140; ses "$soz" "${soz}_45" -p 45 -s 150
  "$TOPLU" egit -o "k/$soz.vlm" --soz "$soz" "${soz}"_*.wav >/dev/null || hata "egit $soz"
done
ses evet evet_40 -p 40; ses tamam tamam_60 -p 60 -s 160
# Noise alone under a word's label: wrong answers or none, in the list's order.
ses - evet_g1 -g 0.05; ses - hayır_g2 -g 0.1; ses - tamam_g3 -g 0.02
printf 'RIFF bozuk' >evet_bozuk.wav   # unreadable
ses merhaba xx_etiketsiz              # no label: the pattern does not match
kayitlar=(*_*.wav)
desen=('--desen' '^([^_x]+)_')

calistir() {  # NAME ARGS...: out, err and status of one run
  local ad=$1; shift
  "$TOPLU" degerlendir -d k "${desen[@]}" --ayrinti "$@" "${kayitlar[@]}" >"$ad.out" 2>"$ad.err"
  echo $? >"$ad.rc"
}
calistir j1 --json -j 1
for j in 2 3 16; do
  calistir "j$j" --json -j "$j"
  diff <(sed 's/"sure_saniye":[^,]*,//' j1.out) <(sed 's/"sure_saniye":[^,]*,//' "j$j.out") >&2 ||
    hata "-j $j JSON farkli"
  cmp -s j1.err "j$j.err" || { diff j1.err "j$j.err" >&2; hata "-j $j iletileri farkli"; }
  cmp -s j1.rc "j$j.rc" || hata "-j $j cikis durumu farkli"
done
grep -q '"toplam":14' j1.out || hata "14 kayit taninmaliydi: $(cat j1.out)"
# (so the order of the answers is compared too)
[ "$(grep -o '"dosya":"[^"]*_g[123].wav"' j1.out | wc -l)" -ge 2 ] || hata "yanlislar listesi kisa: $(cat j1.out)"
grep -q '"okunamayan":\[".*evet_bozuk.wav"\]' j1.out || hata "bozuk kayit okunamayan listesinde degil"
[ "$(cat j1.rc)" = 1 ] || hata "okunamayan ve etiketsiz kayitla cikis 1 olmali"
grep -q "evet_bozuk.wav" j1.err && grep -q "xx_etiketsiz.wav" j1.err || hata "iletiler eksik: $(cat j1.err)"

# The text report too (its first line carries the time).
calistir t1 -j 1
calistir t3 -j 3
diff <(tail -n +2 t1.out) <(tail -n +2 t3.out) >&2 || hata "metin raporu farkli"
echo tamam
