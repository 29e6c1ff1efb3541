#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/core/vorn.h"
#include "platform/headless/headless_sound_buffer.h"
#include "support/headless_engine.h"
#include "support/sound_clips.h"
#include "support/sound_files.h"

namespace {

using platform::headless::HeadlessPlatform;
using platform::headless::HeadlessSoundBuffer;
using platform::headless::Op;
using sound_files::Pattern;
using Codes = std::vector<int>;

HeadlessSoundBuffer* BufferOf(const SoundX& clip) {
  if (clip.buffer < 0 || clip.buffer >= Vorn.sound_count) return nullptr;
  return dynamic_cast<HeadlessSoundBuffer*>(Vorn.sound_buffers[clip.buffer]);
}

std::string BufferBytes(const SoundX& clip) {
  const auto& bytes = BufferOf(clip)->Bytes();
  return {bytes.begin(), bytes.end()};
}

// The error of each message box shown since the `from`th, in order (-1: unregistered).
Codes Reported(const HeadlessPlatform& headless, std::size_t from = 0) {
  Codes codes;
  for (std::size_t i = from; i < headless.MessageBoxes().size(); ++i) {
    int found = -1;
    for (int code = 0; code <= 40; ++code) {
      if (headless.MessageBoxes()[i].text.find(LookUpError(code).line) != std::string::npos) {
        found = code;
      }
    }
    if (headless.MessageBoxes()[i].text.find("UNREGISTERED") != std::string::npos) found = -1;
    codes.push_back(found);
  }
  return codes;
}

class PlaybackTest : public testing::Test {
 protected:
  void SetUp() override { headless_ = &StartHeadlessEngine(); }
  HeadlessPlatform* headless_ = nullptr;
};

TEST_F(PlaybackTest, FirstPlayRegistersFillsAndPlaysThenPlaysRewindAndResume) {
  TestClip clip(1, 8, 1000, Pattern(1000));  // one second
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(std::tuple(clip.buffer, int{clip.dirty}, Vorn.sound_clips[0]),
            std::tuple(0, 0, static_cast<SoundX*>(&clip)));
  EXPECT_EQ(std::tuple(Vorn.sound_channels, Vorn.sound_bits, Vorn.sound_rate),
            std::tuple(1, 8, 1000));
  HeadlessSoundBuffer* buffer = BufferOf(clip);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(BufferBytes(clip), clip.Samples());

  // Later plays only rewind (or not) and play: no new lock, no new entry.
  headless_->Advance(300);
  Vorn.SoundPlay(&clip, 1);
  headless_->Advance(300);
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Vorn.sound_count, 1);
  EXPECT_EQ(buffer->Locks(), 1);
  ASSERT_EQ(buffer->Plays().size(), 3u);
  EXPECT_EQ(std::tuple(buffer->Plays()[0].position, buffer->Plays()[1].position,
                       buffer->Plays()[1].was_playing, buffer->Plays()[2].position),
            std::tuple(0u, 300u, true, 0u));
  headless_->Advance(999);
  EXPECT_TRUE(buffer->IsPlaying());
  headless_->Advance(1);
  EXPECT_FALSE(buffer->IsPlaying());
  EXPECT_TRUE(headless_->MessageBoxes().empty());
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
}

TEST(PlaybackFaults, FailuresAreReportedAndThePlayGoesOn) {
  using namespace platform;
  constexpr Op kLock = Op::kBufferLock, kCaps = Op::kBufferGetCaps;
  constexpr int kAlways = headless::kAlways;
  constexpr int kRunning = STATUS_RUNNING;
  const struct {
    const char* label;
    Op op;
    Result result;
    int count;
    int restores;
    Codes reported;  // -1: the unregistered pair
    int status;
    int unlocks;  // the samples were copied when the lock succeeded with the buffer's length
  } cases[] = {
      {"lost three times", kLock, DSERR_BUFFERLOST, 3, 3, {}, kRunning, 1},
      {"lost every time", kLock, DSERR_BUFFERLOST, kAlways, 10, {ERR_SOUNDLOST}, ERR_SOUNDLOST, 0},
      {"invalid call", kLock, DSERR_INVALIDCALL, 1, 0, {ERR_SOUNDINVALID}, ERR_SOUNDINVALID, 0},
      // Any other failure reports the current status: while running, the unregistered pair.
      {"other", kLock, DSERR_OUTOFMEMORY, 1, 0, {-1}, kRunning, 0},
      {"caps", kCaps, DSERR_GENERIC, 1, 0, {ERR_SOUNDCAPS, ERR_SOUNDBUFLEN}, ERR_SOUNDBUFLEN, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    HeadlessPlatform& headless = StartHeadlessEngine();
    headless.Fail(c.op, c.result, c.count);
    TestClip clip(1, 16, 8000, Pattern(64));
    Vorn.SoundPlay(&clip, 0);
    EXPECT_EQ(Reported(headless), c.reported);
    EXPECT_EQ(BufferBytes(clip), c.reported.empty() ? clip.Samples() : std::string(64, '\0'));
    // Played either way; clean only once filled, so that a failed fill is tried again.
    EXPECT_EQ(std::tuple(headless.Calls(Op::kBufferRestore), Vorn.status, BufferOf(clip)->Unlocks(),
                         int{clip.dirty}, BufferOf(clip)->Plays().size()),
              std::tuple(c.restores, c.status, c.unlocks, c.unlocks == 0 ? 1 : 0, 1u));
  }
}

TEST_F(PlaybackTest, AReloadedClipIsCopiedAgainWithinItsBuffer) {
  TestClip clip(2, 16, 8000, Pattern(400));
  Vorn.SoundPlay(&clip, 0);
  HeadlessSoundBuffer* buffer = BufferOf(clip);
  clip.SetSamples(Pattern(400, 9));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(std::tuple(Vorn.sound_count, buffer->Locks()), std::tuple(1, 2));
  EXPECT_EQ(BufferBytes(clip), Pattern(400, 9));
  EXPECT_TRUE(headless_->MessageBoxes().empty());
  // Longer than its buffer: reported, and the copy stops at the buffer's end.
  clip.SetSamples(Pattern(800, 3));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Reported(*headless_), Codes{ERR_SOUNDBUFLEN});
  EXPECT_EQ(BufferBytes(clip), Pattern(400, 3));
  // Shorter: the copy stops at the clip's own bytes.
  clip.SetSamples(Pattern(100, 5));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(BufferBytes(clip), Pattern(100, 5) + Pattern(300, 103));
}

}  // namespace
