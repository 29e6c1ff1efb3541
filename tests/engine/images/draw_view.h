// A small view in memory for the drawing tests: the engine object is pointed at it directly, with
// a row stride wider than the visible width and guard pixels all around that nothing may write.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "engine/core/draw_table.h"
#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "engine/images/draw.h"
#include "engine/images/image.h"

struct PixelLayout {
  const char* name;
  int red, green, blue;  // channel masks
};

inline constexpr PixelLayout k565{"565", 0xF800, 0x07E0, 0x001F};
inline constexpr PixelLayout k555{"555", 0x7C00, 0x03E0, 0x001F};

struct TestView {
  static constexpr uint16_t kGuard = 0xBEEF;

  // The clip rectangle covers the visible width × height; the stride adds columns beyond it, and
  // one guard row lies above and one below.
  TestView(int width, int height, int stride, const PixelLayout& layout, uint16_t fill = 0)
      : w_(width), h_(height), stride_(stride), buffer_(size_t(stride) * (height + 2), kGuard) {
    Vorn.view = buffer_.data() + stride, Vorn.view_stride = stride, Vorn.view_yres = height;
    Vorn.clip_left = Vorn.clip_top = 0, Vorn.clip_right = width - 1, Vorn.clip_bottom = height - 1;
    Vorn.row_offset.clear();
    for (int y = 0; y <= height; ++y) Vorn.row_offset.push_back(y * stride);
    Vorn.draw_func = SixteenBitDrawTable();
    SetScreenFormat(layout.red, layout.green, layout.blue);
    for (int y = 0; y < h_; ++y) std::fill_n(&buffer_[size_t((y + 1) * stride)], w_, fill);
  }
  ~TestView() { Vorn.view = nullptr; }
  TestView(const TestView&) = delete;

  // Visible pixels that differ from expected(x, y), plus guard pixels (stride padding, rows above
  // and below) that no longer hold kGuard.
  int Wrong(const std::function<int(int x, int y)>& expected = [](int, int) { return 0; }) const {
    int wrong = 0;
    for (int y = -1; y <= h_; ++y) {
      for (int x = 0; x < stride_; ++x) {
        const bool visible = y >= 0 && y < h_ && x < w_;
        wrong += buffer_[size_t((y + 1) * stride_ + x)] != (visible ? expected(x, y) : kGuard);
      }
    }
    return wrong;
  }

  int w_, h_, stride_;
  std::vector<uint16_t> buffer_;
};

// A prepared 16-bit image built by hand, with pixel (i, j) = pixel(i, j) and, when `with_alpha`,
// alpha byte (i, j) = shade(i, j).
inline void MakeImage(
    Image* image, int w, int h, int purpose, bool with_alpha,
    const std::function<int(int, int)>& pixel,
    const std::function<int(int, int)>& shade = [](int, int) { return 0; }) {
  image->Create(w, h, static_cast<uint8_t>(IMAGE_RGB16 | (with_alpha ? IMAGE_ALPHA : 0)));
  if (!with_alpha) std::free(std::exchange(image->alpha, nullptr));
  image->purpose = static_cast<uint8_t>(purpose);
  for (int k = 0; k < w * h; ++k) {
    image->pixels16()[k] = static_cast<uint16_t>(pixel(k % w, k / w));
    if (with_alpha) image->alpha[k] = static_cast<uint8_t>(shade(k % w, k / w));
  }
}
