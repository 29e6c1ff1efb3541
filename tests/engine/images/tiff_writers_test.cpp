// Files written by TIFF writers that are not ours (ImageMagick, libtiff's tiffcp and tiffset)
// load exactly: as libtiff itself reads them, and, where the writer keeps the samples, as the
// picture they were made from.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/files/file.h"
#include "engine/images/image_loader.h"
#include "engine/images/tiff_reader.h"
#include "support/headless_engine.h"
#include "tiff_test_files.h"

namespace {

using tiff_files::Picture;

struct WriterCase {
  std::string name;
  int width;
  int pam_bits;  // 8 or 16 bits per sample in the picture handed to the writer
  bool alpha;
  std::string convert;  // arguments of convert between the source and the file
  std::string after;    // a further command on "out.tif", or empty
  bool same_as_source;  // the writer keeps the samples as they are
  // What the file must be, to show that the writer did what was asked.
  bool msb_first;
  uint32_t strips;
  uint16_t bits;
  uint16_t samples;
};

Picture ReadWithOurs(const std::string& path, TiffOutcome* outcome, uint8_t* format) {
  File file;
  EXPECT_EQ(file.Open(path.c_str(), FILE_READ | RANDOM), FILE_OK);
  TiffReader reader;
  Image image;
  *outcome = reader.Read(file, image);
  *format = image.format;
  return tiff_files::FromImage(image);
}

class WrittenElsewhere : public testing::TestWithParam<WriterCase> {};

TEST_P(WrittenElsewhere, LoadsAsLibtiffReadsIt) {
  const WriterCase& c = GetParam();
  const Picture source = tiff_files::Pattern(c.width, 5, c.alpha, 3);
  tiff_files::WritePam("source.pam", source, c.pam_bits);
  ASSERT_TRUE(tiff_files::Run("convert source.pam " + c.convert + " -compress none out.tif"));
  if (!c.after.empty()) {
    ASSERT_TRUE(tiff_files::Run(c.after));
  }

  const tiff_files::Facts facts = tiff_files::FileFacts("out.tif");
  EXPECT_EQ(facts.msb_first, c.msb_first);
  EXPECT_EQ(facts.strips, c.strips);
  EXPECT_EQ(facts.bits, c.bits);
  EXPECT_EQ(facts.samples, c.samples);

  Picture theirs;
  ASSERT_TRUE(tiff_files::LibtiffPicture("out.tif", &theirs));
  TiffOutcome outcome;
  uint8_t format = 0;
  const Picture ours = ReadWithOurs("out.tif", &outcome, &format);
  EXPECT_EQ(outcome.status, TIFF_OK);
  EXPECT_EQ(outcome.compression_notices, 0);
  EXPECT_FALSE(outcome.more_images);
  EXPECT_EQ(ours.width, theirs.width);
  EXPECT_EQ(ours.height, theirs.height);
  EXPECT_EQ(ours.rgb, theirs.rgb);
  EXPECT_EQ(ours.alpha, theirs.alpha);
  EXPECT_EQ(format, c.alpha && c.samples == 4 ? IMAGE_RGB24 | IMAGE_ALPHA : IMAGE_RGB24);
  if (c.same_as_source) {
    EXPECT_EQ(ours.rgb, source.rgb);
    EXPECT_EQ(ours.alpha, source.alpha);
  }
  std::ifstream in("out.tif", std::ios::binary);
  tiff_files::WriteSeed(c.name + ".tif", tiff_files::Bytes(std::istreambuf_iterator<char>(in), {}));
}

const std::string kLsb = " -define tiff:endian=lsb";
const std::string kMsb = " -define tiff:endian=msb";
const std::string kRows2 = " -define tiff:rows-per-strip=2";
const std::string kRgb8 = "-type TrueColor -depth 8";
const std::string kRgba8 = "-type TrueColorAlpha -depth 8";
const std::string kGray = "-colorspace Gray -type Grayscale";
const std::string kBilevel = "-type bilevel -depth 1";

std::string CaseName(const testing::TestParamInfo<WriterCase>& param) {
  return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    ImageMagick, WrittenElsewhere,
    testing::Values(
        WriterCase{"Rgb8Lsb", 7, 8, false, kRgb8 + kLsb, "", true, false, 1, 8, 3},
        WriterCase{"Rgb8Msb", 7, 8, false, kRgb8 + kMsb, "", true, true, 1, 8, 3},
        WriterCase{"Rgb8StripsLsb", 7, 8, false, kRgb8 + kLsb + kRows2, "", true, false, 3, 8, 3},
        WriterCase{"Rgb8StripsMsb", 7, 8, false, kRgb8 + kMsb + kRows2, "", true, true, 3, 8, 3},
        WriterCase{"Rgba8Lsb", 7, 8, true, kRgba8 + kLsb, "", true, false, 1, 8, 4},
        WriterCase{"Rgba8StripsMsb", 7, 8, true, kRgba8 + kMsb + kRows2, "", true, true, 3, 8, 4},
        WriterCase{"Rgb16Lsb", 7, 16, false, "-type TrueColor -depth 16" + kLsb, "", true, false, 1,
                   16, 3},
        WriterCase{"Rgb16StripsMsb", 7, 16, false, "-type TrueColor -depth 16" + kMsb + kRows2, "",
                   true, true, 3, 16, 3},
        WriterCase{"Rgba16Msb", 7, 16, true, "-type TrueColorAlpha -depth 16" + kMsb, "", true,
                   true, 1, 16, 4},
        WriterCase{"Rgba16StripsLsb", 7, 16, true, "-type TrueColorAlpha -depth 16" + kLsb + kRows2,
                   "", true, false, 3, 16, 4},
        WriterCase{"Rgb32Lsb", 7, 16, false, "-type TrueColor -depth 32" + kLsb, "", true, false, 1,
                   32, 3},
        WriterCase{"Rgba32Msb", 7, 16, true, "-type TrueColorAlpha -depth 32" + kMsb + kRows2, "",
                   true, true, 3, 32, 4},
        WriterCase{"Gray8Lsb", 7, 8, false, kGray + " -depth 8" + kLsb, "", false, false, 1, 8, 1},
        WriterCase{"Gray8StripsMsb", 7, 8, false, kGray + " -depth 8" + kMsb + kRows2, "", false,
                   true, 3, 8, 1},
        WriterCase{"Gray16Lsb", 7, 16, false, kGray + " -depth 16" + kLsb, "", false, false, 1, 16,
                   1},
        WriterCase{"Gray16Msb", 7, 16, false, kGray + " -depth 16" + kMsb, "", false, true, 1, 16,
                   1},
        WriterCase{"Gray32Msb", 7, 16, false, kGray + " -depth 32" + kMsb, "", false, true, 1, 32,
                   1},
        WriterCase{"GrayAlpha8Msb", 7, 8, true,
                   "-colorspace Gray -type GrayscaleAlpha -depth 8" + kMsb, "", false, true, 1, 8,
                   2},
        WriterCase{"BilevelLsb", 13, 8, false, kBilevel + kLsb, "", false, false, 1, 1, 1},
        WriterCase{"BilevelStripsMsb", 13, 8, false, kBilevel + kMsb + kRows2, "", false, true, 3,
                   1, 1},
        WriterCase{"BilevelWhiteIsZero", 13, 8, false, kBilevel + kMsb, "tiffset -s 262 0 out.tif",
                   false, true, 1, 1, 1}),
    CaseName);

// libtiff's own writer, in both byte orders and with strips of two rows.
INSTANTIATE_TEST_SUITE_P(
    Tiffcp, WrittenElsewhere,
    testing::Values(WriterCase{"RgbaBigEndian", 7, 8, true, kRgba8 + kLsb,
                               "tiffcp -c none -r 2 -B out.tif big.tif && mv big.tif out.tif", true,
                               true, 3, 8, 4},
                    WriterCase{"Rgb16LittleEndian", 7, 16, false,
                               "-type TrueColor -depth 16" + kMsb,
                               "tiffcp -c none -r 2 -L out.tif little.tif && mv little.tif out.tif",
                               true, false, 3, 16, 3}),
    CaseName);

// A bilevel file stored white-is-zero reads as the negative of the same bits stored black-is-zero.
TEST(WrittenElsewhereBilevel, WhiteIsZeroInverts) {
  const Picture source = tiff_files::Pattern(13, 5, false, 8);
  tiff_files::WritePam("source.pam", source, 8);
  ASSERT_TRUE(tiff_files::Run("convert source.pam " + kBilevel + " -compress none black.tif"));
  ASSERT_TRUE(tiff_files::Run("cp black.tif white.tif && tiffset -s 262 0 white.tif"));
  TiffOutcome outcome;
  uint8_t format = 0;
  const Picture black = ReadWithOurs("black.tif", &outcome, &format);
  const Picture white = ReadWithOurs("white.tif", &outcome, &format);
  ASSERT_EQ(black.rgb.size(), white.rgb.size());
  int set = 0;
  for (size_t i = 0; i < black.rgb.size(); ++i) {
    EXPECT_EQ(white.rgb[i], 255 - black.rgb[i]) << i;
    set += black.rgb[i] == 255;
  }
  EXPECT_GT(set, 0);
  EXPECT_LT(set, static_cast<int>(black.rgb.size()));
}

// A two-page file: the first page is read, the warning is printed once, the second page is not.
TEST(WrittenElsewhereTwoPages, FirstPageReadAndWarningPrintedOnce) {
  StartHeadlessEngine();
  const Picture first = tiff_files::Pattern(7, 5, false, 1);
  const Picture second = tiff_files::Pattern(4, 3, false, 2);
  tiff_files::WritePam("first.pam", first, 8);
  tiff_files::WritePam("second.pam", second, 8);
  ASSERT_TRUE(tiff_files::Run("convert first.pam " + kRgb8 + " -compress none first.tif"));
  ASSERT_TRUE(tiff_files::Run("convert second.pam " + kRgb8 + " -compress none second.tif"));
  ASSERT_TRUE(tiff_files::Run("mkdir -p Images && tiffcp first.tif second.tif Images/two.tif"));
  ASSERT_EQ(tiff_files::FileFacts("Images/two.tif").pages, 2);

  Image image;
  testing::internal::CaptureStdout();
  ImageLoader::Load("Images\\two.tif", &image, DRAW_PLAIN);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out,
            "Load:Tiff: (Warning only) File contains multiple tiff images - reading only "
            "first.\n");
  EXPECT_EQ(image.width, 7);
  EXPECT_EQ(image.height, 5);
  // The first pixel of the first page, converted to 5-6-5.
  const uint8_t* p = first.rgb.data();
  EXPECT_EQ(image.pixels16()[0], ((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
}

}  // namespace
