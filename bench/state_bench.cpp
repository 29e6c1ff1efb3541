// The match's state as online play and replays use it: copied (a rollback saves one per frame),
// checksummed (compared between machines and against a recording), and stepped without drawing,
// in the middle of a round with both rings spinning.
#include <benchmark/benchmark.h>

#include "game/game_state.h"
#include "game/step.h"

namespace {

constexpr uint32_t kStartMs = 1000;
constexpr FrameInput kBothSpin{{Spin::First, Spin::Second}};

constexpr uint32_t kWarmFrames = 400;

// A match past its start screen, so that the rings turn, the halos bounce and tiles change.
GameState Playing() {
  GameState s = NewGame(11, kStartMs);
  for (uint32_t frame = 0; frame < kWarmFrames; ++frame) Step(s, kStartMs + 16 * frame, kBothSpin);
  return s;
}

void BM_CopyState(benchmark::State& state) {
  const GameState source = Playing();
  GameState copy;
  for (auto _ : state) {
    benchmark::DoNotOptimize(source);
    copy = source;
    benchmark::DoNotOptimize(copy);
    benchmark::ClobberMemory();
  }
  state.counters["bytes"] = sizeof(GameState);
}
BENCHMARK(BM_CopyState);

void BM_Checksum(benchmark::State& state) {
  const GameState s = Playing();
  for (auto _ : state) benchmark::DoNotOptimize(Checksum(s));
}
BENCHMARK(BM_Checksum);

void BM_Step(benchmark::State& state) {
  const GameState start = Playing();
  GameState s = start;
  uint32_t now = kStartMs + 16 * kWarmFrames;
  int frames = 0;
  for (auto _ : state) {
    // Back to the same moment now and then, so that the match never reaches its end.
    if (++frames == 600) {
      state.PauseTiming();
      s = start, now = kStartMs + 16 * kWarmFrames, frames = 0;
      state.ResumeTiming();
    }
    now += 16;
    benchmark::DoNotOptimize(Step(s, now, kBothSpin));
  }
  if (s.match.game_state == GAME_OVER) state.SkipWithError("the match ended while measured");
}
BENCHMARK(BM_Step);

}  // namespace

BENCHMARK_MAIN();
