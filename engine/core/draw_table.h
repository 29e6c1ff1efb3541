// The table of draw routines for the screen depth, filled when the display surfaces are made.
#pragma once

struct Image;

// Entry 0: writes one pixel from 8-bit r, g, b at view position (x, y).
using PixelWriteFn = int (*)(int x, int y, int r, int g, int b);
// Entries 1 to 4: draw an image with its top-left at view position (x, y).
using ImageDrawFn = int (*)(int x, int y, Image* image);

struct DrawTable {
  PixelWriteFn pixel;     // entry 0
  ImageDrawFn plain;      // entry 1: DrawPlain
  ImageDrawFn masked;     // entry 2: DrawMasked
  ImageDrawFn alpha;      // entry 3: DrawAlpha
  ImageDrawFn additive;   // entry 4: DrawAdditive
};

// The five 16-bit routines, in table order.
DrawTable SixteenBitDrawTable();
