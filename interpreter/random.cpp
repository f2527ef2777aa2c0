// The language's random-number generator: a 32-bit linear congruential
// generator whose sequence is part of the language, not the platform's.
#include "interpreter/random.h"

std::uint32_t random_seed = 1;
double rnd_last_value = 0.0;

void random_set_seed(std::uint32_t seed) { random_seed = seed; }

int random_draw() {
  random_seed = random_seed * 214013u + 2531011u;  // unsigned: wraps modulo 2^32
  return static_cast<int>((random_seed >> 16) & 0x7FFFu);
}

double random_fraction() {
  double r1 = random_draw();
  double r2 = random_draw();
  double r3 = random_draw();
  return (r3 + (r2 + r1 / 32768.0) / 32768.0) / 32768.0;
}

void random_reset() {
  random_seed = 1;
  rnd_last_value = 0.0;
}
