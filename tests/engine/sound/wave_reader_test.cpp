#include "engine/sound/wave_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/sound_files.h"

namespace {

using sound_files::Chunk;
using sound_files::FormatBody;
using sound_files::Pattern;
using sound_files::Riff;
using namespace std::string_literals;

std::string Fmt(uint16_t channels, uint32_t rate, uint16_t bits, const std::string& extra = "",
                uint16_t tag = 1) {
  return Chunk("fmt ", FormatBody(tag, channels, rate, bits, extra));
}

// The hand-built layouts make good starting points for the fuzz target.
void KeepAsSeed([[maybe_unused]] const std::string& label,
                [[maybe_unused]] const std::string& file) {
#ifdef VORN_WAVE_SEED_DIR
  std::error_code ignored;
  std::filesystem::create_directories(VORN_WAVE_SEED_DIR, ignored);
  std::string name = label;
  for (char& c : name) {
    if (c == ' ' || c == '/') c = '-';
  }
  sound_files::WriteFile(std::string(VORN_WAVE_SEED_DIR) + "/" + name + ".wav", file);
#endif
}

std::string Samples(const WaveData& wave) {
  return {reinterpret_cast<const char*>(wave.samples.get()), static_cast<size_t>(wave.size)};
}

struct LayoutCase {
  const char* label;
  std::string file;
  WaveResult result;
  uint16_t channels;
  uint16_t bits;
  int32_t rate;
  bool has_samples;
  std::string samples;  // the bytes the clip must hold
  int32_t frames;
  float length;
};

TEST(WaveReader, Layouts) {
  const std::string s1000 = Pattern(1000);
  const std::string s24 = Pattern(24, 7);
  const std::string s6 = Pattern(6, 50);
  const std::vector<LayoutCase> cases = {
      {"16-bit stereo", Riff(Fmt(2, 250, 16) + Chunk("data", s1000)), WAVE_LOADED, 2, 16, 250, true,
       s1000, 250, 1.0f},
      {"8-bit mono", Riff(Fmt(1, 8000, 8) + Chunk("data", s24)), WAVE_LOADED, 1, 8, 8000, true, s24,
       24, 0.003f},
      {"18-byte format chunk", Riff(Fmt(1, 100, 16, "\x00\x00"s) + Chunk("data", s24)), WAVE_LOADED,
       1, 16, 100, true, s24, 12, 0.12f},
      {"format chunk far larger than its fields",
       Riff(Fmt(1, 100, 8, std::string(300, 'x')) + Chunk("data", s24)), WAVE_LOADED, 1, 8, 100,
       true, s24, 24, 0.24f},
      {"odd format chunk with its pad byte", Riff(Fmt(1, 100, 8, "z") + Chunk("data", s24)),
       WAVE_LOADED, 1, 8, 100, true, s24, 24, 0.24f},
      {"fact chunk", Riff(Fmt(1, 100, 8) + Chunk("fact", "\x18\0\0\0"s) + Chunk("data", s24)),
       WAVE_LOADED, 1, 8, 100, true, s24, 24, 0.24f},
      {"list chunk of 26 bytes",
       Riff(Fmt(2, 100, 16) + Chunk("LIST", "INFOISFT" + std::string(18, 'e')) +
            Chunk("data", s24)),
       WAVE_LOADED, 2, 16, 100, true, s24, 6, 0.06f},
      {"list chunk of 28 bytes",
       Riff(Fmt(2, 100, 16) + Chunk("LIST", "INFOISFT" + std::string(20, 'e')) +
            Chunk("data", s24)),
       WAVE_LOADED, 2, 16, 100, true, s24, 6, 0.06f},
      {"odd unknown chunk", Riff(Fmt(1, 100, 8) + Chunk("junk", "abc") + Chunk("data", s24)),
       WAVE_LOADED, 1, 8, 100, true, s24, 24, 0.24f},
      {"second data chunk replaces the first",
       Riff(Fmt(1, 100, 8) + Chunk("data", s24) + Chunk("data", s6)), WAVE_LOADED, 1, 8, 100, true,
       s6, 6, 0.06f},
      {"odd data chunk, then a chunk after its pad",
       Riff(Fmt(1, 100, 8) + Chunk("data", "abc") + Chunk("LIST", "data")), WAVE_LOADED, 1, 8, 100,
       true, "abc", 3, 0.03f},
      {"size not a multiple of the frame", Riff(Fmt(2, 100, 16) + Chunk("data", s6.substr(0, 5))),
       WAVE_LOADED, 2, 16, 100, true, s6.substr(0, 5), 1, 0.01f},
      {"data larger than the file",
       Riff(Fmt(1, 100, 8)) + "data" + std::string("\xE8\x03\0\0", 4) + s6, WAVE_LOADED, 1, 8, 100,
       true, s6, 6, 0.06f},
      {"data size beyond any file", Riff(Fmt(1, 100, 16)) + "data\xFF\xFF\xFF\xFF" + s6,
       WAVE_LOADED, 1, 16, 100, true, s6, 3, 0.03f},
      {"24-bit samples are not read", Riff(Fmt(1, 100, 24) + Chunk("data", s6)), WAVE_LOADED, 1, 24,
       100, true, std::string(6, '\0'), 2, 0.02f},
      {"no data chunk", Riff(Fmt(1, 100, 8) + Chunk("LIST", "abcd")), WAVE_LOADED, 1, 8, 100, false,
       "", 0, 0.0f},
      {"cut inside a chunk header", Riff(Fmt(1, 100, 8)) + "dat", WAVE_LOADED, 1, 8, 100, false, "",
       0, 0.0f},
      {"format tag 3", Riff(Fmt(1, 100, 32, "", 3) + Chunk("data", s24)), WAVE_NOT_PCM, 0, 0, 0,
       false, "", 0, 0.0f},
      {"RIFX", Riff(Fmt(1, 100, 8) + Chunk("data", s24), "RIFX"), WAVE_INVALID, 0, 0, 0, false, "",
       0, 0.0f},
      {"not WAVE", Riff(Fmt(1, 100, 8), "RIFF", "AVI "), WAVE_INVALID, 0, 0, 0, false, "", 0, 0.0f},
      {"format chunk not first", Riff(Chunk("LIST", "abcd") + Fmt(1, 100, 8)), WAVE_INVALID, 0, 0,
       0, false, "", 0, 0.0f},
      {"only the tag", "RIFF", WAVE_INVALID, 0, 0, 0, false, "", 0, 0.0f},
      {"empty file", "", WAVE_INVALID, 0, 0, 0, false, "", 0, 0.0f},
      {"cut inside the format fields", Riff("fmt \x10\0\0\0\x01\0\x01\0"s), WAVE_INVALID, 0, 0, 0,
       false, "", 0, 0.0f},
      {"no channels", Riff(Fmt(0, 100, 8) + Chunk("data", s24)), WAVE_INVALID, 0, 0, 0, false, "",
       0, 0.0f},
      {"samples narrower than a byte", Riff(Fmt(1, 100, 4) + Chunk("data", s24)), WAVE_INVALID, 0,
       0, 0, false, "", 0, 0.0f},
      {"format chunk shorter than its fields",
       Riff(Chunk("fmt ", FormatBody(1, 1, 100, 8), 12) + Chunk("data", s24)), WAVE_INVALID, 0, 0,
       0, false, "", 0, 0.0f},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.label);
    sound_files::WriteFile("clip.wav", c.file);
    KeepAsSeed(c.label, c.file);
    WaveData wave;
    ASSERT_EQ(DecodeWave("clip.wav", &wave), c.result);
    if (c.result != WAVE_LOADED) continue;
    EXPECT_EQ(wave.channels, c.channels);
    EXPECT_EQ(wave.bits, c.bits);
    EXPECT_EQ(wave.rate, c.rate);
    ASSERT_EQ(wave.has_samples, c.has_samples);
    if (!c.has_samples) continue;
    EXPECT_EQ(wave.size, static_cast<int32_t>(c.samples.size()));
    EXPECT_EQ(Samples(wave), c.samples);
    EXPECT_EQ(wave.frames, c.frames);
    EXPECT_FLOAT_EQ(wave.length, c.length);
  }
}

TEST(WaveReader, MissingFileAndBackslashNames) {
  WaveData wave;
  EXPECT_EQ(DecodeWave("Sounds\\none.wav", &wave), WAVE_NOT_FOUND);
  std::filesystem::create_directory("Sounds");
  sound_files::WriteFile("Sounds/one.wav", Riff(Fmt(1, 100, 8) + Chunk("data", "abcd")));
  EXPECT_EQ(DecodeWave("Sounds\\one.wav", &wave), WAVE_LOADED);
  EXPECT_EQ(Samples(wave), "abcd");
}

struct SoxCase {
  const char* label;
  std::string options;  // sample format options for sox
  uint16_t channels;
  uint16_t bits;
  int32_t rate;
};

// Files from an ordinary encoder, compared with the raw samples the same encoder extracts.
TEST(WaveReader, FilesWrittenBySox) {
  const std::vector<SoxCase> cases = {
      {"8-bit mono", "-r 8000 -e unsigned-integer -b 8 -c 1", 1, 8, 8000},
      {"16-bit stereo", "-r 22050 -e signed-integer -b 16 -c 2", 2, 16, 22050},
      {"16-bit mono", "-r 11025 -e signed-integer -b 16 -c 1", 1, 16, 11025},
  };
  for (const SoxCase& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_TRUE(sound_files::Sox("-n " + c.options + " made.wav synth 0.25 sine 440 sine 660"));
    ASSERT_TRUE(sound_files::Sox("made.wav -t raw made.raw"));
    const std::string raw = sound_files::ReadFile("made.raw");
    ASSERT_FALSE(raw.empty());

    WaveData wave;
    ASSERT_EQ(DecodeWave("made.wav", &wave), WAVE_LOADED);
    EXPECT_EQ(wave.channels, c.channels);
    EXPECT_EQ(wave.bits, c.bits);
    EXPECT_EQ(wave.rate, c.rate);
    ASSERT_TRUE(wave.has_samples);
    EXPECT_EQ(Samples(wave), raw);
    EXPECT_EQ(wave.frames, static_cast<int32_t>(raw.size()) / (c.channels * c.bits / 8));
    EXPECT_NEAR(wave.length, 0.25f, 1.0f / static_cast<float>(c.rate));
  }
}

}  // namespace
