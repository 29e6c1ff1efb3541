// Where a side's input comes from. The frame asks each side's controller once, with the state as
// the players see it and the frame's clock reading, before the match steps.
#pragma once

#include <cstdint>
#include <optional>

#include "game/game_state.h"
#include "game/input.h"

class Controller {
 public:
  virtual ~Controller() = default;
  virtual Spin Next(const GameState& s, int side, uint32_t now_ms) = 0;
};

// The keyboard: D and F for the left side, the left and right arrows for the right side. The
// only part of the game that reads the engine's key table. A pad plays along with the keys.
class KeyboardController final : public Controller {
 public:
  Spin Next(const GameState& s, int side, uint32_t now_ms) override;
  // The pad slot whose pad plays along; until told, the side's own (left 0, right 1).
  void ListenToPad(int slot) { pad_slot_ = slot; }

 private:
  std::optional<int> pad_slot_;
};

// Escape, which stops a replay; the keyboard controller's file is the one that reads the keys.
bool EscapeHeld();
