#!/usr/bin/env bash
# Long run (ctest -L lang, not part of make test): 200,000 headless frames
# with a regrow every 500 frames and mouse turns and zooms every 10 frames;
# the peak memory after 200,000 frames may exceed that after 2,000 frames by
# at most 64 KB: nothing grows with the run's length.
#   dauerlauf.sh PROGRAMM [DATEN [FRAMES]]   (ctest passes the test data folder)
set -u
prog=$(realpath "$1")
bilder=${3:-200000}
source "$(dirname "$0")/gemeinsam.sh"
werkzeuge_pruefen /usr/bin/time awk
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
awk -v n="$bilder" 'BEGIN {
  srand(1)
  for (i = 0; i < n; i += 10) {
    if (i % 500 == 0) { print i, "down R"; print i + 1, "up R" }
    printf "%d mouse %d %d %d\n", i, int(rand() * 81) - 40, int(rand() * 81) - 40, (int(rand() * 3) - 1) * 120
  }
}' >skript.txt
spitze() {  # frames: the run's peak resident memory in KB
  /usr/bin/time -f %M -o rss.txt "$prog" --headless --seed 4711 --input skript.txt --frames "$1" \
    >/dev/null 2>err.txt || { echo "run of $1 frames failed:"; cat err.txt; }
  cat rss.txt
}
kurz=$(spitze 2000)
t=$SECONDS
lang=$(spitze "$bilder")
echo "     peak memory: $kurz KB after 2000 frames, $lang KB after $bilder frames ($((SECONDS - t)) s)"
pruefe "peak memory after $bilder frames within 64 KB of that after 2000" test $((lang - kurz)) -le 64
exit $fehler
