#!/usr/bin/env bash
# Instructions a call of a benchmark's frame function takes, exact and the
# same whatever else runs on the machine: one benchmark of bench_raster
# under callgrind, counting only inside FUNKTION (the benchmarks switch the
# instrumentation on around their loop only). The profile stays in AUSGABE
# for callgrind_annotate.
#   bildbefehle.sh BENCH_RASTER FILTER FUNKTION [AUSGABE]
# e.g. bildbefehle.sh build/bench/bench_raster BM_ProgrammBild/30 Programmbild
set -u
bench=$1 filter=$2 funktion=$3 aus=${4:-$(mktemp /tmp/bildbefehle.XXXXXX)}
BORKWERK_SAAT=${BORKWERK_SAAT:-17277} valgrind --tool=callgrind --instr-atstart=no \
  --toggle-collect="*$funktion(*" --callgrind-out-file="$aus" \
  "$bench" --benchmark_filter="^$filter\$" --benchmark_min_time=0.01 >/dev/null 2>&1 || {
  echo "callgrind run of $bench $filter failed" >&2
  exit 1
}
# Callgrind names a function once, "fn=(7) name", and later by "(7)" alone.
awk -v f="$funktion(" '
  /^totals:/ { ir = $2 }
  /^c?fn=\([0-9]+\) / && (index($0, "::" f) || index($0, ") " f)) { split($1, t, "="); id = t[2] }
  /^cfn=/ { split($1, t, "="); ziel = id != "" && t[2] == id }
  /^calls=/ && ziel { split($1, c, "="); n += c[2] }
  END {
    if (n == 0) { print "no call of " f " counted" > "/dev/stderr"; exit 1 }
    printf "%s: %d calls, %.0f instructions a call\n", f, n, ir / n
  }' "$aus"
echo "profile: $aus"
