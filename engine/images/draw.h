// Drawing prepared images into the locked view, clipped to the engine's clip rectangle.
#pragma once

#include <cstdint>

#include "engine/images/image.h"

int DrawPlain(int x, int y, Image* image);
int DrawMasked(int x, int y, Image* image);
int DrawAlpha(int x, int y, Image* image);
int DrawAdditive(int x, int y, Image* image);
int DrawTiled(int ox, int oy, Image* image);
int DrawPixel(int x, int y, int r, int g, int b);

// Visible part of an image at (x, y): false when none; else pixel indices into the view and the
// image, and the visible columns and rows.
bool ClipImage(int x, int y, const Image* image, int* view_index, int* image_index, int* columns,
               int* rows);

// Renders a rotated (degrees) and scaled copy of `source` into the already created `dest`.
void RotateScale(const Image& source, Image* dest, float angle, float scale);
