// The pictures fit how the game draws them: sizes and limits, hard masks, and colours that
// stay apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/make_assets/art.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/figure.h"

namespace {

using assets::Picture;
using Rgb = std::array<double, 3>;

// CIELAB of a colour (0 to 1 a channel) after a colour-vision simulation: normal sight, then
// linear-RGB matrices for full protanopia, deuteranopia and tritanopia.
Rgb SeenLab(const Rgb& rgb, int vision) {
  // clang-format off
  static const double kVision[4][9] = {
      {1, 0, 0, 0, 1, 0, 0, 0, 1},
      {0.152286, 1.052583, -0.204868, 0.114503, 0.786281, 0.099216, -0.003882, -0.048116, 1.051998},
      {0.367322, 0.860646, -0.227968, 0.280085, 0.672501, 0.047413, -0.011820, 0.042940, 0.968881},
      {1.255528, -0.076749, -0.178779, -0.078411, 0.930809, 0.147602, 0.004733, 0.691367, 0.303900}};
  // clang-format on
  Rgb lin, s;
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

double Distance(const Rgb& a, const Rgb& b) {
  return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// The tile colours stay apart for normal and colour-blind sight, and each target badge's face
// (the band just inside its rim, clear of the symbol) is nearest the colour of its own tile.
TEST(AssetArt, TileColoursStayApartAndTargetsWearThem) {
  std::array<Rgb, assets::kColours> tile;
  for (int c = 0; c < assets::kColours; ++c)
    tile[c] = {assets::TileColour(c).r, assets::TileColour(c).g, assets::TileColour(c).b};
  for (int vision = 0; vision < 4; ++vision)
    for (int a = 0; a < assets::kColours; ++a)
      for (int b = a + 1; b < assets::kColours; ++b)
        EXPECT_GT(Distance(SeenLab(tile[a], vision), SeenLab(tile[b], vision)), 30.0)
            << "colours " << a << " and " << b << ", vision " << vision;
  for (int i = 0; i < assets::kColours; ++i) {
    const Picture p = assets::MakeTarget(i);
    std::array<double, 4> sum{};  // red, green, blue and the pixel count of the band
    for (int y = 3; y < p.height - 3; ++y)
      for (int x = 3; x < p.width - 3; ++x)
        if ((x < 5 || y < 5 || x >= p.width - 5 || y >= p.height - 5) && p.At(x, y)[3] != 0)
          for (int k = 0; k < 4; ++k) sum[k] += k < 3 ? p.At(x, y)[k] / 255.0 : 1;
    const Rgb face{sum[0] / sum[3], sum[1] / sum[3], sum[2] / sum[3]};
    const auto nearer = [&](auto& a, auto& b) { return Distance(a, face) < Distance(b, face); };
    EXPECT_EQ(std::min_element(tile.begin(), tile.end(), nearer) - tile.begin(), i);
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

}  // namespace
