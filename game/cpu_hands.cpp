#include "game/cpu_hands.h"

namespace {

constexpr CpuLevel kLevels[] = {
    {180, 4.0f, 3.0f, 0.5f},  // easy
    {100, 2.0f, 2.5f, 0.45f},
    {60, 1.0f, 2.0f, 0.35f},  // hard
};

}  // namespace

const CpuLevel& LevelOf(int level) {
  if (level < CPU_LEVEL_MIN) level = CPU_LEVEL_MIN;
  if (level > CPU_LEVEL_MAX) level = CPU_LEVEL_MAX;
  return kLevels[level - CPU_LEVEL_MIN];
}

Spin CpuHands::Press(Spin key, uint32_t now_ms) {
  if (count_ == kSlots) {
    held_ = queue_[first_].key;
    first_ = (first_ + 1) % kSlots;
    --count_;
  }
  queue_[(first_ + count_) % kSlots] = Decision{now_ms, key};
  ++count_;
  // Differences of the wrapping clock, so that a clock passing 2^32 keeps the order.
  while (count_ > 0 && static_cast<int32_t>(now_ms - queue_[first_].at) >= delay_ms_) {
    held_ = queue_[first_].key;
    first_ = (first_ + 1) % kSlots;
    --count_;
  }
  return held_;
}
