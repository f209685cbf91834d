#!/usr/bin/env bash
# The films (--film) as a user's tools see them: ffprobe reads each kind
# with the run's frame count at 25 a second; the APNG holds the captures'
# pixels exactly; the lossy films lose no more than 4:2:0 colour must, and
# show a scripted run's changes at their own frames; the progress line;
# every failure leaves the earlier file whole and no temporary.
set -u
prog=$(realpath "$1")
source "$(dirname "$0")/gemeinsam.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

bilder=60
# S in 10, F1 held 20..29, a turn in 35 and a zoom in 45: each changes the
# picture in its frame.
printf '10 down S\n11 up S\n20 down F1\n30 up F1\n35 mouse 60 0 0\n45 mouse 0 0 -240\n' >skript.txt
lauf() {  # name, options...
  local name=$1; shift
  "$prog" --headless --seed 17276 --frames $bilder --input skript.txt "$@" >"$name.out" 2>"$name.err"
  echo $? >"$name.rc"
}
lauf apng --film f.apng --capture-dir bilder
for art in mp4 webm gif; do lauf $art --film f.$art; done
aufnahmen=(-framerate 25 -i bilder/frame-%05d.png)

for art in apng mp4 webm gif; do
  pruefe_gleich "$art: exit 0" "$(cat $art.rc)" 0
  pruefe "$art: nothing on stderr (not a terminal, so no progress)" test ! -s $art.err
  pruefe_gleich "$art: ffprobe reads every frame at 25 a second" \
    "$(ffprobe -v error -count_frames -show_entries stream=nb_read_frames,r_frame_rate \
        -of csv=p=0 f.$art)" "25/1,$bilder"
  # The APNG demuxer gives no duration of its own: its frames' durations add up.
  dauer=$(ffprobe -v error -show_entries packet=duration_time -of csv=p=0 f.$art |
    awk '{s += $1} END {printf "%.3f", s}')
  pruefe_gleich "$art: lasts frames / 25 seconds" "$dauer" "$(awk -v n=$bilder 'BEGIN {printf "%.3f", n / 25}')"
done
pruefe_gleich "mp4: H.264 in 4:2:0" \
  "$(ffprobe -v error -show_entries stream=codec_name,pix_fmt -of csv=p=0 f.mp4)" "h264,yuv420p"
pruefe_gleich "webm: VP9 in 4:2:0" \
  "$(ffprobe -v error -show_entries stream=codec_name,pix_fmt -of csv=p=0 f.webm)" "vp9,yuv420p"
pruefe "mp4: the index comes first, so a player starts at once" \
  test "$(grep -obUa moov f.mp4 | head -n1 | cut -d: -f1)" -lt "$(grep -obUa mdat f.mp4 | head -n1 | cut -d: -f1)"
pruefe "gif: loops" grep -qa NETSCAPE2.0 f.gif
# acTL: the frame count, then the plays (0: for ever).
actl=$(grep -obUa acTL f.apng | head -n1 | cut -d: -f1)
pruefe_gleich "apng: $bilder frames, played for ever" \
  "$(od -An -tx1 -j $((actl + 4)) -N 8 f.apng | tr -d ' \n')" "$(printf '%08x%08x' $bilder 0)"

pixel() { ffmpeg -v error "$@" -pix_fmt rgb24 -f framemd5 - | grep -v '^#' | awk -F, '{print $NF}'; }
pruefe_gleich "apng: every frame is the capture's, pixel for pixel" \
  "$(pixel -i f.apng)" "$(pixel "${aufnahmen[@]}")"

# PSNR of each frame of a film against the captures (film frame i against
# capture i + versatz), one figure a line; the last line is the average.
psnr() {  # film, versatz, [yuv]
  local film=$1 versatz=$2 filter
  local a="[0:v]format=rgb24[a]" b="[1:v]format=rgb24[b]"
  [ "${3:-}" = yuv ] && a="[0:v]format=yuv420p[a]" b="[1:v]scale=flags=bicubic+accurate_rnd,format=yuv420p[b]"
  [ "$versatz" -lt 0 ] && a="[0:v]trim=start_frame=1,setpts=PTS-STARTPTS,${a#\[0:v\]}"
  filter="$a;$b;[a][b]psnr=stats_file=psnr.txt"
  ffmpeg -v error -i "$film" -framerate 25 -start_number $((versatz > 0 ? versatz : 0)) \
    -i bilder/frame-%05d.png -lavfi "$filter" -f null - || return
  sed -n 's/.*psnr_avg:\([0-9.inf]*\).*/\1/p' psnr.txt
}
# Line L of gleich.txt: film frame L - 1 against its capture; of
# frueher.txt: film frame L against capture L - 1; of spaeter.txt: film
# frame L - 1 against capture L. Frame c is nearer its own capture than
# capture c - 1 by more than 1 dB, and frame c - 1 nearer its own than c.
zeile() { sed -n "${2}p" "$1" | sed 's/^inf$/100/'; }
wechsel_nah() {
  awk -v e="$(zeile gleich.txt $(($1 + 1)))" -v a="$(zeile frueher.txt "$1")" \
      -v e1="$(zeile gleich.txt "$1")" -v a1="$(zeile spaeter.txt "$1")" \
      'BEGIN {exit !(e > a + 1 && e1 > a1 + 1)}'
}
mittel() { awk '$1 != "inf" {s += $1; n++} $1 == "inf" {s += 100; n++} END {printf "%.2f", s / n}'; }
# What 4:2:0 itself costs these pictures, the encoder losing nothing: the
# saturated red behind 1-pixel green text and twigs is colour that 4:2:0
# halves, so no 4:2:0 film of them reaches 38 dB in RGB.
ffmpeg -v error "${aufnahmen[@]}" -vf scale=flags=bicubic+accurate_rnd,format=yuv420p \
  -c:v libx264 -qp 0 verlustlos.mp4
decke=$(psnr verlustlos.mp4 0 | mittel)
for art in mp4 webm gif; do
  psnr f.$art 0 >rgb.txt
  rgb=$(mittel <rgb.txt)
  if [ $art = gif ]; then
    echo "     gif: PSNR against the captures $rgb dB"
    pruefe "gif: at least 38 dB against the captures" awk -v p="$rgb" 'BEGIN {exit !(p >= 38)}'
  else
    yuv=$(psnr f.$art 0 yuv | mittel)
    echo "     $art: PSNR $yuv dB in 4:2:0, $rgb dB in RGB (4:2:0 without loss: $decke dB)"
    pruefe "$art: at least 38 dB against the captures in its own 4:2:0" \
      awk -v p="$yuv" 'BEGIN {exit !(p >= 38)}'
    pruefe "$art: within 0.5 dB of 4:2:0 without loss in RGB" \
      awk -v p="$rgb" -v d="$decke" 'BEGIN {exit !(p >= d - 0.5)}'
  fi
  pruefe "$art: no frame below 30 dB" awk '$1 != "inf" && $1 < 30 {exit 1}' rgb.txt
  # Film frame i against captures i - 1 and i + 1: at each scripted change
  # the film's frame is nearest its own capture, on either side (a lossy
  # film compared in its 4:2:0, which it keeps almost exactly).
  raum=yuv
  [ $art = gif ] && raum=rgb
  psnr f.$art 0 $raum >gleich.txt
  psnr f.$art -1 $raum >frueher.txt
  psnr f.$art 1 $raum >spaeter.txt
  for wechsel in 10 20 30 35 45; do
    pruefe "$art: frame $wechsel shows its own change, not its neighbour's" wechsel_nah $wechsel
  done
done

# A terminal gets one progress line, rewritten in place, ended at the end.
script -qfec "'$prog' --headless --seed 1 --frames 20 --film t.webm" /dev/null >terminal.txt
pruefe "terminal: the progress counts to the last frame" grep -qa $'borkwerk: film, frame 20 of 20\r' terminal.txt
pruefe_gleich "terminal: one line, rewritten" "$(tr -d '\r' <terminal.txt | grep -c .)" 1

# Failures: a clear line, exit 1 (2 before the run), the earlier file whole,
# no temporary left.
echo "the earlier film" >alt.mp4
(ulimit -f 500; exec "$prog" --headless --seed 17276 --frames 150 --film alt.mp4) >out 2>err
pruefe_gleich "file size limit: exit 1" $? 1
pruefe_gleich "file size limit: says so" "$(cat err)" "borkwerk: cannot write alt.mp4: File too large"
pruefe_gleich "file size limit: the earlier film stays" "$(cat alt.mp4)" "the earlier film"
ln -s /dev/full voll.gif
"$prog" --headless --frames 5 --film voll.gif >out 2>err
pruefe_gleich "full disk: exit 1" $? 1
pruefe_gleich "full disk: says so" "$(cat err)" "borkwerk: cannot write voll.gif: No space left on device"
"$prog" --headless --frames 5 --film f.avi >out 2>err
pruefe_gleich "unknown kind: exit 2" $? 2
pruefe_gleich "unknown kind: says which there are" "$(cat err)" \
  "borkwerk: --film needs a name ending in .mp4, .webm, .gif or .apng, not 'f.avi'"
"$prog" --headless --frames 5 --film f.gif --capture f.gif >out 2>err
pruefe_gleich "the same file as the capture: exit 2" $? 2
pruefe_gleich "no temporary left" "$(find . -name '*.tmp' | wc -l)" 0
exit $fehler
