#include "engine/core/random.h"

namespace {
// The generator's one word of state; the C library keeps its own in the same way.
uint32_t random_state = 1;
}  // namespace

void SeedRandom(uint32_t seed) {
  random_state = seed;
}

int Random() {
  random_state = random_state * 1103515245u + 12345u;
  return static_cast<int>((random_state >> 16) & 0x7FFFu);
}
