#!/usr/bin/env bash
# Installs, with apt-get, everything a fresh Debian machine needs to build,
# run and test Nestova. Quick when everything is there already.
set -euo pipefail

packages=(
  # native build, unit tests, sanitizers, fuzzers
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev zlib1g-dev
  # libpng: the PNG decoder's test oracle and benchmark rival, never linked into the program
  libpng-dev
  # Windows builds, 64- and 32-bit, with posix threads and zlib
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 libz-mingw-w64-dev
  # running and testing the program: Wine with its fonts, a virtual display,
  # window tools and screenshots
  wine wine64 fonts-wine xvfb xauth xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
