#!/usr/bin/env bash
# Installs, with apt-get, everything a fresh Debian machine needs to build,
# run and test Nestova. Quick when everything is there already.
#
# The 32-bit program runs under wine32, from Debian's i386 packages. It is
# installed only where it can work: the kernel must run 32-bit programs (some
# virtual machines cannot), and the i386 index must be reachable. Otherwise
# the architecture is left out, so apt and the 64-bit Wine keep working, and
# the 32-bit runs report themselves as skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  # native build, unit tests, sanitizers, fuzzers, format and lint checks
  cmake ninja-build g++ clang libclang-rt-dev clang-format clang-tidy googletest libgtest-dev
  zlib1g-dev libpng-dev
  # a plain web server for the HTTP client's tests
  busybox
  # Windows builds, 64- and 32-bit, with posix threads and zlib
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 libz-mingw-w64-dev
  # running and testing the program: Wine with its fonts, a virtual display,
  # window tools and screenshots
  wine wine64 fonts-wine xvfb xauth xdotool imagemagick
  # the release installer
  nsis
)

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done

want32=0
if scripts/can-run-32bit.sh; then
  installed wine32:i386 || want32=1
elif installed wine32:i386; then
  # A wine32 that cannot start makes the plain `wine` command fail for
  # 64-bit programs too.
  echo "setup: this kernel cannot run 32-bit programs; removing wine32" >&2
  "${sudo[@]}" apt-get remove -y -q wine32:i386 libwine:i386
fi
[ ${#missing[@]} -eq 0 ] && [ "$want32" -eq 0 ] && exit 0

if [ "$want32" -eq 1 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386
fi
echo "Installing: ${missing[*]}$([ "$want32" -eq 1 ] && echo ' wine32:i386')"
"${sudo[@]}" apt-get update -q || true
if [ ${#missing[@]} -gt 0 ]; then
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ "$want32" -eq 1 ] &&
   ! "${sudo[@]}" apt-get install -y -q --no-install-recommends wine32:i386; then
  echo "setup: the i386 packages cannot be had; the 32-bit program will not be run" >&2
  "${sudo[@]}" dpkg --remove-architecture i386 || true
  "${sudo[@]}" apt-get update -q || true
fi
