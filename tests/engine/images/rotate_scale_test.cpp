// Rotated and scaled copies: which source pixel each destination pixel takes, the transparent
// outside, and the destinations that must be left alone.
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "draw_view.h"

namespace {

// Source pixel (u, v) of a w-wide picture holds 1 + v × w + u, so a destination pixel names the
// source pixel it took; 0 is the outside value. Destinations start as 0xAAAA with alpha 0x55.
void Make(Image* source, int w, int h, Image* dest, int dest_w, int dest_h, int purpose,
          bool alpha) {
  MakeImage(
      source, w, h, purpose, alpha, [w](int i, int j) { return 1 + j * w + i; },
      [](int i, int j) { return (i * 7 + j * 13) % 255; });
  MakeImage(
      dest, dest_w, dest_h, 0, alpha, [](int, int) { return 0xAAAA; },
      [](int, int) { return 0x55; });
}

// Destination pixels that differ from expected(i, j) (an 80-wide destination).
int Wrong(const Image& dest, const std::function<int(int, int)>& expected) {
  int wrong = 0;
  for (int k = 0; k < 80 * 80; ++k) wrong += dest.pixels16()[k] != expected(k % 80, k / 80);
  return wrong;
}

TEST(RotateScale, EachDestinationPixelTakesTheSourcePixelUnderIt) {
  const struct {
    const char* what;
    float angle, scale;
    std::function<int(int, int)> expected;  // 1 + v × 80 + u taken by destination (i, j), or 0
  } cases[] = {
      {"unturned: row 0 outside, then one row down", 0.0f, 1.0f,
       [](int i, int j) { return j == 0 ? 0 : 1 + (j - 1) * 80 + i; }},
      {"doubled: the middle quarter, row 0 from row 19", 0.0f, 2.0f,
       [](int i, int j) { return 1 + (j == 0 ? 19 : 20 + (j - 1) / 2) * 80 + 20 + i / 2; }},
      {"quarter turn: the right-hand column becomes a top row", 90.0f, 1.0f,
       [](int i, int j) { return j == 0 ? 0 : 1 + i * 80 + 80 - j; }},
  };
  for (const auto& c : cases) {
    Image source, dest;
    Make(&source, 80, 80, &dest, 80, 80, DRAW_MASKED, false);
    RotateScale(source, &dest, c.angle, c.scale);
    EXPECT_EQ(Wrong(dest, c.expected), 0) << c.what;
  }
}

// A source twice as wide as high: the pixel pass stretches it vertically by that whole ratio, so
// the unturned copy starts 41 rows down (row 0 and the 40 the doubled half-height adds); the alpha
// pass maps as for a square and starts one row down.
TEST(RotateScale, AWideSourceIsStretchedInThePixelPassOnly) {
  Image source, dest;
  Make(&source, 160, 80, &dest, 80, 80, DRAW_ALPHA, true);
  RotateScale(source, &dest, 0.0f, 1.0f);
  EXPECT_EQ(Wrong(dest, [](int i, int j) { return j < 41 ? 0 : 1 + (j - 41) * 160 + 40 + i; }), 0);
  int wrong = 0;
  for (int k = 0; k < 80 * 80; ++k)
    wrong += dest.alpha[k] != (k < 80 ? 255 : source.alpha[(k / 80 - 1) * 160 + 40 + k % 80]);
  EXPECT_EQ(wrong, 0);
}

// A destination of height 0, one without pixels, and a source of height 0: a missing file, whose
// purpose is still taken. Empty pictures still have buffers here, so that only their size can
// keep the copy away.
TEST(RotateScale, DestinationsWithNothingToTakeTheCopyAreLeftAlone) {
  const std::tuple<int, int, bool> cases[] = {{80, 0, true}, {80, 80, false}, {0, 80, true}};
  for (const auto& [src_h, dst_h, dest_pixels] : cases) {
    Image source, dest;
    Make(&source, 80, src_h, &dest, 80, dst_h, DRAW_ALPHA, true);
    if (source.data == nullptr) source.data = static_cast<uint8_t*>(std::calloc(1, 2));
    if (dest.data == nullptr) dest.data = static_cast<uint8_t*>(std::calloc(1, 2));
    if (!dest_pixels) std::free(std::exchange(dest.data, nullptr));
    RotateScale(source, &dest, 45.0f, 1.0f);
    EXPECT_EQ(dest.purpose, src_h == 0 ? DRAW_ALPHA : 0) << src_h << " " << dst_h;
    for (int k = 0; k < 80 * dst_h; ++k)
      ASSERT_TRUE(dest.alpha[k] == 0x55 && (!dest.data || dest.pixels16()[k] == 0xAAAA)) << k;
  }
  RotateScale(Image{}, nullptr, 0.0f, 1.0f);  // no destination at all
}

// Any angle and scale, on any sizes: within each row the pixels taken from the source form one
// unbroken run and every other pixel is outside. Run under the address checker, this also shows
// that no lookup leaves the source.
TEST(RotateScale, InsidePixelsOfEveryRowFormOneRun) {
  const struct {
    int src_w, src_h, dst_w, dst_h;
  } sizes[] = {{80, 80, 80, 80}, {30, 50, 64, 40}, {160, 80, 80, 80}, {1, 1, 9, 9}};
  for (const auto& s : sizes) {
    Image source, dest;
    Make(&source, s.src_w, s.src_h, &dest, s.dst_w, s.dst_h, DRAW_MASKED, false);
    for (float scale : {0.3f, 1.0f, 2.7f, 0.0f, std::numeric_limits<float>::quiet_NaN()}) {
      for (float angle = -360.0f; angle <= 360.0f; angle += 7.5f) {
        RotateScale(source, &dest, angle, scale);
        for (int k = 0, runs = 0; k < s.dst_w * s.dst_h; ++k) {
          const uint16_t* px = dest.pixels16() + k;
          ASSERT_LE(*px, s.src_w * s.src_h);
          runs = (k % s.dst_w ? runs : 0) + (*px != 0 && (k % s.dst_w == 0 || px[-1] == 0));
          ASSERT_LE(runs, 1) << s.src_w << "x" << s.src_h << " angle " << angle << " scale "
                             << scale << " row " << k / s.dst_w;
        }
      }
    }
  }
}

}  // namespace
