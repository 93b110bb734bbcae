// Uniform draws from the game's engine.
#include "RandomSource.h"

#include "Assert.h"

int RandomSource::below(int bound) {
  MYTL_ASSERT(bound > 0, "RandomSource");
  return std::uniform_int_distribution<int>(0, bound - 1)(engine);
}
