#!/usr/bin/env bash
# libvelmo's threaded test (test_kitaplik_esli) under ThreadSanitizer: a build
# of its own, configured once, of the library and that test only, then the
# test; any report fails it.
#   esli_tsan.sh SOURCE_DIR BUILD_DIR C_COMPILER CXX_COMPILER GENERATOR
set -euo pipefail
kaynak=$1 insa=$2 cc=$3 cxx=$4 uretec=$5
mkdir -p "$insa"
gunluk=$insa/insa.log
bayrak="-fsanitize=thread -fno-omit-frame-pointer"
if [ ! -f "$insa/CMakeCache.txt" ]; then
  cmake -S "$kaynak" -B "$insa" -G "$uretec" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_C_FLAGS="$bayrak" -DCMAKE_CXX_FLAGS="$bayrak" \
    -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DCMAKE_SHARED_LINKER_FLAGS=-fsanitize=thread \
    -DVELMO_BENCH=OFF >"$gunluk" 2>&1 || { cat "$gunluk" >&2; exit 1; }
fi
cmake --build "$insa" --target test_kitaplik_esli -j"$(nproc)" >"$gunluk" 2>&1 || { tail -40 "$gunluk" >&2; exit 1; }
TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1" "$insa/tests/kitaplik/test_kitaplik_esli"
