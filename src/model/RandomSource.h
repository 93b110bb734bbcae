// RandomSource: the game's chance, a seeded standard engine. The controller owns one and lends
// it to the board, which draws every colour and square from it in a fixed order; the shell seeds
// it from the system's entropy, tests and the play driver with a number that replays a game.
#pragma once

#include <cstdint>
#include <random>

class RandomSource {
 public:
  explicit RandomSource(uint32_t seed) : engine(seed) {}

  // A number in [0, bound); bound must be positive.
  int below(int bound);
  void reseed(uint32_t seed) { engine.seed(seed); }

 private:
  std::mt19937 engine;
};
