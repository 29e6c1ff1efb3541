// The desktop window system on SDL's dummy driver: the close, translation, dropped messages of a
// destroyed window, and message boxes without a display. Sizes, placement and the title are
// checked under a real X server (tests/e2e).
#include "platform/sdl/sdl_windows.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "sdl_test_env.h"

namespace {

using namespace platform;
using sdl::SdlWindows;

// The handler of these tests' windows. Like the engine's, it destroys a window on WM_CLOSE and
// posts the quit message on WM_DESTROY; it counts the destroys it sees.
SdlWindows* handled = nullptr;
int destroys = 0;

intptr_t Handler(Window window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  if (message == WM_CLOSE) handled->DestroyWindow(window);
  if (message == WM_DESTROY) ++destroys, handled->PostQuitMessage(0);
  return handled->DefWindowProc(window, message, wparam, lparam);
}

class SdlWindowsTest : public SdlDummyTest {
 protected:
  void SetUp() override {
    SdlDummyTest::SetUp();
    handled = &windows_;
    destroys = 0;
    WindowClass window_class;
    window_class.proc = Handler;
    window_class.class_name = "Vorn";
    ASSERT_NE(windows_.RegisterClass(window_class), 0);
    EXPECT_EQ(windows_.RegisterClass(window_class), 0);  // once only
    measuring_ = windows_.CreateWindow(0, "Vorn", "", WS_SYSMENU, 0, 0, 800, 600, nullptr);
    main_ = windows_.CreateWindow(0, "Vorn", "", WS_SYSMENU, 112, 84, 800, 600, nullptr);
    ASSERT_TRUE(measuring_ != nullptr && main_ != nullptr);
    windows_.ShowWindow(main_, 1);
    // The window that measures the frame is never seen.
    EXPECT_NE(SDL_GetWindowFlags(windows_.SdlWindow(measuring_)) & SDL_WINDOW_HIDDEN, 0u);
  }

  void Push(uint8_t window_event) {
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT, event.window.event = window_event;
    event.window.windowID = SDL_GetWindowID(windows_.SdlWindow(main_));
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }

  SdlWindows windows_;
  Window measuring_ = nullptr;
  Window main_ = nullptr;
};

TEST_F(SdlWindowsTest, TheCloseButtonDestroysTheWindowOnceAndEndsTheLoop) {
  Push(SDL_WINDOWEVENT_CLOSE);
  // The engine's loop, up to and including the quit message.
  std::vector<uint32_t> taken;
  Message message;
  for (int guard = 0; guard < 100 && windows_.PeekMessage(&message); ++guard) {
    taken.push_back(message.message);
    if (message.message == WM_QUIT) break;
    EXPECT_EQ(message.window, main_);  // never the measuring window
    windows_.TranslateMessage(message);
    windows_.DispatchMessage(message);
  }
  EXPECT_EQ(taken, (std::vector<uint32_t>{WM_CLOSE, WM_QUIT}));
  // The handler destroyed it; the default handling of the same close leaves it be.
  EXPECT_EQ(
      std::tuple(destroys, windows_.SdlWindow(main_), windows_.SdlWindow(measuring_) != nullptr),
      std::tuple(1, nullptr, true));
  EXPECT_FALSE(windows_.PeekMessage(&message));
}

TEST_F(SdlWindowsTest, ADestroyedWindowsPendingMessagesAreDropped) {
  Push(SDL_WINDOWEVENT_FOCUS_GAINED);
  Message message;
  ASSERT_TRUE(windows_.PeekMessage(&message));  // the activation; the focus message waits
  ASSERT_EQ(windows_.DestroyWindow(main_), 1);
  EXPECT_EQ(windows_.DestroyWindow(main_), 0);
  EXPECT_EQ(windows_.DispatchMessage(message), 0);
  EXPECT_EQ(destroys, 1);
  ASSERT_TRUE(windows_.PeekMessage(&message));
  EXPECT_EQ(message.message, WM_QUIT);
}

// The start-up report's box is checked end to end without a display (tests/e2e); a box without
// text must not take the program down.
TEST_F(SdlWindowsTest, WithoutADisplayABoxWithoutTextGoesToStandardError) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(windows_.MessageBox(nullptr, nullptr, "Vorn Error", MB_OK), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Vorn Error: \n");
}

}  // namespace
