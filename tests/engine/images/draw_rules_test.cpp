// The per-pixel rules of DrawMasked, DrawAlpha and DrawAdditive on both 16-bit layouts. Each case
// fills a whole row (long enough for vector code and its scalar tail) with one view pixel d, one
// image pixel s and one alpha byte t (255 − alpha), and checks every resulting pixel.
#include <gtest/gtest.h>

#include <string>

#include "draw_view.h"
#include "engine/images/draw.h"

namespace {

TEST(DrawRules, EachOperationOnAWholeRow) {
  constexpr int kRow = 37;
  const PixelLayout* const k565 = &kLayout565;
  const PixelLayout* const k555 = &kLayout555;
  const struct {
    ImageDrawFn draw;
    const PixelLayout* layout;
    const char* what;
    uint16_t d, s;
    uint8_t t;
    uint16_t expected;
  } cases[] = {
      {DrawMasked, k565, "zero leaves the view", 0x1234, 0x0000, 0, 0x1234},
      {DrawMasked, k565, "non-zero replaces it", 0x1234, 0x0001, 0, 0x0001},
      {DrawAlpha, k565, "t = 0 writes s exactly", 0x1234, 0xABCD, 0, 0xABCD},
      {DrawAlpha, k565, "t = 255 leaves the view", 0x1234, 0x0001, 255, 0x1234},
      {DrawAlpha, k565, "half of white", 0xFFFF, 0x0000, 128, 0x7BEF},
      {DrawAlpha, k565, "half of white plus half grey", 0xFFFF, 0x8410, 128, 0xFFFF},
      {DrawAlpha, k565, "green share is masked", 0x07E0, 0x0000, 200, 0x0620},
      {DrawAlpha, k565, "t = 254 keeps most", 0xFFFF, 0x0000, 254, 0xF7DE},
      {DrawAlpha, k555, "half of white", 0x7FFF, 0x0000, 128, 0x3DEF},
      {DrawAlpha, k555, "green share is masked", 0x03E0, 0x0000, 200, 0x0300},
      {DrawAdditive, k565, "bright onto white stays white", 0xFFFF, 0xFFFF, 0, 0xFFFF},
      {DrawAdditive, k565, "onto black writes s", 0x0000, 0x1234, 0, 0x1234},
      {DrawAdditive, k565, "red and blue saturate, green adds", 0xF81F, 0x0821, 0, 0xF83F},
      {DrawAdditive, k565, "no channel saturates", 0x7BEF, 0x0821, 100, 0x8410},
      {DrawAdditive, k565, "green saturates alone", 0x07C0, 0x0040, 0, 0x07E0},
      {DrawAdditive, k565, "t = 255 leaves the view", 0x1234, 0x0821, 255, 0x1234},
      {DrawAdditive, k565, "s = 0 leaves the view", 0x1234, 0x0000, 0, 0x1234},
      {DrawAdditive, k555, "red and blue saturate, green adds", 0x7C1F, 0x0421, 0, 0x7C3F},
      {DrawAdditive, k555, "green saturates alone", 0x03C0, 0x0040, 0, 0x03E0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.layout->name) + ": " + c.what);
    TestView view(kRow + 3, 3, kRow + 5, *c.layout);
    view.Fill(c.d);
    const int purpose = c.draw == DrawMasked  ? DRAW_MASKED
                        : c.draw == DrawAlpha ? DRAW_ALPHA
                                              : DRAW_ADDITIVE;
    Image image;
    MakeImage(
        &image, kRow, 1, purpose, purpose != DRAW_MASKED, [&](int, int) { return c.s; },
        [&](int, int) { return c.t; });
    ASSERT_EQ(c.draw(1, 1, &image), 1);
    const int wrong = view.Mismatches(
        [&](int x, int y) { return y == 1 && x >= 1 && x <= kRow ? c.expected : c.d; });
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(view.DamagedGuards(), 0);
  }
}

}  // namespace
