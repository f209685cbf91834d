#!/usr/bin/env bash
# The real program when memory runs out (ulimit -v, in a child only), from
# too little to start up to enough for everything: every run ends with its
# documented exit code and a line of its own, never an abort or a signal,
# and leaves no temporary file. (Sanitizer builds reserve memory of their
# own and are left out.)
set -u
prog=$(realpath "$1")
source "$(dirname "$0")/gemeinsam.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

abbrueche=0
knapp=0
for grenze in $(seq 20000 1500 50000); do
  mkdir "$tmp/$grenze" && cd "$tmp/$grenze"
  (ulimit -v "$grenze"; exec "$prog" --headless --seed 17276 --frames 150 --capture c.png \
    --capture-dir bilder --export t.glb --export-growth w.glb) >out 2>err
  code=$?
  # Below what the libraries need, the system's loader says so itself.
  grep -q 'error while loading shared libraries' err && [ $code -eq 127 ] && continue
  if [ $code -gt 2 ] || grep -q 'terminate called\|Aborted' err || [ "$(find . -name '*.tmp' | wc -l)" -ne 0 ] ||
    { [ $code -ne 0 ] && ! grep -q '^borkwerk: ' err; }; then
    abbrueche=$((abbrueche + 1))
    echo "     ulimit -v $grenze: exit $code; $(head -c 200 err)"
  fi
  grep -q 'out of memory\|CreateDevice failed' err && knapp=$((knapp + 1))
done
pruefe_gleich "every run ends as documented" "$abbrueche" 0
pruefe "some runs ran out of memory in the program itself ($knapp)" test "$knapp" -ge 3

# A film needs FFmpeg's libraries, loaded only then, and the encoder's
# threads: without the room for them the run does not start (exit 2) or
# its film fails (exit 1), each saying so, and the earlier film stays.
abbrueche=0
gesehen=""
for grenze in $(seq 50000 50000 600000); do
  mkdir "$tmp/film$grenze" && cd "$tmp/film$grenze"
  echo "the earlier film" >f.mp4
  (ulimit -v "$grenze"; exec "$prog" --headless --seed 17276 --frames 10 --film f.mp4) >out 2>err
  code=$?
  gesehen+=" $code"
  if [ $code -gt 2 ] || grep -q 'terminate called\|Aborted' err || [ "$(find . -name '*.tmp' | wc -l)" -ne 0 ] ||
    { [ $code -ne 0 ] && { [ "$(cat f.mp4)" != "the earlier film" ] || ! grep -q '^borkwerk: ' err; }; }; then
    abbrueche=$((abbrueche + 1))
    echo "     ulimit -v $grenze with --film: exit $code; $(head -c 200 err)"
  fi
done
pruefe_gleich "every film run ends as documented" "$abbrueche" 0
pruefe "film runs: the module not loading, the encoder failing and a film made (exits:$gesehen)" \
  eval '[[ $gesehen == *2* && $gesehen == *1* && $gesehen == *0* ]]'
exit $fehler
