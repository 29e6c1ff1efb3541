#include <gtest/gtest.h>

#include <string>
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

HeadlessSoundBuffer* BufferOf(const SoundX& clip) {
  if (clip.buffer < 0 || clip.buffer >= Vorn.sound_count) return nullptr;
  return dynamic_cast<HeadlessSoundBuffer*>(Vorn.sound_buffers[clip.buffer]);
}

std::string BufferBytes(const SoundX& clip) {
  const auto& bytes = BufferOf(clip)->Bytes();
  return {bytes.begin(), bytes.end()};
}

// The error lines of the message boxes shown, in order.
std::vector<int> Reported(const HeadlessPlatform& headless) {
  std::vector<int> codes;
  for (const auto& box : headless.MessageBoxes()) {
    int found = -1;
    for (int code = 0; code <= 40; ++code) {
      if (box.text.find(LookUpError(code).line) != std::string::npos) found = code;
    }
    codes.push_back(found);
  }
  return codes;
}

class PlaybackTest : public testing::Test {
 protected:
  void SetUp() override { headless_ = &StartHeadlessEngine(); }
  HeadlessPlatform* headless_ = nullptr;
};

TEST_F(PlaybackTest, FirstPlayRegistersFillsAndPlays) {
  TestClip clip(2, 16, 22050, Pattern(4000));
  Vorn.SoundPlay(&clip, 0);

  EXPECT_EQ(clip.buffer, 0);
  EXPECT_EQ(clip.dirty, 0);
  EXPECT_EQ(Vorn.sound_count, 1);
  EXPECT_EQ(Vorn.sound_clips[0], &clip);
  EXPECT_EQ(Vorn.sound_channels, 2);
  EXPECT_EQ(Vorn.sound_bits, 16);
  EXPECT_EQ(Vorn.sound_rate, 22050);
  HeadlessSoundBuffer* buffer = BufferOf(clip);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(buffer->Flags(), 0xE0u);
  EXPECT_EQ(buffer->Format().block_align, 4);
  EXPECT_EQ(buffer->Format().avg_bytes_per_sec, 88200u);
  EXPECT_EQ(BufferBytes(clip), clip.Samples());
  EXPECT_EQ(buffer->Unlocks(), 1);
  ASSERT_EQ(buffer->Plays().size(), 1u);
  EXPECT_EQ(buffer->Plays()[0].position, 0u);

  // The second play only rewinds and plays.
  headless_->Advance(10);
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Vorn.sound_count, 1);
  EXPECT_EQ(buffer->Locks(), 1);
  ASSERT_EQ(buffer->Plays().size(), 2u);
  EXPECT_EQ(buffer->Plays()[1].position, 0u);
  EXPECT_TRUE(headless_->MessageBoxes().empty());
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
}

TEST_F(PlaybackTest, RewindRestartsAndResumeGoesOn) {
  TestClip clip(1, 8, 1000, Pattern(1000));  // one second
  Vorn.SoundPlay(&clip, 0);
  HeadlessSoundBuffer* buffer = BufferOf(clip);
  headless_->Advance(300);
  Vorn.SoundPlay(&clip, 1);
  EXPECT_TRUE(buffer->Plays()[1].was_playing);
  EXPECT_EQ(buffer->Plays()[1].position, 300u);
  headless_->Advance(300);
  Vorn.SoundPlay(&clip, 0);
  EXPECT_TRUE(buffer->Plays()[2].was_playing);
  EXPECT_EQ(buffer->Plays()[2].position, 0u);
  headless_->Advance(999);
  EXPECT_TRUE(buffer->IsPlaying());
  headless_->Advance(1);
  EXPECT_FALSE(buffer->IsPlaying());
}

TEST_F(PlaybackTest, RegistryGrowsByTenAndKeepsItsEntries) {
  std::vector<std::unique_ptr<TestClip>> clips;
  for (int i = 0; i < 11; ++i) {
    clips.push_back(std::make_unique<TestClip>(1, 8, 8000, Pattern(16, i)));
    Vorn.SoundPlay(clips.back().get(), 0);
    EXPECT_EQ(Vorn.sound_capacity, i < 10 ? 10 : 20);
  }
  EXPECT_EQ(Vorn.sound_count, 11);
  for (int i = 0; i < 11; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(clips[i]->buffer, i);
    EXPECT_EQ(Vorn.sound_clips[i], clips[i].get());
    ASSERT_NE(BufferOf(*clips[i]), nullptr);
    EXPECT_EQ(BufferBytes(*clips[i]), Pattern(16, i));
  }
  EXPECT_TRUE(headless_->MessageBoxes().empty());
}

struct MatchCase {
  const char* label;
  uint16_t channels;
  uint16_t bits;
  int32_t rate;
  int reports;
  bool other_frame_size;  // the buffer then holds another number of the clip's frames
};

TEST_F(PlaybackTest, EachFieldOutsideTheCommonFormatIsReported) {
  const std::vector<MatchCase> cases = {
      {"same format", 2, 16, 22050, 0, false},      {"other rate", 2, 16, 11025, 1, false},
      {"other width", 2, 8, 22050, 1, true},        {"other channels", 1, 16, 22050, 1, true},
      {"rate and channels", 1, 16, 11025, 2, true}, {"all three", 1, 8, 44100, 3, true},
  };
  TestClip first(2, 16, 22050, Pattern(400));
  Vorn.SoundPlay(&first, 0);
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(c.label);
    const std::size_t before = headless_->MessageBoxes().size();
    TestClip clip(c.channels, c.bits, c.rate, Pattern(400));
    Vorn.SoundPlay(&clip, 0);
    const std::vector<int> reported = Reported(*headless_);
    std::vector<int> expected(static_cast<std::size_t>(c.reports), ERR_SOUNDMATCH);
    if (c.other_frame_size) expected.push_back(ERR_SOUNDBUFLEN);
    EXPECT_EQ(std::vector<int>(reported.begin() + static_cast<long>(before), reported.end()),
              expected);
    // Made in the common format anyway, for the clip's own number of frames.
    HeadlessSoundBuffer* buffer = BufferOf(clip);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Format().channels, 2);
    EXPECT_EQ(buffer->Format().bits_per_sample, 16);
    EXPECT_EQ(buffer->Format().samples_per_sec, 22050u);
    EXPECT_EQ(buffer->Bytes().size(), static_cast<std::size_t>(clip.frames) * 4);
  }
}

struct LockCase {
  const char* label;
  platform::Result result;
  int count;
  int restores;
  std::vector<int> reported;
  int status;
};

TEST(PlaybackLock, FailuresAfterTheRetriesAreReportedAndThePlayGoesOn) {
  const std::vector<LockCase> cases = {
      {"lost three times", platform::DSERR_BUFFERLOST, 3, 3, {}, STATUS_RUNNING},
      {"lost ten times", platform::DSERR_BUFFERLOST, 10, 10, {}, STATUS_RUNNING},
      {"lost every time",
       platform::DSERR_BUFFERLOST,
       platform::headless::kAlways,
       10,
       {ERR_SOUNDLOST},
       ERR_SOUNDLOST},
      {"invalid call", platform::DSERR_INVALIDCALL, 1, 0, {ERR_SOUNDINVALID}, ERR_SOUNDINVALID},
      {"invalid parameter", platform::DSERR_INVALIDPARAM, 1, 0, {ERR_SOUNDPARAM}, ERR_SOUNDPARAM},
      {"priority", platform::DSERR_PRIOLEVELNEEDED, 1, 0, {ERR_SOUNDPRIORITY}, ERR_SOUNDPRIORITY},
      // Any other failure reports the current status: while running, the unregistered pair.
      {"other", platform::DSERR_OUTOFMEMORY, 1, 0, {STATUS_RUNNING}, STATUS_RUNNING},
  };
  for (const LockCase& c : cases) {
    SCOPED_TRACE(c.label);
    FreeSoundRegistry();
    HeadlessPlatform& headless = StartHeadlessEngine();
    headless.Fail(Op::kBufferLock, c.result, c.count);
    TestClip clip(1, 16, 8000, Pattern(64));
    Vorn.SoundPlay(&clip, 0);

    EXPECT_EQ(headless.Calls(Op::kBufferRestore), c.restores);
    std::vector<int> reported = Reported(headless);
    if (c.reported == std::vector<int>{STATUS_RUNNING}) {
      ASSERT_EQ(headless.MessageBoxes().size(), 1u);
      EXPECT_NE(headless.MessageBoxes()[0].text.find("UNREGISTERED"), std::string::npos);
    } else {
      EXPECT_EQ(reported, c.reported);
    }
    EXPECT_EQ(Vorn.status, c.status);
    const bool filled = c.reported.empty();
    EXPECT_EQ(BufferBytes(clip), filled ? clip.Samples() : std::string(64, '\0'));
    EXPECT_EQ(BufferOf(clip)->Unlocks(), filled ? 1 : 0);
    // Marked clean either way, and played.
    EXPECT_EQ(clip.dirty, 0);
    EXPECT_EQ(BufferOf(clip)->Plays().size(), 1u);
  }
}

TEST_F(PlaybackTest, FailedCreationLeavesTheClipWithoutABuffer) {
  headless_->Fail(Op::kCreateSoundBuffer, platform::DSERR_OUTOFMEMORY);
  TestClip clip(1, 8, 8000, Pattern(64));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Reported(*headless_), std::vector<int>{ERR_SOUNDCREATE});
  EXPECT_EQ(clip.buffer, 0);
  EXPECT_EQ(Vorn.sound_buffers[0], nullptr);
  EXPECT_EQ(clip.dirty, 1);

  // Later plays stop at the missing buffer: no new index, no new report.
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Vorn.sound_count, 1);
  EXPECT_EQ(headless_->MessageBoxes().size(), 1u);
  EXPECT_EQ(headless_->Calls(Op::kCreateSoundBuffer), 1);
}

TEST_F(PlaybackTest, AnUnloadedFirstClipFixesAnEmptyFormat) {
  TestClip empty;
  Vorn.SoundPlay(&empty, 0);
  EXPECT_EQ(Reported(*headless_), std::vector<int>{ERR_SOUNDCREATE});
  TestClip clip(1, 8, 8000, Pattern(8));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Reported(*headless_), (std::vector<int>{ERR_SOUNDCREATE, ERR_SOUNDMATCH, ERR_SOUNDMATCH,
                                                    ERR_SOUNDMATCH, ERR_SOUNDCREATE}));
}

TEST_F(PlaybackTest, UnreadableCapabilitiesFillNothing) {
  headless_->Fail(Op::kBufferGetCaps, platform::DSERR_GENERIC);
  TestClip clip(1, 8, 8000, Pattern(64));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Reported(*headless_), (std::vector<int>{ERR_SOUNDCAPS, ERR_SOUNDBUFLEN}));
  EXPECT_EQ(BufferBytes(clip), std::string(64, '\0'));
  EXPECT_EQ(clip.dirty, 0);
}

TEST_F(PlaybackTest, AReloadedClipIsCopiedAgainWithinItsBuffer) {
  TestClip clip(2, 16, 8000, Pattern(400));
  Vorn.SoundPlay(&clip, 0);
  HeadlessSoundBuffer* buffer = BufferOf(clip);

  clip.SetSamples(Pattern(400, 9));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Vorn.sound_count, 1);
  EXPECT_EQ(buffer->Locks(), 2);
  EXPECT_EQ(BufferBytes(clip), Pattern(400, 9));
  EXPECT_TRUE(headless_->MessageBoxes().empty());

  // Longer than its buffer: reported, and the copy stops at the buffer's end.
  clip.SetSamples(Pattern(800, 3));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Reported(*headless_), std::vector<int>{ERR_SOUNDBUFLEN});
  EXPECT_EQ(BufferBytes(clip), Pattern(400, 3));

  // Shorter: the copy stops at the clip's own bytes.
  clip.SetSamples(Pattern(100, 5));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(BufferBytes(clip), Pattern(100, 5) + Pattern(300, 103));
}

TEST(PlaybackWithoutSound, NoSoundObjectMeansNoBuffer) {
  HeadlessPlatform& headless = UseFreshHeadless();
  TestClip clip(1, 8, 8000, Pattern(8));
  Vorn.SoundPlay(&clip, 0);
  EXPECT_EQ(Reported(headless), std::vector<int>{ERR_SOUNDCREATE});
  EXPECT_EQ(Vorn.sound_buffers[0], nullptr);
}

}  // namespace
