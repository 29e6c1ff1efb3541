#include "platform/sdl/sdl_display.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/backends.h"
#include "platform/sdl/sdl_platform.h"
#include "sdl_test_env.h"

namespace {

using platform::Result;
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
  desc.caps = caps;
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
  SurfaceDesc desc;
  desc.flags = platform::DDSD_CAPS | platform::DDSD_BACKBUFFERCOUNT;
  desc.back_buffer_count = 1;
  desc.caps = platform::DDSCAPS_PRIMARYSURFACE | platform::DDSCAPS_FLIP | platform::DDSCAPS_COMPLEX;
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
  void MakeWindowedPair() {
    ASSERT_EQ(display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL), platform::OK);
    ASSERT_EQ(display_->CreateSurface(
                  ScreenRequest(platform::DDSCAPS_PRIMARYSURFACE | platform::DDSCAPS_VIDEOMEMORY),
                  &front_),
              platform::OK);
    ASSERT_EQ(display_->CreateSurface(BackRequest(800, 600), &back_), platform::OK);
  }

  // Fills the back buffer through a lock, one value per pixel from its position.
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

  // What the window shows at (x, y), as 0xRRGGBB.
  uint32_t ShownPixel(int x, int y) {
    SDL_Renderer* renderer = platform_.windows().AcquireRenderer(window_);
    uint32_t pixel = 0;
    const SDL_Rect rect{x, y, 1, 1};
    EXPECT_EQ(SDL_RenderReadPixels(renderer, &rect, SDL_PIXELFORMAT_RGB888, &pixel, 4), 0);
    platform_.windows().ReleaseRenderer(window_);
    return pixel & 0xFFFFFF;
  }

  platform::sdl::SdlPlatform platform_;
  Window window_ = nullptr;
  SdlDisplay* display_ = nullptr;
  Surface* front_ = nullptr;
  Surface* back_ = nullptr;
};

TEST_F(SdlDisplayTest, WindowedPairDescribesItselfAsSixteenBitFiveSixFive) {
  MakeWindowedPair();
  SurfaceDesc front;
  ASSERT_EQ(front_->GetSurfaceDesc(&front), platform::OK);
  EXPECT_NE(front.caps & platform::DDSCAPS_VIDEOMEMORY, 0u);
  EXPECT_NE(front.caps & platform::DDSCAPS_PRIMARYSURFACE, 0u);
  EXPECT_EQ(front.width, platform_.windows().DesktopWidth());

  SurfaceDesc back;
  ASSERT_EQ(back_->GetSurfaceDesc(&back), platform::OK);
  EXPECT_EQ(back.width, 800);
  EXPECT_EQ(back.height, 600);
  EXPECT_EQ(back.pitch, 1600);
  EXPECT_EQ(back.pixel_format.rgb_bit_count, 16u);
  EXPECT_EQ(back.pixel_format.red_mask, 0xF800u);
  EXPECT_EQ(back.pixel_format.green_mask, 0x07E0u);
  EXPECT_EQ(back.pixel_format.blue_mask, 0x001Fu);
  EXPECT_EQ(back.caps & (platform::DDSCAPS_VIDEOMEMORY | platform::DDSCAPS_BACKBUFFER), 0u);

  // Rows start on 4-byte boundaries: an odd width gets a wider pitch.
  Surface* odd = nullptr;
  ASSERT_EQ(display_->CreateSurface(BackRequest(801, 3), &odd), platform::OK);
  SurfaceDesc odd_desc;
  ASSERT_EQ(odd->GetSurfaceDesc(&odd_desc), platform::OK);
  EXPECT_EQ(odd_desc.pitch, 1604);
}

TEST_F(SdlDisplayTest, RefusedRequests) {
  Surface* surface = nullptr;
  // Nothing on screen before the cooperative level says which window.
  EXPECT_EQ(display_->CreateSurface(ScreenRequest(platform::DDSCAPS_PRIMARYSURFACE), &surface),
            platform::DDERR_NOCOOPERATIVELEVELSET);
  EXPECT_EQ(display_->SetCooperativeLevel(nullptr, platform::DDSCL_NORMAL),
            platform::DDERR_INVALIDPARAMS);
  EXPECT_EQ(display_->SetCooperativeLevel(window_, platform::DDSCL_FULLSCREEN),
            platform::DDERR_INVALIDPARAMS);
  ASSERT_EQ(display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL), platform::OK);
  EXPECT_EQ(display_->SetDisplayMode(640, 480, 16), platform::DDERR_NOEXCLUSIVEMODE);
  EXPECT_EQ(display_->CreateSurface(ChainRequest(), &surface), platform::DDERR_NOEXCLUSIVEMODE);
  EXPECT_EQ(display_->CreateSurface(BackRequest(0, 600), &surface), platform::DDERR_INVALIDPARAMS);
  EXPECT_EQ(display_->CreateSurface(BackRequest(800, -1), &surface), platform::DDERR_INVALIDPARAMS);
  EXPECT_EQ(display_->CreateSurface(BackRequest(20000, 20000), &surface),
            platform::DDERR_OUTOFMEMORY);
  EXPECT_EQ(surface, nullptr);
  ASSERT_EQ(display_->CreateSurface(ScreenRequest(platform::DDSCAPS_PRIMARYSURFACE), &surface),
            platform::OK);
  Surface* second = nullptr;
  EXPECT_EQ(display_->CreateSurface(ScreenRequest(platform::DDSCAPS_PRIMARYSURFACE), &second),
            platform::DDERR_PRIMARYSURFACEALREADYEXISTS);
  // Once the screen is released, another may be made.
  surface->Release();
  EXPECT_EQ(display_->CreateSurface(ScreenRequest(platform::DDSCAPS_PRIMARYSURFACE), &second),
            platform::OK);
  SurfaceDesc stray;
  stray.size = 0;
  EXPECT_EQ(second->GetSurfaceDesc(&stray), platform::DDERR_INVALIDPARAMS);
}

TEST_F(SdlDisplayTest, LockingRules) {
  MakeWindowedPair();
  SurfaceDesc desc;
  ASSERT_EQ(back_->Lock(&desc, platform::DDLOCK_WAIT), platform::OK);
  EXPECT_NE(desc.surface, nullptr);
  EXPECT_EQ(desc.pitch, 1600);
  SurfaceDesc again;
  EXPECT_EQ(back_->Lock(&again, platform::DDLOCK_WAIT), platform::DDERR_SURFACEBUSY);
  // A frame still being drawn is not shown.
  EXPECT_EQ(front_->BltFast(0, 0, back_, platform::DDBLTFAST_WAIT), platform::DDERR_SURFACEBUSY);
  EXPECT_EQ(display_->FramesPresented(), 0u);
  EXPECT_EQ(back_->Unlock(), platform::OK);
  EXPECT_EQ(back_->Unlock(), platform::DDERR_NOTLOCKED);
  EXPECT_EQ(back_->Flip(platform::DDFLIP_WAIT), platform::DDERR_NOTFLIPPABLE);
  EXPECT_EQ(front_->Flip(platform::DDFLIP_WAIT), platform::DDERR_NOTFLIPPABLE);
  Surface* attached = nullptr;
  EXPECT_EQ(front_->GetAttachedSurface(platform::DDSCAPS_BACKBUFFER, &attached),
            platform::DDERR_NOTFOUND);
  EXPECT_EQ(back_->IsLost(), platform::OK);  // SDL never loses surfaces
  back_->Release();
  EXPECT_EQ(back_->Lock(&desc, platform::DDLOCK_WAIT), platform::DDERR_INVALIDOBJECT);
  EXPECT_EQ(front_->BltFast(0, 0, back_, platform::DDBLTFAST_WAIT), platform::DDERR_INVALIDOBJECT);
  back_->Release();  // a second release is harmless
}

TEST_F(SdlDisplayTest, PresentationShowsTheSixteenBitViewInTheWindow) {
  MakeWindowedPair();
  // Six colour bands across, and a one-pixel white marker in the black band that checks rows
  // and columns land where they belong.
  const uint16_t bands[] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410};
  Fill(back_, [&](int x, int y) -> uint16_t {
    if (x == 450 && y == 500) return 0xFFFF;
    return bands[x / 100 % 6];
  });
  ASSERT_EQ(front_->BltFast(112, 84, back_, platform::DDBLTFAST_WAIT), platform::OK);
  EXPECT_EQ(display_->FramesPresented(), 1u);
  // 5 and 6 bits widened to 8 may round either way, depending on the renderer.
  auto expect_shown = [&](int x, int y, uint32_t expected) {
    const uint32_t shown = ShownPixel(x, y);
    for (int shift : {16, 8, 0}) {
      EXPECT_NEAR(static_cast<int>((shown >> shift) & 0xFF),
                  static_cast<int>((expected >> shift) & 0xFF), 4)
          << "(" << x << ", " << y << ") shows 0x" << std::hex << shown;
    }
  };
  const uint32_t expected[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x848284};
  for (int band = 0; band < 6; ++band) expect_shown(band * 100 + 50, 300, expected[band]);
  expect_shown(450, 500, 0xFFFFFF);
  expect_shown(451, 500, 0x000000);
  expect_shown(450, 501, 0x000000);
}

TEST_F(SdlDisplayTest, FullScreenChainFlipsItsBackBuffer) {
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
  EXPECT_EQ(display_->FramesPresented(), 1u);
  back_->Release();
  front_->Release();
  display_->Release();
  EXPECT_EQ(SDL_GetWindowFlags(platform_.windows().SdlWindow(window_)) & SDL_WINDOW_FULLSCREEN, 0u);
  Surface* after = nullptr;
  EXPECT_EQ(display_->CreateSurface(BackRequest(8, 8), &after), platform::DDERR_INVALIDOBJECT);
}

TEST_F(SdlDisplayTest, FramesDrawnButNotShownAreStillPaced) {
  // A pacer that never really sleeps; its frame count tells how often a frame waited its turn.
  int waits = 0;
  SdlDisplay display(platform_.windows(),
                     FramePacer(
                         FramePacer::kSixtyHertz, [] { return FramePacer::Duration{0}; },
                         [](FramePacer::Duration) {}));
  ASSERT_EQ(display.SetCooperativeLevel(window_, platform::DDSCL_NORMAL), platform::OK);
  ASSERT_EQ(display.CreateSurface(ScreenRequest(platform::DDSCAPS_PRIMARYSURFACE), &front_),
            platform::OK);
  ASSERT_EQ(display.CreateSurface(BackRequest(64, 64), &back_), platform::OK);
  auto frame = [&](bool shown) {
    SurfaceDesc desc;
    ASSERT_EQ(back_->Lock(&desc, platform::DDLOCK_WAIT), platform::OK);
    ASSERT_EQ(back_->Unlock(), platform::OK);
    if (shown) {
      ASSERT_EQ(front_->BltFast(0, 0, back_, platform::DDBLTFAST_WAIT), platform::OK);
    }
    waits = static_cast<int>(display.pacer().Frames());
  };
  for (int i = 0; i < 3; ++i) frame(true);
  EXPECT_EQ(waits, 3);  // one beat per presented frame, none extra on the lock
  for (int i = 0; i < 3; ++i) frame(false);
  // The first lock after a shown frame goes at once; each frame that was not shown costs one.
  EXPECT_EQ(waits, 5);
  frame(true);
  EXPECT_EQ(waits, 7);  // its lock follows an unshown frame, then it is presented
}

TEST_F(SdlDisplayTest, AWindowDestroyedUnderItsScreenStaysUntilTheScreenIsReleased) {
  MakeWindowedPair();
  SDL_Window* sdl_window = platform_.windows().SdlWindow(window_);
  const uint32_t id = SDL_GetWindowID(sdl_window);
  ASSERT_EQ(platform_.windows().DestroyWindow(window_), 1);
  EXPECT_EQ(platform_.windows().SdlWindow(window_), nullptr);
  // The engine presents once more between the close and its clean-up; it must land safely.
  EXPECT_EQ(SDL_GetWindowFromID(id), sdl_window);
  EXPECT_EQ(front_->BltFast(0, 0, back_, platform::DDBLTFAST_WAIT), platform::OK);
  back_->Release();
  front_->Release();
  display_->Release();
  EXPECT_EQ(SDL_GetWindowFromID(id), nullptr);
}

TEST_F(SdlDummyTest, TheBackEndTableOpensTheDesktopBackEndFirst) {
  ASSERT_FALSE(platform::Backends().empty());
  EXPECT_STREQ(platform::Backends().front().name, "sdl");
  std::unique_ptr<platform::Platform> sdl = platform::OpenBackend("sdl");
  ASSERT_NE(sdl, nullptr);
  const uint32_t before = sdl->Milliseconds();
  SDL_Delay(20);
  EXPECT_GE(sdl->Milliseconds() - before, 20u);
}

}  // namespace
