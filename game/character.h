// The animated figure above a player's ring: a state machine of 15 states over a family of 61
// frames, stepped by its player's update and paced by the frame's clock reading. Only its state
// lives here; the pictures of the family belong to the game's assets.
#pragma once

#include <cstdint>

#include "game/input.h"

constexpr int CHARACTER_FRAMES = 61;
constexpr int CHARACTER_STATES = 15;

struct Character {
  // Stores the family index (0 or 1), rests the figure (state 0, frame 30) and starts its clock
  // at `now_ms`.
  void Setup(int family, uint32_t now_ms);
  // Advances the animation by at most one step at clock reading `now_ms`. `spin` is the ring's
  // spin after this update's change, in degrees per update.
  void Step(Spin key, float spin, uint32_t now_ms);

  // Fields, in order.
  int32_t index = 0;
  int32_t state = 0;
  int32_t frame = 30;
  uint32_t step_time = 0;  // clock value of the last renewed step, in ms
};
