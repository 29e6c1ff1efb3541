// Every generated file, loaded the way the game loads it: through the game's own loading code
// and the engine's readers, on a running headless engine with a 5-6-5 display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/vorn.h"
#include "game/assets.h"
#include "support/headless_engine.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/wave_out.h"

namespace {

// What the 5-6-5 display shows of a written pixel; a masked picture keeps 0 for transparent and
// turns opaque black into 1.
uint16_t Shown(const uint8_t* p, bool masked) {
  const auto v = static_cast<uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
  return !masked ? v : p[3] == 0 ? 0 : v == 0 ? 1 : v;
}

// Loaded silently into the slot the game draws it from, at the size it draws it, pixel for
// pixel and sample for sample what was written.
TEST(AssetLoadTest, TheGameLoadsEverythingWithoutAWordAsItWasWritten) {
  auto& headless = StartHeadlessEngine();
  assets::Fonts fonts;
  ASSERT_TRUE(fonts.ok());
  const assets::Catalogue catalogue = assets::DrawAll(fonts);
  ASSERT_TRUE(assets::WriteAll(catalogue, "."));
  static GameAssets game;  // static like the game's own: clips are never freed
  testing::internal::CaptureStdout();
  LoadGameSounds(&game);
  LoadGameImages(&game);
  LoadSideImages(&game, 0);
  LoadSideImages(&game, 1);
  LoadComputerMark(&game, 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  // Name, image, width and height; 0: a text panel, whose size the art test bounds.
  std::vector<std::tuple<std::string, const Image*, int, int>> pictures = {
      {assets::kBackgroundName, &game.background, 64, 64},
      {assets::kRoundsName, &game.rounds, 0, 0},
      {assets::kComputerName, &game.computer_mark, 0, 0},
      {assets::kHaloName, &game.halos[0], 54, 54}};
  for (int i = 0; i < 4; ++i) {
    pictures.emplace_back(assets::TileName(i), &game.tiles[i], 80, 80);
    pictures.emplace_back(assets::TargetName(i), &game.targets[i], 32, 32);
  }
  for (int i = 0; i < 13; ++i)
    pictures.emplace_back(assets::NumberName(i), &game.numbers[i], 16, 24);
  for (int i = 0; i < 9; ++i)
    pictures.emplace_back(assets::InstructionName(i), &game.instructions[i], 0, 0);
  for (int f = 0; f < 2; ++f)
    for (int i = 0; i < 61; ++i)
      pictures.emplace_back(assets::FigureName(f, i), &game.figures[f][i], 272, 210);
  ASSERT_EQ(pictures.size(), catalogue.pictures.size());
  for (const auto& [name, image, width, height] : pictures) {
    SCOPED_TRACE(name);
    const bool masked = image != &game.background;
    const assets::Picture* written = catalogue.Find(name);
    ASSERT_NE(written, nullptr);
    // Every sprite carried an alpha sample, now folded into its pixels; the background none.
    EXPECT_EQ(std::tuple(image->purpose, image->format),
              std::tuple(masked ? DRAW_MASKED : DRAW_PLAIN,
                         masked ? IMAGE_RGB16 | IMAGE_MASKED : IMAGE_RGB16));
    ASSERT_EQ(std::pair(image->width, image->height), std::pair(written->width, written->height));
    EXPECT_TRUE(width == 0 || std::pair(image->width, image->height) == std::pair(width, height))
        << image->width << " x " << image->height;
    int wrong = 0;
    for (int y = 0; y < image->height; ++y)
      for (int x = 0; x < image->width; ++x)
        wrong += image->pixels16()[y * image->width + x] != Shown(written->At(x, y), masked);
    EXPECT_EQ(wrong, 0);
  }

  // Both sounds in the same 16-bit mono format, sample for sample: playing them raises no format
  // or length complaint from the sound registry.
  for (const auto& [name, clip] : {std::pair{assets::kHitSoundName, &game.hit},
                                   {assets::kBlipSoundName, &game.miss},
                                   {assets::kBlipSoundName, &game.vote}}) {
    SCOPED_TRACE(name);
    const auto& written = catalogue.sounds.at(std::string(name) == assets::kHitSoundName ? 0 : 1);
    ASSERT_EQ(written.name, name);
    ASSERT_EQ(std::tuple(clip->rate, clip->bits, clip->channels, clip->frames),
              std::tuple(assets::kSoundRate, 16, 1, static_cast<int>(written.samples.size())));
    int wrong = 0;
    for (size_t i = 0; i < written.samples.size(); ++i) {
      const auto stored = static_cast<int16_t>(clip->data[2 * i] | (clip->data[2 * i + 1] << 8));
      wrong += stored != static_cast<int16_t>(std::lround(written.samples[i] * 32767.0f));
    }
    EXPECT_EQ(wrong, 0);
    Vorn.SoundPlay(clip, 0);
  }
  EXPECT_TRUE(headless.MessageBoxes().empty()) << headless.MessageBoxes().front().text;
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
}

}  // namespace
