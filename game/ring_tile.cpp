#include <cmath>

#include "engine/images/draw.h"
#include "game/player.h"

namespace {

// The tile pictures are drawn upright at 68.5 degrees; a tile at angle a is turned by 68.5 - a.
constexpr float PICTURE_ANGLE = 68.5f;
constexpr int WORK_SIZE = 80;
// From the tile's centre to the top-left corner of its drawn work image.
constexpr int DRAW_OFFSET = 55;

// Brings an angle back into [0, 360). One turn either way covers every spin the keys make; the
// remainder covers the unbounded spin of the turning states, which may pass a whole turn.
float WrapDegrees(float a) {
  if (a < 0.0f) a += 360.0f;
  if (a >= 360.0f) a -= 360.0f;
  if (a < 0.0f || a >= 360.0f) {
    a = std::fmod(a, 360.0f);
    if (a < 0.0f) a += 360.0f;
    if (a >= 360.0f) a -= 360.0f;
  }
  return a;
}

}  // namespace

void RingTile::Setup(int tile_colour, float tile_angle, float radius) {
  colour = tile_colour;
  angle = tile_angle;
  const double a = tile_angle * DEG_TO_RAD;
  x = static_cast<float>(radius * std::cos(a));
  y = static_cast<float>(radius * std::sin(a));
}

void RingTile::Rotate(float spin) {
  const double a = spin * DEG_TO_RAD;
  const double c = std::cos(a);
  const double s = std::sin(a);
  const float old_x = x;
  x = static_cast<float>(old_x * c - y * s);
  y = static_cast<float>(old_x * s + y * c);
  angle = WrapDegrees(angle + spin);
}

void RingTile::Advance() {
  colour = (colour + 1) % TILE_COLOURS;
}

void RingTile::Draw(float centre_x, float centre_y, const Image* images, Image* work) const {
  if (images == nullptr || colour < 0 || colour >= TILE_COLOURS) return;
  const Image& picture = images[colour];
  // A picture whose file was missing has no pixels and draws nothing. Turning it would leave the
  // work image as it was (never filled, or last frame's picture) and without a purpose to draw.
  if (picture.data == nullptr || picture.width <= 0 || picture.height <= 0) return;
  if (work->data == nullptr) work->Create(WORK_SIZE, WORK_SIZE, IMAGE_RGB16 | IMAGE_ALPHA);
  RotateScale(picture, work, PICTURE_ANGLE - angle, 1.0f);
  DrawMasked(static_cast<int>(centre_x + static_cast<float>(static_cast<int>(x)) - DRAW_OFFSET),
             static_cast<int>(centre_y + static_cast<float>(static_cast<int>(y)) - DRAW_OFFSET),
             work);
}
