// The game's one match and its assets, as the entry points GameInit and GameRun use them.
#pragma once

#include <cstdint>

#include "game/assets.h"
#include "game/match.h"

extern Match match;
extern GameAssets game_assets;

// GameInit seeds the random generator with the calendar time. A replay of a match fixes the
// seed instead (kept in the match state), before GameInit runs, so that the same seed plays
// the same match.
void FixGameSeed(uint32_t seed);
