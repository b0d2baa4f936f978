#!/usr/bin/env bash
# Under an English locale the three programs' help and velmo's screens are
# English (even when the locale is not installed), name the same options as
# the Turkish ones, and the main menu shows its command letters.
#   ingilizce.sh VELMO VELMO_TOPLU [VELMO_DINLE]
set -uo pipefail
velmo=$1 toplu=$2 dinle=${3:-}
hata() { echo "HATA: $*" >&2; exit 1; }
yerel() { local l=$1; shift; env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$l" "$@"; }
secenekler() { grep -oE '(^|[ ,[(])--?[a-zA-Z][a-zA-Z0-9-]*' | sed 's/^[ ,[(]//' | sort -u; }
turkce_harf() { LC_ALL=C grep -n $'[^\t -~]' | head -3; }

yardimlar=("$velmo" "$toplu" "$toplu egit" "$toplu tani" "$toplu degerlendir" "$toplu ciz" "$toplu rapor")
[ -n "$dinle" ] && yardimlar+=("$dinle")
for y in "${yardimlar[@]}"; do
  # shellcheck disable=SC2086  # a program and its subcommand
  en=$(yerel en_US.UTF-8 $y --help </dev/null) || hata "$y --help basarisiz"
  # shellcheck disable=SC2086
  tr=$(yerel C.UTF-8 $y --help </dev/null) || hata "$y --help basarisiz"
  [ "$en" != "$tr" ] && [ -z "$(turkce_harf <<<"$en")" ] ||
    hata "$y --help Ingilizce degil: $(turkce_harf <<<"$en")"
  [ "$(secenekler <<<"$en")" = "$(secenekler <<<"$tr")" ] ||
    hata "$y --help baska secenekler aniyor: $(diff <(secenekler <<<"$tr") <(secenekler <<<"$en") | tr '\n' ' ')"
done

# The main menu as plain text: the same lines, each label showing its
# command letter in brackets.
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
en=$(cd "$dizin" && printf 't\n' | yerel en_US.UTF-8 "$velmo") || hata "velmo basarisiz"
tr=$(cd "$dizin" && printf 't\n' | yerel C.UTF-8 "$velmo") || hata "velmo basarisiz"
[ "$(wc -l <<<"$en")" = "$(wc -l <<<"$tr")" ] && [ "$en" != "$tr" ] && [ -z "$(turkce_harf <<<"$en")" ] ||
  hata "ana menu Ingilizce degil:
$en"
harfler=$(grep -oE '^\[[A-Z]\] ' <<<"$en" | tr -d '[] \n')
[ "$harfler" = YEKAT ] || hata "ana menunun komut harfleri: '$harfler'"

# The sub-menus too (settings with a value out of range, both word menus,
# recognition): the same lines, no field label left in Turkish.
betik='a\no\n5\nt\ny\nt\ne\nt\nk\nx\nt\nt\n'
en=$(cd "$dizin" && printf "$betik" | yerel en_US.UTF-8 "$velmo") || hata "velmo basarisiz"
tr=$(cd "$dizin" && printf "$betik" | yerel C.UTF-8 "$velmo") || hata "velmo basarisiz"
ayni=$(comm -12 <(grep ':$' <<<"$tr" | sort -u) <(grep ':$' <<<"$en" | sort -u))
[ "$(wc -l <<<"$en")" = "$(wc -l <<<"$tr")" ] && [ -z "$ayni" ] || hata "alt menulerde Turkce etiket: $ayni"
grep -q 'Sampling rate must be 1000–192000 Hz; unchanged\.$' <<<"$en" || hata "ayar iletisi Ingilizce degil:
$en"

# Messages built with values: a kept setting's line and a usage error.
mkdir -p "$dizin/velmo" && printf 'foo = 1\n' >"$dizin/velmo/ayarlar"
en=$(XDG_CONFIG_HOME=$dizin yerel en_US.UTF-8 "$toplu" tani --red 2 x.wav 2>&1)
grep -q 'unknown setting "foo"; line skipped\.$' <<<"$en" && grep -q "^velmo-toplu: --red expects a ratio" <<<"$en" ||
  hata "degerli iletiler Ingilizce degil:
$en"
echo tamam
