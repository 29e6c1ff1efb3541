#include "engine/core/pixel_format.h"

#include "engine/core/vorn.h"

int red_mask, green_mask, blue_mask;
int red_shift, green_shift, blue_shift;
int red_bits, green_bits, blue_bits;

void SetScreenFormat(int red, int green, int blue) {
  red_mask = red;
  green_mask = green;
  blue_mask = blue;
  red_shift = LowBit(red);
  green_shift = LowBit(green);
  blue_shift = LowBit(blue);
  red_bits = MaskBits(red);
  green_bits = MaskBits(green);
  blue_bits = MaskBits(blue);
}
