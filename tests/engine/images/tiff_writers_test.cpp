// Files written by TIFF writers that are not ours (ImageMagick, libtiff's tiffcp and tiffset)
// load exactly as the picture they were made from.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>

#include "tiff_test_files.h"

namespace {

using namespace tiff_files;

// Each source is one the writer cannot change: gray sources are gray, bilevel ones black and
// white, so the file must load as the very picture it was made from (inverted where tiffset
// marks white as zero; without alpha where only gray has it). Between them the cases cover both
// byte orders, strips, 1, 8 and 16-bit samples, alpha and a file rewritten by a second program.
TEST(WrittenElsewhere, LoadsAsThePictureItWasMadeFrom) {
  enum Kind { kRgb, kRgbAlpha, kGrey, kBlackWhite };
  const std::string strips = " -define tiff:rows-per-strip=2";
  const struct {
    std::string convert;  // arguments of convert between the source and "out.tif"
    std::string after;    // further commands on "out.tif"
    Kind kind;
    int bits;  // of the source's samples
  } cases[] = {
      {"-type TrueColor -depth 8 -define tiff:endian=lsb", "", kRgb, 8},
      {"-type TrueColorAlpha -depth 8 -define tiff:endian=msb" + strips, "", kRgbAlpha, 8},
      {"-type TrueColor -depth 16 -define tiff:endian=msb" + strips, "", kRgb, 16},
      {"-colorspace Gray -type Grayscale -depth 8" + strips, "", kGrey, 8},
      {"-type bilevel -depth 1", " && tiffset -s 262 0 out.tif", kBlackWhite, 8},
      {"-type TrueColorAlpha -depth 8 -define tiff:endian=lsb",
       " && tiffcp -c none -r 2 -B out.tif big.tif && mv big.tif out.tif", kRgbAlpha, 8},
  };
  for (const auto& c : cases) {
    const std::string command =
        "convert source.pam " + c.convert + " -compress none out.tif" + c.after;
    SCOPED_TRACE(command);
    // Bilevel rows of 13 pixels end inside a byte.
    Picture source = Pattern(c.kind == kBlackWhite ? 13 : 7, 5, c.kind == kRgbAlpha, 3);
    for (size_t i = 0; c.kind >= kGrey && i < source.rgb.size(); i += 3) {
      const uint8_t v = c.kind == kGrey ? source.rgb[i] : source.rgb[i] < 128 ? 0 : 255;
      source.rgb[i] = source.rgb[i + 1] = source.rgb[i + 2] = v;
    }
    // The source is a PAM file, with 16-bit samples whose high byte is the picture's byte.
    const std::string pam =
        "P7\nWIDTH " + std::to_string(source.width) + "\nHEIGHT 5" +
        (c.kind == kRgbAlpha ? "\nDEPTH 4\nTUPLTYPE RGB_ALPHA" : "\nDEPTH 3\nTUPLTYPE RGB") +
        (c.bits == 16 ? "\nMAXVAL 65535" : "\nMAXVAL 255") + "\nENDHDR\n";
    Bytes file(pam.begin(), pam.end()),
        samples = Samples(source, 0, source.rgb.size() / 3, c.bits, true);
    file.insert(file.end(), samples.begin(), samples.end());
    WriteFile("source.pam", file);
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (uint8_t& v : source.rgb) v = c.kind == kBlackWhite ? uint8_t(255 - v) : v;

    Image image;
    EXPECT_EQ(ReadTiff("out.tif", image), std::tuple(TIFF_OK, 0, false));
    EXPECT_EQ(FromImage(image), source);
    std::ifstream in("out.tif", std::ios::binary);
    WriteFile("written-elsewhere-" + std::to_string(&c - cases) + ".tif",
              Bytes(std::istreambuf_iterator<char>(in), {}), true);
  }
}

}  // namespace
