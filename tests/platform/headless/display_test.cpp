// The headless display: the rules of its surfaces, their pixel memory, what is presented, loss,
// release and injected faults.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/headless/headless.h"

namespace {

using namespace platform;
using headless::HeadlessPlatform;
using headless::Op;
using headless::PresentKind;

class HeadlessDisplayTest : public testing::Test {
 protected:
  HeadlessDisplayTest() { Start(); }

  // A fresh platform with one window and a display object at the given cooperative level.
  void Start(const headless::Config& config = {}, uint32_t level = DDSCL_NORMAL) {
    platform_ = std::make_unique<HeadlessPlatform>(config);
    WindowClass window_class;
    window_class.proc = [](Window, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
    window_class.class_name = "Test";
    platform_->Windows().RegisterClass(window_class);
    window_ = platform_->Windows().CreateWindow(0, "Test", "", 0, 0, 0, 10, 10, nullptr);
    ASSERT_EQ(platform_->CreateDisplay(&display_), OK);
    ASSERT_EQ(display_->SetCooperativeLevel(window_, level), OK);
  }

  Result Make(Surface** out, bool chain = false, int width = 0, int height = 0) {
    SurfaceDesc desc;
    desc.flags = DDSD_CAPS | (chain ? DDSD_BACKBUFFERCOUNT : 0u) |
                 (width != 0 ? DDSD_WIDTH | DDSD_HEIGHT : 0u);
    desc.back_buffer_count = chain ? 1 : 0;
    desc.caps = width != 0 ? DDSCAPS_OFFSCREENPLAIN
                           : DDSCAPS_PRIMARYSURFACE | (chain ? DDSCAPS_FLIP | DDSCAPS_COMPLEX : 0u);
    desc.width = width;
    desc.height = height;
    return display_->CreateSurface(desc, out);
  }
  Surface* Primary(bool chain = false) {
    Surface* surface = nullptr;
    EXPECT_EQ(Make(&surface, chain), OK);
    return surface;
  }
  Surface* Offscreen(int width, int height) {
    Surface* surface = nullptr;
    EXPECT_EQ(Make(&surface, false, width, height), OK);
    return surface;
  }

  // Fills a surface with value(x, y) through a lock.
  template <typename F>
  void Fill(Surface* surface, F value) {
    SurfaceDesc desc;
    ASSERT_EQ(surface->Lock(&desc, DDLOCK_WAIT), OK);
    for (int y = 0; y < desc.height; ++y) {
      auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(desc.surface) + y * desc.pitch);
      for (int x = 0; x < desc.width; ++x) row[x] = value(x, y);
    }
    ASSERT_EQ(surface->Unlock(), OK);
  }

  std::unique_ptr<HeadlessPlatform> platform_;
  Window window_ = nullptr;
  Display* display_ = nullptr;
};

TEST_F(HeadlessDisplayTest, LockGivesEveryByteOfThePitchOnce) {
  for (const int pitch : {100, 1664}) {  // narrower than the width: ignored
    Start({.back_pitch = pitch, .video_memory = false});
    Surface* back = Offscreen(800, 600);
    SurfaceDesc desc;
    ASSERT_EQ(back->Lock(&desc, DDLOCK_WAIT), OK);
    EXPECT_EQ(desc.pitch, pitch < 1600 ? 1600 : pitch);
    EXPECT_EQ(desc.caps & DDSCAPS_VIDEOMEMORY, 0u);
    // Every byte may be written, padding included (the sanitizer build checks the bounds).
    std::memset(desc.surface, 0xAB, static_cast<std::size_t>(desc.pitch) * 600);
    EXPECT_EQ(back->Lock(&desc, DDLOCK_WAIT), DDERR_SURFACEBUSY);
    EXPECT_EQ(back->Unlock(), OK);
    EXPECT_EQ(back->Unlock(), DDERR_NOTLOCKED);
  }
}

TEST_F(HeadlessDisplayTest, CopiesToTheScreenAreClippedAndTheLatestFramesKept) {
  Surface* screen = Primary();
  Surface* back = Offscreen(100, 50);
  Fill(back, [](int x, int y) { return static_cast<uint16_t>(x + 100 * y + 1); });
  // Only the part on the screen is copied; the frame records the whole source.
  struct {
    int x, y, screen_x, screen_y;  // a screen pixel the copy covers, or -1
    uint16_t value;
  } const copies[] = {{10, 20, 10, 20, 1},
                      {-30, -10, 0, 0, 30 + 100 * 10 + 1},
                      {1000, 740, 1023, 767, 23 + 100 * 27 + 1},
                      {5000, 5000, -1, -1, 0},
                      {-5000, 0, -1, -1, 0}};

  for (const auto& c : copies) {
    EXPECT_EQ(screen->BltFast(c.x, c.y, back, DDBLTFAST_WAIT), OK);
    const headless::Frame& frame = *platform_->LastFrame();
    EXPECT_EQ(frame.kind, PresentKind::kCopy);
    EXPECT_EQ(std::pair(frame.x, frame.y), std::pair(c.x, c.y));
    EXPECT_EQ(frame.At(99, 49), 99 + 4900 + 1);
    if (c.screen_x >= 0) {
      EXPECT_EQ(platform_->ScreenPixel(c.screen_x, c.screen_y), c.value);
    }
  }
  EXPECT_EQ(platform_->PresentCount(), 5u);
  ASSERT_EQ(platform_->Frames().size(), platform_->config().keep_frames);
  EXPECT_EQ(platform_->Frames().front().x, -30);
  // Copies between off-screen surfaces present nothing.
  EXPECT_EQ(Offscreen(100, 50)->BltFast(0, 0, back, DDBLTFAST_WAIT), OK);
  EXPECT_EQ(platform_->PresentCount(), 5u);
}

TEST_F(HeadlessDisplayTest, ReleasedObjectsRefuseCallsAndCountSecondReleases) {
  Surface* back = Offscreen(10, 10);
  EXPECT_EQ(platform_->LiveSurfaces(), 1);
  back->Release();
  EXPECT_EQ(platform_->LiveSurfaces(), 0);
  SurfaceDesc desc;
  EXPECT_EQ(back->Lock(&desc, 0), DDERR_INVALIDOBJECT);
  back->Release();
  display_->Release();
  EXPECT_TRUE(platform_->DisplayReleased());
  EXPECT_EQ(Make(&back), DDERR_INVALIDOBJECT);
  display_->Release();
  EXPECT_EQ(platform_->ReleaseErrors(), 2);
}

}  // namespace
