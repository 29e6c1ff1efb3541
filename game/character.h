// The animated figure above a player's ring: a state machine of 15 states over a family of 61
// frames, stepped by its player's update and paced by the frame's clock reading. Only its state
// lives here; the pictures of the family belong to the game's assets.
#pragma once

#include <cstdint>

#include "game/input.h"

constexpr int CHARACTER_FRAMES = 61;
constexpr int CHARACTER_STATES = 15;
// The frame the figure stands at when no key moves it.
constexpr int32_t CHARACTER_REST_FRAME = 30;

// Where the figure stands in its animation. Each key has a loop it plays while held, a release
// into a coasting loop, a way back from coasting into the loop, and a stop; a change of key runs
// through two parts of a turn. The player's spin rule depends on it too. The numbers are stored
// in the game's state (and its checksum), so they stay as they are.
enum class CharacterState : int32_t {
  kRest = 0,
  kFirstLoop = 1,
  kSecondLoop = 2,
  kFirstToSecond = 3,  // first part of the turn from the first key to the second
  kSecondToFirst = 4,  // first part of the turn from the second key to the first
  kFirstCoast = 5,
  kSecondCoast = 6,
  kFirstRelease = 7,
  kFirstAgain = 8,  // the first key again while coasting
  kSecondRelease = 9,
  kSecondAgain = 10,   // the second key again while coasting
  kTowardFirst = 11,   // second part of the turn, toward the first key
  kTowardSecond = 12,  // second part of the turn, toward the second key
  kFirstStop = 13,
  kSecondStop = 14,
};

struct Character {
  // Stores the family index (0 or 1), rests the figure and starts its clock at `now_ms`.
  void Setup(int family, uint32_t now_ms);
  // Advances the animation by at most one step at clock reading `now_ms`. `spin` is the ring's
  // spin after this update's change, in degrees per update.
  void Step(Spin key, float spin, uint32_t now_ms);

  // Fields, in order.
  int32_t index = 0;
  CharacterState state = CharacterState::kRest;
  int32_t frame = CHARACTER_REST_FRAME;
  uint32_t step_time = 0;  // clock value of the last renewed step, in ms
};
