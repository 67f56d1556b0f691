#!/usr/bin/env bash
# Builds Nestova and starts it under Wine on a folder: argument 1, else a
# sample folder in the build tree. A Windows path (C:\x, D:/x, \\server\x)
# is passed as it stands; a Linux path is turned into Wine's (Z:\...).
# Without a display it runs in a virtual one, saves a screenshot to
# build/screenshot.png and closes the program with Esc. Returns the
# program's exit code; every wait is bounded.
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
case "$folder" in
  [A-Za-z]:* | \\\\*) target=$folder ;;
  # Wine shows the Linux root as drive Z:. (Asking winepath would start Wine
  # outside the virtual display and leave it unable to open windows there.)
  *) target="Z:$(realpath -m "$folder" | tr / '\\')" ;;
esac
exe=build/win64/bin/Nestova.exe

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe" "$target"
fi

shot="$PWD/build/screenshot.png"
rm -f "$shot"
# Inside the virtual display: start, wait for the window or the end of the
# program, take the picture, close the program with Esc as a user would.
set +e
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$1" "$2" &
  program=$!
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "^Nestova$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
  done
  if [ -n "$window" ]; then
    sleep 1  # let it paint
    import -window root "$3.full.png" && convert "$3.full.png" -trim +repage "$3"
    rm -f "$3.full.png"
    xdotool windowfocus "$window" key Escape
  fi
  for _ in $(seq 50); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$program" 2>/dev/null; then
    echo "run.sh: the program did not end; stopping it" >&2
    wineserver -k
  fi
  wait "$program"
' run "$exe" "$target" "$shot"
code=$?
set -e
[ -f "$shot" ] && echo "Screenshot: $shot"
echo "Nestova ended with exit code $code"
exit "$code"
