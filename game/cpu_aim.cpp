#include "game/cpu_aim.h"

#include <cmath>

#include "game/player.h"

namespace {

// The halo touches the ring once its centre is its own radius (15) short of the ring's circle.
constexpr double kContactDistance = RING_RADIUS - 15.0;
// A halo slower than this hardly moves; there is no touch worth aiming for.
constexpr double kStill = 1e-6;

constexpr double kDecay = 0.98;
constexpr double kPush = 0.15;  // spin gained per update while the figure pushes
constexpr double kTopSpin = 2.5;
// Updates of pushing before the spin reaches its top.
constexpr int kRampUpdates = 17;

}  // namespace

std::optional<Contact> PredictContact(float x, float y, float vx, float vy) {
  const double a = static_cast<double>(vx) * vx + static_cast<double>(vy) * vy;
  if (a < kStill) return std::nullopt;
  const double b = 2.0 * (static_cast<double>(x) * vx + static_cast<double>(y) * vy);
  const double c =
      static_cast<double>(x) * x + static_cast<double>(y) * y - kContactDistance * kContactDistance;
  // From inside the circle c < 0, so the root is real and the later one is ahead.
  const double disc = b * b - 4.0 * a * c;
  const double t = disc > 0.0 ? (-b + std::sqrt(disc)) / (2.0 * a) : 0.0;
  const int frames = t < 1.0 ? 1 : static_cast<int>(std::ceil(t));
  const double px = x + frames * static_cast<double>(vx);
  const double py = y + frames * static_cast<double>(vy);
  double degrees = std::atan2(py, px) * (180.0 / 3.14159265358979323846);
  if (degrees < 0.0) degrees += 360.0;
  if (degrees >= 360.0) degrees -= 360.0;
  return Contact{frames, static_cast<float>(degrees)};
}

float CoastTurn(float spin, int frames) {
  const double kept = std::pow(kDecay, frames);
  return static_cast<float>(spin * kDecay * (1.0 - kept) / (1.0 - kDecay));
}

float PlannedTurn(float spin, float push, int push_frames, int frames) {
  double turn = 0.0;
  double s = spin;
  const int pushed = push_frames < frames ? push_frames : frames;
  for (int k = 0; k < pushed; ++k) {
    s += push;
    if (s > kTopSpin) s = kTopSpin;
    if (s < -kTopSpin) s = -kTopSpin;
    turn += s;
  }
  return static_cast<float>(turn) + CoastTurn(static_cast<float>(s), frames - pushed);
}

float Reach(int frames, int lag) {
  const int n = frames - lag;
  if (n <= 0) return 0.0f;
  if (n <= kRampUpdates) return static_cast<float>(kPush * n * (n + 1) / 2.0);
  const double ramp = kPush * kRampUpdates * (kRampUpdates + 1) / 2.0;
  return static_cast<float>(ramp + kTopSpin * (n - kRampUpdates));
}

float AngleGap(float a, float b) {
  float d = std::fmod(a - b, 360.0f);
  if (d < -180.0f) d += 360.0f;
  if (d >= 180.0f) d -= 360.0f;
  return d;
}
