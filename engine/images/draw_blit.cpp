// The four draw operations: each puts an image prepared for its own purpose into the locked view.
//
// The row kernels are the hot path of every frame. They take restrict-qualified row pointers and
// compute every pixel with selects instead of branches, so that the compiler turns them into
// vector code; clipping happens once per image, never per pixel.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "engine/images/draw.h"

namespace {

struct Masks {
  uint32_t red;
  uint32_t green;
  uint32_t blue;
};

Masks ScreenMasks() {
  return Masks{static_cast<uint32_t>(red_mask), static_cast<uint32_t>(green_mask),
               static_cast<uint32_t>(blue_mask)};
}

void MaskedRow(uint16_t* __restrict view, const uint16_t* __restrict pixels, int columns) {
  for (int i = 0; i < columns; ++i) {
    const uint16_t s = pixels[i];
    view[i] = s != 0 ? s : view[i];
  }
}

// `shade` holds 255 − alpha and the pixels are premultiplied by alpha, so the scaled background
// and the pixel add up without carrying from one channel into the next.
void AlphaRow(uint16_t* __restrict view, const uint16_t* __restrict pixels,
              const uint8_t* __restrict shade, int columns, Masks m) {
  for (int i = 0; i < columns; ++i) {
    const uint32_t t = shade[i];
    const uint32_t d = view[i];
    const uint32_t b = ((d & m.blue) * t) >> 8;
    const uint32_t g = (((d & m.green) * t) >> 8) & m.green;
    const uint32_t r = (((d & m.red) * t) >> 8) & m.red;
    const uint32_t blended = ((b | g | r) + pixels[i]) & 0xFFFFu;
    view[i] = static_cast<uint16_t>(t == 255 ? d : blended);
  }
}

// Each channel saturates at its mask instead of spilling into its neighbour.
void AdditiveRow(uint16_t* __restrict view, const uint16_t* __restrict pixels,
                 const uint8_t* __restrict shade, int columns, Masks m) {
  for (int i = 0; i < columns; ++i) {
    const uint32_t t = shade[i];
    const uint32_t d = view[i];
    const uint32_t s = pixels[i];
    const uint32_t b = std::min(m.blue, (d & m.blue) + (s & m.blue));
    const uint32_t g = std::min(m.green, (d & m.green) + (s & m.green));
    const uint32_t r = std::min(m.red, (d & m.red) + (s & m.red));
    view[i] = static_cast<uint16_t>(t == 255 || s == 0 ? d : (b | g | r));
  }
}

// What the four operations share: the purpose check, the skips for an image with nothing to
// draw, clipping, and the walk over the visible rows. `row` draws one row of `columns` pixels.
template <typename RowFn>
int DrawClipped(int x, int y, Image* image, int accepted, bool needs_alpha, RowFn row) {
  if (image == nullptr || image->purpose != accepted) {
    Vorn.SetError(ERR_IMAGEUSE);
    return 0;
  }
  if (image->data == nullptr) return 1;
  if (needs_alpha && image->alpha == nullptr) return 1;

  int view_index = 0;
  int image_index = 0;
  int columns = 0;
  int rows = 0;
  if (!ClipImage(x, y, image, &view_index, &image_index, &columns, &rows)) return 1;

  const ptrdiff_t view_stride = Vorn.view_stride;
  const ptrdiff_t image_stride = image->width;
  uint16_t* view = Vorn.view + view_index;
  const uint16_t* pixels = image->pixels16() + image_index;
  const uint8_t* shade = needs_alpha ? image->alpha + image_index : nullptr;
  for (int r = 0; r < rows; ++r) {
    row(view, pixels, shade, columns);
    view += view_stride;
    pixels += image_stride;
    if (needs_alpha) shade += image_stride;
  }
  return 1;
}

}  // namespace

int DrawPlain(int x, int y, Image* image) {
  return DrawClipped(x, y, image, DRAW_PLAIN, false,
                     [](uint16_t* view, const uint16_t* pixels, const uint8_t*, int columns) {
                       std::memcpy(view, pixels, static_cast<size_t>(columns) * 2);
                     });
}

int DrawMasked(int x, int y, Image* image) {
  return DrawClipped(x, y, image, DRAW_MASKED, false,
                     [](uint16_t* view, const uint16_t* pixels, const uint8_t*, int columns) {
                       MaskedRow(view, pixels, columns);
                     });
}

int DrawAlpha(int x, int y, Image* image) {
  const Masks m = ScreenMasks();
  return DrawClipped(x, y, image, DRAW_ALPHA, true,
                     [m](uint16_t* view, const uint16_t* pixels, const uint8_t* shade,
                         int columns) { AlphaRow(view, pixels, shade, columns, m); });
}

int DrawAdditive(int x, int y, Image* image) {
  const Masks m = ScreenMasks();
  return DrawClipped(x, y, image, DRAW_ADDITIVE, true,
                     [m](uint16_t* view, const uint16_t* pixels, const uint8_t* shade,
                         int columns) { AdditiveRow(view, pixels, shade, columns, m); });
}
