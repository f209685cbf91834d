#!/usr/bin/env bash
# Our device against Mesa's llvmpipe on the heaviest tree's frame
# (tools/llvmpipe_vergleich.cpp): builds the tool in build-llvmpipe/ and
# runs it on llvmpipe's calling thread alone (LP_NUM_THREADS=0), then with
# llvmpipe's own threads. Needs Debian's libegl-dev, libgl-dev and
# libgl1-mesa-dri; a measuring tool, not a test.
#   tools/llvmpipe_vergleich.sh [ROUNDS [FRAMES]]
set -u
cd "$(dirname "$0")/.."
cmake -S . -B build-llvmpipe -DCMAKE_BUILD_TYPE=Release -DBORKWERK_LLVMPIPE=ON >/dev/null &&
  cmake --build build-llvmpipe --target llvmpipe_vergleich -j "$(nproc)" >/dev/null ||
  { echo "llvmpipe_vergleich did not build (Mesa's EGL and OpenGL headers?)"; exit 1; }
export BORKWERK_SAAT=${BORKWERK_SAAT:-17277} EGL_PLATFORM=surfaceless GALLIUM_DRIVER=llvmpipe
LP_NUM_THREADS=0 build-llvmpipe/bench/llvmpipe_vergleich "$@" &&
  env -u LP_NUM_THREADS build-llvmpipe/bench/llvmpipe_vergleich "$@"
