// Everything a match evolves, as one plain value: the match's stage, clocks and tallies, both
// players (ring, halo, figure, spin, score) and the random generator's word. Online play saves
// and restores it every frame and replays compare its checksum, so it holds no pointers and
// copies as bytes; the pictures and clips it is drawn and heard with stay in the assets.
#pragma once

#include <cstdint>
#include <type_traits>

#include "game/match_state.h"
#include "game/player.h"

// Where the rings stand in the 800 x 600 view.
constexpr float LEFT_CENTRE_X = 200.0f;
constexpr float RIGHT_CENTRE_X = 628.0f;
constexpr float CENTRE_Y = 420.0f;

struct GameState {
  MatchState match;
  Player players[2];
  uint32_t random = 1;  // the generator's state; every draw of the match advances it
};
static_assert(std::is_trivially_copyable_v<GameState>);

// The halo's start direction from a draw of 0 to 32767: 45 to 135 degrees, straight down
// give or take a quarter turn.
float HaloStartDirection(int draw);

// A new match on its start screen: the generator seeded with `seed`, both halos set off in the one
// direction it draws first, both figures' clocks starting at `now_ms`.
GameState NewGame(uint32_t seed, uint32_t now_ms);

// A 64-bit digest of every field, taken field by field (floats by their bits) so that padding
// never counts: equal states give equal checksums on every machine.
uint64_t Checksum(const GameState& s);
