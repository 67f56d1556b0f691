#!/usr/bin/env bash
# Creates the Wine prefix once; later calls return at once. The prefix is
# made anew when this script, Wine or wine32 changed since it was made.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
stamp="$(sha256sum "$0" | cut -d' ' -f1) $(wine --version 2>/dev/null | head -n 1) \
$(dpkg-query -W -f='${Version}' wine32:i386 2>/dev/null || true) dpi=${NESTOVA_WINE_DPI:-96}"
ready="$WINEPREFIX/.nestova-ready"
[ -f "$ready" ] && [ "$(cat "$ready")" = "$stamp" ] && exit 0
mkdir -p "$NESTOVA_WINE_ROOT"
exec 9>"$NESTOVA_WINE_ROOT/.lock"
flock 9
[ -f "$ready" ] && [ "$(cat "$ready")" = "$stamp" ] && exit 0
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
# Debian's Wine does not pick up its own fonts (Tahoma, and Marlett for the
# caption buttons); the prefix's font folder is always read.
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
# A virtual desktop gives top-level windows a real frame without a window
# manager, so screenshots and the close box look as on Windows.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
# Wine has no Segoe UI; Tahoma is the nearest of its own fonts in width.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Segoe UI' /d Tahoma /f >/dev/null 2>&1
# A prefix may stand for a screen of another pixel density.
if [ -n "${NESTOVA_WINE_DPI:-}" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$NESTOVA_WINE_DPI" /f >/dev/null 2>&1
fi
wineserver -w
echo "$stamp" >"$ready"
