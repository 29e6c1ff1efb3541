#include "platform/web/web_pixels.h"

#include <cstring>

namespace platform::web {
namespace {

// A channel of `bits` bits widened to 8, rounded to nearest, so that full scale is 255.
uint32_t Widen(uint32_t value, int bits) {
  const uint32_t max = (1u << bits) - 1;
  return (value * 255 + max / 2) / max;
}

}  // namespace

RgbaTable::RgbaTable() : table_(65536) {
  for (uint32_t p = 0; p < 65536; ++p) {
    const uint8_t bytes[4] = {static_cast<uint8_t>(Widen(p >> 11, 5)),
                              static_cast<uint8_t>(Widen((p >> 5) & 0x3F, 6)),
                              static_cast<uint8_t>(Widen(p & 0x1F, 5)), 255};
    std::memcpy(&table_[p], bytes, 4);
  }
}

void RgbaTable::Convert(const uint16_t* pixels, int width, int height, int stride,
                        uint8_t* rgba) const {
  for (int y = 0; y < height; ++y) {
    const uint16_t* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    uint8_t* out = rgba + static_cast<std::ptrdiff_t>(y) * width * 4;
    for (int x = 0; x < width; ++x) std::memcpy(out + x * 4, &table_[row[x]], 4);
  }
}

}  // namespace platform::web
