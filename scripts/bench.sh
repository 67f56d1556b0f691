#!/usr/bin/env bash
# Benchmarks: window start time of the real program under Wine, in a virtual
# display. Usage: scripts/bench.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target bench_window_start
export NESTOVA_WINE_ROOT="$PWD/build/win64/wine"
xvfb-run -a -s "-screen 0 1024x768x24" cmake/wine-run.sh build/win64/bin/bench_window_start.exe "${1:-20}"
