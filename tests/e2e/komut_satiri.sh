#!/usr/bin/env bash
# velmo's command line: --help and --version answer and exit 0 without
# starting the screens, anything else is a usage error (exit 2); on a pipe
# the screens come out as plain text lines without an escape byte.
set -uo pipefail
VELMO=$1
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
echo tamam
