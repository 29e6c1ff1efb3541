// What a gamepad means to a side of the match: which of the side's two spin keys it holds, and
// which pad plays which side.
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

// The pad that plays `side` (0 left, 1 right), or null. Pad slots go to the sides that no
// computer plays, lowest slot to the leftmost such side, so that with a computer on one side the
// first pad plugged in plays the other.
const PadState* PadOfSide(const Pads& pads, int side, const bool computer[2]);
