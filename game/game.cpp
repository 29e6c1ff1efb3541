// The game's hooks at the first step of building: start the engine and frame an empty view on
// every idle pass.
#include <algorithm>
#include <cstddef>

#include "engine/core/hooks.h"
#include "engine/core/vorn.h"

void GameInit() {
  Vorn.Initialize(0, 800, 600);
}

void GameRun() {
  if (!Vorn.ViewLock()) return;
  const int width = Vorn.clip_right + 1;
  for (int y = 0; y <= Vorn.clip_bottom; ++y) {
    uint16_t* row = Vorn.view + static_cast<std::ptrdiff_t>(y) * Vorn.view_stride;
    std::fill(row, row + width, uint16_t{0});
  }
  Vorn.ViewUnlock();
  Vorn.ViewUpdate();
}
