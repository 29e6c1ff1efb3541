// What hitting each tile of its own ring is worth to the computer opponent in the round on
// display, in thousands of points (rough where the worth only shows later), and which colour
// it votes for.
#pragma once

#include "game/cpu_view.h"

class CpuRandom;

// Worth of a hit on each of `side`'s 24 tiles. `vote_colour` is the colour it is voting for
// when the vote is on.
void TileValues(const CpuView& v, int side, int vote_colour, float out[RING_TILES]);

// The colour to vote for in a new vote: drawn from a fixed taste for the round kinds, mixed
// with an even chance by `spread` (0: always taste, 1: any kind alike).
int PickVoteColour(float spread, CpuRandom& dice);
