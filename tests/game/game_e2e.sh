#!/usr/bin/env bash
# The whole game in a real window under an X server (Xvfb, no window manager, 1024 x 768, so
# that the 800 x 600 view sits at (112, 84)): it starts with the generated data, D held spins
# the left ring and not the right one, sound reaches the audio device, and a close request ends
# it with status 0 after a normal start in "debug.txt".
#
#   game_e2e.sh GAME MAKE_ASSETS
set -euo pipefail

game=$1
make_assets=$2
work=$(mktemp -d /tmp/vorn-game-e2e-XXXXXX)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/data/debug.txt" ] && { echo "--- debug.txt" >&2; cat "$work/data/debug.txt" >&2; }
  [ -f "$work/out.txt" ] && { echo "--- program output" >&2; cat "$work/out.txt" >&2; }
  exit 1
}

# Pixels that differ between two screenshots (a and b unless named) inside a rectangle given in
# view coordinates (WIDTHxHEIGHT+X+Y); the view starts at (112, 84) on the screen.
differing() {
  local w h x y
  IFS='x+' read -r w h x y <<<"$1"
  local crop="${w}x${h}+$((x + 112))+$((y + 84))"
  convert "$work/${2:-a}.png" -crop "$crop" +repage "$work/ca.png"
  convert "$work/${3:-b}.png" -crop "$crop" +repage "$work/cb.png"
  # compare reports the count on standard error and exits 1 when the pictures differ.
  compare -metric AE "$work/ca.png" "$work/cb.png" null: 2>&1 | cut -d' ' -f1 || true
}

"$make_assets" "$work/data" >/dev/null || fail "make-assets failed"
cd "$work/data"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw"
"$game" >"$work/out.txt" 2>&1 &
pid=$!
window=
# A loaded machine can take many seconds to open the window.
for ((deadline = SECONDS + 120; SECONDS < deadline; )); do
  window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1) || true
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || fail "the game ended during start-up"
  sleep 0.1
done
[ -n "$window" ] || fail "no window appeared"

# The start screen lasts three seconds and stands still; play has begun once the halos move. A
# loaded machine gets there later, so look rather than sleep.
for _ in $(seq 120); do
  import -window root "$work/a.png"
  sleep 0.25
  import -window root "$work/b.png"
  [ "$(differing 800x600+0+0)" -gt 0 ] && break
done

# The left ring turns under D: nearly every tile moves. The right one stands: only its halo, a tile
# it repaints or a vote tally may differ. The figures: the left one pushes its ring, the right one,
# without a key, keeps its pose. At full spin the left figure's loop of six poses takes about
# 300 ms, which a pair of shots can happen to span exactly; a third shot at another spacing cannot
# line up as well. The ring turns only once the figure has leaned into the push, later on a loaded
# machine: look until all of it shows, or the time is up.
measure() {
  left_ring=$(differing 380x370+10+230)
  right_ring=$(differing 370x370+430+230)
  left_figure=$(($(differing 226x150+64+50) + $(differing 226x150+64+50 b c)))
  right_figure=$(differing 254x150+510+50)
  [ "$left_ring" -ge 10000 ] && [ $((right_ring * 2)) -lt "$left_ring" ] &&
    [ "$left_figure" -gt 0 ] && [ "$right_figure" -eq 0 ]
}
xdotool keydown d
for _ in $(seq 40); do
  import -window root "$work/a.png"
  sleep 0.3
  import -window root "$work/b.png"
  sleep 0.1
  import -window root "$work/c.png"
  measure && break
done
xdotool keyup d
echo "differing pixels: left ring $left_ring, right ring $right_ring"
[ "$left_ring" -ge 10000 ] || fail "the left ring did not turn ($left_ring pixels differ)"
[ $((right_ring * 2)) -lt "$left_ring" ] ||
  fail "the right ring changed as much as the left ($right_ring against $left_ring)"
echo "differing pixels: left figure $left_figure, right figure $right_figure"
[ "$left_figure" -gt 0 ] || fail "the left figure did not move"
[ "$right_figure" -eq 0 ] || fail "the right figure moved ($right_figure pixels differ)"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "closing ended the game with status $status"
for line in "WindowsDX: Initialization started." "WindowsDX: Initialization finished OK."; do
  grep -qF "$line" debug.txt || fail "\"$line\" is not in debug.txt"
done
# The vote's sound at least was played: the device received something other than silence.
[ -s "$work/audio.raw" ] || fail "nothing reached the audio device"
[ "$(od -An -v -tx1 "$work/audio.raw" | tr -d ' \n' | tr -d 0 | head -c 1)" != "" ] ||
  fail "only silence reached the audio device"
echo "ok: game"
