// Pictures for the players' tests, made at test time: small TIFF files in the working folder
// and solid images ready for masked drawing, so that no test depends on the game's art.
#pragma once

#include <cstdint>
#include <string>

#include "engine/images/image.h"

// Writes an uncompressed 8-bit RGB TIFF of one colour (least significant byte first), making
// the folders of `path` ("/" separated) as needed.
void WriteSolidTiff(const std::string& path, int width, int height, uint8_t r, uint8_t g,
                    uint8_t b);

// Makes `image` a width x height picture of 16-bit pixel `value` prepared for DrawMasked.
void MakeSolidMasked(Image* image, int width, int height, uint16_t value);
