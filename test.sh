#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole test suite twice:
# a normal build and an AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/kur.sh
j=$(nproc)
# The kept settings of whoever runs this never reach the tests, and no test
# writes them.
XDG_CONFIG_HOME=$(mktemp -d)
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
for tur in normal sanitizer; do
  if [ "$tur" = normal ]; then
    # (run.sh configures the same folder without the tests)
    dizin=build; secenek=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DVELMO_BENCH=ON)
  else
    dizin=build-san; secenek=(-DCMAKE_BUILD_TYPE=Debug -DVELMO_SANITIZE=ON -DVELMO_BENCH=OFF)
  fi
  echo "== $tur =="
  cmake -S . -B "$dizin" "${secenek[@]}" >/dev/null
  cmake --build "$dizin" -j"$j"
  (cd "$dizin" && ctest --output-on-failure -j"$j" --timeout 600)
done
# The file and analysis readers face every byte a file or a setting can give:
# a short libFuzzer run on each seed corpus (clang).
if ls fuzz/fuzz_*.cpp >/dev/null 2>&1; then
  echo "== fuzz =="
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DVELMO_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build-fuzz -j"$j"
  (cd build-fuzz && ctest --output-on-failure --timeout 600)
fi
