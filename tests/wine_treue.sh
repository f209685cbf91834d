#!/usr/bin/env bash
# Pixel fidelity: the scene program draws the same scenes on real Direct3D 8
# (Wine, 1152x864 at 16 bits) and on our software device, and the pictures
# are compared. Flat shading must be identical; Gouraud may differ by one
# step in a few pixels (the two rasterisers interpolate colours apart in the
# last bit); the tree's outline must match once it is grown, but for a few
# edge pixels where the two snap vertices to the pixel grid apart. The clear
# colour counts as equal in both forms (Wine converts 0xffc82828 to 0xC145,
# we to 0xC945). With TREUE_BILDER set, both pictures of every comparison
# are kept there.
#   wine_treue.sh SZENE.exe SZENE VERGLEICH
set -u
exe=$(realpath -m "$1")
szene=$(realpath -m "$2")
vergleich=$(realpath -m "$3")
source "$(dirname "$0")/gemeinsam.sh"
werkzeuge_pruefen wine wineboot wineserver Xvfb xdpyinfo
for datei in "$exe" "$szene" "$vergleich"; do
  [ -f "$datei" ] || { echo "FAIL no program at $datei"; exit 1; }
done
XVFB_BILDSCHIRM=1152x864x16 im_xvfb "$@"
tmp=$(mktemp -d)
trap 'wine_beenden "$tmp"; rm -rf "$tmp"' EXIT
wine_vorbereiten "$tmp" || exit 1

# seed, frames, then the scene's options: growth (frame 40 to 80) and the
# grown tree (150), both shadings, the camera's start, nearest and farthest
# distance, and the heaviest tree of all seeds (17276, 429 branches).
faelle=(
  "17276 60,150"
  "17276 60,150 --flat"
  "4711 40,150 --distance 0.5"
  "4711 150 --flat --distance 0.5"
  "3000000000 80,150 --distance 5"
  "3000000000 150 --flat --distance 5"
)
printf '     %-10s %5s %-7s %-8s %9s %9s %5s %4s %7s  %s\n' seed frame shading distance pixels same% step ">1" outline "where (x:y Wine/ours)"
for fall in "${faelle[@]}"; do
  read -r saat bilder optionen <<<"$fall"
  name=$(echo "$fall" | tr -c 'a-z0-9\n' '_')
  mkdir -p "$tmp/$name/w" "$tmp/$name/l"
  (cd "$tmp/$name/w" && timeout 300 wine "$exe" --seed "$saat" --frames "$bilder" --out w $optionen >out 2>&1)
  pruefe "$fall: Wine scene ran" test $? -eq 0
  (cd "$tmp/$name/l" && "$szene" --seed "$saat" --frames "$bilder" --out l $optionen >out 2>&1)
  pruefe "$fall: stand-in scene ran" test $? -eq 0
  flach=gouraud
  [[ $optionen == *--flat* ]] && flach=flat
  abstand=$(sed -n 's/.*--distance \([0-9.]*\).*/\1/p' <<<"$optionen")
  for bild in ${bilder//,/ }; do
    zeile=$("$vergleich" "$tmp/$name/w/w-$bild.raw" "$tmp/$name/l/l-$bild.raw")
    pruefe "$fall: frame $bild compared" test -n "$zeile"
    [ -n "$zeile" ] || continue
    eval "$zeile"
    printf '     %-10s %5s %-7s %-8s %9s %9s %5s %4s %7s  %s\n' "$saat" "$bild" "$flach" "${abstand:-3}" \
      "$pixels" "$(awk -v g="$gleich" -v p="$pixels" 'BEGIN { printf "%.4f", 100 * g / p }')" \
      "$stufe" "$ueber1" "$umriss" "$orte"
    if [ "$flach" = flat ]; then
      pruefe "$fall: frame $bild flat, every pixel the same but the outline's" \
        test $((gleich + umriss)) -eq "$pixels"
    else
      pruefe "$fall: frame $bild Gouraud, at least 99.99% the same" test $((gleich * 10000)) -ge $((pixels * 9999))
      pruefe "$fall: frame $bild Gouraud, inside never more than one step apart" test "$stufe" -le 1
    fi
    if [ -n "${TREUE_BILDER:-}" ]; then
      mkdir -p "$TREUE_BILDER"
      cp "$tmp/$name/w/w-$bild.raw" "$TREUE_BILDER/${name}wine-$bild.raw"
      cp "$tmp/$name/l/l-$bild.raw" "$TREUE_BILDER/${name}ersatz-$bild.raw"
    fi
    [ "$bild" -ge 132 ] && pruefe "$fall: frame $bild grown, outline the same but for 3 pixels" test "$umriss" -le 3
  done
done
exit $fehler
