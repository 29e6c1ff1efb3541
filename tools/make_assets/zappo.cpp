// "zappo": a boxy robot on a jet, with claw hands and a sparking antenna.
#include <algorithm>
#include <cmath>

#include "tools/make_assets/figure.h"
#include "tools/make_assets/palette.h"

namespace assets {
namespace {

const Colour kMetal = Rgb(170, 182, 214);
const Colour kMetalDark = Rgb(96, 106, 146);
const Colour kVisor = Rgb(30, 34, 64);
const Colour kGlow = Rgb(255, 120, 200);
const Colour kFlame = Rgb(255, 150, 40);
const Colour kFlameCore = Rgb(255, 236, 140);
constexpr float kRim = 1.6f;

Shader Brushed(Vec centre, float half_width) {
  return [=](float x, float y) {
    const float t = std::clamp((x - centre.x) / half_width * 0.5f + 0.5f, 0.0f, 1.0f);
    Colour c = Mix(Shade(kMetal, 1.25f), kMetalDark, t);
    if (std::fmod(y + 200.0f, 6.0f) < 1.0f) c = Shade(c, 0.94f);
    return c;
  };
}

void DrawArm(Canvas& canvas, const Pose& pose, int h) {
  const Arm arm = FigureArm(1, pose, h);
  canvas.FillOutlined(Capsule(arm.shoulder, arm.elbow, 4.5f), kMetalDark, Ink(), kRim);
  canvas.FillOutlined(Capsule(arm.elbow, arm.hand, 4.0f), kMetal, Ink(), kRim);
  canvas.FillOutlined(Circle(arm.elbow.x, arm.elbow.y, 5.0f), Rgb(230, 150, 60), Ink(), kRim);
  canvas.FillOutlined(Circle(arm.shoulder.x, arm.shoulder.y, 6.5f), Rgb(230, 150, 60), Ink(), kRim);
  // Two claw fingers that close as the hand holds.
  const float dir = std::atan2(arm.hand.y - arm.elbow.y, arm.hand.x - arm.elbow.x);
  const float spread = 0.75f - 0.55f * pose.grip[h];
  for (float s : {-1.0f, 1.0f}) {
    const float a0 = dir + s * spread;
    const Vec knuckle{arm.hand.x + std::cos(a0) * 7, arm.hand.y + std::sin(a0) * 7};
    const float a1 = dir - s * spread * 0.9f;
    const Vec tip{knuckle.x + std::cos(a1) * 6, knuckle.y + std::sin(a1) * 6};
    canvas.FillOutlined(Union(Capsule(arm.hand, knuckle, 2.6f), Capsule(knuckle, tip, 2.4f, 1.6f)),
                        kMetal, Ink(), 1.3f);
  }
  canvas.FillOutlined(Circle(arm.hand.x, arm.hand.y, 5.0f), kMetalDark, Ink(), kRim);
}

void DrawAntenna(Canvas& canvas, const Pose& pose) {
  const Vec base = OnBody(pose, 0, -36), tip = OnBody(pose, 0, -53);
  canvas.FillOutlined(Capsule(base, tip, 2.0f), kMetalDark, Ink(), 1.2f);
  canvas.FillOutlined(
      Circle(tip.x, tip.y, 5.5f),
      [&](float x, float y) {
        return Mix(Rgb(255, 230, 250), kGlow,
                   std::clamp(std::hypot(x - tip.x + 2, y - tip.y + 2) / 6, 0.0f, 1.0f));
      },
      Ink(), kRim);
  // Sparks crackle when it works hard or has fun; they turn with the loop.
  const float charge = std::max(pose.effort, pose.joy);
  if (charge < 0.5f) return;
  for (int i = 0; i < 3; ++i) {
    const float a = 2 * kPi * (pose.cycle + static_cast<float>(i) / 3.0f);
    const Vec p0{tip.x + std::cos(a) * 8, tip.y + std::sin(a) * 8};
    const Vec p1{tip.x + std::cos(a + 0.35f) * 12, tip.y + std::sin(a + 0.35f) * 12};
    const Vec p2{tip.x + std::cos(a - 0.1f) * 16, tip.y + std::sin(a - 0.1f) * 16};
    canvas.FillOutlined(Union(Capsule(p0, p1, 1.2f), Capsule(p1, p2, 1.2f)), Rgb(255, 250, 160),
                        Ink(), 0.9f);
  }
}

void DrawJet(Canvas& canvas, const Pose& pose) {
  const float flicker = std::sin(2 * kPi * pose.cycle * 3);
  const float length = 16 + 6 * flicker + 6 * pose.effort;
  const Vec l = OnBody(pose, -8, 44), r = OnBody(pose, 8, 44),
            tip = OnBody(pose, flicker, 44 + length);
  canvas.FillOutlined(Polygon({l, r, tip}), kFlame, Ink(), 1.2f);
  const Vec tip2 = OnBody(pose, flicker * 0.5f, 44 + length * 0.55f);
  canvas.Fill(Polygon({OnBody(pose, -4, 44), OnBody(pose, 4, 44), tip2}), kFlameCore);
  canvas.FillOutlined(Polygon({OnBody(pose, -12, 33), OnBody(pose, 12, 33), OnBody(pose, 9, 46),
                               OnBody(pose, -9, 46)}),
                      kMetalDark, Ink(), kRim);
}

void DrawFace(Canvas& canvas, const Pose& pose) {
  const Vec visor = OnBody(pose, 0, -14);
  canvas.FillOutlined(RoundBox(visor.x, visor.y, 24, 11, 8, pose.tilt), kVisor, Ink(), kRim);
  for (float s : {-1.0f, 1.0f}) {
    const Vec eye = OnBody(pose, s * 9 + pose.look * 5, -14);
    if (pose.joy > 0.6f && pose.effort < 0.5f) {
      // Happy: eyes squeezed into arches.
      canvas.Fill(Subtract(Ellipse(eye.x, eye.y + 2, 5.5f, 5, pose.tilt),
                           Ellipse(eye.x, eye.y + 5, 5.5f, 5, pose.tilt)),
                  kGlow);
    } else {
      const float open = std::max(1.0f - pose.blink, 0.15f) * (1.0f - 0.45f * pose.effort);
      canvas.Fill(Ellipse(eye.x, eye.y, 4.8f, 6.0f * open, pose.tilt), kGlow);
      canvas.Fill(Ellipse(eye.x - 1.2f, eye.y - 1.5f * open, 1.6f, 1.8f * open, pose.tilt),
                  Rgb(255, 230, 250));
    }
  }
  // A speaker grille for a mouth; it opens into a grin when delighted.
  const Vec mouth = OnBody(pose, pose.look * 3, 8);
  if (pose.joy > 0.6f && pose.effort < 0.5f) {
    canvas.FillOutlined(Intersect(Ellipse(mouth.x, mouth.y - 2, 10, 7, pose.tilt),
                                  RoundBox(mouth.x, mouth.y + 4, 12, 6, 0, pose.tilt)),
                        kVisor, Ink(), 1.2f);
  } else {
    for (int i = -1; i <= 1; ++i) {
      const float w = pose.effort > 0.5f ? 9.0f : 7.0f;
      const Vec a = OnBody(pose, pose.look * 3 - w, 8 + static_cast<float>(i) * 3.2f);
      const Vec b = OnBody(pose, pose.look * 3 + w, 8 + static_cast<float>(i) * 3.2f);
      canvas.Fill(Capsule(a, b, 0.9f), kVisor);
    }
  }
  // Chest lights that step along with the loops.
  static const Colour lights[3] = {Rgb(255, 90, 90), Rgb(120, 240, 120), Rgb(255, 220, 80)};
  const int lit = static_cast<int>(std::floor(pose.cycle * 6.0f)) % 3;
  for (int i = 0; i < 3; ++i) {
    const Vec led = OnBody(pose, static_cast<float>(i - 1) * 10, 24);
    canvas.FillOutlined(Circle(led.x, led.y, 2.8f), i == lit ? lights[i] : Shade(lights[i], 0.45f),
                        Ink(), 1.0f);
  }
}

}  // namespace

void DrawZappo(Canvas& canvas, const Pose& pose) {
  DrawJet(canvas, pose);
  DrawAntenna(canvas, pose);
  canvas.FillOutlined(RoundBox(pose.body.x, pose.body.y, 31, 37, 12, pose.tilt),
                      Brushed(pose.body, 31), Ink(), kRim);
  for (float s : {-1.0f, 1.0f}) {
    const Vec bolt = OnBody(pose, s * 31, -16);
    canvas.FillOutlined(Circle(bolt.x, bolt.y, 4.0f), kMetalDark, Ink(), 1.2f);
  }
  DrawFace(canvas, pose);
  DrawArm(canvas, pose, 0);
  DrawArm(canvas, pose, 1);
}

}  // namespace assets
