// Start-up and the per-frame cycle of the match: what GameInit and GameRun do, on whichever
// match and assets they are given.
#pragma once

#include <cstdint>

#include "game/assets.h"
#include "game/match.h"

constexpr int VIEW_WIDTH = 800;
constexpr int VIEW_HEIGHT = 600;
constexpr float LEFT_CENTRE_X = 200.0f;
constexpr float RIGHT_CENTRE_X = 628.0f;
constexpr float CENTRE_Y = 420.0f;

// The halo's start direction from a draw of 0 to 32767: 45 to 135 degrees, straight down
// give or take a quarter turn.
float HaloStartDirection(int draw);

// Starts the engine windowed at 800 x 600, seeds the generator with `seed`, loads the clips
// and pictures, sets up both players and puts the match on its start screen. Whether the
// engine started is left to the caller, which reads its state code.
void InitMatch(Match* match, GameAssets* assets, uint32_t seed);

// One frame: the state's update, the end test, then the drawing and its presentation. Returns
// what presenting the view returned.
int RunMatchFrame(Match* match, GameAssets* assets);

// Draws the whole frame into the locked view.
void DrawMatch(Match* match, GameAssets* assets, int now);
