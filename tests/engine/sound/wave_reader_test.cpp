#include "engine/sound/wave_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "support/sound_files.h"

namespace {

using sound_files::Chunk;
using sound_files::Pattern;
using sound_files::Riff;
using namespace std::string_literals;

// Every hand-built clip plays at 100 frames a second, so its length is its frames ÷ 100.
std::string Fmt(uint16_t channels, uint16_t bits, const std::string& extra = "", uint16_t tag = 1) {
  return Chunk("fmt ", sound_files::FormatBody(tag, channels, 100, bits, extra));
}

std::string Samples(const WaveData& wave) {
  return {reinterpret_cast<const char*>(wave.samples.get()), static_cast<size_t>(wave.size)};
}

TEST(WaveReader, Layouts) {
  const std::string s1000 = Pattern(1000), s24 = Pattern(24, 7), s6 = Pattern(6, 50);
  const std::string d24 = Chunk("data", s24), info = "INFOISFT";
  constexpr WaveResult kOk = WAVE_LOADED, kBad = WAVE_INVALID;
  // The samples the clip must hold (empty: none at all) and its frames.
  // clang-format off
  const struct { const char* label; std::string file; WaveResult result; std::string samples; int32_t frames = 0; } cases[] = {
      {"16-bit stereo", Riff(Fmt(2, 16) + Chunk("data", s1000)), kOk, s1000, 250},
      {"18-byte format chunk", Riff(Fmt(1, 16, "\0\0"s) + d24), kOk, s24, 12},
      {"odd format chunk with its pad byte", Riff(Fmt(1, 8, "z") + d24), kOk, s24, 24},
      {"LIST of 26", Riff(Fmt(2, 16) + Chunk("LIST", info + std::string(18, 'e')) + d24), kOk, s24, 6},
      {"second data chunk wins", Riff(Fmt(1, 8) + d24 + Chunk("data", s6)), kOk, s6, 6},
      {"odd data chunk, then a chunk after its pad", Riff(Fmt(1, 8) + Chunk("data", "abc") + Chunk("LIST", "data")), kOk, "abc", 3},
      {"part frame", Riff(Fmt(2, 16) + Chunk("data", s6.substr(0, 5))), kOk, s6.substr(0, 5), 1},
      {"data larger than the file", Riff(Fmt(1, 8)) + "data\xE8\x03\0\0"s + s6, kOk, s6, 6},
      {"data size beyond any file", Riff(Fmt(1, 16)) + "data\xFF\xFF\xFF\xFF" + s6, kOk, s6, 3},
      {"24-bit samples are not read", Riff(Fmt(1, 24) + Chunk("data", s6)), kOk, std::string(6, 0), 2},
      {"no data chunk", Riff(Fmt(1, 8) + Chunk("LIST", "abcd")), kOk, ""},
      {"cut inside a chunk header", Riff(Fmt(1, 8)) + "dat", kOk, ""},
      {"format tag 3", Riff(Fmt(1, 32, "", 3) + d24), WAVE_NOT_PCM, ""},
      {"RIFX", Riff(Fmt(1, 8) + d24, "RIFX"), kBad, ""},
      {"cut inside the format fields", Riff("fmt \x10\0\0\0\x01\0\x01\0"s), kBad, ""},
      {"no channels", Riff(Fmt(0, 8) + d24), kBad, ""},
      {"samples narrower than a byte", Riff(Fmt(1, 4) + d24), kBad, ""},
      {"format chunk shorter than its fields", Riff(Chunk("fmt ", sound_files::FormatBody(1, 1, 100, 8), 12) + d24), kBad, ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    sound_files::WriteFile("clip.wav", c.file);
#ifdef VORN_WAVE_SEED_DIR
    // The hand-built layouts make good starting points for the fuzz target.
    std::error_code ignored;
    std::filesystem::create_directories(VORN_WAVE_SEED_DIR, ignored);
    std::string seed = c.label;
    for (char& ch : seed) ch = ch == ' ' || ch == '/' ? '-' : ch;
    sound_files::WriteFile(std::string(VORN_WAVE_SEED_DIR) + "/" + seed + ".wav", c.file);
#endif
    WaveData wave;
    ASSERT_EQ(DecodeWave("clip.wav", &wave), c.result);
    if (c.result != WAVE_LOADED) continue;
    EXPECT_EQ(std::tuple(wave.rate, wave.has_samples, Samples(wave), wave.frames),
              std::tuple(100, !c.samples.empty(), c.samples, c.frames));
    EXPECT_FLOAT_EQ(wave.length, static_cast<float>(c.frames) / 100.0f);
  }
  WaveData wave;
  EXPECT_EQ(DecodeWave("Gone\\none.wav", &wave), WAVE_NOT_FOUND);
}

// Files from an ordinary encoder, compared with the raw samples the same encoder extracts.
TEST(WaveReader, FilesWrittenBySox) {
  for (const auto& [options, channels, bits] :
       {std::tuple<std::string, int, int>{"-r 8000 -e unsigned-integer -b 8 -c 1", 1, 8},
        {"-r 22050 -e signed-integer -b 16 -c 2", 2, 16}}) {
    SCOPED_TRACE(options);
    ASSERT_TRUE(sound_files::Sox("-n " + options + " made.wav synth 0.25 sine 440 sine 660"));
    ASSERT_TRUE(sound_files::Sox("made.wav -t raw made.raw"));
    const std::string raw = sound_files::ReadFile("made.raw");
    WaveData wave;
    ASSERT_EQ(DecodeWave("made.wav", &wave), WAVE_LOADED);
    EXPECT_EQ(
        std::tuple(int{wave.channels}, int{wave.bits}, Samples(wave), wave.frames),
        std::tuple(channels, bits, raw, static_cast<int32_t>(raw.size()) / (channels * bits / 8)));
  }
}

}  // namespace
