#!/usr/bin/env bash
# Style and static checks on our own code: the house format (clang-format)
# everywhere, and clang-tidy on the portable code as the native build
# compiles it. Needs the native build's compile_commands.json.
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
exit "$status"
