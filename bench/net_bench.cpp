// A rollback of the longest kind: eight frames played on a wrong prediction of the other side,
// then its real inputs arrive and all eight are played again. It must fit well inside a 60 Hz
// frame. The match is mid-round, so the step does its full work.
#include <benchmark/benchmark.h>

#include "game/online/rollback.h"
#include "game/online/vorn_game.h"

namespace {

using Rollback = online::Rollback<online::VornGame>;

// A match played to its first round with both sides turning, as the start of each measurement.
GameState MidMatch() {
  GameState s = NewGame(7, online::NetClock(0));
  const uint8_t spin[2] = {1, 2};
  for (uint32_t f = 0; f < 60 * 40; ++f) online::VornGame::Step(s, online::NetClock(f), spin);
  return s;
}

void BM_RollbackOfEightFrames(benchmark::State& state) {
  const GameState start = MidMatch();
  const uint8_t real[online::kSavedStates] = {1, 1, 1, 1, 2, 2, 2, 2};
  for (auto _ : state) {
    state.PauseTiming();
    Rollback rollback(start, LEFT, 0);
    for (int i = 0; i < online::kSavedStates; ++i) rollback.Advance(1);
    state.ResumeTiming();
    rollback.AddRemote(0, real, online::kSavedStates);
    benchmark::DoNotOptimize(rollback.live());
    if (rollback.max_rollback() != online::kSavedStates) state.SkipWithError("no rollback");
  }
}
BENCHMARK(BM_RollbackOfEightFrames)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
