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
  const struct {
    int area_width, area_height;
    ViewPlacement want;
  } cases[] = {
      {800, 600, {0, 0, 800, 600, true}},
      {1000, 700, {100, 50, 800, 600, true}},     // 1 is 86% of the best fit, 1.17
      {1920, 1280, {160, 40, 1600, 1200, true}},  // 2 is 94% of 2.13
      {1920, 1080, {240, 0, 1440, 1080, false}},  // 1 is only 56% of 1.8
      {400, 300, {0, 0, 400, 300, false}},        // smaller than the view
      {1, 1, {0, 0, 1, 1, false}},                // never an empty picture
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.area_width << " x " << c.area_height);
    EXPECT_EQ(Fields(PlaceView(800, 600, c.area_width, c.area_height)), Fields(c.want));
  }
  EXPECT_EQ(Fields(PlaceView(800, 600, 0, 600)), Fields(ViewPlacement{}));
}

TEST(WindowToView, PointsMapBackToTheSameViewPixelAndBarsClampToTheEdge) {
  auto map = [](int area_width, int area_height, int window_width, int window_height, int x,
                int y) {
    const ViewPlacement p = PlaceView(800, 600, area_width, area_height);
    platform::sdl::WindowToView(p, 800, 600, window_width, window_height, area_width, area_height,
                                &x, &y);
    return std::pair(x, y);
  };
  EXPECT_EQ(map(800, 600, 800, 600, 123, 456), std::pair(123, 456));
  EXPECT_EQ(map(1000, 700, 1000, 700, 223, 506), std::pair(123, 456));
  EXPECT_EQ(map(1920, 1080, 1920, 1080, 240 + 1439, 1079), std::pair(799, 599));
  // A drawing area twice the window's size, as on a high-density screen.
  EXPECT_EQ(map(1600, 1200, 800, 600, 123, 456), std::pair(123, 456));
  // In the bars, and outside the window while a button is held.
  EXPECT_EQ(map(1000, 700, 1000, 700, 50, 20), std::pair(0, 0));
  EXPECT_EQ(map(1000, 700, 1000, 700, -5000, 70000), std::pair(0, 599));
}

TEST(OpeningScale, TheLargestWholeMultipleUpToTheWishThatFits) {
  EXPECT_EQ(platform::sdl::OpeningScale(800, 600, 1920, 1280, 3), 2);
  EXPECT_EQ(platform::sdl::OpeningScale(800, 600, 3840, 2160, 16), 3);
  EXPECT_EQ(platform::sdl::OpeningScale(800, 600, 640, 480, 2), 1);  // never below 1
}

}  // namespace
