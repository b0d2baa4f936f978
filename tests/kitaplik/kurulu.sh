#!/usr/bin/env bash
# The installed libvelmo as a user's program finds it: installed into a
# temporary prefix, the C example is built through pkg-config (shared and
# static) and through CMake's find_package(velmo), and each build trains two
# words from spoken takes and recognises new takes of them, finding the
# library with no LD_LIBRARY_PATH. The example installed with the library is
# built with the README's line and does the same.
#   kurulu.sh BUILD_DIR EXAMPLE.c "EXTRA C FLAGS"
set -u
insa=$1 ornek=$2 bayrak=$3
SES="$(cd "$(dirname "$0")" && pwd)/../audio/ses_hazirla.sh"
hata() { echo "HATA: $*" >&2; exit 1; }
dizin=$(mktemp -d); trap 'rm -rf "$dizin"' EXIT
onek=$dizin/onek
cmake --install "$insa" --prefix "$onek" >"$dizin/kurulum.log" 2>&1 || { cat "$dizin/kurulum.log" >&2; hata "kurulum"; }
cd "$dizin"
unset LD_LIBRARY_PATH
[ -f "$onek/include/velmo/tanici.h" ] || hata "baslik kurulmadi"
pc=$(dirname "$(find "$onek" -name velmo.pc | head -1)")
[ -n "$pc" ] || hata "velmo.pc kurulmadi"
export PKG_CONFIG_PATH=$pc
libdir=$(pkg-config --variable=libdir velmo)
[[ -f $libdir/libvelmo.so && $(realpath "$libdir") == "$(realpath "$onek")"/* ]] ||
  hata "pkg-config libdir kurulan yeri gostermiyor: $libdir"

# shellcheck disable=SC2086
cc -std=c11 -Wall -Werror $bayrak "$ornek" $(pkg-config --cflags --libs velmo) -lpthread -o ornek_pc ||
  hata "pkg-config ile derlenemedi"
# shellcheck disable=SC2086
cc -std=c11 $bayrak "$ornek" $(pkg-config --cflags velmo) "$libdir/libvelmo.a" $(pkg-config --static --libs-only-l velmo | sed 's/-lvelmo//') -lpthread -o ornek_duragan ||
  hata "duragan kitaplikla derlenemedi"
ldd ornek_duragan | grep -q libvelmo && hata "duragan derleme paylasimli kitapliga bagli"
kurulan=$onek/share/doc/velmo/ornek/ornek.c
# shellcheck disable=SC2086
cc $bayrak "$kurulan" $(pkg-config --cflags --libs velmo) -o ornek_kurulan || hata "kurulan ornek derlenemedi"

mkdir proje
cat >proje/CMakeLists.txt <<CM
cmake_minimum_required(VERSION 3.25)
project(ornek C)
find_package(velmo 1.0 REQUIRED)
find_package(Threads REQUIRED)
add_executable(ornek_cmake $ornek)
target_link_libraries(ornek_cmake PRIVATE velmo::velmo Threads::Threads)
CM
cmake -S proje -B proje/insa -DCMAKE_PREFIX_PATH="$onek" -DCMAKE_C_FLAGS="$bayrak" >proje.log 2>&1 &&
  cmake --build proje/insa >>proje.log 2>&1 || { cat proje.log >&2; hata "find_package(velmo) ile derlenemedi"; }

"$SES" -g 0.003 evet e1.raw 3; "$SES" -g 0.003 -p 65 -s 140 evet e2.raw 3
"$SES" -g 0.003 -p 45 hayır h1.raw 3; "$SES" -g 0.003 -p 60 -s 160 hayır h2.raw 3
"$SES" -g 0.003 -p 40 evet et.raw 2; "$SES" -g 0.003 -p 55 hayır ht.raw 2
for p in ornek_pc ornek_duragan proje/insa/ornek_cmake; do
  rm -rf k && mkdir k
  ./$p egit k/evet.vlm evet 12000 1 e1.raw e2.raw || hata "$p egitemedi"
  ./$p egit k/hayir.vlm hayır 12000 1 h1.raw h2.raw || hata "$p egitemedi"
  sonuc=$(./$p tani k 12000 et.raw ht.raw) || hata "$p tanimadi: $sonuc"
  [ "$(cut -f2 <<<"$sonuc" | tr '\n' ' ')" = "evet hayır " ] || hata "$p yanlis tanidi: $sonuc"
done
rm -rf k && mkdir k
./ornek_kurulan egit k/evet.vlm evet e1.raw e2.raw >/dev/null && ./ornek_kurulan egit k/hayir.vlm hayır h1.raw h2.raw >/dev/null ||
  hata "kurulan ornek egitemedi"
sonuc=$(./ornek_kurulan tani k et.raw ht.raw) || hata "kurulan ornek tanimadi: $sonuc"
[ "$(cut -f2 <<<"$sonuc" | tr '\n' ' ')" = "evet hayır " ] || hata "kurulan ornek yanlis tanidi: $sonuc"
echo tamam
