#!/usr/bin/env bash
# Start-up of the real program under Wine, in a virtual display, against an
# empty window timed in the same run. Usage: scripts/bench.sh [runs]
set -euo pipefail
. "$(dirname "$0")/build-win64.sh" bench_window_start
xvfb-run -a -s "-screen 0 1024x768x24" cmake/wine-run.sh build/win64/bin/bench_window_start.exe "${1:-15}"
