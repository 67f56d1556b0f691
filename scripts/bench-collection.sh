#!/usr/bin/env bash
# Benchmark: selecting a collection of many multi-size icon files under Wine,
# against reading their bytes once in the same run. The collection is drawn
# into the build tree first. Usage: scripts/bench-collection.sh [runs] [--system]
set -euo pipefail
. "$(dirname "$0")/build-win64.sh" bench_collection_load
icons=build/win64/bench/Icons
if [ ! -f "$icons/Large/icon03999.ico" ]; then
  rm -rf "$icons"
  build/win64/host/collection_gen "$icons/Large" 4000
fi
xvfb-run -a -s "-screen 0 1024x768x24" cmake/wine-run.sh build/win64/bin/bench_collection_load.exe \
  "Z:$(realpath "$icons" | tr / '\\\\')\\" Large "$@"
