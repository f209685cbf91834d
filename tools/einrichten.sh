#!/usr/bin/env bash
# Installs the Debian packages that are missing, when missing:
#   tools/einrichten.sh lauf   what the program needs to configure and build
#                              (make run; a build with -DBORKWERK_TESTS=OFF)
#   tools/einrichten.sh test   that and everything the tests need, with the
#                              tests' npm tools from the committed lock file
#                              (make test; also the default, with no argument)
set -euo pipefail
oben=$(cd "$(dirname "$0")/.." && pwd)
satz=${1:-test}
lauf=(cmake make g++ pkg-config libsdl2-dev libx11-dev libpng-dev libtinygltf-dev
      libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libavutil-dev)
test=(libgtest-dev libgmock-dev libbenchmark-dev libtinyobjloader-dev
      g++-mingw-w64-x86-64 wine wine64 emscripten chromium
      clang libclang-rt-14-dev valgrind xvfb xauth xdotool x11-utils openbox
      imagemagick time dpkg-dev lintian unzip desktop-file-utils man-db appstream
      libxml2-utils nlohmann-json3-dev ffmpeg)
case $satz in
  lauf) pakete=("${lauf[@]}") ;;
  test)
    pakete=("${lauf[@]}" "${test[@]}")
    # A Node.js that came some other way serves as well as Debian's.
    command -v node >/dev/null && command -v npm >/dev/null || pakete+=(nodejs npm)
    ;;
  *)
    echo "usage: $0 [lauf|test]  (lauf: to build and run the program; test: everything)" >&2
    exit 2
    ;;
esac
fehlend=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$p")
done
if [ ${#fehlend[@]} -gt 0 ]; then
  echo "installing: ${fehlend[*]}"
  als_root=()
  [ "$(id -u)" -ne 0 ] && als_root=(sudo)
  "${als_root[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y -q --no-install-recommends \
    "${fehlend[@]}"
fi
[ "$satz" = test ] || exit 0
# The lock file pins every npm package; a changed lock installs afresh.
stempel=$oben/node_modules/.borkwerk-lock.json
if ! cmp -s "$oben/package-lock.json" "$stempel"; then
  (cd "$oben" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$oben/package-lock.json" "$stempel"
fi
