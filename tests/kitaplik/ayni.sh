#!/usr/bin/env bash
# libvelmo through a C program gives what the programs give: the same takes
# train byte-identical codebook files and reports as velmo-toplu, and a
# recording is recognised with velmo-toplu's word and score. Also: a take at
# another rate is converted, threads with a handle each answer alike, wrong
# calls give 1 and a message.
#   ayni.sh ORNEK VELMO-TOPLU
set -u
ORNEK=$1 TOPLU=$2
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin"
ham=(-t raw -r 12000 -c 1 -b 16 -e signed-integer -L)
ses() {  # WORD NAME SECONDS [options]: NAME.raw and NAME.wav, the same samples
  "$SES" -g 0.003 "${@:4}" "$1" "$2.raw" "$3"
  sox "${ham[@]}" "$2.raw" "$2.wav"
}
ses merhaba m1 3; ses merhaba m2 3 -p 65 -s 140; ses tamam t1 3 -p 45; ses tamam t2 3 -p 60 -s 160
ses merhaba mt 2 -p 40; ses tamam tt 2 -p 55

mkdir c t
"$ORNEK" egit c/merhaba.vlm merhaba 12000 1 m1.raw m2.raw >cikti 2>&1 || hata "kitaplik egitemedi"
[ -s cikti ] && hata "kitaplik bir sey yazdi: $(head -3 cikti)"
"$ORNEK" egit c/tamam.vlm tamam 12000 2 t1.raw t2.raw || hata "kitaplik egitemedi (tur 2)"
"$TOPLU" egit -o t/merhaba.vlm m1.wav m2.wav >/dev/null || hata "velmo-toplu egitemedi"
"$TOPLU" egit -o t/tamam.vlm --tur 2 t1.wav t2.wav >/dev/null || hata "velmo-toplu egitemedi (tur 2)"
# Kind 3 (thresholds from the lead-in, sections) the same way.
mkdir c3 t3
"$ORNEK" egit c3/merhaba.vlm merhaba 12000 3 m1.raw m2.raw || hata "kitaplik tur 3 egitemedi"
"$ORNEK" egit c3/tamam.vlm tamam 12000 3 t1.raw t2.raw || hata "kitaplik tur 3 egitemedi"
"$TOPLU" egit -o t3/merhaba.vlm --tur 3 m1.wav m2.wav >/dev/null || hata "velmo-toplu tur 3 egitemedi"
cmp -s c3/merhaba.vlm t3/merhaba.vlm && cmp -s c3/merhaba.vlm.txt t3/merhaba.vlm.txt || hata "tur 3 dosyalari farkli"
"$ORNEK" tani c3 12000 mt.raw tt.raw | cut -f2,5 | tr '\n' ' ' | grep -qx $'merhaba\t3 tamam\t3 ' ||
  hata "tur 3 ile taninmadi: $("$ORNEK" tani c3 12000 mt.raw tt.raw)"

for f in merhaba.vlm merhaba.vlm.txt tamam.vlm tamam.vlm.txt; do
  cmp -s "c/$f" "t/$f" || hata "$f kitaplikla velmo-toplu'da farkli"
done

# Recognition of 2-second takes, as velmo-toplu tani's 2-second recording.
"$ORNEK" tani c 12000 mt.raw tt.raw | sed 's/\.raw\t/\t/' | cut -f1-4 >kitaplik.txt || hata "kitaplik tanimadi"
"$TOPLU" tani -d t mt.wav tt.wav | sed 's/\.wav\t/\t/' >toplu.txt
diff toplu.txt kitaplik.txt >&2 || hata "tanimalar farkli"
grep -q $'^mt\tmerhaba\t' kitaplik.txt && grep -q $'^tt\ttamam\t.*\ttamam.vlm$' kitaplik.txt || hata "yanlis sozcuk: $(cat kitaplik.txt)"
grep -q $'\t2$' <("$ORNEK" tani c 12000 tt.raw) || hata "kazananin turu yazilmadi"

# Codebooks of other analysis settings in one directory: each is scored
# against the recording analysed with its own settings.
mkdir k2 && cp c/merhaba.vlm k2/
"$TOPLU" egit -o k2/tamam25.vlm --pensu 25 --admsu 12 t1.wav t2.wav >/dev/null || hata "egit --pensu 25"
"$ORNEK" tani k2 12000 tt.raw mt.raw | cut -f2-4 >karisik.txt
beklenen=$("$TOPLU" tani -d k2 --pensu 25 --admsu 12 tt.wav 2>/dev/null | cut -f2-4)
[ "$(head -1 karisik.txt)" = "$beklenen" ] || hata "kendi ayarli kural kitabi: '$(head -1 karisik.txt)' <> '$beklenen'"
grep -q $'^merhaba	.*	merhaba.vlm$' <(tail -1 karisik.txt) || hata "ayarlari farkli dizinde merhaba taninmadi"

# The same take at 16 kHz: converted to the codebooks' 12 kHz, still the word.
sox "${ham[@]}" mt.raw -r 16000 -t raw -b 16 -e signed-integer -L mt16.raw
"$ORNEK" tani c 16000 mt16.raw | grep -q $'\tmerhaba\t' || hata "16 kHz kayit taninmadi"

"$ORNEK" esli c 12000 tt.raw >/dev/null || hata "es zamanli tanima farkli yanit verdi"
"$ORNEK" sinir c >/dev/null || hata "yanlis cagrilar"
echo tamam
