// Shared set-up of the game's tests: rings written as 24 colour digits, solid pictures, the
// view, a match driven hit by hit on a clock the test controls, and the real game started by
// GameInit with the generated data.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>

#include "engine/core/hooks.h"
#include "engine/core/random.h"
#include "engine/core/vorn.h"
#include "game/game.h"
#include "platform/headless/headless_sound_buffer.h"
#include "support/headless_engine.h"
#include "tools/make_assets/catalogue.h"

constexpr const char* kStartRing = "012301230123012301230123";

// Tiles 0 to 23 at 15-degree steps with the colours of `colours`, without pictures.
inline void SetRing(Player* p, const std::string& colours = kStartRing) {
  for (int i = 0; i < RING_TILES; ++i)
    p->tiles[i].Setup(colours.at(i) - '0', static_cast<float>(15 * i), RING_RADIUS, nullptr);
}
inline std::string RingColours(const Player& p) {
  std::string s;
  for (const RingTile& t : p.tiles) s += static_cast<char>('0' + t.colour);
  return s;
}

inline void MakeSolid(Image* image, int width, int height, uint16_t value) {
  image->Create(width, height, IMAGE_RGB16);
  for (int i = 0; i < width * height; ++i) image->pixels16()[i] = value;
  image->purpose = DRAW_MASKED;
}
inline uint16_t ViewAt(int x, int y) {
  return Vorn.view[y * Vorn.view_stride + x];
}
// Locks the view and clears it to 0.
inline void LockClearView() {
  ASSERT_TRUE(Vorn.ViewLock());
  for (int y = 0; y < 600; ++y) std::memset(Vorn.view + y * Vorn.view_stride, 0, 1600);
}

class MatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_ = &StartHeadlessEngine();
    headless_->SetTime(100000);
    SeedRandom(1);
    for (SoundX* clip : {&hit_, &miss_, &vote_}) {
      clip->rate = 22050, clip->bits = 16, clip->channels = 1;
      clip->frames = sizeof samples_ / 2, clip->size = sizeof samples_, clip->data = samples_;
    }
    match_.sounds = MatchSounds{&hit_, &miss_, &vote_};
    for (Player& p : match_.players) p.score = START_SCORE, SetRing(&p);
  }
  void TearDown() override {
    for (SoundX* clip : {&hit_, &miss_, &vote_}) clip->data = nullptr;  // not ours to free
  }

  // One frame's handling of a hit of each colour (NO_COLOUR: none) on tile 0, which is left
  // showing the next colour as a hit leaves it.
  void Hits(int left_colour, int right_colour) {
    const int colours[2] = {left_colour, right_colour};
    for (int p = 0; p < 2; ++p) {
      match_.state.last_hit[p] = colours[p] == NO_COLOUR ? NO_HIT : 0;
      if (colours[p] != NO_COLOUR) match_.players[p].tiles[0].colour = (colours[p] + 1) % 4;
    }
    match_.HandleHits();
  }
  MatchState& state() { return match_.state; }
  void Scores(int left, int right) { Score(LEFT) = left, Score(RIGHT) = right; }
  void Advance(uint32_t ms) { headless_->Advance(ms); }
  int Now() const { return static_cast<int>(headless_->Milliseconds()); }
  int& Score(int player) { return match_.players[player].score; }
  // How often a clip has been played; each play must rewind it to its start.
  size_t Plays(const SoundX& clip) const {
    if (clip.buffer < 0) return 0;
    const auto* buffer = static_cast<platform::headless::HeadlessSoundBuffer*>(
        headless_->SoundBuffers().at(clip.buffer).get());
    for (const auto& play : buffer->Plays()) EXPECT_EQ(play.position, 0u);
    return buffer->Plays().size();
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
  uint8_t samples_[128] = {};
  SoundX hit_, miss_, vote_;
  Match match_;
};

inline bool WriteGameData() {
  assets::Fonts fonts;
  return fonts.ok() && assets::WriteAll(assets::DrawAll(fonts), ".");
}

// The game's globals rebuilt as the program constructs them, so that a test inherits no clips
// registered with an engine that has since been replaced.
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
    ASSERT_TRUE(WriteGameData());
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
    for (int i = 0; i < frames; ++i) headless_->Advance(ms), GameRun();
  }
  const platform::headless::Frame& Shown() const { return *headless_->LastFrame(); }
  // Whether every opaque pixel of `image` shows at (x, y) of the last presented frame.
  bool ShowsAt(const Image& image, int x, int y) const {
    if (image.data == nullptr) return false;
    for (int j = 0; j < image.height; ++j)
      for (int i = 0; i < image.width; ++i) {
        const uint16_t p = image.pixels16()[j * image.width + i];
        if (p != 0 && Shown().At(x + i, y + j) != p) return false;
      }
    return true;
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
};
