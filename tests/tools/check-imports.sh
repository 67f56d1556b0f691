#!/usr/bin/env bash
# Fails unless the executable imports only DLLs that every Windows has: the
# program ships as one file, with no runtime beside it.
set -euo pipefail
objdump=$1
exe=$2
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|uxtheme|ws2_32|msvcrt|version|winmm|api-ms-win-.*)\.dll$'
bad=0
while read -r dll; do
  if [[ ! "${dll,,}" =~ $allowed ]]; then
    echo "not a system DLL: $dll"
    bad=1
  fi
done < <("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ "$bad" -eq 0 ] && echo "$exe imports only system DLLs"
exit "$bad"
