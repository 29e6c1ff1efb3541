#include "platform/sdl/sdl_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::sdl::FramePacer;
using Duration = FramePacer::Duration;
using std::chrono::milliseconds;

constexpr Duration kPeriod = FramePacer::kSixtyHertz;

// A clock that only moves when the pacer sleeps or a frame "works".
struct FakeTime {
  Duration now{1'000'000'000};
  std::vector<Duration> sleeps;

  FramePacer Pacer() {
    return FramePacer(
        kPeriod, [this] { return now; },
        [this](Duration amount) {
          sleeps.push_back(amount);
          now += amount;
        });
  }
};

TEST(FramePacerTest, FramesWithoutWorkComeSixtyTimesASecond) {
  FakeTime time;
  FramePacer pacer = time.Pacer();
  const Duration start = time.now;
  for (int frame = 0; frame <= 60; ++frame) pacer.Wait();
  // 61 frames span 60 periods: exactly one second, give or take rounding of the period.
  EXPECT_NEAR(static_cast<double>((time.now - start).count()), 1e9, 100.0);
  EXPECT_EQ(time.sleeps.size(), 60u);
  EXPECT_EQ(pacer.Frames(), 61u);
}

TEST(FramePacerTest, WorkIsCountedIntoTheFrameNotAddedToIt) {
  FakeTime time;
  FramePacer pacer = time.Pacer();
  pacer.Wait();
  for (int frame = 0; frame < 10; ++frame) {
    time.now += milliseconds(10);
    pacer.Wait();
  }
  for (Duration sleep : time.sleeps) EXPECT_EQ(sleep, kPeriod - milliseconds(10));
}

TEST(FramePacerTest, FramesSlowerThanTheBeatAreNeverHeldBack) {
  FakeTime time;
  FramePacer pacer = time.Pacer();
  for (int frame = 0; frame < 20; ++frame) {
    pacer.Wait();
    time.now += milliseconds(25);
  }
  EXPECT_TRUE(time.sleeps.empty());
}

TEST(FramePacerTest, ASlightlyLateFrameIsMadeUpSoTheRateStaysExact) {
  FakeTime time;
  FramePacer pacer = time.Pacer();
  pacer.Wait();  // beat starts at t0
  const Duration t0 = time.now;
  time.now += milliseconds(25);  // second frame 8.3 ms late
  pacer.Wait();
  EXPECT_TRUE(time.sleeps.empty());
  pacer.Wait();  // third frame keeps the original beat: due at t0 + 2 periods
  EXPECT_EQ(time.now, t0 + 2 * kPeriod);
}

TEST(FramePacerTest, AStallDoesNotMakeTheFollowingFramesRush) {
  FakeTime time;
  FramePacer pacer = time.Pacer();
  pacer.Wait();
  time.now += milliseconds(500);  // a message box held the loop
  pacer.Wait();
  const Duration after_stall = time.now;
  pacer.Wait();
  EXPECT_EQ(time.now, after_stall + kPeriod);
}

}  // namespace
