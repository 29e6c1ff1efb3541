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

// Each source is one the writer cannot change: gray sources are gray, bilevel ones black and
// white, so the file must load as the very picture it was made from (inverted where tiffset
// marks white as zero; without alpha where only gray has it). Between them the cases cover both
// byte orders, strips, 1, 8 and 16-bit samples, alpha and a file rewritten by a second program.
TEST(WrittenElsewhere, LoadsAsThePictureItWasMadeFrom) {
  enum Kind { kRgb, kGrey, kBlackWhite };
  const std::string strips = " -define tiff:rows-per-strip=2";
  const struct {
    std::string convert;  // arguments of convert between the source and "out.tif"
    std::string after;    // a further command on "out.tif", or empty
    Kind kind;
    int bits;
    bool alpha;
  } cases[] = {
      {"-type TrueColor -depth 8 -define tiff:endian=lsb", "", kRgb, 8, false},
      {"-type TrueColorAlpha -depth 8 -define tiff:endian=msb" + strips, "", kRgb, 8, true},
      {"-type TrueColor -depth 16 -define tiff:endian=msb" + strips, "", kRgb, 16, false},
      {"-colorspace Gray -type Grayscale -depth 8" + strips, "", kGrey, 8, false},
      {"-type bilevel -depth 1", "tiffset -s 262 0 out.tif", kBlackWhite, 1, false},
      {"-type TrueColorAlpha -depth 8 -define tiff:endian=lsb",
       "tiffcp -c none -r 2 -B out.tif big.tif && mv big.tif out.tif", kRgb, 8, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.convert + " " + c.after);
    // Bilevel rows of 13 pixels end inside a byte.
    Picture source = Pattern(c.kind == kBlackWhite ? 13 : 7, 5, c.alpha, 3);
    for (size_t i = 0; c.kind != kRgb && i < source.rgb.size(); i += 3) {
      const uint8_t v = c.kind == kGrey ? source.rgb[i] : source.rgb[i] < 128 ? 0 : 255;
      source.rgb[i] = source.rgb[i + 1] = source.rgb[i + 2] = v;
    }
    WritePam("source.pam", source, c.bits > 8 ? 16 : 8);
    ASSERT_TRUE(Shell("convert source.pam " + c.convert + " -compress none out.tif"));
    ASSERT_TRUE(c.after.empty() || Shell(c.after));
    if (c.kind == kBlackWhite) {
      for (uint8_t& v : source.rgb) v = static_cast<uint8_t>(255 - v);
    }

    File file;
    ASSERT_EQ(file.Open("out.tif", FILE_READ | RANDOM), FILE_OK);
    Image image;
    const TiffOutcome outcome = TiffReader().Read(file, image);
    EXPECT_EQ(std::tuple(outcome.status, outcome.compression_notices, outcome.more_images),
              std::tuple(TIFF_OK, 0, false));
    EXPECT_EQ(FromImage(image), source);
    std::ifstream in("out.tif", std::ios::binary);
    WriteSeed("written-elsewhere-" + std::to_string(&c - cases) + ".tif",
              Bytes(std::istreambuf_iterator<char>(in), {}));
  }
}

}  // namespace
