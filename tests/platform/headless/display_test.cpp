// The headless display: cooperative rules, surface creation, pixel memory, presentation,
// loss and restore, release, and display faults.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/headless/headless.h"

namespace {

using platform::Display;
using platform::Surface;
using platform::SurfaceDesc;
using platform::headless::Config;
using platform::headless::HeadlessPlatform;
using platform::headless::Layout;
using platform::headless::Op;
using platform::headless::PresentKind;

class HeadlessDisplayTest : public testing::Test {
 protected:
  HeadlessDisplayTest() { Start(); }

  // A fresh platform with one window of a registered class and a display object.
  void Start(const Config& config = {}) {
    owned_ = std::make_unique<HeadlessPlatform>(config);
    platform::WindowClass window_class;
    window_class.proc = [](platform::Window, uint32_t, uintptr_t, intptr_t) -> intptr_t {
      return 0;
    };
    window_class.class_name = "Test";
    owned_->Windows().RegisterClass(window_class);
    window_ = owned_->Windows().CreateWindow(0, "Test", "", 0, 0, 0, 10, 10, nullptr);
    EXPECT_EQ(owned_->CreateDisplay(&display_), platform::OK);
  }

  Surface* Primary(bool chain = false) {
    SurfaceDesc desc;
    desc.flags = platform::DDSD_CAPS;
    desc.caps = platform::DDSCAPS_PRIMARYSURFACE;
    if (chain) {
      desc.flags |= platform::DDSD_BACKBUFFERCOUNT;
      desc.back_buffer_count = 1;
      desc.caps |= platform::DDSCAPS_FLIP | platform::DDSCAPS_COMPLEX;
    }
    Surface* surface = nullptr;
    EXPECT_EQ(display_->CreateSurface(desc, &surface), platform::OK);
    return surface;
  }

  Surface* Offscreen(int width, int height) {
    SurfaceDesc desc;
    desc.flags = platform::DDSD_CAPS | platform::DDSD_WIDTH | platform::DDSD_HEIGHT;
    desc.width = width;
    desc.height = height;
    desc.caps = platform::DDSCAPS_OFFSCREENPLAIN;
    Surface* surface = nullptr;
    EXPECT_EQ(display_->CreateSurface(desc, &surface), platform::OK);
    return surface;
  }

  // Fills a surface with value(x, y) through a lock.
  template <typename F>
  void Fill(Surface* surface, F value) {
    SurfaceDesc desc;
    ASSERT_EQ(surface->Lock(&desc, platform::DDLOCK_WAIT), platform::OK);
    for (int y = 0; y < desc.height; ++y) {
      auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(desc.surface) +
                                              static_cast<std::ptrdiff_t>(y) * desc.pitch);
      for (int x = 0; x < desc.width; ++x) row[x] = value(x, y);
    }
    ASSERT_EQ(surface->Unlock(), platform::OK);
  }

  std::unique_ptr<HeadlessPlatform> owned_;
  platform::Window window_ = nullptr;
  Display* display_ = nullptr;
};

TEST_F(HeadlessDisplayTest, DisplayModeNeedsExclusiveAndASensibleSize) {
  display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
  EXPECT_EQ(display_->SetDisplayMode(800, 600, 16), platform::DDERR_NOEXCLUSIVEMODE);
  display_->SetCooperativeLevel(window_, platform::DDSCL_EXCLUSIVE | platform::DDSCL_FULLSCREEN);
  EXPECT_EQ(display_->SetDisplayMode(800, 600, 32), platform::DDERR_UNSUPPORTEDMODE);
  EXPECT_EQ(display_->SetDisplayMode(0, 600, 16), platform::DDERR_UNSUPPORTEDMODE);
  EXPECT_EQ(display_->SetDisplayMode(100000, 600, 16), platform::DDERR_UNSUPPORTEDMODE);
  EXPECT_EQ(display_->SetDisplayMode(640, 480, 16), platform::OK);
  EXPECT_EQ(owned_->Windows().DesktopWidth(), 640);
  EXPECT_EQ(owned_->Windows().DesktopHeight(), 480);
  SurfaceDesc desc;
  Primary()->GetSurfaceDesc(&desc);
  EXPECT_EQ(desc.width, 640);
  EXPECT_EQ(desc.height, 480);
}

TEST_F(HeadlessDisplayTest, OnePrimaryAtATime) {
  display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
  Surface* first = Primary();
  SurfaceDesc desc;
  desc.flags = platform::DDSD_CAPS;
  desc.caps = platform::DDSCAPS_PRIMARYSURFACE;
  Surface* second = nullptr;
  EXPECT_EQ(display_->CreateSurface(desc, &second), platform::DDERR_PRIMARYSURFACEALREADYEXISTS);
  EXPECT_EQ(second, nullptr);
  first->Release();
  EXPECT_EQ(display_->CreateSurface(desc, &second), platform::OK);
}

TEST_F(HeadlessDisplayTest, FlipChainNeedsExclusiveModeAndHasABackBuffer) {
  display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
  SurfaceDesc desc;
  desc.flags = platform::DDSD_CAPS | platform::DDSD_BACKBUFFERCOUNT;
  desc.back_buffer_count = 1;
  desc.caps = platform::DDSCAPS_PRIMARYSURFACE | platform::DDSCAPS_FLIP | platform::DDSCAPS_COMPLEX;
  Surface* front = nullptr;
  EXPECT_EQ(display_->CreateSurface(desc, &front), platform::DDERR_NOEXCLUSIVEMODE);
  display_->SetCooperativeLevel(window_, platform::DDSCL_EXCLUSIVE | platform::DDSCL_FULLSCREEN);
  front = Primary(true);
  Surface* back = nullptr;
  EXPECT_EQ(front->GetAttachedSurface(platform::DDSCAPS_BACKBUFFER, &back), platform::OK);
  ASSERT_NE(back, nullptr);
  SurfaceDesc back_desc;
  back->GetSurfaceDesc(&back_desc);
  EXPECT_NE(back_desc.caps & platform::DDSCAPS_BACKBUFFER, 0u);
  EXPECT_EQ(back_desc.width, 1024);
  Surface* none = nullptr;
  EXPECT_EQ(back->GetAttachedSurface(platform::DDSCAPS_BACKBUFFER, &none),
            platform::DDERR_NOTFOUND);
}

TEST_F(HeadlessDisplayTest, OffscreenSurfaceDescription) {
  struct {
    Layout layout;
    int back_pitch;
    bool video;
    int expected_pitch;
    uint32_t red, green, blue;
  } const cases[] = {
      {Layout::k565, 0, true, 1600, 0xF800, 0x07E0, 0x001F},
      {Layout::k555, 0, false, 1600, 0x7C00, 0x03E0, 0x001F},
      {Layout::k565, 1664, true, 1664, 0xF800, 0x07E0, 0x001F},
      {Layout::k565, 100, true, 1600, 0xF800, 0x07E0, 0x001F},  // too narrow: ignored
  };
  for (const auto& c : cases) {
    Config config;
    config.layout = c.layout;
    config.back_pitch = c.back_pitch;
    config.video_memory = c.video;
    Start(config);
    display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
    SurfaceDesc desc;
    ASSERT_EQ(Offscreen(800, 600)->GetSurfaceDesc(&desc), platform::OK);
    EXPECT_EQ(desc.width, 800);
    EXPECT_EQ(desc.height, 600);
    EXPECT_EQ(desc.pitch, c.expected_pitch);
    EXPECT_EQ(desc.pixel_format.rgb_bit_count, 16u);
    EXPECT_EQ(desc.pixel_format.red_mask, c.red);
    EXPECT_EQ(desc.pixel_format.green_mask, c.green);
    EXPECT_EQ(desc.pixel_format.blue_mask, c.blue);
    EXPECT_EQ((desc.caps & platform::DDSCAPS_VIDEOMEMORY) != 0, c.video);
    EXPECT_EQ(desc.caps & platform::DDSCAPS_BACKBUFFER, 0u);
  }
}

TEST_F(HeadlessDisplayTest, LockGivesTheWholePitchTimesHeight) {
  Config config;
  config.back_pitch = 1664;
  Start(config);
  display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
  Surface* back = Offscreen(800, 600);
  SurfaceDesc desc;
  ASSERT_EQ(back->Lock(&desc, platform::DDLOCK_WAIT), platform::OK);
  EXPECT_EQ(desc.pitch, 1664);
  // Every byte may be written, padding included (the sanitizer build checks the bounds).
  std::memset(desc.surface, 0xAB, static_cast<std::size_t>(desc.pitch) * 600);
  SurfaceDesc again;
  EXPECT_EQ(back->Lock(&again, platform::DDLOCK_WAIT), platform::DDERR_SURFACEBUSY);
  EXPECT_EQ(back->Unlock(), platform::OK);
  EXPECT_EQ(back->Unlock(), platform::DDERR_NOTLOCKED);
}

TEST_F(HeadlessDisplayTest, CopyToTheScreenIsClippedAndRecorded) {
  display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
  Surface* screen = Primary();
  Surface* back = Offscreen(100, 50);
  Fill(back, [](int x, int y) { return static_cast<uint16_t>(x + 100 * y + 1); });
  // Each copy lands where it is placed, only the part on the screen; the frame keeps all.
  struct {
    int x, y;
    int screen_x, screen_y;  // a screen pixel the copy covers, or -1
    uint16_t value;
  } const positions[] = {
      {10, 20, 10, 20, 1},
      {-30, -10, 0, 0, 30 + 100 * 10 + 1},
      {1000, 740, 1023, 767, 23 + 100 * 27 + 1},
      {5000, 5000, -1, -1, 0},
  };
  for (const auto& p : positions) {
    EXPECT_EQ(screen->BltFast(p.x, p.y, back, platform::DDBLTFAST_WAIT), platform::OK);
    const auto* frame = owned_->LastFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->kind, PresentKind::kCopy);
    EXPECT_EQ(frame->x, p.x);
    EXPECT_EQ(frame->y, p.y);
    EXPECT_EQ(frame->width, 100);
    EXPECT_EQ(frame->At(99, 49), 99 + 4900 + 1);
    if (p.screen_x >= 0) {
      EXPECT_EQ(owned_->ScreenPixel(p.screen_x, p.screen_y), p.value);
    }
  }
  EXPECT_EQ(owned_->PresentCount(), 4u);
  // Copies between off-screen surfaces present nothing.
  Surface* other = Offscreen(100, 50);
  EXPECT_EQ(other->BltFast(0, 0, back, platform::DDBLTFAST_WAIT), platform::OK);
  EXPECT_EQ(owned_->PresentCount(), 4u);
}

TEST_F(HeadlessDisplayTest, FlipShowsTheBackBufferAndKeepsTheOldFront) {
  Config config;
  config.back_pitch = 4000;
  Start(config);
  display_->SetCooperativeLevel(window_, platform::DDSCL_EXCLUSIVE | platform::DDSCL_FULLSCREEN);
  Surface* front = Primary(true);
  Surface* back = nullptr;
  front->GetAttachedSurface(platform::DDSCAPS_BACKBUFFER, &back);
  Fill(back, [](int x, int y) { return static_cast<uint16_t>(x ^ y); });
  EXPECT_EQ(front->Flip(platform::DDFLIP_WAIT), platform::OK);
  EXPECT_EQ(owned_->ScreenPixel(1000, 3), 1000 ^ 3);
  const auto* frame = owned_->LastFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->kind, PresentKind::kFlip);
  EXPECT_EQ(frame->checksum, platform::headless::Checksum(frame->pixels.data(), frame->width,
                                                          frame->height, frame->width));
  EXPECT_EQ(front->Flip(platform::DDFLIP_WAIT), platform::OK);
  EXPECT_EQ(owned_->ScreenPixel(1000, 3), 0);
  EXPECT_EQ(back->Flip(platform::DDFLIP_WAIT), platform::DDERR_NOTFLIPPABLE);
}

TEST_F(HeadlessDisplayTest, LostSurfacesFailUntilRestored) {
  display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
  Surface* screen = Primary();
  Surface* back = Offscreen(10, 10);
  owned_->LoseSurfaces();
  SurfaceDesc desc;
  EXPECT_EQ(screen->IsLost(), platform::DDERR_SURFACELOST);
  EXPECT_EQ(back->Lock(&desc, 0), platform::DDERR_SURFACELOST);
  EXPECT_EQ(screen->BltFast(0, 0, back, 0), platform::DDERR_SURFACELOST);
  EXPECT_EQ(screen->Restore(), platform::OK);
  EXPECT_EQ(screen->BltFast(0, 0, back, 0), platform::DDERR_SURFACELOST);  // back still lost
  EXPECT_EQ(back->Restore(), platform::OK);
  EXPECT_EQ(screen->BltFast(0, 0, back, 0), platform::OK);
  EXPECT_EQ(owned_->PresentCount(), 1u);
}

TEST_F(HeadlessDisplayTest, ReleasedObjectsRefuseCallsAndCountSecondReleases) {
  display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
  Surface* back = Offscreen(10, 10);
  EXPECT_EQ(owned_->LiveSurfaces(), 1);
  back->Release();
  EXPECT_EQ(owned_->LiveSurfaces(), 0);
  SurfaceDesc desc;
  EXPECT_EQ(back->Lock(&desc, 0), platform::DDERR_INVALIDOBJECT);
  back->Release();
  display_->Release();
  EXPECT_TRUE(owned_->DisplayReleased());
  Surface* surface = nullptr;
  EXPECT_EQ(display_->CreateSurface(desc, &surface), platform::DDERR_INVALIDOBJECT);
  display_->Release();
  EXPECT_EQ(owned_->ReleaseErrors(), 2);
}

TEST_F(HeadlessDisplayTest, OnlyTheLatestFramesAreKept) {
  display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
  Surface* screen = Primary();
  Surface* back = Offscreen(4, 4);
  for (int i = 0; i < 10; ++i) screen->BltFast(i, 0, back, 0);
  EXPECT_EQ(owned_->PresentCount(), 10u);
  ASSERT_EQ(owned_->Frames().size(), owned_->config().keep_frames);
  EXPECT_EQ(owned_->Frames().front().x, 10 - static_cast<int>(owned_->config().keep_frames));
  EXPECT_EQ(owned_->LastFrame()->x, 9);
}

TEST_F(HeadlessDisplayTest, InjectedFaultsComeFirst) {
  display_->SetCooperativeLevel(window_, platform::DDSCL_NORMAL);
  Surface* screen = Primary();
  Surface* back = Offscreen(10, 10);
  owned_->Fail(Op::kBltFast, platform::DDERR_WASSTILLDRAWING);
  EXPECT_EQ(screen->BltFast(0, 0, back, 0), platform::DDERR_WASSTILLDRAWING);
  EXPECT_EQ(screen->BltFast(0, 0, back, 0), platform::OK);
  owned_->Fail(Op::kLock, platform::DDERR_GENERIC);
  SurfaceDesc desc;
  EXPECT_EQ(back->Lock(&desc, 0), platform::DDERR_GENERIC);
  EXPECT_EQ(back->Lock(&desc, 0), platform::OK);
  owned_->Fail(Op::kCreateDisplay, platform::DDERR_NODIRECTDRAWHW);
  Display* display = reinterpret_cast<Display*>(1);
  EXPECT_EQ(owned_->CreateDisplay(&display), platform::DDERR_NODIRECTDRAWHW);
  EXPECT_EQ(display, nullptr);
}

}  // namespace
