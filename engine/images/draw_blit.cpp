// The four draw operations: each puts an image prepared for its own purpose into the locked view.
//
// The row kernels are the hot path of every frame. Clipping happens once per image, never per
// pixel. Each kernel works in 16-bit lanes, picks its result with selects instead of branches,
// and walks its row in fixed blocks of kBlock pixels plus a short tail: with a fixed trip count
// and restrict-qualified rows the compiler turns every block into vector code even at -O2, whose
// cautious cost model leaves loops of unknown length scalar.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/core/pixel_format.h"
#include "engine/core/vorn.h"
#include "engine/images/draw.h"

namespace {

constexpr int kBlock = 16;

struct Masks {
  uint16_t red;
  uint16_t green;
  uint16_t blue;
};

Masks ScreenMasks() {
  return Masks{static_cast<uint16_t>(red_mask), static_cast<uint16_t>(green_mask),
               static_cast<uint16_t>(blue_mask)};
}

// view[i] = op(view[i], pixels[i]) over a row.
template <typename Op>
inline void ForEachPixel(uint16_t* __restrict view, const uint16_t* __restrict pixels, int columns,
                         Op op) {
  int i = 0;
  for (; i + kBlock <= columns; i += kBlock) {
    for (int k = 0; k < kBlock; ++k) view[i + k] = op(view[i + k], pixels[i + k]);
  }
  for (; i < columns; ++i) view[i] = op(view[i], pixels[i]);
}

// view[i] = op(view[i], pixels[i], shade[i]) over a row.
template <typename Op>
inline void ForEachPixel(uint16_t* __restrict view, const uint16_t* __restrict pixels,
                         const uint8_t* __restrict shade, int columns, Op op) {
  int i = 0;
  for (; i + kBlock <= columns; i += kBlock) {
    for (int k = 0; k < kBlock; ++k) {
      view[i + k] = op(view[i + k], pixels[i + k], shade[i + k]);
    }
  }
  for (; i < columns; ++i) view[i] = op(view[i], pixels[i], shade[i]);
}

inline uint16_t MaskedPixel(uint16_t d, uint16_t s) {
  return s != 0 ? s : d;
}

// ((channel) × t) >> 8, taken as the high half of channel × (t × 256): the same value, in a form
// that vector units compute in one 16-bit step.
inline uint16_t Share(uint32_t channel, uint16_t t256) {
  return static_cast<uint16_t>((channel * t256) >> 16);
}

// `t` is 255 − alpha and `s` is premultiplied by alpha, so the background's share and the pixel
// add up without carrying from one channel into the next.
inline uint16_t AlphaPixel(uint16_t d, uint16_t s, uint8_t t, Masks m) {
  const uint16_t t256 = static_cast<uint16_t>(t << 8);
  const uint16_t b = Share(d & m.blue, t256);
  const uint16_t g = Share(d & m.green, t256) & m.green;
  const uint16_t r = Share(d & m.red, t256) & m.red;
  const uint16_t blended = static_cast<uint16_t>((b | g | r) + s);
  return t == 255 ? d : blended;
}

// min(mask, (d & mask) + (s & mask)), written as (d & mask) + min(mask − (d & mask), s & mask)
// so that the sum never leaves 16 bits (red + red overflows them on a 5-6-5 screen).
inline uint16_t AddChannel(uint16_t d, uint16_t s, uint16_t mask) {
  const uint16_t dc = d & mask;
  const uint16_t room = static_cast<uint16_t>(mask - dc);
  return static_cast<uint16_t>(dc + std::min<uint16_t>(room, s & mask));
}

inline uint16_t AdditivePixel(uint16_t d, uint16_t s, uint8_t t, Masks m) {
  const uint16_t sum =
      AddChannel(d, s, m.blue) | AddChannel(d, s, m.green) | AddChannel(d, s, m.red);
  return t == 255 || s == 0 ? d : sum;
}

// What the four operations share: the purpose check, the skips for an image with nothing to
// draw, clipping, and the walk over the visible rows. `row` draws one row of `columns` pixels.
template <typename RowFn>
int DrawClipped(int x, int y, Image* image, int accepted, bool needs_alpha, RowFn row) {
  if (image == nullptr || image->purpose != accepted) {
    Vorn.SetError(ERR_IMAGEUSE);
    return 0;
  }
  // Before the first ViewLock there is no view to draw into.
  if (image->data == nullptr || Vorn.view == nullptr) return 1;
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

void PlainRow(uint16_t* view, const uint16_t* pixels, const uint8_t*, int columns) {
  std::memcpy(view, pixels, static_cast<size_t>(columns) * sizeof(uint16_t));
}

void MaskedRow(uint16_t* view, const uint16_t* pixels, const uint8_t*, int columns) {
  ForEachPixel(view, pixels, columns, MaskedPixel);
}

}  // namespace

int DrawPlain(int x, int y, Image* image) {
  return DrawClipped(x, y, image, DRAW_PLAIN, false, PlainRow);
}

int DrawMasked(int x, int y, Image* image) {
  return DrawClipped(x, y, image, DRAW_MASKED, false, MaskedRow);
}

int DrawAlpha(int x, int y, Image* image) {
  const Masks m = ScreenMasks();
  return DrawClipped(
      x, y, image, DRAW_ALPHA, true,
      [m](uint16_t* view, const uint16_t* pixels, const uint8_t* shade, int columns) {
        ForEachPixel(view, pixels, shade, columns,
                     [m](uint16_t d, uint16_t s, uint8_t t) { return AlphaPixel(d, s, t, m); });
      });
}

int DrawAdditive(int x, int y, Image* image) {
  const Masks m = ScreenMasks();
  return DrawClipped(
      x, y, image, DRAW_ADDITIVE, true,
      [m](uint16_t* view, const uint16_t* pixels, const uint8_t* shade, int columns) {
        ForEachPixel(view, pixels, shade, columns,
                     [m](uint16_t d, uint16_t s, uint8_t t) { return AdditivePixel(d, s, t, m); });
      });
}
