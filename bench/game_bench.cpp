// The game's two entry points on the headless back end with the generated data: GameInit (the
// engine's start and every load) and GameRun (one frame of a running vote, rings spinning and
// halos bouncing).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>

#include "engine/core/hooks.h"
#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "game/game.h"
#include "platform/headless/headless.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/text.h"

namespace {

// A temporary folder holding the game's data, made the working directory for the whole run.
class DataFolder {
 public:
  DataFolder() {
    char pattern[] = "/tmp/vorn-game-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    path_ = pattern;
    assets::Fonts fonts;
    if (!fonts.ok() || !assets::WriteAll(assets::DrawAll(fonts), path_) ||
        chdir(path_.c_str()) != 0) {
      std::fprintf(stderr, "game-bench: cannot make the game's data in %s\n", path_.c_str());
      std::abort();
    }
  }
  ~DataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

 private:
  std::string path_;
};

// The engine, the match and the assets as the program constructs them, on a new back end.
std::unique_ptr<platform::headless::HeadlessPlatform> FreshGame() {
  game_assets.~GameAssets();
  new (&game_assets) GameAssets();
  game = GameState{};
  Vorn = WinDX();
  SetScreenFormat(0, 0, 0);
  platform::headless::Config config;
  config.start_time = 1000;
  config.keep_frames = 0;  // the recorder keeps no copies of the pixels
  auto headless = std::make_unique<platform::headless::HeadlessPlatform>(config);
  Vorn.UsePlatform(headless.get());
  Vorn.show_cmd = 1;
  FixGameSeed(1);
  return headless;
}

void BM_GameInit(benchmark::State& state) {
  DataFolder data;
  std::unique_ptr<platform::headless::HeadlessPlatform> headless;
  for (auto _ : state) {
    state.PauseTiming();
    headless = FreshGame();
    state.ResumeTiming();
    GameInit();
  }
  if (Vorn.status != STATUS_RUNNING || !headless->MessageBoxes().empty()) {
    state.SkipWithError("the game did not start cleanly");
  }
}
BENCHMARK(BM_GameInit)->Name("GameInit")->Unit(benchmark::kMillisecond);

// Frames of the vote with both rings spinning, presented or (with another window in front)
// drawn only: the headless recorder checksums every presented frame, which is test machinery,
// not the game, so the second figure is the game's own cost.
void RunFrames(benchmark::State& state, bool presented) {
  DataFolder data;
  auto headless = FreshGame();
  GameInit();
  // Through the start screen into the vote.
  GameRun();
  headless->Advance(3000);
  GameRun();
  Vorn.keys[0x44] = 1;  // D
  Vorn.keys[0x27] = 1;  // right arrow
  if (!presented) headless->SetForegroundWindow(nullptr);
  for (auto _ : state) {
    headless->Advance(16);
    GameRun();
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  if (!headless->MessageBoxes().empty()) state.SkipWithError("a message box was shown");
}

void BM_GameRun(benchmark::State& state) {
  RunFrames(state, true);
}
BENCHMARK(BM_GameRun)->Name("GameRun")->Unit(benchmark::kMicrosecond);

void BM_GameRunUnpresented(benchmark::State& state) {
  RunFrames(state, false);
}
BENCHMARK(BM_GameRunUnpresented)->Name("GameRunUnpresented")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
