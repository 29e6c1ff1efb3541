// The game hooks for engine tests: each test sets what GameInit and GameRun do.
#pragma once

#include <functional>

struct TestGame {
  std::function<void()> init;
  std::function<void()> run;
  int init_calls = 0;
  int run_calls = 0;
};

// The hooks' behaviour for this test process; reset by ResetTestGame.
TestGame& test_game();
void ResetTestGame();
