// Clipping an image against the engine's clip rectangle, shared by the four draw operations.
#include <cstdint>

#include "engine/core/vorn.h"
#include "engine/images/draw.h"

bool ClipImage(int x, int y, const Image* image, int* view_index, int* image_index, int* columns,
               int* rows) {
  // Edges are worked out in 64 bits so that positions near the ends of the int range cannot
  // overflow into a false "visible".
  const int64_t width = image->width;
  const int64_t height = image->height;
  const int64_t right = int64_t{x} + width - 1;
  const int64_t bottom = int64_t{y} + height - 1;
  if (right < Vorn.clip_left || x > Vorn.clip_right || bottom < Vorn.clip_top ||
      y > Vorn.clip_bottom) {
    return false;
  }

  int64_t cols = width;
  int64_t rws = height;
  int64_t view = Vorn.clip_left + int64_t{Vorn.clip_top} * Vorn.view_stride;
  int64_t img = 0;

  if (x < Vorn.clip_left) {
    cols -= Vorn.clip_left - int64_t{x};
    img += Vorn.clip_left - int64_t{x};
  } else {
    view += int64_t{x} - Vorn.clip_left;
  }
  if (right > Vorn.clip_right) cols -= right - Vorn.clip_right;

  if (y < Vorn.clip_top) {
    rws -= Vorn.clip_top - y;
    img += (Vorn.clip_top - int64_t{y}) * width;
  } else {
    view += (y - int64_t{Vorn.clip_top}) * Vorn.view_stride;
  }
  if (bottom > Vorn.clip_bottom) rws -= bottom - Vorn.clip_bottom;

  // An image without width or height covers nothing, wherever it stands.
  if (cols <= 0 || rws <= 0) return false;

  *view_index = static_cast<int>(view);
  *image_index = static_cast<int>(img);
  *columns = static_cast<int>(cols);
  *rows = static_cast<int>(rws);
  return true;
}
