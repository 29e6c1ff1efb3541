// Every generated file, loaded the way the game loads it: through the game's own loading code
// and the engine's readers, on a running headless engine with a 5-6-5 display.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/vorn.h"
#include "engine/images/image_loader.h"
#include "game/assets.h"
#include "game/player.h"
#include "support/headless_engine.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/wave_out.h"

namespace {

class AssetLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless_ = &StartHeadlessEngine();
    assets::Fonts fonts;
    ASSERT_TRUE(fonts.ok());
    catalogue_ = assets::DrawAll(fonts);
    ASSERT_TRUE(assets::WriteAll(catalogue_, "."));
  }
  void ExpectSilent() {
    EXPECT_TRUE(headless_->MessageBoxes().empty()) << headless_->MessageBoxes().front().text;
    EXPECT_EQ(Vorn.status, STATUS_RUNNING);
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
  assets::Catalogue catalogue_;
};

TEST_F(AssetLoadTest, TheGameLoadsEverythingWithoutAWordAtTheSizesItDrawsThem) {
  static GameAssets game;  // static like the game's own: clips are never freed
  static Character figures[2];
  static Halo halo;
  testing::internal::CaptureStdout();
  LoadGameSounds(&game);
  LoadGameImages(&game);
  figures[0].Setup(0);
  figures[1].Setup(1);
  halo.LoadImage();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ExpectSilent();
  // Width and height; 0 x 0: a text panel of at most 210 x 150.
  std::vector<std::tuple<const char*, const Image*, int, int>> sprites = {
      {"rounds", &game.rounds, 0, 0}, {"halo", &halo.image, 54, 54}};
  for (const Image& i : game.tiles) sprites.emplace_back("tile", &i, 80, 80);
  for (const Image& i : game.targets) sprites.emplace_back("target", &i, 32, 32);
  for (const Image& i : game.numbers) sprites.emplace_back("number", &i, 16, 24);
  for (const Image& i : game.instructions) sprites.emplace_back("instruction", &i, 0, 0);
  for (const Character& c : figures)
    for (const Image& i : c.frames) sprites.emplace_back("figure", &i, 272, 210);
  for (const auto& [what, image, width, height] : sprites) {
    SCOPED_TRACE(what);
    EXPECT_EQ(image->purpose, DRAW_MASKED);
    EXPECT_EQ(image->format, IMAGE_RGB16 | IMAGE_MASKED);  // every sprite carried an alpha sample
    if (width > 0) {
      EXPECT_EQ(image->width, width);
      EXPECT_EQ(image->height, height);
    } else {
      EXPECT_TRUE(image->width > 40 && image->width <= 210) << image->width;
      EXPECT_TRUE(image->height > 20 && image->height <= 150) << image->height;
    }
  }
  EXPECT_EQ(game.background.purpose, DRAW_PLAIN);
  EXPECT_EQ(game.background.format, IMAGE_RGB16);  // plain RGB: no alpha sample
  EXPECT_EQ(game.background.width, 64);
  EXPECT_EQ(game.background.height, 64);
  // Both sounds in one format, about a tenth of a second each; playing them raises no format
  // or length complaint from the sound registry.
  for (SoundX* clip : {&game.hit, &game.miss, &game.vote}) {
    EXPECT_EQ(clip->rate, assets::kSoundRate);
    EXPECT_EQ(clip->bits, 16);
    EXPECT_EQ(clip->channels, 1);
    EXPECT_NEAR(clip->length, 0.1f, 0.03f);
    ASSERT_NE(clip->data, nullptr);
    Vorn.SoundPlay(clip, 0);
  }
  ExpectSilent();
}

TEST_F(AssetLoadTest, TheReadersGiveBackExactlyWhatWasWritten) {
  // What the 5-6-5 display shows of a written pixel; a masked picture keeps 0 for transparent
  // and turns opaque black into 1.
  const auto shown = [](const uint8_t* p, bool masked) -> uint16_t {
    const auto v = static_cast<uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
    return !masked ? v : p[3] == 0 ? 0 : v == 0 ? 1 : v;
  };
  for (const assets::PictureFile& file : catalogue_.pictures) {
    SCOPED_TRACE(file.name);
    const bool masked = file.name != assets::kBackgroundName;
    Image image;
    ImageLoader::Load(file.name.c_str(), &image, masked ? DRAW_MASKED : DRAW_PLAIN);
    ASSERT_EQ(image.width, file.picture.width);
    ASSERT_EQ(image.height, file.picture.height);
    int wrong = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        wrong += image.pixels16()[y * image.width + x] != shown(file.picture.At(x, y), masked);
    EXPECT_EQ(wrong, 0);
  }
  static SoundX clips[2];
  for (size_t k = 0; k < catalogue_.sounds.size(); ++k) {
    const assets::SoundFile& file = catalogue_.sounds[k];
    SCOPED_TRACE(file.name);
    EXPECT_TRUE(clips[k].Load(file.name.c_str()));
    ASSERT_EQ(clips[k].frames, static_cast<int>(file.samples.size()));
    int wrong = 0;
    for (size_t i = 0; i < file.samples.size(); ++i) {
      const auto stored =
          static_cast<int16_t>(clips[k].data[2 * i] | (clips[k].data[2 * i + 1] << 8));
      wrong += stored != static_cast<int16_t>(std::lround(file.samples[i] * 32767.0f));
    }
    EXPECT_EQ(wrong, 0);
  }
  ExpectSilent();
}

}  // namespace
