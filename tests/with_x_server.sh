#!/usr/bin/env bash
# Runs a command under an X server of its own and returns the command's status.
#
#   with_x_server.sh [--screen WIDTHxHEIGHTxDEPTH] COMMAND [ARGS...]
#
# Any test that needs a display should start through this script (in CMake:
# COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/with_x_server.sh your_script.sh ...). The server (Xvfb,
# 1024 x 768 x 24 unless --screen says otherwise, no window manager, no TCP) picks a free display
# number itself and reports it, so runs from other checkouts or other test processes on the same
# machine never race for one number. The command runs only once the server accepts connections,
# and the server always ends with it.
#
# The server never resets (-noreset). By default an X server resets whenever its last client
# leaves, and a reset closes every connection still in its handshake: a program that connects
# just as a short-lived client (xdpyinfo, xdotool, import) goes away is turned away. Under load
# that happened about once in fifty start-ups, and the game, finding no display, stopped in its
# "Unable to start" message box until the test timed out.
set -euo pipefail

screen=1024x768x24
if [ "${1:-}" = --screen ] && [ $# -ge 2 ]; then
  screen=$2
  shift 2
fi
[ $# -gt 0 ] || { echo "usage: with_x_server.sh [--screen WxHxD] COMMAND [ARGS...]" >&2; exit 2; }

work=$(mktemp -d /tmp/vorn-x-XXXXXX)
server=
watcher=
cleanup() {
  if [ -n "$watcher" ]; then kill "$watcher" 2>/dev/null || true; fi
  if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
    kill -TERM "$server" 2>/dev/null || true
    # A server that ignores TERM for two seconds is ended outright, so no test leaves one behind.
    for _ in $(seq 20); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

fail() {
  echo "with_x_server: $*" >&2
  [ -s "$work/server.log" ] && { echo "--- Xvfb output" >&2; cat "$work/server.log" >&2; }
  exit 1
}

# The server writes the display number it took to descriptor 3 once it listens.
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$work/display" \
  >"$work/server.log" 2>&1 &
server=$!
# A test runner that gives up on a test may end this script with SIGKILL, which no trap sees: a
# watcher ends the server once this script is gone, so no server outlives its test. It waits on a
# pipe only this script holds (no command it runs inherits it), so it wakes the moment the script
# ends however it ends; on a normal end the clean-up stops the watcher first, so it never sends
# a signal to a process number the system may already have given to another program.
exec {alive}> >(read -r || kill -KILL "$server" 2>/dev/null)
watcher=$!
display=
for _ in $(seq 300); do
  # Only a whole line counts: a number read while it is being written could be cut short.
  if [ "$(wc -l <"$work/display")" -ge 1 ]; then
    display=$(head -1 "$work/display")
    break
  fi
  kill -0 "$server" 2>/dev/null || fail "the X server ended during start-up"
  sleep 0.1
done
[ -n "$display" ] || fail "the X server reported no display within 30 s"

export DISPLAY=":$display"
unset XAUTHORITY WAYLAND_DISPLAY
for _ in $(seq 300); do
  xdpyinfo >/dev/null 2>&1 && break
  kill -0 "$server" 2>/dev/null || fail "the X server on $DISPLAY ended before accepting clients"
  sleep 0.1
done
xdpyinfo >/dev/null 2>&1 || fail "the X server on $DISPLAY accepts no clients after 30 s"

status=0
"$@" {alive}>&- || status=$?
exit "$status"
