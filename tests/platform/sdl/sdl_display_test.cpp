#include "platform/sdl/sdl_display.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <climits>

#include "platform/sdl/sdl_platform.h"
#include "sdl_test_env.h"

namespace {

using platform::Surface;
using platform::SurfaceDesc;
using platform::Window;
using platform::sdl::FramePacer;
using platform::sdl::SdlDisplay;

intptr_t Quiet(Window, uint32_t, uintptr_t, intptr_t) {
  return 0;
}

SurfaceDesc ScreenRequest(uint32_t caps) {
  SurfaceDesc desc;
  desc.flags = platform::DDSD_CAPS;
  desc.caps = platform::DDSCAPS_PRIMARYSURFACE | caps;
  return desc;
}

SurfaceDesc BackRequest(int width, int height) {
  SurfaceDesc desc;
  desc.flags = platform::DDSD_CAPS | platform::DDSD_WIDTH | platform::DDSD_HEIGHT;
  desc.width = width;
  desc.height = height;
  desc.caps = platform::DDSCAPS_OFFSCREENPLAIN;
  return desc;
}

SurfaceDesc ChainRequest() {
  SurfaceDesc desc = ScreenRequest(platform::DDSCAPS_FLIP | platform::DDSCAPS_COMPLEX);
  desc.flags |= platform::DDSD_BACKBUFFERCOUNT;
  desc.back_buffer_count = 1;
  return desc;
}

class SdlDisplayTest : public SdlDummyTest {
 protected:
  void SetUp() override {
    SdlDummyTest::SetUp();
    platform::WindowClass window_class;
    window_class.proc = Quiet;
    window_class.class_name = "Vorn";
    ASSERT_NE(platform_.windows().RegisterClass(window_class), 0);
    window_ = platform_.windows().CreateWindow(0, "Vorn", "", platform::WS_SYSMENU, 112, 84, 800,
                                               600, nullptr);
    ASSERT_NE(window_, nullptr);
    platform_.windows().ShowWindow(window_, 1);
    platform::Display* display = nullptr;
    ASSERT_EQ(platform_.CreateDisplay(&display), platform::OK);
    display_ = static_cast<SdlDisplay*>(display);
  }

  // The windowed pair the engine makes: the screen and an 800 x 600 back buffer.
  void MakeWindowedPair(SdlDisplay* display) {
    ASSERT_EQ(display->SetCooperativeLevel(window_, platform::DDSCL_NORMAL), platform::OK);
    ASSERT_EQ(display->CreateSurface(ScreenRequest(platform::DDSCAPS_VIDEOMEMORY), &front_),
              platform::OK);
    ASSERT_EQ(display->CreateSurface(BackRequest(800, 600), &back_), platform::OK);
  }

  // Draws into a surface through a lock, one value per pixel from its position.
  template <typename Fn>
  void Fill(Surface* surface, Fn colour) {
    SurfaceDesc desc;
    ASSERT_EQ(surface->Lock(&desc, platform::DDLOCK_WAIT), platform::OK);
    auto* pixels = static_cast<uint16_t*>(desc.surface);
    for (int y = 0; y < desc.height; ++y) {
      for (int x = 0; x < desc.width; ++x) pixels[y * (desc.pitch / 2) + x] = colour(x, y);
    }
    ASSERT_EQ(surface->Unlock(), platform::OK);
  }

  // Expects the window to show about `rgb` at (x, y): widening 5 and 6 bits to 8 may round
  // either way, depending on the renderer.
  void ExpectShown(int x, int y, uint32_t rgb) {
    SDL_Renderer* renderer = platform_.windows().AcquireRenderer(window_);
    uint32_t shown = 0;
    const SDL_Rect rect{x, y, 1, 1};
    ASSERT_EQ(SDL_RenderReadPixels(renderer, &rect, SDL_PIXELFORMAT_RGB888, &shown, 4), 0);
    platform_.windows().ReleaseRenderer(window_);
    for (int shift : {16, 8, 0}) {
      EXPECT_NEAR(static_cast<int>((shown >> shift) & 0xFF),
                  static_cast<int>((rgb >> shift) & 0xFF), 4)
          << "(" << x << ", " << y << ") shows 0x" << std::hex << (shown & 0xFFFFFF);
    }
  }

  platform::sdl::SdlPlatform platform_;
  Window window_ = nullptr;
  SdlDisplay* display_ = nullptr;
  Surface* front_ = nullptr;
  Surface* back_ = nullptr;
};

TEST_F(SdlDisplayTest, TheFiveSixFiveViewIsShownConvertedInTheWindow) {
  MakeWindowedPair(display_);
  SurfaceDesc back;
  ASSERT_EQ(back_->GetSurfaceDesc(&back), platform::OK);
  EXPECT_EQ(back.pitch, 1600);
  EXPECT_EQ(back.pixel_format.red_mask, 0xF800u);
  EXPECT_EQ(back.pixel_format.green_mask, 0x07E0u);
  EXPECT_EQ(back.pixel_format.blue_mask, 0x001Fu);

  // Six colour bands, and a white marker pixel in the black band that checks rows and columns
  // land where they belong.
  const uint16_t bands[] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410};
  Fill(back_, [&](int x, int y) -> uint16_t {
    return x == 450 && y == 500 ? 0xFFFF : bands[x / 100 % 6];
  });
  ASSERT_EQ(front_->BltFast(112, 84, back_, platform::DDBLTFAST_WAIT), platform::OK);
  EXPECT_EQ(platform_.FramesPresented(), 1u);
  const uint32_t rgb[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x848284};
  for (int band = 0; band < 6; ++band) ExpectShown(band * 100 + 50, 300, rgb[band]);
  ExpectShown(450, 500, 0xFFFFFF);
  ExpectShown(451, 500, 0x000000);
  ExpectShown(450, 501, 0x000000);
}

TEST_F(SdlDisplayTest, AFrameStillLockedIsNotShownAndAReleasedSurfaceRefusesEverything) {
  MakeWindowedPair(display_);
  SurfaceDesc desc;
  ASSERT_EQ(back_->Lock(&desc, platform::DDLOCK_WAIT), platform::OK);
  EXPECT_EQ(back_->Lock(&desc, platform::DDLOCK_WAIT), platform::DDERR_SURFACEBUSY);
  EXPECT_EQ(front_->BltFast(0, 0, back_, platform::DDBLTFAST_WAIT), platform::DDERR_SURFACEBUSY);
  EXPECT_EQ(platform_.FramesPresented(), 0u);
  EXPECT_EQ(back_->Unlock(), platform::OK);
  EXPECT_EQ(back_->Unlock(), platform::DDERR_NOTLOCKED);
  back_->Release();
  EXPECT_EQ(back_->Lock(&desc, platform::DDLOCK_WAIT), platform::DDERR_INVALIDOBJECT);
  EXPECT_EQ(front_->BltFast(0, 0, back_, platform::DDBLTFAST_WAIT), platform::DDERR_INVALIDOBJECT);
}

TEST_F(SdlDisplayTest, CopiesBetweenMemorySurfacesAreClippedToTheDestination) {
  Surface* from = nullptr;
  Surface* to = nullptr;
  ASSERT_EQ(display_->CreateSurface(BackRequest(4, 4), &from), platform::OK);
  ASSERT_EQ(display_->CreateSurface(BackRequest(8, 8), &to), platform::OK);
  Fill(from, [](int x, int y) -> uint16_t { return static_cast<uint16_t>(1 + y * 4 + x); });
  Fill(to, [](int, int) -> uint16_t { return 0; });
  ASSERT_EQ(to->BltFast(6, -2, from, platform::DDBLTFAST_WAIT), platform::OK);
  EXPECT_EQ(to->BltFast(INT_MIN, INT_MAX, from, platform::DDBLTFAST_WAIT), platform::OK);
  SurfaceDesc desc;
  ASSERT_EQ(to->Lock(&desc, platform::DDLOCK_WAIT), platform::OK);
  const auto* pixels = static_cast<const uint16_t*>(desc.surface);
  const int stride = desc.pitch / 2;
  // Source rows 2 and 3, columns 0 and 1, land at (6, 0) to (7, 1); nothing else changes.
  EXPECT_EQ(pixels[0 * stride + 6], 9);
  EXPECT_EQ(pixels[1 * stride + 7], 14);
  int changed = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) changed += pixels[y * stride + x] != 0 ? 1 : 0;
  }
  EXPECT_EQ(changed, 4);
  ASSERT_EQ(to->Unlock(), platform::OK);
}

TEST_F(SdlDisplayTest, FullScreenChainFlipsItsBackBufferAndLeavesFullScreenOnRelease) {
  ASSERT_EQ(display_->SetCooperativeLevel(window_,
                                          platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE),
            platform::OK);
  EXPECT_EQ(display_->SetDisplayMode(640, 480, 32), platform::DDERR_UNSUPPORTEDMODE);
  ASSERT_EQ(display_->SetDisplayMode(640, 480, 16), platform::OK);
  ASSERT_EQ(display_->CreateSurface(ChainRequest(), &front_), platform::OK);
  ASSERT_EQ(front_->GetAttachedSurface(platform::DDSCAPS_BACKBUFFER, &back_), platform::OK);
  SurfaceDesc back;
  ASSERT_EQ(back_->GetSurfaceDesc(&back), platform::OK);
  EXPECT_EQ(back.width, 640);
  EXPECT_EQ(back.height, 480);
  EXPECT_NE(back.caps & platform::DDSCAPS_BACKBUFFER, 0u);
  Fill(back_, [](int, int) -> uint16_t { return 0x001F; });
  ASSERT_EQ(front_->Flip(platform::DDFLIP_WAIT), platform::OK);
  EXPECT_EQ(platform_.FramesPresented(), 1u);
  back_->Release();
  front_->Release();
  display_->Release();
  EXPECT_EQ(SDL_GetWindowFlags(platform_.windows().SdlWindow(window_)) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(SdlDisplayTest, FramesDrawnButNotShownAreStillPaced) {
  // A pacer that never really sleeps; its frame count says how often a frame waited its turn.
  SdlDisplay display(platform_.windows(),
                     FramePacer(
                         FramePacer::kSixtyHertz, [] { return FramePacer::Duration{0}; },
                         [](FramePacer::Duration) {}));
  MakeWindowedPair(&display);
  auto frame = [&](bool shown) {
    SurfaceDesc desc;
    ASSERT_EQ(back_->Lock(&desc, platform::DDLOCK_WAIT), platform::OK);
    ASSERT_EQ(back_->Unlock(), platform::OK);
    if (shown) {
      ASSERT_EQ(front_->BltFast(0, 0, back_, platform::DDBLTFAST_WAIT), platform::OK);
    }
  };
  for (int i = 0; i < 3; ++i) frame(true);
  EXPECT_EQ(display.pacer().Frames(), 3u);  // one beat per shown frame, none extra on the lock
  for (int i = 0; i < 3; ++i) frame(false);
  // The lock after a shown frame goes at once; each lock after an unshown frame waits.
  EXPECT_EQ(display.pacer().Frames(), 5u);
}

TEST_F(SdlDisplayTest, AWindowDestroyedUnderItsScreenStaysUntilTheScreenIsReleased) {
  MakeWindowedPair(display_);
  const uint32_t id = SDL_GetWindowID(platform_.windows().SdlWindow(window_));
  ASSERT_EQ(platform_.windows().DestroyWindow(window_), 1);
  // The engine may present once more between the close and its clean-up; it must land safely.
  EXPECT_NE(SDL_GetWindowFromID(id), nullptr);
  EXPECT_EQ(front_->BltFast(0, 0, back_, platform::DDBLTFAST_WAIT), platform::OK);
  back_->Release();
  front_->Release();
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);
}

}  // namespace
