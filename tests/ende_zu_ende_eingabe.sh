#!/usr/bin/env bash
# The real program, headless, driven by an input script: keys reach the
# picture in the frame they are pressed, Esc ends the run after its frame,
# and every input failure writes exactly its log lines.
set -u
prog=$(realpath "$1")
source "$(dirname "$0")/gemeinsam.sh"
bild() { printf '%s/bilder/frame-%05d.png' "$1" "$2"; }
gleich() { cmp -s "$(bild "$1" "$3")" "$(bild "$2" "$3")"; }
verschieden() { ! gleich "$@"; }
lauf() {  # directory, script text, options...
  local ordner=$1 skript=$2; shift 2
  mkdir -p "$ordner" && printf '%b' "$skript" >"$ordner/skript.txt"
  (cd "$ordner" && "$prog" --headless --seed 4242 --input skript.txt "$@" >out 2>err; echo $? >rc)
}
# What the log holds between the main-loop line and the end line.
schleifenprotokoll() {
  local text; text=$(cat "$1/Protokoll.txt"; echo x)
  text=${text#*"=========== HAUPTSCHLEIFE =========== "$'\n'" "$'\n'}
  printf '%s' "${text%%"=========== SPIEL  ENDE"*}"
}
wiederholt() {  # count, text
  local i; for ((i = 0; i < $1; i++)); do printf '%s' "$2"; done
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Esc alone, as the reference; then S, F1, R and the mouse each in their frames.
lauf "$tmp/esc" '20 down ESCAPE\n' --frames 100 --capture-dir bilder
lauf "$tmp/alle" '# all keys\n2 down S\n3 up s\n\n4 down F1\n8 up F1   # help shown in 4..7\n12 down R\n14 up R\n16 mouse 40 -10 120\n20 down escape\n' \
  --frames 100 --capture-dir bilder
for r in esc alle; do
  pruefe_gleich "$r: exit 0" "$(cat "$tmp/$r/rc")" 0
  pruefe_gleich "$r: ends after the Esc frame (21 frames)" "$(ls "$tmp/$r/bilder" | wc -l)" 21
  pruefe_gleich "$r: input came up" "$(grep -cxE 'Tastatur online\.|Maus online\.' "$tmp/$r/Protokoll.txt")" 2
  pruefe "$r: no input error in the loop" test -z "$(schleifenprotokoll "$tmp/$r")"
  pruefe "$r: nothing on stderr" test ! -s "$tmp/$r/err"
done
pruefe "frames before any key are the same" gleich "$tmp/esc" "$tmp/alle" 1
pruefe "S changes frame 2" verschieden "$tmp/esc" "$tmp/alle" 2

lauf "$tmp/f1" '4 down F1\n8 up F1\n20 down ESCAPE\n' --frames 100 --capture-dir bilder
pruefe "F1 not yet in frame 3" gleich "$tmp/esc" "$tmp/f1" 3
pruefe "F1 held shows in frame 4" verschieden "$tmp/esc" "$tmp/f1" 4
pruefe "F1 held shows in frame 7" verschieden "$tmp/esc" "$tmp/f1" 7
pruefe "F1 released is gone in frame 8" gleich "$tmp/esc" "$tmp/f1" 8

lauf "$tmp/r" '12 down R\n14 up R\n20 down ESCAPE\n' --frames 100 --capture-dir bilder
pruefe "R not yet in frame 11" gleich "$tmp/esc" "$tmp/r" 11
pruefe "R regrows from frame 12" verschieden "$tmp/esc" "$tmp/r" 12

lauf "$tmp/maus" '16 mouse 60 0 0\n20 down ESCAPE\n' --frames 100 --capture-dir bilder
pruefe "mouse not yet in frame 15" gleich "$tmp/esc" "$tmp/maus" 15
pruefe "mouse turns the camera in frame 16" verschieden "$tmp/esc" "$tmp/maus" 16

# Read failures: each frame writes exactly its lines. A failing mouse does
# not keep the keys from working: Esc ends the run after frame 0.
lauf "$tmp/maus_weg" '0 down ESCAPE\n' --frames 4 --fault GetDeviceState.Mouse
pruefe_gleich "lost mouse: exit 0" "$(cat "$tmp/maus_weg/rc")" 0
pruefe_gleich "lost mouse: its two lines, then Esc ends the run" "$(schleifenprotokoll "$tmp/maus_weg")" \
  $'DI_Init: Maus->Reacquiring failed \nERROR : MausAbfrage fehlgeschlagen.'
lauf "$tmp/maus_fehler" '0 down ESCAPE\n' --frames 3 --fault GetDeviceState.Mouse.Generic
pruefe_gleich "mouse error: only its line, then Esc ends the run" "$(schleifenprotokoll "$tmp/maus_fehler")" \
  'ERROR : MausAbfrage fehlgeschlagen.'
# A lost keyboard gives no key, so --frames ends the run.
lauf "$tmp/tastatur_weg" '0 down ESCAPE\n' --frames 3 --fault GetDeviceState.Keyboard
pruefe_gleich "lost keyboard: the result and the error each frame" "$(schleifenprotokoll "$tmp/tastatur_weg")" \
  "$(wiederholt 3 $'Keyboard GetDeviceState : return 2147942430ERROR : TastenAbfrage fehlgeschlagen.\n')"

# Set-up failures: the message box (on stderr when headless) or the log line,
# and the run goes on. Each frame reads the devices that exist: a missing
# device is logged once, one whose set-up failed is asked back (for good
# when its set-up skipped only the cooperation; the fault also refuses a
# re-acquire) or fails each read.
ohne='ERROR : DI_Abfrage ohne Tastatur oder Maus, keine Eingabe.'
taste='Keyboard GetDeviceState : return '
kein_erwerb=2147942412  # DIERR_NOTACQUIRED
while IFS='|' read -r name meldung zeile schleife; do
  lauf "$tmp/$name" '' --frames 3 --fault "$name"
  pruefe_gleich "$name: exit 0" "$(cat "$tmp/$name/rc")" 0
  if [ -n "$meldung" ]; then
    pruefe_gleich "$name: message box" "$(cat "$tmp/$name/err")" "XXX: $meldung"
  else
    pruefe "$name: no message box" test ! -s "$tmp/$name/err"
  fi
  [ -n "$zeile" ] && pruefe "$name: log line" grep -qF "$zeile" "$tmp/$name/Protokoll.txt"
  pruefe_gleich "$name: not online" "$(grep -c 'Maus online' "$tmp/$name/Protokoll.txt")" 0
  case $schleife in
    maus) erwartet=$(wiederholt 3 'ERROR : MausAbfrage fehlgeschlagen.') ;;
    maus_zurueck) erwartet='ERROR : MausAbfrage fehlgeschlagen.' ;;
    tastatur_zurueck) erwartet="$taste${kein_erwerb}ERROR : TastenAbfrage fehlgeschlagen."$'\n'"$ohne" ;;
    tastatur_*) erwartet=$(wiederholt 3 "$taste${schleife#tastatur_}ERROR : TastenAbfrage fehlgeschlagen."$'\n') ;;
    *) erwartet=$ohne ;;
  esac
  pruefe_gleich "$name: frame loop lines" "$(schleifenprotokoll "$tmp/$name")" "$erwartet"
done <<'EOF'
DirectInput8Create|ERROR : DI HauptInterface erzeugen.||
CreateDevice.Keyboard|ERROR : DI Keyboard DeviceInterface erzeugen.||
SetDataFormat.Keyboard|ERROR : DI Keyboard Datenformat setzen.||tastatur_2147942487
SetCooperativeLevel.Keyboard|ERROR : DI Keyboard SetCoopLevel()||tastatur_zurueck
Acquire.Keyboard||Keyboard Aquire : return 2147942405|tastatur_2147942412
CreateDevice.Mouse|ERROR : DI Mouse DeviceInterface erzeugen.|Tastatur online.|
SetDataFormat.Mouse|ERROR : DI Maus Datenformat setzen.|Tastatur online.|maus
SetCooperativeLevel.Mouse|ERROR : DI Maus SetCoopLevel|Tastatur online.|maus_zurueck
Acquire.Mouse||Mouse Aquire : return 2147942405|maus
EOF

# A bad script line: one line naming file and line, exit 2, no run.
lauf "$tmp/schlecht" '0 down R\n# fine so far\n3 down NOSUCHKEY\n'
pruefe_gleich "bad script exits 2" "$(cat "$tmp/schlecht/rc")" 2
pruefe "bad script names file and line" grep -qF "skript.txt:3: unknown key 'NOSUCHKEY'" "$tmp/schlecht/err"
pruefe_gleich "bad script says one line" "$(wc -l <"$tmp/schlecht/err")" 1
pruefe "bad script: no run" test ! -e "$tmp/schlecht/Protokoll.txt"

# A script whose read fails (EIO): said with the reason, exit 2, no run.
mkdir "$tmp/eio" && cd "$tmp/eio"
"$prog" --headless --input /proc/self/mem >out 2>err
pruefe_gleich "unreadable script exits 2" "$?" 2
pruefe_gleich "unreadable script: the reason" "$(cat err)" \
  "borkwerk: /proc/self/mem: cannot be read: Input/output error"
pruefe "unreadable script: no run" test ! -e Protokoll.txt

exit $fehler
