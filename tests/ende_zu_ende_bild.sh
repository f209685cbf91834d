#!/usr/bin/env bash
# The whole program's picture, pinned: a 150-frame headless run with seed
# 4711 ends on the grown tree with its two overlay lines; the same run with
# F1 held and S pressed at frame 100 ends on the five help lines, flat shaded.
# Any change to growth, geometry, camera, light, rasteriser or font shows
# here; a wanted change renews the two references in tests/daten.
set -u
prog=$(realpath "$1")
daten=$(realpath "$2")
source "$(dirname "$0")/gemeinsam.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

"$prog" --headless --frames 150 --seed 4711 --capture baum.png >/dev/null 2>&1
pruefe "grown tree run exits 0" test $? -eq 0
pruefe "grown tree as pinned" cmp -s baum.png "$daten/baum_4711.png"

printf '0 down F1\n100 down S\n' >skript.txt
"$prog" --headless --frames 150 --seed 4711 --input skript.txt --capture hilfe.png >/dev/null 2>&1
pruefe "help run exits 0" test $? -eq 0
pruefe "help and flat shading as pinned" cmp -s hilfe.png "$daten/baum_4711_hilfe_flach.png"
pruefe "help run differs from the plain run" test "$(cmp -s hilfe.png baum.png; echo $?)" -ne 0

# Zoomed fully in while the tree grows: vertices far off screen on every
# side. Must draw without a fault (a sanitizer build halts on one).
printf '0 mouse 0 0 2400\n' >nah.txt
"$prog" --headless --frames 150 --seed 4711 --input nah.txt --capture nah.png >/dev/null 2>nah.err
pruefe "nearest zoom run exits 0" test $? -eq 0
pruefe "nearest zoom run says nothing" test ! -s nah.err
exit $fehler
