# Sourced by the Wine scripts: one prefix and one HOME per build tree, so
# tests see a known, small user profile and never touch the user's own.
: "${NESTOVA_WINE_ROOT:?set NESTOVA_WINE_ROOT to a folder for the Wine prefix}"
export WINEPREFIX="$NESTOVA_WINE_ROOT/prefix"
export HOME="$NESTOVA_WINE_ROOT/home"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$HOME"
