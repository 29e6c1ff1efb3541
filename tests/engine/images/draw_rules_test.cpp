// The per-pixel rules of DrawMasked, DrawAlpha and DrawAdditive on both 16-bit layouts. Each case
// fills a whole row (long enough for vector code and its scalar tail) with one view pixel d, one
// image pixel s and one alpha byte t (255 − alpha), and checks every resulting pixel.
#include <gtest/gtest.h>

#include <string>

#include "draw_view.h"
#include "engine/images/draw.h"

namespace {

constexpr int kRowLength = 37;

struct RuleCase {
  const PixelLayout* layout;
  const char* what;
  uint16_t d;
  uint16_t s;
  uint8_t t;
  uint16_t expected;
};

void CheckRow(ImageDrawFn draw, int purpose, const RuleCase& c) {
  SCOPED_TRACE(std::string(c.layout->name) + ": " + c.what);
  TestView view(kRowLength + 3, 3, kRowLength + 5, *c.layout);
  view.Fill(c.d);
  Image image;
  MakeImage(
      &image, kRowLength, 1, purpose, purpose != DRAW_MASKED, [&](int, int) { return c.s; },
      [&](int, int) { return c.t; });
  ASSERT_EQ(draw(1, 1, &image), 1);
  for (int x = 0; x < view.width(); ++x) {
    const bool covered = x >= 1 && x <= kRowLength;
    EXPECT_EQ(view.At(x, 1), covered ? c.expected : c.d) << "x=" << x;
    EXPECT_EQ(view.At(x, 0), c.d);
    EXPECT_EQ(view.At(x, 2), c.d);
  }
  EXPECT_EQ(view.DamagedGuards(), 0);
}

TEST(DrawRules, MaskedSkipsZeroPixels) {
  const RuleCase cases[] = {
      {&kLayout565, "zero leaves the view", 0x1234, 0x0000, 0, 0x1234},
      {&kLayout565, "non-zero replaces it", 0x1234, 0x0001, 0, 0x0001},
      {&kLayout555, "zero leaves the view", 0x7FFF, 0x0000, 0, 0x7FFF},
      {&kLayout555, "non-zero replaces it", 0x7FFF, 0x8000, 0, 0x8000},
  };
  for (const RuleCase& c : cases) CheckRow(DrawMasked, DRAW_MASKED, c);
}

TEST(DrawRules, AlphaBlendsPremultipliedPixels) {
  const RuleCase cases[] = {
      {&kLayout565, "t = 0 writes s exactly", 0x1234, 0xABCD, 0, 0xABCD},
      {&kLayout565, "t = 255 leaves the view", 0x1234, 0x0001, 255, 0x1234},
      {&kLayout565, "half of white", 0xFFFF, 0x0000, 128, 0x7BEF},
      {&kLayout565, "half of white plus half grey", 0xFFFF, 0x8410, 128, 0xFFFF},
      {&kLayout565, "quarter of red plus blue", 0xF800, 0x0010, 64, 0x3810},
      {&kLayout565, "green share is masked", 0x07E0, 0x0000, 200, 0x0620},
      {&kLayout565, "t = 254 keeps most", 0xFFFF, 0x0000, 254, 0xF7DE},
      {&kLayout555, "t = 0 writes s exactly", 0x1234, 0x5BCD, 0, 0x5BCD},
      {&kLayout555, "t = 255 leaves the view", 0x1234, 0x0001, 255, 0x1234},
      {&kLayout555, "half of white", 0x7FFF, 0x0000, 128, 0x3DEF},
      {&kLayout555, "green share is masked", 0x03E0, 0x0000, 200, 0x0300},
  };
  for (const RuleCase& c : cases) CheckRow(DrawAlpha, DRAW_ALPHA, c);
}

TEST(DrawRules, AdditiveSaturatesEachChannel) {
  const RuleCase cases[] = {
      {&kLayout565, "bright onto white stays white", 0xFFFF, 0xFFFF, 0, 0xFFFF},
      {&kLayout565, "onto black writes s", 0x0000, 0x1234, 0, 0x1234},
      {&kLayout565, "red and blue saturate, green adds", 0xF81F, 0x0821, 0, 0xF83F},
      {&kLayout565, "no channel saturates", 0x7BEF, 0x0821, 100, 0x8410},
      {&kLayout565, "green saturates alone", 0x07C0, 0x0040, 0, 0x07E0},
      {&kLayout565, "t = 255 leaves the view", 0x1234, 0x0821, 255, 0x1234},
      {&kLayout565, "s = 0 leaves the view", 0x1234, 0x0000, 0, 0x1234},
      {&kLayout555, "bright onto white stays white", 0x7FFF, 0x7FFF, 0, 0x7FFF},
      {&kLayout555, "onto black writes s", 0x0000, 0x1234, 0, 0x1234},
      {&kLayout555, "red and blue saturate, green adds", 0x7C1F, 0x0421, 0, 0x7C3F},
      {&kLayout555, "green saturates alone", 0x03C0, 0x0040, 0, 0x03E0},
  };
  for (const RuleCase& c : cases) CheckRow(DrawAdditive, DRAW_ADDITIVE, c);
}

}  // namespace
