#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing,
# and the tests' npm tools from the committed lock file.
set -euo pipefail
oben=$(cd "$(dirname "$0")/.." && pwd)
pakete=(cmake make g++ pkg-config libsdl2-dev libx11-dev libpng-dev libgtest-dev libgmock-dev
        libbenchmark-dev g++-mingw-w64-x86-64 xvfb xauth xdotool x11-utils valgrind
        wine wine64 imagemagick openbox clang libclang-rt-14-dev time
        dpkg-dev lintian unzip desktop-file-utils man-db appstream libxml2-utils
        libtinygltf-dev libtinyobjloader-dev emscripten chromium)
# A Node.js that came some other way serves as well as Debian's.
command -v node >/dev/null && command -v npm >/dev/null || pakete+=(nodejs npm)
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
# The lock file pins every npm package; a changed lock installs afresh.
stempel=$oben/node_modules/.borkwerk-lock.json
if ! cmp -s "$oben/package-lock.json" "$stempel"; then
  (cd "$oben" && npm ci --no-audit --no-fund --loglevel=error)
  cp "$oben/package-lock.json" "$stempel"
fi
