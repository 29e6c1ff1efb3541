#!/usr/bin/env bash
# The game's data for the page: made by the native asset generator (built with the default
# preset if it is not there yet), packed into one file with Emscripten's packer, and compressed.
#
#   web-data.sh DATA_DIR SITE_DIR    (run from the repository's root)
set -euo pipefail
data=$1
site=$2
if [ ! -x build/bin/make-assets ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default --target make-assets
fi
rm -rf "$data"
mkdir -p "$data" "$site"
build/bin/make-assets "$data" >/dev/null
packer=$(dirname "$(readlink -f "$(command -v em++)")")/tools/file_packager.py
# Only the folders the game reads go into the page.
cd "$data"
python3 "$packer" "$site/vorn-data.raw" --preload Images Sounds --js-output="$site/vorn-data.js" \
  >/dev/null
# A name without .gz, so that no host decompresses it on the way; the page checks the bytes.
gzip -9 -n -c "$site/vorn-data.raw" >"$site/vorn-data.bin"
rm "$site/vorn-data.raw"
