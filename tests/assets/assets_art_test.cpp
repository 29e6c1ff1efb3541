// The pictures fit how the game draws them: sizes and limits, hard masks, colours that stay
// apart, tiles that line up into a ring, a seamless background and a centred halo.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "tools/make_assets/art.h"
#include "tools/make_assets/catalogue.h"
#include "tools/make_assets/figure.h"
#include "tools/make_assets/poses.h"
#include "tools/make_assets/preview.h"

namespace {

using assets::Picture;

// CIELAB of an sRGB colour after a colour-vision simulation (linear-RGB matrices for full
// protanopia, deuteranopia and tritanopia).
std::array<double, 3> SeenLab(const uint8_t* rgb, int vision) {
  static const double kVision[4][3][3] = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                                          {{0.152286, 1.052583, -0.204868},
                                           {0.114503, 0.786281, 0.099216},
                                           {-0.003882, -0.048116, 1.051998}},
                                          {{0.367322, 0.860646, -0.227968},
                                           {0.280085, 0.672501, 0.047413},
                                           {-0.011820, 0.042940, 0.968881}},
                                          {{1.255528, -0.076749, -0.178779},
                                           {-0.078411, 0.930809, 0.147602},
                                           {0.004733, 0.691367, 0.303900}}};
  double lin[3], seen[3];
  for (int i = 0; i < 3; ++i) {
    const double c = rgb[i] / 255.0;
    lin[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  }
  for (int i = 0; i < 3; ++i)
    seen[i] = std::clamp(kVision[vision][i][0] * lin[0] + kVision[vision][i][1] * lin[1] +
                             kVision[vision][i][2] * lin[2],
                         0.0, 1.0);
  const double x = (0.4124 * seen[0] + 0.3576 * seen[1] + 0.1805 * seen[2]) / 0.9505;
  const double y = 0.2126 * seen[0] + 0.7152 * seen[1] + 0.0722 * seen[2];
  const double z = (0.0193 * seen[0] + 0.1192 * seen[1] + 0.9505 * seen[2]) / 1.089;
  auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// The mean colour of a badge's face: the band just inside its rim, clear of the symbol.
std::array<double, 3> FaceColour(const Picture& p) {
  std::array<double, 3> sum{};
  int n = 0;
  for (int y = 3; y < p.height - 3; ++y)
    for (int x = 3; x < p.width - 3; ++x) {
      const bool band = x < 5 || y < 5 || x >= p.width - 5 || y >= p.height - 5;
      if (!band || p.At(x, y)[3] == 0) continue;
      for (int k = 0; k < 3; ++k) sum[k] += p.At(x, y)[k];
      ++n;
    }
  for (double& v : sum) v /= n;
  return sum;
}

std::array<uint8_t, 3> Bytes(assets::Colour c) {
  return {static_cast<uint8_t>(std::lround(c.r * 255)),
          static_cast<uint8_t>(std::lround(c.g * 255)),
          static_cast<uint8_t>(std::lround(c.b * 255))};
}

TEST(AssetArt, TileColoursStayApartForNormalAndColourBlindSight) {
  for (int vision = 0; vision < 4; ++vision)
    for (int a = 0; a < assets::kColours; ++a)
      for (int b = a + 1; b < assets::kColours; ++b) {
        const auto ca = Bytes(assets::TileColour(a)), cb = Bytes(assets::TileColour(b));
        const auto la = SeenLab(ca.data(), vision), lb = SeenLab(cb.data(), vision);
        const double distance = std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
        EXPECT_GT(distance, 30.0) << "colours " << a << " and " << b << ", vision " << vision;
      }
}

TEST(AssetArt, EachTargetBadgeIsMostlyTheColourOfItsTile) {
  for (int i = 0; i < assets::kColours; ++i) {
    const auto badge = FaceColour(assets::MakeTarget(i));
    int nearest = 0;
    double best = 1e9;
    for (int c = 0; c < assets::kColours; ++c) {
      const auto tile = Bytes(assets::TileColour(c));
      const double d = std::hypot(badge[0] - tile[0], badge[1] - tile[1], badge[2] - tile[2]);
      if (d < best) best = d, nearest = c;
    }
    EXPECT_EQ(nearest, i);
  }
}

TEST(AssetArt, EveryPictureFitsItsPlaceAndSpritesHaveHardMasks) {
  assets::Fonts fonts;
  ASSERT_TRUE(fonts.ok());
  const assets::Catalogue c = assets::DrawAll(fonts);
  ASSERT_EQ(c.pictures.size(), 4u + 4u + 13u + 9u + 3u + 122u);
  for (const assets::PictureFile& file : c.pictures) {
    SCOPED_TRACE(file.name);
    const Picture& p = file.picture;
    EXPECT_EQ(p.has_alpha, file.name != assets::kBackgroundName);
    int soft = 0, visible = 0;
    for (size_t i = 3; i < p.rgba.size(); i += 4) {
      soft += p.rgba[i] != 0 && p.rgba[i] != 255;
      visible += p.rgba[i] != 0;
    }
    // Masked drawing shows any alpha above 0 at full strength: half-covered edges must have
    // been decided already.
    EXPECT_EQ(soft, 0);
    EXPECT_GT(visible, p.width * p.height / 50);
  }
  for (int i = 0; i < assets::kInstructionImages; ++i) {
    const Picture& p = *c.Find(assets::InstructionName(i));
    EXPECT_LE(p.width, 210);
    EXPECT_LE(p.height, 150);
  }
  // Digits 18 pixels apart must not touch their neighbours: no ink on the outer columns.
  for (int i = 0; i < assets::kNumberImages; ++i) {
    const Picture& p = *c.Find(assets::NumberName(i));
    for (int y = 0; y < p.height; ++y) {
      EXPECT_EQ(p.At(0, y)[3], 0) << "number " << i;
      EXPECT_EQ(p.At(p.width - 1, y)[3], 0) << "number " << i;
    }
  }
  // The rounds label stays clear of the right score's sign at x 622.
  EXPECT_LT(330 + c.Find(assets::kRoundsName)->width, 622);
}

TEST(AssetArt, FiguresStayInsideTheirFrameAndLeftOfTheInstructions) {
  for (int family = 0; family < assets::kFigureFamilies; ++family)
    for (int frame = 0; frame < assets::kFigureFrames; ++frame) {
      const Picture p = assets::MakeFigureFrame(family, frame);
      int rightmost = -1, leftmost = p.width, top = p.height;
      for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
          if (p.At(x, y)[3] != 0) {
            rightmost = std::max(rightmost, x);
            leftmost = std::min(leftmost, x);
            top = std::min(top, y);
          }
      SCOPED_TRACE(assets::FigureName(family, frame));
      EXPECT_LT(rightmost, assets::kFigureRightLimit);
      EXPECT_GT(leftmost, 0);
      EXPECT_GT(top, 0);
    }
}

// Each tile, turned and placed the way the game does it, covers only its own stretch of the
// ring: its pixels lie in the band and within its 15 degrees, so 24 of them form the ring.
TEST(AssetArt, TurnedTilesLieOnTheirOwnStretchOfTheRing) {
  const Picture tile = assets::MakeTile(0);
  for (float angle : {0.0f, 15.0f, 68.5f, 90.0f, 200.0f, 345.0f}) {
    SCOPED_TRACE(angle);
    const Picture work = assets::Turned(tile, assets::kTileOutward - angle, 80);
    const float tx = assets::kRingRadius * std::cos(assets::Radians(angle));
    const float ty = assets::kRingRadius * std::sin(assets::Radians(angle));
    // Work image top-left at the tile's place - 55, so its centre is 15 up and left of the tile;
    // measured from the ring's centre shifted the same way.
    const float left = std::trunc(tx) - 55 + 15, top = std::trunc(ty) - 55 + 15;
    int count = 0;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 80; ++x) {
        if (work.At(x, y)[3] == 0) continue;
        ++count;
        const float px = left + static_cast<float>(x) + 0.5f,
                    py = top + static_cast<float>(y) + 0.5f;
        const float r = std::hypot(px, py);
        float off = std::atan2(py, px) * 180.0f / assets::kPi - angle;
        off = std::remainder(off, 360.0f);
        EXPECT_GT(r, assets::kSegmentInner - 3);
        EXPECT_LT(r, assets::kSegmentOuter + 3);
        EXPECT_LT(std::abs(off), 7.5f + 0.6f);
      }
    EXPECT_GT(count, 300);
  }
}

TEST(AssetArt, BackgroundTilesWithoutASeam) {
  const Picture p = assets::MakeBackground();
  ASSERT_EQ(p.width, 64);
  auto step = [&](int x0, int y0, int x1, int y1) {
    double d = 0;
    for (int k = 0; k < 3; ++k) d += std::abs(p.At(x0, y0)[k] - p.At(x1, y1)[k]);
    return d;
  };
  double seam = 0, inside = 0;
  for (int i = 0; i < 64; ++i) {
    seam += step(63, i, 0, i) + step(i, 63, i, 0);
    inside += step(31, i, 32, i) + step(i, 31, i, 32);
  }
  EXPECT_LT(seam, inside * 1.5 + 64);
  // Dark enough that the foreground reads: mean brightness well below the middle.
  double sum = 0;
  for (size_t i = 0; i < p.rgba.size(); i += 4) sum += p.rgba[i] + p.rgba[i + 1] + p.rgba[i + 2];
  EXPECT_LT(sum / (64.0 * 64.0 * 3.0), 60.0);
}

TEST(AssetArt, HaloIsABallCentredInItsSquare) {
  const Picture p = assets::MakeHalo();
  double cx = 0, cy = 0, n = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.At(x, y)[3] != 0) cx += x + 0.5, cy += y + 0.5, ++n;
  EXPECT_NEAR(cx / n, 27.0, 0.75);
  EXPECT_NEAR(cy / n, 27.0, 0.75);
  EXPECT_EQ(p.At(27, 27)[3], 255);
  EXPECT_GT(p.At(27, 27)[0] + p.At(27, 27)[1] + p.At(27, 27)[2], 700);  // a hot, bright core
  for (auto [x, y] : {std::pair{0, 0}, {53, 0}, {0, 53}, {53, 53}}) EXPECT_EQ(p.At(x, y)[3], 0);
}

}  // namespace
