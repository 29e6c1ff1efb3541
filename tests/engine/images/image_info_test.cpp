// image-inspect end to end: files from ImageMagick loaded on both layouts and for each purpose
// give the pixels that libtiff reads from them, prepared for that layout and purpose; the
// loader's lines, boxes and exits come through as the loader makes them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tiff_test_files.h"

#ifdef VORN_IMAGE_INSPECT

namespace {

using tiff_files::Bytes;
using tiff_files::Picture;

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
      std::string(VORN_IMAGE_INSPECT) + " " + arguments + " > inspect.out 2> inspect.err";
  Ran r;
  const int raw = std::system(command.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = Slurp("inspect.out");
  r.err = Slurp("inspect.err");
  return r;
}

struct Channels {
  int bits[3];
  int shifts[3];
};
constexpr Channels k565{{5, 6, 5}, {11, 5, 0}};
constexpr Channels k555{{5, 5, 5}, {10, 5, 0}};

// The prepared pixel and alpha byte a 24-bit pixel must give, worked out channel by channel.
void Expected(const Channels& l, const std::string& purpose, const uint8_t* rgb, int a,
              uint16_t* pixel, int* alpha) {
  int c[3];
  for (int i = 0; i < 3; ++i) c[i] = rgb[i] >> (8 - l.bits[i]);
  auto pack = [&] {
    return static_cast<uint16_t>((c[0] << l.shifts[0]) | (c[1] << l.shifts[1]) |
                                 (c[2] << l.shifts[2]));
  };
  *alpha = -1;
  if (purpose == "plain") {
    *pixel = pack();
  } else if (purpose == "masked") {
    *pixel = pack() == 0 ? 1 : pack();
    if (a == 0) *pixel = 0;
  } else {
    for (int& v : c) v = (v * a) >> 8;
    *pixel = pack();
    *alpha = 255 - a;
  }
}

struct InspectCase {
  std::string purpose;
  std::string layout;
};

class InspectFile : public testing::TestWithParam<InspectCase> {};

TEST_P(InspectFile, MatchesWhatLibtiffReads) {
  const InspectCase& c = GetParam();
  tiff_files::WritePam("source.pam", tiff_files::Pattern(9, 5, true, 6), 8);
  ASSERT_TRUE(
      tiff_files::Run("convert source.pam -type TrueColorAlpha -depth 8 -define tiff:endian=msb "
                      "-define tiff:rows-per-strip=2 -compress none in.tif"));
  Picture lib;
  ASSERT_TRUE(tiff_files::LibtiffPicture("in.tif", &lib));
  ASSERT_EQ(lib.alpha.size(), 45u);

  std::remove("pixels.raw");
  std::remove("alpha.raw");
  const Ran r = Inspect("--purpose " + c.purpose + " --layout " + c.layout +
                        " --raw16 pixels.raw --alpha alpha.raw in.tif");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const int purpose = c.purpose == "plain"    ? 1
                      : c.purpose == "masked" ? 2
                      : c.purpose == "alpha"  ? 3
                                              : 4;
  const char* format = c.purpose == "masked" ? "0x50" : "0x11";
  EXPECT_EQ(r.out, "width=9 height=5 format=" + std::string(format) +
                       " purpose=" + std::to_string(purpose) + "\n");

  const std::string pixels = Slurp("pixels.raw");
  const std::string alpha = Slurp("alpha.raw");
  ASSERT_EQ(pixels.size(), 90u);
  ASSERT_EQ(alpha.size(), c.purpose == "masked" ? 0u : 45u);
  const Channels& l = c.layout == "565" ? k565 : k555;
  for (size_t i = 0; i < 45; ++i) {
    uint16_t want = 0;
    int want_alpha = 0;
    Expected(l, c.purpose, &lib.rgb[i * 3], lib.alpha[i], &want, &want_alpha);
    const auto got = static_cast<uint16_t>(static_cast<uint8_t>(pixels[2 * i]) |
                                           static_cast<uint8_t>(pixels[2 * i + 1]) << 8);
    EXPECT_EQ(got, want) << "pixel " << i;
    if (c.purpose == "plain") want_alpha = lib.alpha[i];
    if (want_alpha >= 0) {
      EXPECT_EQ(static_cast<uint8_t>(alpha[i]), want_alpha) << "alpha " << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(PurposesAndLayouts, InspectFile,
                         testing::Values(InspectCase{"plain", "565"}, InspectCase{"plain", "555"},
                                         InspectCase{"masked", "565"}, InspectCase{"masked", "555"},
                                         InspectCase{"alpha", "565"},
                                         InspectCase{"additive", "555"}),
                         [](const testing::TestParamInfo<InspectCase>& param) {
                           return param.param.purpose + param.param.layout;
                         });

TEST(InspectMessages, EachEndsAsTheLoaderEnds) {
  tiff_files::WriteFile("plain.tif", tiff_files::MakeTiff(tiff_files::Pattern(3, 2, false), {}));
  ASSERT_TRUE(tiff_files::Run("tiffcp plain.tif plain.tif two.tif"));
  Bytes lzw = tiff_files::MakeTiff(tiff_files::Pattern(3, 2, false), {});
  tiff_files::SetEntry(lzw, 259, 5);
  tiff_files::WriteFile("lzw.tif", lzw);
  tiff_files::WriteFile("bad.tif", {'I', 'I', 43, 0, 8, 0, 0, 0});

  Ran r = Inspect("--purpose masked missing.tif");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "width=0 height=0 format=0x10 purpose=2\n");
  EXPECT_EQ(r.err,
            "Vorn Error: .TIF File Not Found: missing.tif\n\nMake sure paths and names of "
            "TIF images are correct. If you started the game outside of Visual C++, make "
            "sure the executable is in the correct location to find images.\n");

  r = Inspect("two.tif");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "Load:Tiff: (Warning only) File contains multiple tiff images - reading only first.\n"
            "width=3 height=2 format=0x10 purpose=1\n");

  r = Inspect("lzw.tif");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "width=3 height=2 format=0x10 purpose=1\n");
  EXPECT_EQ(r.err.rfind("Vorn Error: TIF Load Error: LZW Compression not supported.\n", 0), 0u);

  r = Inspect("--layout 555 bad.tif");
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.out, "Load:Tiff: File is corrupted, or is not a .TIFF file.\n");

  r = Inspect("--purpose sideways plain.tif");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("usage"), std::string::npos);
}

}  // namespace

#endif
