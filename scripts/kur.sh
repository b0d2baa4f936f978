#!/usr/bin/env bash
# Installs what Velmo needs to build and test on Debian, if anything is missing.
set -euo pipefail
paketler=(cmake g++ make pkg-config locales libgtest-dev libgmock-dev libbenchmark-dev
          portaudio19-dev libasound2-dev libsndfile1-dev
          libsoxr-dev nlohmann-json3-dev libcli11-dev dpkg-dev
          clang tmux espeak-ng sox libsox-fmt-all python3)
eksik=()
for p in "${paketler[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || eksik+=("$p")
done
[ ${#eksik[@]} -eq 0 ] && exit 0
echo "Kuruluyor: ${eksik[*]}"
sudo_kom=()
[ "$(id -u)" -ne 0 ] && sudo_kom=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_kom[@]}" apt-get update -q
"${sudo_kom[@]}" apt-get install -y -q --no-install-recommends "${eksik[@]}"
