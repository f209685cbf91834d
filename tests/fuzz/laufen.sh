#!/usr/bin/env bash
# Runs each fuzzer of a fuzz build for the given seconds (60 unless given),
# starting from its kept corpus in tests/fuzz/korpus; what it finds new goes
# to a temporary folder. A crash, a leak or a failed check fails the run and
# leaves the input in the fuzz build's folder.
#   tests/fuzz/laufen.sh BUILD-FUZZ [SECONDS]
set -u
bau=$(realpath "$1")
sekunden=${2:-60}
korpus=$(realpath "$(dirname "$0")/korpus")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fehler=0
for name in skript optionen text; do
  mkdir "$tmp/$name"
  if (cd "$bau" && "$bau/tests/fuzz/fuzz_$name" -max_total_time="$sekunden" -print_final_stats=1 \
      "$tmp/$name" "$korpus/$name" >"$tmp/$name.log" 2>&1); then
    echo "ok   fuzz_$name: $(sed -n 's/^stat::number_of_executed_units: *//p' "$tmp/$name.log") inputs in $sekunden s"
  else
    echo "FAIL fuzz_$name"
    grep -E "ERROR|SUMMARY|Test unit written" "$tmp/$name.log" | sed 's/^/  /'
    fehler=1
  fi
done
exit $fehler
