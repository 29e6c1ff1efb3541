#include "engine/sound/soundx.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

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

std::string Pcm(uint16_t channels, uint32_t rate, uint16_t bits, const std::string& samples,
                uint16_t tag = 1) {
  return Riff(Chunk("fmt ", FormatBody(tag, channels, rate, bits)) + Chunk("data", samples));
}

// A fresh log and engine whose message boxes a dying test process still shows.
platform::headless::HeadlessPlatform& Fresh() {
  debug_log.Open("debug.txt");
  std::filesystem::create_directory("Sounds");
  return UseFreshHeadless({.echo_message_boxes = true});
}

// channels, bits, rate, frames, size, length, dirty, buffer
std::string Fields(const SoundX& c) {
  std::ostringstream out;
  out << c.channels << ' ' << c.bits << ' ' << c.rate << ' ' << c.frames << ' ' << c.size << ' '
      << c.length << ' ' << int{c.dirty} << ' ' << c.buffer;
  return out.str();
}

// Loads, reloads, a refused non-PCM file and a file without samples, one after another on the
// same clip: each load marks the clip dirty and replaces the samples only when it has some.
TEST(SoundLoad, LoadsAndReloadsAClip) {
  auto& headless = Fresh();
  WriteFile("Sounds/ping.wav", Pcm(2, 250, 16, Pattern(1000)));
  WriteFile("two.wav", Pcm(1, 11025, 16, Pattern(30, 4)));
  WriteFile("float.wav", Pcm(2, 44100, 32, "abcdefgh", 3));
  WriteFile("empty.wav", Riff(Chunk("fmt ", FormatBody(1, 2, 22050, 8)) + Chunk("LIST", "abcd")));
  TestClip clip;
  clip.dirty = 0;
  ASSERT_TRUE(clip.Load("Sounds\\ping.wav"));
  EXPECT_EQ(Fields(clip) + clip.Samples(), "2 16 250 250 1000 1 1 -1" + Pattern(1000));
  clip.dirty = 0;
  // Under the address sanitizer, samples that were not freed show up as a leak.
  ASSERT_TRUE(clip.Load("two.wav"));
  EXPECT_EQ(Fields(clip) + clip.Samples(), "1 16 11025 15 30 0.00136054 1 -1" + Pattern(30, 4));
  clip.dirty = 0;
  EXPECT_FALSE(clip.Load("float.wav"));
  EXPECT_EQ(Fields(clip), "1 16 11025 15 30 0.00136054 0 -1");
  ASSERT_TRUE(clip.Load("empty.wav"));
  EXPECT_EQ(Fields(clip) + clip.Samples(), "2 8 22050 15 30 0.00136054 1 -1" + Pattern(30, 4));
  EXPECT_TRUE(headless.MessageBoxes().empty());
}

TEST(SoundLoad, MissingOrInvalidFilesEndTheProgram) {
  // The file is not written when empty; the box is as the headless back end echoes it.
  const struct {
    const char* name;
    std::string file, box, log;
  } cases[] = {
      {"Sounds\\gone.wav", "",
       "Vorn Error: .WAV File Not Found: Sounds\\gone.wav\n\nMake sure paths and names of WAV "
       "files are correct. If you started the game outside of Visual C++, make sure the "
       "executable is in the correct location to find sounds.",
       "File::Open: File does not exist for read.\n  "},
      {"Sounds\\rifx.wav", Riff(Chunk("fmt ", FormatBody(1, 1, 8000, 8)), "RIFX"),
       "Vorn Error: .WAV Format Invalid: \n\nInvalid WAV Format. Not all types of WAV files are "
       "supported. Try saving your WAV file with a different program, or with 'extra wav "
       "information' turned off.",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    if (!c.file.empty()) WriteFile(std::string("Sounds/") + (c.name + 7), c.file);
    EXPECT_EXIT(TestClip().Load(c.name), testing::ExitedWithCode(255), testing::HasSubstr(c.box));
    EXPECT_EQ(sound_files::ReadFile("debug.txt"), c.log);
  }
}

}  // namespace
