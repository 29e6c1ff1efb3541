// The match as the rollback plays it: the game's own state, step and checksum, with inputs in
// the packets' values.
#pragma once

#include <cstdint>

#include "game/game_state.h"
#include "game/input.h"
#include "game/step.h"

namespace online {

struct VornGame {
  using State = GameState;
  using Sounds = SoundEvents;

  // The packet decoder admits only the three values of Spin.
  static Sounds Step(State& s, uint32_t now_ms, const uint8_t input[2]) {
    FrameInput in;
    in.side[LEFT] = static_cast<Spin>(input[LEFT]);
    in.side[RIGHT] = static_cast<Spin>(input[RIGHT]);
    return ::Step(s, now_ms, in);
  }
  static uint64_t Checksum(const State& s) { return ::Checksum(s); }
  static bool Over(const State& s) { return s.match.game_state == GAME_OVER; }
};

}  // namespace online
