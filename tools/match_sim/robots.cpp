#include "tools/match_sim/robots.h"

namespace match_sim {

namespace {

// A stretch lasts a third of a second to three seconds at 60 frames per second.
constexpr int kShortestStretch = 20;
constexpr int kStretchSpread = 160;

}  // namespace

Robot::Robot(int first_key, int second_key, uint32_t seed)
    : first_key_(first_key), second_key_(second_key), rng_(seed) {}

void Robot::Step(platform::headless::HeadlessPlatform* headless) {
  if (frames_left_ > 0) {
    --frames_left_;
    return;
  }
  // Mostly push one way, sometimes the other, now and then let go.
  const int choice = Draw(20);
  const int next = choice < 9 ? first_key_ : choice < 16 ? second_key_ : 0;
  frames_left_ = kShortestStretch + Draw(kStretchSpread);
  if (next == held_) return;
  if (held_ != 0) headless->PostKeyUp(held_);
  if (next != 0) headless->PostKeyDown(next);
  held_ = next;
}

}  // namespace match_sim
