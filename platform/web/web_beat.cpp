#include "platform/web/web_beat.h"

#include <cmath>

namespace platform::web {

int StepBeat::Due(double now_ms) {
  if (!started_) {
    started_ = true;
    next_ = now_ms + period_;
    return 1;
  }
  const double early = period_ / 4;
  int steps = 0;
  while (now_ms >= next_ - early && steps <= kMaxSteps) {
    ++steps;
    next_ += period_;
  }
  if (steps > kMaxSteps) {
    next_ = now_ms + period_;
    steps = kMaxSteps;
  }
  return steps;
}

void HeldClock::Hold(double now_ms) {
  if (held_) return;
  held_ = true;
  held_at_ = now_ms;
}

void HeldClock::Release(double now_ms) {
  if (!held_) return;
  held_ = false;
  held_total_ += now_ms - held_at_;
}

uint32_t HeldClock::Read(double now_ms) const {
  const double until = held_ ? held_at_ : now_ms;
  const double elapsed = std::floor(until - start_ - held_total_);
  if (elapsed <= 0) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(elapsed));
}

}  // namespace platform::web
