// The engine's random numbers: integers 0 to 32767 from one generator, seeded once.
//
// The generator is the linear congruential one of the C language's portable example:
//   state = state * 1103515245 + 12345 (mod 2^32);  result = (state / 65536) mod 32768.
// It is used instead of the C library's `rand` so that the range, and the sequence for a given
// seed, are the same on every system.
#pragma once

#include <cstdint>

constexpr int RANDOM_MAX = 32767;

// The next number of the sequence whose one word of state is `state`, advancing it. Whoever must
// save, restore or replay a sequence keeps that word itself.
int NextRandom(uint32_t* state);

// Restarts the engine's shared sequence from `seed`. The generator starts as if seeded with 1.
void SeedRandom(uint32_t seed);
// The next number of the sequence, 0 to RANDOM_MAX.
int Random();
