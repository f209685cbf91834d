#!/usr/bin/env bash
# The scene program grows and draws what the program itself does: on the
# stand-in its pictures equal the program's captures of the same seed and
# frame, so comparing it with real Direct3D 8 compares the program.
#   szene_gleich.sh PROGRAMM SZENE VERGLEICH
set -u
prog=$(realpath "$1")
szene=$(realpath "$2")
vergleich=$(realpath "$3")
source "$(dirname "$0")/gemeinsam.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"
for saat in 17276 3000000000; do
  mkdir "$saat" && cd "$saat" || exit 1
  "$prog" --headless --seed $saat --frames 151 --capture-dir bilder >/dev/null 2>&1
  "$szene" --seed $saat --frames 60,150 --out szene >/dev/null 2>&1
  for bild in 60 150; do
    eval "$("$vergleich" szene-$bild.raw "$(printf 'bilder/frame-%05d.png' $bild)")"
    pruefe "seed $saat frame $bild: the scene program's picture is the program's" \
      test "${gleich:-0}" -eq "${pixels:-1}"
  done
  cd ..
done
exit $fehler
