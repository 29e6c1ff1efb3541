// Rotated and scaled copies: which source pixel each destination pixel takes, the transparent
// outside, and the destinations that must be left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>

#include "draw_view.h"
#include "engine/images/draw.h"

namespace {

// Source pixel (u, v) of a w-wide picture holds 1 + v × w + u, so a destination pixel names the
// source pixel it took; 0 is the outside value. Destinations start as 0xAAAA with alpha 0x55.
constexpr int kSide = 80;
int Code(int u, int v) {
  return 1 + v * kSide + u;
}

void MakeSource(Image* image, int w, int h, int purpose, bool with_alpha) {
  MakeImage(
      image, w, h, purpose, with_alpha, [w](int i, int j) { return 1 + j * w + i; },
      [](int i, int j) { return (i * 7 + j * 13) % 255; });
}

void MakeDest(Image* image, int w, int h, bool with_alpha) {
  MakeImage(
      image, w, h, 0, with_alpha, [](int, int) { return 0xAAAA; }, [](int, int) { return 0x55; });
}

TEST(RotateScale, EachDestinationPixelTakesTheSourcePixelUnderIt) {
  const struct {
    const char* what;
    float angle, scale;
    std::function<int(int, int)> expected;  // Code(u, v) taken by destination (i, j), or 0
  } cases[] = {
      {"unturned: row 0 outside, then one row down", 0.0f, 1.0f,
       [](int i, int j) { return j == 0 ? 0 : Code(i, j - 1); }},
      {"doubled: the middle quarter, row 0 from row 19", 0.0f, 2.0f,
       [](int i, int j) { return Code(20 + i / 2, j == 0 ? 19 : 20 + (j - 1) / 2); }},
      {"quarter turn: the right-hand column becomes a top row", 90.0f, 1.0f,
       [](int i, int j) { return j == 0 ? 0 : Code(kSide - j, i); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Image source, dest;
    MakeSource(&source, kSide, kSide, DRAW_MASKED, false);
    MakeDest(&dest, kSide, kSide, false);
    RotateScale(source, &dest, c.angle, c.scale);
    int wrong = 0;
    for (int k = 0; k < kSide * kSide; ++k) {
      const int got = dest.pixels16()[k], want = c.expected(k % kSide, k / kSide);
      if (got != want && ++wrong <= 5) ADD_FAILURE() << k << " took " << got << " not " << want;
    }
    EXPECT_EQ(wrong, 0);
  }
}

// A source twice as wide as high: the pixel pass stretches it vertically by that whole ratio, so
// the unturned copy starts 41 rows down (row 0 and the 40 the doubled half-height adds); the alpha
// pass maps as for a square and starts one row down.
TEST(RotateScale, AWideSourceIsStretchedInThePixelPassOnly) {
  Image source, dest;
  MakeSource(&source, 160, 80, DRAW_ALPHA, true);
  MakeDest(&dest, 80, 80, true);
  RotateScale(source, &dest, 0.0f, 1.0f);
  int wrong = 0;
  for (int k = 0; k < 80 * 80; ++k) {
    const int i = k % 80, j = k / 80;
    wrong += dest.pixels16()[k] != (j < 41 ? 0 : 1 + (j - 41) * 160 + 40 + i);
    wrong += dest.alpha[k] != (j < 1 ? 255 : source.alpha[(j - 1) * 160 + 40 + i]);
  }
  EXPECT_EQ(wrong, 0);
}

TEST(RotateScale, DestinationsWithNothingToTakeTheCopyAreLeftAlone) {
  const struct {
    const char* what;
    int src_h, dst_h;
    bool dest_pixels;
  } cases[] = {
      {"destination of height 0", 80, 0, true},
      {"destination without pixels", 80, 80, false},
      {"source of height 0", 0, 80, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Image source, dest;
    MakeSource(&source, 80, c.src_h, DRAW_ALPHA, true);
    MakeDest(&dest, 80, c.dst_h, true);
    // An empty picture still has buffers here, so that only its size can keep the copy away.
    if (source.data == nullptr) source.data = static_cast<uint8_t*>(std::calloc(1, 2));
    if (dest.data == nullptr || !c.dest_pixels) {
      std::free(dest.data);
      dest.data = c.dest_pixels ? static_cast<uint8_t*>(std::calloc(1, 2)) : nullptr;
    }
    RotateScale(source, &dest, 45.0f, 1.0f);
    // A source without rows is a missing file: its purpose is still taken.
    EXPECT_EQ(dest.purpose, c.src_h == 0 && c.dst_h > 0 && c.dest_pixels ? DRAW_ALPHA : 0);
    for (int k = 0; dest.data != nullptr && k < 80 * c.dst_h; ++k) {
      ASSERT_EQ(dest.pixels16()[k], 0xAAAA);
    }
    for (int k = 0; k < 80 * c.dst_h; ++k) ASSERT_EQ(dest.alpha[k], 0x55);
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
  const float scales[] = {0.3f, 1.0f, 2.7f, 0.0f, std::numeric_limits<float>::quiet_NaN()};
  for (const auto& s : sizes) {
    Image source, dest;
    MakeSource(&source, s.src_w, s.src_h, DRAW_MASKED, false);
    MakeDest(&dest, s.dst_w, s.dst_h, false);
    for (float scale : scales) {
      for (float angle = -360.0f; angle <= 360.0f; angle += 7.5f) {
        RotateScale(source, &dest, angle, scale);
        for (int j = 0; j < s.dst_h; ++j) {
          const uint16_t* row = dest.pixels16() + j * s.dst_w;
          int runs = 0;
          for (int i = 0; i < s.dst_w; ++i) {
            ASSERT_LE(row[i], s.src_w * s.src_h);
            runs += row[i] != 0 && (i == 0 || row[i - 1] == 0);
          }
          ASSERT_LE(runs, 1) << s.src_w << "x" << s.src_h << " angle " << angle << " scale "
                             << scale << " row " << j;
        }
      }
    }
  }
}

}  // namespace
