#!/usr/bin/env bash
# What the growth export adds to a headless run: the heaviest tree's run
# (seed 17276, 150 frames) without and with --export-growth, N pairs one
# right after the other, and the median of the pairs' ratios (so a machine
# that speeds up or slows down between pairs does not count), with the
# medians of both times.
#   tools/export_zeit.sh [N] [PROGRAM]      (31, build/borkwerk)
set -euo pipefail
oben=$(cd "$(dirname "$0")/.." && pwd)
n=${1:-31}
prog=$(realpath "${2:-$oben/build/borkwerk}")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
# Microseconds of one headless run; the file it writes is removed, so no
# run replaces a file of an earlier one.
dauer() {
  local t0 t1
  t0=$(date +%s%N)
  "$prog" --headless --frames 150 --seed 17276 "$@" >/dev/null
  t1=$(date +%s%N)
  rm -f wachstum.glb
  echo $(((t1 - t0) / 1000))
}
for _ in $(seq 1 "$n"); do
  o=$(dauer)
  m=$(dauer --export-growth wachstum.glb)
  echo "$o $m"
done >paare
median() { sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
ohne=$(awk '{print $1}' paare | median)
mit=$(awk '{print $2}' paare | median)
anteil=$(awk '{print $2 / $1}' paare | median)
awk -v o="$ohne" -v m="$mit" -v a="$anteil" -v n="$n" 'BEGIN {
  printf "headless run, seed 17276, 150 frames: %.1f ms without, %.1f ms with --export-growth;",
         o / 1000, m / 1000
  printf " the median pair takes %+.1f%% (%d pairs)\n", (a - 1) * 100, n }'
