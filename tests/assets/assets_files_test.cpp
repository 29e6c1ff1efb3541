// The files as bytes: the sounds' chunk layout and shape, and the contact sheet's PNG.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
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

// Four bytes at `at`, least significant first, or most significant first.
uint32_t Bytes32(const std::string& s, size_t at, bool big_endian) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= uint32_t{static_cast<uint8_t>(s[at + i])} << 8 * (big_endian ? 3 - i : i);
  return v;
}

// Zero crossings per second over a stretch of samples: a rough pitch.
double Crossings(const std::vector<float>& s, size_t from, size_t to) {
  int n = 0;
  for (size_t i = from + 1; i < to; ++i) n += (s[i - 1] < 0) != (s[i] < 0);
  return n * static_cast<double>(assets::kSoundRate) / static_cast<double>(to - from);
}

// About a tenth of a second, starting and ending in silence without a click (gentle first and
// last 2 ms), loud but unclipped; the hit beep rises and sits well above the blip.
TEST(AssetFiles, SoundsAreShortStartAndEndInSilenceAndDifferInPitch) {
  const std::vector<float> beep = assets::MakeHitBeep(), blip = assets::MakeBlip();
  for (const auto* s : {&beep, &blip}) {
    EXPECT_NEAR(static_cast<double>(s->size()) / assets::kSoundRate, 0.1, 0.04);
    EXPECT_EQ(s->front(), 0.0f);
    EXPECT_EQ(s->back(), 0.0f);
    for (size_t i = 1; i < assets::kSoundRate / 500; ++i) {
      EXPECT_LT(std::abs((*s)[i] - (*s)[i - 1]), 0.08f);
      EXPECT_LT(std::abs((*s)[s->size() - i] - (*s)[s->size() - i - 1]), 0.08f);
    }
    const auto [low, high] = std::minmax_element(s->begin(), s->end());
    const float peak = std::max(-*low, *high);
    EXPECT_TRUE(peak > 0.3f && peak < 0.95f) << peak;
  }
  const size_t half = beep.size() / 2;
  EXPECT_GT(Crossings(beep, half, beep.size()), Crossings(beep, 0, half) * 1.3);
  EXPECT_GT(Crossings(beep, 0, beep.size()), Crossings(blip, 0, blip.size()) * 2);
}

// Chunks IHDR, IDAT, IEND with good CRCs; the image data inflates to unfiltered RGB rows.
TEST(AssetFiles, ContactSheetIsAValidPngOfThePicture) {
  assets::Picture p{5, 3, false, std::vector<uint8_t>(5 * 3 * 4)};
  for (size_t i = 0; i < p.rgba.size(); ++i) p.rgba[i] = static_cast<uint8_t>(i * 7);
  ASSERT_TRUE(assets::WritePng("sheet.png", p));
  const std::string png = ReadAll("sheet.png");
  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  std::string types, idat;
  for (size_t at = 8; at + 12 <= png.size();) {
    const uint32_t length = Bytes32(png, at, true);
    const std::string type = png.substr(at + 4, 4);
    types += type;
    EXPECT_EQ(Bytes32(png, at + 8 + length, true),
              crc32(0L, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4))
        << type;
    if (type == "IHDR") {
      EXPECT_EQ(png.substr(at + 8, 8), std::string("\0\0\0\5\0\0\0\3", 8));  // 5 x 3
    }
    if (type == "IDAT") idat += png.substr(at + 8, length);
    at += 12 + length;
  }
  EXPECT_EQ(types, "IHDRIDATIEND");
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
