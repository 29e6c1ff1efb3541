#include "game/player.h"

#include <cmath>

#include "engine/core/random.h"

namespace {

constexpr double SPIN_STEP = 0.15;
constexpr double SPIN_DECAY = 0.98;
constexpr float SPIN_LIMIT = 2.5f;

// Half the angular width of a tile's hit window, in degrees.
constexpr float HIT_WINDOW = 7.5f;

}  // namespace

void Player::Setup(int player_index, float x, float y, int start_score, float start_direction,
                   uint32_t now_ms) {
  index = player_index;
  centre_x = x;
  centre_y = y;
  halo.Setup(0.0f, -40.0f, start_direction);
  character.Setup(player_index, now_ms);
  spin = 0.0f;
  score = start_score;
  for (int i = 0; i < RING_TILES; ++i) {
    tiles[i].Setup(i % TILE_COLOURS, static_cast<float>(15 * i), RING_RADIUS);
  }
}

void Player::ChangeSpin(Spin key) {
  using State = CharacterState;
  const State state = character.state;
  const auto add = [this](double delta) { spin = static_cast<float>(spin + delta); };
  const auto decay = [this] { spin = static_cast<float>(spin * SPIN_DECAY); };
  // A key speeds the ring up only once the figure has entered that key's loop; against a
  // coasting figure it only stops the ring, and at the second part of a turn it first halts it.
  if (key == Spin::First) {
    if (state == State::kFirstLoop || state == State::kFirstCoast || state == State::kFirstAgain) {
      add(SPIN_STEP);
      if (spin > SPIN_LIMIT) spin = SPIN_LIMIT;
    } else if (state == State::kSecondCoast) {
      add(SPIN_STEP);
      if (spin > SPIN_STEP) spin = static_cast<float>(SPIN_STEP);
    } else if (state == State::kTowardFirst) {
      if (spin < 0.0f) {
        spin = 0.0f;
      } else {
        add(SPIN_STEP);
      }
    } else {
      decay();
    }
  } else if (key == Spin::Second) {
    if (state == State::kSecondLoop || state == State::kSecondCoast ||
        state == State::kSecondAgain) {
      add(-SPIN_STEP);
      if (spin < -SPIN_LIMIT) spin = -SPIN_LIMIT;
    } else if (state == State::kFirstCoast) {
      add(-SPIN_STEP);
      if (spin < -SPIN_STEP) spin = static_cast<float>(-SPIN_STEP);
    } else if (state == State::kTowardSecond) {
      if (spin > 0.0f) {
        spin = 0.0f;
      } else {
        add(-SPIN_STEP);
      }
    } else {
      decay();
    }
  } else {
    if (state == State::kTowardFirst) {
      spin = static_cast<float>(SPIN_STEP);
    } else if (state == State::kTowardSecond) {
      spin = static_cast<float>(-SPIN_STEP);
    } else {
      decay();
    }
  }
}

int Player::Update(Spin key, uint32_t now_ms) {
  ChangeSpin(key);
  character.Step(key, spin, now_ms);
  halo.Move();
  for (RingTile& tile : tiles) tile.Rotate(spin);
  if (!halo.Bounce(RING_RADIUS, spin)) return -1;
  return HitTest(halo.direction);
}

int Player::HitTest(float h) {
  int hit = -1;
  for (int i = 0; i < RING_TILES; ++i) {
    float l = tiles[i].angle;
    // Windows that straddle 0/360 are compared on the halo's side of the seam.
    if (l < HIT_WINDOW && h >= 360.0f - HIT_WINDOW) {
      l += 360.0f;
    } else if (l >= 360.0f - HIT_WINDOW && h < HIT_WINDOW) {
      l -= 360.0f;
    }
    if (l - HIT_WINDOW <= h && h <= l + HIT_WINDOW) {
      tiles[i].Advance();
      hit = i;
    }
  }
  return hit;
}

int Player::HitColour(int tile) const {
  const int before = tiles[tile].colour - 1;
  return before < 0 ? TILE_COLOURS - 1 : before;
}

void Player::GiveTile(int c, uint32_t* random) {
  // r * 24 / 32768: a slot 0 to 23, computed as the one exact product.
  const int start = static_cast<int>(NextRandom(random) * 0.000732421875);
  for (int i = 0; i < RING_TILES; ++i) {
    RingTile& tile = tiles[(start + i) % RING_TILES];
    if (tile.colour != c) {
      tile.colour = c;
      return;
    }
  }
}

std::vector<int> Player::RunLengths(int c) const {
  std::vector<int> runs;
  // Begin just after a tile of another colour, so that a run across tile 23 to tile 0 is
  // counted once, whole.
  int first = -1;
  for (int i = 0; i < RING_TILES; ++i) {
    if (tiles[i].colour != c) {
      first = i + 1;
      break;
    }
  }
  if (first < 0) {
    runs.push_back(RING_TILES);
    return runs;
  }
  int length = 0;
  for (int i = 0; i < RING_TILES; ++i) {
    if (tiles[(first + i) % RING_TILES].colour == c) {
      ++length;
    } else if (length > 0) {
      runs.push_back(length);
      length = 0;
    }
  }
  if (length > 0) runs.push_back(length);
  return runs;
}

int Player::CountColour(int c) const {
  int count = 0;
  for (const RingTile& tile : tiles) count += tile.colour == c ? 1 : 0;
  return count;
}

bool Player::HasColour(int c) const {
  for (const RingTile& tile : tiles) {
    if (tile.colour == c) return true;
  }
  return false;
}
