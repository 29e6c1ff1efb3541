// The game's entry points: GameInit once before the message loop, GameRun whenever it is idle.
#include "game/game.h"

#include <ctime>
#include <optional>

#include "engine/core/hooks.h"
#include "game/frame.h"

Match match;
GameAssets game_assets;

namespace {
std::optional<uint32_t> fixed_seed;
}

void FixGameSeed(uint32_t seed) {
  fixed_seed = seed;
}

void GameInit() {
  const uint32_t seed = fixed_seed ? *fixed_seed : static_cast<uint32_t>(std::time(nullptr));
  InitMatch(&match, &game_assets, seed);
}

void GameRun() {
  RunMatchFrame(&match, &game_assets);
}
