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
# Destroyed from outside, by another client's XDestroyWindow (windowclose)
# or by closing our connection to the server (windowkill): taken as the
# window's destruction, so the run ends through the normal shut-down.
for wie in windowclose windowkill; do
  "$prog" --windowed --frames 100000 >out 2>err &
  pid=$!
  fenster=$(fenster_suchen err)
  pruefe "$wie: window found" test -n "$fenster"
  [ -n "$fenster" ] && xdotool "$wie" "$fenster"
  warte_bis 10 beendet "$pid"
  kill $pid 2>/dev/null
  wait $pid
  pruefe "$wie: exit 0" test $? -eq 0
  pruefe "$wie: logged its end" grep -qF "SPIEL  ENDE" Protokoll.txt
  pruefe_gleich "$wie: no X error" "$(grep -c 'X Error\|X connection' err)" 0
  pid=""
done
exit $fehler
