#!/usr/bin/env bash
# Speaker-dependent accuracy of Velmo on the Free Spoken Digit Dataset
# recordings kept beside the project (not part of it):
#
#   tools/fsdd-degerlendir.sh [--tur "1 3"] [--konusmacilar "george jackson lucas"]
#                             [--tepe DBFS] [--gurultu DB] [--renk RENK] [--dc YÜZDE]
#                             [--veri DİZİN] [--toplu VELMO_TOPLU] [-j İŞ]
#
# For every codebook kind (--tur) and speaker, codebooks of the ten digits are
# trained
#   t0        from take 0, as the word menus would,
#   h10..h32  from takes 0-4 pooled (--havuz), with 10, 16 and 32 codewords,
# and takes 5-49 of all ten digits of the same speaker are recognised against
# each set. The takes are trimmed tightly around the word, so each is made to
# look like a microphone recording as the data's README says: 0.4 s of lead
# and tail, peak at --tepe dBFS (default -6), white noise --gurultu dB below
# the peak (default 48) over the whole buffer. Every other setting is the
# program's default.
#
# --renk picks the background instead of white noise (beyaz, the default,
# made by velmo-toplu itself). The others are made by tools/fsdd-arka.py with
# sox (both must be installed): every take is resampled to 12000 Hz, its peak
# brought to --tepe, 0.4 s put before it and the buffer filled to 3 s, then
#   pembe       pink noise,
#   kahverengi  brown noise,
#   ugultu      50 Hz mains hum with its 2nd and 3rd harmonics 6 and 10 dB down,
# each at the RMS level of the white noise (uniform, its peak --gurultu dB
# below the speech peak, so its RMS 4.8 dB lower still), each take with its
# own stretch of one long repeatable background; or
#   dc          a DC offset of --dc per cent of full scale (default 3) and
#               velmo-toplu's white noise as for beyaz.
# velmo-toplu gets these buffers as they are (no --dolgu or --tepe).
#
# All sets of all kinds of a speaker lie in one directory and every test
# take is recognised once with "tani --hepsi", which analyses it once per
# kind present and prints the score of every codebook; the winner of each
# set (the first smallest score below 1000) is then picked from those lines.
# Speakers run side by side (-j, default: the number of processors). Prints the accuracy table, the kinds
# side by side, and the time it took.
set -euo pipefail
kok=$(cd "$(dirname "$0")/.." && pwd)
toplu=$kok/build/tools/velmo-toplu
veri=$kok/../shared/data/fsdd/recordings
turler="1 3"
konusmacilar="george jackson lucas"
isler=$(nproc 2>/dev/null || echo 2)
tepe=-6
gurultu=48
renk=beyaz
dc=3

kullanim() {
  awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"
  exit "${1:-2}"
}
konumsal=0
while [ $# -gt 0 ]; do
  case "$1" in
    --tur) turler=${2:?--tur için değer}; shift 2 ;;
    --konusmacilar) konusmacilar=${2:?--konusmacilar için değer}; shift 2 ;;
    --veri) veri=${2:?--veri için değer}; shift 2 ;;
    --toplu) toplu=${2:?--toplu için değer}; shift 2 ;;
    -j) isler=${2:?-j için değer}; shift 2 ;;
    --tepe) tepe=${2:?--tepe için değer}; shift 2 ;;
    --gurultu) gurultu=${2:?--gurultu için değer}; shift 2 ;;
    --renk) renk=${2:?--renk için değer}; shift 2 ;;
    --dc) dc=${2:?--dc için değer}; shift 2 ;;
    -h|--help) kullanim 0 ;;
    -*) echo "bilinmeyen seçenek: $1" >&2; kullanim 2 ;;
    *)  # the older form: [VELMO_TOPLU] [KAYIT_DIZINI]
        if [ $konumsal -eq 0 ]; then toplu=$1; else veri=$1; fi
        konumsal=$((konumsal + 1)); shift ;;
  esac
done
turler=${turler//,/ }
konusmacilar=${konusmacilar//,/ }
[ -x "$toplu" ] || { echo "velmo-toplu yok: $toplu (önce derleyin)" >&2; exit 2; }
[ -d "$veri" ] || { echo "kayıt dizini yok: $veri" >&2; exit 2; }
for t in $turler; do
  case "$t" in 1|2|3) ;; *) echo "tür 1, 2 ya da 3 olmalı: $t" >&2; exit 2 ;; esac
done
[[ "$isler" =~ ^[1-9][0-9]*$ ]] || { echo "-j için pozitif bir sayı gerekli" >&2; exit 2; }

[[ "$tepe" =~ ^-?[0-9]+(\.[0-9]+)?$ && "$gurultu" =~ ^[0-9]+(\.[0-9]+)?$ ]] ||
  { echo "--tepe ve --gurultu sayı olmalı" >&2; exit 2; }
case "$renk" in beyaz|pembe|kahverengi|ugultu|dc) ;;
  *) echo "--renk beyaz, pembe, kahverengi, ugultu ya da dc olmalı: $renk" >&2; exit 2 ;;
esac
[[ "$dc" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "--dc sayı olmalı" >&2; exit 2; }
if [ "$renk" != beyaz ]; then
  command -v sox >/dev/null && command -v python3 >/dev/null ||
    { echo "--renk $renk için sox ve python3 gerekli" >&2; exit 2; }
fi
beyazTepe=$(awk -v t="$tepe" -v g="$gurultu" 'BEGIN { print t - g }')
case "$renk" in
  beyaz) hazirla=(--dolgu 0.4 --tepe "$tepe" --gurultu "$beyazTepe") ;;
  dc) hazirla=(--gurultu "$beyazTepe") ;;
  *) hazirla=() ;;
esac
kumeler=(t0 h10 h16 h32)
gecici=$(mktemp -d)
trap 'rm -rf "$gecici"' EXIT

# The takes of every other background, prepared once into $gecici/ses under
# their own names (the digit is read from the name) by tools/fsdd-arka.py.
kaynak=$veri
if [ "$renk" != beyaz ]; then
  kaynak=$gecici/ses
  mkdir -p "$kaynak"
  python3 "$kok/tools/fsdd-arka.py" --renk "$renk" --tepe "$tepe" --gurultu "$gurultu" --dc "$dc" \
      --veri "$veri" --cikis "$kaynak" -j "$isler" $konusmacilar
fi

# Trains the four sets of every kind for one speaker, all in one directory
# (files "SET.KIND_DIGIT.vlm"), and recognises the test takes once: the scan
# analyses each take once per kind present. Leaves "set.kind correct total
# untrained" lines in $gecici/$k.sonuc.
konusmaci() {
  local k=$1 dizin="$gecici/$k" d s t tur c
  local log="$gecici/$k.log"
  mkdir -p "$dizin"
  declare -A egitilemeyen=()
  local kimlikler=()
  for tur in $turler; do
    for c in "${kumeler[@]}"; do egitilemeyen[$c.$tur]=0; kimlikler+=("$c.$tur"); done
    for d in 0 1 2 3 4 5 6 7 8 9; do
      "$toplu" egit --tur "$tur" -o "$dizin/t0.${tur}_$d.vlm" --soz "$d" "${hazirla[@]}" "$kaynak/${d}_${k}_0.wav" \
          >>"$log" 2>&1 || egitilemeyen[t0.$tur]=$((egitilemeyen[t0.$tur] + 1))
      for s in 10 16 32; do
        "$toplu" egit --tur "$tur" --havuz --s "$s" -o "$dizin/h$s.${tur}_$d.vlm" --soz "$d" "${hazirla[@]}" \
            "$kaynak/${d}_${k}_"{0,1,2,3,4}.wav >>"$log" 2>&1 || egitilemeyen[h$s.$tur]=$((egitilemeyen[h$s.$tur] + 1))
      done
    done
  done
  local sinama=()
  for d in 0 1 2 3 4 5 6 7 8 9; do
    for t in $(seq 5 49); do sinama+=("$kaynak/${d}_${k}_${t}.wav"); done
  done
  "$toplu" tani --hepsi -d "$dizin" "${hazirla[@]}" "${sinama[@]}" >"$dizin.tani" 2>>"$log" || true
  # A take's line names the file; each following line starting with a tab
  # is one codebook: TAB word TAB score TAB file ("SET.KIND_DIGIT.vlm").
  awk -F'\t' -v kumeler="${kimlikler[*]}" '
    function bitir(   i, c) {
      if (beklenen == "") return
      for (i = 1; i <= nk; i++) {
        c = kume[i]; toplam[c]++
        if (en[c] < 1000 && kazanan[c] == beklenen) dogru[c]++
      }
    }
    BEGIN { nk = split(kumeler, kume, " ") }
    /^[^\t]/ {
      bitir()
      n = split($1, p, "/"); split(p[n], q, "_"); beklenen = q[1]
      for (i = 1; i <= nk; i++) { en[kume[i]] = 1000; kazanan[kume[i]] = "" }
      next
    }
    /^\t/ {
      split($4, f, "_"); c = f[1]; v = $3 + 0
      if (v < en[c]) { en[c] = v; kazanan[c] = $2 }
    }
    END { bitir(); for (i = 1; i <= nk; i++) print kume[i], dogru[kume[i]] + 0, toplam[kume[i]] + 0 }
  ' "$dizin.tani" >"$gecici/$k.sonuc.tmp"
  while read -r c a b; do
    echo "$c $a $b ${egitilemeyen[$c]}"
  done <"$gecici/$k.sonuc.tmp" >"$gecici/$k.sonuc"
}

bas=$(date +%s.%N)
isler_calisan=0
for k in $konusmacilar; do
  konusmaci "$k" &
  isler_calisan=$((isler_calisan + 1))
  if [ "$isler_calisan" -ge "$isler" ]; then wait -n; isler_calisan=$((isler_calisan - 1)); fi
done
wait
son=$(date +%s.%N)

declare -A dogru toplam egitilemeyen td tt
for k in $konusmacilar; do
  [ -s "$gecici/$k.sonuc" ] || { echo "$k: sonuç yok (günlük aşağıda)" >&2; cat "$gecici/$k.log" >&2; exit 1; }
  while read -r kt a b e; do
    c=${kt%.*}; tur=${kt##*.}
    dogru[$k,$tur,$c]=$a; toplam[$k,$tur,$c]=$b; egitilemeyen[$k,$tur,$c]=$e
    td[$tur,$c]=$(( ${td[$tur,$c]:-0} + a )); tt[$tur,$c]=$(( ${tt[$tur,$c]:-0} + b ))
  done <"$gecici/$k.sonuc"
done

yuzde() { awk -v a="${1:-0}" -v b="${2:-0}" 'BEGIN { if (b > 0) printf "%5.1f%%", 100 * a / b; else printf "    -" }'; }
printf '\nFSDD, konuşmacıya bağımlı: eğitim 0. alım (t0) ya da 0-4. alımlar havuzda (h10/h16/h32 = --s),\n'
case "$renk" in
  beyaz) printf 'tepe %s dBFS, gürültü tepenin %s dB altında; ' "$tepe" "$gurultu" ;;
  dc) printf 'tepe %s dBFS, gürültü tepenin %s dB altında, %%%s DC kayması; ' "$tepe" "$gurultu" "$dc" ;;
  *) printf 'tepe %s dBFS, %s gürültü (beyazınkiyle aynı RMS, tepesi tepenin %s dB altında olan); ' \
       "$tepe" "$renk" "$gurultu" ;;
esac
printf 'sınama 5-49. alımlar (konuşmacı başına 450 kayıt). Doğruluk, sütunlar küme/tür:\n\n'
printf '%-10s' "konuşmacı"
for c in "${kumeler[@]}"; do for tur in $turler; do printf '%9s' "$c/$tur"; done; printf '  '; done
printf '\n'
for k in $konusmacilar hepsi; do
  printf '%-10s' "$k"
  for c in "${kumeler[@]}"; do
    for tur in $turler; do
      if [ "$k" = hepsi ]; then printf '%9s' "$(yuzde "${td[$tur,$c]}" "${tt[$tur,$c]}")"
      else printf '%9s' "$(yuzde "${dogru[$k,$tur,$c]}" "${toplam[$k,$tur,$c]}")"; fi
    done
    printf '  '
  done
  printf '\n'
done
printf '\nEğitilemeyen rakam (10 üzerinden):\n'
for k in $konusmacilar; do
  printf '%-10s' "$k"
  for c in "${kumeler[@]}"; do
    for tur in $turler; do printf '%9s' "${egitilemeyen[$k,$tur,$c]}"; done
    printf '  '
  done
  printf '\n'
done
awk -v a="$bas" -v b="$son" 'BEGIN { printf "\nSüre: %.1f saniye\n", b - a }'
