// One side of the contest: a ring of 24 coloured tiles that two keys spin, a halo that bounces
// inside it and repaints the tile it touches, the player's animated figure and its score.
// Angles are float degrees in screen orientation (0 along +x, growing toward +y, y down);
// positions of tiles and halo are relative to the player's centre; movement is per update.
#pragma once

#include <vector>

#include "engine/images/image.h"
#include "game/character.h"

constexpr int RING_TILES = 24;
constexpr int TILE_COLOURS = 4;
constexpr float RING_RADIUS = 155.0f;

// Degrees to radians and back with pi taken as 3.141592, so that runs stay reproducible.
constexpr double DEG_TO_RAD = 0.01745328888888889;
constexpr double RAD_TO_DEG = 57.29579143313326;

class RingTile {
 public:
  RingTile() = default;
  RingTile(const RingTile&) = delete;
  RingTile& operator=(const RingTile&) = delete;

  // Places the tile on the circle of `radius` at `angle` and makes its 80 x 80 work image.
  // `images` points at the four tile images, by colour.
  void Setup(int tile_colour, float tile_angle, float radius, Image* images);
  // Turns the tile about the centre by `spin` degrees.
  void Rotate(float spin);
  // The next colour, 3 wrapping to 0.
  void Advance();
  // Renders the tile picture of its colour, turned to its angle, into the work image and
  // draws that.
  void Draw(float centre_x, float centre_y);

  // Fields, in order.
  float x = 0.0f;
  float y = 0.0f;
  float angle = 0.0f;  // kept in [0, 360)
  int colour = 0;
  Image scratch;
  Image* tile_images = nullptr;
};

class Halo {
 public:
  Halo() = default;
  Halo(const Halo&) = delete;
  Halo& operator=(const Halo&) = delete;

  // Puts the halo at (x, y) moving at 2.5 per update toward `start_direction` degrees.
  // The picture is loaded separately by its player (LoadImage).
  void Setup(float start_x, float start_y, float start_direction);
  void LoadImage();
  // One update's movement; recomputes `direction`, the polar angle of the position.
  void Move();
  // Reflects off the ring of `radius` when touching it and takes up a fifth of the ring
  // surface's movement under `spin`. True when it touched.
  bool Bounce(float radius, float spin);
  void Draw(float centre_x, float centre_y);

  // Fields, in order.
  float x = 0.0f;
  float y = 0.0f;
  float vx = 0.0f;
  float vy = 0.0f;
  float direction = 0.0f;
  Image image;
};

class Player {
 public:
  Player() = default;
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // index 0 is the left player (keys D and F), 1 the right (left and right arrows).
  // `images` points at the match's four tile images, by colour; they must outlive the player.
  void Setup(int player_index, float x, float y, int start_score, float start_direction,
             Image* images);
  // Reads the keys, spins the ring, steps the figure, moves and bounces the halo. Returns the
  // index 0 to 23 of the tile the halo hit in this update, or -1.
  int Update();
  // Halo, then tiles 0 to 23, then the figure.
  void Draw();

  // The colour tile `tile` (0 to 23) had before it was last advanced.
  int HitColour(int tile) const;
  // Turns one tile that is not of `c` into `c`, starting the search at a random slot.
  void GiveTile(int c);
  // Lengths of the maximal runs of `c` around the (circular) ring, in no particular order.
  std::vector<int> RunLengths(int c) const;
  int CountColour(int c) const;
  bool HasColour(int c) const;

  // Which key is held, on the keyboard or the side's pad: KEY_FIRST, KEY_SECOND or KEY_NONE.
  // The first key wins when both are.
  int ReadKeys() const;
  // Changes the spin for one update under `key` and the figure's current state.
  void ChangeSpin(int key);
  // The tile the halo touches at `direction` (after a bounce), advancing every tile whose
  // window holds it; the last one matched is the result, or -1.
  int HitTest(float halo_direction);

  // Fields, in order.
  int index = 0;
  int score = 0;
  float spin = 0.0f;
  float centre_x = 0.0f;
  float centre_y = 0.0f;
  Character character;
  RingTile tiles[RING_TILES];
  Halo halo;
  Image* tile_images = nullptr;
};
