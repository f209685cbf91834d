#!/usr/bin/env bash
# Frame time of the Windows build on Wine, before and after each branch's
# draw call named only the vertices it uses: the scene program of today's
# tree (build-windows, from make windows) and one built from the same tree
# with that change taken back, run by turns in one Wine session. Heaviest
# tree (seed 17276), the 100 frames after its growth, each timed from its
# start to after its present; with and without the overlay (whose two to
# five back-buffer locks are the rest of the frame's cost).
#   tools/wine_bildzeit.sh [ROUNDS]
set -u
cd "$(dirname "$0")/.."
oben=$PWD
runden=${1:-3}
source tests/gemeinsam.sh
werkzeuge_pruefen wine wineboot wineserver Xvfb xdpyinfo git x86_64-w64-mingw32-g++
nachher=$oben/build-windows/tests/szene/borkwerk_szene.exe
[ -f "$nachher" ] || { echo "make windows first: $nachher is missing"; exit 1; }
XVFB_BILDSCHIRM=1152x864x16 im_xvfb "$@"
tmp=$(mktemp -d)
trap 'wine_beenden "$tmp"; git -C "$oben" worktree remove --force "$tmp/vorher" 2>/dev/null; rm -rf "$tmp"' EXIT

# The tree as it is, with the vertex-range change taken back.
aenderung=$(git log --format=%H -1 --grep="Name only the vertices a branch's draw call uses")
[ -n "$aenderung" ] || { echo "the vertex-range change is not in this history"; exit 1; }
git worktree add --detach -q "$tmp/vorher" HEAD
git -C "$tmp/vorher" diff "$aenderung" "$aenderung^" -- baum/geometrie.cpp | git -C "$tmp/vorher" apply
cmake -S "$tmp/vorher" -B "$tmp/vorher/build-windows" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=tools/mingw-w64.cmake >/dev/null &&
  cmake --build "$tmp/vorher/build-windows" --target borkwerk_szene -j "$(nproc)" >/dev/null ||
  { echo "the scene program before the change did not build"; exit 1; }
vorher=$tmp/vorher/build-windows/tests/szene/borkwerk_szene.exe

wine_vorbereiten "$tmp" >/dev/null || exit 1
median() { sort -n | awk '{ w[NR] = $1 } END { print (NR % 2) ? w[(NR + 1) / 2] : (w[NR / 2] + w[NR / 2 + 1]) / 2 }'; }
for ((r = 1; r <= runden; r++)); do
  for fall in "vorher" "nachher" "vorher --no-overlay" "nachher --no-overlay"; do
    read -r wer ohne <<<"$fall"
    exe=$vorher
    [ "$wer" = nachher ] && exe=$nachher
    mkdir -p "$tmp/lauf" && cd "$tmp/lauf" || exit 1
    rm -f zeiten.txt
    if ! timeout 600 wine "$exe" --seed 17276 --frames 231 --out z --times zeiten.txt $ohne \
      >/dev/null 2>&1; then
      echo "round $r, $fall: the scene program failed"
      exit 1
    fi
    tail -n 100 zeiten.txt >>"$tmp/${wer}${ohne:+_ohne}.txt"
    echo "round $r, $fall: median $(tail -n 100 zeiten.txt | median) us"
  done
done
echo "all rounds, medians of the frame (start to after Present), microseconds:"
for datei in vorher nachher vorher_ohne nachher_ohne; do
  printf '  %-13s %8s   (range %s to %s)\n' "$datei" "$(median <"$tmp/$datei.txt")" \
    "$(sort -n "$tmp/$datei.txt" | head -n1)" "$(sort -n "$tmp/$datei.txt" | tail -n1)"
done
