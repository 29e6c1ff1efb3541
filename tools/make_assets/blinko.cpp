// "blinko": a round, one-eyed, long-armed creature under a propeller cap.
#include <algorithm>
#include <cmath>

#include "tools/make_assets/figure.h"
#include "tools/make_assets/palette.h"

namespace assets {
namespace {

const Colour kSkin = Rgb(124, 204, 84);
const Colour kSkinDark = Rgb(70, 140, 52);
const Colour kBelly = Rgb(200, 240, 150);
const Colour kCapRed = Rgb(230, 70, 60);
const Colour kCapYellow = Rgb(250, 210, 70);
const Colour kIris = Rgb(60, 120, 200);
constexpr float kRim = 1.6f;
constexpr float kBodyRadius = 34.0f;

Shader BallShade(Vec centre, float radius, Colour light, Colour dark) {
  return [=](float x, float y) {
    const float t = std::clamp(
        ((x - centre.x) * 0.45f + (y - centre.y) * 0.75f) / radius * 0.5f + 0.5f, 0.0f, 1.0f);
    return Mix(light, dark, t);
  };
}

void DrawArm(Canvas& canvas, const Pose& pose, int h) {
  const float side = h == 0 ? 1.0f : -1.0f;
  const Arm arm = FigureArm(0, pose, h);
  canvas.FillOutlined(
      Union(Capsule(arm.shoulder, arm.elbow, 6.0f, 5.0f), Capsule(arm.elbow, arm.hand, 5.0f, 4.5f)),
      kSkin, Ink(), kRim);
  // A mitten: round when open, a fist with a thumb ridge when holding.
  const float r = 7.5f - pose.grip[h] * 1.0f;
  canvas.FillOutlined(Circle(arm.hand.x, arm.hand.y, r),
                      BallShade(arm.hand, r, Shade(kSkin, 1.25f), kSkin), Ink(), kRim);
  const float dir = std::atan2(arm.hand.y - arm.elbow.y, arm.hand.x - arm.elbow.x);
  const float thumb = dir + side * (1.2f - 0.6f * pose.grip[h]);
  const Vec tip{arm.hand.x + std::cos(thumb) * (r + 2.5f),
                arm.hand.y + std::sin(thumb) * (r + 2.5f)};
  canvas.FillOutlined(Capsule(arm.hand, tip, 3.0f, 2.5f), kSkin, Ink(), kRim);
}

void DrawCap(Canvas& canvas, const Pose& pose) {
  const Vec top = OnBody(pose, 0, -30);
  canvas.FillOutlined(
      Ellipse(top.x, top.y, 21, 12, pose.tilt),
      [&](float x, float) {
        return std::fmod(std::abs(x - top.x) + 3.5f, 14.0f) < 7.0f ? kCapRed : kCapYellow;
      },
      Ink(), kRim);
  const Vec stem0 = OnBody(pose, 0, -40), stem1 = OnBody(pose, 0, -48);
  canvas.FillOutlined(Capsule(stem0, stem1, 2.0f), Rgb(120, 120, 140), Ink(), 1.2f);
  // Seen from the side, two blades: their visible width swings as they turn.
  const float turn = 2 * kPi * pose.cycle * 2;
  const float reach = 3 + 19 * std::abs(std::cos(turn));
  const float lean = 3 * std::sin(turn);
  canvas.FillOutlined(
      Ellipse(stem1.x - reach * 0.5f, stem1.y + lean * 0.2f, reach * 0.5f + 1, 3.2f, pose.tilt),
      kCapRed, Ink(), 1.2f);
  canvas.FillOutlined(
      Ellipse(stem1.x + reach * 0.5f, stem1.y - lean * 0.2f, reach * 0.5f + 1, 3.2f, pose.tilt),
      kCapYellow, Ink(), 1.2f);
  canvas.FillOutlined(Circle(stem1.x, stem1.y, 2.6f), Rgb(90, 90, 110), Ink(), 1.2f);
}

void DrawFace(Canvas& canvas, const Pose& pose) {
  const Vec eye = OnBody(pose, pose.look * 6, -6);
  const float open = std::max(1.0f - pose.blink, 0.08f);
  canvas.FillOutlined(Ellipse(eye.x, eye.y, 14.5f, 14.5f * open, pose.tilt), Rgb(250, 250, 246),
                      Ink(), kRim);
  if (open > 0.3f) {
    const Vec iris{eye.x + pose.look * 5.0f, eye.y + 1.0f + pose.effort * 2.0f};
    canvas.Fill(Circle(iris.x, iris.y, 7.0f * std::min(open * 1.4f, 1.0f)), kIris);
    canvas.Fill(Circle(iris.x, iris.y, 3.6f), Ink());
    canvas.Fill(Circle(iris.x - 2.5f, iris.y - 3.0f, 1.8f), Rgb(255, 255, 255));
  }
  if (pose.effort > 0.3f) {
    // A determined brow over the eye, slanting toward where it looks.
    const float slant = pose.look >= 0 ? 1.0f : -1.0f;
    canvas.FillOutlined(Capsule(OnBody(pose, pose.look * 6 - 12, -20 - 3 * slant),
                                OnBody(pose, pose.look * 6 + 12, -20 + 3 * slant), 2.2f),
                        kSkinDark, Ink(), 1.0f);
  }
  const Vec mouth = OnBody(pose, pose.look * 5, 17);
  if (pose.effort > 0.5f) {
    canvas.FillOutlined(RoundBox(mouth.x, mouth.y, 7.5f, 3.2f, 1.5f, pose.tilt), Rgb(250, 250, 240),
                        Ink(), 1.3f);
    canvas.Fill(Capsule({mouth.x - 6.5f, mouth.y}, {mouth.x + 6.5f, mouth.y}, 0.5f), Ink());
  } else if (pose.joy > 0.6f) {
    const Shape smile = Intersect(Ellipse(mouth.x, mouth.y - 1, 9, 8, pose.tilt),
                                  RoundBox(mouth.x, mouth.y + 6, 12, 7, 0, pose.tilt));
    canvas.FillOutlined(smile, Rgb(150, 40, 50), Ink(), 1.3f);
    canvas.Fill(Intersect(smile, Circle(mouth.x, mouth.y + 8, 4.5f)), Rgb(240, 110, 120));
  } else {
    canvas.Fill(Subtract(Ellipse(mouth.x, mouth.y - 2, 7, 5, pose.tilt),
                         Ellipse(mouth.x, mouth.y - 4.5f, 8, 5, pose.tilt)),
                Ink());
  }
}

}  // namespace

void DrawBlinko(Canvas& canvas, const Pose& pose) {
  // Little feet dangling below: it hovers on its propeller.
  const float swing = 2.5f * std::sin(2 * kPi * pose.cycle);
  for (float side : {-1.0f, 1.0f}) {
    const Vec foot = OnBody(pose, side * 13 + swing * side, kBodyRadius + 2);
    canvas.FillOutlined(Ellipse(foot.x, foot.y, 8.5f, 5.5f, pose.tilt + side * 10), kSkinDark,
                        Ink(), kRim);
  }
  DrawCap(canvas, pose);
  canvas.FillOutlined(Circle(pose.body.x, pose.body.y, kBodyRadius),
                      BallShade(pose.body, kBodyRadius, Shade(kSkin, 1.2f), kSkinDark), Ink(),
                      kRim);
  const Vec belly = OnBody(pose, 0, 16);
  canvas.Fill(Ellipse(belly.x, belly.y, 20, 13, pose.tilt), Mix(kBelly, kSkin, 0.35f));
  DrawFace(canvas, pose);
  DrawArm(canvas, pose, 0);
  DrawArm(canvas, pose, 1);
}

}  // namespace assets
