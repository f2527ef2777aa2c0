// The language's own random-number generator behind RND and RANDOMIZE.
#pragma once
#include <cstdint>

extern std::uint32_t random_seed;  // generator state
extern double rnd_last_value;      // last value RND returned (RND(0) gives it)

// Seeds the generator (RANDOMIZE, RND of a negative number).
void random_set_seed(std::uint32_t seed);
// One draw: seed := seed * 214013 + 2531011, result (seed >> 16) & 0x7FFF.
int random_draw();
// Three draws joined into a value in [0, 1) with 45 random bits.
double random_fraction();
// State at start-up and at every run start: seed 1, rnd_last_value 0.
void random_reset();
