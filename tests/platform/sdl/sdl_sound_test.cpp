// Real audio through SDL's "disk" driver, which writes the device's output to a file in real
// time: 16-bit samples at the rate and channel count the device reports.
#include "platform/sdl/sdl_sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/sound_files.h"

namespace {

using namespace platform;

constexpr int kDeviceRate = 44100;
constexpr int kDeviceChannels = 2;

WaveFormat Format(uint32_t rate, uint16_t bits, uint16_t channels) {
  const auto align = static_cast<uint16_t>(channels * bits / 8);
  return {WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits};
}

class SdlSoundTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "out.raw", 1);
    ASSERT_EQ(CreateSdlSound(&sound_), OK);
    ASSERT_EQ(sound_->SetCooperativeLevel(nullptr, DSSCL_NORMAL), OK);
  }
  void TearDown() override {
    if (sound_ != nullptr) sound_->Release();
  }

  // A buffer of 8-bit mono samples at 22050 Hz, all of one level above the midpoint, so that
  // its stretch of the output is easy to find and its mix with others easy to tell.
  SoundBuffer* Level(int level, int ms) {
    const WaveFormat format = Format(22050, 8, 1);
    const BufferDesc desc{.buffer_bytes = static_cast<uint32_t>(22050 * ms / 1000),
                          .format = &format};
    SoundBuffer* buffer = nullptr;
    EXPECT_EQ(sound_->CreateSoundBuffer(desc, &buffer), OK);
    void* region = nullptr;
    uint32_t bytes = 0;
    EXPECT_EQ(buffer->Lock(0, desc.buffer_bytes, &region, &bytes, nullptr, nullptr, 0), OK);
    std::memset(region, 128 + level, bytes);
    EXPECT_EQ(buffer->Unlock(region, bytes, nullptr, 0), OK);
    return buffer;
  }

  // The left channel of everything the device has written so far, in 16-bit steps of the
  // 8-bit levels above.
  static std::vector<int> Written() {
    const std::string raw = sound_files::ReadFile("out.raw");
    std::vector<int> left;
    for (std::size_t i = 0; i + 4 <= raw.size(); i += 2 * kDeviceChannels)
      left.push_back((static_cast<int16_t>(uint8_t(raw[i]) | uint8_t(raw[i + 1]) << 8) + 128) /
                     256);
    return left;
  }

  // The disk driver writes what it mixes in real time when the machine keeps up and later when
  // it does not, so the tests wait for output, never for the clock: until `ms` more of output
  // than now is written (at most 30 s). Any clip started before the call and no longer than
  // `ms` less one device buffer has then been mixed whole.
  static void WaitForMs(int ms) {
    const std::size_t until = Written().size() + static_cast<std::size_t>(ms) * kDeviceRate / 1000;
    for (int i = 0; i < 3000 && Written().size() < until; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  // Number of output frames at the given level (within one step).
  static int FramesAt(const std::vector<int>& out, int level) {
    return static_cast<int>(
        std::count_if(out.begin(), out.end(), [&](int v) { return std::abs(v - level) <= 1; }));
  }

  static int Ms(int frames) { return frames * 1000 / kDeviceRate; }

  Sound* sound_ = nullptr;
};

// Two clips, one of them started 100 ms in.
TEST_F(SdlSoundTest, ClipsSoundOnceFromTheirPositionAndTogether) {
  SoundBuffer* short_clip = Level(20, 200);
  SoundBuffer* long_clip = Level(30, 400);
  ASSERT_EQ(long_clip->SetCurrentPosition(2205), OK);
  ASSERT_EQ(short_clip->Play(0, 0, 0), OK);
  ASSERT_EQ(long_clip->Play(0, 0, 0), OK);
  WaitForMs(600);
  sound_->Release();  // the device closes: everything it played is written
  sound_ = nullptr;
  const std::vector<int> out = Written();
  // While both play the output is their sum (20 + 30); each clip sounds exactly once.
  const int both = FramesAt(out, 50);
  EXPECT_GE(Ms(both), 150);
  EXPECT_NEAR(Ms(both + FramesAt(out, 20)), 200, 10);
  EXPECT_NEAR(Ms(both + FramesAt(out, 30)), 300, 10);
  // Nothing else but silence, apart from the resampler's ringing where a level changes.
  const int rest = static_cast<int>(out.size()) - both - FramesAt(out, 20) - FramesAt(out, 30);
  EXPECT_LE(rest - FramesAt(out, 0), 32);
}

TEST_F(SdlSoundTest, BufferOperationsRefuseMisuse) {
  SoundBuffer* buffer = Level(10, 100);
  BufferCaps caps;
  ASSERT_EQ(buffer->GetCaps(&caps), OK);
  EXPECT_EQ(caps.buffer_bytes, 2205u);
  void* region = nullptr;
  uint32_t bytes = 0;
  EXPECT_EQ(buffer->Lock(0, 2206, &region, &bytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  ASSERT_EQ(buffer->Lock(0, 2205, &region, &bytes, nullptr, nullptr, 0), OK);
  EXPECT_EQ(buffer->Lock(0, 2205, &region, &bytes, nullptr, nullptr, 0), DSERR_INVALIDCALL);
  EXPECT_EQ(buffer->Unlock(region, 1, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(region, bytes, nullptr, 0), OK);
  EXPECT_EQ(buffer->SetCurrentPosition(2206), DSERR_INVALIDPARAM);

  // Part of a frame, no channels, 24 bits.
  for (const auto& [format, size] : {std::pair{Format(22050, 16, 2), 6u},
                                     {Format(22050, 16, 0), 4u},
                                     {Format(22050, 24, 1), 6u}}) {
    const BufferDesc desc{.buffer_bytes = size, .format = &format};
    SoundBuffer* out = nullptr;
    EXPECT_EQ(sound_->CreateSoundBuffer(desc, &out), DSERR_INVALIDPARAM) << format.channels;
    EXPECT_EQ(out, nullptr);
  }
}

}  // namespace
