// The TIFF decoding core on hand-built files: every layout it reads, and every way a file can be
// broken, each ending in its own outcome (the sanitizer build checks that none of them reads or
// writes outside a buffer).
#include "engine/images/tiff_reader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/files/file.h"
#include "tiff_test_files.h"

namespace {

using tiff_files::Bytes;
using tiff_files::Entry;
using tiff_files::kLong;
using tiff_files::kShort;
using tiff_files::Picture;

struct Decoded {
  TiffOutcome outcome;
  Picture picture;
  uint8_t format = 0;
};

// Decodes `bytes` from a file into `image` and keeps them as a fuzz seed under `name`.
Decoded Decode(const Bytes& bytes, const std::string& name, Image& image) {
  tiff_files::WriteFile(name + ".tif", bytes);
  tiff_files::WriteSeed(name + ".tif", bytes);
  File file;
  EXPECT_EQ(file.Open((name + ".tif").c_str(), FILE_READ | RANDOM), FILE_OK);
  TiffReader reader;
  Decoded d;
  d.outcome = reader.Read(file, image);
  d.picture = tiff_files::FromImage(image);
  d.format = image.format;
  return d;
}

Decoded Decode(const Bytes& bytes, const std::string& name) {
  Image image;
  return Decode(bytes, name, image);
}

uint32_t ListOffset(const Bytes& file, uint16_t tag) {
  return tiff_files::Get32(file, tiff_files::EntryAt(file, tag) + 8);
}

// --- Files that read ------------------------------------------------------------------------

struct GoodCase {
  bool msb_first;
  int bits;
  bool alpha;
  int rows_per_strip;
};

class ReadsExactly : public testing::TestWithParam<GoodCase> {};

TEST_P(ReadsExactly, EveryByteFromItsPlace) {
  const GoodCase& c = GetParam();
  const Picture want = tiff_files::Pattern(7, 5, c.alpha);
  const Bytes file = tiff_files::MakeTiff(
      want, {.msb_first = c.msb_first, .bits = c.bits, .rows_per_strip = c.rows_per_strip});
  const Decoded d =
      Decode(file, "good-" + std::to_string(c.msb_first) + "-" + std::to_string(c.bits) + "-" +
                       std::to_string(c.alpha) + "-" + std::to_string(c.rows_per_strip));
  EXPECT_EQ(d.outcome.status, TIFF_OK);
  EXPECT_EQ(d.outcome.compression_notices, 0);
  EXPECT_FALSE(d.outcome.more_images);
  EXPECT_EQ(d.format, c.alpha ? IMAGE_RGB24 | IMAGE_ALPHA : IMAGE_RGB24);
  EXPECT_EQ(d.picture.width, 7);
  EXPECT_EQ(d.picture.height, 5);
  EXPECT_EQ(d.picture.rgb, want.rgb);
  EXPECT_EQ(d.picture.alpha, want.alpha);
}

std::string GoodName(const testing::TestParamInfo<GoodCase>& param) {
  const GoodCase& c = param.param;
  return std::string(c.msb_first ? "Msb" : "Lsb") + std::to_string(c.bits) +
         (c.alpha ? "Alpha" : "") + "Rows" + std::to_string(c.rows_per_strip);
}

std::vector<GoodCase> GoodCases() {
  std::vector<GoodCase> cases;
  for (bool msb_first : {false, true}) {
    for (int bits : {8, 16, 32}) {
      for (bool alpha : {false, true}) {
        for (int rows : {0, 2, 100}) cases.push_back({msb_first, bits, alpha, rows});
      }
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Layouts, ReadsExactly, testing::ValuesIn(GoodCases()), GoodName);

// --- Broken and unusual files ---------------------------------------------------------------

enum class Expect {
  kCorrupt,      // refused
  kUnknownMode,  // refused as an unknown mode
  kOk,           // read; what the pixels hold is not the point
  kExact,        // the whole picture
  kCutShort,     // the picture, with the bytes the file lacks left zero
  kZero,         // a picture of the file's size, all zero
  kUntouched,    // the image keeps what it held
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

class OddFiles : public testing::TestWithParam<OddCase> {};

TEST_P(OddFiles, EndInTheirOwnOutcome) {
  const OddCase& c = GetParam();
  const Picture want = tiff_files::Pattern(5, 5, c.alpha);
  Bytes file = tiff_files::MakeTiff(
      want, {.rows_per_strip = c.rows_per_strip, .directory_first = c.directory_first});
  c.change(file);
  file.resize(file.size() - static_cast<size_t>(c.cut));

  Image image;
  image.Create(2, 1, IMAGE_RGB24);
  image.data[0] = 77;
  const Decoded d = Decode(file, c.name, image);

  const TiffStatus status = c.expect == Expect::kCorrupt       ? TIFF_CORRUPT
                            : c.expect == Expect::kUnknownMode ? TIFF_UNKNOWN_MODE
                                                               : TIFF_OK;
  EXPECT_EQ(d.outcome.status, status);
  if (status != TIFF_OK) return;
  EXPECT_EQ(d.outcome.compression_notices, c.notices);
  EXPECT_EQ(d.outcome.more_images, c.more_images);
  Bytes rgb = want.rgb;
  switch (c.expect) {
    case Expect::kExact:
      EXPECT_EQ(d.picture.rgb, want.rgb);
      EXPECT_EQ(d.picture.alpha, want.alpha);
      break;
    case Expect::kCutShort:
      std::fill(rgb.end() - c.cut, rgb.end(), 0);
      EXPECT_EQ(d.picture.rgb, rgb);
      break;
    case Expect::kZero:
      EXPECT_EQ(d.picture.width, 5);
      EXPECT_EQ(d.picture.rgb, Bytes(5 * 5 * 3));
      break;
    case Expect::kUntouched:
      EXPECT_EQ(d.picture.width, 2);
      EXPECT_EQ(d.picture.rgb[0], 77);
      break;
    default:
      break;
  }
}

void Sizes(Bytes& f, uint16_t r, uint16_t g, uint16_t b) {
  const uint32_t list = ListOffset(f, 258);
  tiff_files::Put16(f, list, r);
  tiff_files::Put16(f, list + 2, g);
  tiff_files::Put16(f, list + 4, b);
}

// Rewrites the entry for `tag` as a LONG holding `value`.
void SetLong(Bytes& f, uint16_t tag, uint32_t value) {
  const uint32_t at = tiff_files::EntryAt(f, tag);
  tiff_files::Put16(f, at + 2, kLong);
  tiff_files::Put32(f, at + 8, value);
}

void SetCount(Bytes& f, uint16_t tag, uint32_t count) {
  tiff_files::Put32(f, tiff_files::EntryAt(f, tag) + 4, count);
}

uint32_t Size(const Bytes& f) {
  return static_cast<uint32_t>(f.size());
}
uint32_t Directory(const Bytes& f) {
  return tiff_files::Get32(f, 4);
}
// Where the offset of the next directory is kept.
uint32_t NextLink(const Bytes& f) {
  const uint32_t d = Directory(f);
  const uint32_t entries = f[0] == 'M' ? (f[d] << 8 | f[d + 1]) : (f[d + 1] << 8 | f[d]);
  return d + 2 + 12 * entries;
}

std::string OddName(const testing::TestParamInfo<OddCase>& param) {
  return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Refused, OddFiles,
    testing::Values(
        OddCase{"Empty", [](Bytes& f) { f.clear(); }},
        OddCase{"ShortHeader", [](Bytes& f) { f.resize(6); }},
        OddCase{"NotFortyTwo", [](Bytes& f) { tiff_files::Put16(f, 2, 43); }},
        OddCase{"DirectoryPastEnd", [](Bytes& f) { tiff_files::Put32(f, 4, Size(f) + 10); }},
        OddCase{"DirectoryAtLastByte", [](Bytes& f) { tiff_files::Put32(f, 4, Size(f) - 1); }},
        OddCase{"DirectoryOffsetHuge", [](Bytes& f) { tiff_files::Put32(f, 4, 0xFFFFFFF0u); }},
        OddCase{"EntryCountPastEnd", [](Bytes& f) { tiff_files::Put16(f, Directory(f), 0xFFFF); }},
        OddCase{"EntriesCutShort", [](Bytes& f) { f.resize(NextLink(f) - 5); }},
        OddCase{"WidthZero", [](Bytes& f) { tiff_files::SetEntry(f, 256, 0); }},
        OddCase{"HeightZero", [](Bytes& f) { tiff_files::SetEntry(f, 257, 0); }},
        OddCase{"WidthNegative", [](Bytes& f) { SetLong(f, 256, 0xFFFFFFFFu); }},
        OddCase{"HeightNegative", [](Bytes& f) { SetLong(f, 257, 0x80000000u); }},
        OddCase{"HeightAboveLimit", [](Bytes& f) { tiff_files::SetEntry(f, 257, 16385); }},
        OddCase{"WidthAbsurd", [](Bytes& f) { SetLong(f, 256, 1000000); }},
        OddCase{"NoWidth",
                [](Bytes& f) { tiff_files::Put16(f, tiff_files::EntryAt(f, 256), 999); }},
        // 3334 pixels of three bytes do not fit the 10000-byte row buffer, nor 2501 of four.
        OddCase{"RowTooLong", [](Bytes& f) { tiff_files::SetEntry(f, 256, 3334); }},
        OddCase{"RowTooLongWithAlpha", [](Bytes& f) { tiff_files::SetEntry(f, 256, 2501); },
                Expect::kCorrupt, true},
        OddCase{"FirstSampleLarger", [](Bytes& f) { Sizes(f, 16, 8, 8); }},
        OddCase{"LastSampleLarger", [](Bytes& f) { Sizes(f, 8, 8, 16); }},
        OddCase{"AlphaSampleLarger",
                [](Bytes& f) { tiff_files::Put16(f, ListOffset(f, 258) + 6, 32); },
                Expect::kCorrupt, true},
        OddCase{"AlphaSampleZero",
                [](Bytes& f) { tiff_files::Put16(f, ListOffset(f, 258) + 6, 0); }, Expect::kCorrupt,
                true},
        OddCase{"SampleSizesZero", [](Bytes& f) { Sizes(f, 0, 0, 0); }},
        OddCase{"OneSampleSizeZero", [](Bytes& f) { Sizes(f, 8, 0, 8); }},
        OddCase{"GraySampleZero",
                [](Bytes& f) {
                  SetCount(f, 258, 1);
                  tiff_files::SetEntry(f, 258, 0);
                }},
        OddCase{"SampleListPastEnd", [](Bytes& f) { tiff_files::SetEntry(f, 258, Size(f) - 4); }},
        OddCase{"StripListPastEnd", [](Bytes& f) { tiff_files::SetEntry(f, 273, Size(f) - 8); }},
        OddCase{"StripPastEnd",
                [](Bytes& f) { tiff_files::Put32(f, ListOffset(f, 273) + 4, Size(f) + 100); }},
        OddCase{"OnlyStripAtEnd", [](Bytes& f) { tiff_files::SetEntry(f, 273, Size(f)); },
                Expect::kCorrupt, false, 0},
        // With the directory first the last strip (one row, 15 bytes) ends the file.
        OddCase{"LastStripMissing", [](Bytes&) {}, Expect::kCorrupt, false, 2, true, 15},
        OddCase{"BitsCountFive", [](Bytes& f) { SetCount(f, 258, 5); }, Expect::kUnknownMode},
        OddCase{"BitsCountZero", [](Bytes& f) { SetCount(f, 258, 0); }, Expect::kUnknownMode}),
    OddName);

INSTANTIATE_TEST_SUITE_P(
    Read, OddFiles,
    testing::Values(
        OddCase{"RowFits", [](Bytes& f) { tiff_files::SetEntry(f, 256, 3333); }, Expect::kOk},
        OddCase{"RowFitsWithAlpha", [](Bytes& f) { tiff_files::SetEntry(f, 256, 2500); },
                Expect::kOk, true},
        OddCase{"NoRowsPerStrip", [](Bytes&) {}, Expect::kExact, false, 0},
        OddCase{"RowsPerStripZero", [](Bytes& f) { tiff_files::SetEntry(f, 278, 0); },
                Expect::kExact, false, 5},
        OddCase{"RowsPerStripAboveHeight", [](Bytes& f) { tiff_files::SetEntry(f, 278, 9); },
                Expect::kExact, false, 5},
        OddCase{"RowsPerStripAllOnes", [](Bytes& f) { SetLong(f, 278, 0xFFFFFFFFu); },
                Expect::kExact, false, 5},
        OddCase{"LastStripCutShort", [](Bytes&) {}, Expect::kCutShort, false, 2, true, 7},
        OddCase{"OnlyStripCutShort", [](Bytes&) {}, Expect::kCutShort, false, 0, true, 40},
        OddCase{"Compressed", [](Bytes& f) { tiff_files::SetEntry(f, 259, 5); }, Expect::kExact,
                false, 2, false, 0, 1},
        OddCase{"NextDirectoryPointsBack",
                [](Bytes& f) { tiff_files::Put32(f, NextLink(f), Directory(f)); }, Expect::kExact,
                false, 2, false, 0, 0, true},
        OddCase{"NextDirectoryPastEnd",
                [](Bytes& f) { tiff_files::Put32(f, NextLink(f), 0xFFFFFFFFu); }, Expect::kExact,
                true, 2, false, 0, 0, true},
        OddCase{"NextLinkMissing", [](Bytes& f) { f.resize(NextLink(f)); }, Expect::kExact},
        OddCase{"UnknownSampleSize", [](Bytes& f) { Sizes(f, 4, 4, 4); }, Expect::kZero},
        OddCase{"MixedUnknownSampleSizes", [](Bytes& f) { Sizes(f, 5, 6, 5); }, Expect::kZero},
        OddCase{"Palette", [](Bytes& f) { tiff_files::SetEntry(f, 262, 3); }, Expect::kUntouched}),
    OddName);

// Directories whose entries come in an order MakeTiff does not write.
struct Strips {
  tiff_files::Builder builder{false};
  uint32_t sizes = 0;
  uint32_t list = 0;
  Picture want = tiff_files::Pattern(3, 5, false, 4);

  // Five rows of three pixels, one row per strip.
  Strips() {
    sizes = builder.AppendShorts({8, 8, 8});
    std::vector<uint32_t> offsets;
    for (int y = 0; y < 5; ++y) {
      offsets.push_back(
          builder.Append(Bytes(want.rgb.begin() + y * 9, want.rgb.begin() + y * 9 + 9)));
    }
    list = builder.AppendLongs(offsets);
  }
};

TEST(TiffEntryOrder, RowsPerStripBeforeTheHeightReadsNoStrips) {
  Strips s;
  s.builder.AppendDirectory({{256, kShort, 1, 3},
                             {278, kShort, 1, 1},
                             {257, kShort, 1, 5},
                             {258, kShort, 3, s.sizes},
                             {273, kLong, 5, s.list}});
  const Decoded d = Decode(s.builder.bytes(), "rows-before-height");
  EXPECT_EQ(d.outcome.status, TIFF_OK);
  EXPECT_EQ(d.picture.height, 5);
  EXPECT_EQ(d.picture.rgb, Bytes(3 * 5 * 3));
}

TEST(TiffEntryOrder, StripsCountedForAnEarlierHeightStopAtTheLastRow) {
  // The strip count comes from a height of 60000 rows; the picture has 5 and the list 5 entries.
  Strips s;
  s.builder.AppendDirectory({{256, kShort, 1, 3},
                             {257, kShort, 1, 60000},
                             {278, kShort, 1, 1},
                             {257, kShort, 1, 5},
                             {258, kShort, 3, s.sizes},
                             {273, kLong, 5, s.list}});
  const Decoded d = Decode(s.builder.bytes(), "height-twice");
  EXPECT_EQ(d.outcome.status, TIFF_OK);
  EXPECT_EQ(d.picture.rgb, s.want.rgb);
}

TEST(TiffEntryOrder, ALaterRowsPerStripOfZeroMeansOneStrip) {
  tiff_files::Builder b(false);
  const Picture want = tiff_files::Pattern(3, 5, false, 2);
  const uint32_t sizes = b.AppendShorts({8, 8, 8});
  const uint32_t strip = b.Append(want.rgb);
  b.AppendDirectory({{256, kShort, 1, 3},
                     {257, kShort, 1, 5},
                     {258, kShort, 3, sizes},
                     {273, kLong, 1, strip},
                     {278, kShort, 1, 2},
                     {278, kShort, 1, 0}});
  const Decoded d = Decode(b.bytes(), "rows-twice");
  EXPECT_EQ(d.outcome.status, TIFF_OK);
  EXPECT_EQ(d.picture.rgb, want.rgb);
}

TEST(TiffEntryOrder, AFileWithoutBitsPerSampleIsBilevel) {
  tiff_files::Builder b(true);
  const uint32_t strip = b.Append({0xA0, 0x40});  // rows 1 0 1 and 0 1 0
  b.AppendDirectory({{256, kShort, 1, 3}, {257, kShort, 1, 2}, {273, kLong, 1, strip}});
  const Decoded d = Decode(b.bytes(), "no-bits");
  EXPECT_EQ(d.outcome.status, TIFF_OK);
  const Bytes want = {255, 255, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0};
  EXPECT_EQ(d.picture.rgb, want);
}

// The largest side the reader takes, on a file that holds almost none of it.
TEST(TiffLimits, SixteenThousandPixelsASideAreReadAndZeroFilled) {
  for (const auto& [w, h] : {std::pair{16384, 1}, std::pair{1, 16384}}) {
    // The directory first, so that the one byte of pixels ends the file.
    tiff_files::Builder b(false);
    constexpr uint32_t kStrip = 8 + 2 + 4 * 12 + 4;
    b.AppendDirectory({{256, kShort, 1, static_cast<uint32_t>(w)},
                       {257, kShort, 1, static_cast<uint32_t>(h)},
                       {258, kShort, 1, 1},
                       {273, kLong, 1, kStrip}});
    ASSERT_EQ(b.Append({0xFF}), kStrip);
    Image image;
    const Decoded d = Decode(b.bytes(), "limit", image);
    ASSERT_EQ(d.outcome.status, TIFF_OK);
    EXPECT_EQ(d.picture.width, w);
    EXPECT_EQ(d.picture.height, h);
    const size_t first = w == 1 ? 1 : 8;  // pixels the one byte covers
    for (size_t i = 0; i < d.picture.rgb.size(); ++i) {
      ASSERT_EQ(d.picture.rgb[i], i < first * 3 ? 255 : 0) << i;
    }
  }
}

}  // namespace
