// image-inspect end to end: files from ImageMagick loaded on both layouts and for each purpose
// give the pixels that libtiff reads from them, prepared for that layout and purpose; the
// loader's lines, boxes and exits come through as the loader makes them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "tiff_test_files.h"

#ifdef VORN_IMAGE_INSPECT

namespace {

using namespace tiff_files;

struct Ran {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Ran Inspect(const std::string& arguments) {
  const std::string command =
      std::string(VORN_IMAGE_INSPECT) + " " + arguments + " > tool.out 2> tool.err";
  Ran r;
  const int raw = std::system(command.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = Slurp("tool.out");
  r.err = Slurp("tool.err");
  return r;
}

// The prepared pixel and alpha byte (-1: no alpha kept) a 24-bit pixel with alpha `a` must give,
// worked out channel by channel.
std::pair<int, int> Expected(bool is565, const std::string& purpose, const uint8_t* rgb, int a) {
  int c[3] = {rgb[0] >> 3, rgb[1] >> (is565 ? 2 : 3), rgb[2] >> 3};
  if (purpose == "alpha" || purpose == "additive") {
    for (int& v : c) v = (v * a) >> 8;
  }
  const int pixel = c[0] << (is565 ? 11 : 10) | c[1] << 5 | c[2];
  if (purpose == "plain") return {pixel, a};
  if (purpose == "masked") return {a == 0 ? 0 : pixel == 0 ? 1 : pixel, -1};
  return {pixel, 255 - a};
}

TEST(ImageInspect, MatchesWhatLibtiffReadsForEachPurposeAndLayout) {
  WritePam("source.pam", Pattern(9, 5, true, 6), 8);
  ASSERT_TRUE(
      Shell("convert source.pam -type TrueColorAlpha -depth 8 -define tiff:endian=msb "
            "-define tiff:rows-per-strip=2 -compress none in.tif"));
  Picture lib;
  ASSERT_TRUE(LibtiffPicture("in.tif", &lib));
  ASSERT_EQ(lib.alpha.size(), 45u);
  const struct {
    std::string purpose, layout, out;
  } cases[] = {
      {"plain", "565", "format=0x11 purpose=1"},  {"plain", "555", "format=0x11 purpose=1"},
      {"masked", "565", "format=0x50 purpose=2"}, {"masked", "555", "format=0x50 purpose=2"},
      {"alpha", "565", "format=0x11 purpose=3"},  {"additive", "555", "format=0x11 purpose=4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.purpose + c.layout);
    std::remove("pixels.raw"), std::remove("alpha.raw");
    const Ran r = Inspect("--purpose " + c.purpose + " --layout " + c.layout +
                          " --raw16 pixels.raw --alpha alpha.raw in.tif");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "width=9 height=5 " + c.out + "\n");
    const std::string pixels = Slurp("pixels.raw");
    const std::string alpha = Slurp("alpha.raw");
    ASSERT_EQ(pixels.size(), 90u);
    ASSERT_EQ(alpha.size(), c.purpose == "masked" ? 0u : 45u);
    for (size_t i = 0; i < 45; ++i) {
      const auto [pixel, alpha_byte] =
          Expected(c.layout == "565", c.purpose, &lib.rgb[i * 3], lib.alpha[i]);
      EXPECT_EQ(uint8_t(pixels[2 * i]) | uint8_t(pixels[2 * i + 1]) << 8, pixel) << "pixel " << i;
      if (alpha_byte >= 0) {
        EXPECT_EQ(uint8_t(alpha[i]), alpha_byte) << "alpha " << i;
      }
    }
  }
}

TEST(ImageInspect, MessagesEndAsTheLoaderEnds) {
  Picture lib;
  // libtiff's writer joins two pages of different sizes: only the first is read.
  WriteFile("plain.tif", MakeTiff(Pattern(3, 2, false), {}));
  WriteFile("second.tif", MakeTiff(Pattern(4, 3, false, 1), {}));
  ASSERT_TRUE(Shell("tiffcp plain.tif second.tif two.tif"));
  Facts facts;
  ASSERT_TRUE(LibtiffPicture("two.tif", &lib, &facts));
  ASSERT_EQ(facts.pages, 2);
  Bytes lzw = MakeTiff(Pattern(3, 2, false), {});
  SetEntry(lzw, 259, 5);
  WriteFile("lzw.tif", lzw);
  WriteFile("bad.tif", {'I', 'I', 43, 0, 8, 0, 0, 0});

  const struct {
    std::string arguments;
    int status;
    std::string out, err;  // err: how standard error starts
  } cases[] = {
      {"--purpose masked missing.tif", 0, "width=0 height=0 format=0x10 purpose=2\n",
       "Vorn Error: .TIF File Not Found: missing.tif\n\nMake sure paths and names of TIF images "
       "are "
       "correct. If you started the game outside of Visual C++, make sure the executable is in the "
       "correct location to find images.\n"},
      {"two.tif", 0,
       "Load:Tiff: (Warning only) File contains multiple tiff images - reading only first.\n"
       "width=3 height=2 format=0x10 purpose=1\n",
       ""},
      {"lzw.tif", 0, "width=3 height=2 format=0x10 purpose=1\n",
       "Vorn Error: TIF Load Error: LZW Compression not supported.\n"},
      {"--layout 555 bad.tif", 255, "Load:Tiff: File is corrupted, or is not a .TIFF file.\n", ""},
      {"--purpose sideways plain.tif", 2, "", "usage"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const Ran r = Inspect(c.arguments);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
  }
}

}  // namespace

#endif
