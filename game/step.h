// One frame of the match as a function: (state, clock reading, both inputs) → next state and the
// sounds the frame asks for. It reads nothing else and plays nothing, so the same arguments always
// give the same result, and a frame can be stepped again silently.
#pragma once

#include <cstdint>

#include "game/game_state.h"
#include "game/input.h"

enum class Sound : uint8_t { Hit = 0, Miss = 1, Vote = 2 };
constexpr int SOUNDS = 3;

// How often the frame asks for each clip. A clip asked for twice in a frame was, in the game as
// it has always run, played twice; the count keeps that exact.
struct SoundEvents {
  uint8_t count[SOUNDS] = {0, 0, 0};

  void Add(Sound s) { ++count[static_cast<int>(s)]; }
  bool Has(Sound s) const { return count[static_cast<int>(s)] != 0; }
  int Count(Sound s) const { return count[static_cast<int>(s)]; }
  bool Any() const { return count[0] != 0 || count[1] != 0 || count[2] != 0; }
  bool operator==(const SoundEvents&) const = default;
};

SoundEvents Step(GameState& s, uint32_t now_ms, FrameInput in);
