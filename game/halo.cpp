#include <cmath>

#include "engine/images/draw.h"
#include "game/player.h"

namespace {

constexpr double START_SPEED = 2.5;
// How far the halo is pushed back toward the centre on every contact, in pixels per update.
constexpr double INWARD_PUSH = 1.0;
// The share of the ring surface's movement that the halo takes up on contact.
constexpr double DRAG = 0.2;
constexpr float MAX_SPEED = 4.0f;
// The halo's radius: it touches the ring when its centre is this close to the ring's circle.
constexpr double HALO_RADIUS = 15.0;
// From the halo's centre to the top-left corner of its picture.
constexpr int DRAW_OFFSET = 27;

float Clamp(float v, float limit) {
  return v > limit ? limit : (v < -limit ? -limit : v);
}

}  // namespace

void Halo::Setup(float start_x, float start_y, float start_direction) {
  x = start_x;
  y = start_y;
  direction = start_direction;
  const double a = start_direction * DEG_TO_RAD;
  vx = static_cast<float>(START_SPEED * std::cos(a));
  vy = static_cast<float>(START_SPEED * std::sin(a));
}

void Halo::Move() {
  x += vx;
  y += vy;
  if (x != 0.0f) {
    double d = std::atan(static_cast<double>(y / x)) * RAD_TO_DEG;
    if (x < 0.0f) d += 180.0;
    direction = static_cast<float>(d);
  } else {
    direction = y > 0.0f ? 90.0f : 270.0f;
  }
  // Normalised after rounding to float, so that a value just below 360 that rounds up to 360
  // still ends in range.
  if (direction < 0.0f) direction += 360.0f;
  if (direction >= 360.0f) direction -= 360.0f;
}

bool Halo::Bounce(float radius, float spin) {
  const double d = std::sqrt(static_cast<double>(x * x + y * y));
  if (d + HALO_RADIUS < radius) return false;

  const double nx = x / d;
  const double ny = y / d;
  const double k = 2.0 * (vx * nx + vy * ny);
  vx = static_cast<float>(vx - k * nx - INWARD_PUSH * nx);
  vy = static_cast<float>(vy - k * ny - INWARD_PUSH * ny);

  // The contact angle as the ring will have turned it. Only the stored direction is shifted by
  // a turn, so that the hit test of this update compares it on the same side of 0/360.
  const float sigma = direction + spin;
  if (sigma > 360.0f) direction -= 360.0f;
  if (sigma < 0.0f) direction += 360.0f;

  const double a1 = sigma * DEG_TO_RAD;
  const double a0 = direction * DEG_TO_RAD;
  vx = static_cast<float>(vx + DRAG * radius * (std::cos(a1) - std::cos(a0)));
  vy = static_cast<float>(vy + DRAG * radius * (std::sin(a1) - std::sin(a0)));

  vx = Clamp(vx, MAX_SPEED);
  vy = Clamp(vy, MAX_SPEED);
  return true;
}

void Halo::Draw(float centre_x, float centre_y, Image* picture) const {
  DrawMasked(static_cast<int>(centre_x + static_cast<float>(static_cast<int>(x)) - DRAW_OFFSET),
             static_cast<int>(centre_y + static_cast<float>(static_cast<int>(y)) - DRAW_OFFSET),
             picture);
}
