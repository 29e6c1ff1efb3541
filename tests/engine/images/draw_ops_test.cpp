// The four draw operations: clipping on every side on both 16-bit layouts, skipped images, the
// refusal of images prepared for another operation, and the per-pixel rules of each.
#include <gtest/gtest.h>

#include "draw_view.h"
#include "platform/headless/headless.h"

namespace {

const struct Op {
  const char* name;
  ImageDrawFn draw;
  int purpose;
  bool alpha;
} kOps[] = {
    {"DrawPlain", DrawPlain, DRAW_PLAIN, false},
    {"DrawMasked", DrawMasked, DRAW_MASKED, false},
    {"DrawAlpha", DrawAlpha, DRAW_ALPHA, true},
    {"DrawAdditive", DrawAdditive, DRAW_ADDITIVE, true},
};

constexpr int kViewW = 16, kViewH = 12, kStride = 20, kImageW = 8, kImageH = 7;

// Non-zero and different everywhere, with bit 15 clear so that it is valid on both layouts.
int Pixel(int i, int j) {
  return 0x0421 * (j + 1) + i + 1;
}
int Shade(int i, int j) {
  return (i + 2 * j) % 3 == 0 ? 255 : 0;
}

// Every operation writes exactly the image's pixels where image and clip rectangle overlap and
// nothing anywhere else. The view is black, so the blending operations write s where t = 0;
// their images also have fully transparent pixels (t = 255) on a diagonal pattern, which must
// leave the view alone, so the alpha buffer has to be walked in step with the pixels.
// Placed inside, with the right edge on the clip and one past it, cut on the left and on the
// right, over the bottom-right corner, wholly left and far outside.
TEST(DrawClipping, EachOperationCoversExactlyTheVisiblePart) {
  const std::pair<int, int> placements[] = {
      {3, 2},        {kViewW - kImageW, 5},    {kViewW - kImageW + 1, 5},
      {-2, 3},       {kViewW - 2, 3},          {kViewW - 1, kViewH - 1},
      {-kImageW, 3}, {-2000000000, 2000000000}};
  for (const PixelLayout* layout : {&k565, &k555}) {
    for (const Op& op : kOps) {
      for (const auto& [px, py] : placements) {
        SCOPED_TRACE(testing::Message() << layout->name << op.name << " at " << px << "," << py);
        TestView view(kViewW, kViewH, kStride, *layout);
        Image image;
        MakeImage(&image, kImageW, kImageH, op.purpose, op.alpha, Pixel, Shade);
        EXPECT_EQ(op.draw(px, py, &image), 1);
        const auto expected = [&](int vx, int vy) {
          const int64_t i = int64_t{vx} - px, j = int64_t{vy} - py;
          const bool outside = i < 0 || i >= kImageW || j < 0 || j >= kImageH;
          return outside || (op.alpha && Shade(int(i), int(j)) == 255) ? 0 : Pixel(int(i), int(j));
        };
        EXPECT_EQ(view.Wrong(expected), 0);
      }
    }
  }
}

// Start-up's table: entry n draws purpose n, entry 0 writes a pixel.
TEST(DrawTable, EachEntryIsTheOperationOfItsPurpose) {
  const DrawTable table = SixteenBitDrawTable();
  EXPECT_EQ(table.pixel, DrawPixel);
  const ImageDrawFn entries[] = {table.plain, table.masked, table.alpha, table.additive};
  for (const Op& op : kOps) EXPECT_EQ(entries[op.purpose - 1], op.draw) << op.name;
}

// An image prepared for another operation, or an absent one, is reported on every call; one
// with nothing to draw (no pixels, or a blending one without alpha) is skipped silently, and so is
// every draw before the first lock, when there is no view yet.
TEST(DrawRefusal, WrongPurposeIsReportedNothingToDrawIsSkipped) {
  platform::headless::HeadlessPlatform headless;
  Vorn.UsePlatform(&headless);
  TestView view(kViewW, kViewH, kStride, k565);
  size_t reports = 0;
  for (const Op& op : kOps) {
    for (int call = 0; call < 14; ++call) {  // purposes 0 to 5, and 6 for an absent image
      const int purpose = call / 2;
      SCOPED_TRACE(std::string(op.name) + " purpose " + std::to_string(purpose));
      const bool refused = purpose != op.purpose;
      Image image, empty;
      MakeImage(&image, 3, 3, purpose, refused, Pixel);
      empty.purpose = static_cast<uint8_t>(purpose);
      Image* drawn = refused                ? (purpose == 6 ? nullptr : &image)
                     : op.alpha && call % 2 ? &image
                                            : &empty;
      Vorn.status = STATUS_RUNNING;
      EXPECT_EQ(op.draw(0, 0, drawn), !refused);
      EXPECT_EQ(Vorn.status, refused ? ERR_IMAGEUSE : STATUS_RUNNING);
      ASSERT_EQ(headless.MessageBoxes().size(), reports += refused);
    }
  }
  EXPECT_NE(headless.MessageBoxes().back().text.find("IMAGEUSE_FAILED"), std::string::npos);
  EXPECT_EQ(view.Wrong(), 0);
  Vorn.view = nullptr, Vorn.status = STATUS_RUNNING;
  for (const Op& op : kOps) {
    Image image;
    MakeImage(&image, 3, 3, op.purpose, op.alpha, Pixel);
    EXPECT_EQ(op.draw(0, 0, &image), 1) << op.name;
  }
  EXPECT_EQ(DrawPixel(0, 0, 255, 255, 255), 1);
  EXPECT_EQ(std::pair(Vorn.status, headless.MessageBoxes().size()),
            std::pair(STATUS_RUNNING, reports));
  Vorn.UsePlatform(nullptr);
}

// The per-pixel rules of DrawMasked, DrawAlpha and DrawAdditive on both 16-bit layouts. Each case
// fills a whole row (long enough for vector code and its scalar tail) with one view pixel d, one
// image pixel s and one alpha byte t (255 − alpha), and checks every resulting pixel.
TEST(DrawRules, EachOperationOnAWholeRow) {
  constexpr int kRow = 37;
  const struct {
    int purpose;
    const PixelLayout& layout;
    const char* what;
    uint16_t d, s, t, expected;
  } cases[] = {
      {DRAW_MASKED, k565, "zero leaves the view", 0x1234, 0x0000, 0, 0x1234},
      {DRAW_MASKED, k565, "non-zero replaces it", 0x1234, 0x0001, 0, 0x0001},
      {DRAW_ALPHA, k565, "t = 0 writes s exactly", 0x1234, 0xABCD, 0, 0xABCD},
      {DRAW_ALPHA, k565, "t = 255 leaves the view", 0x1234, 0x0001, 255, 0x1234},
      {DRAW_ALPHA, k565, "half of white", 0xFFFF, 0x0000, 128, 0x7BEF},
      {DRAW_ALPHA, k565, "half of white plus half grey", 0xFFFF, 0x8410, 128, 0xFFFF},
      {DRAW_ALPHA, k565, "green share is masked", 0x07E0, 0x0000, 200, 0x0620},
      {DRAW_ALPHA, k565, "t = 254 keeps most", 0xFFFF, 0x0000, 254, 0xF7DE},
      {DRAW_ALPHA, k555, "half of white", 0x7FFF, 0x0000, 128, 0x3DEF},
      {DRAW_ALPHA, k555, "green share is masked", 0x03E0, 0x0000, 200, 0x0300},
      {DRAW_ADDITIVE, k565, "bright onto white stays white", 0xFFFF, 0xFFFF, 0, 0xFFFF},
      {DRAW_ADDITIVE, k565, "onto black writes s", 0x0000, 0x1234, 0, 0x1234},
      {DRAW_ADDITIVE, k565, "red and blue saturate, green adds", 0xF81F, 0x0821, 0, 0xF83F},
      {DRAW_ADDITIVE, k565, "no channel saturates", 0x7BEF, 0x0821, 100, 0x8410},
      {DRAW_ADDITIVE, k565, "green saturates alone", 0x07C0, 0x0040, 0, 0x07E0},
      {DRAW_ADDITIVE, k565, "t = 255 leaves the view", 0x1234, 0x0821, 255, 0x1234},
      {DRAW_ADDITIVE, k565, "s = 0 leaves the view", 0x1234, 0x0000, 0, 0x1234},
      {DRAW_ADDITIVE, k555, "red and blue saturate, green adds", 0x7C1F, 0x0421, 0, 0x7C3F},
      {DRAW_ADDITIVE, k555, "green saturates alone", 0x03C0, 0x0040, 0, 0x03E0},
  };
  for (const auto& c : cases) {
    const Op& op = kOps[c.purpose - 1];
    SCOPED_TRACE(std::string(op.name) + " " + c.layout.name + ": " + c.what);
    TestView view(kRow + 3, 3, kRow + 5, c.layout, c.d);
    Image image;
    MakeImage(
        &image, kRow, 1, c.purpose, op.alpha, [&](int, int) { return c.s; },
        [&](int, int) { return c.t; });
    ASSERT_EQ(op.draw(1, 1, &image), 1);
    EXPECT_EQ(
        view.Wrong([&](int x, int y) { return y == 1 && x >= 1 && x <= kRow ? c.expected : c.d; }),
        0);
  }
}

}  // namespace
