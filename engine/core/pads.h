// The gamepads the window handler has been told about, and which player slot each one holds.
//
// A pad that arrives takes the lowest free slot and keeps it until it is unplugged; pads that
// arrive while every slot is taken wait, and the one waiting longest takes the next slot that
// frees up. The game decides which side of the match a slot plays.
#pragma once

#include <cstdint>

#include "platform/messages.h"

constexpr int PAD_SLOTS = 2;
// More pads than this are not followed at all; nobody plays with that many at one screen.
constexpr int PAD_LIMIT = 8;
constexpr int NO_SLOT = -1;

struct PadState {
  bool present = false;
  uintptr_t id = 0;
  int slot = NO_SLOT;
  uint64_t arrival = 0;  // order of arrival, for handing a freed slot on
  uint32_t buttons = 0;  // bit (1 << PAD_BUTTON_ code) while that button is down
  int16_t axes[platform::PAD_AXES] = {};

  bool Held(int button) const { return (buttons >> button & 1u) != 0; }
};

class Pads {
 public:
  void Add(uintptr_t id);
  void Remove(uintptr_t id);
  // Both ignore pads never added and codes out of range.
  void SetButton(uintptr_t id, int button, bool down);
  void SetAxis(uintptr_t id, int axis, int value);

  // The pad of that id, or null.
  const PadState* Find(uintptr_t id) const;
  // The pad holding the slot, or null when the slot is free.
  const PadState* InSlot(int slot) const;

 private:
  PadState* Mutable(uintptr_t id);
  void FillFreeSlots();

  PadState pads_[PAD_LIMIT];
  uint64_t arrivals_ = 0;
};
