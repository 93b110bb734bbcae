// Boards for the fuzz targets and their seed writer: every board made here copies the same
// in-memory settings at a new game, reads a wall clock that stands still (so that a load does
// the same thing every time it is repeated) and draws from a random source it reseeds.
#pragma once

#include <cstdint>
#include <memory>

#include "Board.h"
#include "GameClock.h"
#include "RandomSource.h"
#include "Settings.h"

namespace fuzzboards {

// The settings that every board copies at a new game (tied to no file).
inline Settings& liveSettings() {
  static Settings settings;
  return settings;
}

inline GameClock& fixedClock() {
  static GameClock clock([] { return 5000000; });
  return clock;
}

// A board that has started a first game drawn from `seed`, as at launch.
inline std::unique_ptr<Board> newBoard(uint32_t seed) {
  static RandomSource random(1);
  random.reseed(seed);
  auto board = std::make_unique<Board>(fixedClock(), random, liveSettings());
  board->reset(true);
  return board;
}

}  // namespace fuzzboards
