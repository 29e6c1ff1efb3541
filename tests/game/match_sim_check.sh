#!/usr/bin/env bash
# Checks of match-sim, the headless replay of the game.
#
#   match_sim_check.sh over MATCH_SIM [MS_PER_FRAME]  a whole match reaches game over, with
#                                                     every round kind played
#   match_sim_check.sh same MATCH_SIM                 the same seed gives the same output
#   match_sim_check.sh png MATCH_SIM                  frames are written as 800 x 600 PNG
#   match_sim_check.sh usage MATCH_SIM                bad arguments are refused with status 2
set -euo pipefail

mode=$1
sim=$2
work=$(mktemp -d /tmp/vorn-match-sim-check-XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*" >&2 && exit 1; }

# The value of field NAME in a line of NAME=VALUE fields.
field() { echo "$2" | tr ' ' '\n' | sed -n "s/^$1=//p"; }

case "$mode" in
  over)
    "$sim" --seed 1 --until-over --ms-per-frame "${3:-16}" >out.txt || fail "status $?"
    result=$(tail -1 out.txt)
    echo "$result"
    [[ "$result" == result* ]] && [ "$(field state "$result")" = 6 ] &&
      [ "$(field outcome "$result")" != unfinished ] || fail "the game is not over: $result"
    IFS=, read -r -a played <<<"$(field rounds_played "$result")"
    for n in "${played[@]}"; do [ "$n" -ge 1 ] || fail "a round kind was never played: $result"; done
    # The vote opens with ten rounds left, and with its sound.
    grep -q '^frame=[0-9]* ms=[0-9]* state=4 rounds_left=10 ' out.txt || fail "no vote"
    grep -q ' sound=vote$' out.txt && grep -q ' sound=hit$' out.txt || fail "no vote or hit sound"
    ;;
  same)
    for run in one two; do "$sim" --seed 7 --frames 1500 >$run.txt || fail "status $?"; done
    "$sim" --seed 8 --frames 1500 >other.txt || fail "status $?"
    cmp -s one.txt two.txt || fail "two runs with seed 7 differ: $(diff one.txt two.txt | head -5)"
    ! cmp -s one.txt other.txt || fail "seeds 7 and 8 give the same match"
    [ "$(grep -c ' sound=' one.txt)" -gt 10 ] && [ "$(grep -c ' state=' one.txt)" -ge 3 ] ||
      fail "hardly any sound or change of state in 1500 frames"
    ;;
  png)
    "$sim" --seed 2 --frames 240 --png shots --png-every 120 >out.txt || fail "status $?"
    [ "$(ls shots)" = "$(printf 'frame0000120.png\nframe0000240.png')" ] || fail "files: $(ls shots)"
    for f in shots/*.png; do
      [ "$(identify -format '%m %w %h' "$f")" = "PNG 800 600" ] || fail "$f is not an 800 x 600 PNG"
      deviation=$(convert "$f" -format '%[fx:standard_deviation]' info:)
      awk -v d="$deviation" 'BEGIN { exit !(d > 0.05) }' || fail "$f is nearly uniform"
    done
    ;;
  usage)
    for args in "" "--frames 10" "--seed" "--seed x" "--seed 1 --frames 0" \
      "--seed 1 --ms-per-frame -4" "--seed 1 --bogus"; do
      # shellcheck disable=SC2086
      "$sim" $args >/dev/null 2>err.txt && status=0 || status=$?
      [ "$status" -eq 2 ] && grep -q '^usage: match-sim' err.txt ||
        fail "\"$args\" gave status $status (expected 2) or no usage"
    done
    ;;
  *) fail "unknown mode $mode" ;;
esac
echo "ok: $mode"
