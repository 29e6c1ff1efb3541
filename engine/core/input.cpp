// The pointer operations the window handler calls.
#include "engine/core/vorn.h"

void WinDX::MouseMove(int x, int y) {
  mouse_prev_x = mouse_x;
  mouse_prev_y = mouse_y;
  mouse_x = x;
  mouse_y = y;
  mouse_moved = 1;
}

void WinDX::MouseDown(int code) {
  mouse_down = 1;
  mouse_button = code;
}

// Any release ends the press, whichever button it was and even if another is still held.
void WinDX::MouseUp() {
  mouse_down = 0;
  mouse_button = 0;
}
