// The headless platform as a whole: sound object and buffers, and the back-end table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/backends.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_sound_buffer.h"

namespace {

using namespace platform;
using headless::HeadlessPlatform;
using headless::Op;

TEST(HeadlessSound, BuffersWaitForTheLevelAndFaultsAndReleaseAreHonoured) {
  HeadlessPlatform headless;
  WindowClass window_class;
  window_class.proc = [](Window, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
  window_class.class_name = "Test";
  headless.Windows().RegisterClass(window_class);
  const Window window = headless.Windows().CreateWindow(0, "Test", "", 0, 0, 0, 10, 10, nullptr);

  Sound* sound = nullptr;
  ASSERT_EQ(headless.CreateSound(&sound), OK);
  SoundBuffer* buffer = nullptr;
  EXPECT_EQ(sound->CreateSoundBuffer(BufferDesc{}, &buffer), DSERR_PRIOLEVELNEEDED);
  EXPECT_EQ(sound->SetCooperativeLevel(window, DSSCL_NORMAL), OK);
  EXPECT_EQ(headless.SoundCooperativeLevel(), DSSCL_NORMAL);

  // One second of 16-bit mono at 1000 Hz: the cursor follows the clock and stops at the end.
  const WaveFormat format{.format_tag = WAVE_FORMAT_PCM,
                          .channels = 1,
                          .samples_per_sec = 1000,
                          .avg_bytes_per_sec = 2000,
                          .block_align = 2,
                          .bits_per_sample = 16};
  BufferDesc desc;
  desc.format = &format;
  desc.buffer_bytes = 2000;
  ASSERT_EQ(sound->CreateSoundBuffer(desc, &buffer), OK);
  auto& clip = *static_cast<headless::HeadlessSoundBuffer*>(buffer);
  ASSERT_EQ(clip.Play(0, 0, 0), OK);
  headless.Advance(250);
  EXPECT_EQ(clip.Position(), 500u);
  EXPECT_TRUE(clip.IsPlaying());
  headless.Advance(750);
  EXPECT_EQ(clip.Position(), 2000u);
  // Played on from its end it has nothing left; rewound, it plays again.
  ASSERT_EQ(clip.Play(0, 0, 0), OK);
  EXPECT_FALSE(clip.IsPlaying());
  ASSERT_EQ(clip.SetCurrentPosition(3), OK);
  EXPECT_EQ(clip.Position(), 2u);  // on a whole frame
  ASSERT_EQ(clip.Play(0, 0, 0), OK);
  EXPECT_TRUE(clip.IsPlaying());

  sound->Release();
  EXPECT_TRUE(headless.SoundReleased());
  EXPECT_EQ(sound->CreateSoundBuffer(desc, &buffer), DSERR_INVALIDCALL);
  sound->Release();
  EXPECT_EQ(headless.ReleaseErrors(), 1);
}

TEST(Backends, TheTableOpensHeadlessByNameAndItClosesAfterTheGivenFrames) {
  EXPECT_EQ(OpenBackend("no-such-back-end"), nullptr);
  // Run as a program, the headless back end must end the run by itself.
  struct {
    const char* setting;
    uint64_t polls;
  } const cases[] = {{"7", 7}, {"", 300}, {"7x", 300}};
  for (const auto& c : cases) {
    setenv("VORN_HEADLESS_FRAMES", c.setting, 1);
    auto backend = OpenBackend("headless");
    ASSERT_NE(backend, nullptr);
    Message message;
    uint64_t polls = 0;
    while (!backend->Windows().PeekMessage(&message) && polls < 1000) ++polls;
    EXPECT_EQ(polls, c.polls) << c.setting;
    EXPECT_EQ(message.message, WM_CLOSE);
  }
  unsetenv("VORN_HEADLESS_FRAMES");
}

}  // namespace
