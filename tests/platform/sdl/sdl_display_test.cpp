// The desktop display on SDL's dummy driver: surfaces and copies, the full-screen chain, and the
// pacing of presentation. What the window shows is checked under a real X server (tests/e2e).
#include "platform/sdl/sdl_display.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <climits>

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

  // Draws into a surface through a lock, one value per pixel from its position.
  template <typename Fn>
  void Fill(Surface* surface, Fn colour) {
    SurfaceDesc desc;
    ASSERT_EQ(surface->Lock(&desc, DDLOCK_WAIT), OK);
    auto* pixels = static_cast<uint16_t*>(desc.surface);
    for (int y = 0; y < desc.height; ++y)
      for (int x = 0; x < desc.width; ++x) pixels[y * (desc.pitch / 2) + x] = colour(x, y);
    ASSERT_EQ(surface->Unlock(), OK);
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
  EXPECT_EQ((std::array{back.width, back.height}), (std::array{640, 480}));
  EXPECT_NE(back.caps & DDSCAPS_BACKBUFFER, 0u);
  Fill(back_, [](int, int) -> uint16_t { return 0x001F; });
  ASSERT_EQ(front_->Flip(DDFLIP_WAIT), OK);
  EXPECT_EQ(platform_.FramesPresented(), 1u);
  back_->Release();
  front_->Release();
  display_->Release();
  EXPECT_EQ(SDL_GetWindowFlags(platform_.windows().SdlWindow(window_)) & SDL_WINDOW_FULLSCREEN, 0u);
}

// A clock that moves only when the pacer sleeps or a test says a frame worked.
struct FakeTime {
  FramePacer::Duration now{1'000'000'000};
  int sleeps = 0;

  FramePacer Pacer() {
    return FramePacer(
        FramePacer::kSixtyHertz, [this] { return now; },
        [this](FramePacer::Duration amount) {
          ++sleeps;
          now += amount;
        });
  }
};

// Sixty frames a second whatever the work per frame; frames slower than the beat are never held.
TEST(FramePacer, KeepsSixtyFramesASecondAndNeverHoldsBackSlowFrames) {
  for (const int work_ms : {0, 10, 25}) {
    FakeTime time;
    FramePacer pacer = time.Pacer();
    const FramePacer::Duration start = time.now;
    for (int frame = 0; frame <= 60; ++frame) {
      pacer.Wait();
      if (frame < 60) time.now += std::chrono::milliseconds(work_ms);
    }
    // 61 frames span 60 periods, give or take the rounding of the period.
    const double period = work_ms > 16 ? work_ms * 1e6 : 1e9 / 60;
    EXPECT_NEAR(static_cast<double>((time.now - start).count()), 60 * period, 100.0) << work_ms;
    EXPECT_TRUE(work_ms <= 16 || time.sleeps == 0) << work_ms;
  }
}

// On a 120 or 144 Hz screen presenting also waits for the next vertical blank after the pacer's
// beat; the game must still run at sixty frames a second, not at the screen's rate nor slower.
TEST(FramePacer, HoldsSixtyOnScreensThatRefreshFaster) {
  for (const int hertz : {120, 144}) {
    FakeTime time;
    FramePacer pacer = time.Pacer();
    const int64_t blank = 1000000000 / hertz;
    const FramePacer::Duration start = time.now;
    for (int frame = 0; frame <= 600; ++frame) {
      pacer.Wait();
      time.now = FramePacer::Duration{(time.now.count() + blank - 1) / blank * blank};
    }
    EXPECT_NEAR(static_cast<double>((time.now - start).count()), 10e9, 2e9 / hertz) << hertz;
  }
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
