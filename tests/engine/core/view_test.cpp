// A frame's lock, unlock and presentation, and what each refusal of the display leads to.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "core_test.h"
#include "engine/core/vorn.h"
#include "support/headless_engine.h"

namespace {

using platform::headless::HeadlessPlatform;
using platform::headless::Op;
using platform::headless::PresentKind;

uint16_t Pattern(int x, int y) {
  return static_cast<uint16_t>(x * 7 + y * 3);
}

// Draws every visible pixel of a frame, through the row stride.
void DrawPattern() {
  ASSERT_TRUE(Vorn.ViewLock());
  for (int y = 0; y <= Vorn.clip_bottom; ++y) {
    for (int x = 0; x <= Vorn.clip_right; ++x) Vorn.view[y * Vorn.view_stride + x] = Pattern(x, y);
  }
  EXPECT_EQ(Vorn.ViewUnlock(), 1);
}

TEST(View, FramesAreCopiedToTheClientAreaOrFlipped) {
  struct {
    int fullscreen, pitch;
    PresentKind kind;
  } const cases[] = {{0, 0, PresentKind::kCopy}, {1, 1664, PresentKind::kFlip}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.fullscreen << ", pitch " << c.pitch);
    HeadlessPlatform& headless =
        StartHeadlessEngine({.fullscreen = c.fullscreen, .back_pitch = c.pitch});
    DrawPattern();
    EXPECT_EQ(Vorn.ViewUpdate(), 1);
    ASSERT_EQ(headless.PresentCount(), 1u);
    const platform::headless::Frame& frame = *headless.LastFrame();
    EXPECT_EQ(frame.kind, c.kind);
    ASSERT_EQ(std::pair(frame.width, frame.height), std::pair(800, 600));
    for (int y = 0; y < frame.height; y += 37) {
      for (int x = 0; x < frame.width; x += 13) ASSERT_EQ(frame.At(x, y), Pattern(x, y)) << x;
    }
    const int left = c.fullscreen == 1 ? 0 : Vorn.win_x, top = c.fullscreen == 1 ? 0 : Vorn.win_y;
    EXPECT_EQ(std::pair(frame.x, frame.y), std::pair(left, top));
    EXPECT_EQ(headless.ScreenPixel(left + 10, top + 20), Pattern(10, 20));
  }
}

TEST(View, ALostFullScreenChainIsRestoredSilently) {
  HeadlessPlatform& headless = StartHeadlessEngine({.fullscreen = 1});
  headless.LoseSurfaces();
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(std::pair(headless.Calls(Op::kRestore), Vorn.dd_back->IsLost()),
            std::pair(1, platform::OK));
  EXPECT_TRUE(headless.MessageBoxes().empty());
  DrawPattern();
  Vorn.ViewUpdate();
  EXPECT_EQ(headless.PresentCount(), 1u);
}

// A copy refused while the screen is busy shows nothing and says nothing; a lost one restores
// the surfaces, shows the lost-surface notice and skips the frame, and the next one is shown.
TEST(View, RefusedCopies) {
  for (const auto lost : {false, true}) {
    HeadlessPlatform& headless = StartHeadlessEngine();
    headless.Fail(Op::kBltFast,
                  lost ? platform::DDERR_SURFACELOST : platform::DDERR_WASSTILLDRAWING);
    EXPECT_EQ(Vorn.ViewUpdate(), lost ? 1 : 0);
    EXPECT_EQ(std::pair(headless.PresentCount(), headless.Calls(Op::kRestore)),
              std::pair(std::size_t{0}, lost ? 2 : 0));
    ASSERT_EQ(headless.MessageBoxes().size(), lost ? 1u : 0u);
    if (!lost) continue;
    const auto& box = headless.MessageBoxes()[0];
    EXPECT_EQ(std::tuple(box.owner, box.caption, box.text),
              std::tuple(Vorn.hwnd, "", "<WinDX::ViewUpdate> Error: Surface Lost"));
    EXPECT_EQ(Vorn.ViewUpdate(), 1);
    EXPECT_EQ(headless.PresentCount(), 1u);
  }
}

TEST(View, AFailedLockSetsTwentyAndReportsUnregistered) {
  HeadlessPlatform& headless = StartHeadlessEngine();
  const std::string log_after_start = ReadDebugLog();
  headless.Fail(Op::kLock, platform::DDERR_SURFACELOST);
  EXPECT_FALSE(Vorn.ViewLock());
  EXPECT_EQ(Vorn.status, STATUS_VIEWLOCK_FAILED);
  ExpectReported(headless, "Error: UNREGISTERED", "Unregistered error with Vorn. Please report.",
                 log_after_start);
  // The game goes on: the next lock works.
  EXPECT_TRUE(Vorn.ViewLock());
  Vorn.ViewUnlock();
}

TEST(View, WithoutSurfacesALockFailsAndTheRestDoesNothing) {
  HeadlessPlatform& headless = UseFreshHeadless();
  EXPECT_FALSE(Vorn.ViewLock());
  EXPECT_EQ(Vorn.status, STATUS_VIEWLOCK_FAILED);
  EXPECT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(Vorn.ViewUnlock() + Vorn.ViewUpdate(), 2);
}

}  // namespace
