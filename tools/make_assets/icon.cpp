#include "tools/make_assets/icon.h"

#include <algorithm>
#include <cmath>

#include "tools/make_assets/palette.h"

namespace assets {
namespace {

constexpr int kTiles = 24;
constexpr float kTileDegrees = 360.0f / kTiles;

}  // namespace

Picture DrawIcon(int size) {
  Canvas canvas(size, size);
  const float s = static_cast<float>(size);
  const float half = s * 0.5f;
  const Vec centre{half, half};
  // Everything is proportional to the size; the rims stay at least a pixel wide.
  const float rim = std::max(1.0f, s / 64.0f);
  const Shape badge = RoundBox(half, half, half - rim, half - rim, s * 0.18f);
  canvas.Fill(badge, Ink());
  canvas.Fill(Grow(badge, -rim),
              [&](float, float y) { return Mix(Shade(Backdrop(), 1.35f), Backdrop(), y / s); });

  // The ring: 24 tiles, each colour in turn, with small gaps so the tiles read apart.
  const float inner = s * 0.26f;
  const float outer = s * 0.41f;
  for (int tile = 0; tile < kTiles; ++tile) {
    const float angle = static_cast<float>(tile) * kTileDegrees - 90.0f;
    const Shape segment = AnnulusSector(centre, inner, outer, angle, kTileDegrees * 0.5f - 1.2f);
    const Colour c = TileColour(tile % kColours);
    canvas.Fill(segment, Ink());
    canvas.Fill(Grow(segment, -rim * 0.75f), [&](float x, float y) {
      const float r = std::hypot(x - centre.x, y - centre.y);
      return Mix(Shade(c, 0.75f), Shade(c, 1.15f),
                 std::clamp((r - inner) / (outer - inner), 0.f, 1.f));
    });
  }

  // The halo, off centre as if it were bouncing toward the ring.
  const Vec halo{half + s * 0.07f, half - s * 0.06f};
  const float radius = s * 0.1f;
  canvas.Fill(Circle(halo.x, halo.y, radius + rim), Ink());
  canvas.Fill(Circle(halo.x, halo.y, radius), [&](float x, float y) {
    const float d = std::hypot(x - halo.x + radius * 0.35f, y - halo.y + radius * 0.35f);
    return Mix(Rgb(255, 255, 240), Rgb(150, 170, 255), std::clamp(d / (radius * 1.6f), 0.f, 1.f));
  });
  return canvas.ToTranslucent();
}

}  // namespace assets
