#!/usr/bin/env bash
# The web page in Debian's Chromium (tests/web/seite_test.js): its server
# answers bad addresses and keeps serving, a fixed run equals the Linux
# capture pixel for pixel, scripted runs too (?input, #input, a chosen file),
# a run that cannot start says why in the address's terms, a headless run
# ends by itself, and the live page grows the tree and answers F1, S, R and Esc;
# on a phone's touch screen a drag, a pinch and the key buttons do what the
# same input scripted does, and both phone sizes show every control
# (bedienung_test.js); the downloads are the Linux program's files, the
# film covers the growth, and the address carries the seed (mitnahme_test.js).
set -u
web=$1
prog=$2
source "$(dirname "$0")/gemeinsam.sh"
werkzeuge_pruefen node chromium convert ffmpeg ffprobe
for datei in index.html seite.js bedienung.js borkwerk.js borkwerk.wasm; do
  [ -f "$web/$datei" ] || { echo "FAIL $web/$datei is missing (make web builds it)"; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
node "$(dirname "$0")/web/seite_test.js" "$web" "$prog" "$tmp"
