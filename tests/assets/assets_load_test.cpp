// Every generated file, loaded the way the game loads it: through the game's own loading code
// and the engine's readers, on a running headless engine with a 5-6-5 display.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/core/vorn.h"
#include "engine/images/image_loader.h"
#include "engine/sound/soundx.h"
#include "game/assets.h"
#include "game/character.h"
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

  void ExpectSilent(const std::string& printed) {
    EXPECT_EQ(printed, "");
    EXPECT_TRUE(headless_->MessageBoxes().empty()) << headless_->MessageBoxes().front().text;
    EXPECT_EQ(Vorn.status, STATUS_RUNNING);
  }

  platform::headless::HeadlessPlatform* headless_ = nullptr;
  assets::Catalogue catalogue_;
};

// What the 5-6-5 display shows of a written pixel once prepared for masked drawing.
uint16_t MaskedPixel(const uint8_t* rgba) {
  if (rgba[3] == 0) return 0;
  const auto p =
      static_cast<uint16_t>(((rgba[0] >> 3) << 11) | ((rgba[1] >> 2) << 5) | (rgba[2] >> 3));
  return p == 0 ? 1 : p;
}

TEST_F(AssetLoadTest, TheGameLoadsEverythingWithoutAWordAndAtTheSizesItDrawsThem) {
  static GameAssets game;  // static like the game's own: clips are never freed
  static Character figures[2];
  static Halo halo;
  testing::internal::CaptureStdout();
  LoadGameSounds(&game);
  LoadGameImages(&game);
  figures[0].Setup(0);
  figures[1].Setup(1);
  halo.LoadImage();
  ExpectSilent(testing::internal::GetCapturedStdout());

  struct Expect {
    const char* what;
    const Image* image;
    int width, height;  // 0: at most the limit below
    int purpose;
  };
  std::vector<Expect> expected;
  for (const Image& i : game.tiles) expected.push_back({"tile", &i, 80, 80, DRAW_MASKED});
  for (const Image& i : game.targets) expected.push_back({"target", &i, 32, 32, DRAW_MASKED});
  for (const Image& i : game.numbers) expected.push_back({"number", &i, 16, 24, DRAW_MASKED});
  for (const Image& i : game.instructions)
    expected.push_back({"instruction", &i, 0, 0, DRAW_MASKED});
  expected.push_back({"rounds", &game.rounds, 0, 0, DRAW_MASKED});
  expected.push_back({"halo", &halo.image, 54, 54, DRAW_MASKED});
  for (const Character& c : figures)
    for (const Image& i : c.frames) expected.push_back({"figure", &i, 272, 210, DRAW_MASKED});
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.what);
    EXPECT_EQ(e.image->purpose, e.purpose);
    // Every sprite carried an alpha sample, now folded into its pixels.
    EXPECT_EQ(e.image->format, IMAGE_RGB16 | IMAGE_MASKED);
    if (e.width > 0) {
      EXPECT_EQ(e.image->width, e.width);
      EXPECT_EQ(e.image->height, e.height);
    } else {
      EXPECT_GT(e.image->width, 40);
      EXPECT_LE(e.image->width, 210);
      EXPECT_GT(e.image->height, 20);
      EXPECT_LE(e.image->height, 150);
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
  ExpectSilent("");
}

TEST_F(AssetLoadTest, TheReadersGiveBackExactlyWhatWasWritten) {
  for (const assets::PictureFile& file : catalogue_.pictures) {
    SCOPED_TRACE(file.name);
    const bool plain = file.name == assets::kBackgroundName;
    Image image;
    ImageLoader::Load(file.name.c_str(), &image, plain ? DRAW_PLAIN : DRAW_MASKED);
    ASSERT_EQ(image.width, file.picture.width);
    ASSERT_EQ(image.height, file.picture.height);
    int wrong = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) {
        const uint8_t* p = file.picture.At(x, y);
        const uint16_t want =
            plain ? static_cast<uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3))
                  : MaskedPixel(p);
        wrong += image.pixels16()[y * image.width + x] != want;
      }
    EXPECT_EQ(wrong, 0);
  }
  for (const assets::SoundFile& file : catalogue_.sounds) {
    SCOPED_TRACE(file.name);
    static SoundX clips[2];
    SoundX& clip = clips[&file - catalogue_.sounds.data()];
    EXPECT_TRUE(clip.Load(file.name.c_str()));
    ASSERT_EQ(clip.frames, static_cast<int>(file.samples.size()));
    int wrong = 0;
    for (size_t i = 0; i < file.samples.size(); ++i) {
      const auto stored = static_cast<int16_t>(clip.data[2 * i] | (clip.data[2 * i + 1] << 8));
      wrong += stored != static_cast<int16_t>(std::lround(file.samples[i] * 32767.0f));
    }
    EXPECT_EQ(wrong, 0);
  }
  EXPECT_TRUE(headless_->MessageBoxes().empty());
}

}  // namespace
