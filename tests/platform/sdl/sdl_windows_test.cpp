#include "platform/sdl/sdl_windows.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "sdl_test_env.h"

namespace {

using platform::Message;
using platform::Window;
using platform::sdl::SdlWindows;

// The handler of these tests' windows. Like the engine's, it destroys a window on WM_CLOSE and
// posts the quit message on WM_DESTROY; it counts the destroys it sees.
struct HandlerState {
  SdlWindows* windows = nullptr;
  int destroys = 0;
};

HandlerState& State() {
  static HandlerState state;
  return state;
}

intptr_t Handler(Window window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  SdlWindows& windows = *State().windows;
  if (message == platform::WM_CLOSE) windows.DestroyWindow(window);
  if (message == platform::WM_DESTROY) {
    ++State().destroys;
    windows.PostQuitMessage(0);
  }
  return windows.DefWindowProc(window, message, wparam, lparam);
}

class SdlWindowsTest : public SdlDummyTest {
 protected:
  void SetUp() override {
    SdlDummyTest::SetUp();
    State() = HandlerState{};
    State().windows = &windows_;
    platform::WindowClass window_class;
    window_class.proc = Handler;
    window_class.class_name = "Vorn";
    ASSERT_NE(windows_.RegisterClass(window_class), 0);
    EXPECT_EQ(windows_.RegisterClass(window_class), 0);  // once only
    measuring_ =
        windows_.CreateWindow(0, "Vorn", "", platform::WS_SYSMENU, 0, 0, 800, 600, nullptr);
    main_ = windows_.CreateWindow(0, "Vorn", "", platform::WS_SYSMENU, 112, 84, 800, 600, nullptr);
    ASSERT_NE(measuring_, nullptr);
    ASSERT_NE(main_, nullptr);
    windows_.ShowWindow(main_, 1);
  }

  void Push(uint8_t window_event) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = window_event;
    event.window.windowID = SDL_GetWindowID(windows_.SdlWindow(main_));
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }

  // The engine's loop, up to and including the quit message.
  std::vector<uint32_t> RunLoop() {
    std::vector<uint32_t> taken;
    Message message;
    for (int guard = 0; guard < 100 && windows_.PeekMessage(&message); ++guard) {
      taken.push_back(message.message);
      if (message.message == platform::WM_QUIT) break;
      EXPECT_EQ(message.window, main_);  // never the measuring window
      windows_.TranslateMessage(message);
      windows_.DispatchMessage(message);
    }
    return taken;
  }

  SdlWindows windows_;
  Window measuring_ = nullptr;
  Window main_ = nullptr;
};

TEST_F(SdlWindowsTest, WindowsAreSizedByClientAreaUntitledAndOnlyTheMainOneShown) {
  EXPECT_EQ(windows_.DesktopDepth(), 16);
  int width = 0;
  int height = 0;
  windows_.GetClientSize(measuring_, &width, &height);
  // The engine makes the main window 2 × 800 − width wide: the client area must be the view.
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  int x = 0;
  int y = 0;
  windows_.ClientToScreen(main_, &x, &y);
  EXPECT_EQ(x, 112);
  EXPECT_EQ(y, 84);
  EXPECT_STREQ(SDL_GetWindowTitle(windows_.SdlWindow(main_)), "");
  EXPECT_NE(SDL_GetWindowFlags(windows_.SdlWindow(measuring_)) & SDL_WINDOW_HIDDEN, 0u);
  EXPECT_EQ(SDL_GetWindowFlags(windows_.SdlWindow(main_)) & SDL_WINDOW_HIDDEN, 0u);
}

TEST_F(SdlWindowsTest, TheCloseButtonDestroysTheWindowOnceAndEndsTheLoop) {
  Push(SDL_WINDOWEVENT_CLOSE);
  EXPECT_EQ(RunLoop(), (std::vector<uint32_t>{platform::WM_CLOSE, platform::WM_QUIT}));
  // The handler destroyed it; the default handling of the same close leaves it be.
  EXPECT_EQ(State().destroys, 1);
  EXPECT_EQ(windows_.SdlWindow(main_), nullptr);
  EXPECT_NE(windows_.SdlWindow(measuring_), nullptr);
  Message message;
  EXPECT_FALSE(windows_.PeekMessage(&message));
}

TEST_F(SdlWindowsTest, ControlKeysTypeTheirCharacterBeforeAnythingElse) {
  for (const uint8_t key : {platform::VK_RETURN, platform::VK_BACK, platform::VK_TAB,
                            platform::VK_ESCAPE, uint8_t{'A'}}) {
    Push(SDL_WINDOWEVENT_FOCUS_LOST);
    windows_.TranslateMessage(Message{main_, platform::WM_KEYDOWN, key, 1});
    Message next;
    ASSERT_TRUE(windows_.PeekMessage(&next));
    if (key != 'A') {
      EXPECT_EQ(next.message, platform::WM_CHAR);
      EXPECT_EQ(next.wparam, key);
      ASSERT_TRUE(windows_.PeekMessage(&next));
    }
    EXPECT_EQ(next.message, platform::WM_ACTIVATEAPP) << int{key};
    while (windows_.PeekMessage(&next)) {
    }
  }
}

TEST_F(SdlWindowsTest, ADestroyedWindowsPendingMessagesAreDropped) {
  Push(SDL_WINDOWEVENT_FOCUS_GAINED);
  Message message;
  ASSERT_TRUE(windows_.PeekMessage(&message));  // the activation; the focus message waits
  ASSERT_EQ(windows_.DestroyWindow(main_), 1);
  EXPECT_EQ(windows_.DestroyWindow(main_), 0);
  EXPECT_EQ(windows_.DispatchMessage(message), 0);
  EXPECT_EQ(State().destroys, 1);
  ASSERT_TRUE(windows_.PeekMessage(&message));
  EXPECT_EQ(message.message, platform::WM_QUIT);
}

struct BoxCase {
  const char* caption;
  const char* text;
  std::string printed;
};

void PrintTo(const BoxCase& box, std::ostream* out) {
  *out << "caption \"" << (box.caption != nullptr ? box.caption : "(null)") << "\"";
}

class MessageBoxFallbackTest : public SdlDummyTest, public testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxFallbackTest, WithoutADisplayTheBoxGoesToStandardError) {
  SdlWindows windows;
  testing::internal::CaptureStderr();
  EXPECT_EQ(windows.MessageBox(nullptr, GetParam().text, GetParam().caption, platform::MB_OK), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxFallbackTest,
    testing::Values(BoxCase{"Vorn", "Unable to start Vorn.\n\nError: X\n\nAdvice",
                            "Vorn: Unable to start Vorn.\n\nError: X\n\nAdvice\n"},
                    BoxCase{"", "<WinDX::ViewUpdate> Error: Surface Lost",
                            "<WinDX::ViewUpdate> Error: Surface Lost\n"},
                    BoxCase{"Vorn Error", nullptr, "Vorn Error: \n"}));

}  // namespace
