// The four round kinds, listed once with what belongs to each. A kind's number is its game state
// (GAME_RUNS to GAME_PURGE). Nothing here reaches into the engine, so the asset tool draws the
// kinds' titles and colours from the same list the game plays by.
#pragma once

#include <cstdint>

constexpr int ROUND_KINDS = 4;

// What stands in the target places under the rings during a round.
enum class RoundTargets : uint8_t {
  kRoundColour,     // the round's one target colour, drawn when it starts, on both sides
  kPendingColours,  // each player's own pending colour, cleared when the round starts
};

struct RoundKind {
  const char* title;
  int vote_colour;  // the tile colour whose tenth vote starts a round of this kind
  int instruction;  // the instruction picture shown while it is played
  // Plays with multipliers: both start at 1 and are shown under the rings.
  bool multipliers;
  RoundTargets targets;
};

constexpr RoundKind ROUND_KIND[ROUND_KINDS] = {
    {"RUNS", 0, 0, false, RoundTargets::kRoundColour},
    {"STREAK", 1, 1, true, RoundTargets::kRoundColour},
    {"ECHO", 2, 2, true, RoundTargets::kPendingColours},
    {"PURGE", 3, 3, false, RoundTargets::kRoundColour},
};

// The kind of a game state, or null for the states that are not rounds (vote, start, over).
constexpr const RoundKind* RoundKindOf(int game_state) {
  return game_state >= 0 && game_state < ROUND_KINDS ? &ROUND_KIND[game_state] : nullptr;
}

// The kind a vote for `colour` chooses; -1 for a colour no kind is voted by.
constexpr int RoundVotedBy(int colour) {
  for (int k = 0; k < ROUND_KINDS; ++k) {
    if (ROUND_KIND[k].vote_colour == colour) return k;
  }
  return -1;
}
