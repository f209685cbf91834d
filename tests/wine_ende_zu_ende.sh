#!/usr/bin/env bash
# The Windows build on Wine, in a virtual X server of 1152 x 864 at 16 bits:
# it starts full-screen on real Direct3D 8, draws its tree and overlay, takes
# real keys through DirectInput (S, F1, R, Esc), and its log, device file and
# screen are read back. A second, short run ends by closing the window.
# Screenshots stay in $WINE_BILDER when that is set.
set -u
exe=$(realpath -m "$1")
source "$(dirname "$0")/gemeinsam.sh"

werkzeuge_pruefen wine wineboot wineserver Xvfb xdpyinfo xwininfo xdotool import convert
if [ ! -f "$exe" ]; then
  echo "FAIL no Windows program at $1"
  exit 1
fi

# No key auto-repeat: a held key gives one key-down message, so no key
# message follows the window's end in the Alt+F4 run below.
XVFB_BILDSCHIRM=1152x864x16 XVFB_OPTIONEN=-r im_xvfb "$@"

tmp=$(mktemp -d)
trap 'wine_beenden "$tmp"; rm -rf "$tmp"' EXIT
trap 'exit 1' INT TERM HUP
bilder=${WINE_BILDER:-$tmp/bilder}
mkdir -p "$bilder"
beginn=$SECONDS

# --- A fresh Wine prefix.
wine_vorbereiten "$tmp" || exit 1

# --- The screen. aufnahme NAME grabs it to $bilder/NAME.png and reads it
# back into $tmp/NAME.werte; wert NAME KEY gives one value. Each pixel is
# taken back to its 5-6-5 word, so the widening of 16-bit colours to 8 bits
# per channel does not matter. The values:
#   gruen_Y  where pure green (0x07E0) lies in the rows of an overlay line,
#            as "x0-x1 y0-y1" or "keins"; the line at baseline B owns rows
#            B-10 .. B+9 (row 0 to 29 for the first), gruen_110 is the rest
#            of the screen below the overlay;
#   haeufigste  the commonest word of the whole screen;
#   baum     pixels that are neither clear colour nor green in the middle
#            (x 192..959, y 110..863): the camera always looks at the
#            origin, so the tree is there whatever the mouse did.
# Clear colour 0xffc82828 in 5-6-5 is 0xC945; Wine's conversion gives 0xC145
# (red 24 of 31 instead of 25). Both count as clear.
aufnahme() {
  import -window root "$bilder/$1.png" 2>/dev/null
  convert "$bilder/$1.png" -depth 8 rgb:- | od -An -v -tu1 -w3 | awk -v breite=1152 '
    BEGIN { n_zeilen = split("0 30 50 70 90 110", von); split("29 49 69 89 109 863", bis) }
    {
      i = NR - 1; x = i % breite; y = int(i / breite)
      w = int($1 * 31 / 255 + 0.5) * 2048 + int($2 * 63 / 255 + 0.5) * 32 + int($3 * 31 / 255 + 0.5)
      anzahl[w]++
      if (w == 2016) {
        for (k = 1; k < n_zeilen && y > bis[k]; k++) {}
        if (!(k in n) || x < x0[k]) x0[k] = x
        if (!(k in n) || x > x1[k]) x1[k] = x
        if (!(k in n)) y0[k] = y
        y1[k] = y
        n[k]++
      } else if (w != 49477 && w != 51525 && x >= 192 && x < 960 && y >= 110) baum++
    }
    END {
      for (k = 1; k <= n_zeilen; k++) print "gruen_" von[k], (k in n) ? x0[k] "-" x1[k] " " y0[k] "-" y1[k] : "keins"
      for (w in anzahl) if (anzahl[w] > meiste) { meiste = anzahl[w]; h = w }
      printf "haeufigste %04x\n", h
      print "baum", baum + 0
    }' >"$tmp/$1.werte"
}
wert() { sed -n "s/^$2 //p" "$tmp/$1.werte" 2>/dev/null; }
baum_ab() { [ "$(wert "$1" baum)" -ge "$2" ] 2>/dev/null; }   # NAME MIN
baum_bis() { [ "$(wert "$1" baum)" -le "$2" ] 2>/dev/null; }  # NAME MAX
# The overlay's boxes: every green pixel of a line, and no other, lies in
# its box, and the line reaches all four sides of it.
gouraud="387-487 12-20"
flach="387-464 12-20"
f1_hinweis="407-504 32-42"
tasten="387-434 32-40"
shader="411-524 52-60"
regrow="411-467 72-80"
zoom="375-475 92-100"
# zeigt NAME KEY=BOX...: the shot NAME holds exactly these boxes.
zeigt() {
  local name=$1 paar; shift
  for paar in "$@"; do
    [ "$(wert "$name" "${paar%%=*}")" = "${paar#*=}" ] || return 1
  done
}
ohne_hilfe() {
  zeigt "$1" gruen_30="$f1_hinweis" gruen_50=keins gruen_70=keins gruen_90=keins gruen_110=keins
}
mit_hilfe() {
  zeigt "$1" gruen_30="$tasten" gruen_50="$shader" gruen_70="$regrow" gruen_90="$zoom" gruen_110=keins
}
# Each key is held for at least 0.3 s (several 40 ms frames; DirectInput sees
# only what is down at a poll) and until the screen shows its effect.
halten_bis() {  # KEY SECONDS CHECK...
  local taste=$1 sekunden=$2; shift 2
  xdotool keydown "$taste"
  sleep 0.3
  warte_bis "$sekunden" "$@"
  local ergebnis=$?
  xdotool keyup "$taste"
  return $ergebnis
}

# After the key $1: the program has ended, with exit code 0.
endet_mit_null() {
  pruefe "$1 ends the run within 30 s" beendet $pid
  laeuft $pid && kill $pid
  wait $pid
  local code=$?
  pruefe "$1 run: exit code 0 ($code)" test $code -eq 0
}

# --- The main run: Gouraud start, S, F1, R, Esc.
mkdir "$tmp/lauf" && cd "$tmp/lauf"
wine "$exe" >out 2>err &
pid=$!
fenster=$(fenster_suchen err 60)
pruefe "full-screen window found" test -n "$fenster"
if [ -z "$fenster" ]; then
  exit 1
fi
geometrie=$(xwininfo -id "$fenster" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
pruefe "window covers the 1152x864 screen ($geometrie)" test "$geometrie" = "1152x864"

# Plain state, once the overlay shows and the tree has grown a little.
start_bereit() { aufnahme 1_start; zeigt 1_start gruen_0="$gouraud" && baum_ab 1_start 200; }
warte_bis 60 start_bereit
pruefe "start: 'SHADING : GOURAUD' in green at $gouraud ($(wert 1_start gruen_0))" zeigt 1_start gruen_0="$gouraud"
pruefe "start: the F1 hint and no help lines, no green elsewhere" ohne_hilfe 1_start
pruefe "start: the screen is the clear colour ($(wert 1_start haeufigste))" grep -qxE 'haeufigste (c145|c945)' "$tmp/1_start.werte"
pruefe "start: a tree in the middle ($(wert 1_start baum) pixels)" baum_ab 1_start 200

# S flips the shading: the line becomes FLAT.
ist_flach() { aufnahme 2_flach; zeigt 2_flach gruen_0="$flach"; }
halten_bis s 20 ist_flach
pruefe "S: 'SHADING : FLAT' at $flach ($(wert 2_flach gruen_0))" zeigt 2_flach gruen_0="$flach"
pruefe "S: still the F1 hint and no help lines" ohne_hilfe 2_flach

# F1 shows the four help lines while it is held, and only then.
hilfe_da() { aufnahme 3_hilfe; mit_hilfe 3_hilfe; }
halten_bis F1 20 hilfe_da
pruefe "F1 held: the help lines in their boxes, the F1 hint gone" mit_hilfe 3_hilfe
pruefe "F1 held: the shading line stays FLAT" zeigt 3_hilfe gruen_0="$flach"
hilfe_weg() { aufnahme 4_hilfe_los; ohne_hilfe 4_hilfe_los; }
warte_bis 20 hilfe_weg
pruefe "F1 released: the help lines gone, the hint back" ohne_hilfe 4_hilfe_los

# R replaces the tree in every frame while held: only a seedling is left.
# Released, the new tree grows again.
vorher=$(wert 4_hilfe_los baum)
saemling() { aufnahme 5_r_gehalten; baum_bis 5_r_gehalten $((${vorher:-0} / 10)); }
halten_bis r 20 saemling
pruefe "R held: the tree is gone ($vorher -> $(wert 5_r_gehalten baum) pixels)" baum_bis 5_r_gehalten $((${vorher:-0} / 10))
gewachsen() { aufnahme 6_nachgewachsen; baum_ab 6_nachgewachsen 200; }
warte_bis 30 gewachsen
pruefe "R released: a new tree grows ($(wert 6_nachgewachsen baum) pixels)" baum_ab 6_nachgewachsen 200

# Esc ends the run through the normal shut-down, with exit code 0 (the last
# message the pump retrieved is a key message there, not the quit message).
halten_bis Escape 30 beendet $pid
endet_mit_null Esc

# --- The log: every line as on Linux but for the adapter's own texts, which
# must agree with device.gra.
tr -d '\r' <Protokoll.txt >"$tmp/protokoll.txt"
text_bei() {  # zero-terminated text of file $1 at offset $2 (at most 512 bytes)
  tail -c +$(($2 + 1)) "$1" | head -c 512 | tr '\0' '\n' | head -n1
}
pruefe_gleich "device.gra is 344740 bytes" "$(stat -c %s device.gra 2>/dev/null)" 344740
beschreibung=$(text_bei device.gra 512)
pruefe "device.gra: adapter description present ('$beschreibung')" test -n "$beschreibung"
pruefe_gleich "device.gra: one adapter, the first chosen" "$(wort device.gra 344720) $(wort device.gra 344724)" "1 0"
pruefe_gleich "device.gra: 16 depth bits, 0 stencil bits twice" "$(wort device.gra 344728) $(wort device.gra 344732) $(wort device.gra 344736)" "16 0 0"
geraete=$(wort device.gra 1068)
pruefe_gleich "device.gra: HAL kept first and chosen ($geraete kept)" "$(wort device.gra 1072) $(wort device.gra 17232)" "1 0"
aufzaehlung=""
for ((j = 0; j < geraete && j < 5; j++)); do
  d=$((1072 + 3232 * j))
  case $(wort device.gra $d) in 1) aufzaehlung+="   -> Device: HAL"$'\n' ;; 2) aufzaehlung+="   -> Device: REF"$'\n' ;; *) aufzaehlung+="?"$'\n' ;; esac
  pruefe_gleich "device.gra: device $j name field is 0" "$(wort device.gra $((d + 216)))" 0
done
m=$((1072 + 224 + 20 * $(wort device.gra $((1072 + 3224)))))
pruefe_gleich "device.gra: chosen mode 1152x864 R5G6B5 (23) with D16 (80)" "$(wort device.gra $m) $(wort device.gra $((m + 4))) $(wort device.gra $((m + 8))) $(wort device.gra $((m + 16)))" "1152 864 23 80"
flags=$(wort device.gra $((m + 12)))
case $flags in
  80) tnl=" (TnL Hardware exklusiv)" ;;
  64) tnl=" (TnL Hardware)" ;;
  32) tnl=" (TnL in Software)" ;;
  *) tnl=" (behaviour flags $flags)" ;;
esac
printf '%s' "Farnkolonie09.
Window Registriert.
D3D_Init: Starte Initialisierung 
$aufzaehlung   -> Adapter akzeptiert: $beschreibung 
   -- Enumeration beendet -- 
   Device [HAL$tnl: $beschreibung] aktiviert! 
   Mode: 1152x864 16 Bit 16/0 Bit Depth/Stencil Buffer 
D3D_Init: successful 
rD3DInitialisieren : successful 
 
ProjektionsMatrix eingestellt.
Material initialisiert.
Lichtquelle initialisiert.
licht: LightEnable()
licht: SetRenderState()
licht: SetRenderState()
Tastatur online.
Maus online.
=========== HAUPTSCHLEIFE =========== 
 
=========== SPIEL  ENDE =========== 
 
" >"$tmp/erwartet.txt"
pruefe "log: start-up, main loop and end lines, no error between" diff -u "$tmp/erwartet.txt" "$tmp/protokoll.txt"

# --- A second run, closed as a user closes a window (Alt+F4): WM_DESTROY
# posts the quit message, the last message retrieved, so the exit code is 0.
# Same directory: the start replaces the first run's device.gra.
cd "$tmp/lauf"
wine "$exe" >out 2>err &
pid=$!
fenster=$(fenster_suchen err 60)
pruefe "second run: window found" test -n "$fenster"
laeuft_schleife() { aufnahme 7_vor_alt_f4; zeigt 7_vor_alt_f4 gruen_0="$gouraud"; }
warte_bis 60 laeuft_schleife
xdotool keydown alt
halten_bis F4 30 beendet $pid
xdotool keyup alt
endet_mit_null Alt+F4
tr -d '\r' <Protokoll.txt >"$tmp/protokoll2.txt"
pruefe_gleich "Alt+F4 run: main loop line before the end line" "$(grep -v '^ *$' "$tmp/protokoll2.txt" | grep -E 'HAUPTSCHLEIFE|SPIEL' | tr '\n' '|')" "=========== HAUPTSCHLEIFE =========== |=========== SPIEL  ENDE =========== |"
pruefe_gleich "Alt+F4 run: end line last" "$(grep -v '^ *$' "$tmp/protokoll2.txt" | tail -n1)" "=========== SPIEL  ENDE =========== "
pruefe_gleich "Alt+F4 run: device.gra replaced whole" "$(stat -c %s device.gra)" 344740
pruefe_gleich "Alt+F4 run: no half-written file left" "$(ls | grep -c tmp)" 0

if [ -n "${WINE_BILDER:-}" ]; then echo "     screenshots in $bilder"; fi
echo "     whole test took $((SECONDS - beginn)) s"
exit $fehler
