#include "platform/sdl/sdl_pacer.h"

#include <gtest/gtest.h>

namespace {

using platform::sdl::FramePacer;
using Duration = FramePacer::Duration;
using std::chrono::milliseconds;

// A clock that moves only when the pacer sleeps or a test says a frame worked.
struct FakeTime {
  Duration now{1'000'000'000};
  int sleeps = 0;

  FramePacer Pacer() {
    return FramePacer(
        FramePacer::kSixtyHertz, [this] { return now; },
        [this](Duration amount) {
          ++sleeps;
          now += amount;
        });
  }
};

TEST(FramePacerTest, SixtyFramesASecondWhateverTheWorkPerFrame) {
  for (const Duration work : {Duration{0}, Duration{milliseconds(10)}}) {
    FakeTime time;
    FramePacer pacer = time.Pacer();
    const Duration start = time.now;
    for (int frame = 0; frame <= 60; ++frame) {
      pacer.Wait();
      if (frame < 60) time.now += work;
    }
    // 61 frames span 60 periods: one second, give or take the rounding of the period.
    EXPECT_NEAR(static_cast<double>((time.now - start).count()), 1e9, 100.0);
  }
}

TEST(FramePacerTest, FramesSlowerThanTheBeatAreNeverHeldBack) {
  FakeTime time;
  FramePacer pacer = time.Pacer();
  for (int frame = 0; frame < 20; ++frame) {
    pacer.Wait();
    time.now += milliseconds(25);
  }
  EXPECT_EQ(time.sleeps, 0);
}

TEST(FramePacerTest, ALateFrameIsMadeUpButAStallStartsTheBeatAfresh) {
  FakeTime time;
  FramePacer pacer = time.Pacer();
  pacer.Wait();
  const Duration t0 = time.now;
  time.now += milliseconds(25);  // 8 ms late: the next frame keeps the original beat
  pacer.Wait();
  pacer.Wait();
  EXPECT_EQ(time.now, t0 + 2 * FramePacer::kSixtyHertz);

  time.now += milliseconds(500);  // a message box held the loop: no burst of frames after it
  pacer.Wait();
  const Duration after_stall = time.now;
  pacer.Wait();
  EXPECT_EQ(time.now, after_stall + FramePacer::kSixtyHertz);
}

}  // namespace
