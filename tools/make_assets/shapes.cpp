#include "tools/make_assets/shapes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace assets {
namespace {

float Length(float x, float y) {
  return std::sqrt(x * x + y * y);
}

Shape Boxed(std::function<float(float, float)> d, float cx, float cy, float reach) {
  return Shape{std::move(d), cx - reach, cy - reach, cx + reach, cy + reach};
}

}  // namespace

Vec Turn(Vec p, Vec centre, float angle) {
  const float c = std::cos(Radians(angle)), s = std::sin(Radians(angle));
  const float dx = p.x - centre.x, dy = p.y - centre.y;
  return {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
}

Shape Circle(float cx, float cy, float r) {
  return Boxed([=](float x, float y) { return Length(x - cx, y - cy) - r; }, cx, cy, r);
}

Shape Ellipse(float cx, float cy, float rx, float ry, float angle) {
  const float c = std::cos(Radians(angle)), s = std::sin(Radians(angle));
  auto d = [=](float x, float y) {
    // Into the ellipse's own frame, then a first-order distance estimate that is exact on
    // circles and good enough at the sizes drawn here.
    const float dx = x - cx, dy = y - cy;
    const float u = dx * c + dy * s, v = -dx * s + dy * c;
    const float k0 = Length(u / rx, v / ry);
    const float k1 = Length(u / (rx * rx), v / (ry * ry));
    if (k1 == 0.0f) return -std::min(rx, ry);
    return k0 * (k0 - 1.0f) / k1;
  };
  return Boxed(d, cx, cy, std::max(rx, ry));
}

Shape Capsule(Vec a, Vec b, float ra, float rb) {
  auto d = [=](float x, float y) {
    const float ex = b.x - a.x, ey = b.y - a.y;
    const float wx = x - a.x, wy = y - a.y;
    const float len2 = ex * ex + ey * ey;
    const float t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0f, 1.0f) : 0.0f;
    return Length(wx - ex * t, wy - ey * t) - (ra + (rb - ra) * t);
  };
  const float r = std::max(ra, rb);
  return Shape{d, std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
               std::max(a.y, b.y) + r};
}

Shape RoundBox(float cx, float cy, float hw, float hh, float radius, float angle) {
  const float c = std::cos(Radians(angle)), s = std::sin(Radians(angle));
  auto d = [=](float x, float y) {
    const float dx = x - cx, dy = y - cy;
    const float u = std::abs(dx * c + dy * s) - (hw - radius);
    const float v = std::abs(-dx * s + dy * c) - (hh - radius);
    return Length(std::max(u, 0.0f), std::max(v, 0.0f)) + std::min(std::max(u, v), 0.0f) - radius;
  };
  return Boxed(d, cx, cy, Length(hw, hh));
}

Shape Polygon(std::vector<Vec> points) {
  Shape shape;
  shape.left = shape.top = 1e9f;
  shape.right = shape.bottom = -1e9f;
  for (const Vec& p : points) {
    shape.left = std::min(shape.left, p.x);
    shape.right = std::max(shape.right, p.x);
    shape.top = std::min(shape.top, p.y);
    shape.bottom = std::max(shape.bottom, p.y);
  }
  shape.distance = [pts = std::move(points)](float x, float y) {
    float best = 1e18f;
    float sign = 1.0f;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const float ex = pts[j].x - pts[i].x, ey = pts[j].y - pts[i].y;
      const float wx = x - pts[i].x, wy = y - pts[i].y;
      const float len2 = ex * ex + ey * ey;
      const float t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0f, 1.0f) : 0.0f;
      const float bx = wx - ex * t, by = wy - ey * t;
      best = std::min(best, bx * bx + by * by);
      // Crossing count along +x decides inside; works for either winding.
      const bool c1 = y >= pts[i].y, c2 = y<pts[j].y, c3 = ex * wy> ey * wx;
      if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(best);
  };
  return shape;
}

Shape AnnulusSector(Vec centre, float r0, float r1, float angle, float half_angle) {
  const float mid = (r0 + r1) * 0.5f, half = (r1 - r0) * 0.5f;
  const float dir = Radians(angle), half_rad = Radians(half_angle);
  auto d = [=](float x, float y) {
    const float dx = x - centre.x, dy = y - centre.y;
    const float r = Length(dx, dy);
    float off = std::atan2(dy, dx) - dir;
    while (off > kPi) off -= 2 * kPi;
    while (off < -kPi) off += 2 * kPi;
    const float radial = std::abs(r - mid) - half;
    // Distance to the straight side edges, measured perpendicular to the edge ray.
    const float side = r * std::sin(std::min(std::abs(off) - half_rad, kPi / 2));
    return std::max(radial, side);
  };
  // The box of the sector: its four corners and, conservatively, the outer arc's middle.
  std::vector<Vec> corners;
  for (float a : {angle - half_angle, angle, angle + half_angle})
    for (float r : {r0, r1})
      corners.push_back({centre.x + r * std::cos(Radians(a)), centre.y + r * std::sin(Radians(a))});
  Shape shape = Polygon(corners);
  shape.distance = d;
  return shape;
}

Shape Union(Shape a, Shape b) {
  Shape s{
      [da = a.distance, db = b.distance](float x, float y) { return std::min(da(x, y), db(x, y)); },
      std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
      std::max(a.bottom, b.bottom)};
  return s;
}

Shape Intersect(Shape a, Shape b) {
  return Shape{
      [da = a.distance, db = b.distance](float x, float y) { return std::max(da(x, y), db(x, y)); },
      std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
      std::min(a.bottom, b.bottom)};
}

Shape Subtract(Shape a, Shape b) {
  return Shape{[da = a.distance, db = b.distance](float x, float y) {
                 return std::max(da(x, y), -db(x, y));
               },
               a.left, a.top, a.right, a.bottom};
}

Shape Grow(Shape s, float w) {
  return Shape{[d = s.distance, w](float x, float y) { return d(x, y) - w; }, s.left - w, s.top - w,
               s.right + w, s.bottom + w};
}

std::vector<Vec> RegularPolygon(float cx, float cy, float r, int n, float angle) {
  std::vector<Vec> points;
  for (int i = 0; i < n; ++i) {
    const float a = Radians(angle + 360.0f * static_cast<float>(i) / static_cast<float>(n));
    points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return points;
}

}  // namespace assets
