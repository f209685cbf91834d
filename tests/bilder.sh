#!/usr/bin/env bash
# tools/bilder.sh, the README's pictures, made from this build: the film is
# a looping GIF of frames 0 to 132 and two seconds held, at 25 frames a
# second, 480 pixels wide, under 600,000 bytes; the tree picture is frame
# 132's tree, whole and unchanged, cropped tight (16 pixels of clear colour
# round it, no overlay text); the strip is two rows of five thumbnails of
# one scale; both stay under 500,000 bytes; none carries a time stamp (so a
# seed makes the same files). A failing run says why, keeps the
# earlier pictures whole and leaves no temporary files.
set -u
prog=$(realpath "$1")
skript=$(realpath "$(dirname "$0")/../tools/bilder.sh")
source "$(dirname "$0")/gemeinsam.sh"
werkzeuge_pruefen convert identify ffprobe
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/temp"
export TMPDIR=$tmp/temp

# The program's own frame 132, made alongside, for the tree's pixels.
(cd "$tmp" && "$prog" --headless --seed 17276 --frames 133 --capture voll.png >/dev/null 2>&1) &
BORKWERK=$prog bash "$skript" 17276 "$tmp/aus" >/dev/null 2>"$tmp/fehler.txt"
pruefe "pictures made (exit 0)" test $? -eq 0
sed 's/^/  bilder.sh: /' "$tmp/fehler.txt"
wait
baum=$tmp/aus/baum.png
wachstum=$tmp/aus/wachstum.png
# Colours and their pixel counts, leaving out the clear colour and the overlay's.
grund=$(convert "$baum" -format '%[hex:p{0,0}]' info:)
farben() { convert "$1" -format %c histogram:info:- | grep -vi -e "#$grund" -e '#00FF00'; }
pruefe "tree picture holds every tree pixel of frame 132, unchanged" \
  test "$(farben "$baum")" = "$(farben "$tmp/voll.png")"
read -r b h < <(identify -format '%w %h' "$baum")
pruefe "tree picture is the tree and a 16-pixel margin" \
  test "$(convert "$baum" -format '%@' info:)" = "$((b - 32))x$((h - 32))+16+16"
pruefe "tree picture holds no overlay text" \
  test "$(convert "$baum" -format %c histogram:info:- | grep -ci '#00FF00')" -eq 0
# A thumbnail is 240 pixels of picture, 6 of margin and 3 of frame a side,
# with a 22-pixel label band: as high as the tree picture's box, scaled
# (ImageMagick rounds where this floors).
daumen=$(((h - 32) * 240 / (b - 32)))
read -r sb sh < <(identify -format '%w %h' "$wachstum")
pruefe "strip is 5 thumbnails wide" test "$sb" -eq $((5 * 258))
rundung=$((sh - 2 * (daumen + 40)))
pruefe "strip is 2 thumbnails high" test $rundung -ge 0 -a $rundung -le 2
pruefe "both under 500,000 bytes" test $(($(stat -c %s "$baum") + $(stat -c %s "$wachstum"))) -lt 500000
pruefe_gleich "no time stamp in either" "$(cat "$baum" "$wachstum" | grep -ac 'tIME\|date:')" 0
film=$tmp/aus/wachsen.gif
pruefe_gleich "film: a GIF, 480 pixels wide, 133 frames and 50 held, 25 a second" \
  "$(ffprobe -v error -count_frames -show_entries stream=codec_name,width,r_frame_rate,nb_read_frames \
      -of csv=p=0 "$film")" "gif,480,25/1,183"
pruefe "film: loops" grep -qa NETSCAPE2.0 "$film"
pruefe "film: under 600,000 bytes" test "$(stat -c %s "$film")" -lt 600000
pruefe "film: the same as the README's" cmp -s "$film" "$(dirname "$skript")/../docs/bilder/wachsen.gif"

vorher=$(md5sum "$baum" "$wachstum" "$film")
BORKWERK=$prog bash "$skript" 4x "$tmp/aus" >/dev/null 2>"$tmp/fehler.txt"
pruefe "bad seed fails (exit 1)" test $? -eq 1
pruefe "bad seed says so" grep -q "the run failed" "$tmp/fehler.txt"
pruefe_gleich "earlier pictures kept" "$(md5sum "$baum" "$wachstum" "$film")" "$vorher"
BORKWERK=$tmp/fehlt bash "$skript" 17276 "$tmp/aus" >/dev/null 2>"$tmp/fehler.txt"
pruefe "missing program named" grep -q "$tmp/fehlt is missing" "$tmp/fehler.txt"
pruefe "no temporary files left" test -z "$(ls -A "$tmp/temp")"
exit $fehler
