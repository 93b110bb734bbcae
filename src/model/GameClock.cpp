// The game clock; wall-clock differences are taken modulo 2^32 because the millisecond time
// wraps in 32 bits.
#include "GameClock.h"

#include <utility>

#include "Assert.h"

GameClock::GameClock(WallClock source) : wallClock(std::move(source)) {
  MYTL_ASSERT(static_cast<bool>(wallClock), "GameClock");
  startMs = wallClock();
}

int GameClock::wallClockSinceStart() const {
  const unsigned now = static_cast<unsigned>(wallClock());
  return static_cast<int>(now - static_cast<unsigned>(startMs));
}

void GameClock::refresh() { currentMs = wallClockSinceStart(); }

void GameClock::pause() {
  if (paused) return;
  pauseStartMs = wallClockSinceStart();
  paused = true;
}

void GameClock::resume() {
  paused = false;
  pausedTotalMs += wallClockSinceStart() - pauseStartMs;
}

void GameClock::reset() {
  startMs = wallClock();
  pausedTotalMs = 0;
  pauseStartMs = 0;
  currentMs = 0;
}
