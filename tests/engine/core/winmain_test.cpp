// The entry and its message loop: start, frames, starvation by messages, close, failed starts.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "game_hooks.h"
#include "log_file.h"
#include "support/headless_engine.h"

namespace {

using platform::headless::HeadlessPlatform;

class WinMainTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetTestGame();
    test_game().init = [] { Vorn.Initialize(0, 800, 600); };
  }
  HeadlessPlatform& headless_ = UseFreshHeadless();
};

TEST_F(WinMainTest, CloseEndsWithZeroAfterCleanUp) {
  int frames_with_surfaces = 0;
  test_game().run = [&] {
    if (Vorn.dd_back != nullptr) ++frames_with_surfaces;
    if (test_game().run_calls == 3) headless_.PostClose();
  };
  int instance = 0;
  EXPECT_EQ(WinMain(&instance, nullptr, nullptr, 5), 0);
  EXPECT_EQ(Vorn.instance, &instance);
  EXPECT_EQ(Vorn.show_cmd, 5);
  EXPECT_EQ(test_game().init_calls, 1);
  EXPECT_EQ(test_game().run_calls, 3);
  EXPECT_EQ(frames_with_surfaces, 3);
  // CleanUp released the display objects and cleared them.
  EXPECT_EQ(Vorn.dd, nullptr);
  EXPECT_EQ(Vorn.dd_front, nullptr);
  EXPECT_EQ(Vorn.dd_back, nullptr);
  EXPECT_TRUE(headless_.DisplayReleased());
  EXPECT_EQ(headless_.LiveSurfaces(), 0);
  EXPECT_EQ(headless_.ReleaseErrors(), 0);
  EXPECT_TRUE(headless_.MessageBoxes().empty());
  EXPECT_EQ(headless_.FindWindow(Vorn.hwnd)->show_cmd, 5);
}

TEST_F(WinMainTest, WaitingMessagesAreAllHandledBeforeTheNextFrame) {
  for (int i = 0; i < 5; ++i) headless_.PostKeyDown(0x41 + i);
  std::size_t pending_at_first_frame = 99;
  int keys_down_at_first_frame = 0;
  test_game().run = [&] {
    if (test_game().run_calls == 1) {
      pending_at_first_frame = headless_.PendingMessages();
      for (int k = 0x41; k < 0x46; ++k) keys_down_at_first_frame += Vorn.keys[k];
      headless_.PostClose();
    }
  };
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), 0);
  EXPECT_EQ(pending_at_first_frame, 0u);
  EXPECT_EQ(keys_down_at_first_frame, 5);
  // The loop translated the letters into typed characters as well.
  EXPECT_EQ(Vorn.char_count, 5);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Vorn.char_buf), 5), "abcde");
}

TEST_F(WinMainTest, EmptyQueueRunsFramesUntilClosed) {
  headless_.PostMessageAfterIdle(50, platform::Message{nullptr, platform::WM_CLOSE, 0, 0});
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), 0);
  EXPECT_EQ(test_game().run_calls, 50);
}

TEST_F(WinMainTest, DestroyingTheMeasuringWindowAlsoEndsTheLoop) {
  test_game().run = [&] {
    // The measuring window is the first one made; it shares the class and its handler.
    const auto measuring = reinterpret_cast<platform::Window>(static_cast<uintptr_t>(1));
    ASSERT_NE(measuring, Vorn.hwnd);
    headless_.PostMessage(platform::Message{measuring, platform::WM_CLOSE, 0, 0});
  };
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), 0);
  EXPECT_EQ(test_game().run_calls, 1);
}

TEST_F(WinMainTest, StartNeverRunReportsNoInit) {
  test_game().init = [] {};
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), -1);
  ASSERT_EQ(headless_.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless_.MessageBoxes()[0].caption, "Vorn");
  EXPECT_EQ(headless_.MessageBoxes()[0].text,
            "Unable to start Vorn.\n\nError: NO_INIT (User did not initialize Vorn)\n\nYou must "
            "start Vorn by calling:\n  Vorn.Initialize (fullscreen, xres, yres)\n\nfrom the "
            "initialize() function. See documentation for starting Vorn.");
  EXPECT_EQ(test_game().run_calls, 0);
}

TEST_F(WinMainTest, WithoutAPlatformTheStartFailsInsteadOfCrashing) {
  ResetEngine();
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), -1);
  EXPECT_EQ(Vorn.status, ERR_INITCLASS);
  EXPECT_EQ(ReadDebugLog().find("Vorn Error: INITCLASS_FAILED (Cannot Initialize Window Class)\n"),
            std::string("WindowsDX: Initialization started.\n  ").size());
}

}  // namespace
