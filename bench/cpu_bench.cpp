// The computer opponent's work in one frame: reading what the screen shows of a match and
// deciding its key, with its ring turning and its halo flying from wall to wall. Each round kind
// and the vote value the tiles differently; the runs round, which looks at neighbours, costs most.
#include <benchmark/benchmark.h>

#include "game/cpu_controller.h"
#include "game/cpu_view.h"

namespace {

void BM_CpuFrame(benchmark::State& state) {
  static GameState match;
  match.match.game_state = static_cast<int>(state.range(0));
  match.match.target = 1;
  match.match.multiplier[LEFT] = 2;
  match.match.pending[LEFT] = 2;
  for (Player& p : match.players) {
    for (int i = 0; i < RING_TILES; ++i) {
      p.tiles[i].colour = (i * 7 / 5) % TILE_COLOURS;
      p.tiles[i].angle = static_cast<float>(15 * i);
    }
    p.halo.x = 0.0f, p.halo.y = 0.0f, p.halo.vx = 3.1f, p.halo.vy = 2.2f;
  }
  CpuController cpu(3, LEFT, 5);
  uint32_t now = 0;
  for (auto _ : state) {
    // Move the world on as a frame would, bouncing the halo straight back at the wall.
    for (Player& p : match.players) {
      Halo& h = p.halo;
      h.x += h.vx, h.y += h.vy;
      if (h.x * h.x + h.y * h.y > 140.0f * 140.0f) h.vx = -h.vx, h.vy = -h.vy;
      for (RingTile& t : p.tiles) t.angle = t.angle >= 359.0f ? 0.0f : t.angle + 0.7f;
    }
    now += 16;
    benchmark::DoNotOptimize(cpu.Decide(ViewOf(match), now));
  }
}
BENCHMARK(BM_CpuFrame)
    ->Arg(GAME_RUNS)
    ->Arg(GAME_STREAK)
    ->Arg(GAME_ECHO)
    ->Arg(GAME_PURGE)
    ->Arg(GAME_VOTE);

}  // namespace

BENCHMARK_MAIN();
