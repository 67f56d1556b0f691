#!/usr/bin/env bash
# Makes this build's release packages and unpacks the zip into an empty folder.
#   unpack.sh CMAKE BUILD_DIR ZIP FOLDER
set -euo pipefail
cmake=$1 build=$2 zip=$3 folder=$4
"$cmake" --build "$build" --target nestova_release
rm -rf "$folder"
mkdir -p "$folder"
cd "$folder"
"$cmake" -E tar xf "$zip"
