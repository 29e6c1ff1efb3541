// The figures' frames move as the animation plays them: every sequence the animation states
// show reads as one motion, and every loop closes smoothly.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "tools/make_assets/figure.h"
#include "tools/make_assets/poses.h"

namespace {

using assets::PoseDistance;
using assets::PoseForFrame;

// Frame by frame, the sequences the figure's state machine shows, loops closed on their start:
// reaching, the pushing loops, letting go, the coasting loops, coming to rest, and the changes
// of direction followed by coasting or pushing.
TEST(FigureMotion, EverySequenceAndLoopMovesInSmallSteps) {
  // clang-format off
  const std::vector<std::vector<int>> sequences = {
      {30, 29, 28, 27, 26}, {30, 31, 32, 33, 34}, {26, 25, 24, 23, 22, 21, 26}, {34, 35, 36, 37, 38, 39, 34},
      {20, 19, 18, 17, 16, 15, 14}, {40, 41, 42, 43, 44, 45, 46}, {14, 13, 12, 11, 10, 9, 14},
      {46, 47, 48, 49, 50, 51, 46}, {9, 8, 7, 6, 30}, {51, 52, 53, 54, 30},
      {5, 4, 3, 2, 1, 0, 43, 44, 45, 46}, {5, 4, 3, 2, 1, 0, 42, 41, 40, 34},
      {55, 56, 57, 58, 59, 60, 17, 16, 15, 14}, {55, 56, 57, 58, 59, 60, 18, 19, 20, 26}};
  // clang-format on
  for (const auto& sequence : sequences)
    for (size_t i = 1; i < sequence.size(); ++i)
      EXPECT_LT(PoseDistance(PoseForFrame(sequence[i - 1]), PoseForFrame(sequence[i])), 30.0f)
          << "from frame " << sequence[i - 1] << " to " << sequence[i];
}

}  // namespace
