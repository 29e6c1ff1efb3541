#include "game/pad_input.h"

PadHeld ReadPad(const PadState& pad) {
  const int stick = pad.axes[platform::PAD_AXIS_LEFTX];
  PadHeld held;
  held.first = pad.Held(platform::PAD_BUTTON_DPAD_LEFT) ||
               pad.Held(platform::PAD_BUTTON_LEFTSHOULDER) || stick < -PAD_DEAD_ZONE;
  held.second = pad.Held(platform::PAD_BUTTON_DPAD_RIGHT) ||
                pad.Held(platform::PAD_BUTTON_RIGHTSHOULDER) || stick > PAD_DEAD_ZONE;
  return held;
}
