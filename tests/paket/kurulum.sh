#!/usr/bin/env bash
# `cmake --install` into a temporary prefix, as a user without root would:
# exactly the expected tree, and installed programs that run.
#   kurulum.sh BUILD_DIR DINLE(1 when velmo-dinle is built) LIBDIR
set -uo pipefail
insa=$1 dinle=$2 lib=$3
hata() { echo "HATA: $*" >&2; exit 1; }
onek=$(mktemp -d); trap 'rm -rf "$onek"' EXIT

cmake --install "$insa" --prefix "$onek" >"$onek.log" 2>&1 || { cat "$onek.log" >&2; rm -f "$onek.log"; hata "kurulum basarisiz"; }
rm -f "$onek.log"

beklenen=(bin/velmo bin/velmo-toplu share/man/man1/velmo.1 share/man/man1/velmo-toplu.1
          share/man/tr/man1/velmo.1 share/man/tr/man1/velmo-toplu.1
          share/bash-completion/completions/velmo-toplu share/doc/velmo/README.md
          include/velmo/tanici.h "$lib/libvelmo.a" "$lib/libvelmo.so" "$lib/libvelmo.so.1" "$lib/libvelmo.so.1.1"
          "$lib/pkgconfig/velmo.pc" "$lib/cmake/velmo/velmoConfig.cmake" "$lib/cmake/velmo/velmoConfigVersion.cmake"
          "$lib/cmake/velmo/velmoHedefleri.cmake" "$lib/cmake/velmo/velmoHedefleri-YAPI.cmake"
          share/man/man3/libvelmo.3 share/man/tr/man3/libvelmo.3 share/doc/velmo/ornek/ornek.c)
for f in velmo_egit velmo_tanici_ac velmo_tani velmo_tani_guven velmo_hata velmo_tanici_kapat velmo_surum; do
  beklenen+=("share/man/man3/$f.3" "share/man/tr/man3/$f.3")
done
if [ "$dinle" = 1 ]; then
  beklenen+=(bin/velmo-dinle share/man/man1/velmo-dinle.1 share/man/tr/man1/velmo-dinle.1
             share/bash-completion/completions/velmo-dinle)
fi
# The Python module, in the site directory of the Python the build found.
py=$(cd "$onek" 2>/dev/null && find . -path '*/velmo/__init__.py' -o -path '*/velmo/_kurulum.py' | sed 's|^\./||')
while read -r f; do
  [ -n "$f" ] || continue
  [[ $f =~ ^lib/python3(\.[0-9]+)?/(site|dist)-packages/velmo/(__init__|_kurulum)\.py$ ]] || hata "Python modulu yeri: $f"
  beklenen+=("$f")
done <<<"$py"
# The English catalogue, when the build made one (msgfmt found).
katalog=share/locale/en/LC_MESSAGES/velmo.mo
[ -f "$insa/$katalog" ] && beklenen+=("$katalog")
# (the targets file of the build type carries its name)
bulunan=$(cd "$onek" && find . -type f -o -type l | sed -e 's|^\./||' -e 's|velmoHedefleri-[a-z]*\.cmake|velmoHedefleri-YAPI.cmake|' | sort)
istenen=$(printf '%s\n' "${beklenen[@]}" | sort)
[ "$bulunan" = "$istenen" ] || hata "kurulan agac beklenenden farkli:
$(diff <(echo "$istenen") <(echo "$bulunan"))"

for p in velmo velmo-toplu; do
  [ -x "$onek/bin/$p" ] || hata "bin/$p calistirilabilir degil"
  surum=$("$onek/bin/$p" --version </dev/null) || hata "kurulan $p --version basarisiz"
  grep -qx "$p [0-9][0-9.]*" <<<"$surum" || hata "kurulan $p surumu: $surum"
done
if [ "$dinle" = 1 ]; then
  "$onek/bin/velmo-dinle" --version </dev/null | grep -qx "velmo-dinle [0-9][0-9.]*" || hata "kurulan velmo-dinle --version"
fi
if command -v man >/dev/null; then
  for s in "$onek"/share/man/man1/*.1 "$onek"/share/man/tr/man1/*.1 "$onek"/share/man/{,tr/}man3/libvelmo.3; do
    bolum=EXAMPLES
    [[ $s == */tr/* ]] && bolum=ÖRNEKLER
    [ -n "$(MANWIDTH=80 LANG=C.UTF-8 man -l "$s" 2>/dev/null | grep "$bolum")" ] || hata "$s man ile okunamadi"
  done
fi
# The installed program finds the installed catalogue, wherever the prefix.
if [ -f "$insa/$katalog" ]; then
  en=$(env -u VELMO_LOCALEDIR -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=en_US.UTF-8 "$onek/bin/velmo" --help)
  tr=$(env -u VELMO_LOCALEDIR -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8 "$onek/bin/velmo" --help)
  [ "$en" != "$tr" ] || hata "kurulan velmo Ingilizce katalogu bulmuyor"
fi
# Only the library's own functions are exported.
disari=$(nm -D --defined-only "$onek/$lib/libvelmo.so" | awk '$2 == "T" {print $3}' | sed 's/@.*//' | sort | tr '\n' ' ')
[ "$disari" = "velmo_egit velmo_hata velmo_surum velmo_tani velmo_tani_guven velmo_tanici_ac velmo_tanici_kapat " ] ||
  hata "kitaplik baska islevler de disa veriyor: $disari"
echo tamam
