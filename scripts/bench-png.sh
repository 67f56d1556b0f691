#!/usr/bin/env bash
# PNG decoding speed: our decoder, libpng and zlib's inflate alone, on
# icon-size files and on large photo-like pictures. Native, optimised, no
# sanitizers. Usage: scripts/bench-png.sh [repeats]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
build/bench/bench/bench_png_decode "${1:-20}"
