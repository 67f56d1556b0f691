#!/usr/bin/env bash
# Builds the release: for 64- and 32-bit Windows a portable zip and an
# installer, tested under Wine (installer, Explorer command, uninstaller and
# the unpacked zip; the 32-bit runs report themselves skipped where the
# kernel cannot run 32-bit programs). The packages end up in build/release.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

rm -rf build/release
mkdir -p build/release
for preset in win64 win32; do
  echo "== $preset: build and pack"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2
  # The release tests make the packages first (release_packages), then try them.
  echo "== $preset: release tests under Wine"
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$preset" -L release
  cp "build/$preset"/release/Nestova-*-"$preset".zip "build/$preset"/release/Nestova-*-"$preset"-setup.exe \
    build/release/
done
ls -l build/release
