#include "platform/headless/headless_sound_buffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace platform;
using platform::headless::HeadlessPlatform;
using platform::headless::HeadlessSoundBuffer;
using platform::headless::Op;

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

HeadlessSoundBuffer* Make(HeadlessPlatform& headless, const WaveFormat& format, uint32_t bytes,
                          Result* result = nullptr) {
  BufferDesc desc;
  desc.format = &format;
  desc.buffer_bytes = bytes;
  SoundBuffer* out = nullptr;
  const Result r = headless::CreateHeadlessSoundBuffer(headless, desc, &out);
  if (result != nullptr) *result = r;
  return static_cast<HeadlessSoundBuffer*>(out);
}

TEST(HeadlessSoundBuffer, RefusesFormatsNoDeviceTakes) {
  struct Case {
    const char* label;
    WaveFormat format;
    uint32_t bytes;
    Result result;
  };
  WaveFormat wrong_align = Format(8000, 16, 2);
  wrong_align.block_align = 2;
  const std::vector<Case> cases = {
      {"16-bit stereo", Format(22050, 16, 2), 400, OK},
      {"8-bit mono", Format(8000, 8, 1), 3, OK},
      {"no bytes", Format(22050, 16, 2), 0, DSERR_INVALIDPARAM},
      {"part of a frame", Format(22050, 16, 2), 6, DSERR_INVALIDPARAM},
      {"no channels", Format(22050, 16, 0), 4, DSERR_INVALIDPARAM},
      {"24 bits", Format(22050, 24, 1), 6, DSERR_INVALIDPARAM},
      {"no rate", Format(0, 16, 1), 4, DSERR_INVALIDPARAM},
      {"alignment not of the format", wrong_align, 4, DSERR_INVALIDPARAM},
  };
  HeadlessPlatform headless;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Result result = OK;
    HeadlessSoundBuffer* buffer = Make(headless, c.format, c.bytes, &result);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(buffer != nullptr, c.result == OK);
  }
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

TEST(HeadlessSoundBuffer, LockMisuseAndInjectedFaults) {
  HeadlessPlatform headless;
  HeadlessSoundBuffer* buffer = Make(headless, Format(8000, 8, 1), 100);
  void* region = nullptr;
  uint32_t bytes = 0;
  EXPECT_EQ(buffer->Lock(0, 101, &region, &bytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Lock(50, 51, &region, &bytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  ASSERT_EQ(buffer->Lock(0, 100, &region, &bytes, nullptr, nullptr, 0), OK);
  EXPECT_EQ(bytes, 100u);
  EXPECT_EQ(buffer->Lock(0, 100, &region, &bytes, nullptr, nullptr, 0), DSERR_INVALIDCALL);
  EXPECT_EQ(buffer->Unlock(region, 99, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(region, 100, nullptr, 0), OK);
  EXPECT_EQ(buffer->Unlock(region, 100, nullptr, 0), DSERR_INVALIDPARAM);

  headless.Fail(Op::kBufferLock, DSERR_BUFFERLOST, 2, 1);
  EXPECT_EQ(buffer->Lock(0, 1, &region, &bytes, nullptr, nullptr, 0), OK);
  EXPECT_EQ(buffer->Unlock(region, 1, nullptr, 0), OK);
  EXPECT_EQ(buffer->Lock(0, 1, &region, &bytes, nullptr, nullptr, 0), DSERR_BUFFERLOST);
  EXPECT_EQ(buffer->Lock(0, 1, &region, &bytes, nullptr, nullptr, 0), DSERR_BUFFERLOST);
  EXPECT_EQ(buffer->Lock(0, 1, &region, &bytes, nullptr, nullptr, 0), OK);
  headless.Fail(Op::kBufferGetCaps, DSERR_GENERIC);
  BufferCaps caps;
  EXPECT_EQ(buffer->GetCaps(&caps), DSERR_GENERIC);
  EXPECT_EQ(buffer->GetCaps(&caps), OK);
  EXPECT_EQ(caps.buffer_bytes, 100u);
}

}  // namespace
