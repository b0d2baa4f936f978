#!/usr/bin/env bash
# Speed of `velmo-toplu degerlendir` on the 1,500 FSDD recordings (8 kHz)
# kept beside the project, an earlier build against this one, side by side:
#
#   bench/degerlendir-hiz.sh [ESKI] [YENI] [KAYIT_DIZINI]
#
# ESKI is a velmo-toplu program or a git revision to build one from
# (default: 277632d, before the libsoxr converter and the worker processes;
# building it needs libsamplerate0-dev, which the set-up no longer installs);
# YENI defaults to build/tools/velmo-toplu. Each build trains its own 30
# codebooks (ten digits of each of the three speakers, takes 0-4 pooled),
# then evaluates all 1,500 recordings against them; each evaluation is run
# TEKRAR times (default 3) and its shortest wall time counts (CPU time is
# printed too). The new build runs with one process and with one worker per
# processor; the two must give the same JSON (time aside).
set -euo pipefail
kok=$(cd "$(dirname "$0")/.." && pwd)
eski=${1:-277632d}
yeni=${2:-$kok/build/tools/velmo-toplu}
veri=${3:-$kok/../shared/data/fsdd/recordings}
tekrar=${TEKRAR:-3}
[ -x "$yeni" ] || { echo "velmo-toplu yok: $yeni (önce derleyin)" >&2; exit 2; }
[ -d "$veri" ] || { echo "kayıt dizini yok: $veri" >&2; exit 2; }
gecici=$(mktemp -d)
trap 'rm -rf "$gecici"' EXIT

if [ ! -x "$eski" ]; then
  # Builds before the libsoxr converter convert with libsamplerate, which
  # the project itself no longer needs (scripts/kur.sh does not install it).
  if git -C "$kok" cat-file -e "$eski:tools/CMakeLists.txt" 2>/dev/null &&
     git -C "$kok" show "$eski:tools/CMakeLists.txt" | grep -q 'IMPORTED_TARGET samplerate' &&
     ! pkg-config --exists samplerate; then
    echo "$eski libsamplerate ile derlenir: önce 'apt-get install libsamplerate0-dev' (ya da ESKI olarak derlenmiş bir velmo-toplu verin)" >&2
    exit 2
  fi
  echo "== $eski derleniyor (yalnız velmo-toplu) =="
  mkdir "$gecici/kaynak"
  git -C "$kok" archive "$eski" | tar -x -C "$gecici/kaynak"
  cmake -S "$gecici/kaynak" -B "$gecici/kaynak/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
        -DVELMO_BENCH=OFF >/dev/null
  cmake --build "$gecici/kaynak/build" -j"$(nproc)" --target velmo-toplu >/dev/null
  eski=$gecici/kaynak/build/tools/velmo-toplu
fi

hazirla=(--dolgu 0.4 --tepe -6 --gurultu -54)
kayitlar=("$veri"/*.wav)
echo "== ${#kayitlar[@]} kayıt, $(nproc) işlemci =="

egit() {  # PROGRAM DIR
  mkdir -p "$2"
  for k in george jackson lucas; do
    for d in 0 1 2 3 4 5 6 7 8 9; do
      "$1" egit --havuz -o "$2/${d}_$k.vlm" --soz "$d" "${hazirla[@]}" "$veri/${d}_${k}_"{0,1,2,3,4}.wav \
          >/dev/null 2>&1 || echo "uyarı: $2/${d}_$k.vlm eğitilemedi" >&2
    done
  done
}

# olc NAME OUT PROGRAM ARGS...: the shortest of TEKRAR runs; "wall user+sys".
olc() {
  local ad=$1 cikti=$2 en="" t; shift 2
  for ((i = 0; i < tekrar; i++)); do
    t=$( { TIMEFORMAT='%R %U %S'; time "$@" >"$cikti" 2>/dev/null; } 2>&1 | tail -1)
    if [ -z "$en" ] || awk -v a="$t" -v b="$en" 'BEGIN { split(a, x, " "); split(b, y, " "); exit !(x[1] < y[1]) }'; then
      en=$t
    fi
  done
  awk -v ad="$ad" -v t="$en" 'BEGIN { split(t, x, " "); printf "%-28s %7.2f s  (işlemci %6.2f s)\n", ad, x[1], x[2] + x[3] }'
  echo "$en" >"$gecici/$ad.sure"
}

egit "$eski" "$gecici/eski"
egit "$yeni" "$gecici/yeni"
degerlendir=(degerlendir --desen '^([0-9])_' --json "${hazirla[@]}")
olc eski "$gecici/eski.json" "$eski" "${degerlendir[@]}" -d "$gecici/eski" "${kayitlar[@]}"
olc "yeni -j 1" "$gecici/yeni1.json" "$yeni" "${degerlendir[@]}" -j 1 -d "$gecici/yeni" "${kayitlar[@]}"
olc "yeni -j $(nproc)" "$gecici/yenij.json" "$yeni" "${degerlendir[@]}" -j "$(nproc)" -d "$gecici/yeni" "${kayitlar[@]}"

zamansiz() { sed 's/"sure_saniye":[^,]*,//' "$1"; }
if [ "$(zamansiz "$gecici/yeni1.json")" = "$(zamansiz "$gecici/yenij.json")" ]; then
  echo "tek süreç ile $(nproc) işçi: aynı tanımalar (JSON, süre dışında, bayt bayt aynı)"
else
  echo "HATA: tek süreç ile $(nproc) işçinin sonuçları farklı" >&2
  exit 1
fi
dogruluk() { grep -o '"dogru":[0-9]*,"dogruluk":[0-9.]*' "$1" | head -1; }
echo "doğruluk: eski $(dogruluk "$gecici/eski.json"); yeni $(dogruluk "$gecici/yeni1.json")"
read -r e _ <"$gecici/eski.sure"
read -r y1 _ <"$gecici/yeni -j 1.sure"
read -r yj _ <"$gecici/yeni -j $(nproc).sure"
awk -v e="$e" -v a="$y1" -v b="$yj" -v n="$(nproc)" \
    'BEGIN { printf "hızlanma: tek süreç %.1fx, %d işçi %.1fx\n", e / a, n, e / b }'
