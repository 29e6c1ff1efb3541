// The web page's sense of time: steps at a steady 60 a second whatever the display's refresh
// rate, and a clock that stands still while the page cannot be seen.
//
// The browser calls back once per display frame, at 60, 120 or 144 Hz or slower under load.
// The game moves per step, so steps follow the wall clock, not the display.
#pragma once

#include <cstdint>

namespace platform::web {

class StepBeat {
 public:
  static constexpr double kSixtyHertzMs = 1000.0 / 60.0;
  // Steps owed beyond this are dropped: after a stall the game slows down rather than jumping
  // ahead through frames nobody saw.
  static constexpr int kMaxSteps = 4;

  explicit StepBeat(double period_ms = kSixtyHertzMs) : period_(period_ms) {}

  // The steps due at `now_ms` (a display frame's time stamp), 0 to kMaxSteps. Deadlines move by
  // whole periods, so the long-run rate is exact; a frame a little early (a quarter period)
  // still counts, so that a 60 Hz display with jittery time stamps gives one step every frame.
  int Due(double now_ms);

  // The next frame starts the beat afresh (after the page was hidden, for one).
  void Restart() { started_ = false; }

 private:
  double period_;
  double next_ = 0;
  bool started_ = false;
};

// Milliseconds that do not advance while held. It starts at 0, held or not.
class HeldClock {
 public:
  explicit HeldClock(double now_ms, bool held) : start_(now_ms), held_(held), held_at_(now_ms) {}

  void Hold(double now_ms);
  void Release(double now_ms);
  bool held() const { return held_; }
  // Wraps at 2^32, like every clock of the platform layer.
  uint32_t Read(double now_ms) const;

 private:
  double start_;
  double held_total_ = 0;
  bool held_;
  double held_at_;
};

}  // namespace platform::web
