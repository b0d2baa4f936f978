#!/usr/bin/env bash
# The Debian package as `cpack -G DEB` makes it: the file list (dpkg-deb -c)
# holds the programs, pages, completion, library, header, pkg-config file
# and CMake package under /usr; the runtime libraries are declared; the
# unpacked programs run. Skipped (77) where dpkg-deb is missing.
#   deb.sh BUILD_DIR CPACK DINLE(1 when velmo-dinle is built)
set -uo pipefail
insa=$1 cpack=$2 dinle=$3
command -v dpkg-deb >/dev/null || { echo "dpkg-deb yok: atlandi"; exit 77; }
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT

(cd "$insa" && "$cpack" -G DEB -B "$dizin" >"$dizin/cpack.log" 2>&1) || { cat "$dizin/cpack.log" >&2; hata "cpack basarisiz"; }
paketler=("$dizin"/velmo_*.deb)
[ ${#paketler[@]} -eq 1 ] && [ -f "${paketler[0]}" ] || hata "tek bir velmo_*.deb beklendi: $(ls "$dizin")"
deb=${paketler[0]}
[[ $(basename "$deb") =~ ^velmo_[0-9.]+_[a-z0-9]+\.deb$ ]] || hata "paket adi: $(basename "$deb")"

liste=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||')
beklenen=(usr/bin/velmo usr/bin/velmo-toplu usr/share/man/man1/velmo.1 usr/share/man/man1/velmo-toplu.1
          usr/share/man/tr/man1/velmo.1 usr/share/man/tr/man1/velmo-toplu.1
          usr/share/bash-completion/completions/velmo-toplu usr/share/doc/velmo/README.md
          usr/include/velmo/tanici.h usr/lib/libvelmo.so.1 usr/lib/libvelmo.a usr/lib/pkgconfig/velmo.pc
          usr/lib/cmake/velmo/velmoConfig.cmake usr/share/man/man3/libvelmo.3 usr/share/man/man3/velmo_tani.3
          usr/share/man/tr/man3/libvelmo.3 usr/share/man/tr/man3/velmo_tani.3
          usr/share/doc/velmo/ornek/ornek.c)
[ -f "$insa/share/locale/en/LC_MESSAGES/velmo.mo" ] && beklenen+=(usr/share/locale/en/LC_MESSAGES/velmo.mo)
[ "$dinle" = 1 ] && beklenen+=(usr/bin/velmo-dinle usr/share/man/man1/velmo-dinle.1 usr/share/man/tr/man1/velmo-dinle.1
                               usr/share/bash-completion/completions/velmo-dinle)
for f in "${beklenen[@]}"; do
  grep -q "^$f\$" <<<"$liste" || grep -q "^$f/*\$" <<<"$(sed 's| ->.*||' <<<"$liste")" || hata "pakette $f yok"
done
grep -qv '^usr/' <<<"$(grep -v '^$' <<<"$liste")" && hata "paket /usr disina dosya koyuyor: $(grep -v '^usr/' <<<"$liste" | head -3)"

bagimli=$(dpkg-deb -f "$deb" Depends)
for k in libportaudio2 libsndfile1 libsoxr0 libstdc++6 libc6; do
  grep -q "$k" <<<"$bagimli" || hata "bagimliliklarda $k yok: $bagimli"
done
[ "$(dpkg-deb -f "$deb" Package)" = velmo ] || hata "paket adi alani"

# Every shared library a packaged program or library needs (and the package
# does not bring itself) belongs to a package that Depends names, so that
# `apt install ./velmo_*.deb` brings it on a machine that lacks it.
dpkg-deb -x "$deb" "$dizin/kok"
sahibi() {  # SONAME: the Debian package holding the library the loader finds
  local yol y s
  yol=$(/sbin/ldconfig -p 2>/dev/null | awk -v s="$1" '$1 == s {print $NF; exit}')
  [ -n "$yol" ] || return 1
  for y in "$yol" "$(realpath "$yol")" "${yol#/usr}" "/usr$yol"; do
    s=$(dpkg -S "$y" 2>/dev/null | head -1 | cut -d: -f1)
    [ -n "$s" ] && { echo "$s"; return 0; }
  done
  return 1
}
if command -v dpkg >/dev/null && command -v readelf >/dev/null; then
  gerekenler=$(find "$dizin/kok" -type f -exec sh -c 'head -c 4 "$1" | grep -q ELF && readelf -d "$1"' _ {} \; |
               sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort -u)
  [ -n "$gerekenler" ] || hata "paketteki programlarin kitaplik gereksinimleri okunamadi"
  for so in $gerekenler; do
    [ -n "$(find "$dizin/kok" -name "$so")" ] && continue
    paket=$(sahibi "$so") || hata "$so hangi pakette bulunamadi"
    sed -e 's/([^)]*)//g' -e 's/|/,/g' <<<"$bagimli" | tr ',' '\n' | tr -d ' ' | grep -qxF "$paket" || hata "$so gerekiyor ama $paket bagimliliklarda yok: $bagimli"
  done
fi

# Unpacked, the programs start and the library's symbols are there.
"$dizin/kok/usr/bin/velmo" --version | grep -qx "velmo [0-9.]*" || hata "paketteki velmo calismadi"
"$dizin/kok/usr/bin/velmo-toplu" --version | grep -qx "velmo-toplu [0-9.]*" || hata "paketteki velmo-toplu calismadi"
nm -D --defined-only "$dizin/kok/usr/lib/libvelmo.so.1" | grep -q " T velmo_tani" || hata "kitaplikta velmo_tani yok"
grep -q '^prefix=' "$dizin/kok/usr/lib/pkgconfig/velmo.pc" || hata "velmo.pc bozuk"
echo tamam
