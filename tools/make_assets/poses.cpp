#include "tools/make_assets/poses.h"

#include <algorithm>
#include <cmath>

namespace assets {
namespace {

float Lerp(float a, float b, float t) {
  return a + (b - a) * t;
}
Vec Lerp(Vec a, Vec b, float t) {
  return {Lerp(a.x, b.x, t), Lerp(a.y, b.y, t)};
}
float Ease(float t) {
  return t * t * (3 - 2 * t);
}

// A point on the ring at `alpha` degrees from its top (positive to the right) and radius r.
Vec OnRing(float alpha, float r) {
  return {kRingCentreInFrame.x + r * std::sin(Radians(alpha)),
          kRingCentreInFrame.y - r * std::cos(Radians(alpha))};
}

Pose Neutral() {
  Pose p;
  p.body = {121, 100};
  p.hand[0] = {86, 164};
  p.hand[1] = {156, 164};
  p.grip[0] = p.grip[1] = 0.3f;
  p.joy = 0.35f;
  return p;
}

// Turning clockwise: the ring's top moves right, so each hand takes hold at the left end of its
// stretch, drags right with the ring, lets go and swings back through the air. The two hands
// work half a cycle apart.
Pose Push(float phase) {
  Pose p;
  const float wave = std::sin(4 * kPi * phase);
  p.body = {124, 124 + 2.0f * wave};
  p.tilt = 7 + 3 * wave;
  const float from[2] = {-20, 3}, to[2] = {-3, 20};
  for (int h = 0; h < 2; ++h) {
    const float q = std::fmod(phase + 0.5f * static_cast<float>(h), 1.0f);
    if (q <= 0.5f) {
      p.hand[h] = OnRing(Lerp(from[h], to[h], q / 0.5f), kGripRadius);
      p.grip[h] = 1;
    } else {
      const float s = (q - 0.5f) / 0.5f;
      p.hand[h] = OnRing(Lerp(to[h], from[h], s), kGripRadius + 24 * std::sin(kPi * s));
      p.grip[h] = 0.2f;
    }
  }
  p.look = 0.8f;
  p.effort = 1;
  p.cycle = phase;
  return p;
}

// Riding the coasting ring: hands up, swaying, eyes on the ring.
Pose Coast(float phase) {
  Pose p;
  const float a = 2 * kPi * phase;
  p.body = {120, 88 + 3 * std::sin(a)};
  p.tilt = -4 + 3 * std::sin(a + 0.6f);
  p.hand[0] = {64 + 5 * std::cos(a), 78 + 7 * std::sin(a)};
  p.hand[1] = {178 - 5 * std::cos(a), 78 - 7 * std::sin(a)};
  p.grip[0] = p.grip[1] = 0;
  p.look = 0.9f;
  p.joy = 1;
  p.blink = std::abs(phase - 0.5f) < 0.01f ? 1.0f : 0.0f;
  p.cycle = phase;
  return p;
}

// Both hands just off the ring, where every turning frame can let go.
Pose Release() {
  Pose p = Push(0.25f);
  p.hand[0] = OnRing(-12, kGripRadius + 10);
  p.hand[1] = OnRing(12, kGripRadius + 10);
  p.grip[0] = p.grip[1] = 0.2f;
  p.effort = 0.5f;
  return p;
}

Pose LetGo(float t) {
  Pose p = Blend(Release(), Coast(0), Ease(t));
  p.cycle = t;
  return p;
}

Pose Reach(float t) {
  return Blend(Neutral(), Push(0), Ease(t));
}

// Linear: the hands come down a long way in few frames, so no frame may take a big share.
Pose Settle(float t) {
  return Blend(Coast(0), Neutral(), t);
}

// From holding the ring while turning it clockwise to the half let-go pose of the other
// direction, with a little hop while the figure turns its attention round.
Pose TurnRound(float t) {
  Pose start = Push(0.25f);
  start.hand[0] = OnRing(-12, kGripRadius);
  start.hand[1] = OnRing(12, kGripRadius);
  start.grip[0] = start.grip[1] = 1;
  const Pose end = Mirror(LetGo(2.5f / 6.0f));
  Pose p = Blend(start, end, Ease(t));
  p.body.y -= 14 * std::sin(kPi * t);
  p.hand[0].y -= 10 * std::sin(kPi * t);
  p.hand[1].y -= 10 * std::sin(kPi * t);
  p.effort = 0.6f;
  p.joy = 0.3f;
  p.cycle = t;
  return p;
}

}  // namespace

Pose Blend(const Pose& a, const Pose& b, float t) {
  Pose p;
  p.body = Lerp(a.body, b.body, t);
  p.tilt = Lerp(a.tilt, b.tilt, t);
  for (int h = 0; h < 2; ++h) {
    p.hand[h] = Lerp(a.hand[h], b.hand[h], t);
    p.grip[h] = Lerp(a.grip[h], b.grip[h], t);
  }
  p.look = Lerp(a.look, b.look, t);
  p.blink = Lerp(a.blink, b.blink, t);
  p.effort = Lerp(a.effort, b.effort, t);
  p.joy = Lerp(a.joy, b.joy, t);
  p.cycle = Lerp(a.cycle, b.cycle, t);
  return p;
}

Pose Mirror(const Pose& pose) {
  const float axis = 2 * kRingCentreInFrame.x;
  Pose p = pose;
  p.body.x = axis - pose.body.x;
  p.tilt = -pose.tilt;
  // The screen-left arm becomes the screen-right one.
  for (int h = 0; h < 2; ++h) {
    p.hand[h] = {axis - pose.hand[1 - h].x, pose.hand[1 - h].y};
    p.grip[h] = pose.grip[1 - h];
  }
  p.look = -pose.look;
  return p;
}

float PoseDistance(const Pose& a, const Pose& b) {
  auto dist = [](Vec u, Vec v) { return std::hypot(u.x - v.x, u.y - v.y); };
  return std::max({dist(a.body, b.body), dist(a.hand[0], b.hand[0]), dist(a.hand[1], b.hand[1])});
}

Pose PoseForFrame(int frame) {
  const auto f = static_cast<float>(frame);
  if (frame > 30) return Mirror(PoseForFrame(60 - frame));
  if (frame == 30) return Neutral();
  if (frame >= 27) return Reach((30 - f) / 4);
  if (frame >= 21) return Push((26 - f) / 6);
  if (frame >= 14) return LetGo((20 - f) / 6);
  if (frame >= 9) return Coast((14 - f) / 6);
  if (frame >= 6) return Settle((9 - f) / 4);
  return TurnRound((5 - f) / 5);
}

}  // namespace assets
