// The game's own recording and replay (--record, --replay), as main, GameInit and GameRun use
// them: the replay in the window at the pace it was recorded at.
#pragma once

#include <cstdint>
#include <string>

#include "game/assets.h"
#include "game/game_state.h"
#include "game/input.h"
#include "game/options.h"

// Before the window opens: creates the file to record into. False with a line in `error`.
bool RecordTo(const std::string& path, std::string* error);
// Before the window opens: reads the recording to play, fixes the match's seed and sides to the
// recorded ones. False with a line in `error` for a file that cannot be played.
bool ReplayFrom(const std::string& path, std::string* error);
bool Replaying();

// GameInit, once the match is set up: the recording's header, or the replay's start in place of
// the match just made.
void BeginRecordOrReplay(GameState* s, uint32_t seed, const SideChoice sides[SIDES],
                         uint32_t start_ms);
// GameRun, after each frame of a match that is not a replay.
void RecordFrame(uint32_t now_ms, FrameInput in, const GameState& after);
// GameRun's frame of a replay: returns what presenting the view returned.
int ReplayWindowFrame(GameState* s, GameAssets* assets);
// The program ends (the window was closed): the recording gets its end marker.
void EndRecording(const GameState& s);
