#!/usr/bin/env bash
# The icons of the desktop entry and of borkwerk.exe, made from the README's
# tree picture (tools/bilder.sh: one headless run of the Release build, or of
# the build BORKWERK names): the whole tree of frame 132 on its clear colour,
# squared, as borkwerk-N.png at the hicolor icon theme's sizes, and
# borkwerk.ico with the sizes Windows shows. The same seed gives the same files.
#   tools/symbol.sh [SEED] [FOLDER]     (17276, paket/symbol)
set -euo pipefail
oben=$(cd "$(dirname "$0")/.." && pwd)
saat=${1:-17276}
ziel=${2:-$oben/paket/symbol}
groessen=(16 32 48 64 128 256)
ico_groessen=(16 32 48 256)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

bash "$oben/tools/bilder.sh" "$saat" "$tmp" >/dev/null
baum=$tmp/baum.png
grund=$(convert "$baum" -format '%[pixel:p{0,0}]' info:)
read -r breite hoehe < <(identify -format '%w %h\n' "$baum")
seite=$((breite > hoehe ? breite : hoehe))

dateien=()
for n in "${groessen[@]}"; do
  dateien+=("$tmp/borkwerk-$n.png")
  convert "$baum" -background "$grund" -gravity center -extent "${seite}x${seite}" \
    -resize "${n}x${n}" -strip "${dateien[-1]}"
done
ico=()
for n in "${ico_groessen[@]}"; do ico+=("$tmp/borkwerk-$n.png"); done
convert "${ico[@]}" -strip "$tmp/borkwerk.ico"
dateien+=("$tmp/borkwerk.ico")

mkdir -p "$ziel"
mv "${dateien[@]}" "$ziel/"
for datei in "${dateien[@]}"; do
  identify -format "$ziel/${datei##*/}[%p]: %wx%h, %b\n" "$ziel/${datei##*/}"
done
