// The image record and its one-time preparation into the display's 16-bit pixel format.
//
// Buffers come from calloc: a freshly created picture is all zero bytes, so whatever a reader
// cannot fill from its file stays black and transparent instead of holding stale memory, and
// large pictures cost nothing until their pages are written.
#include "engine/images/image.h"

#include <cstddef>
#include <cstdlib>

#include "engine/core/pixel_format.h"
#include "engine/images/rgb16.h"

namespace {

size_t PixelCount(int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return 0;
  return static_cast<size_t>(w) * static_cast<size_t>(h);
}

// A zeroed buffer of `bytes`, or null for an empty one.
uint8_t* Allocate(size_t bytes) {
  if (bytes == 0) return nullptr;
  return static_cast<uint8_t*>(std::calloc(bytes, 1));
}

// One channel of a display pixel: raw field value, then put back at its place.
inline uint32_t Field(uint32_t pixel, int mask, int shift) {
  return (pixel & static_cast<uint32_t>(mask)) >> shift;
}

// Multiplies each channel of a display pixel by a / 256, truncating.
inline uint16_t Scale(uint32_t pixel, uint32_t a) {
  const uint32_t r = (Field(pixel, red_mask, red_shift) * a) >> 8;
  const uint32_t g = (Field(pixel, green_mask, green_shift) * a) >> 8;
  const uint32_t b = (Field(pixel, blue_mask, blue_shift) * a) >> 8;
  return static_cast<uint16_t>((r << red_shift) | (g << green_shift) | (b << blue_shift));
}

// Opaque black becomes 1 so that it stays visible; where alpha is 0 the pixel becomes 0, the
// transparent value. Blocks of a fixed size let the compiler do several pixels at once.
void MaskPixels(uint16_t* __restrict pixels, const uint8_t* __restrict alpha, size_t count) {
  constexpr size_t kBlock = 16;
  auto mask = [](uint16_t* __restrict px, const uint8_t* __restrict a, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      const auto visible = static_cast<uint16_t>(px[i] | (px[i] == 0));
      px[i] = a[i] != 0 ? visible : 0;
    }
  };
  size_t i = 0;
  for (; i + kBlock <= count; i += kBlock) mask(pixels + i, alpha + i, kBlock);
  mask(pixels + i, alpha + i, count - i);
}

}  // namespace

void Image::Release() {
  std::free(data);
  std::free(alpha);
  data = nullptr;
  alpha = nullptr;
  width = 0;
  height = 0;
  format = 0;
}

void Image::Create(int32_t w, int32_t h, uint8_t fmt) {
  const size_t count = PixelCount(w, h);
  const size_t bytes_per_pixel = (fmt & IMAGE_RGB24) ? 3 : 2;
  std::free(data);
  data = Allocate(count * bytes_per_pixel);
  if (fmt != 0) {
    std::free(alpha);
    alpha = Allocate(count);
  }
  width = w;
  height = h;
  format = fmt;
}

void Image::Prepare(int32_t purpose_value) {
  purpose = static_cast<uint8_t>(purpose_value);
  ConvertTo16();
  if (purpose_value == DRAW_MASKED) {
    MakeMask();
  } else if (purpose_value == DRAW_ALPHA || purpose_value == DRAW_ADDITIVE) {
    MakeAlpha();
  }
}

void Image::ConvertTo16() {
  if ((format & IMAGE_RGB24) && data != nullptr) {
    const Rgb16 pack;
    const size_t count = PixelCount(width, height);
    auto* out = static_cast<uint16_t*>(std::malloc(count * sizeof(uint16_t)));
    if (out == nullptr) {
      // No room for the display copy: the picture becomes empty, which draws as nothing, rather
      // than 24-bit bytes that every draw would take for 16-bit pixels.
      Release();
      format = IMAGE_RGB16;
      return;
    }
    const uint8_t* in = data;
    for (size_t i = 0; i < count; ++i, in += 3) {
      out[i] = pack(in[0], in[1], in[2]);
    }
    std::free(data);
    data = reinterpret_cast<uint8_t*>(out);
  }
  format = static_cast<uint8_t>((format & ~(IMAGE_RGB24 | IMAGE_RGB16)) | IMAGE_RGB16);
}

void Image::MakeMask() {
  if (!(format & IMAGE_ALPHA)) return;  // pixel value 0 is already the transparent colour
  if (data != nullptr && alpha != nullptr) MaskPixels(pixels16(), alpha, PixelCount(width, height));
  std::free(alpha);
  alpha = nullptr;
  format = static_cast<uint8_t>((format & ~IMAGE_ALPHA) | IMAGE_MASKED);
}

void Image::MakeAlpha() {
  const size_t count = PixelCount(width, height);
  uint16_t* px = pixels16();
  if (format & IMAGE_ALPHA) {
    if (px == nullptr || alpha == nullptr) return;
    for (size_t i = 0; i < count; ++i) {
      const uint32_t a = alpha[i];
      px[i] = Scale(px[i], a);
      alpha[i] = static_cast<uint8_t>(255 - a);
    }
    return;
  }
  // Without an alpha channel the picture's own brightness is its opacity: black vanishes.
  std::free(alpha);
  alpha = Allocate(count);
  format = static_cast<uint8_t>(format | IMAGE_ALPHA);
  if (px == nullptr || alpha == nullptr) return;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = px[i];
    const uint32_t sum = Field(p, red_mask, red_shift) + Field(p, green_mask, green_shift) +
                         Field(p, blue_mask, blue_shift);
    // At most 166 on 5-6-5 and 124 on 5-5-5; the cap only guards layouts with wider fields.
    uint32_t a = (4 * sum) / 3;
    if (a > 255) a = 255;
    px[i] = Scale(p, a);
    alpha[i] = static_cast<uint8_t>(255 - a);
  }
}
