#!/usr/bin/env bash
# Standard input that is not a terminal is a script; end of input ends the
# program with exit code 0 wherever it comes, and any bytes are survived.
set -uo pipefail
VELMO=$1
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
cd "$dizin"

calistir() {  # input on stdin; fails on a non-zero exit or a hang
  timeout 20 "$VELMO" >"$dizin/cikti" 2>"$dizin/hata"
  local rc=$?
  [ $rc -eq 0 ] || hata "cikis kodu $rc ($1)"
}

printf 'q\n7\n\n' | calistir "q 7 bos"
grep -q "ANA MENU" "$dizin/cikti" || hata "ana menu cizilmedi"
[ "$(grep -o 'ANA MENU' "$dizin/cikti" | wc -l)" -eq 4 ] || hata "her komutta bir kez cizilmeli"
printf '' | calistir "bos girdi"
printf 'y' | calistir "satir sonu olmadan"
printf 't\n' | calistir "kapat"
printf 'y\ne\nk\na\n' | calistir "etkinlikler"
# A codebook file that is not there is named in the existing-word menu.
printf 'e\na\nyok.vlm\nt\nt\n' | calistir "olmayan kural dosyasi"
grep -qF "$dizin/yok.vlm" "$dizin/cikti" || hata "olmayan kural dosyasi adiyla bildirilmedi"
head -c 200000 /dev/urandom | calistir "rastgele baytlar"
{ printf 'x%.0s' $(seq 1 100000); printf '\n\001\002\033[A\377\376\n'; } | calistir "uzun satir ve denetim karakterleri"
# Kept settings: read at start, written by the settings menu's "Hatirla".
mkdir -p "$dizin/ayar/velmo"
echo "ksu = 2" > "$dizin/ayar/velmo/ayarlar"
printf 'a\nt\nt\n' | XDG_CONFIG_HOME="$dizin/ayar" calistir "kalici ayar"
grep -A1 "Kayit Suresi" "$dizin/cikti" | grep -qx "2 s" || hata "kalici ksu = 2 ekranda yok"
printf 'a\nh\nt\nt\n' | XDG_CONFIG_HOME="$dizin/yeni" calistir "ayarlari yaz"
grep -qx "ksu = 3" "$dizin/yeni/velmo/ayarlar" || hata "ayarlar yazilmadi"
echo "tamam"
