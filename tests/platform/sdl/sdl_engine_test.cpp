// The engine started on the desktop back end, with SDL's dummy video driver in place of a screen.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "platform/sdl/sdl_platform.h"
#include "sdl_test_env.h"
#include "support/headless_engine.h"

namespace {

std::string DebugText() {
  std::ifstream file("debug.txt");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class SdlEngineTest : public SdlDummyTest {
 protected:
  void SetUp() override {
    SdlDummyTest::SetUp();
    ResetEngine();
    Vorn.UsePlatform(&platform_);
  }
  void TearDown() override {
    Vorn.CleanUp();
    // The engine keeps its sound object to the end of the program; a test ends sooner.
    if (Vorn.ds != nullptr) Vorn.ds->Release();
    Vorn.ds = nullptr;
    Vorn.UsePlatform(nullptr);
  }

  platform::sdl::SdlPlatform platform_;
};

TEST_F(SdlEngineTest, WindowedStartOnADeeperDesktopSeesSixteenBits) {
  ASSERT_TRUE(Vorn.Initialize(0, 800, 600));
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
  EXPECT_EQ(Vorn.screen_bpp, 16);
  // The dummy desktop is 1024 x 768: the client area is centred on it.
  int width = 0;
  int height = 0;
  platform_.Windows().GetClientSize(Vorn.hwnd, &width, &height);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  EXPECT_EQ(Vorn.win_x, (Vorn.screen_xres - 800) / 2);
  EXPECT_EQ(Vorn.win_y, (Vorn.screen_yres - 600) / 2);
  EXPECT_EQ(Vorn.view_stride, 800);
  EXPECT_EQ(red_mask, 0xF800);
  EXPECT_EQ(green_bits, 6);
  const std::string log = DebugText();
  EXPECT_NE(log.find("WinDX:: Front Buffer is in video memory."), std::string::npos) << log;
  EXPECT_NE(log.find("WinDX:: Back Buffer NOT A FLIP (BACK) BUFFER."), std::string::npos) << log;
  EXPECT_NE(log.find("WindowsDX: Initialization finished OK."), std::string::npos) << log;

  // A frame while another window has the keyboard is drawn but not shown.
  ASSERT_TRUE(Vorn.ViewLock());
  Vorn.view[0] = 0xFFFF;
  Vorn.ViewUnlock();
  EXPECT_EQ(Vorn.ViewUpdate(), 1);
  EXPECT_EQ(platform_.FramesPresented(), 0u);
}

TEST_F(SdlEngineTest, FullScreenStartGetsAFlipChainAtTheRequestedSize) {
  ASSERT_TRUE(Vorn.Initialize(1, 640, 480));
  EXPECT_EQ(Vorn.view_yres, 480);
  EXPECT_EQ(Vorn.view_stride, 640);
  EXPECT_NE(DebugText().find("WinDX:: Back Buffer is a valid flip (back) buffer."),
            std::string::npos);
}

TEST_F(SdlEngineTest, WithoutADisplayTheWindowStageFailsAndTheReportReachesStandardError) {
  unsetenv("SDL_VIDEODRIVER");
  EXPECT_FALSE(Vorn.Initialize(0, 800, 600));
  EXPECT_EQ(Vorn.status, ERR_INITCLASS);
  testing::internal::CaptureStderr();
  Vorn.ReportError();
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(printed.find("Vorn: Unable to start Vorn.\n\nError: INITCLASS_FAILED"), 0u) << printed;
}

}  // namespace
