#!/usr/bin/env bash
# Builds everything (the Linux build with its tests, which builds the 64-bit
# Windows test build for Wine inside it, and the 32-bit Windows build) and
# runs every test. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"

# The Windows build: the same sources against the system's own headers.
cmake -S . -B build-win32 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build-win32 -j "$jobs"

ctest --test-dir build --output-on-failure -j "$jobs"
