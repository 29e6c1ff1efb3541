// The browser back end's plain parts: keys, the beat, the held clock, pixels and the queue.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/messages.h"
#include "platform/web/web_beat.h"
#include "platform/web/web_display.h"
#include "platform/web/web_keys.h"
#include "platform/web/web_pixels.h"
#include "platform/web/web_windows.h"

namespace platform::web {
namespace {

TEST(WebKeys, PositionsGiveTheDesktopCodes) {
  const char* codes[] = {"KeyD",    "Digit7", "ArrowLeft", "Space", "F12",
                         "Numpad3", "Key",    "Keyd",      "F13",   "Digit"};
  const int keys[] = {'D', '7', VK_LEFT, VK_SPACE, VK_F1 + 11, 0x63, 0, 0, 0, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(VirtualKeyFromCode(codes[i]), keys[i]) << codes[i];
  // Typed text is ASCII or a control key; the browser keeps its own shortcuts, not the arrows.
  EXPECT_EQ(std::vector<int>(
                {TypedCharacter("d"), TypedCharacter("Enter"), TypedCharacter("ArrowLeft"),
                 TypedCharacter("\xc3\xa9"), BrowserKeepsKey(VK_DOWN, false, false),
                 BrowserKeepsKey('R', true, false), BrowserKeepsKey(VK_F1 + 4, false, false)}),
            std::vector<int>({'d', VK_RETURN, 0, 0, false, true, true}));
}

TEST(WebBeat, SixtyStepsASecondOnAClockThatStandsStillWhileHeld) {
  // Display frames at any rate for ten seconds, with a little jitter.
  for (const double hz : {60.0, 75.0, 120.0, 144.0, 30.0}) {
    StepBeat beat;
    int steps = 0;
    for (int f = 0; f < 10 * hz; ++f) steps += beat.Due(1000.0 * f / hz + (f % 3 ? -0.7 : 0.9));
    EXPECT_NEAR(steps, 600, 1) << hz;
  }
  // At 60 Hz every frame runs exactly one step, jitter or not.
  StepBeat beat;
  for (int frame = 0; frame < 100; ++frame) {
    ASSERT_EQ(beat.Due(frame * StepBeat::kSixtyHertzMs + (frame % 2 ? 1.5 : -1.5)), 1) << frame;
  }
  // A stall does not make the game rush through what nobody saw; the beat then resumes.
  EXPECT_EQ(beat.Due(100 * StepBeat::kSixtyHertzMs + 5000), StepBeat::kMaxSteps);
  EXPECT_EQ(beat.Due(100 * StepBeat::kSixtyHertzMs + 5000 + StepBeat::kSixtyHertzMs), 1);

  // The clock starts held (a page opened out of sight) and counts only the time it is not.
  HeldClock clock(1000.0, true);
  clock.Release(5000.0);
  EXPECT_EQ(clock.Read(5250.5), 250u);
  clock.Hold(6000.0);
  EXPECT_EQ(clock.Read(60000.0), 1000u);
  clock.Release(70000.0);
  EXPECT_EQ(clock.Read(70016.0), 1016u);
}

TEST(WebPixels, ChannelsWidenToFullScale) {
  // Two rows of three, read four pixels apart: the stride's padding is skipped.
  const uint16_t pixels[] = {0xF800, 0x07E0, 0x8410, 0x1234, 0x001F, 0xFFFF, 0x0000, 0x1234};
  std::vector<uint8_t> rgba(2 * 3 * 4);
  RgbaTable().Convert(pixels, 3, 2, 4, rgba.data());
  EXPECT_EQ(rgba, std::vector<uint8_t>({255, 0, 0,   255, 0,   255, 0,   255, 132, 130, 132, 255,
                                        0,   0, 255, 255, 255, 255, 255, 255, 0,   0,   0,   255}));
}

std::vector<uintptr_t> handled;  // message, wparam, message, wparam, ...

TEST(WebWindows, PageEventsReachTheShownWindowInOrder) {
  handled.clear();
  std::string box;
  WebWindows windows(800, 600, [&](auto c, auto t) { box = c + std::string(": ") + t; });
  const auto record = [](Window, uint32_t message, uintptr_t wparam, intptr_t) -> intptr_t {
    handled.insert(handled.end(), {message, wparam});
    return 0;
  };
  ASSERT_EQ(windows.RegisterClass(WindowClass{.proc = record, .class_name = "Vorn"}), 1);
  const Window window = windows.CreateWindow(0, "Vorn", "", 0, 0, 0, 800, 600, nullptr);
  windows.KeyDown('D', 'd');  // no window on the page yet: nowhere to go
  windows.ShowWindow(window, 1);
  windows.KeyDown('D', 'd');
  windows.PageFocus(false);
  EXPECT_EQ(windows.GetForegroundWindow(), nullptr);
  windows.KeyUp('D');  // already released at the blur
  windows.PostQuitMessage(3);
  Message message;
  while (windows.PeekMessage(&message) && message.message != WM_QUIT) {
    windows.TranslateMessage(message);
    windows.DispatchMessage(message);
  }
  EXPECT_EQ(message.wparam, 3u);
  EXPECT_EQ(handled,
            std::vector<uintptr_t>({WM_ACTIVATEAPP, 1, WM_SETFOCUS, 0, WM_KEYDOWN, 'D', WM_CHAR,
                                    'd', WM_KEYUP, 'D', WM_KILLFOCUS, 0, WM_ACTIVATEAPP, 0}));
  EXPECT_EQ(windows.MessageBox(window, "text", "caption", MB_OK), 1);
  EXPECT_EQ(box, "caption: text");
}

SurfaceDesc Request(uint32_t flags, uint32_t caps, int width = 0, int height = 0) {
  return {SURFACE_DESC_SIZE, flags, height, width, 0, 0, caps, {}, nullptr};
}

TEST(WebDisplay, RefusesBadRequestsAndPresentsTheWholePicture) {
  std::vector<uint16_t> shown;
  WebDisplay display(1920, 1200, [&](const uint16_t* pixels, int width, int height, int stride) {
    EXPECT_EQ(std::tie(width, height, stride), std::make_tuple(3, 2, 3));
    shown.assign(pixels, pixels + 6);
  });
  ASSERT_EQ(display.SetCooperativeLevel(reinterpret_cast<Window>(&shown), DDSCL_NORMAL), OK);
  // What the display refuses before it asks for memory, and why.
  constexpr uint32_t kSides = DDSD_WIDTH | DDSD_HEIGHT;
  const std::pair<SurfaceDesc, Result> refused[] = {
      {Request(DDSD_WIDTH, 0, 8, 8), DDERR_INVALIDPARAMS},
      {Request(kSides, DDSCAPS_BACKBUFFER, 8, 8), DDERR_INVALIDCAPS},
      {Request(kSides, 0, 0, 8), DDERR_INVALIDPARAMS},
      {Request(kSides, 0, 8, 8193), DDERR_OUTOFMEMORY},
      {Request(0, DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX), DDERR_NOEXCLUSIVEMODE},
  };
  Surface* screen = nullptr;
  Surface* view = nullptr;
  for (const auto& [desc, refusal] : refused) {
    EXPECT_EQ(display.CreateSurface(desc, &view), refusal) << desc.flags << " " << desc.caps;
    EXPECT_EQ(view, nullptr);
  }
  const SurfaceDesc front = Request(0, DDSCAPS_PRIMARYSURFACE);
  ASSERT_EQ(display.CreateSurface(front, &screen), OK);
  EXPECT_EQ(display.CreateSurface(front, &view), DDERR_PRIMARYSURFACEALREADYEXISTS);
  ASSERT_EQ(display.CreateSurface(Request(kSides, 0, 3, 2), &view), OK);
  SurfaceDesc locked;
  ASSERT_EQ(view->Lock(&locked, 0), OK);
  for (int i = 0; i < 6; ++i) static_cast<uint16_t*>(locked.surface)[i] = static_cast<uint16_t>(i);
  // A picture still being drawn is not shown half-done.
  EXPECT_EQ(screen->BltFast(0, 0, view, 0), DDERR_SURFACEBUSY);
  ASSERT_EQ(view->Unlock(), OK);
  ASSERT_EQ(screen->BltFast(40, 30, view, 0), OK);
  EXPECT_EQ(shown, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5}));
  // An off-screen copy far outside the target is clipped away, not written past it.
  EXPECT_EQ(view->BltFast(-2147483647, 2147483647, screen, 0), OK);
}

}  // namespace
}  // namespace platform::web
