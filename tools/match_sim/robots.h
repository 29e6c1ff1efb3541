// Two robot players for replays: each holds its first key, its second key or neither for a
// stretch of frames drawn from its own seeded sequence, and sends the changes as key messages,
// the way a keyboard would.
#pragma once

#include <cstdint>
#include <random>

#include "platform/headless/headless.h"

namespace match_sim {

class Robot {
 public:
  Robot(int first_key, int second_key, uint32_t seed);

  // Decides this frame's keys and posts any change to the window's message queue.
  void Step(platform::headless::HeadlessPlatform* headless);

  // The key held now, or 0.
  int held() const { return held_; }

 private:
  int Draw(int below) { return static_cast<int>(rng_() % static_cast<uint32_t>(below)); }

  int first_key_;
  int second_key_;
  // The engine's own generator belongs to the game; a robot has its own so that it does not
  // change the game's sequence.
  std::mt19937 rng_;
  int held_ = 0;
  int frames_left_ = 0;
};

}  // namespace match_sim
