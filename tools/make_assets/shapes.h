// Shapes as signed distance functions (negative inside, in pixels), the generator's one way of
// describing geometry: fills, outlines and hit tests all come from the same distance.
#pragma once

#include <functional>
#include <vector>

namespace assets {

struct Vec {
  float x = 0, y = 0;
};

struct Shape {
  std::function<float(float x, float y)> distance;
  // Bounding box of the inside, in pixels; drawing scans it plus a margin.
  float left = 0, top = 0, right = 0, bottom = 0;

  bool Contains(float x, float y) const { return distance(x, y) <= 0.0f; }
};

Shape Circle(float cx, float cy, float r);
// An ellipse turned by `angle` degrees (clockwise on screen).
Shape Ellipse(float cx, float cy, float rx, float ry, float angle = 0.0f);
// A line from a to b with rounded ends, radius ra at a and rb at b.
Shape Capsule(Vec a, Vec b, float ra, float rb);
inline Shape Capsule(Vec a, Vec b, float r) {
  return Capsule(a, b, r, r);
}
// A box of half sizes hw × hh with corners rounded by `radius`, turned by `angle` degrees.
Shape RoundBox(float cx, float cy, float hw, float hh, float radius, float angle = 0.0f);
// A closed polygon (either winding).
Shape Polygon(std::vector<Vec> points);
// The part of an annulus around `centre` between radii r0 and r1 and within `half_angle`
// degrees of direction `angle`.
Shape AnnulusSector(Vec centre, float r0, float r1, float angle, float half_angle);

Shape Union(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
// The shape grown by w pixels on every side (shrunk when w is negative).
Shape Grow(Shape s, float w);

// A regular polygon of n corners on a circle of radius r, the first corner at `angle` degrees.
std::vector<Vec> RegularPolygon(float cx, float cy, float r, int n, float angle);
// Rotates a point about a centre by `angle` degrees (clockwise on screen).
Vec Turn(Vec p, Vec centre, float angle);

constexpr float kPi = 3.14159265358979f;
inline float Radians(float degrees) {
  return degrees * kPi / 180.0f;
}

}  // namespace assets
