// 8-bit red, green and blue packed into one pixel of the display's 16-bit format: each channel
// keeps its top bits, truncated, at the display's own position. One table per channel makes a
// pixel three look-ups; the tables follow the screen pixel format as it stands when they are made.
#pragma once

#include <cstdint>

#include "engine/core/pixel_format.h"

struct Rgb16 {
  Rgb16() {
    for (uint32_t v = 0; v < 256; ++v) {
      red[v] = static_cast<uint16_t>(((v << red_bits) >> 8) << red_shift);
      green[v] = static_cast<uint16_t>(((v << green_bits) >> 8) << green_shift);
      blue[v] = static_cast<uint16_t>(((v << blue_bits) >> 8) << blue_shift);
    }
  }

  uint16_t operator()(uint8_t r, uint8_t g, uint8_t b) const {
    return static_cast<uint16_t>(red[r] | green[g] | blue[b]);
  }

  uint16_t red[256];
  uint16_t green[256];
  uint16_t blue[256];
};
