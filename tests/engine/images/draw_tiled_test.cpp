// DrawTiled's grid and the pattern it leaves, and the single-pixel write of the draw table.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "draw_view.h"
#include "engine/images/draw.h"

namespace {

std::vector<std::pair<int, int>> recorded;

int RecordTile(int x, int y, Image*) {
  recorded.emplace_back(x, y);
  return 1;
}

struct GridCase {
  int ox;
  int oy;
  int columns;
  int rows;
  int first_x;
  int first_y;
};

TEST(DrawTiled, GridOfA64TileOverAn800By600View) {
  const GridCase cases[] = {
      {0, 0, 13, 10, 0, 0},     {10, 0, 13, 10, -10, 0}, {-10, 0, 14, 10, -54, 0},
      {-64, 0, 14, 10, -64, 0}, {0, 10, 13, 10, 0, -10}, {0, -10, 13, 11, 0, -54},
      {0, -64, 13, 11, 0, -64}, {64, 64, 13, 10, 0, 0},  {-128, 0, 14, 10, -64, 0},
  };
  TestView view(800, 600, 800, kLayout565);
  Vorn.draw_func.plain = RecordTile;
  Image tile;
  MakeImage(
      &tile, 64, 64, DRAW_PLAIN, false, [](int, int) { return 1; }, [](int, int) { return 0; });
  for (const GridCase& c : cases) {
    SCOPED_TRACE("offset " + std::to_string(c.ox) + ", " + std::to_string(c.oy));
    recorded.clear();
    EXPECT_EQ(DrawTiled(c.ox, c.oy, &tile), 1);
    std::vector<std::pair<int, int>> expected;
    for (int r = 0; r < c.rows; ++r) {
      for (int col = 0; col < c.columns; ++col) {
        expected.emplace_back(c.first_x + col * 64, c.first_y + r * 64);
      }
    }
    EXPECT_EQ(recorded, expected);
  }
}

int FloorMod(int64_t v, int n) {
  return static_cast<int>(((v % n) + n) % n);
}

// Whatever the offset, view pixel (x, y) shows tile pixel ((x + ox) mod W, (y + oy) mod H).
TEST(DrawTiled, CoversTheViewWithTheShiftedPattern) {
  const std::pair<int, int> offsets[] = {
      {0, 0}, {3, 5}, {-3, -5}, {-8, -6}, {8, 6}, {-16, 12}, {1001, -999}, {INT_MAX, INT_MIN},
  };
  constexpr int kW = 8;
  constexpr int kH = 6;
  for (const PixelLayout* layout : {&kLayout565, &kLayout555}) {
    for (const auto& [ox, oy] : offsets) {
      SCOPED_TRACE(std::string(layout->name) + " offset " + std::to_string(ox) + ", " +
                   std::to_string(oy));
      TestView view(50, 30, 56, *layout);
      Image tile;
      MakeImage(
          &tile, kW, kH, DRAW_PLAIN, false, [](int i, int j) { return 100 + j * kW + i; },
          [](int, int) { return 0; });
      EXPECT_EQ(DrawTiled(ox, oy, &tile), 1);
      int wrong = 0;
      for (int y = 0; y < view.height(); ++y) {
        for (int x = 0; x < view.width(); ++x) {
          const int expected =
              100 + FloorMod(int64_t{y} + oy, kH) * kW + FloorMod(int64_t{x} + ox, kW);
          if (view.At(x, y) != expected) ++wrong;
        }
      }
      EXPECT_EQ(wrong, 0);
      EXPECT_EQ(view.DamagedGuards(), 0);
    }
  }
}

// A tile whose file was missing is 0 × 0: nothing to tile, and no size to divide the offsets by.
TEST(DrawTiled, EmptyOrAbsentTileDrawsNothing) {
  TestView view(40, 30, 40, kLayout565);
  Vorn.draw_func.plain = RecordTile;
  recorded.clear();
  const std::pair<int, int> sizes[] = {{0, 0}, {0, 5}, {5, 0}};
  for (const auto& [w, h] : sizes) {
    Image empty;
    empty.width = w;
    empty.height = h;
    empty.purpose = DRAW_PLAIN;
    EXPECT_EQ(DrawTiled(-7, 3, &empty), 1);
  }
  EXPECT_TRUE(recorded.empty());

  // An absent tile goes to the plain draw once, which refuses and reports it.
  Vorn.draw_func.plain = DrawPlain;
  Vorn.status = STATUS_RUNNING;
  EXPECT_EQ(DrawTiled(0, 0, nullptr), 1);
  EXPECT_EQ(Vorn.status, ERR_IMAGEUSE);
}

struct PixelCase {
  const PixelLayout* layout;
  int r;
  int g;
  int b;
  uint16_t expected;
};

TEST(DrawPixelWrite, PacksEightBitChannelsForTheLayout) {
  const PixelCase cases[] = {
      {&kLayout565, 255, 255, 255, 0xFFFF}, {&kLayout565, 255, 0, 0, 0xF800},
      {&kLayout565, 0, 255, 0, 0x07E0},     {&kLayout565, 0, 0, 255, 0x001F},
      {&kLayout565, 8, 4, 8, 0x0821},       {&kLayout565, 7, 3, 7, 0x0000},
      {&kLayout565, 300, -4, 128, 0xF810},  {&kLayout555, 255, 255, 255, 0x7FFF},
      {&kLayout555, 255, 0, 0, 0x7C00},     {&kLayout555, 0, 255, 0, 0x03E0},
      {&kLayout555, 8, 8, 8, 0x0421},       {&kLayout555, 0, 4, 0, 0x0000},
  };
  for (const PixelCase& c : cases) {
    SCOPED_TRACE(std::string(c.layout->name) + " " + std::to_string(c.r) + "," +
                 std::to_string(c.g) + "," + std::to_string(c.b));
    TestView view(16, 12, 20, *c.layout);
    EXPECT_EQ(Vorn.draw_func.pixel(3, 2, c.r, c.g, c.b), 1);
    for (int y = 0; y < view.height(); ++y) {
      for (int x = 0; x < view.width(); ++x) {
        EXPECT_EQ(view.At(x, y), x == 3 && y == 2 ? c.expected : 0) << x << "," << y;
      }
    }
  }
}

TEST(DrawPixelWrite, PointsOutsideTheClipRectangleAreNotWritten) {
  TestView view(16, 12, 20, kLayout565);
  const std::pair<int, int> points[] = {{-1, 0}, {16, 0},  {0, -1},
                                        {0, 12}, {19, 11}, {INT_MIN, INT_MAX}};
  for (const auto& [x, y] : points) EXPECT_EQ(Vorn.draw_func.pixel(x, y, 255, 255, 255), 1);
  EXPECT_EQ(view.DamagedGuards(), 0);
  for (int y = 0; y < view.height(); ++y)
    for (int x = 0; x < view.width(); ++x) ASSERT_EQ(view.At(x, y), 0);
}

}  // namespace
