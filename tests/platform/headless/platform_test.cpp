// The headless platform as a whole: clock, sound object, and the back-end table.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/backends.h"
#include "platform/headless/headless.h"

namespace {

using platform::headless::Config;
using platform::headless::HeadlessPlatform;
using platform::headless::Op;

TEST(HeadlessClock, SetAdvanceAndWrap) {
  Config config;
  config.start_time = 500;
  HeadlessPlatform headless(config);
  EXPECT_EQ(headless.Milliseconds(), 500u);
  headless.Advance(250);
  EXPECT_EQ(headless.Milliseconds(), 750u);
  headless.SetTime(0xFFFFFFF0u);
  headless.Advance(0x20);
  EXPECT_EQ(headless.Milliseconds(), 0x10u);
}

TEST(HeadlessSound, CooperativeLevelFaultsAndRelease) {
  HeadlessPlatform headless;
  platform::WindowClass window_class;
  window_class.proc = [](platform::Window, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
  window_class.class_name = "Test";
  headless.Windows().RegisterClass(window_class);
  const platform::Window window =
      headless.Windows().CreateWindow(0, "Test", "", 0, 0, 0, 10, 10, nullptr);

  headless.Fail(Op::kCreateSound, platform::DSERR_NODRIVER);
  platform::Sound* sound = reinterpret_cast<platform::Sound*>(1);
  EXPECT_EQ(headless.CreateSound(&sound), platform::DSERR_NODRIVER);
  EXPECT_EQ(sound, nullptr);
  ASSERT_EQ(headless.CreateSound(&sound), platform::OK);

  // Buffers wait for the cooperative level.
  platform::SoundBuffer* buffer = nullptr;
  EXPECT_EQ(sound->CreateSoundBuffer(platform::BufferDesc{}, &buffer),
            platform::DSERR_PRIOLEVELNEEDED);
  EXPECT_EQ(sound->SetCooperativeLevel(nullptr, platform::DSSCL_NORMAL),
            platform::DSERR_INVALIDPARAM);
  headless.Fail(Op::kSoundCooperativeLevel, platform::DSERR_GENERIC);
  EXPECT_EQ(sound->SetCooperativeLevel(window, platform::DSSCL_NORMAL), platform::DSERR_GENERIC);
  EXPECT_EQ(headless.SoundCooperativeLevel(), 0u);
  EXPECT_EQ(sound->SetCooperativeLevel(window, platform::DSSCL_NORMAL), platform::OK);
  EXPECT_EQ(headless.SoundCooperativeLevel(), platform::DSSCL_NORMAL);

  headless.Fail(Op::kCreateSoundBuffer, platform::DSERR_OUTOFMEMORY);
  EXPECT_EQ(sound->CreateSoundBuffer(platform::BufferDesc{}, &buffer), platform::DSERR_OUTOFMEMORY);

  sound->Release();
  EXPECT_TRUE(headless.SoundReleased());
  EXPECT_EQ(sound->CreateSoundBuffer(platform::BufferDesc{}, &buffer), platform::DSERR_INVALIDCALL);
  sound->Release();
  EXPECT_EQ(headless.ReleaseErrors(), 1);
}

TEST(Backends, TableHoldsHeadlessAndOpensByName) {
  bool has_headless = false;
  for (const auto& entry : platform::Backends()) {
    has_headless = has_headless || std::string(entry.name) == "headless";
  }
  EXPECT_TRUE(has_headless);
  EXPECT_NE(platform::OpenBackend("headless"), nullptr);
  EXPECT_EQ(platform::OpenBackend("no-such-back-end"), nullptr);
  EXPECT_EQ(platform::OpenBackend(nullptr), nullptr);
}

// Run as a program, the headless back end must end the run by itself.
TEST(Backends, HeadlessFromTheTableClosesAfterTheGivenFrames) {
  struct {
    const char* setting;
    uint64_t polls;
  } const cases[] = {{"7", 7}, {"", 300}, {"x", 300}, {"0", 300}};
  for (const auto& c : cases) {
    setenv("VORN_HEADLESS_FRAMES", c.setting, 1);
    auto backend = platform::OpenBackend("headless");
    ASSERT_NE(backend, nullptr);
    platform::Message message;
    uint64_t polls = 0;
    while (!backend->Windows().PeekMessage(&message) && polls < 1000) ++polls;
    EXPECT_EQ(polls, c.polls) << c.setting;
    EXPECT_EQ(message.message, platform::WM_CLOSE);
  }
  unsetenv("VORN_HEADLESS_FRAMES");
}

}  // namespace
