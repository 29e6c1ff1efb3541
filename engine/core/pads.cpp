#include "engine/core/pads.h"

#include <algorithm>

void Pads::Add(uintptr_t id) {
  // The back end may announce a pad it already reported; it keeps its slot.
  if (Find(id) != nullptr) return;
  for (PadState& pad : pads_) {
    if (pad.present) continue;
    pad = PadState{};
    pad.present = true;
    pad.id = id;
    pad.arrival = arrivals_++;
    FillFreeSlots();
    return;
  }
}

void Pads::Remove(uintptr_t id) {
  PadState* pad = Mutable(id);
  if (pad == nullptr) return;
  // Its buttons go with it, so nothing stays held by a pad that is gone.
  *pad = PadState{};
  FillFreeSlots();
}

void Pads::SetButton(uintptr_t id, int button, bool down) {
  PadState* pad = Mutable(id);
  if (pad == nullptr || button < 0 || button >= platform::PAD_BUTTONS) return;
  const uint32_t bit = 1u << button;
  pad->buttons = down ? pad->buttons | bit : pad->buttons & ~bit;
}

void Pads::SetAxis(uintptr_t id, int axis, int value) {
  PadState* pad = Mutable(id);
  if (pad == nullptr || axis < 0 || axis >= platform::PAD_AXES) return;
  pad->axes[axis] = static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

const PadState* Pads::Find(uintptr_t id) const {
  for (const PadState& pad : pads_) {
    if (pad.present && pad.id == id) return &pad;
  }
  return nullptr;
}

const PadState* Pads::InSlot(int slot) const {
  for (const PadState& pad : pads_) {
    if (pad.present && pad.slot == slot) return &pad;
  }
  return nullptr;
}

PadState* Pads::Mutable(uintptr_t id) {
  return const_cast<PadState*>(Find(id));
}

void Pads::FillFreeSlots() {
  for (int slot = 0; slot < PAD_SLOTS; ++slot) {
    if (InSlot(slot) != nullptr) continue;
    PadState* waiting = nullptr;
    for (PadState& pad : pads_) {
      if (pad.present && pad.slot == NO_SLOT &&
          (waiting == nullptr || pad.arrival < waiting->arrival))
        waiting = &pad;
    }
    if (waiting == nullptr) return;
    waiting->slot = slot;
  }
}
