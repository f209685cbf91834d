#!/usr/bin/env bash
# Under a virtual X server: the full-screen window really opens, covers the
# screen and carries the program's title; windowed runs end after --frames.
set -u
prog=$1
source "$(dirname "$0")/gemeinsam.sh"
im_xvfb "$@"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

"$prog" --frames 150 --seed 7 >out 2>err &
pid=$!
fenster=$(fenster_suchen err)
pruefe "full-screen window found" test -n "$fenster"
if [ -n "$fenster" ]; then
  for _ in $(seq 1 30); do
    geometrie=$(xwininfo -id "$fenster" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    [ "$geometrie" = "1280x1024" ] && break
    sleep 0.1
  done
  pruefe "window covers the screen ($geometrie)" test "$geometrie" = "1280x1024"
fi
wait $pid
pruefe "full-screen run exits 0" test $? -eq 0
pruefe "full-screen run logged its end" grep -qF "SPIEL  ENDE" Protokoll.txt

"$prog" --windowed --frames 10 >out 2>err
pruefe "windowed run exits 0" test $? -eq 0
pruefe "windowed run logged its end" grep -qF "SPIEL  ENDE" Protokoll.txt
# Destroyed from outside (another client's XDestroyWindow): taken as the
# window's destruction, so the run ends through the normal shut-down.
"$prog" --windowed --frames 100000 >out 2>err &
pid=$!
fenster=$(fenster_suchen err)
pruefe "window to destroy found" test -n "$fenster"
[ -n "$fenster" ] && xdotool windowclose "$fenster"
for _ in $(seq 1 100); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
kill $pid 2>/dev/null
wait $pid
pruefe "destroyed window: exit 0" test $? -eq 0
pruefe "destroyed window: logged its end" grep -qF "SPIEL  ENDE" Protokoll.txt
pruefe "destroyed window: no X error" test "$(grep -c 'X Error' err)" -eq 0
exit $fehler
