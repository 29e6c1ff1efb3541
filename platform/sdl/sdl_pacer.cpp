#include "platform/sdl/sdl_pacer.h"

#include <thread>
#include <utility>

namespace platform::sdl {

FramePacer::FramePacer()
    : FramePacer(
          kSixtyHertz,
          [] {
            return std::chrono::duration_cast<Duration>(
                std::chrono::steady_clock::now().time_since_epoch());
          },
          [](Duration amount) { std::this_thread::sleep_for(amount); }) {}

FramePacer::FramePacer(Duration period, Clock clock, Sleep sleep)
    : period_(period), clock_(std::move(clock)), sleep_(std::move(sleep)) {}

void FramePacer::Wait() {
  const Duration now = clock_();
  if (frames_ == 0) {
    next_ = now + period_;
  } else if (now < next_) {
    sleep_(next_ - now);
    next_ += period_;
  } else if (now - next_ > period_) {
    next_ = now + period_;
  } else {
    next_ += period_;
  }
  ++frames_;
}

}  // namespace platform::sdl
