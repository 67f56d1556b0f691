#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's prefix; CTest uses it
# as the cross-compiling emulator. Needs an X display (see scripts/test.sh).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: no DISPLAY; run the tests through scripts/test.sh or xvfb-run" >&2
  exit 2
fi
"$(dirname "$0")/wine-prefix.sh"
exec wine "$@"
