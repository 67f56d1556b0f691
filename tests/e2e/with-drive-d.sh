#!/usr/bin/env bash
# Runs a Windows program under Wine with a D: drive in the build tree's
# prefix: a fresh folder holding the folder Work. The drive goes again
# afterwards, so other tests keep seeing a machine without D:.
set -euo pipefail
cmake_dir="$(cd "$(dirname "$0")/../../cmake" && pwd)"
if [ "${NESTOVA_WINE_BITS:-64}" = 32 ] && ! "$cmake_dir/../scripts/can-run-32bit.sh"; then
  exec "$cmake_dir/wine-run.sh" "$@"  # reports the skip
fi
. "$cmake_dir/wine-env.sh"
"$cmake_dir/wine-prefix.sh"
drive="$NESTOVA_WINE_ROOT/drive-d"
link="$WINEPREFIX/dosdevices/d:"
if [ -e "$link" ] || [ -L "$link" ]; then
  echo "with-drive-d.sh: the prefix has a D: drive already ($link)" >&2
  exit 1
fi
rm -rf "$drive"
mkdir -p "$drive/Work"
trap 'rm -f "$link"; rm -rf "$drive"' EXIT
ln -s "$drive" "$link"
"$cmake_dir/wine-run.sh" "$@"
