// Shared set-up of the game's tests: rings written as 24 colour digits, the view, and the real
// game started by GameInit with the generated data.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "game/game.h"
#include "support/headless_engine.h"
#include "tools/make_assets/catalogue.h"

constexpr const char* kStartRing = "012301230123012301230123";

// Tiles 0 to 23 at 15-degree steps with the colours of `colours`.
inline void SetRing(Player* p, const std::string& colours = kStartRing) {
  for (int i = 0; i < RING_TILES; ++i)
    p->tiles[i].Setup(colours.at(i) - '0', static_cast<float>(15 * i), RING_RADIUS);
}
inline std::string RingColours(const Player& p) {
  std::string s;
  for (const RingTile& t : p.tiles) s += static_cast<char>('0' + t.colour);
  return s;
}

inline bool WriteGameData() {
  assets::Fonts fonts;
  return fonts.ok() && assets::WriteAll(assets::DrawAll(fonts), ".");
}

// The game's globals rebuilt as the program constructs them, so that a test inherits no clips
// registered with an engine that has since been replaced.
inline void ResetGame() {
  game_assets.~GameAssets();
  new (&game_assets) GameAssets();
  game = GameState{};
  for (const int side : {LEFT, RIGHT}) UseController(side, std::make_unique<KeyboardController>());
}

// Dispatches the waiting messages, as the program's loop does before each frame; false once the
// program is asked to quit.
inline bool Pump(platform::Platform& platform) {
  for (platform::Message m; platform.Windows().PeekMessage(&m);
       platform.Windows().DispatchMessage(m))
    if (m.message == platform::WM_QUIT) return false;
  return true;
}

// The game started on a fresh headless engine, as the program starts it.
inline platform::headless::HeadlessPlatform& StartGame(platform::headless::Config config = {}) {
  ResetGame();
  auto& headless = UseFreshHeadless(config);
  Vorn.show_cmd = 1;
  GameInit();
  return headless;
}

class GameTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kSeed = 1;

  void SetUp() override {
    ASSERT_TRUE(WriteGameData());
    FixGameSeed(kSeed);
    headless_ = &StartGame({.start_time = 5000});
    ASSERT_EQ(Vorn.status, STATUS_RUNNING);
  }
  void TearDown() override { ResetGame(); }

  // Runs frames, advancing the clock by `ms` before each.
  void Run(int frames, uint32_t ms = 16) {
    for (int i = 0; i < frames; ++i) headless_->Advance(ms), GameRun();
  }
  const platform::headless::Frame& Shown() const { return *headless_->LastFrame(); }
  // Whether every opaque pixel of `image` shows at (x, y) of the last presented frame.
  bool ShowsAt(const Image& image, int x, int y) const {
    for (int j = 0; image.data != nullptr && j < image.height; ++j)
      for (int i = 0; i < image.width; ++i)
        if (const uint16_t p = image.pixels16()[j * image.width + i];
            p != 0 && Shown().At(x + i, y + j) != p)
          return false;
    return image.data != nullptr;
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
};
