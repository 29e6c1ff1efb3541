#include "game/cpu_view.h"

CpuView ViewOf(const GameState& g) {
  CpuView v;
  const MatchState& s = g.match;
  v.kind = s.game_state;
  v.target = s.target;
  v.rounds_left = s.rounds_left;
  for (int c = 0; c < TILE_COLOURS; ++c) v.votes[c] = s.votes[c];
  for (const int side : {LEFT, RIGHT}) {
    const Player& p = g.players[side];
    v.pending[side] = s.pending[side];
    v.multiplier[side] = s.multiplier[side];
    v.score[side] = p.score;
    CpuRing& r = v.ring[side];
    for (int i = 0; i < RING_TILES; ++i) {
      r.colour[i] = p.tiles[i].colour;
      r.angle[i] = p.tiles[i].angle;
    }
    r.halo_x = p.halo.x;
    r.halo_y = p.halo.y;
  }
  return v;
}
