# Shared by tools/dinle-degerlendir.sh and tools/red-degerlendir.sh (sourced,
# not run): the checks of their common options and programs, and the stream
# of spoken FSDD digits both feed to velmo-dinle.
#
# Before sourcing: kok, veri, derleme, tepe (-p), alt (-g), alim (-h).
# After: toplu, dinle, gurultu (dBFS), hazirla (velmo-toplu's options that
# prepare a take as one microphone would hear it), YUZER (sox's float format).

[[ "$tepe" =~ ^-[0-9]+(\.[0-9]+)?$ ]] || { echo "-p: 0'dan küçük bir dBFS değeri gerekli" >&2; exit 2; }
[[ "$alt" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "-g: gürültünün tepenin kaç dB altında olduğu gerekli" >&2; exit 2; }
[[ "$alim" =~ ^[1-5]$ ]] || { echo "-h: 1 ile 5 arasında bir alım sayısı gerekli" >&2; exit 2; }
toplu=$derleme/tools/velmo-toplu; dinle=$derleme/dinle/velmo-dinle
[ -x "$toplu" ] && [ -x "$dinle" ] || { echo "programlar yok: $derleme (önce derleyin)" >&2; exit 2; }
[ -d "$veri" ] || { echo "kayıt dizini yok: $veri" >&2; exit 2; }
gurultu=$(awk -v t="$tepe" -v a="$alt" 'BEGIN { print t - a }')
hazirla=(--dolgu 0.4 --tepe "$tepe" --gurultu "$gurultu")
# The stream is put together in floating point and rounded once at the end
# without dither, as velmo-toplu prepares its files.
YUZER=(-r 12000 -c 1 -e floating-point -b 32)

# akis_yap KONUŞMACI DİZİN SON_ALIM TOHUM: takes 5 .. SON_ALIM of every digit
# of the speaker, in an order and with gaps of 0.5-1.5 s drawn from TOHUM,
# each at the peak $tepe, after 1 s of silence, with uniform noise at
# $gurultu (as velmo-toplu's --gurultu) over the whole, into DİZİN/akis.wav
# (16 bit); its truth ("start end digit") in DİZİN/dogru and the takes in
# order in DİZİN/alimlar.
akis_yap() {
  local k=$1 a=$2 son=$3 tohum=$4 i=0 bas=1 d t ara sure parcalar=()
  awk -v s="$tohum" -v son="$son" 'BEGIN { srand(s); n = 0
    for (d = 0; d < 10; d++) for (t = 5; t <= son; t++) { a[n] = d " " t; n++ }
    for (i = n - 1; i > 0; i--) { j = int(rand() * (i + 1)); x = a[i]; a[i] = a[j]; a[j] = x }
    for (i = 0; i < n; i++) printf "%s %.3f\n", a[i], 0.5 + rand() }' > "$a/sira"
  sox -D -n "${YUZER[@]}" "$a/b.wav" trim 0 1
  parcalar+=("$a/b.wav"); : > "$a/dogru"; : > "$a/alimlar"
  while read -r d t ara; do
    sox -D "$veri/${d}_${k}_${t}.wav" "${YUZER[@]}" "$a/p$i.wav" norm "$tepe"
    sure=$(soxi -D "$a/p$i.wav")
    sox -D -n "${YUZER[@]}" "$a/a$i.wav" trim 0 "$ara"
    awk -v b="$bas" -v s="$sure" -v d="$d" 'BEGIN { printf "%.4f %.4f %s\n", b, b + s, d }' >> "$a/dogru"
    bas=$(awk -v b="$bas" -v s="$sure" -v a="$ara" 'BEGIN { printf "%.6f", b + s + a }')
    parcalar+=("$a/p$i.wav" "$a/a$i.wav"); i=$((i + 1))
    echo "$veri/${d}_${k}_${t}.wav" >> "$a/alimlar"
  done < "$a/sira"
  sox -D "${parcalar[@]}" "$a/temiz.wav" pad 0 1
  awk -v n="$(soxi -s "$a/temiz.wav")" -v g="$gurultu" 'BEGIN { srand(1); a = 10 ^ (g / 20)
    print "; Sample Rate 12000"; print "; Channels 1"
    for (i = 0; i < n; i++) printf "%.6f %.10f\n", i / 12000, a * (2 * rand() - 1) }' > "$a/gurultu.dat"
  sox -D "$a/gurultu.dat" -e floating-point -b 32 "$a/gurultu.wav"
  sox -D -m -v 1 "$a/temiz.wav" -v 1 "$a/gurultu.wav" -r 12000 -c 1 -b 16 -e signed-integer "$a/akis.wav"
}
