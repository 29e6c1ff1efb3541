// A frame's lock, unlock and presentation, and the release of the display at the end.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/vorn.h"
#include "log_file.h"
#include "support/headless_engine.h"

namespace {

using platform::headless::HeadlessPlatform;
using platform::headless::Op;
using platform::headless::PresentKind;

// Draws a frame: every visible pixel gets a value from its position.
void DrawPattern() {
  ASSERT_TRUE(Vorn.ViewLock());
  for (int y = 0; y <= Vorn.clip_bottom; ++y) {
    for (int x = 0; x <= Vorn.clip_right; ++x) {
      Vorn.view[y * Vorn.view_stride + x] = static_cast<uint16_t>(x * 7 + y * 3);
    }
  }
  EXPECT_EQ(Vorn.ViewUnlock(), 1);
}

void ExpectPattern(const platform::headless::Frame& frame) {
  ASSERT_EQ(frame.width, Vorn.clip_right + 1);
  ASSERT_EQ(frame.height, Vorn.clip_bottom + 1);
  for (int y = 0; y < frame.height; y += 37) {
    for (int x = 0; x < frame.width; x += 13) {
      ASSERT_EQ(frame.At(x, y), static_cast<uint16_t>(x * 7 + y * 3)) << x << "," << y;
    }
  }
}

TEST(View, WindowedFrameIsCopiedToTheClientArea) {
  HeadlessPlatform& headless = StartHeadlessEngine();
  DrawPattern();
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  ASSERT_EQ(headless.PresentCount(), 1u);
  const auto& frame = *headless.LastFrame();
  EXPECT_EQ(frame.kind, PresentKind::kCopy);
  EXPECT_EQ(frame.x, Vorn.win_x);
  EXPECT_EQ(frame.y, Vorn.win_y);
  ExpectPattern(frame);
  EXPECT_EQ(headless.ScreenPixel(Vorn.win_x + 10, Vorn.win_y + 20), 10 * 7 + 20 * 3);
}

TEST(View, WidePitchRowsAreFollowedByTheStride) {
  HeadlessEngineOptions options;
  options.back_pitch = 1664;
  HeadlessPlatform& headless = StartHeadlessEngine(options);
  DrawPattern();
  Vorn.ViewUpdate();
  ExpectPattern(*headless.LastFrame());
}

TEST(View, FullscreenFramesFlip) {
  HeadlessEngineOptions options;
  options.fullscreen = 1;
  HeadlessPlatform& headless = StartHeadlessEngine(options);
  DrawPattern();
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  ASSERT_NE(headless.LastFrame(), nullptr);
  EXPECT_EQ(headless.LastFrame()->kind, PresentKind::kFlip);
  ExpectPattern(*headless.LastFrame());
}

TEST(View, FullscreenLostChainIsRestoredSilently) {
  HeadlessEngineOptions options;
  options.fullscreen = 1;
  HeadlessPlatform& headless = StartHeadlessEngine(options);
  headless.LoseSurfaces();
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(headless.Calls(Op::kRestore), 1);
  EXPECT_TRUE(headless.MessageBoxes().empty());
  EXPECT_EQ(Vorn.dd_front->IsLost(), platform::OK);
  EXPECT_EQ(Vorn.dd_back->IsLost(), platform::OK);
  DrawPattern();
  Vorn.ViewUpdate();
  EXPECT_EQ(headless.PresentCount(), 1u);
}

TEST(View, NothingIsShownWhileAnotherWindowIsInFront) {
  HeadlessPlatform& headless = StartHeadlessEngine();
  headless.SetForegroundWindow(nullptr);
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(headless.PresentCount(), 0u);
  headless.SetForegroundWindow(Vorn.hwnd);
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(headless.PresentCount(), 1u);
}

// What a refused copy returns, and whether it shows the lost-surface notice.
struct CopyRefusal {
  const char* name;
  platform::Result copy;
  Op restore_fault_op;  // a restore told to fail, or kCount for none
  int restore_skip;
  int expected;
  bool notice;
};

void PrintTo(const CopyRefusal& c, std::ostream* out) {
  *out << c.name;
}

class RefusedCopy : public testing::TestWithParam<CopyRefusal> {};

TEST_P(RefusedCopy, ReturnsAndNotifies) {
  const CopyRefusal& c = GetParam();
  HeadlessPlatform& headless = StartHeadlessEngine();
  headless.Fail(Op::kBltFast, c.copy);
  if (c.restore_fault_op != Op::kCount) {
    headless.Fail(c.restore_fault_op, platform::DDERR_GENERIC, 1, c.restore_skip);
  }
  EXPECT_EQ(Vorn.ViewUpdate(), c.expected);
  EXPECT_EQ(headless.PresentCount(), 0u);
  if (!c.notice) {
    EXPECT_TRUE(headless.MessageBoxes().empty());
    EXPECT_EQ(headless.Calls(Op::kRestore), 0);
    return;
  }
  ASSERT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless.MessageBoxes()[0].owner, Vorn.hwnd);
  EXPECT_EQ(headless.MessageBoxes()[0].caption, "");
  EXPECT_EQ(headless.MessageBoxes()[0].text, "<WinDX::ViewUpdate> Error: Surface Lost");
  // The frame is not shown again; the next one is.
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(headless.PresentCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Results, RefusedCopy,
    testing::Values(
        CopyRefusal{"StillDrawing", platform::DDERR_WASSTILLDRAWING, Op::kCount, 0, 0, false},
        CopyRefusal{"OtherFailure", platform::DDERR_GENERIC, Op::kCount, 0, 1, false},
        CopyRefusal{"LostAndRestored", platform::DDERR_SURFACELOST, Op::kCount, 0, 1, true},
        CopyRefusal{"LostFrontNotRestored", platform::DDERR_SURFACELOST, Op::kRestore, 0, 0, true},
        CopyRefusal{"LostBackNotRestored", platform::DDERR_SURFACELOST, Op::kRestore, 1, 0, true}),
    [](const testing::TestParamInfo<CopyRefusal>& param_info) { return param_info.param.name; });

TEST(View, LostSurfacesRestoreBothAndShowTheNoticeOncePerCopy) {
  HeadlessPlatform& headless = StartHeadlessEngine();
  headless.LoseSurfaces();
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(Vorn.dd_front->IsLost(), platform::OK);
  EXPECT_EQ(Vorn.dd_back->IsLost(), platform::OK);
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless.PresentCount(), 1u);
}

TEST(View, FailedLockSetsTwentyAndReportsUnregistered) {
  HeadlessPlatform& headless = StartHeadlessEngine();
  const std::string log_after_start = ReadDebugLog();
  headless.Fail(Op::kLock, platform::DDERR_SURFACELOST);
  EXPECT_FALSE(Vorn.ViewLock());
  EXPECT_EQ(Vorn.status, STATUS_VIEWLOCK_FAILED);
  ASSERT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless.MessageBoxes()[0].caption, "Vorn");
  EXPECT_EQ(headless.MessageBoxes()[0].text,
            "Unable to start Vorn.\n\nError: UNREGISTERED\n\nUnregistered error with Vorn. Please "
            "report.");
  EXPECT_EQ(ReadDebugLog(), log_after_start + "Vorn Error: UNREGISTERED\n  ");
  // The game goes on: the next lock works.
  EXPECT_TRUE(Vorn.ViewLock());
  Vorn.ViewUnlock();
}

TEST(View, LockWithoutSurfacesFailsLikeARefusedLock) {
  HeadlessPlatform& headless = UseFreshHeadless();
  EXPECT_FALSE(Vorn.ViewLock());
  EXPECT_EQ(Vorn.status, STATUS_VIEWLOCK_FAILED);
  EXPECT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(Vorn.ViewUnlock(), 1);
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
}

TEST(View, CleanUpReleasesEachObjectOnce) {
  HeadlessPlatform& headless = StartHeadlessEngine();
  EXPECT_EQ(headless.LiveSurfaces(), 2);
  Vorn.CleanUp();
  EXPECT_EQ(headless.LiveSurfaces(), 0);
  EXPECT_TRUE(headless.DisplayReleased());
  Vorn.CleanUp();
  EXPECT_EQ(headless.ReleaseErrors(), 0);
  // The sound object is not part of the display.
  EXPECT_FALSE(headless.SoundReleased());
  EXPECT_NE(Vorn.ds, nullptr);
}

TEST(View, SecondSurfaceCreationReplacesTheFirstPair) {
  HeadlessPlatform& headless = StartHeadlessEngine();
  EXPECT_TRUE(Vorn.CreateSurface());
  EXPECT_EQ(headless.LiveSurfaces(), 2);
  EXPECT_EQ(headless.ReleaseErrors(), 0);
}

}  // namespace
