// The two figure families: "blinko" stands above the left ring, "zappo" above the right one.
#pragma once

#include "tools/make_assets/canvas.h"
#include "tools/make_assets/poses.h"

namespace assets {

constexpr int kFigureFamilies = 2;
const char* FigureFamilyName(int family);

Picture MakeFigureFrame(int family, int frame);

// Drawing of one family in one pose onto a frame-sized canvas.
void DrawBlinko(Canvas& canvas, const Pose& pose);
void DrawZappo(Canvas& canvas, const Pose& pose);

// An arm of two bones from a shoulder toward a hand, its elbow bent to whichever side lies
// closer to the direction `bend` (for the screen-left arm out and down to the left). A hand
// out of reach is placed as far as the arm goes.
struct Arm {
  Vec shoulder, elbow, hand;
};
Arm SolveArm(Vec shoulder, Vec target, float upper, float fore, Vec bend);

// The arm a family draws in a pose for hand h (0 the screen-left one, 1 the screen-right one).
Arm FigureArm(int family, const Pose& pose, int h);

// A point given relative to the body's centre, turned with the body's tilt.
Vec OnBody(const Pose& pose, float dx, float dy);

}  // namespace assets
