#!/usr/bin/env bash
# The real program, headless: a full-screen device lost when the focus goes
# (a scripted focus loss) comes back through a reset with every state, a
# device lost for good leaves the keys working, and a failed reset ends the
# run through the normal shut-down.
set -u
prog=$(realpath "$1")
source "$(dirname "$0")/gemeinsam.sh"
lauf() {  # fresh directory $1, script text $2, then the program's options
  mkdir "$tmp/$1" && cd "$tmp/$1" || exit 1
  printf "$2" >skript.txt
  shift 2
  "$prog" --headless --seed 4711 --input skript.txt "$@" >out 2>err
  echo $? >rc
}
bild() { printf '%s/%s/bilder/frame-%05d.png' "$tmp" "$1" "$2"; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

verloren='ERROR : D3D Device verloren.'
zurueck='D3D Device zurueckgesetzt.'

# Focus away in frames 30 to 39: those frames reach no screen; the focus
# comes back at frame 40's message pump, the device is reset in that frame,
# and from then on every picture is the one a run without the loss draws
# (projection, material, light and states all came back).
lauf ohne '' --frames 60 --capture-dir bilder
lauf fokus '30 focus out\n40 focus in\n' --frames 60 --capture-dir bilder
pruefe_gleich "focus: exit 0" "$(cat rc)" 0
pruefe_gleich "focus: loss logged once" "$(grep -cxF "$verloren" Protokoll.txt)" 1
pruefe_gleich "focus: reset logged once" "$(grep -cxF "$zurueck" Protokoll.txt)" 1
pruefe "focus: loss before reset" test "$(grep -nxF "$verloren" Protokoll.txt | cut -d: -f1)" -lt \
  "$(grep -nxF "$zurueck" Protokoll.txt | cut -d: -f1)"
pruefe_gleich "focus: frames 30 to 39 not shown" "$(ls bilder | wc -l)" 50
pruefe "focus: frame 29 shown" test -e "$(bild fokus 29)"
pruefe "focus: frame 39 not shown" test ! -e "$(bild fokus 39)"
for n in 29 40 41 45 59; do
  pruefe "focus: frame $n as without the loss" cmp -s "$(bild fokus $n)" "$(bild ohne $n)"
done
pruefe "focus: normal end" grep -qF "SPIEL  ENDE" Protokoll.txt

# Lost for good: nothing is shown, but the keys still work and Esc ends it.
lauf fuer_immer '5 down ESCAPE\n' --frames 100 --fault DeviceLost
pruefe_gleich "lost for good: exit 0" "$(cat rc)" 0
pruefe_gleich "lost for good: loss logged once" "$(grep -cxF "$verloren" Protokoll.txt)" 1
pruefe_gleich "lost for good: no reset" "$(grep -cF 'Reset' Protokoll.txt)" 0
pruefe_gleich "lost for good: no overlay lock errors" "$(grep -c '2D Fehler' Protokoll.txt)" 0
pruefe "lost for good: Esc ended it" grep -qF "SPIEL  ENDE" Protokoll.txt

# A reset that fails: its line, then the normal shut-down, long before the
# frame limit.
lauf kein_reset '3 focus out\n5 focus in\n' --frames 1000 --fault Reset --capture-dir bilder
pruefe_gleich "failed reset: exit 0" "$(cat rc)" 0
pruefe "failed reset: its line" grep -qxF "ERROR : D3D Device Reset() failed, return 2289436780" Protokoll.txt
# The rest of that frame may add its input lines, no more.
pruefe "failed reset: ends the run in its frame" test \
  $(( $(grep -n "SPIEL  ENDE" Protokoll.txt | cut -d: -f1) - $(grep -n "Reset() failed" Protokoll.txt | cut -d: -f1) )) -le 2
pruefe_gleich "failed reset: only frames 0 to 2 shown" "$(ls bilder | wc -l)" 3
pruefe "failed reset: nothing on stderr" test ! -s err
exit $fehler
