#include "engine/core/pixel_format.h"

int red_mask, green_mask, blue_mask;
int red_shift, green_shift, blue_shift;
int red_bits, green_bits, blue_bits;
