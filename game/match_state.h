// The state of one match: which stage it is in, its clock, the round's target, the per-player
// multipliers and echo colours, the vote tallies and the players' last hits.
#pragma once

#include <cstdint>

// Game states. The first four are the round kinds, numbered like the colours that vote for them.
constexpr int GAME_RUNS = 0;
constexpr int GAME_STREAK = 1;
constexpr int GAME_ECHO = 2;
constexpr int GAME_PURGE = 3;
constexpr int GAME_VOTE = 4;
constexpr int GAME_START = 5;
constexpr int GAME_OVER = 6;

constexpr int ROUND_MS = 60000;
constexpr int VOTE_MS = 30000;
constexpr int START_MS = 3000;

constexpr int ROUNDS_PER_MATCH = 10;
constexpr int START_SCORE = 50000;
// A tally above this starts the round of its colour.
constexpr int VOTES_TO_DECIDE = 9;
constexpr int MAX_MULTIPLIER = 16;

constexpr int LEFT = 0;
constexpr int RIGHT = 1;
constexpr int NO_HIT = -1;
constexpr int NO_COLOUR = -1;

struct MatchState {
  int game_state = GAME_START;
  // Clock value when the current state was entered; 0 until the start screen has begun.
  int round_start = 0;
  int round_duration = 0;
  int rounds_left = ROUNDS_PER_MATCH;
  int target = 0;
  int multiplier[2] = {0, 0};
  // The colour each player must hit next in an echo round, or NO_COLOUR.
  int pending[2] = {0, 0};
  int votes[4] = {0, 0, 0, 0};
  // Result of each player's last update: NO_HIT or the index of the hit tile.
  int last_hit[2] = {NO_HIT, NO_HIT};
};

// Milliseconds left of the current state at `now`; zero or less means time is up. Computed on the
// wrapping 32-bit clock, so a clock that passes 2^31 or wraps does not end a round early or late.
inline int RemainingMs(const MatchState& m, int now) {
  const unsigned end =
      static_cast<unsigned>(m.round_start) + static_cast<unsigned>(m.round_duration);
  return static_cast<int>(end - static_cast<unsigned>(now));
}
