#!/usr/bin/env bash
# Installs what Velmo needs on Debian, if anything is missing: by default
# what building and testing need (test.sh); with --calistirma only what
# building and running the programs need (run.sh).
set -euo pipefail
calistirma=(cmake g++ make pkg-config portaudio19-dev libasound2-dev libsndfile1-dev
            libsoxr-dev nlohmann-json3-dev libcli11-dev gettext)
sinama=(locales libgtest-dev libgmock-dev libbenchmark-dev dpkg-dev
        clang tmux espeak-ng sox libsox-fmt-all python3 python3-numpy)
case "${1:-}" in
  --calistirma) paketler=("${calistirma[@]}") ;;
  "") paketler=("${calistirma[@]}" "${sinama[@]}") ;;
  *) echo "Kullanım: $0 [--calistirma]" >&2; exit 2 ;;
esac
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
