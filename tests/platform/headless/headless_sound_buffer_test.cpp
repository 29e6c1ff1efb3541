#include "platform/headless/headless_sound_buffer.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;
using platform::headless::HeadlessPlatform;
using platform::headless::HeadlessSoundBuffer;

WaveFormat Format(uint32_t rate, uint16_t bits, uint16_t channels) {
  WaveFormat f;
  f.format_tag = WAVE_FORMAT_PCM;
  f.channels = channels;
  f.samples_per_sec = rate;
  f.block_align = static_cast<uint16_t>(channels * bits / 8);
  f.avg_bytes_per_sec = rate * f.block_align;
  f.bits_per_sample = bits;
  return f;
}

HeadlessSoundBuffer* Make(HeadlessPlatform& headless, const WaveFormat& format, uint32_t bytes) {
  BufferDesc desc;
  desc.format = &format;
  desc.buffer_bytes = bytes;
  SoundBuffer* out = nullptr;
  EXPECT_EQ(headless::CreateHeadlessSoundBuffer(headless, desc, &out), OK);
  return static_cast<HeadlessSoundBuffer*>(out);
}

TEST(HeadlessSoundBuffer, CursorFollowsTheClockAndStopsAtTheEnd) {
  HeadlessPlatform headless;
  HeadlessSoundBuffer* buffer = Make(headless, Format(1000, 16, 1), 2000);  // one second
  ASSERT_EQ(buffer->Play(0, 0, 0), OK);
  headless.Advance(250);
  EXPECT_EQ(buffer->Position(), 500u);
  EXPECT_TRUE(buffer->IsPlaying());
  headless.Advance(750);
  EXPECT_EQ(buffer->Position(), 2000u);
  EXPECT_FALSE(buffer->IsPlaying());

  // Played on from its end it has nothing left; rewound, it plays again.
  ASSERT_EQ(buffer->Play(0, 0, 0), OK);
  EXPECT_FALSE(buffer->IsPlaying());
  ASSERT_EQ(buffer->SetCurrentPosition(3), OK);
  EXPECT_EQ(buffer->Position(), 2u);  // on a whole frame
  ASSERT_EQ(buffer->Play(0, 0, 0), OK);
  EXPECT_TRUE(buffer->IsPlaying());
  ASSERT_EQ(buffer->Plays().size(), 3u);
  EXPECT_EQ(buffer->Plays()[0].time, 0u);
  EXPECT_EQ(buffer->Plays()[2].time, 1000u);
  EXPECT_EQ(buffer->Plays()[2].position, 2u);
}

}  // namespace
