// The computer opponent's own dice, apart from the game's generator so that it never learns or
// disturbs what the game will draw. Seeded from the match's seed and the side it plays, so two
// computers of one level do not mirror each other.
#pragma once

#include <cstdint>

class CpuRandom {
 public:
  explicit CpuRandom(uint64_t seed)
      : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  // A fraction in [0, 1).
  float Unit() { return static_cast<float>(Next() >> 40) * (1.0f / 16777216.0f); }
  // A value in [-size, size).
  float Spread(float size) { return (2.0f * Unit() - 1.0f) * size; }

 private:
  // splitmix64: tiny, fast and well mixed even from neighbouring seeds.
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint64_t state_;
};
