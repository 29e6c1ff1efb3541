// What the computer opponent is allowed to know: what a person sees on the screen in one frame.
// Both rings (tile colours and angles), both halos' positions, the round kind and its target,
// the echo colours and multipliers on display, the vote tallies, the scores and rounds left.
// Motion (the ring's spin, the halo's velocity) is not here: the computer reads it from one
// frame to the next, as a person does. Never the game's generator or anything still to come.
#pragma once

#include "game/game_state.h"

struct CpuRing {
  int colour[RING_TILES];
  float angle[RING_TILES];
  float halo_x;
  float halo_y;
};

struct CpuView {
  int kind = GAME_START;  // the game state on display
  int target = 0;
  int pending[2] = {NO_COLOUR, NO_COLOUR};
  int multiplier[2] = {0, 0};
  int votes[TILE_COLOURS] = {0, 0, 0, 0};
  int score[2] = {0, 0};
  int rounds_left = 0;
  CpuRing ring[2] = {};
};

// Reads what the screen shows of `s`.
CpuView ViewOf(const GameState& s);
