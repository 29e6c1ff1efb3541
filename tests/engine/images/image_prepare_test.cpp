// Preparing 24-bit pictures for each load purpose on the 16-bit layouts the display can report.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <vector>

#include "engine/images/image.h"
#include "support/headless_engine.h"

namespace {

using Px = std::array<uint8_t, 4>;  // R, G, B, alpha

struct PrepareCase {
  bool is565;
  int purpose;
  bool with_alpha;
  std::vector<Px> in;  // empty: an image whose file was missing
  std::vector<uint16_t> pixels;
  std::vector<uint8_t> alpha;  // expected alpha bytes
  uint8_t format;
};

constexpr Px kOrange{200, 100, 50, 255}, kWhite{255, 255, 255, 255}, kBlack{0, 0, 0, 255};
constexpr uint8_t k16 = IMAGE_RGB16, kMasked = IMAGE_RGB16 | IMAGE_MASKED,
                  kAlpha = IMAGE_RGB16 | IMAGE_ALPHA;

TEST(ImagePrepare, GivesTheDrawableFormForEachPurposeAndLayout) {
  // clang-format off
  const PrepareCase cases[] = {
      // Plain: the top bits of each channel, truncated, at the display's own positions.
      {true, DRAW_PLAIN, false, {kOrange, kWhite, {8, 4, 8, 0}, {7, 3, 7, 0}},
       {0xCB26, 0xFFFF, 0x0821, 0x0000}, {}, k16},
      {false, DRAW_PLAIN, false, {kOrange, kWhite, {8, 8, 8, 0}, {7, 7, 7, 0}},
       {0x6586, 0x7FFF, 0x0421, 0x0000}, {}, k16},
      // Masked with alpha: opaque black becomes 1, alpha 0 becomes 0, alpha 1 is opaque.
      {true, DRAW_MASKED, true, {kBlack, {200, 100, 50, 0}, {200, 100, 50, 1}, {0, 0, 0, 1}},
       {0x0001, 0x0000, 0xCB26, 0x0001}, {}, kMasked},
      {false, DRAW_MASKED, true, {kBlack, {200, 100, 50, 0}, {200, 100, 50, 1}, {7, 7, 7, 9}},
       {0x0001, 0x0000, 0x6586, 0x0001}, {}, kMasked},
      // Masked without alpha: whatever converts to 0 is the transparent colour.
      {true, DRAW_MASKED, false, {kBlack, {7, 3, 7, 0}, kOrange}, {0, 0, 0xCB26}, {}, k16},
      // Alpha with an alpha channel: premultiplied colour (0xF7DE is 5-6-5 (30, 62, 30), 0x6183
      // is (12, 12, 3)), inverted alpha.
      {true, DRAW_ALPHA, true, {kWhite, {255, 255, 255, 0}, {200, 100, 50, 128}},
       {0xF7DE, 0, 0x6183}, {0, 255, 127}, kAlpha},
      // Alpha without an alpha channel: brightness is opacity, black vanishes (0xA514 is 5-6-5
      // (20, 40, 20), 0x3DEF is 5-5-5 (15, 15, 15)).
      {true, DRAW_ALPHA, false, {kWhite, kBlack}, {0xA514, 0}, {89, 255}, kAlpha},
      {false, DRAW_ALPHA, false, {kWhite, kBlack}, {0x3DEF, 0}, {131, 255}, kAlpha},
      {true, DRAW_ADDITIVE, true, {kWhite, {0, 0, 0, 0}}, {0xF7DE, 0}, {0, 255}, kAlpha},
      {false, DRAW_ADDITIVE, false, {kWhite}, {0x3DEF}, {131}, kAlpha},
      // An image whose file was missing is prepared all the same and draws nothing.
      {true, DRAW_PLAIN, false, {}, {}, {}, k16},
      {true, DRAW_ALPHA, false, {}, {}, {}, kAlpha},
  };
  // clang-format on
  for (const PrepareCase& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.is565 ? "565" : "555") << " purpose " << c.purpose
                                    << " with " << c.in.size() << " pixels");
    StartHeadlessEngine(
        {.layout = c.is565 ? platform::headless::Layout::k565 : platform::headless::Layout::k555});
    Image image;
    if (!c.in.empty())
      image.Create(int32_t(c.in.size()), 1, c.with_alpha ? IMAGE_RGB24 | IMAGE_ALPHA : IMAGE_RGB24);
    for (size_t i = 0; i < c.in.size(); ++i) {
      std::memcpy(&image.data[i * 3], &c.in[i], 3);
      image.alpha[i] = c.in[i][3];
    }
    image.Prepare(c.purpose);
    EXPECT_EQ(std::tuple(int{image.purpose}, image.format, image.width, image.data == nullptr),
              std::tuple(c.purpose, c.format, int32_t(c.in.size()), c.in.empty()));
    EXPECT_EQ(std::vector<uint16_t>(image.pixels16(), image.pixels16() + image.width), c.pixels);
    // Alpha bytes of the blending purposes; a masked image needs no alpha buffer once the mask is
    // in its pixels (a plain one keeps a buffer it never reads).
    const bool kept = image.alpha != nullptr && c.format != k16;
    EXPECT_EQ(kept ? std::vector<uint8_t>(image.alpha, image.alpha + image.width)
                   : std::vector<uint8_t>(),
              c.alpha);
  }
}

// A display copy that cannot be allocated leaves an empty picture, not 24-bit bytes; a release
// keeps the purpose the image was prepared for.
TEST(ImagePrepare, AFailedConversionEmptiesThePictureAndReleaseKeepsThePurpose) {
  StartHeadlessEngine();
  Image image;
  image.data = static_cast<uint8_t*>(std::calloc(3, 1));
  image.width = image.height = INT32_MAX;
  image.format = IMAGE_RGB24;
  image.ConvertTo16();
  EXPECT_EQ(std::tuple(image.data, image.width, image.format), std::tuple(nullptr, 0, IMAGE_RGB16));
  image.Create(4, 3, IMAGE_RGB24 | IMAGE_ALPHA);
  image.Prepare(DRAW_ALPHA);
  image.Release();
  EXPECT_EQ(std::tuple(image.purpose, image.format, image.width, image.alpha),
            std::tuple(DRAW_ALPHA, 0, 0, nullptr));
}

}  // namespace
