#!/usr/bin/env bash
# The program's load on the machine: a session of SEKUNDEN (20) on a
# private virtual X server of 1280 x 1024, in a 1152 x 864 window or full
# screen (scaled), reporting the process's CPU share of one core over the
# session and, from --frame-times, the frame period's median and spread.
# With a Windows .exe it runs that under Wine (CPU share only: the Windows
# build reads no options). Further options go to the program (a film's,
# say: a relative name is in the session's own folder, gone after it).
#   tools/cpu_last.sh [--fullscreen] [SEKUNDEN] [PROGRAMM [OPTION...]]   (build/borkwerk)
set -u
oben=$(cd "$(dirname "$0")/.." && pwd)
source "$oben/tests/gemeinsam.sh"
im_xvfb "$@"
modus=--windowed
[ "${1:-}" = --fullscreen ] && { modus=""; shift; }
sekunden=${1:-20}
prog=$(realpath "${2:-$oben/build/borkwerk}")
shift $(($# < 2 ? $# : 2))
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

bilder=$(((sekunden + 6) * 25))
case $prog in
  *.exe)
    wine_vorbereiten "$tmp" >/dev/null || exit 1
    wine "$prog" >out 2>err &
    ;;
  *)
    # shellcheck disable=SC2086
    "$prog" $modus --seed 17276 --frames "$bilder" --frame-times zeiten.txt "$@" >out 2>err &
    ;;
esac
pid=$!
fenster=$(fenster_suchen err 30)
[ -n "$fenster" ] || { echo "cpu_last.sh: the window never showed" >&2; exit 1; }
# The process that draws: under Wine the .exe's own, not the loader's.
ziel=$pid
if [[ $prog == *.exe ]]; then
  ziel=$(pgrep -x borkwerk.exe | head -n1)
  [ -n "$ziel" ] || { echo "cpu_last.sh: no borkwerk.exe process" >&2; exit 1; }
fi
takte=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$ziel/stat"; }
sleep 3
c1=$(cpu)
t1=$(date +%s.%N)
sleep "$sekunden"
c2=$(cpu)
t2=$(date +%s.%N)
anteil=$(awk -v c="$((c2 - c1))" -v k="$takte" -v a="$t1" -v b="$t2" 'BEGIN {printf "%.1f", 100 * c / k / (b - a)}')
if [[ $prog == *.exe ]]; then
  wine_beenden "$tmp"
  kill $pid 2>/dev/null
  wait $pid 2>/dev/null
  echo "Windows build under Wine, full screen: ${anteil}% of one core over ${sekunden} s"
  exit 0
fi
kill -TERM $pid
wait $pid
echo "${modus:-full screen} on 1280x1024: ${anteil}% of one core over ${sekunden} s"
# The frame period, without the first second's frames (the window shows).
awk 'NR > 1 {print $1 - alt} {alt = $1}' zeiten.txt | tail -n +25 | sort -n >perioden.txt
n=$(wc -l <perioden.txt)
wert() { sed -n "$(((n - 1) * $1 / 100 + 1))p" perioden.txt; }
echo "frame period over $n frames: median $(wert 50) ms, 5th percentile $(wert 5) ms, 95th $(wert 95) ms, min $(head -n1 perioden.txt), max $(tail -n1 perioden.txt)"
