#!/usr/bin/env bash
# Builds everything and runs every test: the style and static checks, the
# portable logic natively under ASan and UBSan, the fuzzers briefly, both
# Windows builds, and the Windows tests under Wine in a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

for preset in native fuzz win32 win64; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

scripts/lint.sh

for preset in native fuzz; do
  echo "== $preset: test"
  ctest --preset "$preset"
done

# A display of our own keeps test windows off the user's screen. The 32-bit
# tests report themselves skipped where the kernel cannot run 32-bit code.
for preset in win32 win64; do
  echo "== $preset: test under Wine"
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$preset"
done

echo "== run.sh without a display"
tests/scripts/run_test.sh

for name in main-window main-window-maximised chooser; do
  shot=build/win64/bin/$name.bmp
  [ -f "$shot" ] && convert "$shot" "build/$name.png" && echo "Screenshot: build/$name.png"
done
exit 0
