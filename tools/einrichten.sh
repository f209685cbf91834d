#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail
pakete=(cmake make g++ pkg-config libsdl2-dev libx11-dev libpng-dev libgtest-dev libgmock-dev
        libbenchmark-dev g++-mingw-w64-x86-64 xvfb xauth xdotool x11-utils valgrind
        wine wine64 imagemagick openbox clang libclang-rt-14-dev time)
fehlend=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$p")
done
[ ${#fehlend[@]} -eq 0 ] && exit 0
echo "installing: ${fehlend[*]}"
als_root=()
[ "$(id -u)" -ne 0 ] && als_root=(sudo)
"${als_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${als_root[@]}" apt-get install -y -q --no-install-recommends "${fehlend[@]}"
