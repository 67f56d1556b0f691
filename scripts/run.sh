#!/usr/bin/env bash
# Builds Nestova and starts it under Wine on a folder (argument 1, else a
# sample folder in the build tree). Without a display it runs in a virtual
# one, writes a screenshot to build/screenshot.png and closes the program.
set -euo pipefail
. "$(dirname "$0")/build-win64.sh" Nestova
cmake/wine-prefix.sh
. cmake/wine-env.sh

if [ $# -gt 0 ]; then
  folder=$1
else
  folder="build/demo/Моя папка"
  mkdir -p "$folder"
fi
# Wine shows the Linux root as drive Z:. (Asking winepath would start Wine
# outside the virtual display and leave it unable to open windows there.)
target="Z:$(realpath "$folder" | tr / '\\')"
exe=build/win64/bin/Nestova.exe

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe" "$target"
fi

shot="$PWD/build/screenshot.png"
# Runs inside the virtual display: start, wait for the window, take the
# picture, close the program with Esc as a user would.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$1" "$2" &
  xdotool search --sync --name "^Nestova$" >/dev/null
  sleep 2
  import -window root "$3.full.png"
  /usr/bin/convert "$3.full.png" -trim +repage "$3"
  rm -f "$3.full.png"
  wineserver -k
' run "$exe" "$target" "$shot"
echo "Screenshot: $shot"
