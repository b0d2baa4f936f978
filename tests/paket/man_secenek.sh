#!/usr/bin/env bash
# Every option a program's --help names (and each subcommand's --help) is
# described in its manual page; the page formats without a warning.
#   man_secenek.sh PAGE PROGRAM [SUBCOMMAND...]
set -uo pipefail
sayfa=$1 prog=$2; shift 2
hata() { echo "HATA: $*" >&2; exit 1; }

# Options as help texts write them: at a line's start or after a blank,
# comma, bracket or parenthesis, a dash and a letter.
secenekler() { grep -oE '(^|[ ,[(])--?[a-zA-Z][a-zA-Z0-9-]*' | sed 's/^[ ,[(]//' | sort -u; }

# A page under tr/ is Turkish, the others English: each is checked against
# the help in its own language, and for its own section names.
case $sayfa in
  */tr/*) dil=tr bolumler=("AD" "ÖZET" "AÇIKLAMA" "SEÇENEKLER" "ÇIKIŞ DURUMU" "DOSYALAR" "ÖRNEKLER") ;;
  *) dil=en bolumler=("NAME" "SYNOPSIS" "DESCRIPTION" "OPTIONS" "EXIT STATUS" "FILES" "EXAMPLES") ;;
esac
dilde() { LC_ALL=C.UTF-8 LANGUAGE=$dil "$@"; }

yardim=$(dilde "$prog" --help) || hata "$prog --help basarisiz"
for alt in "$@"; do
  yardim+=$'\n'$(dilde "$prog" "$alt" --help) || hata "$prog $alt --help basarisiz"
done
liste=$(secenekler <<<"$yardim")
[ "$(wc -l <<<"$liste")" -ge 2 ] || hata "yardimda secenek bulunamadi"

# The page's source with roff's escaped hyphens and font changes undone.
metin=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$sayfa")
eksik=()
while read -r s; do
  grep -qE -- "(^|[^a-zA-Z0-9-])${s}([^a-zA-Z0-9-]|$)" <<<"$metin" || eksik+=("$s")
done <<<"$liste"
[ ${#eksik[@]} -eq 0 ] || hata "$sayfa su secenekleri anlatmiyor: ${eksik[*]}"

for bolum in "${bolumler[@]}"; do
  grep -qx "\.SH $bolum" "$sayfa" || hata "$sayfa: '$bolum' bolumu yok"
done
if command -v groff >/dev/null; then
  uyari=$(groff -ww -K utf8 -man -Tutf8 -z "$sayfa" 2>&1)
  [ -z "$uyari" ] || hata "$sayfa: groff uyarisi: $uyari"
fi
if command -v lexgrog >/dev/null; then
  lexgrog "$sayfa" >/dev/null || hata "$sayfa: ad satiri ayristirilamadi (whatis/apropos)"
fi
echo "tamam: $(wc -l <<<"$liste") secenek"
