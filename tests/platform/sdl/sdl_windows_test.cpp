#include "platform/sdl/sdl_windows.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <string>
#include <vector>

#include "platform/sdl/sdl_message_box.h"
#include "sdl_test_env.h"

namespace {

using platform::Message;
using platform::Window;
using platform::sdl::SdlWindows;

// The handler the windows of these tests share. Like the engine's, it destroys a window on
// WM_CLOSE and posts the quit message on WM_DESTROY, unless told to leave closing to the
// default handling.
struct HandlerLog {
  SdlWindows* windows = nullptr;
  std::vector<Message> seen;
  bool handle_close = true;
};

HandlerLog& Log() {
  static HandlerLog log;
  return log;
}

intptr_t Handler(Window window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HandlerLog& log = Log();
  log.seen.push_back(Message{window, message, wparam, lparam});
  if (message == platform::WM_CLOSE && log.handle_close) log.windows->DestroyWindow(window);
  if (message == platform::WM_DESTROY) log.windows->PostQuitMessage(0);
  return log.windows->DefWindowProc(window, message, wparam, lparam);
}

int CountSeen(uint32_t message) {
  int count = 0;
  for (const Message& m : Log().seen) count += m.message == message ? 1 : 0;
  return count;
}

class SdlWindowsTest : public SdlDummyTest {
 protected:
  void SetUp() override {
    SdlDummyTest::SetUp();
    Log() = HandlerLog{};
    Log().windows = &windows_;
    platform::WindowClass window_class;
    window_class.proc = Handler;
    window_class.class_name = "Vorn";
    ASSERT_NE(windows_.RegisterClass(window_class), 0);
    measuring_ =
        windows_.CreateWindow(0, "Vorn", "", platform::WS_SYSMENU, 0, 0, 800, 600, nullptr);
    main_ = windows_.CreateWindow(0, "Vorn", "", platform::WS_SYSMENU, 112, 84, 800, 600, nullptr);
    ASSERT_NE(measuring_, nullptr);
    ASSERT_NE(main_, nullptr);
    windows_.ShowWindow(main_, 1);
  }

  void Push(uint8_t window_event, Window window) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = window_event;
    event.window.windowID = SDL_GetWindowID(windows_.SdlWindow(window));
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }

  // Runs the engine's loop until the quit message; the messages taken, the quit included.
  std::vector<Message> RunLoop() {
    std::vector<Message> taken;
    Message message;
    for (int guard = 0; guard < 1000 && windows_.PeekMessage(&message); ++guard) {
      taken.push_back(message);
      if (message.message == platform::WM_QUIT) break;
      windows_.TranslateMessage(message);
      windows_.DispatchMessage(message);
    }
    return taken;
  }

  SdlWindows windows_;
  Window measuring_ = nullptr;
  Window main_ = nullptr;
};

TEST_F(SdlWindowsTest, WindowsAreSizedByTheirClientAreaAndHaveNoTitle) {
  EXPECT_EQ(windows_.DesktopDepth(), 16);
  EXPECT_GT(windows_.DesktopWidth(), 0);
  EXPECT_GT(windows_.DesktopHeight(), 0);
  int width = 0;
  int height = 0;
  windows_.GetClientSize(measuring_, &width, &height);
  // The engine makes its main window 2 x 800 - width wide: the client area must be the view.
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  int x = 5;
  int y = 7;
  windows_.ClientToScreen(main_, &x, &y);
  EXPECT_EQ(x, 112 + 5);
  EXPECT_EQ(y, 84 + 7);
  EXPECT_STREQ(SDL_GetWindowTitle(windows_.SdlWindow(main_)), "");
  EXPECT_NE(SDL_GetWindowFlags(windows_.SdlWindow(main_)) & SDL_WINDOW_SHOWN, 0u);
  // The measuring window is never shown.
  EXPECT_NE(SDL_GetWindowFlags(windows_.SdlWindow(measuring_)) & SDL_WINDOW_HIDDEN, 0u);
}

TEST_F(SdlWindowsTest, ClassesAreRegisteredOnceAndWindowsNeedOne) {
  platform::WindowClass again;
  again.proc = Handler;
  again.class_name = "Vorn";
  EXPECT_EQ(windows_.RegisterClass(again), 0);
  platform::WindowClass no_handler;
  no_handler.class_name = "Other";
  EXPECT_EQ(windows_.RegisterClass(no_handler), 0);
  EXPECT_EQ(windows_.CreateWindow(0, "Other", "", 0, 0, 0, 10, 10, nullptr), nullptr);
  EXPECT_EQ(windows_.CreateWindow(0, nullptr, "", 0, 0, 0, 10, 10, nullptr), nullptr);
}

TEST_F(SdlWindowsTest, TheCloseButtonDestroysTheWindowAndEndsTheLoop) {
  Push(SDL_WINDOWEVENT_CLOSE, main_);
  const std::vector<Message> taken = RunLoop();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0].message, platform::WM_CLOSE);
  EXPECT_EQ(taken[0].window, main_);
  EXPECT_EQ(taken[1].message, platform::WM_QUIT);
  EXPECT_EQ(taken[1].wparam, 0u);
  // One destroy, although the default handling sees the close too.
  EXPECT_EQ(CountSeen(platform::WM_DESTROY), 1);
  EXPECT_EQ(windows_.SdlWindow(main_), nullptr);
  EXPECT_NE(windows_.SdlWindow(measuring_), nullptr);
  EXPECT_EQ(windows_.DestroyWindow(main_), 0);
  Message message;
  EXPECT_FALSE(windows_.PeekMessage(&message));
}

TEST_F(SdlWindowsTest, ACloseTheHandlerLeavesAloneIsDoneByTheDefaultHandling) {
  Log().handle_close = false;
  Push(SDL_WINDOWEVENT_CLOSE, main_);
  const std::vector<Message> taken = RunLoop();
  ASSERT_FALSE(taken.empty());
  EXPECT_EQ(taken.back().message, platform::WM_QUIT);
  EXPECT_EQ(CountSeen(platform::WM_DESTROY), 1);
}

class SdlSignalTest : public SdlWindowsTest, public testing::WithParamInterface<int> {};

TEST_P(SdlSignalTest, ASignalToStopClosesTheShownWindow) {
  ASSERT_EQ(std::raise(GetParam()), 0);
  const std::vector<Message> taken = RunLoop();
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_EQ(taken[0].message, platform::WM_CLOSE);
  EXPECT_EQ(taken[0].window, main_);  // not the measuring window, which would end nothing
  EXPECT_EQ(taken[1].message, platform::WM_QUIT);
}

INSTANTIATE_TEST_SUITE_P(Signals, SdlSignalTest, testing::Values(SIGINT, SIGTERM));

TEST_F(SdlWindowsTest, ControlKeysTypeTheirCharacterNextAndOtherKeysNothing) {
  SDL_Event later{};
  later.type = SDL_WINDOWEVENT;
  later.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  later.window.windowID = SDL_GetWindowID(windows_.SdlWindow(main_));
  const uint8_t keys[] = {
      platform::VK_RETURN, platform::VK_BACK, platform::VK_TAB, platform::VK_ESCAPE, 'A',
      platform::VK_LEFT};
  for (uint8_t key : keys) {
    Log().seen.clear();
    ASSERT_EQ(SDL_PushEvent(&later), 1);
    windows_.TranslateMessage(Message{main_, platform::WM_KEYDOWN, key, 1});
    Message next;
    ASSERT_TRUE(windows_.PeekMessage(&next));
    const bool types = key < 0x20;
    if (types) {
      EXPECT_EQ(next.message, platform::WM_CHAR) << int{key};
      EXPECT_EQ(next.wparam, key);
      ASSERT_TRUE(windows_.PeekMessage(&next));
    }
    EXPECT_EQ(next.message, platform::WM_ACTIVATEAPP) << int{key};
    while (windows_.PeekMessage(&next)) {
    }
  }
}

TEST_F(SdlWindowsTest, MessagesTakenFromSdlComeBeforeTheQuitAndGoWithTheirWindow) {
  Push(SDL_WINDOWEVENT_FOCUS_GAINED, main_);
  Message message;
  ASSERT_TRUE(windows_.PeekMessage(&message));
  EXPECT_EQ(message.message, platform::WM_ACTIVATEAPP);
  windows_.PostQuitMessage(3);
  // WM_SETFOCUS was taken from SDL with the activation; it comes first.
  ASSERT_TRUE(windows_.PeekMessage(&message));
  EXPECT_EQ(message.message, platform::WM_SETFOCUS);
  ASSERT_TRUE(windows_.PeekMessage(&message));
  EXPECT_EQ(message.message, platform::WM_QUIT);
  EXPECT_EQ(message.wparam, 3u);
  EXPECT_FALSE(windows_.PeekMessage(&message));  // posted once, taken once

  // A destroyed window's pending messages are dropped, and nothing reaches its handler.
  Push(SDL_WINDOWEVENT_FOCUS_GAINED, main_);
  ASSERT_TRUE(windows_.PeekMessage(&message));  // activation; the focus message waits
  ASSERT_EQ(windows_.DestroyWindow(main_), 1);
  Log().seen.clear();
  EXPECT_EQ(windows_.DispatchMessage(message), 0);
  EXPECT_TRUE(Log().seen.empty());
  ASSERT_TRUE(windows_.PeekMessage(&message));
  EXPECT_EQ(message.message, platform::WM_QUIT);  // from the destroy, not WM_SETFOCUS
}

TEST_F(SdlWindowsTest, NoWindowIsInFrontWithoutTheKeyboard) {
  // The dummy driver gives no window the keyboard.
  EXPECT_EQ(windows_.GetForegroundWindow(), nullptr);
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
  const BoxCase& box = GetParam();
  SdlWindows windows;
  testing::internal::CaptureStderr();
  EXPECT_EQ(windows.MessageBox(nullptr, box.text, box.caption, platform::MB_OK), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), box.printed);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxFallbackTest,
    testing::Values(BoxCase{"Vorn", "Unable to start Vorn.\n\nError: X\n\nAdvice",
                            "Vorn: Unable to start Vorn.\n\nError: X\n\nAdvice\n"},
                    BoxCase{"", "<WinDX::ViewUpdate> Error: Surface Lost",
                            "<WinDX::ViewUpdate> Error: Surface Lost\n"},
                    BoxCase{"Vorn Error", nullptr, "Vorn Error: \n"},
                    BoxCase{nullptr, "text", "text\n"}));

TEST_F(SdlDummyTest, WithoutAnyDisplayNoClassCanBeRegistered) {
  // No driver named: SDL would fall back to one that shows nothing, which is no display.
  unsetenv("SDL_VIDEODRIVER");
  SdlWindows windows;
  platform::WindowClass window_class;
  window_class.proc = Handler;
  window_class.class_name = "Vorn";
  EXPECT_EQ(windows.RegisterClass(window_class), 0);
  EXPECT_EQ(windows.CreateWindow(0, "Vorn", "", 0, 0, 0, 10, 10, nullptr), nullptr);
}

}  // namespace
