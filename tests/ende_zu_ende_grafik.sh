#!/usr/bin/env bash
# The real program, headless: what the graphics start-up, the scene state and
# their failures leave in Protokoll.txt and device.gra.
set -u
prog=$(realpath "$1")
source "$(dirname "$0")/gemeinsam.sh"
lauf() {  # fresh directory $1, then the program with the remaining options
  mkdir "$tmp/$1" && cd "$tmp/$1" || exit 1
  shift
  "$prog" --headless --frames 3 "$@" >out 2>err
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

kopf=$'Farnkolonie09.\nWindow Registriert.\nD3D_Init: Starte Initialisierung \n'
aufzaehlung=$'   -> Device: HAL\n   -> Device: REF\n   -> Adapter akzeptiert: Borkwerk Software Rasterizer \n'
geraet=$'   -- Enumeration beendet -- \n   Device [HAL (TnL in Software): Borkwerk Software Rasterizer] aktiviert! \n   Mode: 1152x864 16 Bit 16/0 Bit Depth/Stencil Buffer \nD3D_Init: successful \nrD3DInitialisieren : successful \n \n'
szene=$'ProjektionsMatrix eingestellt.\nMaterial initialisiert.\nLichtquelle initialisiert.\nlicht: LightEnable()\nlicht: SetRenderState()\nlicht: SetRenderState()\n'
abbruch=$'Spiel_Init: D3D failed \n=========== SPIEL  ENDE =========== \n \n'

# The log up to and including the scene state, i.e. before the input lines.
bis_szene() {
  sed '/^licht: SetRenderState()$/{n;/^licht: SetRenderState()$/q}' Protokoll.txt
}

# A normal start: the graphics lines in order, the file with one adapter.
lauf normal
pruefe "normal: exit 0" test $? -eq 0
pruefe_gleich "normal: start-up lines" "$(bis_szene)" "$kopf$aufzaehlung$geraet${szene%$'\n'}"
pruefe_gleich "normal: no light error" "$(grep -c bewegt Protokoll.txt)" 0
pruefe_gleich "normal: device.gra size" "$(stat -c %s device.gra)" 344740
pruefe_gleich "normal: nAdapter 1, iAdapter 0" "$(wort device.gra 344720) $(wort device.gra 344724)" "1 0"
pruefe_gleich "normal: depth 16, stencil 0 twice" "$(wort device.gra 344728) $(wort device.gra 344732) $(wort device.gra 344736)" "16 0 0"
pruefe_gleich "normal: HAL then REF kept" "$(wort device.gra 1068) $(wort device.gra 1072) $(wort device.gra 4304)" "2 1 2"
i=$(wort device.gra $((1072 + 3224)))
m=$((1072 + 224 + 20 * i))
pruefe_gleich "normal: chosen mode 1152x864 R5G6B5 SW-TnL D16" "$(wort device.gra $m) $(wort device.gra $((m + 4))) $(wort device.gra $((m + 8))) $(wort device.gra $((m + 12))) $(wort device.gra $((m + 16)))" "1152 864 23 32 80"

# No Direct3D: straight to shut-down, no device file.
lauf d3d --fault Direct3DCreate8
pruefe "Direct3DCreate8: exit 1" test $? -eq 1
pruefe_gleich "Direct3DCreate8: says why in one line" "$(cat err)" \
  "borkwerk: The graphics did not start: Direct3D 8 is not available (Direct3DCreate8 failed). Protokoll.txt tells more."
pruefe_gleich "Direct3DCreate8: log" "$(cat Protokoll.txt)" "$kopf"$'D3D_Init Fehler: Direct3DCreate8() failed\n'"${abbruch%$'\n'}"
pruefe "Direct3DCreate8: no device.gra" test ! -e device.gra

# The device refused: the enumeration is logged and written all the same.
lauf geraet --fault CreateDevice
pruefe "CreateDevice: exit 1" test $? -eq 1
pruefe "CreateDevice: says why in one line" grep -qxF \
  "borkwerk: The graphics did not start: the full-screen display device cannot be created (CreateDevice failed). Protokoll.txt tells more." err
pruefe_gleich "CreateDevice: log" "$(cat Protokoll.txt)" "$kopf$aufzaehlung"$'D3D_Init Fehler: CreateDevice() failed \nD3D_Init Fehler: Obj_Init failed\n'"${abbruch%$'\n'}"
pruefe_gleich "CreateDevice: device.gra written" "$(stat -c %s device.gra)" 344740

# The disk fills up while device.gra is written (a file size limit here): the
# earlier device.gra stays whole and no half-written file is left.
mkdir -p "$tmp/voll" && cd "$tmp/voll"
"$prog" --headless --frames 1 >/dev/null 2>&1
cp device.gra gut.gra
(trap '' XFSZ; ulimit -f 300; "$prog" --headless --frames 3 >out 2>err)
pruefe "disk full: exit 1" test $? -eq 1
pruefe "disk full: the earlier device.gra whole" cmp -s device.gra gut.gra
pruefe_gleich "disk full: no half-written file left" "$(ls | grep -c tmp)" 0
pruefe "disk full: says why" grep -qF "device.gra cannot be written" err

# device.gra cannot be created.
mkdir -p "$tmp/gesperrt/device.gra" && cd "$tmp/gesperrt"
"$prog" --headless --frames 3 >out 2>err
pruefe "device.gra a directory: exit 1" test $? -eq 1
pruefe "device.gra a directory: says why" grep -qF "device.gra cannot be written" err
pruefe_gleich "device.gra a directory: log" "$(cat Protokoll.txt)" "$kopf$aufzaehlung"$'ERROR : device not saved\n'"${abbruch%$'\n'}"

# Viewport refused: one error line, the run goes on.
lauf viewport --fault GetViewport
pruefe "GetViewport: exit 0" test $? -eq 0
pruefe_gleich "GetViewport: log" "$(bis_szene)" "$kopf$aufzaehlung$geraet"$'ERROR : rProjektionsMatrixEinstellen() GetViewport failed \n'"${szene%$'\n'}"
pruefe "GetViewport: run completed" grep -qxF "=========== SPIEL  ENDE =========== " Protokoll.txt

# SetLight refused: no success line at set-up, one error line per frame.
lauf licht --fault SetLight
pruefe "SetLight: exit 0" test $? -eq 0
pruefe_gleich "SetLight: no set-up line" "$(grep -c '^Lichtquelle initialisiert.$' Protokoll.txt)" 0
pruefe "SetLight: LightEnable still logged" grep -qxF "licht: LightEnable()" Protokoll.txt
pruefe_gleich "SetLight: one line per frame" "$(grep -c '^Lichtquelle konnte nicht bewegt werden.$' Protokoll.txt)" 3
pruefe_gleich "SetLight: moved lines inside the main loop" "$(sed -n '/HAUPTSCHLEIFE/,/SPIEL  ENDE/p' Protokoll.txt | grep -c bewegt)" 3

exit $fehler
