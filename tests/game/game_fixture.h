// The real game on a fresh headless engine: the generated data in the test's own working
// folder, the game's globals rebuilt, GameInit run with a fixed seed.
#pragma once

#include <gtest/gtest.h>

#include <new>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "game/game.h"
#include "support/headless_engine.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/text.h"

inline bool WriteGameData(const char* folder) {
  assets::Fonts fonts;
  return fonts.ok() && assets::WriteAll(assets::DrawAll(fonts), folder);
}

// The match and its assets as the program constructs them, so that a test does not inherit
// clips registered with an engine that has since been replaced.
inline void ResetGame() {
  for (SoundX* clip : {&game_assets.hit, &game_assets.miss, &game_assets.vote}) {
    delete[] clip->data;
    clip->data = nullptr;
  }
  game_assets.~GameAssets();
  new (&game_assets) GameAssets();
  match.~Match();
  new (&match) Match();
}

class GameTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kSeed = 1;

  void SetUp() override {
    ASSERT_TRUE(WriteGameData("."));
    ResetGame();
    platform::headless::Config config;
    config.start_time = 5000;
    headless_ = &UseFreshHeadless(config);
    Vorn.show_cmd = 1;
    FixGameSeed(kSeed);
    GameInit();
    ASSERT_EQ(Vorn.status, STATUS_RUNNING);
  }
  void TearDown() override { ResetGame(); }

  // Runs frames, advancing the clock by `ms` before each.
  void Run(int frames, uint32_t ms = 16) {
    for (int i = 0; i < frames; ++i) {
      headless_->Advance(ms);
      GameRun();
    }
  }
  const platform::headless::Frame& Shown() const { return *headless_->LastFrame(); }

  // Whether every opaque pixel of `image` shows at (x, y) of the last presented frame.
  bool ShowsAt(const Image& image, int x, int y) const {
    const platform::headless::Frame& frame = Shown();
    if (image.data == nullptr) return false;
    for (int j = 0; j < image.height; ++j) {
      for (int i = 0; i < image.width; ++i) {
        const uint16_t p = image.pixels16()[j * image.width + i];
        if (p != 0 && frame.At(x + i, y + j) != p) return false;
      }
    }
    return true;
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
};
