#!/usr/bin/env bash
# Accuracy of velmo-dinle on a stream of spoken digits from the FSDD
# recordings kept beside the project (not part of it):
#
#   tools/dinle-degerlendir.sh [-k KONUŞMACI] [-t TÜR] [-s TOHUM] [-d VERİ] [-b DERLEME]
#
# The ten digits of one speaker (default jackson) are trained from takes 0-4
# pooled (velmo-toplu egit --havuz, the takes made to look like microphone
# recordings: 0.4 s lead and tail, peak -6 dBFS, white noise at -54 dBFS).
# The stream: takes 5-9 of every digit (50 utterances) in a shuffled order
# (seeded), each resampled to 12000 Hz at a peak of -6 dBFS, with 0.5-1.5 s
# between them, and white noise at -54 dBFS over the whole (the same noise at
# every run). velmo-dinle listens to it as a file with its defaults (the
# settings are the codebooks'); each spoken digit is matched with the result
# line that overlaps it most. Prints the counts, the accuracy, the
# confusions and the processor time the listening took.
set -euo pipefail
kok=$(cd "$(dirname "$0")/.." && pwd)
konusmaci=jackson; tur=1; tohum=1; veri=$kok/../shared/data/fsdd/recordings; derleme=$kok/build
while getopts "k:t:s:d:b:" o; do
  case $o in
    k) konusmaci=$OPTARG ;; t) tur=$OPTARG ;; s) tohum=$OPTARG ;; d) veri=$OPTARG ;; b) derleme=$OPTARG ;;
    *) echo "kullanım: $0 [-k konuşmacı] [-t tür] [-s tohum] [-d veri] [-b derleme]" >&2; exit 2 ;;
  esac
done
toplu=$derleme/tools/velmo-toplu; dinle=$derleme/dinle/velmo-dinle
[ -x "$toplu" ] && [ -x "$dinle" ] || { echo "programlar yok: $derleme (önce derleyin)" >&2; exit 2; }
[ -d "$veri" ] || { echo "kayıt dizini yok: $veri" >&2; exit 2; }
g=$(mktemp -d); trap 'rm -rf "$g"' EXIT
mkdir "$g/k"

for d in 0 1 2 3 4 5 6 7 8 9; do
  "$toplu" egit --havuz --tur "$tur" -o "$g/k/$d.vlm" --soz "$d" --dolgu 0.4 --tepe -6 --gurultu -54 \
      "$veri/${d}_${konusmaci}_"{0,1,2,3,4}.wav >>"$g/egitim.log" 2>&1 || echo "uyarı: $d eğitilemedi" >&2
done

# The order and the gaps, from the seed.
awk -v s="$tohum" 'BEGIN { srand(s); n = 0
  for (d = 0; d < 10; d++) for (t = 5; t < 10; t++) { a[n] = d " " t; n++ }
  for (i = n - 1; i > 0; i--) { j = int(rand() * (i + 1)); x = a[i]; a[i] = a[j]; a[j] = x }
  for (i = 0; i < n; i++) printf "%s %.3f\n", a[i], 0.5 + rand() }' > "$g/sira"

parcalar=()
bas=0
: > "$g/dogru"
sox -n -r 12000 -c 1 -b 16 "$g/bosluk0.wav" trim 0 1
parcalar+=("$g/bosluk0.wav"); bas=1
i=0
while read -r d t ara; do
  sox "$veri/${d}_${konusmaci}_${t}.wav" -r 12000 -b 16 -c 1 "$g/p$i.wav" norm -6
  sure=$(soxi -D "$g/p$i.wav")
  sox -n -r 12000 -c 1 -b 16 "$g/a$i.wav" trim 0 "$ara"
  awk -v b="$bas" -v s="$sure" -v d="$d" 'BEGIN { printf "%.4f %.4f %s\n", b, b + s, d }' >> "$g/dogru"
  bas=$(awk -v b="$bas" -v s="$sure" -v a="$ara" 'BEGIN { printf "%.6f", b + s + a }')
  parcalar+=("$g/p$i.wav" "$g/a$i.wav")
  i=$((i + 1))
done < "$g/sira"
sox "${parcalar[@]}" "$g/temiz.wav" pad 0 1
sox -R -n -r 12000 -c 1 -b 16 "$g/gurultu.wav" synth "$(soxi -D "$g/temiz.wav")" whitenoise vol 0.002
sox -m -v 1 "$g/temiz.wav" -v 1 "$g/gurultu.wav" "$g/akis.wav"

TIMEFORMAT='%U %S'
islemci=$( { time "$dinle" -d "$g/k" --girdi "$g/akis.wav" > "$g/cikti" 2>"$g/dinle.log"; } 2>&1 )

# Each spoken digit against the result line that overlaps it most.
awk -F'\t' -v dogruDosya="$g/dogru" '
  BEGIN { n = 0; while ((getline l < dogruDosya) > 0) { split(l, p, " "); b[n] = p[1]; e[n] = p[2]; w[n] = p[3]; n++ } }
  { cb[NR] = $1; ce[NR] = $2; cw[NR] = $3; m = NR }
  END {
    for (i = 0; i < n; i++) {
      best = 0; bo = 0
      for (j = 1; j <= m; j++) {
        o = (e[i] < ce[j] ? e[i] : ce[j]) - (b[i] > cb[j] ? b[i] : cb[j])
        if (o > bo) { bo = o; best = j }
      }
      if (best == 0) { kayip++; continue }
      kullanildi[best]++
      if (cw[best] == w[i]) dogru++
      else { yanlis++; karis[w[i] "->" (cw[best] == "" ? "(red)" : cw[best])]++ }
    }
    for (j = 1; j <= m; j++) { if (!(j in kullanildi)) fazla++; else if (kullanildi[j] > 1) birlesik += kullanildi[j] - 1 }
    printf "sözler: %d  satırlar: %d  doğru: %d  yanlış: %d  bulunamayan: %d  fazla satır: %d  birleşen: %d\n",
           n, m, dogru, yanlis, kayip, fazla, birlesik
    printf "doğruluk: %.1f %%\n", 100.0 * dogru / n
    for (k in karis) printf "  %s: %d\n", k, karis[k]
  }' "$g/cikti"
awk -v i="$islemci" -v s="$(soxi -D "$g/akis.wav")" 'BEGIN { split(i, p, " ")
  printf "işlemci: %.2f s, %.1f s ses için (gerçek zamanın %%%.2f)\n", p[1] + p[2], s, 100 * (p[1] + p[2]) / s }'
