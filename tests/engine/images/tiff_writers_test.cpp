// Files written by TIFF writers that are not ours (ImageMagick, libtiff's tiffcp and tiffset)
// load exactly: as libtiff itself reads them, and, where the writer keeps the samples, as the
// picture they were made from. (The two-page file is in the image-inspect tests.)
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

struct WriterCase {
  std::string name;
  std::string convert;  // arguments of convert between the source and the file
  std::string after;    // a further command on "out.tif", or empty
  bool same_as_source;  // the writer keeps the samples as they are
  Facts facts;          // what the file must be, to show that the writer did what was asked
};

const std::string kLsb = " -define tiff:endian=lsb";
const std::string kMsb = " -define tiff:endian=msb";
const std::string kRows2 = " -define tiff:rows-per-strip=2";
const std::string kRgb8 = "-type TrueColor -depth 8";
const std::string kRgba8 = "-type TrueColorAlpha -depth 8";
const std::string kRgb16 = "-type TrueColor -depth 16";
const std::string kRgba16 = "-type TrueColorAlpha -depth 16";
const std::string kGray = "-colorspace Gray -type Grayscale";
const std::string kBilevel = "-type bilevel -depth 1";

TEST(WrittenElsewhere, LoadsAsLibtiffReadsIt) {
  // clang-format off
  const WriterCase cases[] = {
      {"Rgb8Lsb", kRgb8 + kLsb, "", true, {false, 1, 8, 3}},
      {"Rgb8Msb", kRgb8 + kMsb, "", true, {true, 1, 8, 3}},
      {"Rgb8StripsMsb", kRgb8 + kMsb + kRows2, "", true, {true, 3, 8, 3}},
      {"Rgba8Lsb", kRgba8 + kLsb, "", true, {false, 1, 8, 4}},
      {"Rgba8StripsMsb", kRgba8 + kMsb + kRows2, "", true, {true, 3, 8, 4}},
      {"Rgb16Lsb", kRgb16 + kLsb, "", true, {false, 1, 16, 3}},
      {"Rgb16StripsMsb", kRgb16 + kMsb + kRows2, "", true, {true, 3, 16, 3}},
      {"Rgba16Msb", kRgba16 + kMsb, "", true, {true, 1, 16, 4}},
      {"Rgba16StripsLsb", kRgba16 + kLsb + kRows2, "", true, {false, 3, 16, 4}},
      {"Rgb32Lsb", "-type TrueColor -depth 32" + kLsb, "", true, {false, 1, 32, 3}},
      {"Rgba32Msb", "-type TrueColorAlpha -depth 32" + kMsb + kRows2, "", true, {true, 3, 32, 4}},
      {"Gray8Lsb", kGray + " -depth 8" + kLsb, "", false, {false, 1, 8, 1}},
      {"Gray8StripsMsb", kGray + " -depth 8" + kMsb + kRows2, "", false, {true, 3, 8, 1}},
      {"Gray16Msb", kGray + " -depth 16" + kMsb, "", false, {true, 1, 16, 1}},
      {"Gray32Msb", kGray + " -depth 32" + kMsb, "", false, {true, 1, 32, 1}},
      {"GrayAlpha8Msb", "-colorspace Gray -type GrayscaleAlpha -depth 8" + kMsb, "", false, {true, 1, 8, 2}},
      {"BilevelLsb", kBilevel + kLsb, "", false, {false, 1, 1, 1}},
      {"BilevelStripsMsb", kBilevel + kMsb + kRows2, "", false, {true, 3, 1, 1}},
      {"BilevelWhiteIsZero", kBilevel + kMsb, "tiffset -s 262 0 out.tif", false, {true, 1, 1, 1}},
      // libtiff's own writer, in both byte orders and with strips of two rows.
      {"TiffcpRgbaBigEndian", kRgba8 + kLsb, "tiffcp -c none -r 2 -B out.tif big.tif && mv big.tif out.tif", true, {true, 3, 8, 4}},
      {"TiffcpRgb16LittleEndian", kRgb16 + kMsb, "tiffcp -c none -r 2 -L out.tif little.tif && mv little.tif out.tif", true, {false, 3, 16, 3}},
  };
  // clang-format on
  for (const WriterCase& c : cases) {
    SCOPED_TRACE(c.name);
    // Bilevel rows of 13 pixels end inside a byte; wider samples come from a 16-bit source.
    const bool alpha = c.facts.samples == 2 || c.facts.samples == 4;
    const Picture source = Pattern(c.facts.bits == 1 ? 13 : 7, 5, alpha, 3);
    WritePam("source.pam", source, c.facts.bits > 8 ? 16 : 8);
    ASSERT_TRUE(Shell("convert source.pam " + c.convert + " -compress none out.tif"));
    if (!c.after.empty()) {
      ASSERT_TRUE(Shell(c.after));
    }

    Picture theirs;
    Facts facts;
    ASSERT_TRUE(LibtiffPicture("out.tif", &theirs, &facts));
    facts.pages = 0;
    EXPECT_EQ(facts, c.facts);

    File file;
    ASSERT_EQ(file.Open("out.tif", FILE_READ | RANDOM), FILE_OK);
    Image image;
    const TiffOutcome outcome = TiffReader().Read(file, image);
    const Picture ours = FromImage(image);
    EXPECT_EQ(std::tuple(outcome.status, outcome.compression_notices, outcome.more_images),
              std::tuple(TIFF_OK, 0, false));
    EXPECT_EQ(ours, theirs);
    EXPECT_EQ(image.format, c.facts.samples == 4 ? IMAGE_RGB24 | IMAGE_ALPHA : IMAGE_RGB24);
    if (c.same_as_source) {
      EXPECT_EQ(ours, source);
    }
    std::ifstream in("out.tif", std::ios::binary);
    WriteSeed(c.name + ".tif", Bytes(std::istreambuf_iterator<char>(in), {}));
  }
}

}  // namespace
