// The pictures fit how the game draws them: sizes and limits, hard masks, colours that stay
// apart and tiles that line up into a ring.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/make_assets/art.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/figure.h"
#include "tools/make_assets/preview.h"

namespace {

using assets::Picture;

// CIELAB of a colour (0 to 1 a channel) after a colour-vision simulation: normal sight, then
// linear-RGB matrices for full protanopia, deuteranopia and tritanopia.
std::array<double, 3> SeenLab(const double* rgb, int vision) {
  // clang-format off
  static const double kVision[4][9] = {
      {1, 0, 0, 0, 1, 0, 0, 0, 1},
      {0.152286, 1.052583, -0.204868, 0.114503, 0.786281, 0.099216, -0.003882, -0.048116, 1.051998},
      {0.367322, 0.860646, -0.227968, 0.280085, 0.672501, 0.047413, -0.011820, 0.042940, 0.968881},
      {1.255528, -0.076749, -0.178779, -0.078411, 0.930809, 0.147602, 0.004733, 0.691367, 0.303900}};
  // clang-format on
  double lin[3], s[3];
  for (int i = 0; i < 3; ++i)
    lin[i] = rgb[i] <= 0.04045 ? rgb[i] / 12.92 : std::pow((rgb[i] + 0.055) / 1.055, 2.4);
  for (int i = 0; i < 3; ++i) {
    const double* m = kVision[vision] + 3 * i;
    s[i] = std::clamp(m[0] * lin[0] + m[1] * lin[1] + m[2] * lin[2], 0.0, 1.0);
  }
  auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
  const double x = f((0.4124 * s[0] + 0.3576 * s[1] + 0.1805 * s[2]) / 0.9505);
  const double y = f(0.2126 * s[0] + 0.7152 * s[1] + 0.0722 * s[2]);
  const double z = f((0.0193 * s[0] + 0.1192 * s[1] + 0.9505 * s[2]) / 1.089);
  return {116 * y - 16, 500 * (x - y), 200 * (y - z)};
}

// The tile colours stay apart for normal and colour-blind sight, and each target badge's face
// (the band just inside its rim, clear of the symbol) is nearest the colour of its own tile.
TEST(AssetArt, TileColoursStayApartAndTargetsWearThem) {
  std::array<double, 3> tile[assets::kColours];
  for (int c = 0; c < assets::kColours; ++c) {
    const assets::Colour colour = assets::TileColour(c);
    tile[c] = {colour.r, colour.g, colour.b};
  }
  for (int vision = 0; vision < 4; ++vision)
    for (int a = 0; a < assets::kColours; ++a)
      for (int b = a + 1; b < assets::kColours; ++b) {
        const auto la = SeenLab(tile[a].data(), vision), lb = SeenLab(tile[b].data(), vision);
        EXPECT_GT(std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]), 30.0)
            << "colours " << a << " and " << b << ", vision " << vision;
      }
  for (int i = 0; i < assets::kColours; ++i) {
    const Picture p = assets::MakeTarget(i);
    std::array<double, 3> face{};
    int n = 0;
    for (int y = 3; y < p.height - 3; ++y)
      for (int x = 3; x < p.width - 3; ++x) {
        const bool band = x < 5 || y < 5 || x >= p.width - 5 || y >= p.height - 5;
        if (!band || p.At(x, y)[3] == 0) continue;
        for (int k = 0; k < 3; ++k) face[k] += p.At(x, y)[k] / 255.0;
        ++n;
      }
    const auto distance = [&](int c) {
      return std::hypot(face[0] / n - tile[c][0], face[1] / n - tile[c][1],
                        face[2] / n - tile[c][2]);
    };
    int nearest = 0;
    for (int c = 1; c < assets::kColours; ++c)
      nearest = distance(c) < distance(nearest) ? c : nearest;
    EXPECT_EQ(nearest, i);
  }
}

// Masked drawing shows any alpha above 0 at full strength, so half-covered edges must have been
// decided already. Digits 18 pixels apart must not touch their neighbours; the rounds label
// stays clear of the right score's sign at x 622; figures stay inside their frame and left of
// the instructions.
TEST(AssetArt, EveryPictureFitsItsPlaceAndSpritesHaveHardMasks) {
  assets::Fonts fonts;
  ASSERT_TRUE(fonts.ok());
  const assets::Catalogue c = assets::DrawAll(fonts);
  for (const assets::PictureFile& file : c.pictures) {
    SCOPED_TRACE(file.name);
    const Picture& p = file.picture;
    EXPECT_EQ(p.has_alpha, file.name != assets::kBackgroundName);
    int soft = 0, visible = 0, left = p.width, right = -1, top = p.height;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const uint8_t alpha = p.At(x, y)[3];
        soft += alpha != 0 && alpha != 255;
        if (alpha == 0) continue;
        ++visible, left = std::min(left, x), right = std::max(right, x), top = std::min(top, y);
      }
    EXPECT_EQ(soft, 0);
    EXPECT_GT(visible, p.width * p.height / 50);
    if (file.name.find("/num") != std::string::npos) {
      EXPECT_TRUE(left > 0 && right < p.width - 1) << left << " " << right;
    } else if (file.name.find("/inst") != std::string::npos) {
      EXPECT_TRUE(p.width <= 210 && p.height <= 150) << p.width << " x " << p.height;
    } else if (file.name == assets::kRoundsName) {
      EXPECT_LT(330 + p.width, 622);
    } else if (p.width == assets::kFigureWidth) {
      EXPECT_TRUE(left > 0 && top > 0 && right < assets::kFigureRightLimit) << left << " " << right;
    }
  }
}

// Each tile, turned and placed the way the game does it, covers only its own stretch of the
// ring: its pixels lie in the band and within its 15 degrees, so 24 of them form the ring.
TEST(AssetArt, TurnedTilesLieOnTheirOwnStretchOfTheRing) {
  const Picture tile = assets::MakeTile(0);
  for (float angle : {0.0f, 15.0f, 68.5f, 90.0f, 200.0f, 345.0f}) {
    SCOPED_TRACE(angle);
    const Picture work = assets::Turned(tile, assets::kTileOutward - angle, 80);
    // The work image's top-left is at the tile's place - 55, its centre 15 up and left of the
    // tile; measured from the ring's centre shifted the same way.
    const float left = std::trunc(assets::kRingRadius * std::cos(assets::Radians(angle))) - 40;
    const float top = std::trunc(assets::kRingRadius * std::sin(assets::Radians(angle))) - 40;
    int count = 0;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 80; ++x) {
        if (work.At(x, y)[3] == 0) continue;
        ++count;
        const float px = left + static_cast<float>(x) + 0.5f,
                    py = top + static_cast<float>(y) + 0.5f;
        const float r = std::hypot(px, py);
        const float off = std::remainder(std::atan2(py, px) * 180.0f / assets::kPi - angle, 360.0f);
        EXPECT_TRUE(r > assets::kSegmentInner - 3 && r < assets::kSegmentOuter + 3) << r;
        EXPECT_LT(std::abs(off), 7.5f + 0.6f);
      }
    EXPECT_GT(count, 300);
  }
}

}  // namespace
