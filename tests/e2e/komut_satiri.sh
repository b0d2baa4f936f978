#!/usr/bin/env bash
# velmo's command line: --help and --version answer and exit 0 without
# starting the screens, anything else is a usage error (exit 2); on a pipe
# the screens come out as plain text lines without an escape byte; --aygit
# picks the device recordings read.
set -uo pipefail
VELMO=$1
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin"

# The answers come back at once even when standard input never ends.
timeout 5 "$VELMO" --help </dev/zero >yardim 2>hata; rc=$?
[ $rc -eq 0 ] || hata "--help cikis kodu $rc"
grep -q "^Kullanım: velmo" yardim || hata "--help kullanimi yazmadi"
grep -q -- "--version" yardim || hata "--help secenekleri yazmadi"
[ -s hata ] && hata "--help standart hataya yazdi"
timeout 5 "$VELMO" --version </dev/zero >surum; rc=$?
[ $rc -eq 0 ] || hata "--version cikis kodu $rc"
grep -qx "velmo [0-9][0-9.]*" surum || hata "surum satiri yok: $(cat surum)"
for arg in "-x" "--helpp" "dosya.vlm" "--help fazla" "--kayitlar" "--kayitlar= " "--kayitlar a b"; do
  # shellcheck disable=SC2086
  timeout 5 "$VELMO" $arg </dev/zero >cikti 2>hata; rc=$?
  [ $rc -eq 2 ] || hata "'$arg' cikis kodu $rc (2 beklendi)"
  [ -s cikti ] && hata "'$arg' standart ciktiya yazdi"
  grep -q "Kullanım: velmo" hata || hata "'$arg' kullanimi gostermedi"
done
grep -q $'\x1b' yardim surum && hata "yardimda denetim dizisi"
# A relative --kayitlar from a working directory that is gone: refused with
# a line saying why, not silently.
mkdir gidecek
(cd gidecek && rmdir ../gidecek && timeout 5 "$VELMO" --kayitlar al </dev/zero >"$dizin/cikti" 2>"$dizin/hata"); rc=$?
[ $rc -eq 2 ] || hata "silinmis calisma dizininde --kayitlar cikis kodu $rc"
grep -q "Kayıt dizini al tam yola çevrilemiyor" hata || { cat hata >&2; hata "silinmis calisma dizini soylenmedi"; }

# Screens on a pipe: text lines, one per label, no escape byte anywhere.
printf 'a\nt\nt\n' | timeout 20 "$VELMO" >cikti 2>hata; rc=$?
[ $rc -eq 0 ] || hata "betik cikis kodu $rc"
grep -q $'\x1b' cikti && hata "borudaki ciktida denetim dizisi var"
grep -qx "ANA MENU" cikti || hata "ana menu satiri yok"
grep -qx "Kapat" cikti || hata "Kapat satiri yok"
grep -q "AYARLAR" cikti || hata "ayarlar ekrani yok"
[ "$(head -1 cikti)" = "VELMO(c) - TARVEN" ] || hata "ilk satir: $(head -1 cikti)"
# Two runs of the same script give the same text (so outputs can be diffed).
printf 'a\nt\nt\n' | timeout 20 "$VELMO" >cikti2 2>/dev/null
cmp -s cikti cikti2 || hata "ayni betik farkli cikti verdi"

# Devices through ALSA's file plugin: the default one reads silence, a second
# one samples of 0x4040 (-6.0 dBFS). --aygitler lists both; --aygit, by
# number or part of the name and in either order with --kayitlar, makes the
# take come from the second; a device that is not there is a usage error in
# one line, before anything is made.
"$SES" --alsa asound.conf sessiz.raw cal.raw
cat >>asound.conf <<KONF
pcm.velmo_sinama { type file; slave.pcm "null"; file "$dizin/cal2.raw"; infile "$dizin/yuksek.raw"; format "raw" }
KONF
head -c 96000 /dev/zero >sessiz.raw
head -c 96000 /dev/zero | tr '\0' '@' >yuksek.raw
export ALSA_CONFIG_PATH=$dizin/asound.conf
timeout 20 "$VELMO" --aygitler >cikti 2>hata || hata "--aygitler basarisiz: $(cat hata)"
no=$(awk -F'\t' '$2 == "velmo_sinama" { print $1 }' cikti)
[ -n "$no" ] && grep -q $'^[0-9]*\tdefault\t.*(öntanımlı)$' cikti || hata "aygit listesi: $(cat cikti)"
for arg in "--aygit yok-boyle-aygit --kayitlar al" "--kayitlar al --aygit=yok-boyle-aygit"; do
  # shellcheck disable=SC2086
  timeout 20 "$VELMO" $arg </dev/zero >cikti 2>hata; rc=$?
  [ $rc -eq 2 ] && [ ! -s cikti ] && [ "$(wc -l <hata)" -eq 1 ] && grep -q '"yok-boyle-aygit"' hata ||
    hata "'$arg' cikis kodu $rc: $(cat hata)"
done
[ -e al ] && hata "bilinmeyen aygitla kayit dizini yapildi"
for arg in "" "--aygit $no --kayitlar al" "--kayitlar al --aygit=velmo_sin"; do
  # shellcheck disable=SC2086
  printf 'y\nk\nt\nt\n' | timeout 30 "$VELMO" $arg 2>/dev/null | grep -a "Tepe düzeyi" >>tepeler
done
[ "$(grep -c -- '-6.0 dBFS' tepeler)" = 2 ] && [ "$(wc -l <tepeler)" = 3 ] || hata "aygit secilmedi: $(cat tepeler)"
echo tamam
