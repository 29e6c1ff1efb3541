#include "game/game_state.h"

#include <cstring>

#include "engine/core/random.h"

namespace {

// Spreads a draw over a quarter turn; the factor is 90 / 32767 in double precision.
constexpr double kDirectionSpread = 90.0 / 32767.0;
constexpr double kDirectionBase = 45.0;

// FNV-1a over 32-bit words, then a final mix so that nearby states spread over all 64 bits.
class Digest {
 public:
  void Add(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
      h_ = (h_ ^ ((v >> shift) & 0xFFu)) * 0x100000001B3ull;
    }
  }
  void Add(int32_t v) { Add(static_cast<uint32_t>(v)); }
  // By its bits (the web's standard library predates std::bit_cast).
  void Add(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Add(bits);
  }
  template <typename T, int N>
  void Add(const T (&values)[N]) {
    for (const T& v : values) Add(v);
  }
  uint64_t Value() const {
    uint64_t h = h_;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
  }

 private:
  uint64_t h_ = 0xCBF29CE484222325ull;
};

void AddPlayer(Digest* d, const Player& p) {
  d->Add(p.index), d->Add(p.score), d->Add(p.spin), d->Add(p.centre_x), d->Add(p.centre_y);
  const Character& c = p.character;
  d->Add(c.index), d->Add(static_cast<int32_t>(c.state)), d->Add(c.frame), d->Add(c.step_time);
  for (const RingTile& t : p.tiles) d->Add(t.x), d->Add(t.y), d->Add(t.angle), d->Add(t.colour);
  const Halo& h = p.halo;
  d->Add(h.x), d->Add(h.y), d->Add(h.vx), d->Add(h.vy), d->Add(h.direction);
}

}  // namespace

float HaloStartDirection(int draw) {
  return static_cast<float>(draw * kDirectionSpread + kDirectionBase);
}

GameState NewGame(uint32_t seed, uint32_t now_ms) {
  GameState s;
  s.random = seed;
  // Both halos start in the same direction, so neither player starts with an advantage.
  const float theta = HaloStartDirection(NextRandom(&s.random));
  s.players[LEFT].Setup(LEFT, LEFT_CENTRE_X, CENTRE_Y, START_SCORE, theta, now_ms);
  s.players[RIGHT].Setup(RIGHT, RIGHT_CENTRE_X, CENTRE_Y, START_SCORE, theta, now_ms);
  return s;
}

uint64_t Checksum(const GameState& s) {
  Digest d;
  const MatchState& m = s.match;
  d.Add(m.game_state), d.Add(m.round_start), d.Add(m.round_duration), d.Add(m.rounds_left);
  d.Add(m.target), d.Add(m.multiplier), d.Add(m.pending), d.Add(m.votes), d.Add(m.last_hit);
  for (const Player& p : s.players) AddPlayer(&d, p);
  d.Add(s.random);
  return d.Value();
}
