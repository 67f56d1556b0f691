#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's prefix; CTest uses it
# as the cross-compiling emulator. Needs an X display (see scripts/test.sh).
# A 32-bit program on a machine that cannot run 32-bit code is reported as
# skipped (exit 77), with the reason.
set -euo pipefail
here="$(dirname "$0")"
if [ "${NESTOVA_WINE_BITS:-64}" = 32 ]; then
  if ! "$here/../scripts/can-run-32bit.sh"; then
    echo "skipped: this machine's kernel cannot run 32-bit programs, so Wine cannot run the 32-bit build"
    exit 77
  fi
  if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
    echo "skipped: wine32 (Debian's i386 packages) is not installed; scripts/setup.sh installs it where it can"
    exit 77
  fi
fi
. "$here/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run.sh: no DISPLAY; run the tests through scripts/test.sh or xvfb-run" >&2
  exit 2
fi
"$here/wine-prefix.sh"
exec wine "$@"
