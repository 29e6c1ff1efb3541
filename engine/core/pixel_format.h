// The screen pixel format: written when the display surfaces are made, read by image preparation
// and by the blending draw routines.
#pragma once

extern int red_mask, green_mask, blue_mask;
extern int red_shift, green_shift, blue_shift;
extern int red_bits, green_bits, blue_bits;

// Sets all nine from the three channel masks: each shift is LowBit of its mask, each bit count
// MaskBits. All-zero masks give the unset format of a program that has not started.
void SetScreenFormat(int red, int green, int blue);
