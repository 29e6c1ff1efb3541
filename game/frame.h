// Start-up and the per-frame cycle of the match: what GameInit and GameRun do, on whichever
// state and assets they are given.
#pragma once

#include <cstdint>

#include "game/assets.h"
#include "game/game_state.h"
#include "game/input.h"

constexpr int VIEW_WIDTH = 800;
constexpr int VIEW_HEIGHT = 600;

// Starts the engine windowed at 800 x 600, loads the clips and pictures and reads the clock once
// they are loaded: the match starts on its start screen with the generator seeded with `seed` and
// the figures' clocks at that reading, which is returned. Whether the engine started is left to
// the caller, which reads its state code.
uint32_t InitMatch(GameState* s, GameAssets* assets, uint32_t seed);

// One frame at clock reading `now_ms`: the step, its sounds, then the drawing and its
// presentation. Returns what presenting the view returned.
int RunMatchFrame(GameState* s, GameAssets* assets, uint32_t now_ms, FrameInput in);

// Plays the clips a step asked for.
void PlaySounds(const SoundEvents& events, GameAssets* assets);

// Draws the whole frame into the locked view; the state is only read.
void DrawMatch(const GameState& s, GameAssets* assets, uint32_t now_ms);
