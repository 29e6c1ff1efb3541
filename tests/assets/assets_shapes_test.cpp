// The geometry every picture is drawn from: signed distances (negative inside) and how a
// drawn canvas becomes a hard-masked picture.
#include <gtest/gtest.h>

#include <vector>

#include "tools/make_assets/canvas.h"
#include "tools/make_assets/shapes.h"

namespace {

using namespace assets;

// Each inside point also lies in the shape's box.
TEST(AssetShapes, DistancesAreNegativeInsideAndMeasuredInPixels) {
  const std::vector<Vec> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const Shape sector = AnnulusSector({0, 0}, 10, 20, 90, 10),
              sector0 = AnnulusSector({0, 0}, 10, 20, 0, 10);
  // clang-format off
  const struct { const char* name; Shape shape; Vec point; float distance; } cases[] = {
      {"circle centre", Circle(5, 5, 4), {5, 5}, -4}, {"circle outside", Circle(5, 5, 4), {12, 5}, 3},
      {"ellipse on its long axis", Ellipse(0, 0, 10, 4), {13, 0}, 3}, {"capsule side", Capsule({0, 0}, {10, 0}, 2), {5, 5}, 3},
      {"capsule tapered end", Capsule({0, 0}, {10, 0}, 4, 1), {13, 0}, 2}, {"grow", Grow(Circle(0, 0, 2), 1.5f), {0, 4}, 0.5f},
      {"box inside", RoundBox(0, 0, 5, 3, 0), {0, 1}, -2}, {"box corner", RoundBox(0, 0, 5, 3, 0), {8, 7}, 5},
      {"polygon inside", Polygon(square), {5, 3}, -3}, {"polygon outside", Polygon(square), {5, 14}, 4},
      {"sector middle, nearer its sides", sector, {0, 15}, -2.605f}, {"sector near its rim", sector, {0, 19}, -1},
      {"sector beyond its side", sector0, {14.672f, 3.119f}, 0.523f}, {"sector's hole", sector0, {4, 0}, 6},
      {"union", Union(Circle(0, 0, 2), Circle(10, 0, 2)), {10, 0}, -2}, {"subtract", Subtract(Circle(0, 0, 5), Circle(0, 0, 3)), {0, 0}, 3},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Shape& s = c.shape;
    EXPECT_NEAR(s.distance(c.point.x, c.point.y), c.distance, 0.15f);
    EXPECT_TRUE(c.distance > 0 || (s.left <= c.point.x && c.point.x <= s.right &&
                                   s.top <= c.point.y && c.point.y <= s.bottom));
  }
}

// Masked drawing has no partial transparency: a pixel at least half covered is blended over
// the backdrop and made opaque, anything less is transparent.
TEST(AssetShapes, MaskedPicturesKeepHalfCoveredPixelsBlendedOverTheBackdrop) {
  Canvas canvas(4, 1);
  const float coverage[4] = {1.0f, 0.75f, 0.5f, 0.49f};
  for (int x = 0; x < 4; ++x) canvas.Blend(x, 0, Colour{1, 1, 1, 1}, coverage[x]);
  const Picture p = canvas.ToMasked(Rgb(0, 0, 100));
  const uint8_t want[4][4] = {
      {255, 255, 255, 255}, {191, 191, 216, 255}, {128, 128, 178, 255}, {0, 0, 0, 0}};
  for (int x = 0; x < 4; ++x)
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(p.At(x, 0)[k], want[x][k], 1) << x << "," << k;
  EXPECT_TRUE(p.has_alpha);
}

}  // namespace
