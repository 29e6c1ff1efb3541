// What each of a figure's 61 frames shows, as a pose: where the body and hands are and what the
// face does. The game picks frames by number from its animation states; the frame numbers mean:
//   30       standing still, hands down
//   29..27   reaching for the ring to turn it clockwise (toward 26)
//   26..21   the clockwise turning loop (shown 26, 25, ... 21, 26, ...)
//   20..14   letting go after turning clockwise
//   14..9    the clockwise coasting loop (shown 14, 13, ... 9, 14, ...)
//   8..6     coming to rest from it (then 30)
//   5..0     turning round from clockwise to anticlockwise, ending in the pose of 42/43
// and frame 60 - f mirrors frame f for the anticlockwise direction.
#pragma once

#include "tools/make_assets/shapes.h"

namespace assets {

constexpr int kFigureFrames = 61;
constexpr int kFigureWidth = 272;
constexpr int kFigureHeight = 210;
// The game draws a frame with its top-left 136 left of and 370 above the ring's centre and
// draws each tile's work image 15 pixels up and left of the tile; so inside a frame the ring's
// picture is centred here.
constexpr Vec kRingCentreInFrame{121.0f, 355.0f};
// Radius at which the hands hold the ring's outer edge.
constexpr float kGripRadius = 166.0f;
// Everything a figure draws stays left of this column: the instructions start there.
constexpr int kFigureRightLimit = 231;

struct Pose {
  Vec body;            // centre of the body
  float tilt = 0;      // degrees, clockwise on screen
  Vec hand[2];         // the screen-left arm's hand, then the screen-right arm's
  float grip[2] = {};  // 0 open, 1 holding
  float look = 0;      // where the eyes turn: -1 left, 1 right
  float blink = 0;     // 0 open, 1 shut
  float effort = 0;    // 0 calm, 1 straining
  float joy = 0;       // 0 plain, 1 delighted
  float cycle = 0;     // 0 to 1, for small effects that run with the loops
};

Pose PoseForFrame(int frame);
// The same pose seen in a mirror about the ring's vertical axis.
Pose Mirror(const Pose& pose);
// Linear blend of two poses.
Pose Blend(const Pose& a, const Pose& b, float t);
// How far apart two poses are, in pixels of body and hand movement: a measure of how smoothly
// one frame follows another.
float PoseDistance(const Pose& a, const Pose& b);

}  // namespace assets
