// The TIFF decoding core on hand-built files: every layout it reads, and every way a file can be
// broken, each ending in its own outcome (the sanitizer build checks that none of them reads or
// writes outside a buffer).
#include "engine/images/tiff_reader.h"

#include <gtest/gtest.h>

#include <functional>

#include "tiff_test_files.h"

namespace {

using namespace tiff_files;

TEST(TiffReader, ReadsEveryLayoutExactly) {
  for (int i = 0; i < 2 * 3 * 2 * 3; ++i) {
    const bool msb_first = i & 1, alpha = i / 2 % 2;
    const int bits = 8 << (i / 4 % 3), rows = std::array{0, 2, 100}[i / 12];
    SCOPED_TRACE(testing::Message() << "msb " << msb_first << " bits " << bits << " alpha " << alpha
                                    << " rows " << rows);
    const Picture want = Pattern(7, 5, alpha);
    Image image;
    const Bytes file = MakeTiff(want, {msb_first, bits, rows});
    EXPECT_EQ(ReadTiff(WriteFile("good-" + std::to_string(i) + ".tif", file, true), image),
              std::tuple(TIFF_OK, 0, false));
    EXPECT_EQ(image.format, alpha ? IMAGE_RGB24 | IMAGE_ALPHA : IMAGE_RGB24);
    EXPECT_EQ(FromImage(image), want);
  }
}

// Each odd file is refused (as corrupt or as an unknown mode) or read: then what the pixels hold
// is either not the point, or the whole picture, the picture with the bytes the file lacks left
// zero, a picture of the file's size all zero, the image as it was, or an empty image.
enum class Expect { kCorrupt, kUnknownMode, kOk, kExact, kCutShort, kZero, kUntouched, kEmpty };

TEST(TiffReader, OddFilesEndInTheirOwnOutcome) {
  using E = Expect;
  const struct {
    std::string name;
    std::function<void(Bytes&)> change;
    Expect expect = Expect::kCorrupt;
    int rows_per_strip = 2;
    int notices = 0;
    bool more_images = false;
  } cases[] = {
      // clang-format off
      {"Empty", [](Bytes& f) { f.clear(); }},
      {"NotFortyTwo", [](Bytes& f) { Put(f, 2, 43, 2); }},
      {"DirectoryPastEnd", [](Bytes& f) { Put(f, 4, Size(f) + 10); }},
      {"EntryCountPastEnd", [](Bytes& f) { Put(f, Get(f, 4), 0xFFFF, 2); }},
      {"EntriesCutShort", [](Bytes& f) { f.resize(NextLink(f) - 5); }},
      {"WidthNegative", [](Bytes& f) { SetEntry(f, 256, 0xFFFFFFFFu); }},
      {"PixelsAboveLimit", [](Bytes& f) { SetEntry(f, 256, 1000), SetEntry(f, 257, 16778); }},
      // 3334 pixels of three bytes do not fit the 10000-byte row buffer.
      {"RowTooLong", [](Bytes& f) { SetEntry(f, 256, 3334); }},
      {"FirstSampleLarger", [](Bytes& f) { SetSizes(f, 16, 1); }},
      {"GraySampleZero", [](Bytes& f) { SetEntry(f, 258, 0, 1); }},
      {"SampleListPastEnd", [](Bytes& f) { SetEntry(f, 258, Size(f) - 4); }},
      {"StripListPastEnd", [](Bytes& f) { SetEntry(f, 273, Size(f) - 8); }},
      {"StripPastEnd", [](Bytes& f) { Put(f, Get(f, EntryAt(f, 273) + 8) + 4, Size(f) + 100); }},
      {"OnlyStripAtEnd", [](Bytes& f) { SetEntry(f, 273, Size(f)); }, E::kCorrupt, 0},
      // The last strip (one row, 15 bytes) ends the file.
      {"LastStripMissing", [](Bytes& f) { f.resize(f.size() - 15); }},
      {"BitsCountFive", [](Bytes& f) { Put(f, EntryAt(f, 258) + 4, 5); }, E::kUnknownMode},
      // Files that read, safely.
      {"RowFits", [](Bytes& f) { SetEntry(f, 256, 3333); }, E::kOk},
      {"NoRowsPerStrip", [](Bytes&) {}, E::kExact, 0},
      {"RowsPerStripAllOnes", [](Bytes& f) { SetEntry(f, 278, 0xFFFFFFFFu); }, E::kExact, 5},
      {"LastStripCutShort", [](Bytes& f) { f.resize(f.size() - 7); }, E::kCutShort},
      {"Compressed", [](Bytes& f) { SetEntry(f, 259, 5); }, E::kExact, 2, 1},
      {"NextDirectoryPointsBack", [](Bytes& f) { Put(f, NextLink(f), 8); }, E::kExact, 2, 0, true},
      {"NextDirectoryPastEnd", [](Bytes& f) { Put(f, NextLink(f), ~0u); }, E::kExact, 2, 0, true},
      {"UnknownSampleSize", [](Bytes& f) { SetSizes(f, 4, 3); }, E::kZero},
      {"Palette", [](Bytes& f) { SetEntry(f, 262, 3); }, E::kUntouched},
      {"WidthZero", [](Bytes& f) { SetEntry(f, 256, 0); }, E::kEmpty},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Picture want = Pattern(5, 5, false);
    Bytes file = MakeTiff(want, {.rows_per_strip = c.rows_per_strip});
    c.change(file);
    Image image;
    image.Create(2, 1, IMAGE_RGB24);
    image.data[0] = 77;
    const auto outcome = ReadTiff(WriteFile(c.name + ".tif", file, true), image);
    const TiffStatus status = c.expect == E::kCorrupt       ? TIFF_CORRUPT
                              : c.expect == E::kUnknownMode ? TIFF_UNKNOWN_MODE
                                                            : TIFF_OK;
    EXPECT_EQ(outcome, std::tuple(status, status ? 0 : c.notices, status ? false : c.more_images));
    if (c.expect <= E::kOk) continue;
    if (c.expect == E::kCutShort) std::fill(want.rgb.end() - 7, want.rgb.end(), 0);
    if (c.expect == E::kZero) want.rgb.assign(want.rgb.size(), 0);
    if (c.expect == E::kUntouched) want = {2, 1, {77, 0, 0, 0, 0, 0}, {}};
    if (c.expect == E::kEmpty) want = {0, 5, {}, {}};
    EXPECT_EQ(FromImage(image), want);
  }
}

// Any shape within the pixel cap is read, on a file that holds almost none of it (one byte of
// 1-bit pixels); one row more is refused.
TEST(TiffReader, PicturesUpToThePixelCapAreReadAndZeroFilled) {
  const struct {
    uint32_t w, h;
    TiffStatus status;
  } cases[] = {{16384, 1, TIFF_OK},   {1, 16384, TIFF_OK},        {32, 20000, TIFF_OK},
               {4096, 4096, TIFF_OK}, {4096, 4097, TIFF_CORRUPT}, {1, 16777217, TIFF_CORRUPT}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
    // A 1 × 1 picture made bilevel and larger, its last three bytes of pixels cut to one.
    Bytes file = MakeTiff(Pattern(1, 1, false), {});
    SetEntry(file, 256, c.w), SetEntry(file, 257, c.h), SetEntry(file, 258, 1, 1);
    file.resize(file.size() - 3);
    file.push_back(0xFF);
    Image image;
    ASSERT_EQ(std::get<0>(ReadTiff(WriteFile("limit.tif", file, true), image)), c.status);
    const Picture got = FromImage(image);
    // A refused picture leaves the image as it was.
    EXPECT_EQ(std::tuple(got.width, got.height),
              c.status ? std::tuple(0, 0) : std::tuple(int(c.w), int(c.h)));
    const size_t first = c.w == 1 ? 1 : 8;  // pixels the one byte covers
    for (size_t i = 0; i < got.rgb.size(); i += 4093)
      ASSERT_EQ(got.rgb[i], i < first * 3 ? 255 : 0) << i;
  }
}

}  // namespace
