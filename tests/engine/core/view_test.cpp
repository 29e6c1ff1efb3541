// A frame's lock, unlock and presentation, and what each refusal of the display leads to.
#include <gtest/gtest.h>

#include <string>

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
    ASSERT_EQ(frame.width, 800);
    ASSERT_EQ(frame.height, 600);
    for (int y = 0; y < frame.height; y += 37) {
      for (int x = 0; x < frame.width; x += 13) ASSERT_EQ(frame.At(x, y), Pattern(x, y)) << x;
    }
    const int left = c.fullscreen == 1 ? 0 : Vorn.win_x;
    const int top = c.fullscreen == 1 ? 0 : Vorn.win_y;
    EXPECT_EQ(frame.x, left);
    EXPECT_EQ(frame.y, top);
    EXPECT_EQ(headless.ScreenPixel(left + 10, top + 20), Pattern(10, 20));
  }
}

TEST(View, ALostFullScreenChainIsRestoredSilently) {
  HeadlessPlatform& headless = StartHeadlessEngine({.fullscreen = 1});
  headless.LoseSurfaces();
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(headless.Calls(Op::kRestore), 1);
  EXPECT_TRUE(headless.MessageBoxes().empty());
  EXPECT_EQ(Vorn.dd_back->IsLost(), platform::OK);
  DrawPattern();
  Vorn.ViewUpdate();
  EXPECT_EQ(headless.PresentCount(), 1u);
}

// A refused windowed copy: what ViewUpdate returns, and whether the lost-surface notice shows.
TEST(View, RefusedCopies) {
  struct {
    platform::Result copy;
    int restore_skip;  // restores that work before one fails; -1: none fails
    int expected;
    int restores;  // tried; the notice shows when there are any
  } const cases[] = {
      {platform::DDERR_WASSTILLDRAWING, -1, 0, 0},
      {platform::DDERR_SURFACELOST, -1, 1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.copy << ", restore skip " << c.restore_skip);
    HeadlessPlatform& headless = StartHeadlessEngine();
    headless.Fail(Op::kBltFast, c.copy);
    if (c.restore_skip >= 0)
      headless.Fail(Op::kRestore, platform::DDERR_GENERIC, 1, c.restore_skip);
    EXPECT_EQ(Vorn.ViewUpdate(), c.expected);
    EXPECT_EQ(headless.PresentCount(), 0u);
    EXPECT_EQ(headless.Calls(Op::kRestore), c.restores);
    if (c.restores == 0) {
      EXPECT_TRUE(headless.MessageBoxes().empty());
      continue;
    }
    ASSERT_EQ(headless.MessageBoxes().size(), 1u);
    EXPECT_EQ(headless.MessageBoxes()[0].owner, Vorn.hwnd);
    EXPECT_EQ(headless.MessageBoxes()[0].caption, "");
    EXPECT_EQ(headless.MessageBoxes()[0].text, "<WinDX::ViewUpdate> Error: Surface Lost");
    // The frame is not shown again; the next one is.
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
  EXPECT_EQ(Vorn.ViewUnlock(), 1);
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
}

}  // namespace
