#!/usr/bin/env bash
# What a film costs: a headless run with --film against one without
# (tools/kosten.sh, PAARE pairs), the film's size; with --window SEKUNDEN
# also a windowed session of that length without and with a film
# (tools/cpu_last.sh): the CPU share and the frame period of each.
#   tools/film_zeit.sh [--window SEKUNDEN] [PAARE] [ENDUNG] [PROGRAMM]   (9, mp4, build/borkwerk)
set -euo pipefail
oben=$(cd "$(dirname "$0")/.." && pwd)
fenster=""
[ "${1:-}" = --window ] && { fenster=$2; shift 2; }
paare=${1:-9}
endung=${2:-mp4}
prog=$(realpath "${3:-$oben/build/borkwerk}")
bash "$oben/tools/kosten.sh" "$paare" "$prog" -- --film "film.$endung"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && "$prog" --headless --frames 150 --seed 17276 --film "film.$endung" 2>/dev/null)
echo "the film: $(stat -c %s "$tmp/film.$endung") bytes"
if [ -n "$fenster" ]; then
  echo "windowed, without a film:"
  bash "$oben/tools/cpu_last.sh" "$fenster" "$prog" | sed 's/^/  /'
  echo "windowed, with --film film.$endung:"
  bash "$oben/tools/cpu_last.sh" "$fenster" "$prog" --film "film.$endung" | sed 's/^/  /'
fi
