#!/usr/bin/env bash
# The real program's files under conditions users meet: two copies in one
# folder, links, devices and FIFOs where files are expected, a full disk or
# a file size limit, and outputs that would overwrite each other. Nothing is
# lost, nothing hangs, every failure is one clear line. RUNDEN sets how many
# times the two copies start together (by hand: RUNDEN=1000).
set -u
prog=$(realpath "$1")
source "$(dirname "$0")/gemeinsam.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A PNG ends with its IEND chunk; a GLB's header says its length.
png_ganz() { [ "$(tail -c 12 "$1" | od -An -tx1 | tr -d ' \n')" = 0000000049454e44ae426082 ]; }
glb_ganz() { [ "$(wort "$1" 8)" = "$(stat -c %s "$1")" ]; }
reste() { find "$1" -name '*.tmp' | wc -l; }

# Two copies started together in one folder, again and again: each writes
# whole files under temporaries of its own and reports no failure.
mkdir "$tmp/zwei" && cd "$tmp/zwei"
runden=${RUNDEN:-15}
schlecht=0
for runde in $(seq 1 "$runden"); do
  "$prog" --headless --frames 20 --seed 11 --capture c.png --export t.glb >out1 2>err1 &
  a=$!
  "$prog" --headless --frames 20 --seed 12 --capture c.png --export t.glb >out2 2>err2 &
  b=$!
  wait $a; ca=$?
  wait $b; cb=$?
  if [ $ca -ne 0 ] || [ $cb -ne 0 ] || [ -s err1 ] || [ -s err2 ] || ! png_ganz c.png ||
    ! glb_ganz t.glb || [ "$(stat -c %s device.gra)" -ne 344740 ] || [ "$(reste .)" -ne 0 ]; then
    schlecht=$((schlecht + 1))
    echo "     round $runde: exit $ca and $cb; $(cat err1 err2 | head -c 300)"
  fi
done
pruefe_gleich "two copies in one folder, $runden times: no failure, no broken file" "$schlecht" 0

# Links, devices and FIFOs in place of a file.
mkdir "$tmp/art" && cd "$tmp/art"
mkdir ziele
ln -s ziele/bild.png link.png
"$prog" --headless --frames 3 --capture link.png >out 2>err
pruefe_gleich "a link: exit 0" "$?" 0
pruefe "a link: stays a link" test -L link.png
pruefe "a link: its target written whole" png_ganz ziele/bild.png
# The devices through links of our own: a writer that replaced what it was
# given would replace the link, never the device itself.
ln -s /dev/null nichts.png
ln -s /dev/full voll.png
"$prog" --headless --frames 3 --capture nichts.png >out 2>err
pruefe_gleich "a character device: written directly, exit 0" "$?" 0
pruefe "a character device: the link still names it" test -L nichts.png -a -c nichts.png
"$prog" --headless --frames 3 --capture voll.png >out 2>err
pruefe_gleich "a full device: exit 1" "$?" 1
pruefe_gleich "a full device: the reason" "$(cat err)" \
  "borkwerk: cannot write voll.png: No space left on device"
mkfifo fifo.png
rm -f Protokoll.txt
timeout 20 "$prog" --headless --frames 3 --capture fifo.png >out 2>err
pruefe_gleich "a FIFO as capture: refused before the run, exit 2" "$?" 2
pruefe_gleich "a FIFO as capture: the reason" "$(cat err)" "borkwerk: cannot write fifo.png: it is a FIFO"
pruefe "a FIFO as capture: no run" test ! -e Protokoll.txt
# A name planted where the old writer put its temporary is never followed.
echo unberuehrt >opfer
ln -s opfer c.png.tmp
"$prog" --headless --frames 3 --capture c.png >out 2>err
pruefe "a planted temporary name: the capture written" png_ganz c.png
pruefe_gleich "a planted temporary name: its target untouched" "$(cat opfer)" unberuehrt

# A frame that cannot be written (its name a link to a full device): one
# line of ours for the folder, none of libpng's.
mkdir -p "$tmp/png/bilder" && cd "$tmp/png"
ln -s /dev/full bilder/frame-00001.png
"$prog" --headless --frames 3 --capture-dir bilder >out 2>err
pruefe_gleich "a frame that cannot be written: exit 1" "$?" 1
pruefe_gleich "a frame that cannot be written: one line, with the reason" "$(cat err)" \
  "borkwerk: cannot write every frame into bilder: frame-00001.png: No space left on device"

# The program's own files as FIFOs: nothing blocks.
mkdir "$tmp/fifo_log" && cd "$tmp/fifo_log" && mkfifo Protokoll.txt
timeout 20 "$prog" --headless --frames 3 >out 2>err
pruefe_gleich "Protokoll.txt a FIFO: runs without a log, exit 0" "$?" 0
pruefe_gleich "Protokoll.txt a FIFO: said once" "$(cat err)" \
  "borkwerk: Protokoll.txt cannot be created; running without a log"
mkdir "$tmp/fifo_gra" && cd "$tmp/fifo_gra" && mkfifo device.gra
timeout 20 "$prog" --headless --frames 3 >out 2>err
pruefe_gleich "device.gra a FIFO: the graphics do not start, exit 1" "$?" 1
pruefe "device.gra a FIFO: the reason" grep -qF "device.gra cannot be written in the working directory (it is a FIFO)" err

# The log on a full disk: said once, and the message points to no log.
mkdir "$tmp/voll" && cd "$tmp/voll" && ln -s /dev/full Protokoll.txt
"$prog" --headless --frames 3 --fault Direct3DCreate8 >out 2>err
pruefe_gleich "a full log: the graphics' exit 1" "$?" 1
pruefe_gleich "a full log: the message names no log, the loss said once" "$(cat err)" \
  "borkwerk: The graphics did not start: Direct3D 8 is not available (Direct3DCreate8 failed).
borkwerk: not every line reached Protokoll.txt (No space left on device)"

# A file size limit (ulimit -f), as a full disk: the write fails, an
# earlier file stays whole, no temporary is left, and the signal that
# would have killed the process (SIGXFSZ) is not what ends it.
mkdir "$tmp/grenze" && cd "$tmp/grenze"
"$prog" --headless --frames 3 >/dev/null 2>&1
cp device.gra alt.gra
(ulimit -f 300; exec "$prog" --headless --frames 3 >out 2>err)
pruefe_gleich "ulimit -f 300: exit 1, not a signal" "$?" 1
pruefe "ulimit -f 300: device.gra's reason" grep -qF "device.gra cannot be written in the working directory (File too large)" err
pruefe "ulimit -f 300: the earlier device.gra whole" cmp -s device.gra alt.gra
pruefe_gleich "ulimit -f 300: no temporary left" "$(reste .)" 0

# Outputs that would overwrite each other or the program's own files, and
# empty or repeated values: refused before the run with one line.
mkdir "$tmp/zusammen" && cd "$tmp/zusammen"
echo "0 down F1" >s.txt
mkdir bilder
ln bilder/../s.txt auch_s.txt
while IFS='|' read -r optionen zeile; do
  # shellcheck disable=SC2086
  eval "\"\$prog\" --headless --frames 2 $optionen" >out 2>err
  code=$?
  pruefe_gleich "'$optionen': exit 2" "$code" 2
  pruefe_gleich "'$optionen': one line" "$(cat err)" "borkwerk: $zeile"
done <<'EOF'
--export t.glb --export-growth t.glb|--export and --export-growth name the same file, t.glb
--capture x.glb --export ./bilder/../x.glb|--capture and --export name the same file, x.glb
--capture Protokoll.txt|--capture Protokoll.txt would overwrite the program's log
--capture device.gra|--capture device.gra would overwrite the program's device file
--input s.txt --capture auch_s.txt|--capture auch_s.txt would overwrite the input script
--capture-dir bilder --capture bilder/frame-00001.png|--capture bilder/frame-00001.png names a frame that --capture-dir writes
--capture a.png --capture b.png|--capture is given twice; give it once
--capture ''|--capture needs a file name, not an empty one
--capture-dir ''|--capture-dir needs a file name, not an empty one
--export ''|--export needs a file name, not an empty one
--export-growth ''|--export-growth needs a file name, not an empty one
--input ''|--input needs a file name, not an empty one
--capture nicht/da.png|cannot write nicht/da.png: No such file or directory
--capture s.txt/x.png|cannot write s.txt/x.png: Not a directory
EOF
pruefe "refused runs left no log" test ! -e Protokoll.txt
pruefe_gleich "refused runs left the input script" "$(cat s.txt)" "0 down F1"
exit $fehler
