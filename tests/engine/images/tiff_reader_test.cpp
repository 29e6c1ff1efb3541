// The TIFF decoding core on hand-built files: every layout it reads, and every way a file can be
// broken, each ending in its own outcome (the sanitizer build checks that none of them reads or
// writes outside a buffer).
#include "engine/images/tiff_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "engine/files/file.h"
#include "tiff_test_files.h"

namespace {

using namespace tiff_files;

struct Decoded {
  TiffOutcome outcome;
  Picture picture;
  uint8_t format = 0;
};

// Decodes `bytes` from a file into `into` (or a new image) and keeps them as a fuzz seed.
Decoded Decode(const Bytes& bytes, const std::string& name, Image* into = nullptr) {
  WriteFile(name + ".tif", bytes);
  WriteSeed(name + ".tif", bytes);
  File file;
  EXPECT_EQ(file.Open((name + ".tif").c_str(), FILE_READ | RANDOM), FILE_OK);
  Image own;
  Image& image = into != nullptr ? *into : own;
  Decoded d;
  d.outcome = TiffReader().Read(file, image);
  d.picture = FromImage(image);
  d.format = image.format;
  return d;
}

std::tuple<TiffStatus, int, bool> Summary(const TiffOutcome& o) {
  return {o.status, o.compression_notices, o.more_images};
}

TEST(TiffReader, ReadsEveryLayoutExactly) {
  for (bool msb_first : {false, true}) {
    for (int bits : {8, 16, 32}) {
      for (bool alpha : {false, true}) {
        for (int rows : {0, 2, 100}) {
          const std::string name = std::string("good-") + (msb_first ? "msb" : "lsb") +
                                   std::to_string(bits) + (alpha ? "-alpha-" : "-") +
                                   std::to_string(rows);
          SCOPED_TRACE(name);
          const Picture want = Pattern(7, 5, alpha);
          const Decoded d = Decode(
              MakeTiff(want, {.msb_first = msb_first, .bits = bits, .rows_per_strip = rows}), name);
          EXPECT_EQ(Summary(d.outcome), std::tuple(TIFF_OK, 0, false));
          EXPECT_EQ(d.format, alpha ? IMAGE_RGB24 | IMAGE_ALPHA : IMAGE_RGB24);
          EXPECT_EQ(d.picture, want);
        }
      }
    }
  }
}

enum class Expect {
  kCorrupt,      // refused
  kUnknownMode,  // refused as an unknown mode
  kOk,           // read; what the pixels hold is not the point
  kExact,        // the whole picture
  kCutShort,     // the picture, with the bytes the file lacks left zero
  kZero,         // a picture of the file's size, all zero
  kUntouched,    // the image keeps what it held
  kEmpty,        // an empty image, no pixels
};

struct OddCase {
  std::string name;
  std::function<void(Bytes&)> change;
  Expect expect = Expect::kCorrupt;
  bool alpha = false;
  int rows_per_strip = 2;
  bool directory_first = false;
  int cut = 0;  // bytes cut from the end of the file, after `change`
  int notices = 0;
  bool more_images = false;
};

// Rewrites the sample-size list from its start.
void Sizes(Bytes& f, std::initializer_list<uint32_t> bits) {
  uint32_t at = Get(f, EntryAt(f, 258) + 8);
  for (uint32_t b : bits) Put(f, std::exchange(at, at + 2), b, 2);
}

// Rewrites the entry for `tag` as a LONG holding `value`.
void SetLong(Bytes& f, uint16_t tag, uint32_t value) {
  Put(f, EntryAt(f, tag) + 2, kLong, 2);
  Put(f, EntryAt(f, tag) + 8, value);
}

void SetCount(Bytes& f, uint16_t tag, uint32_t count) {
  Put(f, EntryAt(f, tag) + 4, count);
}

uint32_t Size(const Bytes& f) {
  return static_cast<uint32_t>(f.size());
}

TEST(TiffReader, OddFilesEndInTheirOwnOutcome) {
  using E = Expect;
  // clang-format off
  const OddCase cases[] = {
      {"Empty", [](Bytes& f) { f.clear(); }},
      {"NotFortyTwo", [](Bytes& f) { Put(f, 2, 43, 2); }},
      {"DirectoryPastEnd", [](Bytes& f) { Put(f, 4, Size(f) + 10); }},
      {"EntryCountPastEnd", [](Bytes& f) { Put(f, Get(f, 4), 0xFFFF, 2); }},
      {"EntriesCutShort", [](Bytes& f) { f.resize(NextLink(f) - 5); }},
      {"WidthNegative", [](Bytes& f) { SetLong(f, 256, 0xFFFFFFFFu); }},
      {"PixelsAboveLimit", [](Bytes& f) { SetEntry(f, 256, 1000), SetEntry(f, 257, 16778); }},
      // 3334 pixels of three bytes do not fit the 10000-byte row buffer.
      {"RowTooLong", [](Bytes& f) { SetEntry(f, 256, 3334); }},
      {"FirstSampleLarger", [](Bytes& f) { Sizes(f, {16, 8, 8}); }},
      {"GraySampleZero", [](Bytes& f) { SetCount(f, 258, 1); SetEntry(f, 258, 0); }},
      {"SampleListPastEnd", [](Bytes& f) { SetEntry(f, 258, Size(f) - 4); }},
      {"StripListPastEnd", [](Bytes& f) { SetEntry(f, 273, Size(f) - 8); }},
      {"StripPastEnd", [](Bytes& f) { Put(f, Get(f, EntryAt(f, 273) + 8) + 4, Size(f) + 100); }},
      {"OnlyStripAtEnd", [](Bytes& f) { SetEntry(f, 273, Size(f)); }, E::kCorrupt, false, 0},
      // With the directory first the last strip (one row, 15 bytes) ends the file.
      {"LastStripMissing", [](Bytes&) {}, E::kCorrupt, false, 2, true, 15},
      {"BitsCountFive", [](Bytes& f) { SetCount(f, 258, 5); }, E::kUnknownMode},
      // Files that read, safely.
      {"RowFits", [](Bytes& f) { SetEntry(f, 256, 3333); }, E::kOk},
      {"NoRowsPerStrip", [](Bytes&) {}, E::kExact, false, 0},
      {"RowsPerStripAllOnes", [](Bytes& f) { SetLong(f, 278, 0xFFFFFFFFu); }, E::kExact, false, 5},
      {"LastStripCutShort", [](Bytes&) {}, E::kCutShort, false, 2, true, 7},
      {"Compressed", [](Bytes& f) { SetEntry(f, 259, 5); }, E::kExact, false, 2, false, 0, 1},
      {"NextDirectoryPointsBack", [](Bytes& f) { Put(f, NextLink(f), Get(f, 4)); }, E::kExact,
       false, 2, false, 0, 0, true},
      {"NextDirectoryPastEnd", [](Bytes& f) { Put(f, NextLink(f), 0xFFFFFFFFu); }, E::kExact,
       true, 2, false, 0, 0, true},
      {"UnknownSampleSize", [](Bytes& f) { Sizes(f, {4, 4, 4}); }, E::kZero},
      {"Palette", [](Bytes& f) { SetEntry(f, 262, 3); }, E::kUntouched},
      {"WidthZero", [](Bytes& f) { SetEntry(f, 256, 0); }, E::kEmpty},
  };
  // clang-format on
  for (const OddCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Picture want = Pattern(5, 5, c.alpha);
    Bytes file =
        MakeTiff(want, {.rows_per_strip = c.rows_per_strip, .directory_first = c.directory_first});
    c.change(file);
    file.resize(file.size() - static_cast<size_t>(c.cut));
    Image image;
    image.Create(2, 1, IMAGE_RGB24);
    image.data[0] = 77;
    const Decoded d = Decode(file, c.name, &image);
    const TiffStatus status = c.expect == E::kCorrupt       ? TIFF_CORRUPT
                              : c.expect == E::kUnknownMode ? TIFF_UNKNOWN_MODE
                                                            : TIFF_OK;
    EXPECT_EQ(d.outcome.status, status);
    if (status != TIFF_OK) continue;
    EXPECT_EQ(d.outcome.compression_notices, c.notices);
    EXPECT_EQ(d.outcome.more_images, c.more_images);
    Bytes rgb = want.rgb;
    if (c.expect == E::kCutShort) std::fill(rgb.end() - c.cut, rgb.end(), 0);
    if (c.expect == E::kZero) rgb.assign(rgb.size(), 0);
    if (c.expect == E::kExact || c.expect == E::kCutShort || c.expect == E::kZero) {
      EXPECT_EQ(d.picture.width, 5);
      EXPECT_EQ(d.picture.rgb, rgb);
    }
    if (c.expect == E::kExact) {
      EXPECT_EQ(d.picture.alpha, want.alpha);
    }
    if (c.expect == E::kEmpty) {
      EXPECT_EQ(image.data, nullptr);
      EXPECT_EQ(int64_t{image.width} * image.height, 0);
    }
    if (c.expect == E::kUntouched) {
      EXPECT_EQ(d.picture.width, 2);
      EXPECT_EQ(d.picture.rgb[0], 77);
    }
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
    // The directory first, so that the one byte of pixels ends the file.
    Bytes file = Header(false);
    constexpr uint32_t kStrip = 8 + 2 + 4 * 12 + 4;
    PutDirectory(
        file,
        {{256, kLong, 1, c.w}, {257, kLong, 1, c.h}, {258, kShort, 1, 1}, {273, kLong, 1, kStrip}});
    ASSERT_EQ(Append(file, {0xFF}), kStrip);
    const Decoded d = Decode(file, "limit");
    ASSERT_EQ(d.outcome.status, c.status);
    if (c.status != TIFF_OK) continue;
    EXPECT_EQ(d.picture.width, int(c.w));
    EXPECT_EQ(d.picture.height, int(c.h));
    const size_t first = c.w == 1 ? 1 : 8;  // pixels the one byte covers
    for (size_t i = 0; i < d.picture.rgb.size(); i += 4093) {
      ASSERT_EQ(d.picture.rgb[i], i < first * 3 ? 255 : 0) << i;
    }
  }
}

}  // namespace
