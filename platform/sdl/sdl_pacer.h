// The beat of presentation: frames are shown no more often than 60 times a second.
//
// Movement in the game is per frame, so the frame rate is the game's speed. A display with a
// vertical blank at 60 Hz already keeps that beat (presenting waits for it, and the pacer then
// never has to wait); a display without one (a virtual X server, a driver that ignores the
// request) or with a faster refresh would run the game too fast, and there the pacer waits.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace platform::sdl {

class FramePacer {
 public:
  using Duration = std::chrono::nanoseconds;
  using Clock = std::function<Duration()>;             // monotonic time
  using Sleep = std::function<void(Duration amount)>;  // waits at least that long

  static constexpr Duration kSixtyHertz{16'666'667};

  // Paces with the steady clock and real sleeps.
  FramePacer();
  FramePacer(Duration period, Clock clock, Sleep sleep);

  // Waits until the next frame is due and books the one after it. The first frame goes at once.
  // Deadlines advance by whole periods, so the long-run rate is exact even though each sleep
  // overshoots a little; a frame that comes late by more than a whole period starts the beat
  // afresh instead of letting the following frames rush to catch up.
  void Wait();

  // Frames that went through Wait.
  uint64_t Frames() const { return frames_; }

 private:
  Duration period_;
  Clock clock_;
  Sleep sleep_;
  Duration next_{0};
  uint64_t frames_ = 0;
};

}  // namespace platform::sdl
