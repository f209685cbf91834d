#!/usr/bin/env bash
# The exporter on the real program: the Khronos validator finds neither
# error nor warning in the last frame's and the growth's files of a few
# seeds, the heaviest tree's growth stays under 8 MB, an OBJ holds the same
# triangles, a run writes the same log, device file and pictures with the
# exporter as without, and bad file names or unwritable files are named.
set -u
prog=$1
source "$(dirname "$0")/gemeinsam.sh"
oben=$(cd "$(dirname "$0")/.." && pwd)
werkzeuge_pruefen node
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

# The validator's summary line per file, as tools/gltf_pruefen.js prints it.
for saat in 17276 4711 3000000000; do
  "$prog" --headless --frames 150 --seed "$saat" --export "a$saat.glb" \
    --export-growth "w$saat.glb" >/dev/null 2>err
  pruefe "seed $saat: exit 0" test $? -eq 0
  pruefe "seed $saat: nothing on stderr" test ! -s err
done
(cd "$oben" && node tools/gltf_pruefen.js "$tmp"/*.glb) >bericht 2>&1
pruefe "validator: no error, no warning" test $? -eq 0
pruefe_gleich "validator: six files read" "$(grep -c ': 0 errors, 0 warnings' bericht)" 6
pruefe_gleich "growth files animate" "$(grep -c '1 animations' bericht)" 3
groesse=$(stat -c %s w17276.glb)
pruefe "heaviest tree's growth under 8 MB ($groesse bytes)" test "$groesse" -lt 8000000
sed 's/^/    /' bericht

# An OBJ of the same frame: as many triangles and vertices as the glTF.
"$prog" --headless --frames 150 --seed 17276 --export b.obj >/dev/null 2>&1
zeile=$(grep '^a17276.glb\|/a17276.glb' bericht)
pruefe "OBJ: triangles as in the glTF" \
  test "$(grep -c '^f ' b.obj) triangles" = "$(echo "$zeile" | grep -o '[0-9]* triangles')"
pruefe "OBJ: vertices as in the glTF" \
  test "$(grep -c '^v ' b.obj) vertices" = "$(echo "$zeile" | grep -o '[0-9]* vertices')"

# The exporter changes nothing the program writes.
for art in ohne mit; do
  mkdir "$art" && cd "$art"
  if [ "$art" = mit ]; then
    "$prog" --headless --frames 80 --seed 4711 --capture bild.png --export x.obj \
      --export-growth x.glb >/dev/null 2>&1
  else
    "$prog" --headless --frames 80 --seed 4711 --capture bild.png >/dev/null 2>&1
  fi
  cd ..
done
for datei in Protokoll.txt device.gra bild.png; do
  pruefe "with the exporter, the same $datei" cmp -s ohne/$datei mit/$datei
done

# Bad names before the run; files that cannot be written after it.
"$prog" --headless --frames 5 --export baum.gltf >out 2>err
pruefe "a .gltf name: exit 2" test $? -eq 2
pruefe_gleich "a .gltf name: one line" "$(cat err)" \
  "borkwerk: --export needs a file ending in .glb or .obj, not 'baum.gltf'"
# A folder that is not there: said with the reason before the run.
"$prog" --headless --frames 5 --export fehlt/x.obj >out 2>err
pruefe_gleich "no folder: exit 2" "$?" 2
pruefe_gleich "no folder: named with the reason" "$(cat err)" \
  "borkwerk: cannot write fehlt/x.obj: No such file or directory"
# A write that fails at the end (a file size limit, as a full disk): each
# file named with the reason, the earlier file whole, no temporary left.
mkdir -p gesperrt
cp a4711.glb gesperrt/w.glb
(ulimit -f 1000; exec "$prog" --headless --seed 4711 --frames 150 --export-growth gesperrt/w.glb \
  --export gesperrt/x.obj) >out 2>err
pruefe_gleich "too large: exit 1" "$?" 1
pruefe_gleich "too large: named with the reason" "$(cat err)" \
  "borkwerk: cannot write gesperrt/w.glb: File too large"
pruefe "too large: the earlier file stays" cmp -s gesperrt/w.glb a4711.glb
pruefe_gleich "too large: no temporary left" "$(ls gesperrt | grep -c tmp)" 0
pruefe "too large: the run ended normally" grep -qF "SPIEL  ENDE" Protokoll.txt
exit $fehler
