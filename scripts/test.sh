#!/usr/bin/env bash
# Builds everything and runs every test: portable logic natively under ASan
# and UBSan, the fuzzers briefly, both Windows builds, and the Windows tests
# under Wine in a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

for preset in native fuzz win32 win64; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

for preset in native fuzz; do
  echo "== $preset: test"
  ctest --preset "$preset"
done

# A display of our own keeps test windows off the user's screen. The 32-bit
# tests need it too where this machine can run them (else they skip).
for preset in win32 win64; do
  echo "== $preset: test under Wine"
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$preset"
done

shot=build/win64/bin/main-window.bmp
if [ -f "$shot" ]; then
  /usr/bin/convert "$shot" build/main-window.png && echo "Screenshot of the main window: build/main-window.png"
fi
