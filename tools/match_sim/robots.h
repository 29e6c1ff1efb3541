// Two robot players for replays: each holds its first key, its second key or neither for a
// stretch of frames drawn from its own seeded sequence, and sends the changes as key messages,
// the way a keyboard would.
#pragma once

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

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

// A key pressed or released before a given frame, for replays that follow a written script.
struct ScriptedKey {
  long frame = 0;
  int key = 0;
  bool down = false;
};

// "30+D,90-D": FRAME+KEY presses, FRAME-KEY releases; KEY is a capital letter or a decimal
// virtual-key code. False for anything else.
bool ParseKeys(std::string_view list, std::vector<ScriptedKey>* keys);

// Posts the script's changes for `frame`.
void PostKeys(const std::vector<ScriptedKey>& keys, long frame,
              platform::headless::HeadlessPlatform* headless);

}  // namespace match_sim
