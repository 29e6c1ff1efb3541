// Setting up a player and drawing it on a headless view: halo, 24 turned tiles, figure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "engine/core/vorn.h"
#include "engine/images/draw.h"
#include "engine/images/image_loader.h"
#include "game/player.h"
#include "support/headless_engine.h"
#include "support/player_pictures.h"

namespace {

constexpr uint16_t kHalo = 0x2222;
constexpr uint16_t kFigure = 0x3333;
constexpr uint16_t TileValue(int colour) {
  return static_cast<uint16_t>(0x1000 + colour);
}

class PlayerDrawTest : public testing::Test {
 protected:
  void SetUp() override {
    StartHeadlessEngine();
    for (int c = 0; c < TILE_COLOURS; ++c) MakeSolidMasked(&tiles_[c], 20, 20, TileValue(c));
  }

  // Sets up the player, then gives it plain pictures in place of the missing art files.
  void SetUpPlayer(Player* p, int index, float x, float y) {
    p->Setup(index, x, y, 50000, 90.0f, tiles_);
    MakeSolidMasked(&p->halo.image, 10, 10, kHalo);
    MakeSolidMasked(&p->character.frames[30], 8, 8, kFigure);
  }

  static uint16_t At(int x, int y) { return Vorn.view[y * Vorn.view_stride + x]; }

  static void DrawOnClearView(Player* p) {
    ASSERT_TRUE(Vorn.ViewLock());
    for (int y = 0; y < 600; ++y) std::memset(Vorn.view + y * Vorn.view_stride, 0, 1600);
    p->Draw();
  }

  Image tiles_[TILE_COLOURS];
};

TEST_F(PlayerDrawTest, SetupPlacesEverything) {
  WriteSolidTiff("Images/halo.tif", 6, 4, 255, 255, 255);
  Player p;
  p.spin = 3.0f;
  p.Setup(1, 628.0f, 420.0f, 50000, 60.0f, tiles_);
  EXPECT_EQ(p.index, 1);
  EXPECT_EQ(p.score, 50000);
  EXPECT_EQ(p.spin, 0.0f);
  EXPECT_EQ(p.centre_x, 628.0f);
  EXPECT_EQ(p.centre_y, 420.0f);
  EXPECT_EQ(p.tile_images, tiles_);
  EXPECT_EQ(p.halo.x, 0.0f);
  EXPECT_EQ(p.halo.y, -40.0f);
  EXPECT_NEAR(p.halo.vx, 1.25, 1e-5);
  EXPECT_NEAR(p.halo.vy, 2.5 * std::sqrt(0.75), 1e-5);
  EXPECT_EQ(p.halo.image.width, 6);  // "Images/halo.tif", for masked drawing
  EXPECT_EQ(p.halo.image.purpose, DRAW_MASKED);
  EXPECT_EQ(p.character.index, 1);
  EXPECT_EQ(p.character.frame, 30);
  for (int i = 0; i < RING_TILES; ++i) {
    EXPECT_EQ(p.tiles[i].colour, i % 4);
    EXPECT_EQ(p.tiles[i].tile_images, tiles_);
  }
}

TEST_F(PlayerDrawTest, HaloTilesAndFigureWhereTheyBelong) {
  struct Case {
    int index;
    float centre_x;
    int figure_left;
  };
  for (const Case& c : {Case{0, 200.0f, 64}, Case{1, 628.0f, 492}}) {
    SCOPED_TRACE(c.index);
    Player p;
    SetUpPlayer(&p, c.index, c.centre_x, 420.0f);
    const int cx = static_cast<int>(c.centre_x);
    DrawOnClearView(&p);

    // The figure's top-left corner.
    EXPECT_EQ(At(c.figure_left, 50), kFigure);
    EXPECT_EQ(At(c.figure_left + 7, 57), kFigure);
    EXPECT_EQ(At(c.figure_left - 1, 50), 0);
    EXPECT_EQ(At(c.figure_left, 49), 0);
    EXPECT_EQ(At(c.figure_left + 8, 57), 0);

    // The halo at (0, -40): its picture's top-left corner 27 left of and above that.
    EXPECT_EQ(At(cx - 27, 420 - 40 - 27), kHalo);
    EXPECT_EQ(At(cx - 27 + 9, 420 - 40 - 27 + 9), kHalo);
    EXPECT_EQ(At(cx - 28, 420 - 40 - 27), 0);
    EXPECT_EQ(At(cx - 27, 420 - 40 - 28), 0);

    // Each tile's 80 x 80 work image is drawn 55 left of and above the tile; the turned picture
    // sits in its middle, 15 left of and above the tile.
    for (int i = 0; i < RING_TILES; ++i) {
      const int tx = cx + static_cast<int>(p.tiles[i].x);
      const int ty = 420 + static_cast<int>(p.tiles[i].y);
      EXPECT_EQ(At(tx - 15, ty - 15), TileValue(i % 4)) << "tile " << i;
      EXPECT_EQ(p.tiles[i].scratch.purpose, DRAW_MASKED);
    }
    Vorn.ViewUnlock();
  }
}

// The tile's picture is turned by 68.5 degrees less the tile's angle, so that it keeps facing
// the centre as the ring turns.
TEST_F(PlayerDrawTest, TilesAreTurnedByTheirAngle) {
  // An arrow-like picture: its top half one value, its bottom half another.
  Image pictures[TILE_COLOURS];
  Image& arrow = pictures[1];
  MakeSolidMasked(&arrow, 20, 20, 0x0F0F);
  for (int i = 0; i < 200; ++i) arrow.pixels16()[i] = 0x7000;
  Player p;
  SetUpPlayer(&p, 0, 200.0f, 420.0f);
  for (RingTile& t : p.tiles) t.tile_images = pictures;
  p.tiles[3].colour = p.tiles[9].colour = 1;
  for (RingTile& t : p.tiles) t.Rotate(7.0f);
  DrawOnClearView(&p);
  Vorn.ViewUnlock();
  for (const int i : {3, 9}) {
    Image expected;
    expected.Create(80, 80, IMAGE_RGB16 | IMAGE_ALPHA);
    RotateScale(arrow, &expected, 68.5f - p.tiles[i].angle, 1.0f);
    EXPECT_EQ(std::memcmp(expected.data, p.tiles[i].scratch.data, 80 * 80 * 2), 0) << i;
  }
}

// Tile pictures whose files were missing (prepared, but without pixels) draw nothing and report
// nothing, whatever the work images hold.
TEST_F(PlayerDrawTest, MissingTilePicturesDrawNothing) {
  std::filesystem::remove_all("Images");
  Image missing[TILE_COLOURS];
  for (Image& m : missing) ImageLoader::Load("Images/missing.tif", &m, DRAW_MASKED);
  Player p;
  p.Setup(0, 200.0f, 420.0f, 50000, 90.0f, missing);
  for (RingTile& t : p.tiles) {
    std::memset(t.scratch.data, 0xFF, 80 * 80 * 2);
    t.scratch.purpose = DRAW_MASKED;
  }
  auto& headless = *static_cast<platform::headless::HeadlessPlatform*>(Vorn.backend);
  const std::size_t boxes = headless.MessageBoxes().size();
  DrawOnClearView(&p);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) ASSERT_EQ(At(x, y), 0) << x << ", " << y;
  }
  Vorn.ViewUnlock();
  EXPECT_EQ(headless.MessageBoxes().size(), boxes);
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
}

}  // namespace
