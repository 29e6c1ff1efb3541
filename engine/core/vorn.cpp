#include "engine/core/vorn.h"

WinDX Vorn;

WinDX::WinDX() = default;

int LowBit(int mask) {
  // A zero mask has no set bit; it is never given on a 16-bit screen, and 0 keeps callers safe.
  if (mask == 0) return 0;
  int shifts = 0;
  while ((mask & 1) == 0) {
    mask >>= 1;
    ++shifts;
  }
  return shifts;
}

int MaskBits(int mask) {
  if (mask == 0) return 0;
  while ((mask & 1) == 0) mask >>= 1;
  int bits = 0;
  while (mask > 0) {
    mask >>= 1;
    ++bits;
  }
  return bits;
}
