#!/usr/bin/env bash
# Builds the saver and shows it: renders frames of the tower field offscreen
# to PNG files and says where they are; with a display, then runs the saver
# full screen on it (move the mouse or press a key to end it).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(ostrel-render)
if [ -n "${DISPLAY:-}" ]; then
    targets+=(ostrel)
fi
cmake --build build -j "$(nproc)" --target "${targets[@]}"

out=${1:-out/frames}
mkdir -p "$out"
build/tools/ostrel-render -s 1280x720 -o "$out" 1 600 2003 10000
echo "Frames written to $out/"

if [ -n "${DISPLAY:-}" ] && [ -x build/x11/ostrel ]; then
    echo "Running the saver on $DISPLAY"
    build/x11/ostrel /s
fi
