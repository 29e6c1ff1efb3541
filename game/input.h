// One side's input for one frame, as data: which of its two spin keys is held. Every way of
// playing (keyboard, pad, computer, replay, network) produces these values, and the match only
// ever sees them.
#pragma once

#include <cstdint>

// Both keys held count as the first.
enum class Spin : uint8_t { None = 0, First = 1, Second = 2 };

constexpr int SIDES = 2;

struct FrameInput {
  Spin side[SIDES] = {Spin::None, Spin::None};
  bool operator==(const FrameInput&) const = default;
};
