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

// Loaded silently, at the sizes the game draws them, pixel for pixel and sample for sample
// what was written.
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

  // Name, image, width and height; 0 x 0: a text panel of at most 210 x 150.
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
    EXPECT_EQ(image->purpose, masked ? DRAW_MASKED : DRAW_PLAIN);
    // Every sprite carried an alpha sample, now folded into its pixels; the background none.
    EXPECT_EQ(image->format, masked ? IMAGE_RGB16 | IMAGE_MASKED : IMAGE_RGB16);
    if (width > 0) {
      EXPECT_EQ(image->width, width);
      EXPECT_EQ(image->height, height);
    } else {
      EXPECT_TRUE(image->width > 40 && image->width <= 210 && image->height > 20 &&
                  image->height <= 150)
          << image->width << " x " << image->height;
    }
    ASSERT_EQ(image->width, written->width);
    ASSERT_EQ(image->height, written->height);
    int wrong = 0;
    for (int y = 0; y < image->height; ++y)
      for (int x = 0; x < image->width; ++x)
        wrong += image->pixels16()[y * image->width + x] != Shown(written->At(x, y), masked);
    EXPECT_EQ(wrong, 0);
  }

  // Both sounds in one format, about a tenth of a second each, sample for sample; playing them
  // raises no format or length complaint from the sound registry.
  for (const auto& [name, clip] : {std::pair{assets::kHitSoundName, &game.hit},
                                   {assets::kBlipSoundName, &game.miss},
                                   {assets::kBlipSoundName, &game.vote}}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(clip->rate, assets::kSoundRate);
    EXPECT_EQ(clip->bits, 16);
    EXPECT_EQ(clip->channels, 1);
    EXPECT_NEAR(clip->length, 0.1f, 0.03f);
    const auto written = std::find_if(catalogue.sounds.begin(), catalogue.sounds.end(),
                                      [&](const assets::SoundFile& s) { return s.name == name; });
    ASSERT_NE(written, catalogue.sounds.end());
    ASSERT_EQ(clip->frames, static_cast<int>(written->samples.size()));
    int wrong = 0;
    for (size_t i = 0; i < written->samples.size(); ++i) {
      const auto stored = static_cast<int16_t>(clip->data[2 * i] | (clip->data[2 * i + 1] << 8));
      wrong += stored != static_cast<int16_t>(std::lround(written->samples[i] * 32767.0f));
    }
    EXPECT_EQ(wrong, 0);
    Vorn.SoundPlay(clip, 0);
  }
  EXPECT_TRUE(headless.MessageBoxes().empty()) << headless.MessageBoxes().front().text;
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
}

}  // namespace
