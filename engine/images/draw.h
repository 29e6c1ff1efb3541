// Drawing prepared images into the locked view, clipped to the engine's clip rectangle.
#pragma once

#include <cstdint>

#include "engine/images/image.h"

// Each draws an image prepared for its own purpose with its top-left pixel at view position
// (x, y). Result 1 when drawn or when there was nothing to draw; 0, with ERR_IMAGEUSE reported,
// when the image is absent or was prepared for another operation.
int DrawPlain(int x, int y, Image* image);     // rows copied as they are
int DrawMasked(int x, int y, Image* image);    // pixel value 0 is transparent
int DrawAlpha(int x, int y, Image* image);     // premultiplied pixels over the view
int DrawAdditive(int x, int y, Image* image);  // pixels added, each channel saturating

// Covers the whole view (view_stride × view_yres) with copies of a plain image through draw
// entry 1; a positive offset moves the pattern left or up. An image without width or height
// draws nothing. Result 1.
int DrawTiled(int ox, int oy, Image* image);

// Writes one pixel from 8-bit r, g, b (clamped to 0..255), packed for the screen's own layout, at
// row_offset[y] + x. Points outside the clip rectangle are not written. Result 1.
int DrawPixel(int x, int y, int r, int g, int b);

// Visible part of an image at (x, y): false when none; else pixel indices into the view and the
// image, and the visible columns and rows.
bool ClipImage(int x, int y, const Image* image, int* view_index, int* image_index, int* columns,
               int* rows);

// Renders a copy of `source`, turned by `angle` degrees (counter-clockwise on the screen) and
// scaled by `scale`, into the already created `dest`, which takes the source's purpose. Pixels
// outside the source become 0, alpha bytes 255; the alpha pass runs only when both images have
// an alpha buffer. A destination without pixels or rows, or a source without rows, is left as
// it is.
void RotateScale(const Image& source, Image* dest, float angle, float scale);
