#!/usr/bin/env bash
# scripts/run.sh as a new user meets it on a machine without a display: it
# starts the program in a virtual one, returns the program's exit code, and
# never hangs, whether a window comes up or not.
set -uo pipefail
cd "$(dirname "$0")/../.."
shot=build/screenshot.png
log=$(mktemp)
trap 'rm -f "$log"' EXIT
failed=0

# run <what> <expect-window: yes|no> [folder]
run() {
  local what=$1 window=$2
  shift 2
  env -u DISPLAY timeout 180 scripts/run.sh "$@" >"$log" 2>&1
  local code=$?
  if [ "$code" = 124 ]; then
    echo "FAIL: $what: run.sh did not return"
  elif [ "$code" != 0 ] || ! grep -q "Nestova ended with exit code 0" "$log"; then
    echo "FAIL: $what: exit code $code"
  elif [ "$window" = yes ] && [ ! -s "$shot" ]; then
    echo "FAIL: $what: no screenshot of the window"
  elif [ "$window" = no ] && [ -e "$shot" ]; then
    echo "FAIL: $what: a screenshot, though no window should come up"
  else
    echo "ok: $what"
    return
  fi
  tail -n 20 "$log"
  failed=1
}

run "a drive root ends at once without a window" no /
run "the sample folder shows the window, Esc ends it" yes
run "a Windows path is passed as it stands" yes 'C:\users\Public'
exit "$failed"
