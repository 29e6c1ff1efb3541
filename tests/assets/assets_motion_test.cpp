// The figures' frames move as the animation plays them: every sequence the animation states
// show reads as one motion, every loop closes smoothly, and the hands reach what they hold.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/make_assets/figure.h"
#include "tools/make_assets/poses.h"

namespace {

using assets::PoseDistance;
using assets::PoseForFrame;

// Frame by frame, the sequences the figure's state machine shows, loops closed on their start.
const std::vector<std::vector<int>> kSequences = {
    {30, 29, 28, 27, 26},          // reach, first key
    {30, 31, 32, 33, 34},          // reach, second key
    {26, 25, 24, 23, 22, 21, 26},  // first-key loop
    {34, 35, 36, 37, 38, 39, 34},  // second-key loop
    {20, 19, 18, 17, 16, 15, 14},  // let go after the first key
    {40, 41, 42, 43, 44, 45, 46},  // let go after the second key
    {14, 13, 12, 11, 10, 9, 14},   // coasting loops
    {46, 47, 48, 49, 50, 51, 46},
    {9, 8, 7, 6, 30},  // coming to rest
    {51, 52, 53, 54, 30},
    {5, 4, 3, 2, 1, 0, 43, 44, 45, 46},  // change of direction, then coasting
    {5, 4, 3, 2, 1, 0, 42, 41, 40, 34},  // change of direction, then pushing
    {55, 56, 57, 58, 59, 60, 17, 16, 15, 14},
    {55, 56, 57, 58, 59, 60, 18, 19, 20, 26},
};

TEST(FigureMotion, EverySequenceAndLoopMovesInSmallSteps) {
  for (const auto& sequence : kSequences) {
    for (size_t i = 1; i < sequence.size(); ++i) {
      const float step = PoseDistance(PoseForFrame(sequence[i - 1]), PoseForFrame(sequence[i]));
      EXPECT_LT(step, 30.0f) << "from frame " << sequence[i - 1] << " to " << sequence[i];
    }
  }
}

TEST(FigureMotion, KeyChangesFromAnyLoopFrameStartNearby) {
  // Releasing or reversing while pushing, and pushing again or stopping while coasting, jump
  // from whichever loop frame is showing to the first frame of the next sequence.
  const struct {
    int first, last, entry;
  } kJumps[] = {{21, 26, 20}, {21, 26, 5}, {34, 39, 40}, {34, 39, 55},
                {9, 14, 15},  {9, 14, 8},  {46, 51, 45}, {46, 51, 52}};
  for (const auto& jump : kJumps)
    for (int f = jump.first; f <= jump.last; ++f)
      EXPECT_LT(PoseDistance(PoseForFrame(f), PoseForFrame(jump.entry)), 60.0f)
          << "from frame " << f << " to " << jump.entry;
}

TEST(FigureMotion, PushingLoopsDragTheRingTheWayItsKeyTurnsIt) {
  // The first key turns the ring clockwise, so its top moves right under the holding hands;
  // the second key the other way. Each loop shows its frames in its own order.
  const struct {
    int from, to, step;
    float direction;
  } kLoops[] = {{26, 21, -1, 1.0f}, {34, 39, 1, -1.0f}};
  for (const auto& loop : kLoops) {
    int holding_steps = 0;
    for (int f = loop.from; f != loop.to; f += loop.step)
      for (int h = 0; h < 2; ++h) {
        const assets::Pose now = PoseForFrame(f), next = PoseForFrame(f + loop.step);
        if (now.grip[h] < 0.5f || next.grip[h] < 0.5f) continue;
        ++holding_steps;
        EXPECT_GT((next.hand[h].x - now.hand[h].x) * loop.direction, 1.0f) << "frame " << f;
      }
    EXPECT_GE(holding_steps, 4);
  }
}

TEST(FigureMotion, HandsReachWhatThePoseAsksOfThem) {
  for (int family = 0; family < assets::kFigureFamilies; ++family)
    for (int frame = 0; frame < assets::kFigureFrames; ++frame) {
      const assets::Pose pose = PoseForFrame(frame);
      for (int h = 0; h < 2; ++h) {
        const assets::Arm arm = assets::FigureArm(family, pose, h);
        EXPECT_LT(std::hypot(arm.hand.x - pose.hand[h].x, arm.hand.y - pose.hand[h].y), 1.0f)
            << assets::FigureFamilyName(family) << " frame " << frame << " hand " << h;
      }
    }
}

TEST(FigureMotion, SolvedArmsKeepTheirBoneLengths) {
  const struct {
    assets::Vec target;
    bool reachable;
  } kCases[] = {
      {{10, 60}, true}, {{-40, 20}, true}, {{0, 5}, true}, {{200, 0}, false}, {{0, 0}, true}};
  for (const auto& c : kCases) {
    const assets::Arm arm = assets::SolveArm({0, 0}, c.target, 40, 35, {-1, 0.35f});
    EXPECT_NEAR(std::hypot(arm.elbow.x, arm.elbow.y), 40.0f, 0.01f);
    EXPECT_NEAR(std::hypot(arm.hand.x - arm.elbow.x, arm.hand.y - arm.elbow.y), 35.0f, 0.01f);
    if (c.reachable && std::hypot(c.target.x, c.target.y) > 6) {
      EXPECT_LT(std::hypot(arm.hand.x - c.target.x, arm.hand.y - c.target.y), 0.01f);
    }
    if (!c.reachable) {
      EXPECT_NEAR(arm.hand.y, 0.0f, 0.01f);  // stretched straight toward the target
    }
  }
  // An arm hanging straight down bends its elbow out toward the preferred side.
  EXPECT_LT(assets::SolveArm({0, 0}, {0, 60}, 40, 35, {-1, 0.35f}).elbow.x, -5.0f);
  EXPECT_GT(assets::SolveArm({0, 0}, {0, 60}, 40, 35, {1, 0.35f}).elbow.x, 5.0f);
}

}  // namespace
