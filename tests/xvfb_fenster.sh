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

"$prog" --frames 150 --seed 7 --capture-dir bilder >out 2>err &
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
# The platform's own closing of the window (after the frames, or asked by a
# signal) is not the user switching away: every frame reaches the screen
# and the captures, and the log has no loss in it.
pruefe_gleich "full screen: all 150 frames captured" "$(ls bilder | wc -l)" 150
pruefe_gleich "full screen: no error in the log" "$(grep -c 'ERROR\|GetDeviceState' Protokoll.txt)" 0
rm -rf bilder
"$prog" --frames 100000 --seed 7 --capture-dir bilder >out 2>err &
pid=$!
fenster=$(fenster_suchen err)
pruefe "full screen, ended by SIGTERM: window found" test -n "$fenster"
kill -TERM $pid
wait $pid
pruefe "full screen, ended by SIGTERM: exit 0" test $? -eq 0
pruefe_gleich "full screen, ended by SIGTERM: no error in the log" \
  "$(grep -c 'ERROR\|GetDeviceState' Protokoll.txt)" 0
pid=""

# A signal while the start failure's message box waits for the user closes
# the box, and the run ends through its normal shut-down.
"$prog" --windowed --fault Direct3DCreate8 >out 2>err &
pid=$!
box_da() { xwininfo -root -tree | grep -qE '^ +0x[0-9a-f]+ "borkwerk": '; }
warte_bis 60 box_da
pruefe "start failure: message box shown" box_da
kill -TERM $pid
warte_bis 60 beendet "$pid"
pruefe "start failure: SIGTERM closes the box" beendet "$pid"
kill -KILL $pid 2>/dev/null
wait $pid
pruefe_gleich "start failure: exit 1" "$?" 1
pruefe "start failure: the log's end line" grep -qF "SPIEL  ENDE" Protokoll.txt
pid=""

# A film of a window's run: every presented frame, as the captures have it.
"$prog" --windowed --frames 30 --film film.apng --capture-dir fensterbilder >out 2>err
pruefe "windowed run exits 0" test $? -eq 0
pruefe "windowed run logged its end" grep -qF "SPIEL  ENDE" Protokoll.txt
pixel() { ffmpeg -v error "$@" -pix_fmt rgb24 -f framemd5 - | grep -v '^#' | awk -F, '{print $NF}'; }
film=$(pixel -i film.apng)
pruefe_gleich "windowed film: 30 frames" "$(grep -c . <<<"$film")" 30
pruefe_gleich "windowed film: the frames the window showed" "$film" \
  "$(pixel -framerate 25 -i fensterbilder/frame-%05d.png)"
# Destroyed from outside, by another client's XDestroyWindow (windowclose)
# or by closing our connection to the server (windowkill): taken as the
# window's destruction, so the run ends through the normal shut-down.
for wie in windowclose windowkill; do
  "$prog" --windowed --frames 100000 >out 2>err &
  pid=$!
  fenster=$(fenster_suchen err)
  pruefe "$wie: window found" test -n "$fenster"
  [ -n "$fenster" ] && xdotool "$wie" "$fenster"
  warte_bis 60 beendet "$pid"
  kill $pid 2>/dev/null
  wait $pid
  pruefe "$wie: exit 0" test $? -eq 0
  pruefe "$wie: logged its end" grep -qF "SPIEL  ENDE" Protokoll.txt
  pruefe_gleich "$wie: no X error" "$(grep -c 'X Error\|X connection' err)" 0
  pid=""
done
exit $fehler
