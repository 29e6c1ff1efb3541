// Start-up: every status a start can end with, what each leaves behind, and the view geometry.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

#include "engine/core/hooks.h"
#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "game_hooks.h"
#include "log_file.h"
#include "support/headless_engine.h"

namespace {

using platform::headless::Config;
using platform::headless::HeadlessPlatform;
using platform::headless::Op;

constexpr const char* kSurfaceLinesWindowed =
    "WinDX:: Front Buffer is in video memory.\n"
    "  WinDX:: Back Buffer is in video memory.\n"
    "  WinDX:: Back Buffer NOT A FLIP (BACK) BUFFER.\n  ";

TEST(Startup, NormalStartReachesRunningWithExactLog) {
  HeadlessPlatform& headless = UseFreshHeadless();
  EXPECT_TRUE(Vorn.Initialize(0, 800, 600));
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
  EXPECT_EQ(ReadDebugLog(), std::string("WindowsDX: Initialization started.\n  ") +
                                kSurfaceLinesWindowed +
                                "WindowsDX: Initialization finished OK.\n  ");
  EXPECT_EQ(Vorn.req_fullscreen, 0);
  EXPECT_EQ(Vorn.req_xres, 800);
  EXPECT_EQ(Vorn.req_yres, 600);
  EXPECT_EQ(Vorn.screen_bpp, 16);
  EXPECT_EQ(Vorn.active, 1);
  EXPECT_EQ(headless.DisplayCooperativeFlags(), platform::DDSCL_NORMAL);
  EXPECT_EQ(headless.SoundCooperativeLevel(), platform::DSSCL_NORMAL);
  EXPECT_TRUE(headless.ClassRegistered("Vorn"));
  EXPECT_NE(Vorn.ds, nullptr);
  EXPECT_TRUE(headless.MessageBoxes().empty());
}

// A stage told to fail, and the code it must leave.
struct FailingStage {
  const char* name;
  int fullscreen;
  std::function<void(Config&)> configure;        // desktop changes
  std::function<void(HeadlessPlatform&)> fault;  // injected failures
  int status;
  const char* log_before_report;  // log lines between the first line and the report
};

void PrintTo(const FailingStage& c, std::ostream* out) {
  *out << c.name;
}

std::string ReportText(int code) {
  const ErrorText error = LookUpError(code);
  return std::string("Unable to start Vorn.\n\n") + error.line + "\n\n" + error.advice;
}

class FailedStart : public testing::TestWithParam<FailingStage> {};

TEST_P(FailedStart, LeavesItsCodeAndWinMainReportsItOnce) {
  const FailingStage& stage = GetParam();
  Config config;
  if (stage.configure) stage.configure(config);
  HeadlessPlatform& headless = UseFreshHeadless(config);
  if (stage.fault) stage.fault(headless);
  ResetTestGame();
  bool initialized = true;
  test_game().init = [&] { initialized = Vorn.Initialize(stage.fullscreen, 800, 600); };

  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), -1);
  EXPECT_FALSE(initialized);
  EXPECT_EQ(Vorn.status, stage.status);
  EXPECT_EQ(test_game().run_calls, 0);
  ASSERT_EQ(headless.MessageBoxes().size(), 1u);
  EXPECT_EQ(headless.MessageBoxes()[0].owner, nullptr);
  EXPECT_EQ(headless.MessageBoxes()[0].caption, "Vorn");
  EXPECT_EQ(headless.MessageBoxes()[0].text, ReportText(stage.status));
  EXPECT_EQ(ReadDebugLog(), std::string("WindowsDX: Initialization started.\n  ") +
                                stage.log_before_report + "Vorn " + LookUpError(stage.status).line +
                                "\n  ");
  // No CleanUp on this path: whatever was made is still there.
  EXPECT_FALSE(headless.DisplayReleased());
}

std::function<void(HeadlessPlatform&)> FailOp(Op op, platform::Result result, int count = 1,
                                              int skip = 0) {
  return [=](HeadlessPlatform& h) { h.Fail(op, result, count, skip); };
}

INSTANTIATE_TEST_SUITE_P(
    EveryStage, FailedStart,
    testing::Values(
        FailingStage{"ClassRegistration", 0, nullptr, FailOp(Op::kRegisterClass, platform::E_FAIL),
                     1, ""},
        FailingStage{"MeasuringWindow", 0, nullptr, FailOp(Op::kCreateWindow, platform::E_FAIL), 3,
                     ""},
        FailingStage{"MainWindow", 0, nullptr, FailOp(Op::kCreateWindow, platform::E_FAIL, 1, 1), 5,
                     ""},
        FailingStage{"ShowWindow", 0, nullptr, FailOp(Op::kUpdateWindow, platform::E_FAIL), 7, ""},
        FailingStage{"DisplayObject", 0, nullptr,
                     FailOp(Op::kCreateDisplay, platform::DDERR_GENERIC), 9, ""},
        FailingStage{"DisplayLevel", 0, nullptr,
                     FailOp(Op::kDisplayCooperativeLevel, platform::DDERR_GENERIC), 11, ""},
        FailingStage{"DisplayMode", 1, nullptr,
                     FailOp(Op::kSetDisplayMode, platform::DDERR_GENERIC), 13, ""},
        FailingStage{"WindowedFrontSurface", 0, nullptr,
                     FailOp(Op::kCreateSurface, platform::DDERR_OUTOFMEMORY, 2), 15, ""},
        FailingStage{"FullscreenFrontSurface", 1, nullptr,
                     FailOp(Op::kCreateSurface, platform::DDERR_NOFLIPHW, 2), 15,
                     "<WinDX::CreateSurface> No Flip HW\n  "},
        FailingStage{"WindowedBackSurface", 0, nullptr,
                     FailOp(Op::kCreateSurface, platform::DDERR_OUTOFMEMORY, 2, 1), 17, ""},
        FailingStage{"FullscreenBackSurface", 1, nullptr,
                     FailOp(Op::kGetAttachedSurface, platform::DDERR_NOTFOUND), 17, ""},
        FailingStage{"WiderThanDesktop", 0, [](Config& c) { c.desktop_width = 799; }, nullptr, 21,
                     ""},
        FailingStage{"TallerThanDesktop", 0, [](Config& c) { c.desktop_height = 599; }, nullptr, 21,
                     ""},
        FailingStage{"ThirtyTwoBitDesktop", 0, [](Config& c) { c.desktop_depth = 32; }, nullptr, 22,
                     ""},
        FailingStage{"SoundObject", 0, nullptr, FailOp(Op::kCreateSound, platform::DSERR_NODRIVER),
                     23, kSurfaceLinesWindowed},
        FailingStage{"SoundLevel", 0, nullptr,
                     FailOp(Op::kSoundCooperativeLevel, platform::DSERR_INVALIDPARAM), 24,
                     kSurfaceLinesWindowed}),
    [](const testing::TestParamInfo<FailingStage>& param_info) { return param_info.param.name; });

TEST(Startup, ThirtyTwoBitDesktopMakesNoWindow) {
  Config config;
  config.desktop_depth = 32;
  HeadlessPlatform& headless = UseFreshHeadless(config);
  EXPECT_FALSE(Vorn.Initialize(0, 800, 600));
  EXPECT_EQ(Vorn.status, ERR_BPP);
  EXPECT_EQ(headless.WindowCount(), 0u);
  EXPECT_EQ(Vorn.hwnd, nullptr);
}

TEST(Startup, TooLargeWindowedRequestMakesNoWindow) {
  HeadlessPlatform& headless = UseFreshHeadless();
  EXPECT_FALSE(Vorn.Initialize(0, 1025, 768));
  EXPECT_EQ(Vorn.status, ERR_REQSIZE);
  EXPECT_EQ(headless.WindowCount(), 0u);
}

TEST(Startup, SoundLevelFailureReleasesTheSoundObject) {
  HeadlessPlatform& headless = UseFreshHeadless();
  headless.Fail(Op::kSoundCooperativeLevel, platform::DSERR_GENERIC);
  EXPECT_FALSE(Vorn.Initialize(0, 800, 600));
  EXPECT_EQ(Vorn.status, ERR_SOUNDCOOP);
  EXPECT_TRUE(headless.SoundReleased());
  EXPECT_EQ(Vorn.ds, nullptr);
}

TEST(Startup, FrontSurfaceRetryIsEnoughWhenOnlyTheFirstRequestFails) {
  for (int fullscreen : {0, 1}) {
    HeadlessPlatform& headless = UseFreshHeadless();
    headless.Fail(Op::kCreateSurface, platform::DDERR_OUTOFVIDEOMEMORY);
    EXPECT_TRUE(Vorn.Initialize(fullscreen, 800, 600)) << fullscreen;
    // Only the full-screen request logs its first refusal.
    EXPECT_EQ(ReadDebugLog().find("Out Of Video Memory") != std::string::npos, fullscreen == 1);
  }
}

// Each result the full-screen front request can be refused with, and its log line.
struct RefusalLine {
  platform::Result result;
  const char* line;
};

void PrintTo(const RefusalLine& c, std::ostream* out) {
  *out << c.result;
}

class FullscreenFrontRefusal : public testing::TestWithParam<RefusalLine> {};

TEST_P(FullscreenFrontRefusal, WritesItsLine) {
  HeadlessPlatform& headless = UseFreshHeadless();
  headless.Fail(Op::kCreateSurface, GetParam().result);
  EXPECT_TRUE(Vorn.Initialize(1, 800, 600));
  EXPECT_EQ(ReadDebugLog(), std::string("WindowsDX: Initialization started.\n  ") +
                                GetParam().line +
                                "WinDX:: Front Buffer is in video memory.\n"
                                "  WinDX:: Back Buffer is in video memory.\n"
                                "  WinDX:: Back Buffer is a valid flip (back) buffer.\n"
                                "  WindowsDX: Initialization finished OK.\n  ");
}

INSTANTIATE_TEST_SUITE_P(
    LogTable, FullscreenFrontRefusal,
    testing::Values(
        RefusalLine{platform::DDERR_OUTOFMEMORY, "<WinDX::CreateSurface> Out of Memory\n  "},
        RefusalLine{platform::DDERR_INVALIDPARAMS, "<WinDX::CreateSurface> Invalid Params\n  "},
        RefusalLine{platform::DDERR_INCOMPATIBLEPRIMARY,
                    "<WinDX::CreateSurface> Incompatible Primary\n  "},
        RefusalLine{platform::DDERR_INVALIDCAPS, "<WinDX::CreateSurface> Invalid Caps\n  "},
        RefusalLine{platform::DDERR_INVALIDOBJECT, "<WinDX::CreateSurface> Invalid Object\n  "},
        RefusalLine{platform::DDERR_INVALIDPIXELFORMAT,
                    "<WinDX::CreateSurface> Invalid Pixel Format\n  "},
        RefusalLine{platform::DDERR_NOALPHAHW, "<WinDX::CreateSurface> No Alpha HW\n  "},
        RefusalLine{platform::DDERR_NOCOOPERATIVELEVELSET,
                    "<WinDX::CreateSurface> No Cooperate Level Set\n  "},
        RefusalLine{platform::DDERR_NOEXCLUSIVEMODE,
                    "<WinDX::CreateSurface> No Exclusive Mode\n  "},
        RefusalLine{platform::DDERR_NOFLIPHW, "<WinDX::CreateSurface> No Flip HW\n  "},
        RefusalLine{platform::DDERR_NOZBUFFERHW, "<WinDX::CreateSurface> No Z-Buffer HW\n  "},
        RefusalLine{platform::DDERR_OUTOFVIDEOMEMORY,
                    "<WinDX::CreateSurface> Out Of Video Memory\n  "},
        RefusalLine{platform::DDERR_NODIRECTDRAWHW, "<WinDX::CreateSurface> No Direct Draw HW\n  "},
        RefusalLine{platform::DDERR_PRIMARYSURFACEALREADYEXISTS,
                    "<WinDX::CreateSurface> Primary Surface Already Exists\n  "},
        RefusalLine{platform::DDERR_NOEMULATION, "<WinDX::CreateSurface> No Emulation\n  "},
        RefusalLine{platform::DDERR_GENERIC, ""}, RefusalLine{platform::DDERR_SURFACELOST, ""}));

TEST(Startup, SurfacesOutsideVideoMemoryAreLoggedSo) {
  Config config;
  config.video_memory = false;
  UseFreshHeadless(config);
  EXPECT_TRUE(Vorn.Initialize(0, 800, 600));
  EXPECT_EQ(ReadDebugLog(),
            "WindowsDX: Initialization started.\n"
            "  WinDX:: Front Buffer NOT IN VIDEO MEMORY.\n"
            "  WinDX:: Back Buffer NOT IN VIDEO MEMORY.\n"
            "  WinDX:: Back Buffer NOT A FLIP (BACK) BUFFER.\n"
            "  WindowsDX: Initialization finished OK.\n  ");
}

TEST(Startup, InitializeEmptiesALogLeftFromBefore) {
  {
    std::ofstream old("debug.txt");
    old << "an earlier run\n";
  }
  UseFreshHeadless();
  Vorn.Initialize(0, 800, 600);
  EXPECT_EQ(ReadDebugLog().rfind("WindowsDX: Initialization started.\n", 0), 0u);
}

}  // namespace
