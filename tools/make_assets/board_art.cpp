// The pictures of the playing field: background, ring tiles, target badges and the halo.
#include <algorithm>
#include <cmath>

#include "tools/make_assets/art.h"

namespace assets {
namespace {

// A fixed hash of a lattice point into [0, 1): the pictures come out the same on every run.
float Hash(int x, int y) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<float>((h ^ (h >> 16)) & 0xffffu) / 65536.0f;
}

// Smooth value noise that repeats every `period` lattice cells in both directions.
float TilingNoise(float x, float y, int period) {
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
  auto at = [period](int i, int j) {
    return Hash(((i % period) + period) % period, ((j % period) + period) % period);
  };
  const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
  const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
  const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
  return top + (bottom - top) * sy;
}

// A 4 × 4 ordered-dither threshold in (0, 1).
float Bayer(int x, int y) {
  static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (static_cast<float>(m[y & 3][x & 3]) + 0.5f) / 16.0f;
}

}  // namespace

Shape SymbolShape(Symbol symbol, float cx, float cy, float size, float angle) {
  switch (symbol) {
    case Symbol::kCircle:
      return Circle(cx, cy, size * 0.78f);
    case Symbol::kTriangle: {
      // Centred on its area, a point toward `angle`.
      const Vec c = Turn({cx - size * 0.12f, cy}, {cx, cy}, angle);
      return Polygon(RegularPolygon(c.x, c.y, size * 1.08f, 3, angle));
    }
    case Symbol::kSquare:
      return RoundBox(cx, cy, size * 0.7f, size * 0.7f, size * 0.12f, angle);
    case Symbol::kCross:
      return Union(RoundBox(cx, cy, size * 0.95f, size * 0.3f, size * 0.08f, angle + 45),
                   RoundBox(cx, cy, size * 0.95f, size * 0.3f, size * 0.08f, angle + 135));
  }
  return Circle(cx, cy, size);
}

Picture MakeBackground() {
  // Dark and quiet so that everything in front reads; every term repeats over the 64 pixels.
  Canvas canvas(kBackgroundSize, kBackgroundSize);
  const Colour base = Backdrop();
  const Colour deep = Rgb(18, 18, 38);
  const Colour lift = Rgb(40, 42, 74);
  for (int y = 0; y < kBackgroundSize; ++y) {
    for (int x = 0; x < kBackgroundSize; ++x) {
      const float fx = static_cast<float>(x), fy = static_cast<float>(y);
      const float cloud = TilingNoise(fx / 16.0f, fy / 16.0f, 4) * 0.6f +
                          TilingNoise(fx / 8.0f + 7, fy / 8.0f + 3, 8) * 0.4f;
      Colour c = Mix(deep, lift, cloud);
      // A faint lattice of diamonds, 32 pixels apart.
      const float u = std::abs(std::fmod(fx + fy + 0.5f, 32.0f) - 16.0f);
      const float v = std::abs(std::fmod(fx - fy + 64.5f, 32.0f) - 16.0f);
      const float edge = std::min(u, v);
      if (edge < 1.0f) c = Mix(c, Rgb(58, 60, 100), 0.35f * (1.0f - edge));
      canvas.Blend(x, y, Mix(base, c, 0.85f), 1.0f);
    }
  }
  // A few small stars.
  const struct {
    int x, y;
    float glow;
  } stars[] = {{9, 13, 0.9f}, {44, 6, 0.6f}, {27, 40, 0.8f}, {56, 49, 0.55f}, {15, 57, 0.5f}};
  for (const auto& s : stars) {
    canvas.Blend(s.x, s.y, Rgb(200, 210, 255), s.glow);
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
      canvas.Blend((s.x + dx + kBackgroundSize) % kBackgroundSize,
                   (s.y + dy + kBackgroundSize) % kBackgroundSize, Rgb(150, 160, 230),
                   s.glow * 0.3f);
  }
  return canvas.ToOpaque();
}

Picture MakeTile(int colour) {
  Canvas canvas(kTileSize, kTileSize);
  const float half = kTileSize * 0.5f;
  const float out = Radians(kTileOutward);
  const Vec centre{half - kRingRadius * std::cos(out), half - kRingRadius * std::sin(out)};
  // 15° per tile, less a small gap on each side so that the ring reads as separate segments.
  const Shape segment = AnnulusSector(centre, kSegmentInner, kSegmentOuter, kTileOutward, 6.9f);
  const Colour c = TileColour(colour);
  canvas.Fill(segment, Ink());
  canvas.Fill(Grow(segment, -1.5f), [&](float x, float y) {
    // Lit from the outer rim: the ring looks like a raised band.
    const float r = std::hypot(x - centre.x, y - centre.y);
    const float t = std::clamp((r - kSegmentInner) / (kSegmentOuter - kSegmentInner), 0.0f, 1.0f);
    Colour shade = Mix(Shade(c, 0.72f), Shade(c, 1.12f), t);
    if (t > 0.78f) shade = Shade(shade, 1.18f);
    return shade;
  });
  const float mid = (kSegmentInner + kSegmentOuter) * 0.5f;
  const Vec at{centre.x + mid * std::cos(out), centre.y + mid * std::sin(out)};
  canvas.Fill(SymbolShape(TileSymbol(colour), at.x, at.y, 6.0f, kTileOutward), SymbolInk(colour));
  return canvas.ToMasked(Backdrop());
}

Picture MakeTarget(int colour) {
  Canvas canvas(kTargetSize, kTargetSize);
  const float half = kTargetSize * 0.5f;
  const Colour c = TileColour(colour);
  const Shape badge = RoundBox(half, half, half - 1.0f, half - 1.0f, 6.0f);
  canvas.Fill(badge, Ink());
  canvas.Fill(Grow(badge, -1.5f), [&](float, float y) {
    return Mix(Shade(c, 1.2f), Shade(c, 0.8f), y / static_cast<float>(kTargetSize));
  });
  // The symbol large but soft, so that a tally drawn over it stays readable.
  Colour mark = SymbolInk(colour);
  mark.a = 0.6f;
  canvas.Fill(SymbolShape(TileSymbol(colour), half, half, 11.0f, -90.0f), mark);
  return canvas.ToMasked(Backdrop());
}

Picture MakeHalo() {
  // A hot core inside a glow. Masked drawing knows only opaque and transparent pixels, so the
  // glow is blended toward the background's colour and thins out by ordered dithering.
  Picture out{kHaloSize, kHaloSize, true,
              std::vector<uint8_t>(static_cast<size_t>(kHaloSize) * kHaloSize * 4, 0)};
  const float half = kHaloSize * 0.5f;
  const Colour core = Rgb(255, 252, 236), rim = Rgb(255, 200, 90), glow = Rgb(255, 150, 60);
  for (int y = 0; y < kHaloSize; ++y) {
    for (int x = 0; x < kHaloSize; ++x) {
      const float r =
          std::hypot(static_cast<float>(x) + 0.5f - half, static_cast<float>(y) + 0.5f - half);
      Colour c;
      float a;
      if (r < 12.0f) {
        c = Mix(core, rim, std::pow(r / 12.0f, 2.0f));
        a = 1.0f;
      } else {
        const float t = std::clamp((r - 12.0f) / 14.5f, 0.0f, 1.0f);
        c = Mix(rim, glow, t);
        a = std::pow(1.0f - t, 1.6f);
      }
      const bool opaque = a >= 0.62f || (a > 0.04f && a > Bayer(x, y) * 0.62f);
      if (!opaque) continue;
      const Colour shown = Mix(Backdrop(), c, std::max(a, 0.35f));
      uint8_t* p = out.At(x, y);
      p[0] = static_cast<uint8_t>(std::lround(shown.r * 255));
      p[1] = static_cast<uint8_t>(std::lround(shown.g * 255));
      p[2] = static_cast<uint8_t>(std::lround(shown.b * 255));
      p[3] = 255;
    }
  }
  return out;
}

}  // namespace assets
