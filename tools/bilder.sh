#!/usr/bin/env bash
# The README's pictures, from one headless run of the Release build
# (BORKWERK names another build): wachsen.gif, the program's film of the
# growth (--film), cropped to the tree, 480 pixels wide, the grown tree held
# for two seconds before it loops; baum.png, the tree at frame 132, the
# frame it is fully grown, cropped to the tree at its own pixels;
# wachstum.png, ten stages of its growth at one scale, frame number under
# each. The same seed gives the same files.
#   tools/bilder.sh [SEED] [FOLDER]     (17276, docs/bilder)
set -euo pipefail
oben=$(cd "$(dirname "$0")/.." && pwd)
saat=${1:-17276}
ziel=${2:-$oben/docs/bilder}
prog=${BORKWERK:-$oben/build/borkwerk}
for werkzeug in convert:imagemagick identify:imagemagick ffmpeg:ffmpeg; do
  command -v "${werkzeug%:*}" >/dev/null || {
    echo "bilder.sh: '${werkzeug%:*}' is missing (Debian: apt-get install ${werkzeug#*:})" >&2
    exit 1
  }
done
[ -x "$prog" ] || { echo "bilder.sh: $prog is missing; run make build first" >&2; exit 1; }
prog=$(realpath "$prog")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

(cd "$tmp" && "$prog" --headless --seed "$saat" --frames 133 --capture-dir bilder --film film.apng) \
  >"$tmp/lauf.txt" 2>&1 || { cat "$tmp/lauf.txt" >&2; echo "bilder.sh: the run failed" >&2; exit 1; }
bild() { printf '%s/bilder/frame-%05d.png' "$tmp" "$1"; }
stufen=(42 52 62 72 82 92 102 112 122 132)

# Frame 0 holds only the clear colour and the overlay, so whatever any stage
# darkens against it is tree: one box, the same for every stage, that leaves
# the overlay out (unreadable at this size) unless the tree reaches it.
dateien=()
for f in "${stufen[@]}"; do dateien+=("$(bild "$f")"); done
kasten=$(convert "$(bild 0)" \( "${dateien[@]}" -evaluate-sequence min \) \
  -compose difference -composite -format '%@' info:)
grund=$(convert "$(bild 0)" -format '%[pixel:p{0,0}]' info:)

# 16-bit colour leaves few enough colours for a palette PNG at no loss.
convert "$(bild 132)" -crop "$kasten" +repage -bordercolor "$grund" -border 16 \
  -strip PNG8:"$tmp/baum.png"

# Scaling blends colours; 64 undithered ones keep the strip small and clean.
daumen=()
for f in "${stufen[@]}"; do
  daumen+=("$tmp/stufe-$f.png")
  convert "$(bild "$f")" -crop "$kasten" +repage -resize 240x -bordercolor "$grund" -border 6 \
    -background '#202020' -fill '#e0e0e0' -gravity south -splice 0x22 -pointsize 14 \
    -annotate +0+4 "frame $f" -bordercolor '#202020' -border 3 "${daumen[-1]}"
done
convert \( "${daumen[@]:0:5}" +append \) \( "${daumen[@]:5}" +append \) -append \
  +dither -colors 64 -strip PNG8:"$tmp/wachstum.png"

# The film, from its lossless APNG: the tree's box with its margin, scaled
# down; one palette of 64 undithered colours for the whole film keeps it
# small and its red even.
read -r breite hoehe x y <<<"$(tr 'x+' '  ' <<<"$kasten")"
farbe=$(convert "$(bild 0)" -format '%[hex:p{0,0}]' info:)
ffmpeg -v error -i "$tmp/film.apng" -lavfi "crop=$breite:$hoehe:$x:$y,pad=iw+32:ih+32:16:16:0x$farbe,\
scale=480:-2:flags=area,tpad=stop_mode=clone:stop_duration=2,split[a][b];\
[a]palettegen=max_colors=64:stats_mode=full[p];[b][p]paletteuse=dither=none" \
  -loop 0 -bitexact "$tmp/wachsen.gif"

mkdir -p "$ziel"
mv "$tmp/wachsen.gif" "$tmp/baum.png" "$tmp/wachstum.png" "$ziel/"
for datei in wachsen.gif baum.png wachstum.png; do
  identify -format "$ziel/$datei: %wx%h, %b\n" "$ziel/$datei[0]"
done
