#!/usr/bin/env bash
# Builds the saver and shows it: renders frames of the tower field offscreen
# to PNG files and says where they are.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target ostrel-render

out=${1:-out/frames}
mkdir -p "$out"
build/tools/ostrel-render -s 1280x720 -o "$out" 1 600 2003 10000
echo "Frames written to $out/"
