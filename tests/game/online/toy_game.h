// A small deterministic two-player game for the rollback tests: every input and clock reading
// changes its state, so any difference in what was played shows in the checksum.
#pragma once

#include <cstdint>

struct ToyGame {
  struct State {
    uint32_t mix = 2166136261u;
    int32_t position[2] = {0, 0};
    uint32_t frames = 0;
    uint32_t end_at = UINT32_MAX;  // the frame count at which the match is over
  };
  using Sounds = uint32_t;

  static Sounds Step(State& s, uint32_t now_ms, const uint8_t input[2]) {
    for (int side = 0; side < 2; ++side) {
      s.position[side] += input[side] == 1 ? 1 : input[side] == 2 ? -1 : 0;
      s.mix = (s.mix ^ input[side]) * 16777619u;
    }
    s.mix = (s.mix ^ now_ms) * 16777619u;
    ++s.frames;
    return s.mix % 7 == 0 ? 1u : 0u;
  }
  static uint64_t Checksum(const State& s) {
    return uint64_t{s.mix} << 32 ^ static_cast<uint32_t>(s.position[0] * 31 + s.position[1]) ^
           uint64_t { s.frames } << 40;
  }
  static bool Over(const State& s) { return s.frames >= s.end_at; }
};
