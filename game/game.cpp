// The game's entry points: GameInit once before the message loop, GameRun whenever it is idle.
#include "game/game.h"

#include <ctime>

#include "engine/core/hooks.h"
#include "game/frame.h"

Match match;
GameAssets game_assets;

void FixGameSeed(uint32_t seed) {
  match.state.fixed_seed = seed;
}

void GameInit() {
  const std::optional<uint32_t> fixed = match.state.fixed_seed;
  const uint32_t seed = fixed ? *fixed : static_cast<uint32_t>(std::time(nullptr));
  InitMatch(&match, &game_assets, seed);
}

int GameRun() {
  return RunMatchFrame(&match, &game_assets);
}
