#!/bin/sh
# Starts the installed game. The game reads its pictures and sounds from the folders Images and
# Sounds of its working folder and writes debug.txt (and recordings) there, while the installed
# data folder is not the player's to write: so the game runs in a folder of the player's own,
# which links to the installed data. Found relative to this script, so any prefix works, and a
# package unpacked anywhere.
set -eu
here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")
data=$prefix/share/vorn

# A state home that is not an absolute path is to be ignored, as for every program.
case "${XDG_STATE_HOME:-}" in
  /*) state=$XDG_STATE_HOME/vorn ;;
  *)
    [ -n "${HOME:-}" ] || { echo "vorn: HOME is not set" >&2; exit 1; }
    state=$HOME/.local/state/vorn
    ;;
esac
mkdir -p "$state"
for folder in Images Sounds; do
  # A link is renewed, so that it follows the game when it is installed somewhere else; a real
  # folder there is the player's own and is left alone.
  if [ -L "$state/$folder" ] || [ ! -e "$state/$folder" ]; then
    ln -sfn "$data/$folder" "$state/$folder"
  fi
done
cd "$state"
exec "$prefix/lib/games/vorn/vorn" "$@"
