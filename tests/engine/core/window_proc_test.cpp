// The window handler: keys, typed characters, pointer, window position, focus and activation.
#include "engine/core/window_proc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/core/vorn.h"
#include "log_file.h"
#include "support/headless_engine.h"

namespace {

using platform::headless::HeadlessPlatform;

class WindowProcTest : public testing::Test {
 protected:
  intptr_t Send(uint32_t message, uintptr_t wparam = 0, intptr_t lparam = 0) {
    return WindowProc(Vorn.hwnd, message, wparam, lparam);
  }
  long KeysDown() const { return std::count(std::begin(Vorn.keys), std::end(Vorn.keys), 1); }

  HeadlessPlatform& headless_ = StartHeadlessEngine();
};

TEST_F(WindowProcTest, EveryKeyCodeSetsAndClearsOnlyItsOwnFlag) {
  for (int code = 0; code < 256; ++code) {
    Send(platform::WM_KEYDOWN, static_cast<uintptr_t>(code));
    ASSERT_EQ(Vorn.keys[code], 1) << code;
    ASSERT_EQ(KeysDown(), 1) << code;
    Send(platform::WM_KEYUP, static_cast<uintptr_t>(code));
    ASSERT_EQ(KeysDown(), 0) << code;
  }
}

TEST_F(WindowProcTest, KeyCodeIsTheLowByteOfTheWordArgument) {
  Send(platform::WM_KEYDOWN, 0x1BA);
  EXPECT_EQ(Vorn.keys[0xBA], 1);
  EXPECT_EQ(KeysDown(), 1);
  Send(platform::WM_KEYDOWN, 0xBA);  // auto-repeat sets it again
  EXPECT_EQ(KeysDown(), 1);
  Send(platform::WM_KILLFOCUS);  // focus loss does not release keys
  EXPECT_EQ(Vorn.keys[0xBA], 1);
}

TEST_F(WindowProcTest, TheThousandAndFirstCharacterIsDroppedAndLogged) {
  const std::string log_after_start = ReadDebugLog();
  for (int i = 0; i < 1000; ++i) Send(platform::WM_CHAR, static_cast<uintptr_t>(0x100 + i));
  EXPECT_EQ(Vorn.char_count, 1000);
  EXPECT_EQ(Vorn.char_buf[0], 0x00);
  EXPECT_EQ(Vorn.char_buf[999], static_cast<uint8_t>((0x100 + 999) & 0xFF));
  EXPECT_EQ(ReadDebugLog(), log_after_start);

  uint8_t before[1000];
  std::copy(std::begin(Vorn.char_buf), std::end(Vorn.char_buf), before);
  Send(platform::WM_CHAR, 'x');
  Send(platform::WM_CHAR, 'y');
  EXPECT_EQ(Vorn.char_count, 1000);
  EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(Vorn.char_buf)));
  EXPECT_EQ(ReadDebugLog(), log_after_start + "WinDX: Keyboard buffer overflow.\n  " +
                                "WinDX: Keyboard buffer overflow.\n  ");
}

TEST_F(WindowProcTest, PointerMovesKeepThePreviousPosition) {
  Send(platform::WM_MOUSEMOVE, 0, platform::MakeLParam(10, 20));
  Send(platform::WM_MOUSEMOVE, 0, platform::MakeLParam(30, 40));
  EXPECT_EQ(Vorn.mouse_prev_x, 10);
  EXPECT_EQ(Vorn.mouse_prev_y, 20);
  EXPECT_EQ(Vorn.mouse_x, 30);
  EXPECT_EQ(Vorn.mouse_y, 40);
  EXPECT_EQ(Vorn.mouse_moved, 1);
}

TEST_F(WindowProcTest, ButtonsAndReleases) {
  struct {
    uint32_t message;
    int down;
    int button;
  } const steps[] = {
      {platform::WM_LBUTTONDOWN, 1, 1},   {platform::WM_RBUTTONDOWN, 1, 2},
      {platform::WM_RBUTTONUP, 0, 0},  // left still held, yet the press is over
      {platform::WM_MBUTTONDOWN, 1, 16},  {platform::WM_LBUTTONUP, 0, 0},
      {platform::WM_LBUTTONDBLCLK, 0, 0},  // not handled
      {platform::WM_RBUTTONDOWN, 1, 2},   {platform::WM_MBUTTONUP, 0, 0},
  };
  for (const auto& step : steps) {
    Send(step.message);
    EXPECT_EQ(Vorn.mouse_down, step.down) << std::hex << step.message;
    EXPECT_EQ(Vorn.mouse_button, step.button) << std::hex << step.message;
  }
  EXPECT_EQ(Vorn.mouse_moved, 0);
}

TEST_F(WindowProcTest, MoveSetsTheClientPositionUsedForCopies) {
  Send(platform::WM_MOVE, 0, platform::MakeLParam(120, 45));
  EXPECT_EQ(Vorn.win_x, 120);
  EXPECT_EQ(Vorn.win_y, 45);
  Vorn.ViewUpdate();
  ASSERT_NE(headless_.LastFrame(), nullptr);
  EXPECT_EQ(headless_.LastFrame()->x, 120);
  EXPECT_EQ(headless_.LastFrame()->y, 45);
}

TEST_F(WindowProcTest, FocusPresentsOnlyWhileRunning) {
  Send(platform::WM_KILLFOCUS);
  EXPECT_EQ(Vorn.active, 0);
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(headless_.PresentCount(), 0u);

  Send(platform::WM_SETFOCUS);
  EXPECT_EQ(Vorn.active, 1);
  EXPECT_EQ(headless_.PresentCount(), 1u);  // shown again at once

  Send(platform::WM_KILLFOCUS);
  Vorn.status = STATUS_VIEWLOCK_FAILED;
  Send(platform::WM_SETFOCUS);
  EXPECT_EQ(Vorn.active, 0);
  EXPECT_EQ(headless_.PresentCount(), 1u);
}

TEST_F(WindowProcTest, DeactivationStopsPresentationUntilActivated) {
  Send(platform::WM_ACTIVATEAPP, 0);
  EXPECT_EQ(Vorn.active, 0);
  Vorn.ViewUpdate();
  EXPECT_EQ(headless_.PresentCount(), 0u);
  // Activation works even after an error has replaced the running status.
  Vorn.status = 25;
  Send(platform::WM_ACTIVATEAPP, 1);
  EXPECT_EQ(Vorn.active, 1);
  Vorn.ViewUpdate();
  EXPECT_EQ(headless_.PresentCount(), 1u);
}

TEST_F(WindowProcTest, CloseDestroysTheWindowAndQueuesTheQuit) {
  Send(platform::WM_CLOSE);
  EXPECT_TRUE(headless_.FindWindow(Vorn.hwnd)->destroyed);
  platform::Message message;
  ASSERT_TRUE(headless_.Windows().PeekMessage(&message));
  EXPECT_EQ(message.message, platform::WM_QUIT);
  EXPECT_EQ(message.wparam, 0u);
}

TEST_F(WindowProcTest, UnhandledMessagesChangeNothing) {
  const int active = Vorn.active;
  for (uint32_t message : {0x0001u, 0x0005u, 0x000Fu, 0x0203u, 0x0206u, 0x0209u, 0x0400u}) {
    EXPECT_EQ(Send(message, 0xFFFF, platform::MakeLParam(7, 9)), 0);
  }
  EXPECT_EQ(Vorn.active, active);
  EXPECT_EQ(KeysDown(), 0);
  EXPECT_EQ(Vorn.char_count, 0);
  EXPECT_EQ(Vorn.mouse_x, 0);
  EXPECT_EQ(Vorn.mouse_down, 0);
}

}  // namespace
