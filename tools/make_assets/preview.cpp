#include "tools/make_assets/preview.h"

#include <cmath>
#include <cstdlib>

#include "engine/core/angles.h"
#include "tools/make_assets/art.h"
#include "tools/make_assets/figure.h"

namespace assets {
namespace {

constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;
constexpr float kRingCentreX[2] = {200.0f, 628.0f};
constexpr float kRingCentreY = 420.0f;

struct Side {
  int colours[24];
  float turn;  // degrees the ring has turned from its start
  float halo_x, halo_y;
  int frame;
  int score;
};

Picture Blank() {
  return Picture{kViewWidth, kViewHeight, false,
                 std::vector<uint8_t>(static_cast<size_t>(kViewWidth) * kViewHeight * 4, 255)};
}

void DrawNumber(Picture& view, const Catalogue& c, int index, int x, int y) {
  DrawMaskedOn(view, *c.Find(NumberName(index)), x, y);
}

void DrawPlayer(Picture& view, const Catalogue& c, int index, const Side& side) {
  const float cx = kRingCentreX[index], cy = kRingCentreY;
  DrawMaskedOn(view, *c.Find(kHaloName), static_cast<int>(cx) + static_cast<int>(side.halo_x) - 27,
               static_cast<int>(cy) + static_cast<int>(side.halo_y) - 27);
  for (int i = 0; i < 24; ++i) {
    const float angle = std::fmod(15.0f * static_cast<float>(i) + side.turn + 360.0f, 360.0f);
    const float x = kRingRadius * std::cos(Radians(angle));
    const float y = kRingRadius * std::sin(Radians(angle));
    const Picture work = Turned(*c.Find(TileName(side.colours[i])), kTileOutward - angle, 80);
    DrawMaskedOn(view, work, static_cast<int>(cx) + static_cast<int>(x) - 55,
                 static_cast<int>(cy) + static_cast<int>(y) - 55);
  }
  DrawMaskedOn(view, *c.Find(FigureName(index, side.frame)), static_cast<int>(cx - 136),
               static_cast<int>(cy - 370));
}

void DrawScore(Picture& view, const Catalogue& c, int score, int end_x, int sign_x) {
  if (score < 0) {
    DrawNumber(view, c, 11, sign_x, 20);
    score = -score;
  }
  for (int x = end_x; x > sign_x; x -= 18) {
    DrawNumber(view, c, score % 10, x, 20);
    score /= 10;
  }
}

void DrawCommon(Picture& view, const Catalogue& c, const Side sides[2], int rounds_left) {
  for (int i = 0; i < 2; ++i) DrawPlayer(view, c, i, sides[i]);
  DrawMaskedOn(view, *c.Find(kRoundsName), 330, 10);
  DrawNumber(view, c, rounds_left % 10, 300, 20);
  if (rounds_left / 10 > 0) DrawNumber(view, c, rounds_left / 10, 282, 20);
}

Side StartSide(int frame, float turn, float hx, float hy, int score) {
  Side s{{}, turn, hx, hy, frame, score};
  for (int i = 0; i < 24; ++i) s.colours[i] = i % 4;
  return s;
}

}  // namespace

void DrawTiledOn(Picture& target, const Picture& tile) {
  for (int y = 0; y < target.height; ++y)
    for (int x = 0; x < target.width; ++x) {
      const uint8_t* s = tile.At(x % tile.width, y % tile.height);
      uint8_t* d = target.At(x, y);
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      d[3] = 255;
    }
}

void DrawMaskedOn(Picture& target, const Picture& source, int x, int y) {
  for (int j = 0; j < source.height; ++j)
    for (int i = 0; i < source.width; ++i) {
      const int tx = x + i, ty = y + j;
      if (tx < 0 || ty < 0 || tx >= target.width || ty >= target.height) continue;
      const uint8_t* s = source.At(i, j);
      if (source.has_alpha && s[3] == 0) continue;
      uint8_t* d = target.At(tx, ty);
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
}

Picture Turned(const Picture& source, float angle, int size) {
  Picture out{size, size, true, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4, 0)};
  // The same inverse mapping the engine uses, with its degree factor, in 32-bit reals.
  const auto k = static_cast<float>(DEG_TO_RAD);
  const float hd = std::sqrt(static_cast<float>(size * size * 2)) * 0.5f;
  const float t = (135.0f - angle) * k, a = angle * k;
  const float w1 = static_cast<float>(source.width), h1 = static_cast<float>(source.height);
  const float ratio = static_cast<float>(source.width / source.height);
  const float du = std::cos(a), dv = ratio * std::sin(a);
  float row_u = hd * std::cos(t) + w1 * 0.5f;
  float row_v = h1 * 0.5f - hd * std::sin(t) * ratio;
  for (int j = 0; j < size; ++j) {
    float u = row_u, v = row_v;
    for (int i = 0; i < size; ++i) {
      if (u >= 0 && u < w1 && v >= 0 && v < h1) {
        const uint8_t* s = source.At(static_cast<int>(u), static_cast<int>(v));
        std::copy(s, s + 4, out.At(i, j));
      }
      u += du;
      v += dv;
    }
    row_u -= dv;
    row_v += du;
  }
  return out;
}

void ToDisplayColours(Picture& picture) {
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      uint8_t* p = picture.At(x, y);
      const int r = p[0] >> 3, g = p[1] >> 2, b = p[2] >> 3;
      p[0] = static_cast<uint8_t>((r << 3) | (r >> 2));
      p[1] = static_cast<uint8_t>((g << 2) | (g >> 4));
      p[2] = static_cast<uint8_t>((b << 3) | (b >> 2));
    }
}

Picture VoteScene(const Catalogue& c) {
  Picture view = Blank();
  DrawTiledOn(view, *c.Find(kBackgroundName));
  const int tallies[4] = {3, 7, 1, 9};
  for (int i = 0; i < 4; ++i) {
    const int y = 333 + 36 * i;
    for (int x : {172, 600}) {
      DrawMaskedOn(view, *c.Find(TargetName(i)), x, y);
      DrawNumber(view, c, tallies[i], x + 6, y + 4);
    }
  }
  Side sides[2] = {StartSide(23, 11.0f, -30.0f, -60.0f, 50000),
                   StartSide(47, -6.0f, 92.0f, 105.0f, 50000)};
  sides[0].colours[6] = 3;
  sides[0].colours[7] = 0;
  sides[1].colours[12] = 1;
  DrawCommon(view, c, sides, 10);
  DrawScore(view, c, sides[0].score, 148, 22);
  DrawScore(view, c, sides[1].score, 748, 622);
  DrawMaskedOn(view, *c.Find(InstructionName(4)), 295, 100);
  ToDisplayColours(view);
  return view;
}

Picture StreakScene(const Catalogue& c) {
  Picture view = Blank();
  DrawTiledOn(view, *c.Find(kBackgroundName));
  // Multipliers: 4 on the left (mark and one digit), 16 on the right (mark and two digits).
  DrawNumber(view, c, 12, 167, 360);
  DrawNumber(view, c, 4, 185, 360);
  DrawNumber(view, c, 12, 586, 360);
  DrawNumber(view, c, 1, 604, 360);
  DrawNumber(view, c, 6, 622, 360);
  DrawMaskedOn(view, *c.Find(TargetName(1)), 172, 390);
  DrawMaskedOn(view, *c.Find(TargetName(1)), 600, 390);
  Side sides[2] = {StartSide(11, 40.0f, 118.0f, 70.0f, 61000),
                   StartSide(36, -23.0f, -12.0f, 137.0f, -2500)};
  for (int i = 0; i < 24; i += 5) sides[0].colours[i] = 1;
  for (int i = 2; i < 24; i += 7) sides[1].colours[i] = 3;
  DrawCommon(view, c, sides, 7);
  // Timer: 0:42 left.
  DrawNumber(view, c, 0, 370, 70);
  DrawNumber(view, c, 10, 388, 70);
  DrawNumber(view, c, 4, 406, 70);
  DrawNumber(view, c, 2, 424, 70);
  DrawScore(view, c, sides[0].score, 148, 22);
  DrawScore(view, c, sides[1].score, 748, 622);
  DrawMaskedOn(view, *c.Find(InstructionName(1)), 295, 100);
  ToDisplayColours(view);
  return view;
}

}  // namespace assets
