// What a gamepad means to a side of the match: which of the side's two spin keys it holds.
#pragma once

#include "engine/core/pads.h"

// Stick travel either side of centre that counts as no push, so that a worn stick resting a
// little off centre does not spin the ring on its own.
constexpr int PAD_DEAD_ZONE = 8000;

struct PadHeld {
  bool first = false;   // left on the D-pad, the left shoulder, the left stick pushed left
  bool second = false;  // their right-hand counterparts
};

PadHeld ReadPad(const PadState& pad);
