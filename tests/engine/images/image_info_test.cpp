// image-inspect end to end: the prepared pixels and alpha bytes it writes for each purpose and
// layout, and the loader's lines, boxes and exits coming through as the loader makes them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tiff_test_files.h"

#ifdef VORN_IMAGE_INSPECT

namespace {

using namespace tiff_files;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the tool; its exit status, standard output and standard error.
std::vector<std::string> Inspect(const std::string& arguments) {
  const std::string command =
      std::string(VORN_IMAGE_INSPECT) + " " + arguments + " > tool.out 2> tool.err";
  const int raw = std::system(command.c_str());
  return {std::to_string(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1), Slurp("tool.out"),
          Slurp("tool.err")};
}

// Two pixels: orange at alpha 128, white at alpha 0.
TEST(ImageInspect, WritesThePreparedPixelsForEachPurposeAndLayout) {
  WriteFile("in.tif", MakeTiff({2, 1, {200, 100, 50, 255, 255, 255}, {128, 0}}, {}));
  const struct {
    std::string purpose, layout, out;
    std::vector<uint16_t> pixels;
    std::string alpha;
  } cases[] = {
      {"plain", "565", "format=0x11 purpose=1", {0xCB26, 0xFFFF}, "\x80\x00"},
      {"plain", "555", "format=0x11 purpose=1", {0x6586, 0x7FFF}, "\x80\x00"},
      {"masked", "565", "format=0x50 purpose=2", {0xCB26, 0x0000}, ""},
      {"alpha", "565", "format=0x11 purpose=3", {0x6183, 0x0000}, "\x7F\xFF"},
      {"additive", "555", "format=0x11 purpose=4", {0x30C3, 0x0000}, "\x7F\xFF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.purpose + c.layout);
    std::remove("pixels.raw"), std::remove("alpha.raw");
    const auto r = Inspect("--purpose " + c.purpose + " --layout " + c.layout +
                           " --raw16 pixels.raw --alpha alpha.raw in.tif");
    EXPECT_EQ(r, (std::vector<std::string>{"0", "width=2 height=1 " + c.out + "\n", ""}));
    const std::string pixels = Slurp("pixels.raw");
    ASSERT_EQ(pixels.size(), 4u);
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(uint8_t(pixels[2 * i]) | uint8_t(pixels[2 * i + 1]) << 8, c.pixels[i]) << i;
    }
    EXPECT_EQ(Slurp("alpha.raw"), std::string(c.alpha.data(), c.alpha.empty() ? 0 : 2));
  }
}

TEST(ImageInspect, MessagesEndAsTheLoaderEnds) {
  WriteFile("plain.tif", MakeTiff(Pattern(3, 2, false), {}));
  Bytes two = MakeTiff(Pattern(3, 2, false), {});
  Put(two, NextLink(two), Get(two, 4));  // a second page
  WriteFile("two.tif", two);
  Bytes lzw = MakeTiff(Pattern(3, 2, false), {});
  SetEntry(lzw, 259, 5);
  WriteFile("lzw.tif", lzw);
  WriteFile("bad.tif", {'I', 'I', 43, 0, 8, 0, 0, 0});
  const std::string not_found =
      "Vorn Error: .TIF File Not Found: missing.tif\n\nMake sure paths and names of TIF images are "
      "correct. If you started the game outside of Visual C++, make sure the executable is in the "
      "correct location to find images.\n";
  const struct {
    std::string arguments, status, out, err;  // err: how standard error starts
  } cases[] = {
      {"--purpose masked missing.tif", "0", "width=0 height=0 format=0x10 purpose=2\n", not_found},
      {"two.tif", "0",
       "Load:Tiff: (Warning only) File contains multiple tiff images - reading only first.\n"
       "width=3 height=2 format=0x10 purpose=1\n",
       ""},
      {"lzw.tif", "0", "width=3 height=2 format=0x10 purpose=1\n",
       "Vorn Error: TIF Load Error: LZW Compression not supported.\n"},
      {"--layout 555 bad.tif", "255", "Load:Tiff: File is corrupted, or is not a .TIFF file.\n",
       ""},
      {"--purpose sideways plain.tif", "2", "", "usage"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    const auto r = Inspect(c.arguments);
    EXPECT_EQ(r[0], c.status);
    EXPECT_EQ(r[1], c.out);
    EXPECT_EQ(r[2].substr(0, c.err.size()), c.err);
  }
}

}  // namespace

#endif
