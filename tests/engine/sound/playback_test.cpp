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
using Names = std::vector<std::string>;

HeadlessSoundBuffer* BufferOf(const SoundX& clip) {
  if (clip.buffer < 0 || clip.buffer >= Vorn.sound_count) return nullptr;
  return dynamic_cast<HeadlessSoundBuffer*>(Vorn.sound_buffers[clip.buffer]);
}

std::string BufferBytes(const SoundX& clip) {
  const auto& bytes = BufferOf(clip)->Bytes();
  return {bytes.begin(), bytes.end()};
}

// The error name in each message box shown, in order ("SOUNDLOST_FAIL", "UNREGISTERED", ...).
Names Reported(const HeadlessPlatform& headless) {
  Names names;
  for (const auto& box : headless.MessageBoxes()) {
    const std::size_t at = box.text.find("Error: ") + 7;
    names.push_back(box.text.substr(at, box.text.find_first_of(" \n", at) - at));
  }
  return names;
}

TEST(Playback, FirstPlayRegistersFillsAndPlaysThenPlaysRewindAndResume) {
  HeadlessPlatform& headless = StartHeadlessEngine();
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
  headless.Advance(300);
  Vorn.SoundPlay(&clip, 1);
  headless.Advance(300);
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(std::tuple(Vorn.sound_count, buffer->Locks()), std::tuple(1, 1));
  ASSERT_EQ(buffer->Plays().size(), 3u);
  EXPECT_EQ(std::tuple(buffer->Plays()[0].position, buffer->Plays()[1].position,
                       buffer->Plays()[1].was_playing, buffer->Plays()[2].position),
            std::tuple(0u, 300u, true, 0u));
  EXPECT_EQ(std::pair(Reported(headless), Vorn.status), std::pair(Names{}, STATUS_RUNNING));
}

TEST(Playback, FailuresAreReportedAndThePlayGoesOn) {
  using namespace platform;
  constexpr Op kLock = Op::kBufferLock;
  constexpr int kRunning = STATUS_RUNNING;
  // Restores tried, boxes shown, the status after, and the unlocks: the samples were copied
  // when the lock succeeded with the buffer's length.
  // clang-format off
  const struct { Op op; Result result; int count, restores; Names reported; int status, unlocks; } cases[] = {
      {kLock, DSERR_BUFFERLOST, 3, 3, {}, kRunning, 1},
      {kLock, DSERR_BUFFERLOST, headless::kAlways, 10, {"SOUNDLOST_FAIL"}, ERR_SOUNDLOST, 0},
      {kLock, DSERR_INVALIDCALL, 1, 0, {"SOUNDINVALID_FAIL"}, ERR_SOUNDINVALID, 0},
      // Any other failure reports the current status: while running, the unregistered pair.
      {kLock, DSERR_OUTOFMEMORY, 1, 0, {"UNREGISTERED"}, kRunning, 0},
      {Op::kBufferGetCaps, DSERR_GENERIC, 1, 0, {"SOUNDCAPS_FAILED", "SOUNDBUFLEN_FAILED"}, ERR_SOUNDBUFLEN, 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
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

TEST(Playback, AReloadedClipIsCopiedAgainWithinItsBuffer) {
  HeadlessPlatform& headless = StartHeadlessEngine();
  TestClip clip(2, 16, 8000, Pattern(400));
  Vorn.SoundPlay(&clip, 0);
  clip.SetSamples(Pattern(400, 9));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(std::tuple(Vorn.sound_count, BufferOf(clip)->Locks(), BufferBytes(clip)),
            std::tuple(1, 2, Pattern(400, 9)));
  // Longer than its buffer: reported, and the copy stops at the buffer's end.
  clip.SetSamples(Pattern(800, 3));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(std::pair(Reported(headless), BufferBytes(clip)),
            std::pair(Names{"SOUNDBUFLEN_FAILED"}, Pattern(400, 3)));
  // Shorter: the copy stops at the clip's own bytes.
  clip.SetSamples(Pattern(100, 5));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(BufferBytes(clip), Pattern(100, 5) + Pattern(300, 103));
}

}  // namespace
