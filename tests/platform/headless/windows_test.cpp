// The headless window system as the engine's tests drive it: the queue and its
// idle passes, destruction, and typed characters.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless.h"

namespace {

using namespace platform;
using headless::Config;
using headless::HeadlessPlatform;

// What the handler of the test class saw.
std::vector<Message>& Seen() {
  static std::vector<Message> seen;
  return seen;
}

class HeadlessWindowsTest : public testing::Test {
 protected:
  explicit HeadlessWindowsTest(const Config& config = {}) : headless_(config) {
    Seen().clear();
    WindowClass window_class;
    window_class.proc = [](Window window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
      Seen().push_back(Message{window, message, wparam, lparam});
      return intptr_t{7};
    };
    window_class.class_name = "Test";
    EXPECT_NE(windows().RegisterClass(window_class), 0);
  }
  WindowSystem& windows() { return headless_.Windows(); }
  Window Make() {
    return windows().CreateWindow(0, "Test", "", WS_SYSMENU, 5, 6, 200, 100, nullptr);
  }
  // The next message, or 0 when an idle pass comes instead.
  uint32_t Next(Message* message = nullptr) {
    Message taken;
    if (!windows().PeekMessage(&taken)) return 0;
    if (message != nullptr) *message = taken;
    return taken.message;
  }

  HeadlessPlatform headless_;
};

TEST_F(HeadlessWindowsTest, QueueKeepsOrderAddressesTheMainWindowAndEndsWithTheQuit) {
  headless_.PostKeyDown(1);
  windows().PostQuitMessage(3);
  headless_.PostKeyUp(2);
  const Window first = Make();
  const Window second = Make();
  Message message;
  ASSERT_EQ(Next(&message), WM_KEYDOWN);
  EXPECT_EQ(message.window, second);
  windows().DestroyWindow(second);
  ASSERT_EQ(Next(&message), WM_KEYUP);
  EXPECT_EQ(message.window, first);
  ASSERT_EQ(Next(&message), WM_QUIT);
  EXPECT_EQ(message.wparam, 3u);
  EXPECT_EQ(Next(), 0u);
}

class IdleWindowsTest : public HeadlessWindowsTest {
 protected:
  IdleWindowsTest()
      : HeadlessWindowsTest(
            {.start_time = 1000, .ms_per_idle_poll = 16, .close_after_idle_polls = 2}) {}
};

TEST_F(IdleWindowsTest, IdlePassesAdvanceTheClockAndCloseOnce) {
  const Window window = Make();
  EXPECT_EQ(Next(), 0u);
  EXPECT_EQ(headless_.Milliseconds(), 1016u);
  EXPECT_EQ(Next(), 0u);
  Message message;
  ASSERT_EQ(Next(&message), WM_CLOSE);
  EXPECT_EQ(message.window, window);
  EXPECT_EQ(std::pair(headless_.IdlePolls(), headless_.Milliseconds()),
            std::pair(uint64_t{2}, 1032u));
}

TEST_F(HeadlessWindowsTest, DestroyTellsTheHandlerAtOnceAndOnlyOnce) {
  const Window window = Make();
  windows().ShowWindow(window, 1);
  EXPECT_EQ(windows().GetForegroundWindow(), window);
  EXPECT_EQ(windows().DestroyWindow(window), 1);
  ASSERT_EQ(Seen().size(), 1u);
  EXPECT_EQ(std::pair(Seen()[0].message, Seen()[0].window), std::pair(WM_DESTROY, window));
  EXPECT_EQ(windows().GetForegroundWindow(), nullptr);
  EXPECT_EQ(windows().DestroyWindow(window), 0);
}

// Shift makes capitals and Return types a carriage return; keys without
// characters type none.
TEST_F(HeadlessWindowsTest, TranslateTypesTheCharactersOfKeysThatHaveThem) {
  const Window window = Make();
  const int steps[][3] = {
      {WM_KEYDOWN, VK_SHIFT, 0}, {WM_KEYDOWN, 'Q', 'Q'},        {WM_KEYUP, VK_SHIFT, 0},
      {WM_KEYDOWN, 'Q', 'q'},    {WM_KEYDOWN, VK_RETURN, '\r'}, {WM_KEYDOWN, VK_LEFT, 0},
      {WM_KEYUP, 'A', 0}};
  for (const auto [type, key, character] : steps) {
    windows().TranslateMessage(
        Message{window, static_cast<uint32_t>(type), static_cast<uintptr_t>(key), 0});
    Message message{};
    EXPECT_EQ(Next(&message), character != 0 ? WM_CHAR : 0u) << key;
    EXPECT_EQ(message.wparam, static_cast<uintptr_t>(character)) << key;
  }
}

}  // namespace
