#!/usr/bin/env bash
# The packages of make package, unpacked: the Debian package (its fields,
# files, man page, desktop entry, start script and lintian) and the zip of
# the Windows build.
# pakete.sh PROGRAM WINDOWS_EXE VERSION: the packages lie beside the two.
set -u
prog=$1
exe=$2
version=$3
source "$(dirname "$0")/gemeinsam.sh"
werkzeuge_pruefen dpkg-deb lintian unzip desktop-file-validate man
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
for bibliothek in libc6 libsdl2-2.0-0 libpng16-16 libx11-6 libstdc++6; do
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
start=$baum/usr/libexec/borkwerk/borkwerk-start
env -u DISPLAY -u WAYLAND_DISPLAY XDG_STATE_HOME="$tmp/zustand" HOME="$tmp/heim" \
  "$start" --headless --frames 2 >/dev/null 2>&1
pruefe "start script: exit 0" test $? -eq 0
pruefe "start script: log and device file in \$XDG_STATE_HOME/borkwerk" \
  test -s "$tmp/zustand/borkwerk/Protokoll.txt" -a -s "$tmp/zustand/borkwerk/device.gra"
env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_STATE_HOME HOME="$tmp/heim" \
  "$start" --headless --frames 2 >/dev/null 2>&1
pruefe "start script: without XDG_STATE_HOME, in ~/.local/state/borkwerk" \
  test -s "$tmp/heim/.local/state/borkwerk/Protokoll.txt"

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

exit $fehler
