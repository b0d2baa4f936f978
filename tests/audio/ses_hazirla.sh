#!/usr/bin/env bash
# Prepares spoken test audio and an ALSA configuration that turns the default
# sound device into files, for tests that run the real recording and playback
# path with no sound card.
#
#   ses_hazirla.sh [options] WORD OUT.raw [SECONDS]
#       Speaks WORD with espeak-ng and writes OUT.raw: 16-bit signed
#       little-endian mono raw PCM, SECONDS long (default 3), the speech after
#       a short lead of silence, the rest padded with silence, and a little
#       white noise over the whole. WORD "-" gives noise only (no speech).
#       Options:
#         -v VOICE   espeak-ng voice (default tr)
#         -s SPEED   words per minute (default 150)
#         -p PITCH   pitch 0-99 (default 50)
#         -b LEAD    seconds of silence before the speech (default 0.3)
#         -g NOISE   noise amplitude, 0-1 of full scale (default 0.002; 0: none)
#         -l LEVEL   peak level of the speech in dBFS (default -3)
#         -r RATE    sampling rate in Hz (default 12000)
#       The same arguments always give the same bytes.
#
#   ses_hazirla.sh --alsa CONF IN.raw PLAYED.raw
#       Writes an ALSA configuration CONF whose default device reads every
#       recording from IN.raw (from its start, at each opening) and writes
#       playback to PLAYED.raw (replaced at each opening). Point the program
#       at it with ALSA_CONFIG_PATH=CONF before it starts its sound system.
#       The raw format is the program's: 16-bit LE, channels and rate as its
#       settings say.
set -euo pipefail

if [ "${1:-}" = "--alsa" ]; then
  [ $# -eq 4 ] || { echo "kullanım: $0 --alsa CONF IN.raw PLAYED.raw" >&2; exit 2; }
  girdi=$(realpath -m "$3")
  cikti=$(realpath -m "$4")
  cat > "$2" <<KONF
</usr/share/alsa/alsa.conf>
pcm.!default {
  type file
  slave.pcm "null"
  file "$cikti"
  infile "$girdi"
  format "raw"
}
KONF
  exit 0
fi

ses=tr; hiz=150; perde=50; bas=0.3; gurultu=0.002; duzey=-3; oran=12000
while getopts "v:s:p:b:g:l:r:" o; do
  case $o in
    v) ses=$OPTARG ;; s) hiz=$OPTARG ;; p) perde=$OPTARG ;; b) bas=$OPTARG ;;
    g) gurultu=$OPTARG ;; l) duzey=$OPTARG ;; r) oran=$OPTARG ;;
    *) echo "kullanım: $0 [-v ses] [-s hız] [-p perde] [-b baş] [-g gürültü] [-l düzey] [-r oran] SÖZ ÇIKTI.raw [SANİYE]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -ge 2 ] || { echo "kullanım: $0 [seçenekler] SÖZ ÇIKTI.raw [SANİYE]" >&2; exit 2; }
soz=$1; cikti=$2; sure=${3:-3}

gecici=$(mktemp -d)
trap 'rm -rf "$gecici"' EXIT
ham=(-t raw -r "$oran" -c 1 -b 16 -e signed-integer -L)

if [ "$soz" = "-" ]; then
  sox -R -n "${ham[@]}" "$gecici/konusma.raw" trim 0 "$sure"
else
  espeak-ng -v "$ses" -s "$hiz" -p "$perde" -w "$gecici/soz.wav" "$soz"
  # Speech after the lead, cut or padded to exactly SECONDS.
  sox -V1 -R "$gecici/soz.wav" "${ham[@]}" "$gecici/konusma.raw" \
      remix - gain -n "$duzey" pad "$bas" "$sure" trim 0 "$sure"
fi
if [ "$gurultu" = "0" ]; then
  cp "$gecici/konusma.raw" "$cikti"
else
  sox -R -n "${ham[@]}" "$gecici/gurultu.raw" synth "$sure" whitenoise vol "$gurultu"
  sox -R -m -v 1 "${ham[@]}" "$gecici/konusma.raw" -v 1 "${ham[@]}" "$gecici/gurultu.raw" \
      "${ham[@]}" "$cikti"
fi
