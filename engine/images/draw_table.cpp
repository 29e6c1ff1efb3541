#include "engine/core/draw_table.h"

#include "engine/images/draw.h"

DrawTable SixteenBitDrawTable() {
  return DrawTable{DrawPixel, DrawPlain, DrawMasked, DrawAlpha, DrawAdditive};
}
