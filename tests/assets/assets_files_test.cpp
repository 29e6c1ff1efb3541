// The files as bytes: the sounds' chunk layout and shape, and the contact sheet's PNG.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/make_assets/png_out.h"
#include "tools/make_assets/sounds.h"
#include "tools/make_assets/wave_out.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le32(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
         static_cast<uint8_t>(s[at + 2]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

uint32_t Be32(const std::string& s, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) << 24 |
         static_cast<uint8_t>(s[at + 1]) << 16 | static_cast<uint8_t>(s[at + 2]) << 8 |
         static_cast<uint8_t>(s[at + 3]);
}

// Zero crossings per second over a stretch of samples: a rough pitch.
double Crossings(const std::vector<float>& s, size_t from, size_t to) {
  int n = 0;
  for (size_t i = from + 1; i < to; ++i) n += (s[i - 1] < 0) != (s[i] < 0);
  return n * static_cast<double>(assets::kSoundRate) / static_cast<double>(to - from);
}

TEST(AssetFiles, SoundsHaveTheirSamplesRightAfterTheFormatChunk) {
  // The game's reader steps over unknown chunks four bytes at a time: nothing may stand
  // between the 16-byte format chunk and the samples.
  ASSERT_TRUE(assets::WriteWave("beep.wav", assets::MakeHitBeep()));
  const std::string bytes = ReadAll("beep.wav");
  ASSERT_GE(bytes.size(), 44u);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Le32(bytes, 16), 16u);
  EXPECT_EQ(bytes.substr(36, 4), "data");
  EXPECT_EQ(Le32(bytes, 40), bytes.size() - 44);
  EXPECT_EQ(Le32(bytes, 4), bytes.size() - 8);
}

TEST(AssetFiles, SoundsAreShortStartAndEndInSilenceAndDifferInPitch) {
  const std::vector<float> beep = assets::MakeHitBeep(), blip = assets::MakeBlip();
  for (const auto* s : {&beep, &blip}) {
    const double seconds = static_cast<double>(s->size()) / assets::kSoundRate;
    EXPECT_GT(seconds, 0.06);
    EXPECT_LT(seconds, 0.14);
    EXPECT_EQ(s->front(), 0.0f);
    EXPECT_EQ(s->back(), 0.0f);
    // No click: the first and last 2 ms rise and fall gently.
    const size_t edge = assets::kSoundRate / 500;
    for (size_t i = 1; i < edge; ++i) {
      EXPECT_LT(std::abs((*s)[i] - (*s)[i - 1]), 0.08f);
      EXPECT_LT(std::abs((*s)[s->size() - i] - (*s)[s->size() - i - 1]), 0.08f);
    }
    const float peak = std::abs(*std::max_element(
        s->begin(), s->end(), [](float a, float b) { return std::abs(a) < std::abs(b); }));
    EXPECT_GT(peak, 0.3f);
    EXPECT_LT(peak, 0.95f);
  }
  // The hit beep rises and sits well above the blip.
  const size_t half = beep.size() / 2;
  EXPECT_GT(Crossings(beep, half, beep.size()), Crossings(beep, 0, half) * 1.3);
  EXPECT_GT(Crossings(beep, 0, beep.size()), Crossings(blip, 0, blip.size()) * 2);
}

TEST(AssetFiles, ContactSheetIsAValidPngOfThePicture) {
  assets::Picture p{5, 3, false, std::vector<uint8_t>(5 * 3 * 4)};
  for (size_t i = 0; i < p.rgba.size(); ++i) p.rgba[i] = static_cast<uint8_t>(i * 7);
  ASSERT_TRUE(assets::WritePng("sheet.png", p));
  const std::string png = ReadAll("sheet.png");
  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  std::string idat;
  size_t at = 8;
  std::vector<std::string> types;
  while (at + 12 <= png.size()) {
    const uint32_t length = Be32(png, at);
    const std::string type = png.substr(at + 4, 4);
    types.push_back(type);
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
    EXPECT_EQ(Be32(png, at + 8 + length), crc) << type;
    if (type == "IHDR") {
      EXPECT_EQ(Be32(png, at + 8), 5u);
      EXPECT_EQ(Be32(png, at + 12), 3u);
    }
    if (type == "IDAT") idat += png.substr(at + 8, length);
    at += 12 + length;
  }
  EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
  std::vector<uint8_t> raw(3 * (1 + 5 * 3));
  uLongf size = raw.size();
  ASSERT_EQ(uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(idat.data()), idat.size()),
            Z_OK);
  ASSERT_EQ(size, raw.size());
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(raw[y * 16], 0);  // no filter
    for (int x = 0; x < 5; ++x)
      for (int k = 0; k < 3; ++k) EXPECT_EQ(raw[y * 16 + 1 + x * 3 + k], p.At(x, y)[k]);
  }
}

}  // namespace
