#!/usr/bin/env bash
# How velmo-dinle refuses words nobody taught it, measured on streams of
# spoken digits from the FSDD recordings kept beside the project (not part
# of it):
#
#   tools/red-degerlendir.sh [-k "KONUŞMACILAR"] [-t TÜR] [-h ALIM] [-p DBFS]
#                            [-g DB] [-H HASSASİYET] [-o ÖĞRETİLEN] [-c EĞRİ.svg]
#                            [-d VERİ] [-b DERLEME]
#
# For every speaker (-k, default "george jackson lucas") and every half of
# the digits (-o, default "01234 56789": first 0-4 taught and 5-9 not, then
# the other way round), the taught digits are trained from takes 0 .. ALIM-1
# (-h, default 5, pooled; -h 1 one take) of kind -t (default 3; "karma":
# digits 0-4 kind 1 and 5-9 kind 3, one directory), as one
# microphone would hear them (peak -p dBFS, default -6; white noise -g dB
# below it, default 48). The stream: takes 5-14 of all ten digits (50 taught,
# 50 untaught) shuffled with 0.5-1.5 s between them, noise over the whole.
# velmo-dinle listens to it once with refusal off (--hassasiyet 1 --json);
# as refusal by sensitivity h only asks whether the winner's confidence is
# below 1 - h, every other sensitivity is read from the same run. Each
# spoken digit is matched with the result line that overlaps it most.
#
# Prints, for the sensitivity -H (default velmo-dinle's, 0.5): taught words
# right, wrong (another word accepted) and refused (or not found), and
# untaught words accepted; then the same over the knob from 0 to 1. With -c
# the curve (taught right against untaught accepted) is drawn as SVG.
set -euo pipefail
kok=$(cd "$(dirname "$0")/.." && pwd)
konusmacilar="george jackson lucas"; tur=3; alim=5; tepe=-6; alt=48; hassasiyet=0.5
yarilar="01234 56789"; egri=""; veri=$kok/../shared/data/fsdd/recordings; derleme=$kok/build
kullanim() {
  echo "kullanım: $0 [-k konuşmacılar] [-t tür] [-h alım] [-p dBFS] [-g dB] [-H hassasiyet] [-o öğretilenler] [-c eğri.svg] [-d veri] [-b derleme]" >&2
  exit 2
}
while getopts "k:t:h:p:g:H:o:c:d:b:" o; do
  case $o in
    k) konusmacilar=$OPTARG ;; t) tur=$OPTARG ;; h) alim=$OPTARG ;; p) tepe=$OPTARG ;; g) alt=$OPTARG ;;
    H) hassasiyet=$OPTARG ;; o) yarilar=$OPTARG ;; c) egri=$OPTARG ;; d) veri=$OPTARG ;; b) derleme=$OPTARG ;;
    *) kullanim ;;
  esac
done
[[ "$tur" =~ ^([123]|karma)$ ]] || { echo "-t: 1, 2, 3 ya da karma gerekli" >&2; exit 2; }
[[ "$hassasiyet" =~ ^(0(\.[0-9]+)?|1(\.0+)?)$ ]] || { echo "-H: 0 ile 1 arasında bir hassasiyet gerekli" >&2; exit 2; }
for y in $yarilar; do [[ "$y" =~ ^[0-9]+$ ]] || { echo "-o: rakam kümeleri gerekli (örneğin \"01234 56789\")" >&2; exit 2; }; done
# shellcheck source=akis-ortak.sh
. "$kok/tools/akis-ortak.sh"
command -v python3 >/dev/null || { echo "python3 gerekli" >&2; exit 2; }
g=$(mktemp -d); trap 'rm -rf "$g"' EXIT
# VELMO_ESLESME=FILE keeps the matched lines (speaker, taught, digit, word, confidence, score).
[ -n "${VELMO_ESLESME:-}" ] && trap 'cp "$g/eslesme" "$VELMO_ESLESME"; rm -rf "$g"' EXIT

havuz=(); [ "$alim" -gt 1 ] && havuz=(--havuz)
: > "$g/eslesme"
for k in $konusmacilar; do
  mkdir -p "$g/$k"; akis_yap "$k" "$g/$k" 14 7
  for y in $yarilar; do
    kd="$g/$k/k$y"; mkdir -p "$kd"
    for ((j = 0; j < ${#y}; j++)); do
      d=${y:j:1}; alimlar=()
      for ((t = 0; t < alim; t++)); do alimlar+=("$veri/${d}_${k}_$t.wav"); done
      dtur=$tur; [ "$tur" = karma ] && { [ "$d" -lt 5 ] && dtur=1 || dtur=3; }
      "$toplu" egit "${havuz[@]}" --tur "$dtur" -o "$kd/$d.vlm" --soz "$d" "${hazirla[@]}" "${alimlar[@]}" \
          >>"$g/egitim.log" 2>&1 || echo "uyarı: $k $d eğitilemedi" >&2
    done
    "$dinle" -d "$kd" --girdi "$g/$k/akis.wav" --json --hassasiyet 1 > "$kd/cikti" 2>>"$g/dinle.log" || true
    # One line per spoken digit: speaker, taught?, truth, word heard ("" none), confidence.
    python3 - "$g/$k/dogru" "$kd/cikti" "$y" "$k" >> "$g/eslesme" <<'PY'
import json, sys
dogru = [l.split() for l in open(sys.argv[1])]
cikti = [json.loads(l) for l in open(sys.argv[2]) if l.strip()]
for b, e, d in dogru:
    b, e = float(b), float(e); en, eniyi = 0.0, None
    for c in cikti:
        o = min(e, c["bitis"]) - max(b, c["baslangic"])
        if o > en: en, eniyi = o, c
    soz = eniyi["soz"] if eniyi else ""
    guven = eniyi["guven"] if eniyi and eniyi["guven"] is not None else 0
    puan = eniyi["puan"] if eniyi and eniyi["puan"] is not None else -1
    print(sys.argv[4], int(d in sys.argv[3]), d, soz or "-", guven, puan)
PY
  done
done

python3 - "$g/eslesme" "$hassasiyet" "$egri" "$tur" "$alim" "$tepe" <<'PY'
import sys
satirlar = [l.split() for l in open(sys.argv[1])]
h0, egri = float(sys.argv[2]), sys.argv[3]
def say(h):
    dogru = yanlis = red = ogretilen = kabul = ogretilmeyen = 0
    for _, ogr, d, soz, guven, _ in satirlar:
        kabul_ = soz != "-" and float(guven) >= 1 - h
        if ogr == "1":
            ogretilen += 1
            if not kabul_: red += 1
            elif soz == d: dogru += 1
            else: yanlis += 1
        else:
            ogretilmeyen += 1; kabul += kabul_
    y = lambda a, b: 100.0 * a / b if b else 0.0
    return y(dogru, ogretilen), y(yanlis, ogretilen), y(red, ogretilen), y(kabul, ogretilmeyen), ogretilen, ogretilmeyen
s = say(h0)
print(f"tür {sys.argv[4]}, {sys.argv[5]} alım, tepe {sys.argv[6]} dBFS; {s[4]} öğretilmiş, {s[5]} öğretilmemiş söz")
print(f"hassasiyet {h0:g}: öğretilmiş doğru {s[0]:.1f} %  yanlış {s[1]:.1f} %  geri çevrilen {s[2]:.1f} %"
      f"  öğretilmemiş kabul {s[3]:.1f} %")
print("hassasiyet  doğru  yanlış  geri  öğretilmemiş-kabul")
egriler = []
for i in range(21):
    h = i / 20; r = say(h); egriler.append((h, r))
    print(f"  {h:4.2f}    {r[0]:5.1f}  {r[1]:5.1f}  {r[2]:5.1f}  {r[3]:5.1f}")
if egri:
    G, Y, K = 480, 360, 50  # size and margin
    x = lambda v: K + v / 100 * (G - 2 * K)
    yy = lambda v: Y - K - v / 100 * (Y - 2 * K)
    o = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{G}" height="{Y}" font-family="sans-serif" font-size="11">',
         f'<rect width="{G}" height="{Y}" fill="white"/>']
    for v in range(0, 101, 20):
        o.append(f'<line x1="{x(v)}" y1="{yy(0)}" x2="{x(v)}" y2="{yy(100)}" stroke="#ddd"/>')
        o.append(f'<line x1="{x(0)}" y1="{yy(v)}" x2="{x(100)}" y2="{yy(v)}" stroke="#ddd"/>')
        o.append(f'<text x="{x(v)}" y="{yy(0) + 14}" text-anchor="middle">{v}</text>')
        o.append(f'<text x="{x(0) - 6}" y="{yy(v) + 4}" text-anchor="end">{v}</text>')
    o.append(f'<text x="{G / 2}" y="{Y - 10}" text-anchor="middle">öğretilmemiş sözlerden kabul edilen (%)</text>')
    o.append(f'<text x="14" y="{Y / 2}" transform="rotate(-90 14 {Y / 2})" text-anchor="middle">'
             'öğretilmiş sözlerden doğru (%)</text>')
    n = " ".join(f"{x(r[3]):.1f},{yy(r[0]):.1f}" for _, r in egriler)
    o.append(f'<polyline points="{n}" fill="none" stroke="#1f5fa8" stroke-width="2"/>')
    for h, r in egriler:
        if round(h * 20) % 4 == 0 or abs(h - h0) < 1e-9:
            renk = "#c0392b" if abs(h - h0) < 1e-9 else "#1f5fa8"
            o.append(f'<circle cx="{x(r[3]):.1f}" cy="{yy(r[0]):.1f}" r="3.5" fill="{renk}"/>')
            o.append(f'<text x="{x(r[3]) + 6:.1f}" y="{yy(r[0]) + 12:.1f}" fill="{renk}">{h:g}</text>')
    o.append(f'<text x="{G / 2}" y="18" text-anchor="middle">velmo-dinle: hassasiyete göre (noktaların yanında)</text>')
    o.append('</svg>')
    open(egri, "w").write("\n".join(o) + "\n")
    print(f"eğri: {egri}")
PY
