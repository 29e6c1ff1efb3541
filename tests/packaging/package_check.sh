#!/usr/bin/env bash
# The Debian package of a build: made with CPack, its contents listed and checked, then unpacked
# with dpkg -x and the game started from an unrelated working folder under an X server (1024 x
# 768, no window manager), where it must show its start screen and write only into the player's
# own state folder.
#
#   package_check.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/vorn-package-XXXXXX)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

state=$work/home/.local/state/vorn
fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/cpack.log" ] && { echo "--- cpack" >&2; tail -20 "$work/cpack.log" >&2; }
  [ -f "$state/debug.txt" ] && { echo "--- debug.txt" >&2; cat "$state/debug.txt" >&2; }
  [ -f "$work/out.txt" ] && { echo "--- program output" >&2; cat "$work/out.txt" >&2; }
  exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || fail "cpack failed"
deb=$(ls "$work"/out/vorn_*.deb) || fail "no package was made"

echo "--- contents of $(basename "$deb"), the data files counted"
dpkg-deb -c "$deb" | awk '{print $6}' >"$work/contents.txt"
grep -v '/share/vorn/[A-Za-z]*/.' "$work/contents.txt"
for folder in Images Sounds; do
  echo "./usr/share/vorn/$folder/: $(grep -c "^./usr/share/vorn/$folder/." "$work/contents.txt") files"
done
for path in ./usr/games/vorn ./usr/lib/games/vorn/vorn ./usr/share/applications/vorn.desktop \
  ./usr/share/icons/hicolor/48x48/apps/vorn.png ./usr/share/icons/hicolor/256x256/apps/vorn.png \
  ./usr/share/vorn/Images/background.tif ./usr/share/vorn/Sounds/; do
  grep -qxF "$path" "$work/contents.txt" || fail "$path is not in the package"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
[[ "$depends" == *libsdl2-2.0-0* ]] || fail "the package does not depend on SDL"

dpkg -x "$deb" "$work/root"
mkdir -p "$work/home" "$work/elsewhere"
cd "$work/elsewhere"
HOME=$work/home XDG_STATE_HOME='' SDL_AUDIODRIVER=dummy "$work/root/usr/games/vorn" \
  >"$work/out.txt" 2>&1 &
pid=$!
for ((deadline = SECONDS + 120; SECONDS < deadline; )); do
  grep -qs "Initialization finished OK" "$state/debug.txt" && break
  kill -0 "$pid" 2>/dev/null || fail "the game ended during start-up"
  sleep 0.1
done
grep -qs "Initialization finished OK" "$state/debug.txt" || fail "the game did not start"
[ "$(readlink "$state/Images")" = "$work/root/usr/share/vorn/Images" ] ||
  fail "Images in the state folder is not a link to the installed data"

# The start screen: the whole picture drawn in the centred 800 x 600 view, in many colours.
colours=0
for _ in $(seq 100); do
  import -window root "$work/shot.png"
  colours=$(convert "$work/shot.png" -crop 800x600+112+84 +repage -unique-colors -format %w info:)
  [ "$colours" -ge 500 ] && break
  sleep 0.2
done
[ "$colours" -ge 500 ] || fail "the view shows only $colours colours: no start screen"
echo "the start screen shows $colours colours"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the game wrote into its caller's working folder"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "closing ended the game with status $status"
echo "ok: package"
