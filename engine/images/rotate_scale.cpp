// Rotated and scaled copies of an image, by inverse mapping: every destination pixel takes the
// source pixel that lies under it.
//
// The working values are 32-bit floats on purpose. A destination pixel's position within its row
// is always the row start plus i steps, never a running sum along the row: running sums drift by
// a rounding step per pixel and move pixels that sit on a truncation boundary (the centre of a
// square picture turned by 45 degrees is one).
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "engine/images/draw.h"

namespace {

// Degrees to radians, with pi taken as 3.141592 as everywhere else in the program.
constexpr double kDegree = 0.01745328888888889;

// Where destination pixel (0, 0) falls in the source, and how positions move along a row and
// from one row to the next.
struct Mapping {
  float u0;
  float v0;
  float du;
  float dv;
};

Mapping MakeMapping(int src_w, int src_h, int dst_w, int dst_h, float angle, float scale,
                    float ratio) {
  const int64_t squares = int64_t{dst_w} * dst_w + int64_t{dst_h} * dst_h;
  const float half_diagonal = static_cast<float>(std::sqrt(static_cast<double>(squares)) * 0.5);
  // 135 degrees is the direction of a square destination's top-left corner from its centre.
  const float corner = static_cast<float>((135.0f - angle) * kDegree);
  const float turn = static_cast<float>(angle * kDegree);
  Mapping m{};
  m.u0 = half_diagonal * std::cos(corner) / scale + static_cast<float>(src_w) * 0.5f;
  m.v0 = static_cast<float>(src_h) * 0.5f - half_diagonal * std::sin(corner) * ratio / scale;
  m.du = std::cos(turn) / scale;
  m.dv = ratio * std::sin(turn) / scale;
  return m;
}

// One pass over the destination for one buffer (pixels or alpha bytes). Pixels whose position is
// outside the source take `outside`.
template <typename T>
void MapPass(const T* src, int src_w, int src_h, T* dst, int dst_w, int dst_h, const Mapping& m,
             T outside) {
  const float limit_u = static_cast<float>(src_w);
  const float limit_v = static_cast<float>(src_h);
  float row_u = m.u0;
  float row_v = m.v0;
  for (int j = 0; j < dst_h; ++j) {
    T* row = dst + static_cast<ptrdiff_t>(j) * dst_w;
    const auto inside = [&](int i) {
      const float u = row_u + static_cast<float>(i) * m.du;
      const float v = row_v + static_cast<float>(i) * m.dv;
      return u >= 0.0f && u < limit_u && v >= 0.0f && v < limit_v;
    };
    // The inside positions of a straight row through a rectangle form one run; trimming the
    // outside ends from both sides isolates it. Positions are monotonic in i, so the run holds
    // after rounding too, and the pixels between the ends need no further test.
    int last = dst_w - 1;
    while (last >= 0 && !inside(last)) row[last--] = outside;
    int first = 0;
    while (first <= last && !inside(first)) row[first++] = outside;
    for (int i = first; i <= last; ++i) {
      const float u = row_u + static_cast<float>(i) * m.du;
      const float v = row_v + static_cast<float>(i) * m.dv;
      row[i] = src[static_cast<ptrdiff_t>(v) * src_w + static_cast<ptrdiff_t>(u)];
    }
    row_u -= m.dv;
    row_v += m.du;
  }
}

}  // namespace

void RotateScale(const Image& source, Image* dest, float angle, float scale) {
  // A destination with nothing to write into, or a source without rows, stays as it is.
  if (dest == nullptr || dest->data == nullptr || dest->width <= 0 || dest->height <= 0) return;
  if (source.height <= 0 || source.width < 0) return;

  dest->purpose = source.purpose;
  const int w1 = source.width;
  const int h1 = source.height;
  const int w2 = dest->width;
  const int h2 = dest->height;

  if (source.data != nullptr) {
    // A source wider than high is stretched vertically by its whole-number aspect ratio.
    const float ratio = static_cast<float>(w1 / h1);
    const Mapping m = MakeMapping(w1, h1, w2, h2, angle, scale, ratio);
    MapPass<uint16_t>(source.pixels16(), w1, h1, dest->pixels16(), w2, h2, m, 0);
  }
  if (source.alpha != nullptr && dest->alpha != nullptr) {
    const Mapping m = MakeMapping(w1, h1, w2, h2, angle, scale, 1.0f);
    MapPass<uint8_t>(source.alpha, w1, h1, dest->alpha, w2, h2, m, 255);
  }
}
