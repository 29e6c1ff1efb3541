// One side of the contest: a ring of 24 coloured tiles that two keys spin, a halo that bounces
// inside it and repaints the tile it touches, the player's animated figure and its score.
// Angles are float degrees in screen orientation (0 along +x, growing toward +y, y down);
// positions of tiles and halo are relative to the player's centre; movement is per update.
// All of it is plain data, copied with the match's state; the pictures stay in the assets.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/angles.h"
#include "game/character.h"
#include "game/input.h"

struct Image;

constexpr int RING_TILES = 24;
constexpr int TILE_COLOURS = 4;
constexpr float RING_RADIUS = 155.0f;

struct RingTile {
  // Places the tile on the circle of `radius` at `angle`.
  void Setup(int tile_colour, float tile_angle, float radius);
  // Turns the tile about the centre by `spin` degrees.
  void Rotate(float spin);
  // The next colour, 3 wrapping to 0.
  void Advance();
  // Renders the picture of its colour from `images` (the four tile pictures, by colour),
  // turned to its angle, into the 80 x 80 `work` image and draws that.
  void Draw(float centre_x, float centre_y, const Image* images, Image* work) const;

  // Fields, in order.
  float x = 0.0f;
  float y = 0.0f;
  float angle = 0.0f;  // kept in [0, 360)
  int32_t colour = 0;
};

struct Halo {
  // Puts the halo at (x, y) moving at 2.5 per update toward `start_direction` degrees.
  void Setup(float start_x, float start_y, float start_direction);
  // One update's movement; recomputes `direction`, the polar angle of the position.
  void Move();
  // Reflects off the ring of `radius` when touching it and takes up a fifth of the ring
  // surface's movement under `spin`. True when it touched.
  bool Bounce(float radius, float spin);
  void Draw(float centre_x, float centre_y, Image* picture) const;

  // Fields, in order.
  float x = 0.0f;
  float y = 0.0f;
  float vx = 0.0f;
  float vy = 0.0f;
  float direction = 0.0f;
};

struct Player {
  // index 0 is the left player, 1 the right; the figure's clock starts at `now_ms`.
  void Setup(int player_index, float x, float y, int start_score, float start_direction,
             uint32_t now_ms);
  // Spins the ring under `key`, steps the figure at clock reading `now_ms`, moves and bounces
  // the halo. Returns the index 0 to 23 of the tile the halo hit in this update, or -1.
  int Update(Spin key, uint32_t now_ms);

  // The colour tile `tile` (0 to 23) had before it was last advanced.
  int HitColour(int tile) const;
  // Turns one tile that is not of `c` into `c`, starting the search at a slot drawn from the
  // generator whose state is `random`.
  void GiveTile(int c, uint32_t* random);
  // Lengths of the maximal runs of `c` around the (circular) ring, in no particular order.
  std::vector<int> RunLengths(int c) const;
  int CountColour(int c) const;
  bool HasColour(int c) const;

  // Changes the spin for one update under `key` and the figure's current state.
  void ChangeSpin(Spin key);
  // The tile the halo touches at `direction` (after a bounce), advancing every tile whose
  // window holds it; the last one matched is the result, or -1.
  int HitTest(float halo_direction);

  // Fields, in order.
  int32_t index = 0;
  int32_t score = 0;
  float spin = 0.0f;
  float centre_x = 0.0f;
  float centre_y = 0.0f;
  Character character;
  RingTile tiles[RING_TILES];
  Halo halo;
};
