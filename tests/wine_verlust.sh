#!/usr/bin/env bash
# The Windows build on Wine loses its full-screen device when another
# window takes the screen, and gets it back: under a window manager
# (openbox) another window is activated, Wine takes the program off the
# screen, and when the program's window is activated again it resets the
# device and draws the tree and its overlay anew. Esc still ends it with
# exit code 0; the log has the loss and the reset once each.
set -u
exe=$(realpath -m "$1")
source "$(dirname "$0")/gemeinsam.sh"
werkzeuge_pruefen wine wineboot wineserver Xvfb xdpyinfo xdotool xmessage openbox import convert
[ -f "$exe" ] || { echo "FAIL no Windows program at $1"; exit 1; }
XVFB_BILDSCHIRM=1152x864x16 XVFB_OPTIONEN=-r im_xvfb "$@"
tmp=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wine_beenden "$tmp"; rm -rf "$tmp"' EXIT
openbox >/dev/null 2>&1 &
pids+=($!)
wine_vorbereiten "$tmp" || exit 1

# Whether the overlay's first line shows: pure green in its box.
text_zu_sehen() {
  import -window root "$tmp/bild.png" 2>/dev/null &&
    [ "$(convert "$tmp/bild.png" -crop 120x12+385+10 -depth 8 txt:- | grep -c '#00FF00')" -gt 50 ]
}
nicht() { ! "$@"; }

mkdir "$tmp/lauf" && cd "$tmp/lauf" || exit 1
wine "$exe" >out 2>err &
pid=$!
fenster=$(fenster_suchen err 60)
pruefe "window found" test -n "$fenster"
[ -n "$fenster" ] || exit 1
pruefe "the overlay shows" warte_bis 60 text_zu_sehen

xmessage -geometry 300x100+100+100 "anderes Fenster" 2>/dev/null &
pids+=($!)
anderes=""
for _ in $(seq 1 100); do
  anderes=$(xdotool search --name '^xmessage$' 2>/dev/null | head -n1)
  [ -n "$anderes" ] && break
  sleep 0.1
done
pruefe "another window opened" test -n "$anderes"
xdotool windowactivate "$anderes" 2>/dev/null
pruefe "the program is off the screen while the other window is active" warte_bis 30 nicht text_zu_sehen
kill "${pids[1]}" 2>/dev/null
xdotool windowactivate "$fenster" 2>/dev/null
pruefe "back: the device was reset and draws the overlay again" warte_bis 30 text_zu_sehen

xdotool keydown Escape
warte_bis 30 beendet $pid
xdotool keyup Escape
pruefe "Esc ends the run" beendet $pid
kill $pid 2>/dev/null
wait $pid
pruefe "exit code 0" test $? -eq 0
tr -d '\r' <Protokoll.txt >"$tmp/protokoll.txt"
pruefe_gleich "the loss logged once" "$(grep -cxF 'ERROR : D3D Device verloren.' "$tmp/protokoll.txt")" 1
pruefe_gleich "the reset logged once" "$(grep -cxF 'D3D Device zurueckgesetzt.' "$tmp/protokoll.txt")" 1
pruefe_gleich "no failed reset" "$(grep -c 'Reset() failed' "$tmp/protokoll.txt")" 0
pruefe "normal end" grep -qF "SPIEL  ENDE" "$tmp/protokoll.txt"
exit $fehler
