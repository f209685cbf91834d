#!/usr/bin/env bash
# The packages of make package, unpacked: the Debian package (its fields,
# files, man page, desktop entry and icon, AppStream data, the README's
# pictures, start script and lintian) and the zip of the Windows build (with
# the icon in borkwerk.exe).
# pakete.sh PROGRAM WINDOWS_EXE VERSION: the packages lie beside the two.
set -u
prog=$1
exe=$2
version=$3
source "$(dirname "$0")/gemeinsam.sh"
werkzeuge_pruefen dpkg-deb lintian unzip desktop-file-validate man appstreamcli xmllint identify \
  compare x86_64-w64-mingw32-objdump
quelle=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The one package of this version beside $1, newer than the build $1 it
# holds; otherwise says what is wrong and ends the test.
paket_finden() {
  local gefunden=("$(dirname "$1")"/$2)
  if [ ! -e "${gefunden[0]}" ] || [ ${#gefunden[@]} -ne 1 ]; then
    echo "FAIL exactly one $(dirname "$1")/$2 (make package builds it): ${gefunden[*]}" >&2
    exit 1
  fi
  if [ "$1" -nt "${gefunden[0]}" ]; then
    echo "FAIL ${gefunden[0]} is older than $1 (make package builds it anew)" >&2
    exit 1
  fi
  echo "${gefunden[0]}"
}
deb=$(paket_finden "$prog" "borkwerk_${version}-*_*.deb") || exit 1
zip=$(paket_finden "$exe" "borkwerk-${version}-*.zip") || exit 1

# The Debian package's fields: name, version, section, and the libraries
# dpkg-shlibdeps found.
feld() { dpkg-deb -f "$deb" "$1"; }
pruefe_gleich "package borkwerk" "$(feld Package)" borkwerk
pruefe_gleich "version $version-1" "$(feld Version)" "$version-1"
pruefe_gleich "section games" "$(feld Section)" games
pruefe "maintainer" grep -q "<borkwerk@example.org>" <<<"$(feld Maintainer)"
pruefe "long description" test "$(feld Description | wc -l)" -gt 3
feld Depends | tr ',' '\n' | awk '{ print $1 }' >"$tmp/abhaengig"
for bibliothek in libc6 libsdl2-2.0-0 libpng16-16 libx11-6 libstdc++6 libavcodec59 libavformat59; do
  pruefe "depends on $bibliothek" grep -qxF "$bibliothek" "$tmp/abhaengig"
done

# Its files, and the program runs from the unpacked tree.
baum=$tmp/deb
dpkg-deb -x "$deb" "$baum"
for datei in usr/games/borkwerk usr/libexec/borkwerk/borkwerk-start; do
  pruefe "$datei executable" test -x "$baum/$datei"
done
for datei in usr/share/applications/borkwerk.desktop usr/share/man/man6/borkwerk.6.gz \
             usr/share/doc/borkwerk/README.md usr/share/doc/borkwerk/copyright \
             usr/share/doc/borkwerk/changelog.Debian.gz; do
  pruefe "$datei present" test -s "$baum/$datei"
done
pruefe "changelog names $version-1" \
  grep -q "^borkwerk ($version-1)" <(gzip -dc "$baum/usr/share/doc/borkwerk/changelog.Debian.gz")
"$baum/usr/games/borkwerk" --help >"$tmp/hilfe" 2>&1
pruefe "unpacked program: --help exits 0" test $? -eq 0
pruefe "unpacked program: --help lists options" grep -q -- "--windowed" "$tmp/hilfe"
pruefe "film module in lib/borkwerk" test -f "$baum/usr/lib/borkwerk/borkwerk-film.so"
(cd "$tmp" && "$baum/usr/games/borkwerk" --headless --frames 3 --film film.webm >/dev/null 2>&1)
pruefe "unpacked program: a film, by its module (exit 0)" test $? -eq 0
pruefe_gleich "unpacked program: the film's frames" \
  "$(ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of csv=p=0 "$tmp/film.webm")" 3

# The man page renders without a warning and names every option and fault
# --help names.
man_seite=$baum/usr/share/man/man6/borkwerk.6.gz
LC_ALL=C MANWIDTH=80 man --warnings -l "$man_seite" >"$tmp/man" 2>"$tmp/man_fehler"
pruefe "man page renders" test $? -eq 0 -a -s "$tmp/man"
pruefe "man page: no warnings" test ! -s "$tmp/man_fehler"
sed 's/^/  man: /' "$tmp/man_fehler"
pruefe "man page: version $version" grep -q "borkwerk $version" "$tmp/man"
fehlend=""
for wort in $(grep -oE -- '--[a-z-]+' "$tmp/hilfe") $(sed -n '/--fault/,/--help/p' "$tmp/hilfe" |
                                                      grep -oE '^ +[A-Za-z0-9.]+$'); do
  grep -qF -- "$wort" "$tmp/man" || fehlend+=" $wort"
done
pruefe "man page names every option and fault of --help (missing:${fehlend:- none})" \
  test -z "$fehlend"
for abschnitt in KEYS FILES; do
  pruefe "man page: $abschnitt" grep -q "^$abschnitt" "$tmp/man"
done

# The desktop entry is valid and starts the start script of the package,
# which runs the program in the user's state directory.
eintrag=$baum/usr/share/applications/borkwerk.desktop
pruefe "desktop entry valid" desktop-file-validate "$eintrag"
pruefe "desktop entry starts the start script" \
  grep -qxF "Exec=/usr/libexec/borkwerk/borkwerk-start" "$eintrag"

# Its icon: borkwerk.png in the hicolor theme, 48x48 (the theme's fallback)
# among its sizes, each as large as its folder says, and each what
# tools/symbol.sh makes from this build, pixel for pixel (when the tree's
# picture changes, run it again); so is paket/symbol/borkwerk.ico.
pruefe_gleich "desktop entry's icon" "$(sed -n 's/^Icon=//p' "$eintrag")" borkwerk
hicolor=$baum/usr/share/icons/hicolor
BORKWERK=$prog bash "$quelle/tools/symbol.sh" 17276 "$tmp/symbol" >/dev/null 2>"$tmp/symbol_fehler"
pruefe "tools/symbol.sh makes the icons (exit 0)" test $? -eq 0
sed 's/^/  symbol.sh: /' "$tmp/symbol_fehler"
gemacht=$(for datei in "$tmp/symbol"/borkwerk-*.png; do
  n=${datei##*-} && echo "${n%.png}x${n%.png}"
done | sort -n)
pruefe_gleich "icon installed at every size tools/symbol.sh makes" \
  "$(for datei in "$hicolor"/*/apps/borkwerk.png; do
       datei=${datei#"$hicolor"/} && echo "${datei%%/*}"
     done | sort -n)" "$gemacht"
pruefe "icon at 48x48" grep -qxF 48x48 <<<"$gemacht"
for groesse in $gemacht; do
  symbol=$hicolor/$groesse/apps/borkwerk.png
  pruefe_gleich "icon $groesse: a PNG of its folder's size" \
    "$(identify -format '%m %wx%h' "$symbol" 2>&1)" "PNG $groesse"
  pruefe_gleich "icon $groesse: what tools/symbol.sh makes (pixels that differ)" \
    "$(compare -metric AE "$symbol" "$tmp/symbol/borkwerk-${groesse%x*}.png" null: 2>&1)" 0
done
ico=$quelle/paket/symbol/borkwerk.ico
ico_groessen=$(identify -format '%wx%h ' "$ico")
pruefe_gleich "borkwerk.ico: the sizes tools/symbol.sh makes" \
  "$ico_groessen" "$(identify -format '%wx%h ' "$tmp/symbol/borkwerk.ico")"
bild=0
for groesse in $ico_groessen; do
  pruefe_gleich "borkwerk.ico $groesse: what tools/symbol.sh makes (pixels that differ)" \
    "$(compare -metric AE "${ico}[$bild]" "$tmp/symbol/borkwerk.ico[$bild]" null: 2>&1)" 0
  bild=$((bild + 1))
done

# The AppStream data: valid (appstreamcli's warning that the id is no
# reverse domain name is taken as a note; the file says why), named after its
# id, launching the desktop entry, rated, its screenshot one of the
# package's pictures, its licences the copyright file's and its release the
# changelog's.
meta=$baum/usr/share/metainfo/borkwerk.metainfo.xml
appstreamcli validate --no-net --pedantic --override=cid-desktopapp-is-not-rdns=info "$meta" \
  >"$tmp/appstream" 2>&1
pruefe "AppStream data valid" test $? -eq 0
sed '/^$/d; s/^/  appstreamcli: /' "$tmp/appstream"
xml() { xmllint --xpath "string($1)" "$meta" 2>&1; }
pruefe_gleich "AppStream file named after its id" "${meta##*/}" "$(xml /component/id).metainfo.xml"
pruefe_gleich "AppStream launches the desktop entry" \
  "$(xml '/component/launchable[@type="desktop-id"]')" "${eintrag##*/}"
pruefe_gleich "AppStream content rating" "$(xml 'count(/component/content_rating[@type="oars-1.1"])')" 1
doku=$baum/usr/share/doc/borkwerk
bildschirm=$(xml '/component/screenshots/screenshot[@type="default"]/image')
pruefe "AppStream screenshot is a picture of the package ($bildschirm)" \
  test -f "$doku/${bildschirm#https://example.org/borkwerk/}"
# lizenz FILES: the License of the copyright file's paragraph for FILES.
lizenz() {
  awk -v dateien="Files: $1" '$0 == dateien { drin = 1 } drin && /^License:/ { print $2; exit }' \
    "$doku/copyright"
}
projekt_lizenz=$(lizenz '*')
[ "$projekt_lizenz" = proprietary ] && projekt_lizenz=LicenseRef-proprietary
pruefe_gleich "AppStream project licence: the copyright file's" \
  "$(xml /component/project_license)" "$projekt_lizenz"
pruefe_gleich "AppStream metadata licence: the copyright file's for it" \
  "$(xml /component/metadata_license)" "$(lizenz paket/borkwerk.metainfo.xml)"
aenderung=$(gzip -dc "$doku/changelog.Debian.gz" | sed -n '1,/^ -- /p')
pruefe_gleich "AppStream release: the changelog's" \
  "$(xml '/component/releases/release[1]/@version') $(xml '/component/releases/release[1]/@date')" \
  "$(sed -n '1s/^borkwerk (\([^-]*\)-.*/\1/p' <<<"$aenderung") $(date -u +%F -d \
     "$(sed -n 's/^ -- .*>  //p' <<<"$aenderung")")"

# Every relative link of the installed README, its pictures among them,
# names a file installed beside it.
grep -oE '\]\([^)]+\)' "$doku/README.md" | sed -E 's/^\]\(([^ )#]*).*/\1/' |
  grep -vE '^([a-z]+:|$)' >"$tmp/verweise"
pruefe "installed README links pictures" grep -q '\.png$' "$tmp/verweise"
fehlend=""
while read -r verweis; do
  [ -f "$doku/$verweis" ] || fehlend+=" $verweis"
done <"$tmp/verweise"
pruefe "installed README: every relative link resolves (missing:${fehlend:- none})" test -z "$fehlend"

start=$baum/usr/libexec/borkwerk/borkwerk-start
if command -v shellcheck >/dev/null; then
  pruefe "start script: shellcheck" shellcheck "$start"
else
  echo "skip start script: shellcheck (not installed)"
fi

# The start script as a menu runs it: from a directory of the menu's
# choosing ($tmp/arbeit), on a display, whose notifier (first on the PATH)
# keeps what it is asked to show in $tmp/gemeldet, one argument a line.
mkdir -p "$tmp/melder" "$tmp/arbeit"
: >"$tmp/datei"
cat >"$tmp/melder/notify-send" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >"$tmp/gemeldet.neu" && mv "$tmp/gemeldet.neu" "$tmp/gemeldet"
EOF
chmod +x "$tmp/melder/notify-send"

# start_laufen SCRIPT VAR=VALUE...: runs SCRIPT with the program's options in
# an environment of only those variables; its exit code in $code, the lines
# it says itself on standard error (without its name) in $gesagt.
start_laufen() {
  local skript=$1
  shift
  rm -f "$tmp/gemeldet"
  (cd "$tmp/arbeit" && env -i PATH="$tmp/melder:$PATH" DISPLAY=:borkwerk-test "$@" \
    "$skript" --headless --frames 2 --capture-dir bilder >/dev/null 2>"$tmp/start_fehler")
  code=$?
  gesagt=$(sed -n 's/^borkwerk-start: //p' "$tmp/start_fehler")
}

# gelaufen NAME DIR: the program ran in DIR with the options it was given.
gelaufen() {
  pruefe "start script, $1: log, device file and captures in $2" \
    test -s "$2/Protokoll.txt" -a -s "$2/device.gra" -a -s "$2/bilder/frame-00001.png"
}

# normal NAME DIR SAID VAR=VALUE...: the program starts in its state
# directory DIR; the script says SAID on standard error and shows nothing.
normal() {
  local name=$1 ordner=$2 soll=$3
  shift 3
  rm -rf "$tmp/heim"
  start_laufen "$start" "$@"
  pruefe_gleich "start script, $name: exit 0" "$code" 0
  gelaufen "$name" "$ordner"
  pruefe_gleich "start script, $name: says" "$gesagt" "$soll"
  pruefe "start script, $name: shows nothing" test ! -e "$tmp/gemeldet"
}
normal "XDG_STATE_HOME" "$tmp/zustand/borkwerk" "" XDG_STATE_HOME="$tmp/zustand" HOME="$tmp/heim"
normal "without XDG_STATE_HOME" "$tmp/heim/.local/state/borkwerk" "" HOME="$tmp/heim"
normal "empty XDG_STATE_HOME" "$tmp/heim/.local/state/borkwerk" "" XDG_STATE_HOME= HOME="$tmp/heim"
normal "relative XDG_STATE_HOME ignored" "$tmp/heim/.local/state/borkwerk" \
  "XDG_STATE_HOME=relativ is not an absolute path, so it is ignored." \
  XDG_STATE_HOME=relativ HOME="$tmp/heim"

# ausweichen NAME WHERE WHY VAR=VALUE...: the state directory cannot be
# made; the script warns with WHY on standard error and on the screen alike,
# and the program runs in the one directory the warning names, WHERE (a
# pattern, for mktemp's), left in $ordner.
ausweichen() {
  local name=$1 muster=$2 grund=$3 wo
  shift 3
  rm -rf "$tmp/temp" "$tmp/laufzeit"
  mkdir -p "$tmp/temp" "$tmp/laufzeit"
  chmod 700 "$tmp/laufzeit"
  start_laufen "$start" "$@"
  pruefe_gleich "start script, $name: exit 0" "$code" 0
  pruefe "start script, $name: says why ($grund)" grep -qF -- "$grund" <<<"$gesagt"
  warte_bis 10 test -e "$tmp/gemeldet"
  pruefe_gleich "start script, $name: shows what it says" \
    "$(tail -n1 "$tmp/gemeldet" 2>/dev/null)" "$gesagt"
  pruefe_gleich "start script, $name: as a warning" \
    "$(head -n1 "$tmp/gemeldet" 2>/dev/null)" --urgency=normal
  ordner=$(sed -n 's/.* to \(\/[^,]*\), .*/\1/p' <<<"$gesagt")
  wo=nein
  # shellcheck disable=SC2053 # the pattern is meant to match
  [[ $ordner == $muster ]] && wo=ja
  pruefe "start script, $name: says it runs in $muster (said: ${ordner:-nothing})" test $wo = ja
  gelaufen "$name" "$ordner"
}
ausweichen "HOME unset" "$tmp/laufzeit/borkwerk" "HOME is not set" XDG_RUNTIME_DIR="$tmp/laufzeit"
ausweichen "XDG_STATE_HOME under a file" "$tmp/temp/borkwerk.??????" \
  "Could not make the state directory $tmp/datei/x/borkwerk" \
  XDG_STATE_HOME="$tmp/datei/x" HOME="$tmp/heim" TMPDIR="$tmp/temp"
ausweichen "HOME and XDG_RUNTIME_DIR under a file" "$tmp/temp/borkwerk.??????" \
  "Could not make the state directory $tmp/datei/.local/state/borkwerk" \
  HOME="$tmp/datei" XDG_RUNTIME_DIR="$tmp/datei/laufzeit" TMPDIR="$tmp/temp"
mkdir -m 755 "$tmp/geteilt"
ausweichen "HOME unset, XDG_RUNTIME_DIR not private" "$tmp/temp/borkwerk.??????" "HOME is not set" \
  XDG_RUNTIME_DIR="$tmp/geteilt" TMPDIR="$tmp/temp"
pruefe "start script: nothing in a runtime directory not private" test ! -e "$tmp/geteilt/borkwerk"
# Relative paths are ignored like XDG_STATE_HOME's: mktemp's directory is in
# /tmp, removed here.
ausweichen "HOME unset, relative XDG_RUNTIME_DIR and TMPDIR" "/tmp/borkwerk.??????" "HOME is not set" \
  XDG_RUNTIME_DIR=laufzeit TMPDIR=relativ
[[ $ordner == /tmp/borkwerk.* ]] && rm -rf "$ordner"

# nicht_gestartet NAME SCRIPT WHY VAR=VALUE...: the program cannot be
# started; the script says WHY on standard error and on the screen as an
# error, and nothing else happens.
nicht_gestartet() {
  local name=$1 skript=$2 grund=$3
  shift 3
  start_laufen "$skript" "$@"
  pruefe_gleich "start script, $name: exit 1" "$code" 1
  pruefe "start script, $name: says why ($grund)" grep -qF -- "$grund" <<<"$gesagt"
  pruefe_gleich "start script, $name: nothing but that on standard error" \
    "$(cat "$tmp/start_fehler")" "borkwerk-start: $gesagt"
  pruefe_gleich "start script, $name: shows what it says" \
    "$(tail -n1 "$tmp/gemeldet" 2>/dev/null)" "$gesagt"
  pruefe_gleich "start script, $name: as an error" \
    "$(head -n1 "$tmp/gemeldet" 2>/dev/null)" --urgency=critical
}
nicht_gestartet "no directory at all" "$start" "Nor could it make a directory in $tmp/datei;" \
  XDG_STATE_HOME="$tmp/datei/x" TMPDIR="$tmp/datei"
mkdir -p "$tmp/ohne/libexec/borkwerk"
cp "$start" "$tmp/ohne/libexec/borkwerk/"
nicht_gestartet "program missing" "$tmp/ohne/libexec/borkwerk/borkwerk-start" \
  "borkwerk is not installed" HOME="$tmp/heim"
pruefe_gleich "start script: never writes where the menu started it" "$(ls -A "$tmp/arbeit")" ""

# lintian: no errors; what else it says is shown.
lintian --fail-on error "$deb" >"$tmp/lintian" 2>&1
pruefe "lintian: no errors" test $? -eq 0
grep -v "running with root privileges" "$tmp/lintian" | sed 's/^/  lintian: /'

# The zip: one folder with borkwerk.exe and the readme, nothing else.
unzip -q "$zip" -d "$tmp/zip"
ordner=$tmp/zip/$(basename "$zip" .zip)
pruefe "zip holds borkwerk.exe and README.txt" \
  test "$(cd "$tmp/zip" && find . -type f | sort | tr '\n' ' ')" \
  = "./$(basename "$zip" .zip)/README.txt ./$(basename "$zip" .zip)/borkwerk.exe "
# The PE header, where the DOS header's word at 60 points: "PE\0\0", then
# the machine, 0x8664 for x86-64.
pe=$(wort "$ordner/borkwerk.exe" 60)
pruefe "borkwerk.exe is a 64-bit Windows program" \
  test "$(head -c2 "$ordner/borkwerk.exe")" = MZ -a "$(wort "$ordner/borkwerk.exe" "$pe")" -eq 17744 \
  -a "$(od -An -tu2 --endian=little -j $((pe + 4)) -N2 "$ordner/borkwerk.exe" | tr -d ' ')" -eq 34404
pruefe_gleich "README.txt has Windows line ends" "$(grep -c $'\r$' "$ordner/README.txt")" "$(wc -l <"$ordner/README.txt")"
for wort in "Version $version" d3d8.dll borkwerk.exe Esc Protokoll.txt device.gra installer; do
  pruefe "README.txt names '$wort'" grep -qF "$wort" "$ordner/README.txt"
done

# ressourcen EXE: "TYPE OFFSET LENGTH" of each resource in EXE, the type as
# objdump shows it (0x000003 an icon image, 0x00000e an icon group), the
# offset in the file.
ressourcen() {
  local vma ab basis
  read -r _ _ _ vma _ ab _ < <(x86_64-w64-mingw32-objdump -h "$1" | grep ' \.rsrc ')
  basis=$(x86_64-w64-mingw32-objdump -p "$1" | awk '$1 == "ImageBase" { print $2 }')
  x86_64-w64-mingw32-objdump -p "$1" | sed -n '/^The .rsrc Resource Directory/,$p' |
    awk '/^[0-9a-f]+   Entry: ID:/ { typ = $4 } /Leaf: Addr:/ { print typ, $4, $6 }' | tr -d , |
    while read -r typ adresse laenge; do
      echo "$typ $((16#$ab + adresse - (16#$vma - 16#$basis))) $((laenge))"
    done
}
# stueck FILE OFFSET LENGTH: the md5 sum of those bytes.
stueck() {
  dd if="$1" iflag=skip_bytes,count_bytes skip="$2" count="$3" status=none | md5sum | cut -d' ' -f1
}
# borkwerk.exe carries paket/symbol/borkwerk.ico as the icon Explorer shows:
# one group of as many images as the file holds, and its images byte for byte.
ressourcen "$ordner/borkwerk.exe" >"$tmp/ressourcen"
anzahl=$(od -An -tu2 --endian=little -j4 -N2 "$ico" | tr -d ' ')
gruppen=$(grep -c '^0x00000e ' "$tmp/ressourcen")
pruefe_gleich "borkwerk.exe: one icon group" "$gruppen" 1
if [ "$gruppen" -eq 1 ]; then
  read -r _ gruppe _ < <(grep '^0x00000e ' "$tmp/ressourcen")
  pruefe_gleich "borkwerk.exe: the group of borkwerk.ico's $anzahl images" \
    "$(od -An -tu2 --endian=little -j $((gruppe + 4)) -N2 "$ordner/borkwerk.exe" | tr -d ' ')" "$anzahl"
fi
in_exe=$(grep '^0x000003 ' "$tmp/ressourcen" | while read -r _ ab laenge; do
  stueck "$ordner/borkwerk.exe" "$ab" "$laenge"
done | sort)
in_ico=$(for ((i = 0; i < anzahl; i++)); do
  stueck "$ico" "$(wort "$ico" $((6 + 16 * i + 12)))" "$(wort "$ico" $((6 + 16 * i + 8)))"
done | sort)
pruefe_gleich "borkwerk.exe: its icon images are borkwerk.ico's" "$in_exe" "$in_ico"

exit $fehler
