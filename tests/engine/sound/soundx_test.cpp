#include "engine/sound/soundx.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/vorn.h"
#include "engine/files/debug_log.h"
#include "support/headless_engine.h"
#include "support/sound_clips.h"
#include "support/sound_files.h"

namespace {

using sound_files::Chunk;
using sound_files::FormatBody;
using sound_files::Pattern;
using sound_files::Riff;
using sound_files::WriteFile;

std::string Pcm(uint16_t channels, uint32_t rate, uint16_t bits, const std::string& samples) {
  return Riff(Chunk("fmt ", FormatBody(1, channels, rate, bits)) + Chunk("data", samples));
}

const char kInvalidText[] =
    ".WAV Format Invalid: \n\nInvalid WAV Format. Not all types of WAV files are supported. Try "
    "saving your WAV file with a different program, or with 'extra wav information' turned off.";

class SoundLoadTest : public testing::Test {
 protected:
  void SetUp() override {
    debug_log.Open("debug.txt");
    platform::headless::Config config;
    config.echo_message_boxes = true;  // so that a dying test process still shows its box
    headless_ = &UseFreshHeadless(config);
    std::filesystem::create_directory("Sounds");
  }
  platform::headless::HeadlessPlatform* headless_ = nullptr;
};

TEST_F(SoundLoadTest, LoadsAClipAndMarksItDirty) {
  WriteFile("Sounds/ping.wav", Pcm(2, 250, 16, Pattern(1000)));
  TestClip clip;
  clip.dirty = 0;
  ASSERT_TRUE(clip.Load("Sounds\\ping.wav"));
  EXPECT_EQ(clip.channels, 2);
  EXPECT_EQ(clip.bits, 16);
  EXPECT_EQ(clip.rate, 250);
  EXPECT_EQ(clip.frames, 250);
  EXPECT_EQ(clip.size, 1000);
  EXPECT_FLOAT_EQ(clip.length, 1.0f);
  EXPECT_EQ(clip.Samples(), Pattern(1000));
  EXPECT_EQ(clip.dirty, 1);
  EXPECT_EQ(clip.buffer, -1);
  EXPECT_TRUE(headless_->MessageBoxes().empty());
}

TEST_F(SoundLoadTest, ReloadReplacesTheSamples) {
  WriteFile("one.wav", Pcm(1, 8000, 8, Pattern(10)));
  WriteFile("two.wav", Pcm(1, 11025, 16, Pattern(30, 4)));
  TestClip clip;
  ASSERT_TRUE(clip.Load("one.wav"));
  clip.dirty = 0;
  // Under the address sanitizer, samples that were not freed show up as a leak.
  ASSERT_TRUE(clip.Load("two.wav"));
  EXPECT_EQ(clip.Samples(), Pattern(30, 4));
  EXPECT_EQ(clip.frames, 15);
  EXPECT_EQ(clip.rate, 11025);
  EXPECT_EQ(clip.dirty, 1);
}

TEST_F(SoundLoadTest, NonPcmLeavesTheClipAsItWas) {
  WriteFile("one.wav", Pcm(1, 8000, 8, Pattern(10)));
  WriteFile("float.wav",
            Riff(Chunk("fmt ", FormatBody(3, 2, 44100, 32)) + Chunk("data", "abcdefgh")));
  TestClip clip;
  ASSERT_TRUE(clip.Load("one.wav"));
  clip.dirty = 0;
  EXPECT_FALSE(clip.Load("float.wav"));
  EXPECT_EQ(clip.channels, 1);
  EXPECT_EQ(clip.bits, 8);
  EXPECT_EQ(clip.rate, 8000);
  EXPECT_EQ(clip.Samples(), Pattern(10));
  EXPECT_EQ(clip.dirty, 0);
  EXPECT_TRUE(headless_->MessageBoxes().empty());
}

TEST_F(SoundLoadTest, NoDataChunkKeepsTheEarlierSamples) {
  WriteFile("one.wav", Pcm(1, 8000, 8, Pattern(10)));
  WriteFile("empty.wav", Riff(Chunk("fmt ", FormatBody(1, 2, 22050, 16)) + Chunk("LIST", "abcd")));
  TestClip clip;
  ASSERT_TRUE(clip.Load("one.wav"));
  ASSERT_TRUE(clip.Load("empty.wav"));
  EXPECT_EQ(clip.channels, 2);
  EXPECT_EQ(clip.rate, 22050);
  EXPECT_EQ(clip.size, 10);
  EXPECT_EQ(clip.frames, 10);
  EXPECT_EQ(clip.Samples(), Pattern(10));
}

struct DeathCase {
  const char* label;
  const char* name;
  std::string file;  // not written when empty
  std::string box;   // as the headless back end echoes it
  std::string log;
};

TEST_F(SoundLoadTest, MissingOrInvalidFilesEndTheProgram) {
  const std::string bad_format = std::string("Vorn Error: ") + kInvalidText;
  const std::vector<DeathCase> cases = {
      {"missing", "Sounds\\gone.wav", "",
       "Vorn Error: .WAV File Not Found: Sounds\\gone.wav\n\nMake sure paths and names of WAV "
       "files are correct. If you started the game outside of Visual C++, make sure the executable "
       "is in the correct location to find sounds.",
       "File::Open: File does not exist for read.\n  "},
      {"RIFX", "Sounds\\rifx.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 8)), "RIFX"),
       bad_format, ""},
      {"no channels", "Sounds\\none.wav", Pcm(0, 8000, 8, "abcd"), bad_format, ""},
      {"four-bit samples", "Sounds\\four.wav", Pcm(1, 8000, 4, "abcd"), bad_format, ""},
  };
  for (const DeathCase& c : cases) {
    SCOPED_TRACE(c.label);
    debug_log.Open("debug.txt");
    if (!c.file.empty()) WriteFile(std::string("Sounds/") + (c.name + 7), c.file);
    EXPECT_EXIT(
        {
          TestClip clip;
          clip.Load(c.name);
        },
        testing::ExitedWithCode(255), testing::HasSubstr(c.box));
    EXPECT_EQ(sound_files::ReadFile("debug.txt"), c.log);
  }
}

TEST(SoundLoadWithoutWindows, TheBoxBecomesALineOnStandardError) {
  ResetEngine();
  EXPECT_EXIT(
      {
        TestClip clip;
        clip.Load("nothing.wav");
      },
      testing::ExitedWithCode(255),
      testing::HasSubstr("Vorn Error: .WAV File Not Found: nothing.wav\n"));
}

}  // namespace
