#include "engine/core/window_proc.h"

#include "engine/core/vorn.h"
#include "engine/files/debug_log.h"
#include "platform/messages.h"

namespace {

int Low16(intptr_t value) {
  return static_cast<int>(static_cast<uintptr_t>(value) & 0xFFFFu);
}
int High16(intptr_t value) {
  return static_cast<int>((static_cast<uintptr_t>(value) >> 16) & 0xFFFFu);
}

void TypeCharacter(uintptr_t character) {
  if (Vorn.char_count < static_cast<int>(sizeof Vorn.char_buf)) {
    Vorn.char_buf[Vorn.char_count] = static_cast<uint8_t>(character & 0xFF);
    ++Vorn.char_count;
    return;
  }
  // Nothing empties the buffer after start-up, so every later character logs this once.
  debug_log.Output("WinDX: Keyboard buffer overflow.\n", "");
}

// Back and Start held together on any pad close the window, as its close button would: a
// player on the sofa has no keyboard to hand.
void PadButtonDown(platform::WindowSystem& windows, platform::Window window, uintptr_t id,
                   int button) {
  Vorn.pads.SetButton(id, button, true);
  const PadState* pad = Vorn.pads.Find(id);
  if (pad != nullptr && pad->Held(platform::PAD_BUTTON_BACK) &&
      pad->Held(platform::PAD_BUTTON_START)) {
    windows.DestroyWindow(window);
  }
}

}  // namespace

intptr_t WindowProc(platform::Window window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  if (Vorn.backend == nullptr) return 0;
  platform::WindowSystem& windows = Vorn.backend->Windows();
  switch (message) {
    case platform::WM_DESTROY:
      windows.PostQuitMessage(0);
      break;
    case platform::WM_MOVE:
      Vorn.win_x = Low16(lparam);
      Vorn.win_y = High16(lparam);
      break;
    case platform::WM_SETFOCUS:
      // After an error has replaced the running status, focus no longer brings the view back.
      if (Vorn.status == STATUS_RUNNING) {
        Vorn.active = 1;
        Vorn.ViewUpdate();
      }
      break;
    case platform::WM_KILLFOCUS:
      Vorn.active = 0;
      break;
    case platform::WM_CLOSE:
      windows.DestroyWindow(window);
      break;
    case platform::WM_ACTIVATEAPP:
      Vorn.active = static_cast<int>(wparam);
      break;
    case platform::WM_KEYDOWN:
      Vorn.keys[wparam & 0xFF] = 1;
      break;
    case platform::WM_KEYUP:
      Vorn.keys[wparam & 0xFF] = 0;
      break;
    case platform::WM_CHAR:
      TypeCharacter(wparam);
      break;
    case platform::WM_MOUSEMOVE:
      Vorn.MouseMove(Low16(lparam), High16(lparam));
      break;
    case platform::WM_LBUTTONDOWN:
      Vorn.MouseDown(1);
      break;
    case platform::WM_RBUTTONDOWN:
      Vorn.MouseDown(2);
      break;
    case platform::WM_MBUTTONDOWN:
      Vorn.MouseDown(16);
      break;
    case platform::WM_LBUTTONUP:
    case platform::WM_RBUTTONUP:
    case platform::WM_MBUTTONUP:
      Vorn.MouseUp();
      break;
    case platform::WM_PADADDED:
      Vorn.pads.Add(wparam);
      break;
    case platform::WM_PADREMOVED:
      Vorn.pads.Remove(wparam);
      break;
    case platform::WM_PADBUTTONDOWN:
      PadButtonDown(windows, window, wparam, static_cast<int>(lparam));
      break;
    case platform::WM_PADBUTTONUP:
      Vorn.pads.SetButton(wparam, static_cast<int>(lparam), false);
      break;
    case platform::WM_PADAXIS:
      Vorn.pads.SetAxis(wparam, Low16(lparam), static_cast<int16_t>(High16(lparam)));
      break;
    default:
      break;
  }
  return windows.DefWindowProc(window, message, wparam, lparam);
}
