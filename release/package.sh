#!/usr/bin/env bash
# Makes the release packages of one build: a portable zip and an installer.
#   package.sh SOURCE_DIR BIN_DIR APP_ICON VERSION ARCH OUT_DIR
# BIN_DIR holds Nestova.exe and the Icons folder the build put beside it
# (possibly empty or missing); ARCH is win64 or win32. Writes
# OUT_DIR/Nestova-VERSION-ARCH.zip and OUT_DIR/Nestova-VERSION-ARCH-setup.exe.
set -euo pipefail
[ $# -eq 6 ] || { echo "usage: $0 SOURCE_DIR BIN_DIR APP_ICON VERSION ARCH OUT_DIR" >&2; exit 2; }
src=$1 bin=$2 icon=$3 version=$4 arch=$5 out=$6
case "$arch" in
  win64) target=amd64-unicode ;;
  win32) target=x86-unicode ;;
  *) echo "package.sh: unknown architecture $arch" >&2; exit 2 ;;
esac
command -v makensis >/dev/null || {
  echo "package.sh: makensis is missing; scripts/setup.sh installs Debian's nsis" >&2
  exit 1
}

name=Nestova-$version-$arch
mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$out/stage-$arch
# Packages of an earlier version go too, so the folder holds one release.
rm -rf "$stage" "$out"/Nestova-*-"$arch".zip "$out"/Nestova-*-"$arch"-setup.exe
mkdir -p "$stage/Icons"

cp "$bin/Nestova.exe" "$stage/"
if [ -d "$bin/Icons" ]; then
  cp -R "$bin/Icons/." "$stage/Icons/"
fi

# Text for Notepad: UTF-8 with a byte-order mark, CRLF line ends.
windows_text() {
  printf '\xef\xbb\xbf' >"$2"
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$1" >>"$2"
}
windows_text "$src/release/ReadMe.txt.in" "$stage/ReadMe.txt"
windows_text "$src/docs/guide.ru.md" "$stage/Guide.ru.txt"
windows_text "$src/docs/guide.en.md" "$stage/Guide.en.txt"
windows_text "$src/LICENSE" "$stage/LICENSE.txt"

(cd "$stage" && find . -mindepth 1 | LC_ALL=C sort | sed 's|^\./||' >"$out/files-$arch.txt")
(cd "$stage" && shopt -s dotglob && cmake -E tar cf "$out/$name.zip" --format=zip -- *)

# The installer copies the staged files, and its uninstaller removes exactly
# those (deepest first), so nothing else under the program's folder is
# touched. In NSIS strings "$" starts a variable: written "$$".
nsis_path() { sed -e 's|/|\\|g' -e 's/\$/$$/g' <<<"$1"; }
files=$out/files-$arch.nsh
# shellcheck disable=SC2016  # NSIS variables, written as NSIS reads them
{
  echo '!macro NESTOVA_INSTALL_FILES'
  echo '  SetOutPath "$INSTDIR"'
  echo '  File /r "${STAGE}/*"'
  # Folders without files too, such as an empty Icons.
  while IFS= read -r rel; do
    if [ -d "$stage/$rel" ]; then
      echo "  CreateDirectory \"\$INSTDIR\\$(nsis_path "$rel")\""
    fi
  done <"$out/files-$arch.txt"
  echo '!macroend'
  echo '!macro NESTOVA_REMOVE_FILES'
  LC_ALL=C sort -r "$out/files-$arch.txt" | while IFS= read -r rel; do
    if [ -d "$stage/$rel" ]; then
      echo "  RMDir \"\$INSTDIR\\$(nsis_path "$rel")\""
    else
      echo "  Delete \"\$INSTDIR\\$(nsis_path "$rel")\""
    fi
  done
  echo '!macroend'
} >"$files"

makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DTARGET=$target" "-DSTAGE=$stage" \
  "-DFILES=$files" "-DAPP_ICON=$icon" "-DOUTFILE=$out/$name-setup.exe" "$src/release/Nestova.nsi"
echo "package.sh: $out/$name.zip and $out/$name-setup.exe"
