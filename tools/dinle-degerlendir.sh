#!/usr/bin/env bash
# Accuracy of velmo-dinle on a stream of spoken digits from the FSDD
# recordings kept beside the project (not part of it), beside the accuracy of
# "velmo-toplu tani" on the same takes as files:
#
#   tools/dinle-degerlendir.sh [-k KONUŞMACI] [-t TÜR] [-p DBFS] [-g DB] [-h ALIM]
#                              [-s TOHUM] [-d VERİ] [-b DERLEME]
#
# Every take is made to look like a microphone's: resampled to 12000 Hz, its
# peak at -p dBFS (default -6), white noise -g dB below the peak (default 48;
# uniform, as velmo-toplu's --gurultu). The ten digits of one speaker
# (default jackson) are trained at that level, as one microphone would hear
# them, from takes 0 .. ALIM-1 (-h, default 5: takes 0-4 pooled with egit
# --havuz; -h 1: take 0 alone) with 0.4 s of lead and tail. The stream: takes
# 5-9 of every digit (50 utterances) in a shuffled order (seeded), with
# 0.5-1.5 s between them and the noise over the whole (the same noise at
# every run). velmo-dinle listens to it as a file with its defaults (the
# settings are the codebooks'); each spoken digit is matched with the result
# line that overlaps it most. Then the same 50 takes, each prepared as one
# recording (--dolgu 0.4, the same peak and noise), are recognised by
# "velmo-toplu tani" against the same codebooks. Prints for the stream the
# counts, the accuracy, the confusions and the processor time the listening
# took, and for the files the accuracy.
set -euo pipefail
kok=$(cd "$(dirname "$0")/.." && pwd)
konusmaci=jackson; tur=1; tohum=1; veri=$kok/../shared/data/fsdd/recordings; derleme=$kok/build
tepe=-6; alim=5; alt=48
kullanim() {
  echo "kullanım: $0 [-k konuşmacı] [-t tür] [-p dBFS] [-g dB] [-h alım sayısı] [-s tohum] [-d veri] [-b derleme]" >&2
  exit 2
}
while getopts "k:t:s:d:b:p:g:h:" o; do
  case $o in
    k) konusmaci=$OPTARG ;; t) tur=$OPTARG ;; s) tohum=$OPTARG ;; d) veri=$OPTARG ;; b) derleme=$OPTARG ;;
    p) tepe=$OPTARG ;; g) alt=$OPTARG ;; h) alim=$OPTARG ;;
    *) kullanim ;;
  esac
done
# shellcheck source=akis-ortak.sh
. "$kok/tools/akis-ortak.sh"
g=$(mktemp -d); trap 'rm -rf "$g"' EXIT
mkdir "$g/k"

egitim=()
for ((t = 0; t < alim; t++)); do egitim+=("$t"); done
for d in 0 1 2 3 4 5 6 7 8 9; do
  alimlar=()
  for t in "${egitim[@]}"; do alimlar+=("$veri/${d}_${konusmaci}_$t.wav"); done
  havuz=(); [ "$alim" -gt 1 ] && havuz=(--havuz)
  "$toplu" egit "${havuz[@]}" --tur "$tur" -o "$g/k/$d.vlm" --soz "$d" "${hazirla[@]}" "${alimlar[@]}" \
      >>"$g/egitim.log" 2>&1 || echo "uyarı: $d eğitilemedi" >&2
done

akis_yap "$konusmaci" "$g" 9 "$tohum"

TIMEFORMAT='%U %S'
# Without a single codebook (no take had speech to train) velmo-dinle fails:
# every digit then counts as not found.
islemci=$( { time "$dinle" -d "$g/k" --girdi "$g/akis.wav" > "$g/cikti" 2>"$g/dinle.log" || true; } 2>&1 )

printf 'konuşmacı %s, tür %s, tepe %s dBFS (gürültü %s dBFS), eğitim: %s\n' "$konusmaci" "$tur" "$tepe" \
    "$gurultu" "$([ "$alim" -gt 1 ] && echo "0-$((alim - 1)). alımlar havuzda" || echo "0. alım")"
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
    printf "dinleme: sözler: %d  satırlar: %d  doğru: %d  yanlış: %d  bulunamayan: %d  fazla satır: %d  birleşen: %d\n",
           n, m, dogru, yanlis, kayip, fazla, birlesik
    printf "dinleme doğruluğu: %.1f %%\n", 100.0 * dogru / n
    for (k in karis) printf "  %s: %d\n", k, karis[k]
  }' "$g/cikti"
awk -v i="$islemci" -v s="$(soxi -D "$g/akis.wav")" 'BEGIN { split(i, p, " ")
  printf "işlemci: %.2f s, %.1f s ses için (gerçek zamanın %%%.2f)\n", p[1] + p[2], s, 100 * (p[1] + p[2]) / s }'

# The same takes as files. A line: file TAB word TAB score TAB codebook.
mapfile -t sinama < "$g/alimlar"
"$toplu" tani -d "$g/k" "${hazirla[@]}" "${sinama[@]}" > "$g/tani" 2>>"$g/tani.log" || true
awk -F'\t' '{ n++; k = split($1, p, "/"); split(p[k], q, "_"); if ($2 != "" && $2 == q[1]) d++ }
  END { printf "dosyalar: sözler: %d  doğru: %d\ndosya doğruluğu: %.1f %%\n", n, d, n ? 100.0 * d / n : 0 }' "$g/tani"
