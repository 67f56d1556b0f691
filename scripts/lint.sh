#!/usr/bin/env bash
# Style and static checks on our own code: the house format (clang-format)
# everywhere, and clang-tidy on the portable code as the native build
# compiles it and on the Windows code as the 64-bit build compiles it. Needs
# both builds' compile_commands.json.
set -euo pipefail
cd "$(dirname "$0")/.."

ours=$(git ls-files '*.cpp' '*.h' | grep -v '^tests/fixtures/')
echo "== clang-format"
# shellcheck disable=SC2086  # one word per file; no names with spaces here
clang-format --dry-run --Werror $ours

echo "== clang-tidy"
[ -f build/native/compile_commands.json ] || cmake --preset native >/dev/null
# The files the native build compiles are exactly the portable ones.
mapfile -t portable < <(grep -o "\"file\": \"[^\"]*\"" build/native/compile_commands.json | cut -d\" -f4 |
  grep "^$PWD/\(src\|tools\)/" | sort -u)
status=0
out=$(clang-tidy -p build/native --quiet "${portable[@]}" 2>&1) || status=$?
# Drop clang-tidy's own counts of warnings it hid; keep every finding.
grep -v '^[0-9]* warnings generated\.$' <<<"$out" || true

echo "== clang-tidy, Windows code"
# The rest of our code as the 64-bit Windows build compiles it: clang parses
# it for mingw-w64 with the cross compiler's C++ library headers (its own
# intrinsics are gcc's, so clang keeps its own for those). Window
# messages carry pointers in integers, so that check is off here.
[ -f build/win64/compile_commands.json ] || cmake --preset win64 >/dev/null
mapfile -t windows < <(grep -o "\"file\": \"[^\"]*\"" build/win64/compile_commands.json | cut -d\" -f4 |
  grep "^$PWD/\(src\|tools\)/" | sort -u | comm -23 - <(printf '%s\n' "${portable[@]}"))
mapfile -t headers < <(echo | x86_64-w64-mingw32-g++-posix -xc++ -E -v - 2>&1 |
  sed -n '/^#include <...> search starts here:/,/^End of search list\./p' | sed -n 's/^ //p' |
  grep '/c++')
args=(--extra-arg=--target=x86_64-w64-mingw32)
for dir in "${headers[@]}"; do args+=("--extra-arg=-isystem$dir"); done
out=$(printf '%s\n' "${windows[@]}" |
  xargs -P "$(nproc)" -n 8 clang-tidy -p build/win64 --quiet --checks=-performance-no-int-to-ptr \
    "${args[@]}" 2>&1) || status=$?
grep -v '^[0-9]* warnings generated\.$' <<<"$out" || true
exit "$status"
