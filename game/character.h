// The animated figure above a player's ring: a state machine of 15 states over a family of 61
// frames, stepped by its player's update and paced by the engine's millisecond clock.
#pragma once

#include "engine/images/image.h"

constexpr int CHARACTER_FRAMES = 61;
constexpr int CHARACTER_STATES = 15;

// Key codes a player hands to its figure: no key, its first key, its second key.
constexpr int KEY_NONE = 0;
constexpr int KEY_FIRST = 1;
constexpr int KEY_SECOND = 2;

class Character {
 public:
  Character() = default;
  Character(const Character&) = delete;
  Character& operator=(const Character&) = delete;

  // Stores the family index (0 or 1), rests the figure (state 0, frame 30), starts its clock
  // and loads the family's 61 frames for masked drawing.
  void Setup(int family);
  // Advances the animation by at most one step. `key` is KEY_NONE, KEY_FIRST or KEY_SECOND;
  // `spin` is the ring's spin after this update's change, in degrees per update.
  void Step(int key, float spin);
  // Draws the current frame with its top-left corner 136 left of and 370 above the centre.
  void Draw(float centre_x, float centre_y);

  // Fields, in order.
  int index = 0;
  int state = 0;
  int frame = 30;
  Image frames[CHARACTER_FRAMES];
  int step_time = 0;  // clock value of the last renewed step, in ms
};
