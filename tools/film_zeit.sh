#!/usr/bin/env bash
# What a film costs. A headless run of 150 frames with --film against the
# same run without, PAARE (9) pairs each run in turn, so that a machine's
# drift hits both: each side's median wall time and the median of the
# pairs' ratios. With --window SEKUNDEN also a windowed session of that
# length without and with a film (tools/cpu_last.sh): the CPU share and
# the frame period of each.
#   tools/film_zeit.sh [--window SEKUNDEN] [PAARE] [ENDUNG] [PROGRAMM]   (9, mp4, build/borkwerk)
set -u
oben=$(cd "$(dirname "$0")/.." && pwd)
fenster=""
[ "${1:-}" = --window ] && { fenster=$2; shift 2; }
paare=${1:-9}
endung=${2:-mp4}
prog=$(realpath "${3:-$oben/build/borkwerk}")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

lauf() {  # options...; prints the wall time in ms
  local anfang ende
  anfang=$(date +%s%N)
  "$prog" --headless --seed 17276 --frames 150 "$@" >/dev/null 2>fehler.txt ||
    { echo "film_zeit.sh: the run failed: $(cat fehler.txt)" >&2; exit 1; }
  ende=$(date +%s%N)
  echo $(((ende - anfang) / 1000000))
}
median() { sort -n | awk '{w[NR] = $1} END {print (NR % 2) ? w[(NR + 1) / 2] : (w[NR / 2] + w[NR / 2 + 1]) / 2}'; }
lauf >/dev/null
lauf --film "film.$endung" >/dev/null
: >ohne.txt
: >mit.txt
: >verhaeltnis.txt
for ((i = 0; i < paare; i++)); do
  ohne=$(lauf) || exit 1
  mit=$(lauf --film "film.$endung") || exit 1
  echo "$ohne" >>ohne.txt
  echo "$mit" >>mit.txt
  awk -v a="$mit" -v b="$ohne" 'BEGIN {printf "%.3f\n", a / b}' >>verhaeltnis.txt
done
echo "headless, 150 frames, $paare pairs: without a film $(median <ohne.txt) ms," \
  "with --film film.$endung $(median <mit.txt) ms; ratio (median of pairs) $(median <verhaeltnis.txt)" \
  "(min $(sort -n verhaeltnis.txt | head -n1), max $(sort -n verhaeltnis.txt | tail -n1))"
echo "film: $(stat -c %s "film.$endung") bytes"

if [ -n "$fenster" ]; then
  echo "windowed, without a film:"
  bash "$oben/tools/cpu_last.sh" "$fenster" "$prog" | sed 's/^/  /'
  echo "windowed, with --film film.$endung:"
  bash "$oben/tools/cpu_last.sh" "$fenster" "$prog" --film "film.$endung" | sed 's/^/  /'
fi
