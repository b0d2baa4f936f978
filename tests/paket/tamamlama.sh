#!/usr/bin/env bash
# bash completion offers every subcommand and option the program's --help
# names, and the right file names after the options that take them.
#   tamamlama.sh COMPLETION PROGRAM [SUBCOMMAND...]
set -uo pipefail
betik=$1 prog=$2; shift 2
hata() { echo "HATA: $*" >&2; exit 1; }
ad=$(basename "$betik")
# shellcheck disable=SC1090
. "$betik"
islev=$(complete -p "$ad" 2>/dev/null | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
[ -n "$islev" ] || hata "$ad icin tamamlama tanimlanmadi"

# Runs the completion for the words given (the last one is being typed).
tamamla() {
  COMP_WORDS=("$ad" "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  "$islev" "$ad" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort
}
# The options a help text lists: the items of its option lists ("  -d, --dizin").
secenekler() {
  grep -E '^ {1,4}-' | sed -E 's/^ +//' |
    grep -oE '^(-[a-zA-Z0-9]|--[a-zA-Z][a-zA-Z0-9-]*)(, --[a-zA-Z][a-zA-Z0-9-]*)?' | tr ',' '\n' | sed 's/ //g' | sort -u
}
icerir() {  # icerir "LIST" WORD...
  local liste=$1 s; shift
  for s in "$@"; do grep -qx -- "$s" <<<"$liste" || hata "'$s' onerilmedi (${islem:-}); oneriler: $(tr '\n' ' ' <<<"$liste")"; done
}
icermez() {
  local liste=$1 s; shift
  for s in "$@"; do grep -qx -- "$s" <<<"$liste" && hata "'$s' onerilmemeliydi (${islem:-})"; done
  return 0
}

if [ $# -gt 0 ]; then
  islem="altkomutlar"
  icerir "$(tamamla "")" "$@"
  for alt in "$@"; do
    islem="$alt secenekleri"
    mapfile -t bekle < <("$prog" "$alt" --help | secenekler)
    [ ${#bekle[@]} -ge 3 ] || hata "$alt --help secenek listesi okunamadi"
    icerir "$(tamamla "$alt" -)" "${bekle[@]}"
  done
else
  islem="secenekler"
  mapfile -t bekle < <("$prog" --help | secenekler)
  icerir "$(tamamla -)" "${bekle[@]}"
fi

# File names where they belong.
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin" && mkdir alt && touch evet.vlm hayir.VLM kayit.wav KAYIT2.WAV liste.csv notlar.txt
if [ "$ad" = velmo-toplu ]; then
  islem="egit -o"; v=$(tamamla egit -o ""); icerir "$v" evet.vlm hayir.VLM alt; icermez "$v" kayit.wav notlar.txt
  islem="egit kayitlar"; v=$(tamamla egit -o evet.vlm ""); icerir "$v" kayit.wav KAYIT2.WAV alt; icermez "$v" evet.vlm notlar.txt
  islem="tani -d"; v=$(tamamla tani -d ""); icerir "$v" alt; icermez "$v" kayit.wav evet.vlm
  islem="degerlendir --liste"; v=$(tamamla degerlendir --liste ""); icerir "$v" liste.csv; icermez "$v" kayit.wav
  islem="ciz -o"; v=$(tamamla ciz -o ""); icermez "$v" evet.vlm kayit.wav
  islem="rapor"; v=$(tamamla rapor ""); icerir "$v" evet.vlm hayir.VLM alt; icermez "$v" kayit.wav notlar.txt
  islem="rapor -"; v=$(tamamla rapor -); icermez "$v" --oo --dolgu
  islem="--ksu degeri"; v=$(tamamla egit --ksu ""); icermez "$v" kayit.wav --help
else
  islem="--girdi"; v=$(tamamla --girdi ""); icerir "$v" kayit.wav KAYIT2.WAV alt; icermez "$v" evet.vlm notlar.txt
  islem="-d"; v=$(tamamla -d ""); icerir "$v" alt; icermez "$v" evet.vlm
  islem="--komutlar"; v=$(tamamla --komutlar ""); icerir "$v" notlar.txt
fi
# The shell's own options are left as they were.
shopt -q extglob && hata "tamamlama extglob secenegini acik birakti"
echo tamam
