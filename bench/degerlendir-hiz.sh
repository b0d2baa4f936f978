#!/usr/bin/env bash
# Time per utterance of `velmo-toplu degerlendir`, an earlier build (by
# default the previous release) against this one, side by side, on the same
# FSDD recordings (8 kHz) kept beside the project and the same codebooks:
#
#   bench/degerlendir-hiz.sh [ESKI] [YENI] [KAYIT_DIZINI]
#   TUR=3 TEKRAR=9 SINIR=300 bench/degerlendir-hiz.sh
#
# ESKI      a velmo-toplu program, or a git revision to build one from (only
#           velmo-toplu, in a temporary directory: a minute or two). Default:
#           the previous release, the parent of the last commit that changed
#           the version in CMakeLists.txt's project() line (the revision and
#           its version are printed; give "" for it to name YENI).
#           Revisions from before the libsoxr converter (277632d and older)
#           need libsamplerate0-dev to build.
# YENI      default build/tools/velmo-toplu (build it first).
# KAYIT_DIZINI  default ../shared/data/fsdd/recordings.
#
# Environment:
#   TUR=1|2|3     kind of the codebooks (default 1), given to egit and
#                 degerlendir alike
#   TEKRAR=N      runs of each measurement (default 5), the builds taking
#                 turns; the shortest wall time and the shortest CPU time count
#   SINIR=N       only N recordings, spread evenly over the sorted list
#                 (default all 1,500)
#   EGITEN=yeni|eski  the build that trains the codebooks both evaluate with
#                 (default yeni; eski when the older build cannot read the
#                 newer one's files)
#
# The codebooks are the ten digits of each of the three speakers, takes 0-4
# pooled (30 files), trained once. Each build evaluates the recordings against
# them with one process (-j 1) and, if it has worker processes, with one
# worker per processor. Kept settings ($XDG_CONFIG_HOME/velmo/ayarlar) are
# kept out: both builds run with their defaults. CPU time is user + system
# time of the program and its workers (bash's `time`), divided by the number
# of recordings for "ms/kayıt". Every result's JSON, time aside, is compared
# with that of the new build's -j 1 run: the last column says "aynı" or
# "FARKLI", and below the table come the recordings whose wrong answers differ.
#
# Exit status: 0 all answers the same; 1 the new build's answers differ
# between -j 1 and -j N (a fault); 3 the older build answers differently
# (recognition changed, so the two timings are of different work); 2 a setup
# or run failure.
set -euo pipefail
kok=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${1:-}" ]; then
  eski=$1
else
  surum=$(git -C "$kok" log -1 --format=%H -G'project\(velmo VERSION' -- CMakeLists.txt) ||
    { echo "git geçmişi okunamadı; ESKI olarak bir velmo-toplu ya da revizyon verin" >&2; exit 2; }
  eski=$(git -C "$kok" rev-parse --short "$surum^")
fi
yeni=${2:-$kok/build/tools/velmo-toplu}
veri=${3:-$kok/../shared/data/fsdd/recordings}
tekrar=${TEKRAR:-5}
tur=${TUR:-1}
sinir=${SINIR:-}
egiten=${EGITEN:-yeni}
case "$tur" in 1|2|3) ;; *) echo "TUR 1, 2 ya da 3 olmalı: $tur" >&2; exit 2 ;; esac
case "$egiten" in yeni|eski) ;; *) echo "EGITEN yeni ya da eski olmalı: $egiten" >&2; exit 2 ;; esac
[[ "$tekrar" =~ ^[1-9][0-9]*$ ]] || { echo "TEKRAR pozitif bir sayı olmalı: $tekrar" >&2; exit 2; }
[[ -z "$sinir" || "$sinir" =~ ^[1-9][0-9]*$ ]] || { echo "SINIR pozitif bir sayı olmalı: $sinir" >&2; exit 2; }
[ -x "$yeni" ] || { echo "velmo-toplu yok: $yeni (önce derleyin)" >&2; exit 2; }
[ -d "$veri" ] || { echo "kayıt dizini yok: $veri" >&2; exit 2; }
gecici=$(mktemp -d)
trap 'rm -rf "$gecici"' EXIT
mkdir "$gecici/ayar"
export XDG_CONFIG_HOME=$gecici/ayar

if [ -x "$eski" ]; then
  eski_ad=eski
  echo "eski: $eski"
else
  git -C "$kok" cat-file -e "$eski^{commit}" 2>/dev/null ||
    { echo "ESKI ne bir program ne bir git revizyonu: $eski" >&2; exit 2; }
  eski_surum=$(git -C "$kok" show "$eski:CMakeLists.txt" | sed -n 's/^project(velmo VERSION \([0-9.]*\).*/\1/p')
  eski_ad="eski ${eski_surum:-?} ($(git -C "$kok" rev-parse --short "$eski"))"
  # Builds before the libsoxr converter convert with libsamplerate, which
  # the project itself no longer needs (scripts/kur.sh does not install it).
  if git -C "$kok" cat-file -e "$eski:tools/CMakeLists.txt" 2>/dev/null &&
     git -C "$kok" show "$eski:tools/CMakeLists.txt" | grep -q 'IMPORTED_TARGET samplerate' &&
     ! pkg-config --exists samplerate; then
    echo "$eski libsamplerate ile derlenir: önce 'apt-get install libsamplerate0-dev' (ya da ESKI olarak derlenmiş bir velmo-toplu verin)" >&2
    exit 2
  fi
  echo "== $eski_ad derleniyor (yalnız velmo-toplu) =="
  mkdir "$gecici/kaynak"
  git -C "$kok" archive "$eski" | tar -x -C "$gecici/kaynak"
  if ! { cmake -S "$gecici/kaynak" -B "$gecici/kaynak/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
           -DBUILD_TESTING=OFF -DVELMO_BENCH=OFF &&
         cmake --build "$gecici/kaynak/build" -j"$(nproc)" --target velmo-toplu; } >"$gecici/derleme.log" 2>&1; then
    tail -20 "$gecici/derleme.log" >&2
    echo "$eski derlenemedi" >&2
    exit 2
  fi
  eski=$gecici/kaynak/build/tools/velmo-toplu
fi
echo "yeni: $yeni"

hazirla=(--dolgu 0.4 --tepe -6 --gurultu -54)
ayar=()
[ "$tur" = 1 ] || ayar=(--tur "$tur")  # builds older than kind 3 run with their defaults
tum=("$veri"/*.wav)
kayitlar=("${tum[@]}")
if [ -n "$sinir" ] && [ "$sinir" -lt "${#tum[@]}" ]; then
  kayitlar=()
  for ((i = 0; i < sinir; i++)); do kayitlar+=("${tum[i * ${#tum[@]} / sinir]}"); done
fi
n=${#kayitlar[@]}
islemci=$(nproc)

# The codebooks both builds use.
if [ "$egiten" = yeni ]; then egitici=$yeni; else egitici=$eski; fi
mkdir "$gecici/kurallar"
for k in george jackson lucas; do
  for d in 0 1 2 3 4 5 6 7 8 9; do
    "$egitici" egit --havuz -o "$gecici/kurallar/${d}_$k.vlm" --soz "$d" "${ayar[@]}" "${hazirla[@]}" \
        "$veri/${d}_${k}_"{0,1,2,3,4}.wav >/dev/null 2>&1 || echo "uyarı: ${d}_$k.vlm eğitilemedi" >&2
  done
done
kural_sayisi=$(find "$gecici/kurallar" -name '*.vlm' | wc -l)

# The runs: name, workers, program, its worker option. A build without
# worker processes runs once, in its one process.
adlar=() isciler=() programlar=() secenekler=()
kosu() { adlar+=("$1"); isciler+=("$2"); programlar+=("$3"); secenekler+=("$4"); }
if "$eski" degerlendir --help 2>&1 | grep -q -- '--isler'; then
  kosu "$eski_ad" 1 "$eski" "-j 1"
  [ "$islemci" -eq 1 ] || kosu "$eski_ad" "$islemci" "$eski" "-j $islemci"
else
  kosu "$eski_ad" 1 "$eski" ""
fi
kosu yeni 1 "$yeni" "-j 1"
olcut=$((${#adlar[@]} - 1))  # the new build's -j 1 run: every other is compared with it
[ "$islemci" -eq 1 ] || kosu yeni "$islemci" "$yeni" "-j $islemci"

degerlendir=(degerlendir --desen '^([0-9])_' --json "${ayar[@]}" "${hazirla[@]}" -d "$gecici/kurallar")
TIMEFORMAT='%3R %3U %3S'
for ((t = 0; t < tekrar; t++)); do
  for i in "${!adlar[@]}"; do
    # shellcheck disable=SC2086  # the worker option is one or two words
    if ! { time "${programlar[i]}" "${degerlendir[@]}" ${secenekler[i]} "${kayitlar[@]}" \
             >"$gecici/$i.json" 2>"$gecici/$i.hata"; } 2>"$gecici/zaman"; then
      echo "${adlar[i]} ${secenekler[i]} başarısız:" >&2
      tail -5 "$gecici/$i.hata" >&2
      exit 2
    fi
    cat "$gecici/zaman" >>"$gecici/$i.olcum"
  done
done

zamansiz() { sed 's/"sure_saniye":[^,]*,//' "$1"; }
alan() { grep -o "\"$2\":[0-9.e+-]*" "$1" | head -1 | cut -d: -f2; }
# en_kisa OLCUM: the shortest wall and the shortest CPU time of the runs.
en_kisa() { awk 'NR == 1 || $1 < d { d = $1 } NR == 1 || $2 + $3 < c { c = $2 + $3 } END { print d, c }' "$1"; }
echo
echo "== $n kayıt, $kural_sayisi kural kitabı (tür $tur, eğiten: $egiten), $islemci işlemci, $tekrar ölçümün en kısası =="
echo "yapı                    iş   duvar s  işlemci s   duvar ms/kayıt  işlemci ms/kayıt    doğruluk  yanıtlar"
farkli=() durum=0
for i in "${!adlar[@]}"; do
  if [ "$i" -eq "$olcut" ]; then
    yanit=ölçüt
  elif [ "$(zamansiz "$gecici/$i.json")" = "$(zamansiz "$gecici/$olcut.json")" ]; then
    yanit=aynı
  else
    yanit=FARKLI
    farkli+=("$i")
    if [ "${adlar[i]}" = yeni ]; then durum=1; elif [ "$durum" -eq 0 ]; then durum=3; fi
  fi
  read -r duvar cpu < <(en_kisa "$gecici/$i.olcum")
  awk -v ad="${adlar[i]}" -v is="${isciler[i]}" -v n="$n" -v d="$duvar" -v c="$cpu" \
      -v dog="$(alan "$gecici/$i.json" dogruluk)" \
      'BEGIN { printf "%-22s %3d %9.3f %10.3f %16.3f %17.3f %9.2f %%", ad, is, d, c, d * 1000 / n, c * 1000 / n, dog * 100 }'
  echo "  $yanit"
done
read -r ed ec < <(en_kisa "$gecici/0.olcum")
read -r yd yc < <(en_kisa "$gecici/$olcut.olcum")
awk -v ed="$ed" -v ec="$ec" -v yd="$yd" -v yc="$yc" \
    'BEGIN { printf "tek süreçte eski/yeni: duvar %.2fx, işlemci %.2fx\n", ed / yd, ec / yc }'

# The wrong answers of a differing run against those of the reference, once
# for each distinct result.
yanlislar() { grep -o '{"dosya":[^}]*}' "$1" || true; }
onceki=""
for i in "${farkli[@]}"; do
  [ "$(zamansiz "$gecici/$i.json")" != "$onceki" ] || continue
  onceki=$(zamansiz "$gecici/$i.json")
  echo
  echo "FARKLI YANITLAR: ${adlar[i]} ${secenekler[i]} (<) ile yeni -j 1 (>):" \
       "doğru $(alan "$gecici/$i.json" dogru) / $(alan "$gecici/$olcut.json" dogru)," \
       "kullanılan kural kitabı $(alan "$gecici/$i.json" kural_dosyasi_sayisi) / $(alan "$gecici/$olcut.json" kural_dosyasi_sayisi)"
  fark=$(diff <(yanlislar "$gecici/$i.json") <(yanlislar "$gecici/$olcut.json") | grep '^[<>]' || true)
  if [ -z "$fark" ]; then
    echo "yanlışların listesi aynı; fark JSON'un öbür alanlarında"
  else
    echo "yanlışlardan $(grep -c . <<<"$fark") satır farklı; ilk 10'u:"
    head -10 <<<"$fark"
  fi
done
[ "$durum" -ne 0 ] || echo "bütün ölçümler aynı yanıtları verdi (JSON, süre dışında, bayt bayt aynı)"
exit "$durum"
