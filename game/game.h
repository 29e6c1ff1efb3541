// The game's one match, its assets and each side's controller, as the entry points GameInit and
// GameRun use them.
#pragma once

#include <cstdint>
#include <memory>

#include "game/assets.h"
#include "game/controller.h"
#include "game/game_state.h"
#include "game/options.h"

extern GameState game;
extern GameAssets game_assets;

// GameInit seeds the random generator with the calendar time. A replay of a match fixes the
// seed instead, before GameInit runs, so that the same seed plays the same match.
void FixGameSeed(uint32_t seed);
// The seed GameInit used, and the clock reading it started the match at.
uint32_t GameSeed();
uint32_t GameStartMs();

// Hands side `side` (LEFT or RIGHT) to `controller`; both sides start on the keyboard.
void UseController(int side, std::unique_ptr<Controller> controller);
// Who plays each side, as the options chose; GameInit hands the sides the computer plays to it
// once it knows the match's seed, and the display marks them.
void ChooseSides(const SideChoice sides[2]);
// Each side's input for the frame at `now_ms`, from the controller that plays it.
FrameInput ReadControllers(uint32_t now_ms);
