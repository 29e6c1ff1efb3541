// The pattern DrawTiled leaves, and the single-pixel write of the draw table.
#include <gtest/gtest.h>

#include <climits>

#include "draw_view.h"

namespace {

std::vector<std::pair<int, int>> recorded;

int RecordTile(int x, int y, Image*) {
  recorded.emplace_back(x, y);
  return 1;
}

// Whatever the offset, view pixel (x, y) shows tile pixel ((x + ox) mod W, (y + oy) mod H).
TEST(DrawTiled, CoversTheViewWithTheShiftedPattern) {
  const std::pair<int, int> offsets[] = {
      {0, 0}, {3, 5}, {-3, -5}, {-8, -6}, {8, 6}, {-16, 12}, {1001, -999}, {INT_MAX, INT_MIN},
  };
  const auto floor_mod = [](int64_t v, int n) { return int(((v % n) + n) % n); };
  for (const PixelLayout* layout : {&k565, &k555}) {
    for (const auto& [ox, oy] : offsets) {
      SCOPED_TRACE(testing::Message() << layout->name << " offset " << ox << ", " << oy);
      TestView view(50, 30, 56, *layout);
      Image tile;
      MakeImage(&tile, 8, 6, DRAW_PLAIN, false, [](int i, int j) { return 100 + j * 8 + i; });
      EXPECT_EQ(DrawTiled(ox, oy, &tile), 1);
      EXPECT_EQ(view.Wrong([&](int x, int y) {
        return 100 + floor_mod(int64_t{y} + oy, 6) * 8 + floor_mod(int64_t{x} + ox, 8);
      }),
                0);
    }
  }
}

// A tile whose file was missing is 0 × 0: nothing to tile, and no size to divide the offsets by.
// An absent tile, or one prepared for another purpose, goes to the plain draw once, which
// refuses and reports it.
TEST(DrawTiled, EmptyOrAbsentTileDrawsNothing) {
  TestView view(40, 30, 40, k565);
  Vorn.draw_func.plain = RecordTile;
  recorded.clear();
  for (const auto& [w, h] : {std::pair{0, 0}, std::pair{0, 5}, std::pair{5, 0}}) {
    Image empty;
    empty.width = w, empty.height = h, empty.purpose = DRAW_PLAIN;
    EXPECT_EQ(DrawTiled(-7, 3, &empty), 1);
  }
  EXPECT_TRUE(recorded.empty());
  Image masked;
  MakeImage(&masked, 4, 4, DRAW_MASKED, false, [](int, int) { return 1; });
  EXPECT_EQ(DrawTiled(0, 0, &masked), 1);
  EXPECT_EQ(recorded.size(), 1u);
  Vorn.draw_func.plain = DrawPlain;
  Vorn.status = STATUS_RUNNING;
  EXPECT_EQ(DrawTiled(0, 0, nullptr), 1);
  EXPECT_EQ(Vorn.status, ERR_IMAGEUSE);
  EXPECT_EQ(view.Wrong(), 0);
}

// The single-pixel write packs 8-bit channels for the layout, and only inside the clip rectangle.
TEST(DrawPixelWrite, PacksEightBitChannelsForTheLayout) {
  const struct {
    const PixelLayout& layout;
    int x, y, r, g, b, expected;  // -1: nothing is written
  } cases[] = {
      {k565, 3, 2, 255, 0, 0, 0xF800},  {k565, 3, 2, 8, 4, 8, 0x0821},
      {k565, 3, 2, 7, 3, 7, 0x0000},    {k565, 3, 2, 300, -4, 128, 0xF810},
      {k555, 3, 2, 8, 8, 8, 0x0421},    {k565, -1, 0, 255, 255, 255, -1},
      {k565, 0, -1, 255, 255, 255, -1}, {k565, INT_MIN, INT_MAX, 255, 255, 255, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.layout.name << " at " << c.x << "," << c.y << " " << c.r);
    TestView view(16, 12, 20, c.layout);
    EXPECT_EQ(Vorn.draw_func.pixel(c.x, c.y, c.r, c.g, c.b), 1);
    EXPECT_EQ(view.Wrong([&](int x, int y) { return x == c.x && y == c.y ? c.expected : 0; }), 0);
  }
}

}  // namespace
