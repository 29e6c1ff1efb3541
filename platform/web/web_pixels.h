// The engine's 16-bit 5-6-5 pixels as the canvas takes them: red, green, blue and opaque alpha,
// one byte each.
#pragma once

#include <cstdint>
#include <vector>

namespace platform::web {

class RgbaTable {
 public:
  RgbaTable();

  // Converts `height` rows of `width` pixels, `stride` pixels apart, into packed RGBA bytes.
  void Convert(const uint16_t* pixels, int width, int height, int stride, uint8_t* rgba) const;

  // The four bytes of one pixel as one word in memory order.
  uint32_t Word(uint16_t pixel) const { return table_[pixel]; }

 private:
  // One word per possible pixel: a single load per pixel, which keeps a whole frame's
  // conversion well under a millisecond in WebAssembly.
  std::vector<uint32_t> table_;
};

}  // namespace platform::web
