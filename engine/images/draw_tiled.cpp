// Covering the whole view with copies of one plain image, as the game does for its background.
#include <cstdint>

#include "engine/core/vorn.h"
#include "engine/images/draw.h"

namespace {

struct Split {
  int64_t quotient;
  int64_t remainder;
};

// Floored split of v by n > 0, except that a negative exact multiple gives the remainder n and a
// quotient one lower: the pattern then starts a whole tile to the left, which only adds a column
// (or row) that lies outside the view.
Split FlooredSplit(int64_t v, int64_t n) {
  if (v >= 0) return Split{v / n, v % n};
  return Split{v / n - 1, v % n + n};
}

}  // namespace

int DrawTiled(int ox, int oy, Image* image) {
  const ImageDrawFn plain = Vorn.draw_func.plain != nullptr ? Vorn.draw_func.plain : DrawPlain;
  if (image == nullptr) {
    // Let the plain draw report the misuse once; there is no size to tile by.
    plain(0, 0, image);
    return 1;
  }
  const int64_t w = image->width;
  const int64_t h = image->height;
  // An image whose file was missing stays 0 × 0: there is nothing to tile, and no size to split
  // the offsets by.
  if (w <= 0 || h <= 0) return 1;
  // An image prepared for another purpose would be refused by every tile, a report each; one
  // report for the call says the same.
  if (image->purpose != DRAW_PLAIN) {
    plain(0, 0, image);
    return 1;
  }

  const int64_t last_column = FlooredSplit(int64_t{Vorn.view_stride} + ox, w).quotient;
  const int64_t last_row = FlooredSplit(int64_t{Vorn.view_yres} + oy, h).quotient;
  const Split first_column = FlooredSplit(ox, w);
  const Split first_row = FlooredSplit(oy, h);
  const int64_t columns = last_column - first_column.quotient + 1;
  const int64_t rows = last_row - first_row.quotient + 1;

  for (int64_t r = 0; r < rows; ++r) {
    const int64_t y = r * h - first_row.remainder;
    for (int64_t c = 0; c < columns; ++c) {
      const int64_t x = c * w - first_column.remainder;
      plain(static_cast<int>(x), static_cast<int>(y), image);
    }
  }
  return 1;
}
