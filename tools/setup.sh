#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the saver
# needs, when it is missing. Safe to run any number of times.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libosmesa6-dev libglu1-mesa-dev libgl-dev libglx-dev libx11-dev
    libpng-dev libfreetype-dev fonts-dejavu-core
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    libgtest-dev libbenchmark-dev
    clang libclang-rt-dev
    xvfb xdotool x11-apps
    # The 64-bit Windows test build and the Wine that runs it (never wine32:
    # no i386 packages on these machines).
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    sudo=sudo
else
    sudo=
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
