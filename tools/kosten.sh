#!/usr/bin/env bash
# What an output adds to a headless run: the heaviest tree's run (seed
# 17276, 150 frames) without and with the given options, N pairs one right
# after the other, and the median of the pairs' ratios (so a machine that
# speeds up or slows down between pairs does not count), with the medians
# of both times. Each run starts in an empty folder, so no run replaces a
# file of an earlier one.
#   tools/kosten.sh [N] [PROGRAM] -- OPTION...      (31, build/borkwerk)
#   e.g. tools/kosten.sh -- --export-growth wachstum.glb
#        tools/kosten.sh 9 -- --film film.mp4
set -euo pipefail
oben=$(cd "$(dirname "$0")/.." && pwd)
n=31
prog=$oben/build/borkwerk
[ $# -gt 0 ] && [ "$1" != -- ] && { n=$1; shift; }
[ $# -gt 0 ] && [ "$1" != -- ] && { prog=$1; shift; }
[ "${1:-}" = -- ] && shift
[ $# -gt 0 ] || { echo "usage: $0 [N] [PROGRAM] -- OPTION..." >&2; exit 2; }
prog=$(realpath "$prog")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
# Microseconds of one headless run.
dauer() {
  local t0 t1
  find . -mindepth 1 -delete
  t0=$(date +%s%N)
  "$prog" --headless --frames 150 --seed 17276 "$@" >/dev/null 2>fehler.txt ||
    { echo "kosten.sh: the run failed: $(cat fehler.txt)" >&2; exit 1; }
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000))
}
dauer >/dev/null
dauer "$@" >/dev/null
paare=$(for _ in $(seq 1 "$n"); do
  o=$(dauer)
  m=$(dauer "$@")
  echo "$o $m"
done)
median() { sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
ohne=$(awk '{print $1}' <<<"$paare" | median)
mit=$(awk '{print $2}' <<<"$paare" | median)
anteil=$(awk '{print $2 / $1}' <<<"$paare" | median)
awk -v o="$ohne" -v m="$mit" -v a="$anteil" -v n="$n" -v w="$*" 'BEGIN {
  printf "headless run, seed 17276, 150 frames: %.1f ms without, %.1f ms with %s;", o / 1000, m / 1000, w
  printf " the median pair takes %+.1f%% (%.2fx, %d pairs)\n", (a - 1) * 100, a, n }'
