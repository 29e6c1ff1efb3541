// One frame's lock, unlock and presentation of the back buffer.
#include "engine/core/vorn.h"

bool WinDX::ViewLock() {
  platform::SurfaceDesc desc;
  // Without a back buffer (no start, or after CleanUp) the lock fails like a refused one.
  if (dd_back == nullptr || dd_back->Lock(&desc, platform::DDLOCK_WAIT) != platform::OK) {
    status = STATUS_VIEWLOCK_FAILED;
    ReportError();
    return false;
  }
  // The pitch is not read again: view_stride from CreateSurface stays in force.
  view = static_cast<uint16_t*>(desc.surface);
  return true;
}

int WinDX::ViewUnlock() {
  if (dd_back != nullptr) dd_back->Unlock();
  return 1;
}

int WinDX::ViewUpdate() {
  if (active != 1 && !present_unfocused) return 1;
  if (dd_front == nullptr || dd_back == nullptr) return 1;
  platform::WindowSystem& windows = backend->Windows();
  if (windows.GetForegroundWindow() != hwnd && !present_unfocused) return 1;

  if (fullscreen == 1) {
    dd_front->Flip(platform::DDFLIP_WAIT);
    // Restoring the front surface restores the whole chain.
    if (dd_front->IsLost() == platform::DDERR_SURFACELOST) dd_front->Restore();
    return 1;
  }

  const platform::Result result =
      dd_front->BltFast(win_x, win_y, dd_back, platform::DDBLTFAST_WAIT);
  if (result == platform::OK) return 1;
  if (result == platform::DDERR_WASSTILLDRAWING) return 0;
  if (result == platform::DDERR_SURFACELOST) {
    windows.MessageBox(hwnd, "<WinDX::ViewUpdate> Error: Surface Lost", "", platform::MB_OK);
    if (dd_front->Restore() != platform::OK) return 0;
    if (dd_back->Restore() != platform::OK) return 0;
    return 1;
  }
  return 1;
}
