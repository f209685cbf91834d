#!/usr/bin/env bash
# The exporter on the real program: the Khronos validator finds neither
# error nor warning (nor a degenerate triangle) in the last frame's and the
# growth's files of a few seeds, which name their seed, frame and morph
# targets; the heaviest tree's growth stays under 8 MB; an OBJ holds the
# same triangles, with its material file, standing on the ground plane or
# in the program's world; a run writes the same log, device file and
# pictures with the exporter as without; and bad names, outputs that clash
# or unwritable files are named.
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
pruefe_gleich "no degenerate triangle" "$(grep -c DEGENERATE bericht)" 0
# What the glTF's JSON says of the run: the asset's extras, and as many
# target names as targets.
angaben() {
  node -e '
    const d = require("fs").readFileSync(process.argv[1]);
    const j = JSON.parse(d.subarray(20, 20 + d.readUInt32LE(12)));
    const m = j.meshes[0];
    const namen = (m.extras || {}).targetNames || [];
    const ziele = m.primitives[0].targets || [];
    console.log(JSON.stringify(j.asset.extras), namen.length === ziele.length,
                namen[namen.length - 1] || "-");
  ' "$1"
}
pruefe_gleich "seed and frame: the tree" "$(angaben a3000000000.glb)" \
  '{"frame":149,"seed":3000000000} true -'
zeile=$(angaben w17276.glb)
pruefe "seed and frame, a name per target: the growth ($zeile)" \
  test "${zeile%% *}" = '{"frame":149,"seed":17276}' -a "$(echo "$zeile" | cut -d' ' -f2)" = true
letztesZiel=${zeile##* }
pruefe "the growth's last target is of an earlier frame ($zeile)" test "$letztesZiel" -lt 149
groesse=$(stat -c %s w17276.glb)
pruefe "heaviest tree's growth under 8 MB ($groesse bytes)" test "$groesse" -lt 8000000
sed 's/^/    /' bericht

# An OBJ of the same frame: as many triangles and vertices as the glTF, its
# material file named and written, the seed and frame in its first line.
"$prog" --headless --frames 150 --seed 17276 --export b.obj >/dev/null 2>&1
zeile=$(grep '^a17276.glb\|/a17276.glb' bericht)
pruefe "OBJ: triangles as in the glTF" \
  test "$(grep -c '^f ' b.obj) triangles" = "$(echo "$zeile" | grep -o '[0-9]* triangles')"
pruefe "OBJ: vertices as in the glTF" \
  test "$(grep -c '^v ' b.obj) vertices" = "$(echo "$zeile" | grep -o '[0-9]* vertices')"
pruefe_gleich "OBJ: seed and frame" "$(head -1 b.obj | cut -d, -f1-2)" "# borkwerk: seed 17276, frame 149"
pruefe_gleich "OBJ: names its material" "$(grep -E '^(mtllib|usemtl)' b.obj)" "mtllib b.mtl
usemtl Rinde"
pruefe_gleich "OBJ: the material's values" "$(grep -E '^(newmtl|Ka|Kd|Ks|d) ' b.mtl)" "newmtl Rinde
Ka 0.2 0.2 0.2
Kd 1 1 1
Ks 0 0 0
d 1"
# On the ground plane by default; the program's world is 1 m lower (the
# base at y = -1) and every vertex is moved alike.
"$prog" --headless --frames 150 --seed 17276 --export-origin program --export c.obj \
  >/dev/null 2>&1
unten() { awk '$1 == "v" && (n == 0 || $3 < m) {m = $3; n = 1} END {print m}' "$1"; }
pruefe_gleich "OBJ: base on the ground" "$(unten b.obj)" 0
pruefe_gleich "OBJ, --export-origin program: base at -1" "$(unten c.obj)" -1
# (the across move is the base's middle, within a micrometre of 0 here)
verschoben=$(paste -d' ' <(grep '^v ' b.obj) <(grep '^v ' c.obj) | awk '
  {for (i = 2; i <= 4; ++i) {d = $i - $(i + 4) - (i == 3); if (d < 0) d = -d; if (d > m) m = d}}
  END {print (NR > 0 && m < 1e-6) ? "by (0, 1, 0)" : "not alike, by up to " m " from (0, 1, 0)"}')
pruefe_gleich "OBJ: every vertex moved alike" "$verschoben" "by (0, 1, 0)"

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
"$prog" --headless --frames 5 --export baum.glb --export-origin ground >out 2>err
pruefe_gleich "an unknown origin: exit 2" "$?" 2
pruefe_gleich "an unknown origin: one line" "$(cat err)" \
  "borkwerk: --export-origin needs base or program, not 'ground'"
# The OBJ's material file is an output as any other.
"$prog" --headless --frames 5 --export a.obj --capture a.mtl >out 2>err
pruefe_gleich "material file and capture clash: exit 2" "$?" 2
pruefe_gleich "material file and capture clash: one line" "$(cat err)" \
  "borkwerk: --capture and the material file of --export name the same file, a.mtl"
pruefe "material file and capture clash: nothing written" test ! -e a.obj -a ! -e a.mtl
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
