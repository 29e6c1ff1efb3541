// The single-pixel write of the draw table.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "engine/images/draw.h"

namespace {

// An 8-bit channel value reduced to the channel's width and moved into its place.
uint32_t PackChannel(int value, int shift, int bits) {
  const uint32_t v = static_cast<uint32_t>(std::clamp(value, 0, 255));
  const int drop = std::max(0, 8 - bits);
  return (v >> drop) << shift;
}

}  // namespace

int DrawPixel(int x, int y, int r, int g, int b) {
  // A point outside the clip rectangle, or a row the offset table does not reach, would land
  // outside the view: such a point is not drawn.
  if (x < Vorn.clip_left || x > Vorn.clip_right || y < Vorn.clip_top || y > Vorn.clip_bottom) {
    return 1;
  }
  if (static_cast<size_t>(y) >= Vorn.row_offset.size() || Vorn.view == nullptr) return 1;
  const uint32_t pixel = PackChannel(r, red_shift, red_bits) |
                         PackChannel(g, green_shift, green_bits) |
                         PackChannel(b, blue_shift, blue_bits);
  Vorn.view[Vorn.row_offset[static_cast<size_t>(y)] + x] = static_cast<uint16_t>(pixel);
  return 1;
}
