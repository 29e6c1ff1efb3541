// Start-up of the display and sound objects.
#include "engine/core/vorn.h"

bool WinDX::DDStart() {
  if (backend->CreateDisplay(&dd) != platform::OK) {
    dd = nullptr;
    status = ERR_DDSTART;
    return false;
  }
  status = STATUS_DISPLAY_CREATED;
  const uint32_t level = fullscreen == 1 ? (platform::DDSCL_FULLSCREEN | platform::DDSCL_EXCLUSIVE)
                                         : platform::DDSCL_NORMAL;
  if (dd->SetCooperativeLevel(hwnd, level) != platform::OK) {
    status = ERR_DDSETLEVEL;
    return false;
  }
  status = STATUS_DISPLAY_LEVEL_SET;
  return true;
}

bool WinDX::SoundInit() {
  if (backend->CreateSound(&ds) != platform::OK) {
    ds = nullptr;
    status = ERR_SOUNDINIT;
    return false;
  }
  if (ds->SetCooperativeLevel(hwnd, platform::DSSCL_NORMAL) != platform::OK) {
    // Cleared as well as released, so that nothing later plays through a dead object.
    ds->Release();
    ds = nullptr;
    status = ERR_SOUNDCOOP;
    return false;
  }
  return true;
}
