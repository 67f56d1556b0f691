#!/usr/bin/env bash
# Fails unless the executable imports only DLLs that every Windows has: the
# program ships as one file, with no runtime beside it. The DLLs named after
# the executable must not be among those loaded at start: the program loads
# them when it first uses them.
# Usage: check-imports.sh objdump exe [dll-loaded-on-first-use...]
set -euo pipefail
objdump=$1
exe=$2
shift 2
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|uxtheme|ws2_32|msvcrt|version|winmm|api-ms-win-.*)\.dll$'
bad=0
while read -r dll; do
  if [[ ! "${dll,,}" =~ $allowed ]]; then
    echo "not a system DLL: $dll"
    bad=1
  fi
  for later in "$@"; do
    if [ "${dll,,}" = "${later,,}.dll" ]; then
      echo "loaded at every start, not on first use: $dll"
      bad=1
    fi
  done
done < <("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
if [ "$bad" -eq 0 ]; then
  echo "$exe imports only system DLLs${1:+; it loads $* on first use}"
fi
exit "$bad"
