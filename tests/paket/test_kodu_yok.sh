#!/usr/bin/env bash
# The shipped programs and the library carry no test code: no in-memory sound
# device and no failure hook among their symbols. The first argument is a
# test program that does carry them, so the search itself is shown to work.
#   test_kodu_yok.sh TEST-PROGRAM SHIPPED...
set -uo pipefail
hata() { echo "HATA: $*" >&2; exit 1; }
command -v nm >/dev/null || { echo "nm yok; atlandi"; exit 77; }
desen='SahteAygit|SAHTE_AYGIT|(^| )sahte$|bellek_hata_sirasi|ses_bekleme_siniri_ms'
semboller() { { nm -C "$1" 2>/dev/null; nm -C -D "$1" 2>/dev/null; } | awk '{ $1 = ""; print }' | sed 's/^ *[A-Za-z] //'; }

ornek=$1; shift
bulunan=$(semboller "$ornek" | grep -E "$desen" | sort -u | wc -l)
[ "$bulunan" -ge 3 ] || hata "$ornek icinde test kodu bulunamadi: arama bozuk"
for prog in "$@"; do
  [ -f "$prog" ] || hata "$prog yok"
  fazla=$(semboller "$prog" | grep -E "$desen" | sort -u)
  [ -z "$fazla" ] || hata "$prog test kodu iceriyor: $fazla"
done
echo "tamam: $# program"
