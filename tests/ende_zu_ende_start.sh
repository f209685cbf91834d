#!/usr/bin/env bash
# The real program, headless: start-up and shut-down log, exit codes,
# reproducible runs, launcher options, captures, a log that cannot be made.
set -u
prog=$1
source "$(dirname "$0")/gemeinsam.sh"
png_groesse() {  # width x height from the PNG header
  local b; b=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' ')
  set -- $b
  echo "$(( ($1<<24) + ($2<<16) + ($3<<8) + $4 ))x$(( ($5<<24) + ($6<<16) + ($7<<8) + $8 ))"
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A short run: exit 0, the shell's lines in order, one capture per frame.
mkdir "$tmp/a" && cd "$tmp/a"
"$prog" --headless --frames 5 --seed 1234 --capture letztes.png --capture-dir bilder >out 2>err
pruefe "exit code 0" test $? -eq 0
pruefe_gleich "banner first" "$(head -n1 Protokoll.txt)" "Farnkolonie09."
pruefe_gleich "window second" "$(sed -n 2p Protokoll.txt)" "Window Registriert."
pruefe "graphics started" grep -qxF "rD3DInitialisieren : successful " Protokoll.txt
pruefe "main loop line" grep -qxF "=========== HAUPTSCHLEIFE =========== " Protokoll.txt
pruefe_gleich "end line last" "$(grep -v '^ *$' Protokoll.txt | tail -n1)" "=========== SPIEL  ENDE =========== "
pruefe "main loop before end" test "$(grep -n 'HAUPTSCHLEIFE' Protokoll.txt | cut -d: -f1)" -lt "$(grep -n 'SPIEL  ENDE' Protokoll.txt | cut -d: -f1)"
pruefe_gleich "five frames captured" "$(ls bilder | tr '\n' ' ')" "frame-00000.png frame-00001.png frame-00002.png frame-00003.png frame-00004.png "
pruefe "last frame is the capture" cmp -s letztes.png bilder/frame-00004.png
pruefe_gleich "capture 1152x864" "$(png_groesse letztes.png)" "1152x864"
pruefe_gleich "device file written" "$(stat -c %s device.gra)" 344740
pruefe "nothing on stderr" test ! -s err

# The same seed gives the same log and the same pictures.
mkdir "$tmp/b" && cd "$tmp/b"
"$prog" --headless --frames 5 --seed 1234 --capture letztes.png >/dev/null 2>&1
pruefe "same seed, same log" cmp -s Protokoll.txt "$tmp/a/Protokoll.txt"
pruefe "same seed, same picture" cmp -s letztes.png "$tmp/a/letztes.png"

# Launcher errors: one line on stderr, exit code 2, no run.
mkdir "$tmp/c" && cd "$tmp/c"
for args in "--frames 0" "--frames x" "--seed -1" "--bogus" "--fault NoSuchCall" "--frames"; do
  "$prog" $args >out 2>err
  code=$?
  pruefe "'$args' exits 2" test $code -eq 2
  pruefe_gleich "'$args' says one line" "$(wc -l <err)" 1
done
# A value with a line break, an umlaut, a terminal escape or bytes that are
# no UTF-8: still one line, and no control byte raw; valid UTF-8 reads as
# it is, the rest as \xNN.
for wert in $'1\n2' $'\xc3\xa4\x1b[31m' $'\xff\xc3'; do
  for option in --frames --fault --seed; do
    "$prog" $option "$wert" >out 2>err
    pruefe "$option with odd bytes: exit 2, one line" test $? -eq 2 -a "$(wc -l <err)" -eq 1
    pruefe_gleich "$option with odd bytes: no control byte raw" \
      "$(LC_ALL=C grep -c $'[\x01-\x1f\x7f]' err)" 0
  done
done
"$prog" --frames 4294967296 >out 2>err
pruefe_gleich "--frames too large: the range named" "$(cat err)" \
  "borkwerk: --frames needs a whole number from 1 to 4294967295, not '4294967296'"
"$prog" --seed $'B\xc3\xa4ume\x1b[31m\xff' >out 2>err
pruefe_gleich "UTF-8 as it is, the rest escaped" "$(cat err)" \
  "borkwerk: --seed needs a whole number from 0 to 4294967295, not 'B"$'\xc3\xa4'"ume\\x1B[31m\\xFF'"
pruefe "no run after a bad option" test ! -e Protokoll.txt
"$prog" --help >out 2>&1
pruefe "--help exits 0" test $? -eq 0
pruefe "--help lists faults" grep -q "CreateWindowExA" out

# No display and no options: one headless growth, a PNG next to the log.
mkdir "$tmp/d" && cd "$tmp/d"
env -u DISPLAY -u WAYLAND_DISPLAY "$prog" >out 2>err
pruefe "default run exits 0" test $? -eq 0
pruefe_gleich "default run names its picture" "$(cat out)" "$tmp/d/borkwerk.png"
pruefe_gleich "default picture 1152x864" "$(png_groesse borkwerk.png)" "1152x864"

# Headless with options but no --frames (asked for, or for want of a
# display): one full growth, said once, then the normal end.
for wie in "--headless --seed 5" "--seed 5"; do
  mkdir -p "$tmp/g" && cd "$tmp/g" && rm -rf ./*
  # shellcheck disable=SC2086
  timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY "$prog" $wie --capture-dir bilder >out 2>err
  pruefe_gleich "'$wie' without --frames: exit 0" "$?" 0
  pruefe_gleich "'$wie' without --frames: one growth" "$(ls bilder | wc -l)" 150
  pruefe_gleich "'$wie' without --frames: said once" \
    "$(grep -c 'headless without --frames: one full growth, 150 frames' err)" 1
done

# A display that does not answer is named, with why, and the run goes on
# headless.
n=4711
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
mkdir -p "$tmp/h" && cd "$tmp/h"
DISPLAY=":$n" "$prog" --frames 3 >out 2>err
pruefe_gleich "a display that does not answer: exit 0" "$?" 0
pruefe_gleich "a display that does not answer: named" "$(cat err)" \
  "borkwerk: no display (the X display ':$n' (DISPLAY) does not answer), running headless"
env -u DISPLAY WAYLAND_DISPLAY=borkwerk-nirgends XDG_RUNTIME_DIR="$tmp" "$prog" --frames 3 >out 2>err
pruefe_gleich "a Wayland display that does not answer: named" "$(cat err)" \
  "borkwerk: no display (the Wayland display 'borkwerk-nirgends' (WAYLAND_DISPLAY) does not answer), running headless"

# A log that cannot be created: said once on stderr, the run goes on.
mkdir "$tmp/e" && cd "$tmp/e" && mkdir Protokoll.txt
"$prog" --headless --frames 3 --capture x.png >out 2>err
pruefe "no log, exit 0" test $? -eq 0
pruefe_gleich "no log, said once" "$(grep -c Protokoll.txt err)" 1
pruefe "no log, still drawn" test -s x.png

# Ended from outside (kill, Ctrl-C, a closed terminal): the run ends through
# the normal shut-down, with its log (written line by line) and capture.
for signal in TERM INT HUP; do
  mkdir "$tmp/sig_$signal" && cd "$tmp/sig_$signal"
  "$prog" --headless --frames 100000000 --capture letztes.png >out 2>err &
  pid=$!
  for _ in $(seq 1 100); do
    grep -qF HAUPTSCHLEIFE Protokoll.txt 2>/dev/null && break
    sleep 0.1
  done
  pruefe "SIG$signal: the log is written while the run goes on" grep -qF HAUPTSCHLEIFE Protokoll.txt
  kill -$signal $pid
  wait $pid
  pruefe "SIG$signal: exit 0" test $? -eq 0
  pruefe "SIG$signal: normal end line" grep -qF "SPIEL  ENDE" Protokoll.txt
  pruefe "SIG$signal: capture written" test -s letztes.png
done

# A frame that cannot go into --capture-dir does not cost the --capture
# file: that is written, and the failure is named.
mkdir -p "$tmp/ordner/bilder/frame-00001.png" && cd "$tmp/ordner"
"$prog" --headless --frames 3 --capture-dir bilder --capture letztes.png >out 2>err
pruefe "capture dir failed: exit 1" test $? -eq 1
pruefe "capture dir failed: named" grep -qF "cannot write every frame into bilder" err
pruefe "capture dir failed: the capture still written" test -s letztes.png

# Window class or window refused: exit 0 at once, the log says how far it got.
mkdir "$tmp/f" && cd "$tmp/f"
"$prog" --headless --frames 3 --fault RegisterClassExA >/dev/null 2>&1
pruefe "class refused exits 0" test $? -eq 0
pruefe_gleich "class refused: banner only" "$(cat Protokoll.txt)" "Farnkolonie09."
"$prog" --headless --frames 3 --fault CreateWindowExA >/dev/null 2>&1
pruefe_gleich "window refused: banner and class" "$(cat Protokoll.txt | tr '\n' '|')" "Farnkolonie09.|Window Registriert.|"

exit $fehler
