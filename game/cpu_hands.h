// The computer opponent's hands: how quick and how exact each level is, and the delay between
// deciding to press or release a key and doing it.
#pragma once

#include <cstdint>

#include "game/input.h"

struct CpuLevel {
  int reaction_ms;    // from seeing to pressing or releasing
  float aim_error;    // the aim wanders up to this many degrees either way, anew for each flight
  float tolerance;    // degrees off the aim it lets the ring coast rather than push
  float vote_spread;  // 0: votes its taste, 1: any round kind alike
};

constexpr int CPU_LEVEL_MIN = 1;
constexpr int CPU_LEVEL_MAX = 3;
constexpr int CPU_LEVEL_DEFAULT = 2;

// The level's numbers; levels outside 1 to 3 take the nearest one.
const CpuLevel& LevelOf(int level);

// Keys decided now come out `delay_ms` later, in order.
class CpuHands {
 public:
  explicit CpuHands(int delay_ms) : delay_ms_(delay_ms) {}
  // Notes the key decided at `now_ms` and returns the one the hands hold at that time.
  Spin Press(Spin key, uint32_t now_ms);
  // The key held now.
  Spin held() const { return held_; }

 private:
  struct Decision {
    uint32_t at;
    Spin key;
  };
  // Enough for a reaction time at any frame rate the game reaches; when full, the oldest
  // decision is dropped (it has long been acted on).
  static constexpr int kSlots = 64;
  int delay_ms_;
  Decision queue_[kSlots] = {};
  int first_ = 0;
  int count_ = 0;
  Spin held_ = Spin::None;
};
