#!/usr/bin/env bash
# Under a virtual X server: a windowed run gets a real Esc from the X
# keyboard and ends through it, long before its frame limit.
set -u
prog=$(realpath "$1")
source "$(dirname "$0")/gemeinsam.sh"
im_xvfb "$@"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

# 1500 frames are a minute at 25 per second; Esc should end it in a few.
"$prog" --windowed --frames 1500 --capture-dir bilder >out 2>err &
pid=$!
fenster=$(fenster_suchen err)
pruefe "window found" test -n "$fenster"
if [ -n "$fenster" ]; then
  sleep 0.5
  xdotool mousemove --window "$fenster" 20 20 windowfocus --sync "$fenster"
  # Held over several 40 ms frames: a key pressed and released between two
  # reads is not seen, as with the real device.
  xdotool keydown Escape
  sleep 0.3
  xdotool keyup Escape
fi
for _ in $(seq 1 100); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
  pruefe "ended within 10 s of Esc" false
  kill $pid
fi
wait $pid
pruefe "exit 0" test $? -eq 0
pruefe_gleich "keyboard and mouse online" "$(grep -cxE 'Tastatur online\.|Maus online\.' Protokoll.txt)" 2
pruefe "ended through the normal shut-down" grep -qF "SPIEL  ENDE" Protokoll.txt
bilder=$(ls bilder | wc -l)
pruefe "ended before the frame limit ($bilder frames)" test "$bilder" -lt 1500
pruefe_gleich "no input errors" "$(grep -c 'ERROR' Protokoll.txt)" 0
exit $fehler
