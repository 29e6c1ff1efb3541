#!/usr/bin/env bash
# Recordings end to end.
#
#   replay_check.sh sim MATCH_SIM [MS_PER_FRAME]  a whole match recorded by match-sim replays to
#                                                 the same result line; damaged copies are refused
#                                                 with status 255 and one line
#   replay_check.sh window GAME MAKE_ASSETS       (under an X server) a match recorded in the
#                                                 window replays there and ends by itself with 0;
#                                                 the game refuses a damaged copy before it opens
set -euo pipefail

mode=$1
work=$(mktemp -d /tmp/vorn-replay-check-XXXXXX)
pid=
cleanup() {
  [ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

fail() { echo "FAIL: $*" >&2 && exit 1; }

# Runs PROGRAM ARGS on copies of rec.vrp cut short, of another version and with a byte changed
# in the middle: status 255 and one line on standard error.
refused() {
  local copy status size=$(stat -c %s rec.vrp)
  head -c $((size - 1)) rec.vrp >cut.vrp && cp rec.vrp version.vrp && cp rec.vrp garbled.vrp
  printf '\x07' | dd of=version.vrp bs=1 seek=4 conv=notrunc status=none
  printf '\x0f' | dd of=garbled.vrp bs=1 seek=$((size / 2)) conv=notrunc status=none
  for copy in cut version garbled; do
    "$@" "$copy.vrp" >/dev/null 2>err.txt && status=0 || status=$?
    [ "$status" -eq 255 ] && [ "$(wc -l <err.txt)" -eq 1 ] ||
      fail "$copy.vrp: status $status (not 255) or not one line: $(cat err.txt)"
    echo "refused $copy.vrp: $(cat err.txt)"
  done
}

# Waits until the game's window shows; a loaded machine can take many seconds.
shown() {
  for ((deadline = SECONDS + 120; SECONDS < deadline; )); do
    xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1 && return 0
    kill -0 "$pid" 2>/dev/null || fail "the game ended during start-up: $(cat out.txt)"
    sleep 0.1
  done
  fail "no window appeared"
}

case "$mode" in
  sim)
    "$2" --seed 7 --until-over --ms-per-frame "${3:-16}" --record rec.vrp >one.txt || fail "status $?"
    "$2" --replay rec.vrp >two.txt || fail "replay: status $?"
    [[ "$(tail -1 one.txt)" == *" outcome="*" checksum="* ]] || fail "no checksum on the result"
    cmp -s one.txt two.txt || fail "the replay differs: $(diff one.txt two.txt | head -5)"
    refused "$2" --replay
    ;;
  window)
    game=$2
    "$3" data >/dev/null || fail "make-assets failed"
    cd data
    export SDL_AUDIODRIVER=dummy
    "$game" --record rec.vrp >out.txt 2>&1 &
    pid=$!
    shown
    # The start screen, then D held for two seconds in the vote.
    sleep 4
    xdotool keydown d
    sleep 2
    xdotool keyup d
    sleep 0.5
    kill -TERM "$pid"
    wait "$pid" || fail "closing ended the recording game with status $?"
    pid=
    [ -s rec.vrp ] || fail "no recording"
    started=$(date +%s)
    "$game" --replay rec.vrp >out.txt 2>&1 &
    pid=$!
    # Shots every half second while it plays: the recorded D turns the left ring between two of
    # them, whatever the start-up took (a sanitizer build loads slowly).
    most=0
    shown
    sleep 1
    import -window root "$work/a.png"
    while kill -0 "$pid" 2>/dev/null; do
      sleep 0.5
      import -window root "$work/b.png" 2>/dev/null || break
      moved=$(compare -metric AE "$work/a.png[380x370+122+314]" "$work/b.png[380x370+122+314]" null: 2>&1 | cut -d' ' -f1 || true)
      [ "${moved%.*}" -gt "$most" ] && most=${moved%.*}
      mv "$work/b.png" "$work/a.png"
    done
    echo "left ring in the replay: at most $most pixels differ between shots"
    [ "$most" -ge 10000 ] || fail "the left ring does not turn in the replay ($most)"
    wait "$pid" || fail "the replay ended with status $?: $(cat out.txt)"
    pid=
    # Seven seconds of match and two of the final picture, with time to start.
    [ $(($(date +%s) - started)) -le 30 ] || fail "the replay did not end by itself in time"
    refused "$game" --replay
    ;;
  *)
    fail "unknown mode $mode"
    ;;
esac
echo "ok: replay $mode"
