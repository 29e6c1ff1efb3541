#include "engine/core/vorn.h"
#include "game/controller.h"
#include "game/pad_input.h"
#include "platform/messages.h"

namespace {

// Keys by side: the first key, then the second.
constexpr uint8_t SIDE_KEYS[SIDES][2] = {{0x44, 0x46},  // D, F
                                         {platform::VK_LEFT, platform::VK_RIGHT}};

}  // namespace

Spin KeyboardController::Next(const GameState&, int side, uint32_t) {
  side = side == 1 ? 1 : 0;
  const uint8_t* keys = SIDE_KEYS[side];
  const PadState* pad = Vorn.pads.InSlot(pad_slot_.value_or(side));
  const PadHeld held = pad != nullptr ? ReadPad(*pad) : PadHeld{};
  // The side's pad and keys play together: whichever holds a key holds it for the side.
  if (Vorn.keys[keys[0]] != 0 || held.first) return Spin::First;
  if (Vorn.keys[keys[1]] != 0 || held.second) return Spin::Second;
  return Spin::None;
}

bool EscapeHeld() {
  return Vorn.keys[platform::VK_ESCAPE] != 0;
}
