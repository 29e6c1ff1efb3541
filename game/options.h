// The program's command line, read in one place: a table with a row per option. With no options
// the game is played as it always was, both sides on the keyboard.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "game/controller.h"
#include "game/net_play.h"

// Who plays a side. The game offers keys and the computer; the match simulator also its key
// robot and a side that touches nothing.
struct SideChoice {
  enum class Kind { Keys, Cpu, Robot, Idle };
  Kind kind = Kind::Keys;
  int level = 0;  // the computer's level, 1 to 3
};

// Reads "keys", "cpu" or "cpu:LEVEL" (and "robot" and "idle" when `simulator`). False for
// anything else, a level outside 1 to 3 included.
bool ParseSide(std::string_view text, bool simulator, SideChoice* out);

struct GameOptions {
  SideChoice side[2];
  // The window opens at the largest whole multiple of its size up to this that fits the desktop
  // (the view is drawn at its own size and scaled to the window).
  int window_scale = 1;
  // A network match, when --host or --join asks for one.
  NetPlayOptions net;
};

// Reads a whole decimal number within [low, high] that is all of `text`. False for an empty text,
// trailing characters or a value out of range (one beyond `long` included). Every option of the
// game and its tools that takes a number reads it here.
bool ParseWhole(const char* text, long low, long high, long* out);

// Reads the game's options from main's arguments. On a bad one, false with a line for the
// player in `error`.
bool ParseGameOptions(int argc, const char* const* argv, GameOptions* out, std::string* error);
// One line naming every option, for the usage message.
std::string GameUsage();

// The controller for a side the keyboard does not play, or null: the computer's dice are seeded
// from the match's `seed` and the side.
std::unique_ptr<Controller> MakeController(const SideChoice& choice, int side, uint32_t seed);
