// The headless window system: classes, the frame model, the queue and its idle passes,
// translation, destruction, message boxes and window-system faults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless.h"

namespace {

using platform::Message;
using platform::Window;
using platform::headless::Config;
using platform::headless::HeadlessPlatform;
using platform::headless::Op;

// What the test handler saw.
std::vector<Message>& Seen() {
  static std::vector<Message> seen;
  return seen;
}

intptr_t Record(Window window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  Seen().push_back(Message{window, message, wparam, lparam});
  return 7;
}

class HeadlessWindowsTest : public testing::Test {
 protected:
  explicit HeadlessWindowsTest(const Config& config = {}) : headless_(config) {
    Seen().clear();
    platform::WindowClass window_class;
    window_class.proc = Record;
    window_class.class_name = "Test";
    EXPECT_NE(windows().RegisterClass(window_class), 0);
  }
  platform::WindowSystem& windows() { return headless_.Windows(); }
  Window Make(uint32_t style = platform::WS_SYSMENU, int w = 200, int h = 100) {
    return windows().CreateWindow(0, "Test", "", style, 5, 6, w, h, nullptr);
  }
  bool Take(Message* message) { return windows().PeekMessage(message); }

  HeadlessPlatform headless_;
};

TEST_F(HeadlessWindowsTest, FrameModelGivesClientSizeAndPosition) {
  const Config& c = headless_.config();
  struct {
    uint32_t style;
    int w, h;
    int client_w, client_h;
    int left, top;
  } const cases[] = {
      {platform::WS_SYSMENU, 200, 100, 200 - 2 * c.border, 100 - 2 * c.border - c.caption, c.border,
       c.border + c.caption},
      {platform::WS_POPUP, 200, 100, 200, 100, 0, 0},
      {platform::WS_SYSMENU, 2, 2, 0, 0, c.border, c.border + c.caption},
      {platform::WS_POPUP, -5, -1, 0, 0, 0, 0},
  };
  for (const auto& k : cases) {
    const Window window = Make(k.style, k.w, k.h);
    int cw = -1;
    int ch = -1;
    windows().GetClientSize(window, &cw, &ch);
    EXPECT_EQ(cw, k.client_w);
    EXPECT_EQ(ch, k.client_h);
    int x = 1;
    int y = 2;
    windows().ClientToScreen(window, &x, &y);
    EXPECT_EQ(x, 1 + 5 + k.left);
    EXPECT_EQ(y, 2 + 6 + k.top);
  }
}

TEST_F(HeadlessWindowsTest, QueueKeepsOrderAndAddressesTheMainWindowAtDelivery) {
  headless_.PostKeyDown(1);
  headless_.PostKeyUp(2);
  const Window first = Make();
  const Window second = Make();
  Message message;
  ASSERT_TRUE(Take(&message));
  EXPECT_EQ(message.message, platform::WM_KEYDOWN);
  EXPECT_EQ(message.window, second);
  windows().DestroyWindow(second);
  ASSERT_TRUE(Take(&message));
  EXPECT_EQ(message.message, platform::WM_KEYUP);
  EXPECT_EQ(message.window, first);
}

TEST_F(HeadlessWindowsTest, QuitComesAfterThePostedMessages) {
  windows().PostQuitMessage(3);
  headless_.PostChar('x');
  Message message;
  ASSERT_TRUE(Take(&message));
  EXPECT_EQ(message.message, platform::WM_CHAR);
  ASSERT_TRUE(Take(&message));
  EXPECT_EQ(message.message, platform::WM_QUIT);
  EXPECT_EQ(message.wparam, 3u);
  EXPECT_FALSE(Take(&message));
}

class IdleWindowsTest : public HeadlessWindowsTest {
 protected:
  static Config WithIdle() {
    Config config;
    config.start_time = 1000;
    config.ms_per_idle_poll = 16;
    config.close_after_idle_polls = 4;
    return config;
  }
  IdleWindowsTest() : HeadlessWindowsTest(WithIdle()) {}
};

TEST_F(IdleWindowsTest, IdlePassesAdvanceTheClockReleaseScheduledMessagesAndClose) {
  const Window window = Make();
  headless_.PostMessageAfterIdle(2, Message{nullptr, platform::WM_KEYDOWN, 9, 0});
  Message message;
  EXPECT_FALSE(Take(&message));
  EXPECT_EQ(headless_.Milliseconds(), 1016u);
  EXPECT_FALSE(Take(&message));
  ASSERT_TRUE(Take(&message));  // due after the second idle pass
  EXPECT_EQ(message.wparam, 9u);
  EXPECT_FALSE(Take(&message));
  EXPECT_FALSE(Take(&message));
  ASSERT_TRUE(Take(&message));
  EXPECT_EQ(message.message, platform::WM_CLOSE);
  EXPECT_EQ(message.window, window);
  EXPECT_EQ(headless_.IdlePolls(), 4u);
  EXPECT_EQ(headless_.Milliseconds(), 1000u + 4 * 16);
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(Take(&message));  // closes only once
}

TEST_F(HeadlessWindowsTest, TranslateTypesCharactersOfKeysThatHaveThem) {
  const Window window = Make();
  struct {
    uint32_t message;
    int key;
    int character;  // 0: none
  } const steps[] = {
      {platform::WM_KEYDOWN, 'A', 'a'},
      {platform::WM_KEYDOWN, platform::VK_SHIFT, 0},
      {platform::WM_KEYDOWN, 'Q', 'Q'},
      {platform::WM_KEYUP, platform::VK_SHIFT, 0},
      {platform::WM_KEYDOWN, 'Q', 'q'},
      {platform::WM_KEYDOWN, '7', '7'},
      {platform::WM_KEYDOWN, platform::VK_SPACE, ' '},
      {platform::WM_KEYDOWN, platform::VK_RETURN, '\r'},
      {platform::WM_KEYDOWN, platform::VK_LEFT, 0},
      {platform::WM_KEYDOWN, platform::VK_OEM_1, 0},
      {platform::WM_KEYUP, 'A', 0},
  };
  for (const auto& step : steps) {
    windows().TranslateMessage(Message{window, step.message, static_cast<uintptr_t>(step.key), 0});
    Message message;
    const bool typed = Take(&message);
    EXPECT_EQ(typed, step.character != 0) << step.key;
    if (typed) {
      EXPECT_EQ(message.message, platform::WM_CHAR);
      EXPECT_EQ(message.wparam, static_cast<uintptr_t>(step.character));
      EXPECT_EQ(message.window, window);
    }
  }
}

TEST_F(HeadlessWindowsTest, DestroyTellsTheHandlerAtOnceAndOnlyOnce) {
  const Window window = Make();
  windows().ShowWindow(window, 1);
  EXPECT_EQ(windows().GetForegroundWindow(), window);
  EXPECT_EQ(windows().DestroyWindow(window), 1);
  ASSERT_EQ(Seen().size(), 1u);
  EXPECT_EQ(Seen()[0].message, platform::WM_DESTROY);
  EXPECT_EQ(Seen()[0].window, window);
  EXPECT_EQ(windows().GetForegroundWindow(), nullptr);
  EXPECT_EQ(windows().DestroyWindow(window), 0);
  EXPECT_EQ(windows().DispatchMessage(Message{window, platform::WM_KEYDOWN, 1, 0}), 0);
  EXPECT_EQ(Seen().size(), 1u);
  EXPECT_EQ(windows().UpdateWindow(window), 0);
}

TEST_F(HeadlessWindowsTest, MessageBoxesAreRecordedAndOptionallyEchoed) {
  const Window owner = Make();
  windows().MessageBox(owner, "line one\nline two", "Caption", platform::MB_OK);
  ASSERT_EQ(headless_.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless_.MessageBoxes()[0].owner, owner);
  EXPECT_EQ(headless_.MessageBoxes()[0].caption, "Caption");
  EXPECT_EQ(headless_.MessageBoxes()[0].text, "line one\nline two");

  Config config;
  config.echo_message_boxes = true;
  HeadlessPlatform echoing(config);
  testing::internal::CaptureStderr();
  echoing.Windows().MessageBox(nullptr, "Missing file", "Vorn Error", platform::MB_OK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Vorn Error: Missing file\n");
}

TEST_F(HeadlessWindowsTest, FaultsSkipThenFailThenStop) {
  headless_.Fail(Op::kCreateWindow, platform::E_FAIL, 2, 1);
  EXPECT_NE(Make(), nullptr);
  EXPECT_EQ(Make(), nullptr);
  EXPECT_EQ(Make(), nullptr);
  EXPECT_NE(Make(), nullptr);
  EXPECT_EQ(headless_.Calls(Op::kCreateWindow), 4);

  headless_.Fail(Op::kUpdateWindow, platform::E_FAIL, platform::headless::kAlways);
  const Window window = Make();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(windows().UpdateWindow(window), 0);
  headless_.ClearFaults();
  EXPECT_EQ(windows().UpdateWindow(window), 1);
}

TEST_F(HeadlessWindowsTest, MoveWindowPostsTheClientPosition) {
  const Window window = Make();
  headless_.MoveWindow(window, 40, 50);
  Message message;
  ASSERT_TRUE(Take(&message));
  EXPECT_EQ(message.message, platform::WM_MOVE);
  const Config& c = headless_.config();
  EXPECT_EQ(message.lparam, platform::MakeLParam(40 + c.border, 50 + c.border + c.caption));
}

}  // namespace
