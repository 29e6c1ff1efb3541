// Where the 800 x 600 view lands in windows of other sizes, and where pointer positions land
// back in the view.
#include "platform/sdl/sdl_layout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using platform::sdl::PlaceView;
using platform::sdl::ViewPlacement;

auto Fields(const ViewPlacement& p) {
  return std::tuple(p.x, p.y, p.width, p.height, p.whole);
}

TEST(PlaceView, WholeMultiplesWhenCloseToTheBestFitAndTheBestFitOtherwise) {
  // clang-format off
  const struct { int area_width, area_height; ViewPlacement want; } cases[] = {
      {800, 600, {0, 0, 800, 600, true}},
      {1000, 700, {100, 50, 800, 600, true}},     // 1 is 86% of the best fit, 1.17
      {1920, 1280, {160, 40, 1600, 1200, true}},  // 2 is 94% of 2.13
      {1920, 1080, {240, 0, 1440, 1080, false}},  // 1 is only 56% of 1.8
      {400, 300, {0, 0, 400, 300, false}},        // smaller than the view
      {1, 1, {0, 0, 1, 1, false}},                // never an empty picture
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.area_width << " x " << c.area_height);
    EXPECT_EQ(Fields(PlaceView(800, 600, c.area_width, c.area_height)), Fields(c.want));
  }
  EXPECT_EQ(Fields(PlaceView(800, 600, 0, 600)), Fields(ViewPlacement{}));
}

// Positions in the window's own units; the drawing area may be larger, as on a high-density
// screen. In the bars, and outside the window while a button is held, points clamp to the edge.
TEST(WindowToView, PointsMapBackToTheSameViewPixelAndBarsClampToTheEdge) {
  // Drawing area, window, the point in the window and where it lands in the view.
  // clang-format off
  const int cases[][8] = {
      {800, 600, 800, 600, 123, 456, 123, 456}, {1000, 700, 1000, 700, 223, 506, 123, 456},
      {1920, 1080, 1920, 1080, 240 + 1439, 1079, 799, 599}, {1600, 1200, 800, 600, 123, 456, 123, 456},
      {1000, 700, 1000, 700, 50, 20, 0, 0}, {1000, 700, 1000, 700, -5000, 70000, 0, 599}};
  // clang-format on
  for (const auto& [area_width, area_height, width, height, x, y, view_x, view_y] : cases) {
    int at_x = x, at_y = y;
    platform::sdl::WindowToView(PlaceView(800, 600, area_width, area_height), 800, 600, width,
                                height, area_width, area_height, &at_x, &at_y);
    EXPECT_EQ(std::pair(at_x, at_y), std::pair(view_x, view_y)) << x << ", " << y;
  }
}

TEST(OpeningScale, TheLargestWholeMultipleUpToTheWishThatFits) {
  EXPECT_EQ(platform::sdl::OpeningScale(800, 600, 1920, 1280, 3), 2);
  EXPECT_EQ(platform::sdl::OpeningScale(800, 600, 3840, 2160, 16), 3);
  EXPECT_EQ(platform::sdl::OpeningScale(800, 600, 640, 480, 2), 1);  // never below 1
}

}  // namespace
