// The browser back end's plain parts: keys, the beat, the held clock, pixels and the queue.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>
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
  const std::vector<std::tuple<const char*, int>> cases = {{"KeyD", 'D'},
                                                           {"KeyF", 'F'},
                                                           {"Digit7", '7'},
                                                           {"ArrowLeft", VK_LEFT},
                                                           {"ArrowRight", VK_RIGHT},
                                                           {"Space", VK_SPACE},
                                                           {"F12", VK_F1 + 11},
                                                           {"Numpad3", 0x63},
                                                           {"Semicolon", VK_OEM_1},
                                                           {"Key", 0},
                                                           {"Keyd", 0},
                                                           {"F13", 0},
                                                           {"Digit", 0},
                                                           {"Unidentified", 0}};
  for (const auto& [code, key] : cases) EXPECT_EQ(VirtualKeyFromCode(code), key) << code;
  EXPECT_EQ(TypedCharacter("d"), 'd');
  EXPECT_EQ(TypedCharacter("Enter"), VK_RETURN);
  EXPECT_EQ(TypedCharacter("ArrowLeft"), 0);
  EXPECT_EQ(TypedCharacter("\xc3\xa9"), 0);  // not ASCII
  EXPECT_FALSE(BrowserKeepsKey(VK_DOWN, false, false));
  EXPECT_TRUE(BrowserKeepsKey('R', true, false));
  EXPECT_TRUE(BrowserKeepsKey(VK_F1 + 4, false, false));
}

// Display frames at `hertz` for ten seconds, with a little jitter: the steps they run.
int StepsInTenSeconds(double hertz) {
  StepBeat beat;
  int steps = 0;
  for (int frame = 0; frame < 10 * hertz; ++frame) {
    steps += beat.Due(1000.0 * frame / hertz + (frame % 3 == 0 ? 0.9 : -0.7));
  }
  return steps;
}

TEST(WebBeat, SixtyStepsASecondAtAnyRefreshRate) {
  for (const double hertz : {60.0, 75.0, 120.0, 144.0, 30.0}) {
    EXPECT_NEAR(StepsInTenSeconds(hertz), 600, 1) << hertz;
  }
  // At 60 Hz every frame runs exactly one step, jitter or not.
  StepBeat beat;
  for (int frame = 0; frame < 100; ++frame) {
    ASSERT_EQ(beat.Due(frame * StepBeat::kSixtyHertzMs + (frame % 2 ? 1.5 : -1.5)), 1) << frame;
  }
  // A stall does not make the game rush through what nobody saw; the beat then resumes.
  EXPECT_EQ(beat.Due(100 * StepBeat::kSixtyHertzMs + 5000), StepBeat::kMaxSteps);
  EXPECT_EQ(beat.Due(100 * StepBeat::kSixtyHertzMs + 5000 + StepBeat::kSixtyHertzMs), 1);
}

TEST(WebBeat, ClockStandsStillWhileHeld) {
  HeldClock clock(1000.0, true);
  EXPECT_EQ(clock.Read(5000.0), 0u);
  clock.Release(5000.0);
  EXPECT_EQ(clock.Read(5250.5), 250u);
  clock.Hold(6000.0);
  EXPECT_EQ(clock.Read(60000.0), 1000u);
  clock.Release(70000.0);
  EXPECT_EQ(clock.Read(70016.0), 1016u);
}

TEST(WebPixels, ChannelsWidenToFullScale) {
  const RgbaTable table;
  const uint16_t pixels[] = {0xF800, 0x07E0, 0x001F, 0x8410, 0xFFFF, 0x0000, 0x1234, 0x1234};
  uint8_t rgba[2 * 2 * 4];
  // Two rows of two, read four pixels apart: the stride's padding is skipped.
  table.Convert(pixels, 2, 2, 4, rgba);
  const std::vector<uint8_t> expected = {255, 0,   0,   255, 0, 255, 0, 255,
                                         255, 255, 255, 255, 0, 0,   0, 255};
  EXPECT_EQ(std::vector<uint8_t>(rgba, rgba + 16), expected);
  uint8_t grey[4];
  table.Convert(&pixels[3], 1, 1, 1, grey);
  EXPECT_EQ(std::vector<uint8_t>(grey, grey + 4), (std::vector<uint8_t>{132, 130, 132, 255}));
}

std::vector<std::tuple<uint32_t, uintptr_t>> Handled;
intptr_t Record(Window, uint32_t message, uintptr_t wparam, intptr_t) {
  Handled.emplace_back(message, wparam);
  return 0;
}

TEST(WebWindows, PageEventsReachTheShownWindowInOrder) {
  Handled.clear();
  std::vector<std::string> boxes;
  WebWindows windows(800, 600, [&](const char* caption, const char* text) {
    boxes.push_back(std::string(caption) + ": " + text);
  });
  WindowClass window_class;
  window_class.proc = Record;
  window_class.class_name = "Vorn";
  ASSERT_EQ(windows.RegisterClass(window_class), 1);
  const Window window = windows.CreateWindow(0, "Vorn", "", 0, 0, 0, 800, 600, nullptr);
  windows.KeyDown('D', 'd');  // no window on the page yet: nowhere to go
  windows.ShowWindow(window, 1);
  EXPECT_EQ(windows.GetForegroundWindow(), window);
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
  const std::vector<std::tuple<uint32_t, uintptr_t>> expected = {
      {WM_ACTIVATEAPP, 1}, {WM_SETFOCUS, 0},  {WM_KEYDOWN, 'D'},  {WM_CHAR, 'd'},
      {WM_KEYUP, 'D'},     {WM_KILLFOCUS, 0}, {WM_ACTIVATEAPP, 0}};
  EXPECT_EQ(Handled, expected);
  EXPECT_EQ(windows.MessageBox(window, "text", "caption", MB_OK), 1);
  EXPECT_EQ(boxes, std::vector<std::string>{"caption: text"});
}

TEST(WebDisplay, CopyToTheScreenPresentsTheWholePicture) {
  std::vector<uint16_t> shown;
  WebDisplay display(1920, 1200, [&](const uint16_t* pixels, int width, int height, int stride) {
    EXPECT_EQ(std::tie(width, height, stride), std::make_tuple(3, 2, 3));
    shown.assign(pixels, pixels + 6);
  });
  ASSERT_EQ(display.SetCooperativeLevel(reinterpret_cast<Window>(&shown), DDSCL_NORMAL), OK);
  SurfaceDesc front;
  front.caps = DDSCAPS_PRIMARYSURFACE;
  Surface* screen = nullptr;
  ASSERT_EQ(display.CreateSurface(front, &screen), OK);
  Surface* second = nullptr;
  EXPECT_EQ(display.CreateSurface(front, &second), DDERR_PRIMARYSURFACEALREADYEXISTS);
  SurfaceDesc back;
  back.flags = DDSD_WIDTH | DDSD_HEIGHT;
  back.width = 3;
  back.height = 2;
  Surface* view = nullptr;
  ASSERT_EQ(display.CreateSurface(back, &view), OK);
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

// What the display refuses before it asks for memory, and why.
TEST(WebDisplay, RefusesIncompleteAndOversizedRequests) {
  WebDisplay display(1920, 1200, [](const uint16_t*, int, int, int) {});
  int window = 0;
  ASSERT_EQ(display.SetCooperativeLevel(reinterpret_cast<Window>(&window), DDSCL_NORMAL), OK);
  const auto request = [](uint32_t flags, uint32_t caps, int width, int height) {
    SurfaceDesc d;
    std::tie(d.flags, d.caps, d.width, d.height) = std::tie(flags, caps, width, height);
    return d;
  };
  constexpr uint32_t kSides = DDSD_WIDTH | DDSD_HEIGHT;
  const std::pair<SurfaceDesc, Result> cases[] = {
      {request(DDSD_WIDTH, 0, 8, 8), DDERR_INVALIDPARAMS},
      {request(kSides, DDSCAPS_BACKBUFFER, 8, 8), DDERR_INVALIDCAPS},
      {request(kSides, 0, 0, 8), DDERR_INVALIDPARAMS},
      {request(kSides, 0, 8, 8193), DDERR_OUTOFMEMORY},
      {request(0, DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 0, 0),
       DDERR_NOEXCLUSIVEMODE},
  };
  for (const auto& [desc, refusal] : cases) {
    Surface* surface = nullptr;
    EXPECT_EQ(display.CreateSurface(desc, &surface), refusal) << desc.flags << " " << desc.caps;
    EXPECT_EQ(surface, nullptr);
  }
}

}  // namespace
}  // namespace platform::web
