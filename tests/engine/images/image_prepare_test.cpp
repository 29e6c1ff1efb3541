// Preparing 24-bit pictures for each load purpose on the 16-bit layouts the display can report.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/images/image.h"
#include "support/headless_engine.h"

namespace {

using platform::headless::Layout;

struct Px {
  uint8_t r, g, b, a;
};

struct PrepareCase {
  std::string name;
  Layout layout;
  int purpose;
  bool with_alpha;
  std::vector<Px> in;
  std::vector<uint16_t> pixels;
  std::vector<uint8_t> alpha;  // expected alpha bytes; empty: the image has no alpha buffer
  uint8_t format;
};

void Fill(Image& image, const std::vector<Px>& in, bool with_alpha) {
  image.Create(static_cast<int32_t>(in.size()), 1,
               with_alpha ? IMAGE_RGB24 | IMAGE_ALPHA : IMAGE_RGB24);
  for (size_t i = 0; i < in.size(); ++i) {
    image.data[i * 3] = in[i].r;
    image.data[i * 3 + 1] = in[i].g;
    image.data[i * 3 + 2] = in[i].b;
    image.alpha[i] = in[i].a;
  }
}

class PrepareTest : public testing::TestWithParam<PrepareCase> {};

TEST_P(PrepareTest, GivesTheDrawableForm) {
  const PrepareCase& c = GetParam();
  StartHeadlessEngine({.layout = c.layout});
  Image image;
  Fill(image, c.in, c.with_alpha);
  image.Prepare(c.purpose);

  EXPECT_EQ(image.purpose, c.purpose);
  EXPECT_EQ(image.format, c.format);
  ASSERT_NE(image.data, nullptr);
  for (size_t i = 0; i < c.pixels.size(); ++i) {
    EXPECT_EQ(image.pixels16()[i], c.pixels[i]) << "pixel " << i;
  }
  if (c.format & IMAGE_ALPHA) {
    ASSERT_NE(image.alpha, nullptr);
    for (size_t i = 0; i < c.alpha.size(); ++i) EXPECT_EQ(image.alpha[i], c.alpha[i]) << i;
  }
  if (c.format & IMAGE_MASKED) {
    EXPECT_EQ(image.alpha, nullptr);
  }
}

std::string PrepareName(const testing::TestParamInfo<PrepareCase>& param) {
  return param.param.name;
}

const Px kOrange{200, 100, 50, 255};
const Px kWhite{255, 255, 255, 255};
const Px kBlack{0, 0, 0, 255};

INSTANTIATE_TEST_SUITE_P(
    Purposes, PrepareTest,
    testing::Values(
        // Plain: the top bits of each channel, truncated, at the display's own positions.
        PrepareCase{"Plain565",
                    Layout::k565,
                    DRAW_PLAIN,
                    false,
                    {kOrange, kWhite, {8, 4, 8, 0}, {7, 3, 7, 0}},
                    {0xCB26, 0xFFFF, 0x0821, 0x0000},
                    {},
                    IMAGE_RGB16},
        PrepareCase{"Plain555",
                    Layout::k555,
                    DRAW_PLAIN,
                    false,
                    {kOrange, kWhite, {8, 8, 8, 0}, {7, 7, 7, 0}},
                    {0x6586, 0x7FFF, 0x0421, 0x0000},
                    {},
                    IMAGE_RGB16},
        // Masked with alpha: opaque black becomes 1, alpha 0 becomes 0, alpha 1 is opaque.
        PrepareCase{"MaskedAlpha565",
                    Layout::k565,
                    DRAW_MASKED,
                    true,
                    {kBlack, {200, 100, 50, 0}, {200, 100, 50, 1}, {0, 0, 0, 1}, {0, 0, 0, 0}},
                    {0x0001, 0x0000, 0xCB26, 0x0001, 0x0000},
                    {},
                    IMAGE_RGB16 | IMAGE_MASKED},
        PrepareCase{"MaskedAlpha555",
                    Layout::k555,
                    DRAW_MASKED,
                    true,
                    {kBlack, {200, 100, 50, 0}, {200, 100, 50, 1}, {7, 7, 7, 9}},
                    {0x0001, 0x0000, 0x6586, 0x0001},
                    {},
                    IMAGE_RGB16 | IMAGE_MASKED},
        // Masked without alpha: whatever converts to 0 is the transparent colour.
        PrepareCase{"Masked565",
                    Layout::k565,
                    DRAW_MASKED,
                    false,
                    {kBlack, {7, 3, 7, 0}, kOrange},
                    {0x0000, 0x0000, 0xCB26},
                    {},
                    IMAGE_RGB16},
        PrepareCase{"Masked555",
                    Layout::k555,
                    DRAW_MASKED,
                    false,
                    {kBlack, {7, 7, 7, 0}, kOrange},
                    {0x0000, 0x0000, 0x6586},
                    {},
                    IMAGE_RGB16},
        // Alpha with an alpha channel: premultiplied colour, inverted alpha.
        PrepareCase{"Alpha565",
                    Layout::k565,
                    DRAW_ALPHA,
                    true,
                    {kWhite, {255, 255, 255, 0}, {200, 100, 50, 128}},
                    {(30 << 11) | (62 << 5) | 30, 0x0000, (12 << 11) | (12 << 5) | 3},
                    {0, 255, 127},
                    IMAGE_RGB16 | IMAGE_ALPHA},
        PrepareCase{"Alpha555",
                    Layout::k555,
                    DRAW_ALPHA,
                    true,
                    {kWhite, {255, 255, 255, 0}, {200, 100, 50, 128}},
                    {(30 << 10) | (30 << 5) | 30, 0x0000, (12 << 10) | (6 << 5) | 3},
                    {0, 255, 127},
                    IMAGE_RGB16 | IMAGE_ALPHA},
        // Alpha without an alpha channel: brightness is opacity, black vanishes.
        PrepareCase{"Brightness565",
                    Layout::k565,
                    DRAW_ALPHA,
                    false,
                    {kWhite, kBlack},
                    {(20 << 11) | (40 << 5) | 20, 0x0000},
                    {89, 255},
                    IMAGE_RGB16 | IMAGE_ALPHA},
        PrepareCase{"Brightness555",
                    Layout::k555,
                    DRAW_ALPHA,
                    false,
                    {kWhite, kBlack},
                    {(15 << 10) | (15 << 5) | 15, 0x0000},
                    {131, 255},
                    IMAGE_RGB16 | IMAGE_ALPHA},
        PrepareCase{"Additive565",
                    Layout::k565,
                    DRAW_ADDITIVE,
                    true,
                    {kWhite, {0, 0, 0, 0}},
                    {(30 << 11) | (62 << 5) | 30, 0x0000},
                    {0, 255},
                    IMAGE_RGB16 | IMAGE_ALPHA},
        PrepareCase{"AdditiveBrightness555",
                    Layout::k555,
                    DRAW_ADDITIVE,
                    false,
                    {kWhite},
                    {(15 << 10) | (15 << 5) | 15},
                    {131},
                    IMAGE_RGB16 | IMAGE_ALPHA}),
    PrepareName);

// An image whose file was missing is prepared all the same and draws nothing.
TEST(PrepareEmpty, EveryPurposeGivesAnEmpty16BitImage) {
  StartHeadlessEngine();
  const struct {
    int purpose;
    uint8_t format;
  } cases[] = {{DRAW_PLAIN, IMAGE_RGB16},
               {DRAW_MASKED, IMAGE_RGB16},
               {DRAW_ALPHA, IMAGE_RGB16 | IMAGE_ALPHA},
               {DRAW_ADDITIVE, IMAGE_RGB16 | IMAGE_ALPHA}};
  for (const auto& c : cases) {
    Image image;
    image.Prepare(c.purpose);
    EXPECT_EQ(image.format, c.format) << c.purpose;
    EXPECT_EQ(image.purpose, c.purpose);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.data, nullptr);
    EXPECT_EQ(image.alpha, nullptr);
  }
}

TEST(ImageLifecycle, ReleaseKeepsThePurposeAndCreateStartsZeroed) {
  StartHeadlessEngine();
  Image image;
  image.Release();  // on an empty image: harmless
  EXPECT_EQ(image.data, nullptr);

  image.Create(4, 3, IMAGE_RGB24 | IMAGE_ALPHA);
  for (int i = 0; i < 4 * 3 * 3; ++i) EXPECT_EQ(image.data[i], 0) << i;
  for (int i = 0; i < 4 * 3; ++i) EXPECT_EQ(image.alpha[i], 0) << i;
  image.Prepare(DRAW_ALPHA);
  image.Release();
  EXPECT_EQ(image.purpose, DRAW_ALPHA);
  EXPECT_EQ(image.format, 0);
  EXPECT_EQ(image.width, 0);
  EXPECT_EQ(image.height, 0);
  EXPECT_EQ(image.data, nullptr);
  EXPECT_EQ(image.alpha, nullptr);

  // The rotation target: created 16-bit with alpha, never prepared.
  image.Create(80, 80, IMAGE_RGB16 | IMAGE_ALPHA);
  ASSERT_NE(image.data, nullptr);
  ASSERT_NE(image.alpha, nullptr);
  image.pixels16()[80 * 80 - 1] = 0xFFFF;  // two bytes a pixel: the last one is inside
  image.alpha[80 * 80 - 1] = 7;
  EXPECT_EQ(image.format, IMAGE_RGB16 | IMAGE_ALPHA);

  // Creating with format 0 replaces the pixels but keeps the alpha buffer.
  uint8_t* const alpha = image.alpha;
  image.Create(2, 2, 0);
  EXPECT_EQ(image.alpha, alpha);
  EXPECT_EQ(image.format, 0);
}

}  // namespace
