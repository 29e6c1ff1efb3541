// The four draw operations: clipping on every side on both 16-bit layouts, skipped images, and
// the refusal of images prepared for another operation.
#include <gtest/gtest.h>

#include <string>

#include "draw_view.h"
#include "engine/images/draw.h"
#include "platform/headless/headless.h"

namespace {

struct Op {
  const char* name;
  ImageDrawFn draw;
  int purpose;
  bool alpha;
};

const Op kOps[] = {
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
TEST(DrawClipping, EachOperationCoversExactlyTheVisiblePart) {
  const struct {
    const char* what;
    int x, y;
  } placements[] = {
      {"inside", 3, 2},
      {"right edge on the clip", kViewW - kImageW, 5},
      {"one past the right edge", kViewW - kImageW + 1, 5},
      {"cut on the left", -2, 3},
      {"cut on the right", kViewW - 2, 3},
      {"over the bottom-right corner", kViewW - 1, kViewH - 1},
      {"wholly left", -kImageW, 3},
      {"far outside", -2000000000, 2000000000},
  };
  for (const PixelLayout* layout : {&kLayout565, &kLayout555}) {
    for (const Op& op : kOps) {
      for (const auto& p : placements) {
        SCOPED_TRACE(std::string(layout->name) + " " + op.name + " " + p.what);
        TestView view(kViewW, kViewH, kStride, *layout);
        Image image;
        MakeImage(&image, kImageW, kImageH, op.purpose, op.alpha, Pixel, Shade);
        EXPECT_EQ(op.draw(p.x, p.y, &image), 1);
        const int wrong = view.Mismatches([&](int vx, int vy) {
          const int64_t i = int64_t{vx} - p.x, j = int64_t{vy} - p.y;
          if (i < 0 || i >= kImageW || j < 0 || j >= kImageH) return 0;
          if (op.alpha && Shade(int(i), int(j)) == 255) return 0;
          return Pixel(int(i), int(j));
        });
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(view.DamagedGuards(), 0);
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

TEST(DrawRefusal, WrongPurposeOrAbsentImageIsReportedOnEveryCall) {
  platform::headless::HeadlessPlatform headless;
  Vorn.UsePlatform(&headless);
  TestView view(kViewW, kViewH, kStride, kLayout565);
  size_t reports = 0;
  for (const Op& op : kOps) {
    for (int purpose = 0; purpose <= 6; ++purpose) {
      if (purpose == op.purpose) continue;
      SCOPED_TRACE(std::string(op.name) + " purpose " + std::to_string(purpose));
      Image image;
      MakeImage(&image, 3, 3, purpose, true, Pixel);
      for (int call = 0; call < 2; ++call) {
        Vorn.status = STATUS_RUNNING;
        // Purpose 6 stands for an absent image.
        EXPECT_EQ(op.draw(1, 1, purpose == 6 ? nullptr : &image), 0);
        EXPECT_EQ(Vorn.status, ERR_IMAGEUSE);
        ASSERT_EQ(headless.MessageBoxes().size(), ++reports);
        EXPECT_NE(headless.MessageBoxes().back().text.find("IMAGEUSE_FAILED"), std::string::npos);
      }
    }
  }
  EXPECT_EQ(view.Mismatches([](int, int) { return 0; }), 0);
  EXPECT_EQ(view.DamagedGuards(), 0);
  Vorn.UsePlatform(nullptr);
}

TEST(DrawRefusal, ImagesWithNothingToDrawAreSkippedSilently) {
  TestView view(kViewW, kViewH, kStride, kLayout565);
  Vorn.status = STATUS_RUNNING;
  for (const Op& op : kOps) {
    SCOPED_TRACE(op.name);
    Image empty, no_alpha;
    empty.purpose = static_cast<uint8_t>(op.purpose);
    EXPECT_EQ(op.draw(0, 0, &empty), 1);
    // The blending operations need an alpha buffer too.
    MakeImage(&no_alpha, 3, 3, op.purpose, false, Pixel);
    if (op.alpha) {
      EXPECT_EQ(op.draw(0, 0, &no_alpha), 1);
    }
  }
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
  EXPECT_EQ(view.Mismatches([](int, int) { return 0; }), 0);
  // Before the first lock there is no view: nothing is drawn, nothing is refused.
  Vorn.view = nullptr;
  for (const Op& op : kOps) {
    Image image;
    MakeImage(&image, 3, 3, op.purpose, op.alpha, Pixel);
    EXPECT_EQ(op.draw(0, 0, &image), 1) << op.name;
  }
  EXPECT_EQ(DrawPixel(0, 0, 255, 255, 255), 1);
  EXPECT_EQ(Vorn.status, STATUS_RUNNING);
}

}  // namespace
