// Files written by TIFF writers that are not ours (ImageMagick, libtiff's tiffcp and tiffset)
// load exactly as the picture they were made from.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "engine/files/file.h"
#include "engine/images/tiff_reader.h"
#include "tiff_test_files.h"

namespace {

using namespace tiff_files;

const std::string kLsb = " -define tiff:endian=lsb";
const std::string kMsb = " -define tiff:endian=msb";
const std::string kRows2 = " -define tiff:rows-per-strip=2";
const std::string kGray = "-colorspace Gray -type Grayscale";
const std::string kBilevel = "-type bilevel -depth 1";

// Each source is one the writer cannot change: gray sources are gray, bilevel ones black and
// white, so the file must load as the very picture it was made from (inverted where tiffset
// marks white as zero; without alpha where only gray has it).
TEST(WrittenElsewhere, LoadsAsThePictureItWasMadeFrom) {
  enum Kind { kRgb, kGrey, kBlackWhite };
  const struct {
    std::string name;
    std::string convert;  // arguments of convert between the source and the file
    std::string after;    // a further command on "out.tif", or empty
    Kind kind;
    int bits;
    bool alpha;
  } cases[] = {
      // clang-format off
      {"Rgb8Lsb", "-type TrueColor -depth 8" + kLsb, "", kRgb, 8, false},
      {"Rgba8StripsMsb", "-type TrueColorAlpha -depth 8" + kMsb + kRows2, "", kRgb, 8, true},
      {"Rgb16StripsMsb", "-type TrueColor -depth 16" + kMsb + kRows2, "", kRgb, 16, false},
      {"Rgba16Lsb", "-type TrueColorAlpha -depth 16" + kLsb, "", kRgb, 16, true},
      {"Rgba32Msb", "-type TrueColorAlpha -depth 32" + kMsb + kRows2, "", kRgb, 32, true},
      {"Gray8StripsLsb", kGray + " -depth 8" + kLsb + kRows2, "", kGrey, 8, false},
      {"Gray16Msb", kGray + " -depth 16" + kMsb, "", kGrey, 16, false},
      {"GrayAlpha8Msb", "-colorspace Gray -type GrayscaleAlpha -depth 8" + kMsb, "", kGrey, 8, true},
      {"BilevelStripsMsb", kBilevel + kMsb + kRows2, "", kBlackWhite, 1, false},
      {"BilevelWhiteIsZero", kBilevel + kLsb, "tiffset -s 262 0 out.tif", kBlackWhite, 1, false},
      {"TiffcpRgbaBigEndian", "-type TrueColorAlpha -depth 8" + kLsb, "tiffcp -c none -r 2 -B out.tif big.tif && mv big.tif out.tif", kRgb, 8, true},
      {"TiffcpRgb16LittleEndian", "-type TrueColor -depth 16" + kMsb, "tiffcp -c none -r 2 -L out.tif little.tif && mv little.tif out.tif", kRgb, 16, false},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Bilevel rows of 13 pixels end inside a byte; wider samples come from a 16-bit source.
    Picture source = Pattern(c.kind == kBlackWhite ? 13 : 7, 5, c.alpha, 3);
    for (size_t i = 0; c.kind != kRgb && i < source.rgb.size(); i += 3) {
      const uint8_t v = c.kind == kGrey ? source.rgb[i] : source.rgb[i] < 128 ? 0 : 255;
      source.rgb[i] = source.rgb[i + 1] = source.rgb[i + 2] = v;
    }
    WritePam("source.pam", source, c.bits > 8 ? 16 : 8);
    ASSERT_TRUE(Shell("convert source.pam " + c.convert + " -compress none out.tif"));
    if (!c.after.empty()) {
      ASSERT_TRUE(Shell(c.after));
    }
    if (c.kind != kRgb) source.alpha.clear();
    if (!c.after.empty() && c.kind == kBlackWhite) {
      for (uint8_t& v : source.rgb) v = static_cast<uint8_t>(255 - v);
    }

    File file;
    ASSERT_EQ(file.Open("out.tif", FILE_READ | RANDOM), FILE_OK);
    Image image;
    const TiffOutcome outcome = TiffReader().Read(file, image);
    EXPECT_EQ(std::tuple(outcome.status, outcome.compression_notices, outcome.more_images),
              std::tuple(TIFF_OK, 0, false));
    EXPECT_EQ(FromImage(image), source);
    EXPECT_EQ(image.format, source.alpha.empty() ? IMAGE_RGB24 : IMAGE_RGB24 | IMAGE_ALPHA);
    std::ifstream in("out.tif", std::ios::binary);
    WriteSeed(c.name + ".tif", Bytes(std::istreambuf_iterator<char>(in), {}));
  }
}

}  // namespace
