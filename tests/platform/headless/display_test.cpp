// The headless display and sound objects: the rules of their surfaces and
// buffers that the engine's tests read their results through (pitch, locks,
// release, the sound clock).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/headless/headless.h"
#include "platform/headless/headless_sound_buffer.h"

namespace {

using namespace platform;
using headless::HeadlessPlatform;

class HeadlessDisplayTest : public testing::Test {
 protected:
  HeadlessDisplayTest() { Start(); }

  // A fresh platform with one window and a display object.
  void Start(const headless::Config& config = {}) {
    platform_ = std::make_unique<HeadlessPlatform>(config);
    WindowClass window_class;
    window_class.proc = [](Window, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
    window_class.class_name = "Test";
    platform_->Windows().RegisterClass(window_class);
    window_ = platform_->Windows().CreateWindow(0, "Test", "", 0, 0, 0, 10, 10, nullptr);
    ASSERT_EQ(platform_->CreateDisplay(&display_), OK);
    ASSERT_EQ(display_->SetCooperativeLevel(window_, DDSCL_NORMAL), OK);
  }

  // An off-screen surface of the given size, or the screen when the size is 0.
  Result Make(Surface** out, int width = 0, int height = 0) {
    SurfaceDesc desc;
    desc.flags = DDSD_CAPS | (width != 0 ? DDSD_WIDTH | DDSD_HEIGHT : 0u);
    desc.caps = width != 0 ? DDSCAPS_OFFSCREENPLAIN : DDSCAPS_PRIMARYSURFACE;
    desc.width = width;
    desc.height = height;
    return display_->CreateSurface(desc, out);
  }

  std::unique_ptr<HeadlessPlatform> platform_;
  Window window_ = nullptr;
  Display* display_ = nullptr;
};

TEST_F(HeadlessDisplayTest, LockGivesEveryByteOfThePitchOnce) {
  for (const int pitch : {100, 1664}) {  // narrower than the width: ignored
    Start({.back_pitch = pitch, .video_memory = false});
    Surface* back = nullptr;
    ASSERT_EQ(Make(&back, 800, 600), OK);
    SurfaceDesc desc;
    ASSERT_EQ(back->Lock(&desc, DDLOCK_WAIT), OK);
    EXPECT_EQ(desc.pitch, pitch < 1600 ? 1600 : pitch);
    EXPECT_EQ(desc.caps & DDSCAPS_VIDEOMEMORY, 0u);
    // Every byte may be written, padding included (the sanitizer build checks
    // the bounds).
    std::memset(desc.surface, 0xAB, static_cast<std::size_t>(desc.pitch) * 600);
    EXPECT_EQ(back->Lock(&desc, DDLOCK_WAIT), DDERR_SURFACEBUSY);
    EXPECT_EQ(back->Unlock(), OK);
    EXPECT_EQ(back->Unlock(), DDERR_NOTLOCKED);
  }
}

// The engine's clean-up tests count on these: what is live, released, and
// released twice.
TEST_F(HeadlessDisplayTest, ReleasedObjectsRefuseCallsAndCountSecondReleases) {
  Surface* back = nullptr;
  ASSERT_EQ(Make(&back, 10, 10), OK);
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

TEST_F(HeadlessDisplayTest, SoundBuffersWaitForTheLevelAndPlayByTheClock) {
  Sound* sound = nullptr;
  ASSERT_EQ(platform_->CreateSound(&sound), OK);
  SoundBuffer* buffer = nullptr;
  EXPECT_EQ(sound->CreateSoundBuffer(BufferDesc{}, &buffer), DSERR_PRIOLEVELNEEDED);
  EXPECT_EQ(sound->SetCooperativeLevel(window_, DSSCL_NORMAL), OK);
  // One second of 16-bit mono at 1000 Hz: the cursor follows the clock and
  // stops at the end.
  const WaveFormat format{WAVE_FORMAT_PCM, 1, 1000, 2000, 2, 16};
  BufferDesc desc;
  desc.format = &format;
  desc.buffer_bytes = 2000;
  ASSERT_EQ(sound->CreateSoundBuffer(desc, &buffer), OK);
  auto& clip = *static_cast<headless::HeadlessSoundBuffer*>(buffer);
  ASSERT_EQ(clip.Play(0, 0, 0), OK);
  platform_->Advance(250);
  EXPECT_EQ(std::pair(clip.Position(), clip.IsPlaying()), std::pair(500u, true));
  platform_->Advance(750);
  EXPECT_EQ(std::pair(clip.Position(), clip.IsPlaying()), std::pair(2000u, false));
  ASSERT_EQ(clip.SetCurrentPosition(3), OK);
  EXPECT_EQ(clip.Position(), 2u);  // on a whole frame
  sound->Release();
  EXPECT_TRUE(platform_->SoundReleased());
  EXPECT_EQ(sound->CreateSoundBuffer(desc, &buffer), DSERR_INVALIDCALL);
}

}  // namespace
