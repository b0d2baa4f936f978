#!/usr/bin/env bash
# Installs what is missing, builds, and starts velmo.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/kur.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
exec ./build/app/velmo "$@"
