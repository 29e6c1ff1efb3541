// Start-up: every status a start can end with, its report, the log it writes, the error table,
// and the entry's message loop.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "core_test.h"
#include "engine/core/hooks.h"
#include "engine/core/vorn.h"
#include "support/headless_engine.h"

void GameInit() {
  ++test_game().init_calls;
  if (test_game().init) test_game().init();
}

int GameRun() {
  ++test_game().run_calls;
  if (test_game().run) test_game().run();
  return 1;
}

namespace {

using platform::headless::HeadlessPlatform;
using platform::headless::Op;

const std::string kStarted = "WindowsDX: Initialization started.\n  ";
const std::string kWindowedSurfaces =
    "WinDX:: Front Buffer is in video memory.\n  WinDX:: Back Buffer is in video memory.\n"
    "  WinDX:: Back Buffer NOT A FLIP (BACK) BUFFER.\n  ";
const std::string kFinished = "WindowsDX: Initialization finished OK.\n  ";

TEST(Startup, EachFailingStageLeavesItsCodeAndWinMainReportsIt) {
  using namespace platform;
  // The operation told to fail (kCount: none) with its result, count and skip; the status; the
  // windows made before the failure; the report's line; what is logged between the first line
  // and the report; the desktop.
  // clang-format off
  const struct { int fullscreen; Op op; Result result; int count, skip, status; std::size_t windows; const char* line; std::string logged = ""; int desktop_width = 1024, desktop_depth = 16; } stages[] = {
      {0, Op::kRegisterClass, E_FAIL, 1, 0, 1, 0, "INITCLASS_FAILED (Cannot Initialize Window Class)"},
      {0, Op::kCreateWindow, E_FAIL, 1, 1, 5, 1, "INITWINREAL_FAILED (Cannot Initialize Main Window)"},
      {0, Op::kUpdateWindow, E_FAIL, 1, 0, 7, 2, "SHOWWIN_FAILED (Unable to show Main Window)"},
      {0, Op::kCreateDisplay, DDERR_GENERIC, 1, 0, 9, 2, "DDSTART_FAILED (Unable to start DirectX)"},
      {1, Op::kSetDisplayMode, DDERR_GENERIC, 1, 0, 13, 2, "SETMODE_FAILED (Unable to set screen mode)"},
      {0, Op::kCreateSurface, DDERR_OUTOFMEMORY, 2, 0, 15, 2, "FRONTSURFACE_FAILED (Unable to create primary surface)"},
      {0, Op::kCreateSurface, DDERR_OUTOFMEMORY, 2, 1, 17, 2, "BACKSURFACE_FAILED (Unable to create secondary surface)"},
      {0, Op::kGetSurfaceDesc, DDERR_GENERIC, 1, 1, 17, 2, "BACKSURFACE_FAILED (Unable to create secondary surface)",
       "WinDX:: Front Buffer is in video memory.\n  WinDX:: Back Buffer NOT IN VIDEO MEMORY.\n  WinDX:: Back Buffer NOT A FLIP (BACK) BUFFER.\n  "},
      {0, Op::kCount, OK, 0, 0, 21, 0, "REQSIZE_FAILED (Requested size too large)", "", 799},
      {0, Op::kCount, OK, 0, 0, 22, 0, "BPP_FAILED (Screen depth not supported)", "", 1024, 32},
      {0, Op::kCreateSound, DSERR_NODRIVER, 1, 0, 23, 2, "SOUNDINIT_FAILED (Unable to initialize Direct Sound)", kWindowedSurfaces},
      {0, Op::kSoundCooperativeLevel, DSERR_INVALIDPARAM, 1, 0, 24, 2, "SOUNDCOOP_FAILED (Unable to set Direct Sound Cooperative Level", kWindowedSurfaces}};
  // clang-format on
  for (const auto& stage : stages) {
    SCOPED_TRACE(stage.status);
    HeadlessPlatform& headless = UseFreshHeadless({.desktop_width = stage.desktop_width,
                                                   .desktop_depth = stage.desktop_depth,
                                                   .close_after_idle_polls = 1});
    if (stage.op != Op::kCount) headless.Fail(stage.op, stage.result, stage.count, stage.skip);
    test_game() = {};
    bool started = true;
    test_game().init = [&] { started = Vorn.Initialize(stage.fullscreen, 800, 600); };
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), -1);
    EXPECT_EQ(std::tuple(started, Vorn.status, test_game().run_calls, headless.WindowCount()),
              std::tuple(false, stage.status, 0, stage.windows));
    ExpectReported(headless, std::string("Error: ") + stage.line, LookUpError(stage.status).advice,
                   kStarted + stage.logged);
    // No CleanUp on this path; only a sound object without its level is let go.
    EXPECT_EQ(std::tuple(headless.DisplayReleased(), headless.SoundReleased(), Vorn.ds),
              std::tuple(false, stage.status == ERR_SOUNDCOOP, nullptr));
  }
}

// The draw routines write clip_right + 1 pixels a row and clip_bottom + 1 rows into the view: a
// back buffer narrower or lower than that is refused rather than drawn past.
TEST(Startup, ABackBufferSmallerThanTheViewIsRefused) {
  for (const auto& [wider, higher] : {std::pair{1, 0}, {0, 1}, {0, 0}}) {
    StartHeadlessEngine();
    Vorn.clip_right += wider;
    Vorn.clip_bottom += higher;
    EXPECT_EQ(Vorn.CreateSurface(), wider + higher == 0);
    EXPECT_EQ(Vorn.status, wider + higher == 0 ? STATUS_RUNNING : ERR_BACKSURFACE);
  }
}

TEST(Startup, AStartNeverRunOrWithoutAPlatformFailsCleanly) {
  HeadlessPlatform& headless = UseFreshHeadless();
  test_game() = {};
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), -1);
  EXPECT_EQ(std::pair(Vorn.status, test_game().run_calls), std::pair(int{ERR_NO_INIT}, 0));
  EXPECT_EQ(headless.MessageBoxes().size(), 1u);

  ResetEngine();
  test_game().init = [] { Vorn.Initialize(0, 800, 600); };
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), -1);
  EXPECT_EQ(Vorn.status, ERR_INITCLASS);
  EXPECT_EQ(ReadDebugLog(),
            kStarted + "Vorn Error: INITCLASS_FAILED (Cannot Initialize Window Class)\n  ");
}

// The entry with a game that starts the engine as the game does.
platform::headless::HeadlessPlatform& StartGame() {
  HeadlessPlatform& headless = UseFreshHeadless();
  test_game() = {};
  test_game().init = [] { Vorn.Initialize(0, 800, 600); };
  return headless;
}

// A normal start, over the log of an earlier run, then frames until the window is closed.
TEST(WinMain, NormalStartRunsFramesAndCloseEndsWithZeroAfterCleanUp) {
  sound_files::WriteFile("debug.txt", "an earlier run\n");
  HeadlessPlatform& headless = StartGame();
  int frames_with_surfaces = 0;
  test_game().run = [&] {
    if (Vorn.dd_back != nullptr) ++frames_with_surfaces;
    if (test_game().run_calls == 3) headless.PostClose();
  };
  int instance = 0;
  EXPECT_EQ(WinMain(&instance, nullptr, nullptr, 5), 0);
  EXPECT_EQ(std::tuple(Vorn.instance, headless.FindWindow(Vorn.hwnd)->show_cmd,
                       test_game().init_calls, test_game().run_calls, frames_with_surfaces),
            std::tuple(&instance, 5, 1, 3, 3));
  EXPECT_EQ(ReadDebugLog(), kStarted + kWindowedSurfaces + kFinished);
  EXPECT_EQ(std::pair(headless.SoundCooperativeLevel(), headless.MessageBoxes().size()),
            std::pair(platform::DSSCL_NORMAL, std::size_t{0}));
  // CleanUp let go of the display and its surfaces, and cleared them: a second one does nothing.
  // The sound object is not part of the display.
  EXPECT_TRUE(Vorn.dd == nullptr && Vorn.dd_front == nullptr && Vorn.dd_back == nullptr);
  Vorn.CleanUp();
  EXPECT_EQ(std::tuple(headless.DisplayReleased(), headless.LiveSurfaces(),
                       headless.ReleaseErrors(), headless.SoundReleased()),
            std::tuple(true, 0, 0, false));
}

TEST(WinMain, WaitingMessagesAreAllHandledBeforeTheNextFrame) {
  HeadlessPlatform& headless = StartGame();
  for (int key = 'A'; key <= 'E'; ++key) headless.PostKeyDown(key);
  int keys_down_at_first_frame = 0;
  test_game().run = [&] {
    EXPECT_EQ(headless.PendingMessages(), 0u);
    for (int key = 'A'; key <= 'E'; ++key) keys_down_at_first_frame += Vorn.keys[key];
    headless.PostClose();
  };
  EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, 1), 0);
  EXPECT_EQ(keys_down_at_first_frame, 5);
  // The loop translated the letters into typed characters as well.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(Vorn.char_buf), Vorn.char_count), "abcde");
}

}  // namespace
