#include "game_hooks.h"

#include "engine/core/hooks.h"

TestGame& test_game() {
  static TestGame game;
  return game;
}

void ResetTestGame() {
  test_game() = TestGame{};
}

void GameInit() {
  ++test_game().init_calls;
  if (test_game().init) test_game().init();
}

void GameRun() {
  ++test_game().run_calls;
  if (test_game().run) test_game().run();
}
