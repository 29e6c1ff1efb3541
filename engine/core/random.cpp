#include "engine/core/random.h"

namespace {
// The engine's shared generator; a game that must replay keeps its own word instead.
uint32_t random_state = 1;
}  // namespace

int NextRandom(uint32_t* state) {
  *state = *state * 1103515245u + 12345u;
  return static_cast<int>((*state >> 16) & 0x7FFFu);
}

void SeedRandom(uint32_t seed) {
  random_state = seed;
}

int Random() {
  return NextRandom(&random_state);
}
