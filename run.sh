#!/usr/bin/env bash
# Installs what velmo needs to build and run (if anything is missing), builds
# the program alone, saying each step, and starts it. The tests and the other
# programs are test.sh's and a full build's (cmake --build build).
set -euo pipefail
cd "$(dirname "$0")"
echo "== Gerekenler denetleniyor (scripts/kur.sh --calistirma)"
./scripts/kur.sh --calistirma
echo "== Yapılandırılıyor (build/)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DVELMO_BENCH=OFF >/dev/null
echo "== velmo derleniyor"
cmake --build build --target velmo -j"$(nproc)"
echo "== velmo başlıyor"
exec ./build/app/velmo "$@"
