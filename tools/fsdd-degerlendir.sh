#!/usr/bin/env bash
# Speaker-dependent accuracy of Velmo on the Free Spoken Digit Dataset
# recordings kept beside the project (not part of it):
#
#   tools/fsdd-degerlendir.sh [VELMO_TOPLU] [KAYIT_DIZINI]
#
# Per speaker, codebooks of the ten digits are trained
#   t0        from take 0, as the word menus would,
#   h10..h32  from takes 0-4 pooled (--havuz), with 10, 16 and 32 codewords,
# and takes 5-49 of all ten digits of the same speaker are recognised with
# each set. The takes are trimmed tightly around the word, so each is made to
# look like a microphone recording as the data's README says: 0.4 s of lead
# and tail, peak at -6 dBFS, a little white noise (-54 dBFS) over the whole
# buffer. Every other setting is the program's default.
# Prints the accuracy table and the time it took.
set -euo pipefail
kok=$(cd "$(dirname "$0")/.." && pwd)
toplu=${1:-$kok/build/tools/velmo-toplu}
veri=${2:-$kok/../shared/data/fsdd/recordings}
[ -x "$toplu" ] || { echo "velmo-toplu yok: $toplu (önce derleyin)" >&2; exit 2; }
[ -d "$veri" ] || { echo "kayıt dizini yok: $veri" >&2; exit 2; }

hazirla=(--dolgu 0.4 --tepe -6 --gurultu -54)
konusmacilar=(george jackson lucas)
kumeler=(t0 h10 h16 h32)
gecici=$(mktemp -d)
trap 'rm -rf "$gecici"' EXIT

bas=$(date +%s.%N)
declare -A dogru toplam egitilemeyen
for k in "${konusmacilar[@]}"; do
  for kume in "${kumeler[@]}"; do
    mkdir -p "$gecici/$k/$kume"
    egitilemeyen[$k,$kume]=0
  done
  for d in 0 1 2 3 4 5 6 7 8 9; do
    if ! "$toplu" egit -o "$gecici/$k/t0/$d.vlm" --soz "$d" "${hazirla[@]}" "$veri/${d}_${k}_0.wav" \
         >>"$gecici/egitim.log" 2>&1; then
      egitilemeyen[$k,t0]=$((egitilemeyen[$k,t0] + 1))
    fi
    for s in 10 16 32; do
      if ! "$toplu" egit --havuz --s "$s" -o "$gecici/$k/h$s/$d.vlm" --soz "$d" "${hazirla[@]}" \
           "$veri/${d}_${k}_"{0,1,2,3,4}.wav >>"$gecici/egitim.log" 2>&1; then
        egitilemeyen[$k,h$s]=$((egitilemeyen[$k,h$s] + 1))
      fi
    done
  done
  sinama=()
  for d in 0 1 2 3 4 5 6 7 8 9; do
    for t in $(seq 5 49); do sinama+=("$veri/${d}_${k}_${t}.wav"); done
  done
  for kume in "${kumeler[@]}"; do
    j="$gecici/$k-$kume.json"
    "$toplu" degerlendir -d "$gecici/$k/$kume" --desen '^([0-9])_' --json "${hazirla[@]}" "${sinama[@]}" \
        >"$j" 2>>"$gecici/degerlendirme.log" || true
    dogru[$k,$kume]=$(grep -o '"dogru":[0-9]*' "$j" | head -1 | cut -d: -f2)
    toplam[$k,$kume]=$(grep -o '"toplam":[0-9]*' "$j" | head -1 | cut -d: -f2)
  done
done
son=$(date +%s.%N)

yuzde() { awk -v a="${1:-0}" -v b="${2:-0}" 'BEGIN { if (b > 0) printf "%5.1f%%", 100 * a / b; else printf "    -" }'; }
printf '\nFSDD, konuşmacıya bağımlı: eğitim 0. alım (t0) ya da 0-4. alımlar havuzda (h10/h16/h32 = --s),\n'
printf 'sınama 5-49. alımlar (konuşmacı başına 450 kayıt). Doğruluk:\n\n'
printf '%-10s' "konuşmacı"
for kume in "${kumeler[@]}"; do printf '%12s' "$kume"; done
printf '\n'
declare -A td tt
for k in "${konusmacilar[@]}"; do
  printf '%-10s' "$k"
  for kume in "${kumeler[@]}"; do
    printf '%12s' "$(yuzde "${dogru[$k,$kume]}" "${toplam[$k,$kume]}")"
    td[$kume]=$(( ${td[$kume]:-0} + ${dogru[$k,$kume]:-0} ))
    tt[$kume]=$(( ${tt[$kume]:-0} + ${toplam[$k,$kume]:-0} ))
  done
  printf '\n'
done
printf '%-10s' "hepsi"
for kume in "${kumeler[@]}"; do printf '%12s' "$(yuzde "${td[$kume]}" "${tt[$kume]}")"; done
printf '\n\nEğitilemeyen rakam (konuşmacı başına, 10 üzerinden):\n'
for k in "${konusmacilar[@]}"; do
  printf '%-10s' "$k"
  for kume in "${kumeler[@]}"; do printf '%12s' "${egitilemeyen[$k,$kume]}"; done
  printf '\n'
done
awk -v a="$bas" -v b="$son" 'BEGIN { printf "\nSüre: %.1f saniye\n", b - a }'
