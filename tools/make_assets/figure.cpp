#include "tools/make_assets/figure.h"

#include <algorithm>
#include <cmath>

#include "tools/make_assets/palette.h"

namespace assets {

const char* FigureFamilyName(int family) {
  return family == 0 ? "blinko" : "zappo";
}

Arm SolveArm(Vec shoulder, Vec target, float upper, float fore, Vec bend) {
  float dx = target.x - shoulder.x, dy = target.y - shoulder.y;
  float d = std::hypot(dx, dy);
  const float reach = upper + fore - 0.5f, least = std::abs(upper - fore) + 1.0f;
  if (d < 1e-3f) {
    dx = 0;
    dy = 1;
    d = 1;
  }
  const float ux = dx / d, uy = dy / d;
  const float span = std::clamp(d, least, reach);
  // Law of cosines: how far along the line the elbow sits, and how far off it.
  const float along = (upper * upper - fore * fore + span * span) / (2 * span);
  const float off = std::sqrt(std::max(upper * upper - along * along, 0.0f));
  // (-uy, ux) is the direction turned a quarter clockwise on the y-down screen.
  const float side = -uy * bend.x + ux * bend.y >= 0 ? 1.0f : -1.0f;
  const Vec elbow{shoulder.x + ux * along - uy * off * side,
                  shoulder.y + uy * along + ux * off * side};
  return {shoulder, elbow, {shoulder.x + ux * span, shoulder.y + uy * span}};
}

Arm FigureArm(int family, const Pose& pose, int h) {
  // Per family: the shoulder's place on the body (screen-left side) and the two bone lengths.
  static const struct {
    float x, y, upper, fore;
  } kArms[kFigureFamilies] = {{-27, 8, 40, 38}, {-30, -2, 44, 42}};
  const auto& arm = kArms[family];
  const float side = h == 0 ? 1.0f : -1.0f;
  return SolveArm(OnBody(pose, arm.x * side, arm.y), pose.hand[h], arm.upper, arm.fore,
                  Vec{-side, 0.35f});
}

Vec OnBody(const Pose& pose, float dx, float dy) {
  return Turn({pose.body.x + dx, pose.body.y + dy}, pose.body, pose.tilt);
}

Picture MakeFigureFrame(int family, int frame) {
  Canvas canvas(kFigureWidth, kFigureHeight);
  const Pose pose = PoseForFrame(frame);
  if (family == 0)
    DrawBlinko(canvas, pose);
  else
    DrawZappo(canvas, pose);
  return canvas.ToMasked(Backdrop());
}

}  // namespace assets
