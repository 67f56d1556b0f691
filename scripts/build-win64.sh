# Sourced by the scripts that run the 64-bit program under Wine: installs
# what is missing, builds the given targets and points Wine at the build
# tree's own prefix.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target "$@"
export NESTOVA_WINE_ROOT="$PWD/build/win64/wine"
