// The desktop display on SDL's dummy driver: the full-screen chain, the pacing of presentation,
// and a window closed under its screen. What the window shows is checked under a real X server
// (tests/e2e).
#include "platform/sdl/sdl_display.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include "platform/sdl/sdl_platform.h"
#include "sdl_test_env.h"

namespace {

using namespace platform;
using sdl::FramePacer;
using sdl::SdlDisplay;

// A request for the screen (with a flip chain or not), or for a memory surface of a size.
SurfaceDesc Request(int width = 0, int height = 0, bool chain = false) {
  SurfaceDesc desc;
  desc.flags = DDSD_CAPS | (width != 0 ? DDSD_WIDTH | DDSD_HEIGHT : 0u) |
               (chain ? DDSD_BACKBUFFERCOUNT : 0u);
  desc.caps = width != 0 ? DDSCAPS_OFFSCREENPLAIN
                         : DDSCAPS_PRIMARYSURFACE | (chain ? DDSCAPS_FLIP | DDSCAPS_COMPLEX : 0u);
  desc.width = width, desc.height = height, desc.back_buffer_count = chain ? 1 : 0;
  return desc;
}

class SdlDisplayTest : public SdlDummyTest {
 protected:
  void SetUp() override {
    SdlDummyTest::SetUp();
    WindowClass window_class;
    window_class.proc = [](Window, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
    window_class.class_name = "Vorn";
    ASSERT_NE(platform_.windows().RegisterClass(window_class), 0);
    window_ =
        platform_.windows().CreateWindow(0, "Vorn", "", WS_SYSMENU, 112, 84, 800, 600, nullptr);
    ASSERT_NE(window_, nullptr);
    platform_.windows().ShowWindow(window_, 1);
    Display* display = nullptr;
    ASSERT_EQ(platform_.CreateDisplay(&display), OK);
    display_ = static_cast<SdlDisplay*>(display);
  }

  // The windowed pair the engine makes: the screen and an 800 x 600 back buffer.
  void MakeWindowedPair(SdlDisplay* display) {
    ASSERT_EQ(display->SetCooperativeLevel(window_, DDSCL_NORMAL), OK);
    ASSERT_EQ(display->CreateSurface(Request(), &front_), OK);
    ASSERT_EQ(display->CreateSurface(Request(800, 600), &back_), OK);
  }

  sdl::SdlPlatform platform_;
  Window window_ = nullptr;
  SdlDisplay* display_ = nullptr;
  Surface* front_ = nullptr;
  Surface* back_ = nullptr;
};

TEST_F(SdlDisplayTest, FullScreenChainFlipsItsBackBufferAndLeavesFullScreenOnRelease) {
  ASSERT_EQ(display_->SetCooperativeLevel(window_, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), OK);
  ASSERT_EQ(display_->SetDisplayMode(640, 480, 16), OK);
  ASSERT_EQ(display_->CreateSurface(Request(0, 0, true), &front_), OK);
  ASSERT_EQ(front_->GetAttachedSurface(DDSCAPS_BACKBUFFER, &back_), OK);
  SurfaceDesc back;
  ASSERT_EQ(back_->GetSurfaceDesc(&back), OK);
  EXPECT_EQ((std::array{back.width, back.height, int{(back.caps & DDSCAPS_BACKBUFFER) != 0}}),
            (std::array{640, 480, 1}));
  ASSERT_EQ(front_->Flip(DDFLIP_WAIT), OK);
  EXPECT_EQ(platform_.FramesPresented(), 1u);
  back_->Release();
  front_->Release();
  display_->Release();
  EXPECT_EQ(SDL_GetWindowFlags(platform_.windows().SdlWindow(window_)) & SDL_WINDOW_FULLSCREEN, 0u);
}

// Sixty frames a second whatever the work per frame, and frames slower than the beat are never
// held. On a 120 or 144 Hz screen presenting also waits for the next vertical blank after the
// beat; the game must still run at sixty, not at the screen's rate nor slower.
TEST(FramePacer, KeepsSixtyFramesASecondOnAnyScreenAndNeverHoldsBackSlowFrames) {
  // Work per frame in ms, the screen's rate (0: presenting does not wait) and the seconds 600
  // frames take, on a clock that moves only when the pacer sleeps or a frame works.
  const int cases[][3] = {{0, 0, 10}, {10, 0, 10}, {25, 0, 15}, {0, 120, 10}, {0, 144, 10}};
  for (const auto [work_ms, hertz, seconds] : cases) {
    SCOPED_TRACE(testing::Message() << work_ms << " ms, " << hertz << " Hz");
    const FramePacer::Duration start{1'000'000'000};
    FramePacer::Duration now = start;
    int sleeps = 0;
    FramePacer pacer(
        FramePacer::kSixtyHertz, [&] { return now; },
        [&](FramePacer::Duration amount) { ++sleeps, now += amount; });
    const int64_t blank = hertz == 0 ? 1 : 1000000000 / hertz;
    for (int frame = 0; frame <= 600; ++frame) {
      pacer.Wait();
      if (frame < 600) now += std::chrono::milliseconds(work_ms);
      now = FramePacer::Duration{(now.count() + blank - 1) / blank * blank};
    }
    EXPECT_NEAR(static_cast<double>((now - start).count()) / 1e9, seconds,
                hertz == 0 ? 1e-6 : 2.0 / hertz);
    EXPECT_TRUE(work_ms <= 16 || sleeps == 0);
  }
}

TEST(FramePacer, AFrameLateByManyPeriodsStartsTheBeatAfreshInsteadOfRushing) {
  FramePacer::Duration now{0};
  FramePacer pacer(
      FramePacer::kSixtyHertz, [&] { return now; }, [&](FramePacer::Duration d) { now += d; });
  pacer.Wait();
  now += std::chrono::milliseconds(100);  // one frame took six periods
  pacer.Wait();
  const FramePacer::Duration late = now;
  for (int i = 0; i < 6; ++i) pacer.Wait();
  EXPECT_EQ(now - late, 6 * FramePacer::kSixtyHertz);
}

TEST_F(SdlDisplayTest, FramesDrawnButNotShownAreStillPaced) {
  // A pacer that never really sleeps; its frame count says how often a frame waited its turn.
  SdlDisplay display(platform_.windows(),
                     FramePacer(
                         FramePacer::kSixtyHertz, [] { return FramePacer::Duration{0}; },
                         [](FramePacer::Duration) {}));
  MakeWindowedPair(&display);
  auto frame = [&](bool shown) {
    SurfaceDesc desc;
    ASSERT_EQ(back_->Lock(&desc, DDLOCK_WAIT), OK);
    ASSERT_EQ(back_->Unlock(), OK);
    ASSERT_EQ(shown ? front_->BltFast(0, 0, back_, DDBLTFAST_WAIT) : OK, OK);
  };
  for (int i = 0; i < 3; ++i) frame(true);
  EXPECT_EQ(display.pacer().Frames(), 3u);  // one beat per shown frame, none extra on the lock
  for (int i = 0; i < 3; ++i) frame(false);
  // The lock after a shown frame goes at once; each lock after an unshown frame waits.
  EXPECT_EQ(display.pacer().Frames(), 5u);
}

TEST_F(SdlDisplayTest, AWindowDestroyedUnderItsScreenStaysUntilTheScreenIsReleased) {
  MakeWindowedPair(display_);
  const uint32_t id = SDL_GetWindowID(platform_.windows().SdlWindow(window_));
  ASSERT_EQ(platform_.windows().DestroyWindow(window_), 1);
  // The engine may present once more between the close and its clean-up; it must land safely.
  EXPECT_NE(SDL_GetWindowFromID(id), nullptr);
  EXPECT_EQ(front_->BltFast(0, 0, back_, DDBLTFAST_WAIT), OK);
  back_->Release();
  front_->Release();
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);
}

}  // namespace
